// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/summary_report.h"

#include "platform/dialogs.h"
#include "platform/failure.h"
#include "platform/number_format.h"
#include "results/summary_tab.h"
#include "retrieval/headless.h"

#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

namespace kestrova {

namespace {

using L = SummaryLabel;

void requireEditBoxValue(PlanEditBox box, double value, const QString& what) {
    if (!editBoxValue(box, value)) {
        throw Failure(QStringLiteral("The custom %1 %2 is outside 0 to %3")
                          .arg(what, QString::number(value),
                               editBoxText(box, editBoxDesign(box).upperLimit())));
    }
}

QString captioned(const QString& caption, const QString& shown) {
    return shown.isEmpty() ? caption : caption + u' ' + shown;
}

bool inAvailableFrame(L label) {
    return label == L::AvailableBandWidthLabel || label == L::AvailableAverageLabel ||
           label == L::AvailableDaysLabel || label == L::AvailableAverageExclTodayLabel;
}

bool inExcessFrame(L label) {
    return label == L::ExcessBandwidthLabel || label == L::ExcessRatePerMBLabel ||
           label == L::ExcessAmountLabel;
}

bool isTodayLabel(L label) {
    return label == L::UsageTodayLabel || label == L::UsedAverageExclTodayLabel ||
           label == L::AvailableAverageExclTodayLabel;
}

bool isPlanLabel(L label) {
    return label == L::PlanChargeLabel || label == L::BandWidthLimitLabel ||
           label == L::RsPerMBLabel;
}

// Whether the label can be seen on the tab as the figures leave it.
bool isVisible(const SummaryFigures& f, L label) {
    if (isTodayLabel(label) && !f.todayLabelsVisible) {
        return false;
    }
    if (inAvailableFrame(label)) {
        return f.availableGroupVisible;
    }
    if (inExcessFrame(label)) {
        return f.excessGroupVisible;
    }
    if (isPlanLabel(label)) {
        return !f.customFiguresShown;
    }
    return true;
}

QStringList tabLines(const MonthSummary& s, const CustomPlanFigures& custom) {
    const SummaryTabCaptions& c = summaryTabCaptions();
    const SummaryFigures& f = s.figures;
    QStringList lines;
    const auto add = [&](L label) {
        if (!isVisible(f, label)) {
            return;
        }
        QString shown = f.shown(label);
        if (label == L::UsedAverageExclTodayLabel || label == L::AvailableAverageExclTodayLabel) {
            shown += u' ' + c.excludingToday;
        }
        lines << captioned(summaryLabelCaption(label), shown);
    };

    lines << captioned(c.selectYourPlan, s.entryText);
    if (f.customFiguresShown) {
        lines << captioned(c.planCharge,
                           editBoxText(PlanEditBox::PlanChargeEdit, custom.planCharge));
        lines << captioned(
            c.bandWidthLimit,
            editBoxText(PlanEditBox::BandWidthLimitEdit, custom.allowanceMB) + u' ' + c.mbLabel);
        lines << captioned(c.rsPerMB, editBoxText(PlanEditBox::RsPerMBEdit, custom.rsPerMB));
    } else {
        add(L::PlanChargeLabel);
        add(L::BandWidthLimitLabel);
        add(L::RsPerMBLabel);
    }
    for (L label : {L::UsedBandWidthLabel, L::UsedAverageLabel, L::UsedLastDayLabel,
                    L::UsageTodayLabel, L::UsedAverageExclTodayLabel, L::PercentageEdit}) {
        add(label);
    }
    if (f.availableGroupVisible) {
        lines << c.availableGroup;
        for (L label : {L::AvailableBandWidthLabel, L::AvailableAverageLabel, L::AvailableDaysLabel,
                        L::AvailableAverageExclTodayLabel}) {
            add(label);
        }
    } else {
        lines << c.excessGroup;
        for (L label : {L::ExcessBandwidthLabel, L::ExcessRatePerMBLabel, L::ExcessAmountLabel}) {
            add(label);
        }
    }
    for (L label : {L::BillPlanChargeLabel, L::BillExcessChargeLabel, L::BillTotalLabel,
                    L::BillTaxLabel, L::BillTotalAndTaxLabel}) {
        add(label);
    }
    if (f.todayLabelsVisible) {
        lines << c.todayFootnote;
    }
    lines << c.validityNote;
    return lines;
}

QJsonObject usageJson(const SummaryInputs& inputs, QDate today) {
    return QJsonObject{
        {QStringLiteral("totalUsageMB"), inputs.totalUsage},
        {QStringLiteral("chargedUsageMB"), inputs.chargedUsage},
        {QStringLiteral("lastUsedDate"), inputs.mdtLastUsedDate.toString(Qt::ISODate)},
        {QStringLiteral("lastDayUsageMB"), inputs.lastDayUsage},
        {QStringLiteral("today"), today.toString(Qt::ISODate)},
    };
}

}  // namespace

SummaryInputs summaryInputsOf(const HeadlessResult& result) {
    return summaryInputsOf(result.outcome());
}

SummaryInputs summaryInputsOf(const ReportOutcome& outcome) {
    return SummaryInputs{outcome.totalUsage, outcome.chargedUsage, outcome.mdtLastUsedDate,
                         outcome.lastDayUsage, outcome.nightChargedUsage};
}

std::optional<PlanChoice> storedPlanChoice(const SettingsStore& store,
                                           std::vector<SettingProblem>* problems) {
    const std::vector<PlanListEntry> entries = planListEntries(PlanTable());
    const PlanSettings settings = readPlanSettings(store, int(entries.size()), QLocale(), problems);
    if (settings.planIndex < 0) {
        return std::nullopt;
    }
    const int slot = entries[std::size_t(settings.planIndex)].itemData;
    if (slot != kCustomPlanSlot) {
        return PlanChoice::catalogue(slot);
    }
    return PlanChoice::customPlan(CustomPlanFigures{
        settings.planChargeEdit, settings.bandWidthLimitEdit, settings.rsPerMBEdit});
}

MonthSummary summarizeMonth(const SummaryInputs& inputs, const PlanChoice& choice, QDate today,
                            const QLocale& locale) {
    if (choice.slot < 0 || choice.slot >= kCatalogueSize) {
        throw Failure(QStringLiteral("Plan %1 is not in the catalogue: choose 0 to %2")
                          .arg(choice.slot)
                          .arg(kCatalogueSize - 1));
    }
    const CustomPlanFigures custom = choice.custom.value_or(CustomPlanFigures{});
    requireEditBoxValue(PlanEditBox::PlanChargeEdit, custom.planCharge,
                        QStringLiteral("plan charge"));
    requireEditBoxValue(PlanEditBox::BandWidthLimitEdit, custom.allowanceMB,
                        QStringLiteral("allowance"));
    requireEditBoxValue(PlanEditBox::RsPerMBEdit, custom.rsPerMB, QStringLiteral("rate per MB"));

    // The tab reports its failures in a message box; here they become the caller's failure.
    RecordingDialogs messages;
    const ScopedDialogs scope(messages);

    SummaryTab tab([today] { return today; }, locale);
    tab.setEditBoxValue(PlanEditBox::PlanChargeEdit, custom.planCharge);
    tab.setEditBoxValue(PlanEditBox::BandWidthLimitEdit, custom.allowanceMB);
    tab.setEditBoxValue(PlanEditBox::RsPerMBEdit, custom.rsPerMB);
    tab.setInputs(inputs);
    tab.loadCombo(-1);
    const int index = tab.plansCombo().indexOfSlot(choice.slot);
    tab.selectListIndex(index);
    if (!messages.messages.empty()) {
        throw Failure(messages.messages.front().text);
    }

    MonthSummary summary;
    summary.slot = choice.slot;
    summary.entryText = tab.plansCombo().entries()[std::size_t(index)].text;
    summary.plan = tab.plans().record(choice.slot);
    summary.inputs = inputs;
    summary.today = today;
    summary.locale = locale;
    summary.figures = tab.figures();
    summary.bill = billOf(summary.figures);
    CustomPlanFigures shownCustom = custom;
    shownCustom.allowanceMB = tab.editBoxValue(PlanEditBox::BandWidthLimitEdit);
    summary.lines = tabLines(summary, shownCustom);
    return summary;
}

std::vector<PlanCost> comparePlans(const SummaryInputs& inputs,
                                   const std::optional<CustomPlanFigures>& custom, QDate today,
                                   const QLocale& locale) {
    std::vector<PlanCost> costs;
    const SummaryInputs priced = comparisonInputs(inputs);
    const int planCount = custom ? kCatalogueSize : kCustomPlanSlot;
    for (int slot = 0; slot < planCount; ++slot) {
        const MonthSummary s = summarizeMonth(
            priced,
            slot == kCustomPlanSlot ? PlanChoice::customPlan(*custom) : PlanChoice::catalogue(slot),
            today, locale);
        costs.push_back({0, slot, s.plan.text(PlanName).trimmed(), s.entryText, s.bill,
                         s.figures.shown(L::BillTotalAndTaxLabel)});
    }
    rankByTotalAndTax(costs);
    return costs;
}

void rankByTotalAndTax(std::vector<PlanCost>& costs) {
    // Compared in millionths of a rupee, so sums that differ only by binary rounding tie and
    // keep catalogue order.
    const auto micro = [](const PlanCost& c) { return std::llround(c.bill.totalAndTax * 1e6); };
    std::stable_sort(costs.begin(), costs.end(),
                     [&](const PlanCost& a, const PlanCost& b) { return micro(a) < micro(b); });
    for (std::size_t i = 0; i < costs.size(); ++i) {
        costs[i].rank = int(i) + 1;
    }
}

std::int64_t shownPaise(double rupees) {
    // The shown text is the rounding that counts: what formatNumber writes, read back.
    QString text = formatNumber(rupees, 2, QLocale::c());
    text.remove(u'.');
    bool ok = false;
    const qlonglong paise = text.toLongLong(&ok);
    return ok ? paise : std::llround(rupees * 100);
}

std::int64_t savingInPaise(const Bill& selected, const PlanCost& cheapest) {
    return shownPaise(selected.totalAndTax) - shownPaise(cheapest.bill.totalAndTax);
}

QStringList comparisonLines(const std::vector<PlanCost>& costs) {
    QStringList lines;
    for (const PlanCost& c : costs) {
        lines << QStringLiteral("%1. %2  %3")
                     .arg(c.rank, 2)
                     .arg(c.totalAndTaxText, -13)
                     .arg(c.entryText);
    }
    return lines;
}

double jsonRupees(double rupees) {
    // Whole paise divided once: the double nearest the shown amount, which JSON writes as it
    // is shown ("4570.83"). Adding 0 turns a -0 into 0.
    return double(shownPaise(rupees)) / 100.0 + 0.0;
}

double jsonMegabytes(double megabytes) {
    return formatNumber(megabytes, 3, QLocale::c()).toDouble() + 0.0;
}

double jsonMegabytes(const Megabytes& megabytes) {
    return formatNumber(megabytes.toDecimal(), 3, QLocale::c()).toDouble() + 0.0;
}

QJsonObject billJson(const Bill& bill) {
    return QJsonObject{
        {QStringLiteral("planCharge"), jsonRupees(bill.planCharge)},
        {QStringLiteral("excessAmount"), jsonRupees(bill.excessAmount)},
        {QStringLiteral("total"), jsonRupees(bill.total)},
        {QStringLiteral("tax"), jsonRupees(bill.tax)},
        {QStringLiteral("totalAndTax"), jsonRupees(bill.totalAndTax)},
    };
}

QJsonDocument summaryJson(const MonthSummary& summary) {
    const SummaryFigures& f = summary.figures;
    const PlanRecord& plan = summary.plan;
    QJsonObject labels;
    for (int i = 0; i < kSummaryLabelCount; ++i) {
        const auto label = SummaryLabel(i);
        labels.insert(summaryLabelName(label),
                      QJsonObject{{QStringLiteral("kept"), f[label].kept},
                                  {QStringLiteral("shown"), f[label].shown},
                                  {QStringLiteral("visible"), isVisible(f, label)}});
    }
    QJsonObject bar{{QStringLiteral("picActualDownload"), f.actualDownloadBoxWidth}};
    if (f.excessDownloadBoxVisible) {
        bar.insert(QStringLiteral("picExcessDownload"), f.excessDownloadBoxWidth);
    }
    const QJsonObject root{
        {QStringLiteral("plan"),
         QJsonObject{
             {QStringLiteral("slot"), summary.slot},
             {QStringLiteral("name"), plan.text(PlanName).trimmed()},
             {QStringLiteral("entry"), summary.entryText},
             {QStringLiteral("custom"), summary.slot == kCustomPlanSlot},
             {QStringLiteral("planCharge"), jsonRupees(plan.number(PlanCharge))},
             {QStringLiteral("allowanceMB"), jsonMegabytes(plan.number(BandwidthLimitMB))},
             {QStringLiteral("unlimited"), plan.isUnlimited()},
             {QStringLiteral("rsPerExcessMB"), jsonRupees(plan.number(RsPerExcessMB))},
             {QStringLiteral("nightUnlimited"), plan.isNightUnlimited()},
         }},
        {QStringLiteral("usage"), usageJson(summary.inputs, summary.today)},
        {QStringLiteral("lines"), QJsonArray::fromStringList(summary.lines)},
        {QStringLiteral("frame"),
         f.availableGroupVisible ? QStringLiteral("fraAvailable") : QStringLiteral("fraExcess")},
        {QStringLiteral("todayShown"), f.todayLabelsVisible},
        {QStringLiteral("bar"), bar},
        {QStringLiteral("labels"), labels},
        {QStringLiteral("bill"), billJson(summary.bill)},
    };
    return QJsonDocument(root);
}

QJsonDocument comparisonJson(const SummaryInputs& inputs, QDate today,
                             const std::vector<PlanCost>& costs) {
    QJsonArray plans;
    for (const PlanCost& c : costs) {
        QJsonObject plan = billJson(c.bill);
        plan.insert(QStringLiteral("rank"), c.rank);
        plan.insert(QStringLiteral("slot"), c.slot);
        plan.insert(QStringLiteral("name"), c.name);
        plan.insert(QStringLiteral("entry"), c.entryText);
        plan.insert(QStringLiteral("totalAndTaxText"), c.totalAndTaxText);
        plans.append(plan);
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("usage"), usageJson(inputs, today)},
                                     {QStringLiteral("plans"), plans}});
}

}  // namespace kestrova
