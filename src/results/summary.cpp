// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/summary.h"

#include "platform/failure.h"
#include "platform/number_format.h"

#include <cmath>
#include <optional>

namespace kestrova {

namespace {

struct LabelText {
    const char16_t* name;
    const char16_t* caption;
};

// In the order of SummaryLabel.
constexpr std::array<LabelText, kSummaryLabelCount> kLabels = {{
    {u"lblUsedBandWidth", u"Metered Bandwidth :"},
    {u"lblUsedAverage", u"Average per day :"},
    {u"lblUsedLastDay", u"Last recorded day :"},
    {u"lblUsageToday", u"Usage Today* :"},
    {u"lblUsedAverageExclToday", u"Average per day* :"},
    {u"lblAvailableBandWidth", u"Balance Bandwidth :"},
    {u"lblAvailableAverage", u"Average usable per day :"},
    {u"lblAvailableDays", u"Remaining days :"},
    {u"lblAvailableAverageExclToday", u"Average usable per day* :"},
    {u"lblExcessBandwidth", u"Excess Bandwidth :"},
    {u"lblExcessRatePerMB", u"Rs per excess MB :"},
    {u"lblExcessAmount", u"Extra Amount :"},
    {u"lblBillPlanCharge", u"Plan Charge :"},
    {u"lblBillExcessCharge", u"Excess Charge :"},
    {u"lblBillTotal", u"Total :"},
    {u"lblBillTax", u"Tax (10.30%) :"},
    {u"lblBillTotalAndTax", u"Total + Tax :"},
    {u"txtPercentage", u"Percentage of quota used"},
    {u"lblPlanCharge", u"Plan Charge :"},
    {u"lblBandWidthLimit", u"Bandwidth Limit :"},
    {u"lblRsPerMB", u"Rs/Excess MB :"},
}};

using L = SummaryLabel;

// One run over the figures: every value that feeds a later step is kept as text first and read
// back from there, so what is shown rounded never feeds anything.
class SummaryRun {
public:
    SummaryRun(SummaryFigures& figures, const QLocale& locale) : m_f(figures), m_locale(locale) {}

    double keep(L label, double value) {
        LabelFigure& figure = m_f[label];
        figure.kept = defaultText(value, QLocale::c());
        figure.touched = true;
        return kept(label);
    }
    void keepText(L label, const QString& text) {
        LabelFigure& figure = m_f[label];
        figure.kept = text;
        figure.touched = true;
    }
    double kept(L label) const { return requireNumber(m_f[label].kept, QLocale::c()).toDouble(); }
    void show(L label, const QString& text) {
        LabelFigure& figure = m_f[label];
        figure.shown = text;
        figure.touched = true;
    }

    QString megabytes(double value, int decimals) const {
        return formatNumber(value, decimals, m_locale) + QStringLiteral(" MB");
    }
    QString rupees(double value) const {
        return QStringLiteral("Rs. ") + formatNumber(value, 2, m_locale);
    }

private:
    SummaryFigures& m_f;
    const QLocale& m_locale;
};

std::int64_t roundedTiesToEven(double value) {
    return std::int64_t(decimalFromDouble(value).roundedTiesToEven(0));
}

}  // namespace

QString summaryLabelName(SummaryLabel label) {
    return QString::fromUtf16(kLabels[std::size_t(label)].name);
}

QString summaryLabelCaption(SummaryLabel label) {
    return QString::fromUtf16(kLabels[std::size_t(label)].caption);
}

const SummaryTabCaptions& summaryTabCaptions() {
    static const SummaryTabCaptions captions;
    return captions;
}

SummaryInputs comparisonInputs(const SummaryInputs& inputs) {
    SummaryInputs priced = inputs;
    if (inputs.nightChargedUsage >= 0) {
        priced.chargedUsage = inputs.nightChargedUsage;
    }
    return priced;
}

Bill billOf(const SummaryFigures& figures) {
    const auto number = [&](L label) {
        const QString& kept = figures[label].kept;
        return kept.isEmpty() ? 0.0 : requireNumber(kept, QLocale::c()).toDouble();
    };
    return {number(L::BillPlanChargeLabel), number(L::ExcessAmountLabel), number(L::BillTotalLabel),
            number(L::BillTaxLabel), number(L::BillTotalAndTaxLabel)};
}

namespace {

// The run itself; `usedOverride` stands in for the usage the plan counts (a projection is no
// whole number of megabytes).
void summarize(const SummaryInputs& inputs, std::optional<double> usedOverride,
               const PlanRecord& plan, QDate today, SummaryFigures& figures,
               const QLocale& locale) {
    for (LabelFigure& label : figures.labels) {
        label.touched = false;
    }
    const QDate lastUsed = inputs.mdtLastUsedDate;
    if (!lastUsed.isValid()) {
        throw Failure(QStringLiteral("The date of the last usage record is not valid"));
    }
    SummaryRun run(figures, locale);

    PlanRecord record = plan;
    // No later step may divide by the allowance 0.
    if (record.number(BandwidthLimitMB) == 0) {
        record.setText(BandwidthLimitMB, QStringLiteral("1"));
    }
    const bool unlimited = record.isUnlimited();

    // The plan's figures beside the list, as the record holds them (" 250" keeps its blank).
    run.show(L::PlanChargeLabel, QStringLiteral("Rs ") + record.text(PlanCharge));
    if (unlimited) {
        run.show(L::BandWidthLimitLabel, QStringLiteral("Unlimited"));
        run.show(L::RsPerMBLabel, QStringLiteral("NA"));
    } else {
        run.show(L::BandWidthLimitLabel, record.text(BandwidthLimitMB) + QStringLiteral(" MB"));
        run.show(L::RsPerMBLabel, QStringLiteral("Rs ") + record.text(RsPerExcessMB));
    }

    const double used =
        run.keep(L::UsedBandWidthLabel, usedOverride                ? *usedOverride
                                        : record.isNightUnlimited() ? double(inputs.chargedUsage)
                                                                    : double(inputs.totalUsage));
    run.show(L::UsedBandWidthLabel, run.megabytes(used, 3));

    const int day = lastUsed.day();
    run.show(L::UsedAverageLabel, run.megabytes(run.keep(L::UsedAverageLabel, used / day), 2));

    run.keepText(L::UsedLastDayLabel, lastUsed.toString(Qt::ISODate));
    run.show(L::UsedLastDayLabel, QStringLiteral(" %1 %2 %3")
                                      .arg(day)
                                      .arg(locale.monthName(lastUsed.month(), QLocale::ShortFormat))
                                      .arg(lastUsed.year(), 4, 10, QLatin1Char('0')));

    const QDate lastOfMonth = QDate(lastUsed.year(), lastUsed.month(), 1).addMonths(1).addDays(-1);
    const double remaining = run.keep(L::AvailableDaysLabel, double(lastUsed.daysTo(lastOfMonth)));
    run.show(L::AvailableDaysLabel, QString::number(std::int64_t(remaining)));

    if (!unlimited) {
        const double allowance = record.number(BandwidthLimitMB);
        const double available = run.keep(L::AvailableBandWidthLabel, allowance - used);
        const std::int64_t percentage = roundedTiesToEven(used / allowance * 100);
        run.keep(L::PercentageEdit, double(percentage));
        run.show(L::PercentageEdit, QString::number(percentage) + u'%');

        if (available >= 0) {
            figures.availableGroupVisible = true;
            figures.excessGroupVisible = false;
            run.show(L::AvailableBandWidthLabel, run.megabytes(available, 3));
            if (figures.shown(L::AvailableDaysLabel) != u"0") {
                const double perDay =
                    run.keep(L::AvailableAverageLabel, available / run.kept(L::AvailableDaysLabel));
                run.show(L::AvailableAverageLabel, run.megabytes(perDay, 2));
            } else {
                run.show(L::AvailableAverageLabel, QString());
            }
            run.keep(L::ExcessBandwidthLabel, 0);
            run.show(L::ExcessBandwidthLabel, QStringLiteral("0"));
            run.keep(L::ExcessAmountLabel, 0);
            run.show(L::ExcessAmountLabel, QStringLiteral("Rs. 0"));
            figures.actualDownloadBoxWidth = (allowance - available) / allowance;
            figures.excessDownloadBoxVisible = false;
        } else {
            figures.excessGroupAtAvailablePlace = true;
            figures.excessGroupVisible = true;
            figures.availableGroupVisible = false;
            const double excess = run.keep(L::ExcessBandwidthLabel, std::abs(available));
            run.show(L::ExcessBandwidthLabel, run.megabytes(excess, 3));
            const double rate = run.keep(L::ExcessRatePerMBLabel, record.number(RsPerExcessMB));
            run.show(L::ExcessRatePerMBLabel, formatNumber(rate, 2, locale));
            const double amount =
                run.keep(L::ExcessAmountLabel, excess * run.kept(L::ExcessRatePerMBLabel));
            run.show(L::ExcessAmountLabel, run.rupees(amount));
            figures.actualDownloadBoxWidth = 1;
            figures.excessDownloadBoxVisible = true;
            figures.excessDownloadBoxWidth = excess / allowance;
        }

        figures.todayLabelsVisible = today == lastUsed;
        if (figures.todayLabelsVisible) {
            const double lastDay = run.keep(L::UsageTodayLabel, double(inputs.lastDayUsage));
            run.show(L::UsageTodayLabel, run.megabytes(lastDay, 2));
            if (day > 1) {
                const double perDay =
                    run.keep(L::UsedAverageExclTodayLabel, (used - lastDay) / (day - 1));
                run.show(L::UsedAverageExclTodayLabel, run.megabytes(perDay, 2));
            } else {
                run.show(L::UsedAverageExclTodayLabel, QStringLiteral("0 MB"));
            }
            // Today still counts as a remaining day, and its usage as still available.
            const double usable = run.keep(L::AvailableAverageExclTodayLabel,
                                           (run.kept(L::AvailableBandWidthLabel) + lastDay) /
                                               (run.kept(L::AvailableDaysLabel) + 1));
            run.show(L::AvailableAverageExclTodayLabel, run.megabytes(usable, 2));
        }
    } else {
        run.keep(L::PercentageEdit, 0);
        run.show(L::PercentageEdit, QStringLiteral("0%"));
        figures.availableGroupVisible = true;
        figures.excessGroupVisible = false;
        run.show(L::AvailableBandWidthLabel, QStringLiteral("Unlimited"));
        run.show(L::AvailableAverageLabel, QStringLiteral("Unlimited"));
        run.keep(L::ExcessBandwidthLabel, 0);
        run.show(L::ExcessBandwidthLabel, QStringLiteral("0"));
        run.keep(L::ExcessAmountLabel, 0);
        run.show(L::ExcessAmountLabel, QStringLiteral("Rs. 0"));
        figures.actualDownloadBoxWidth = 0;
        figures.excessDownloadBoxVisible = false;
        figures.todayLabelsVisible = false;
    }

    run.keep(L::BillPlanChargeLabel, record.number(PlanCharge));
    run.show(L::BillPlanChargeLabel, QStringLiteral("Rs. ") + record.text(PlanCharge).trimmed());
    run.show(L::BillExcessChargeLabel, figures.shown(L::ExcessAmountLabel));
    const double total = run.keep(
        L::BillTotalLabel, run.kept(L::BillPlanChargeLabel) + run.kept(L::ExcessAmountLabel));
    run.show(L::BillTotalLabel, run.rupees(total));
    const double tax = run.keep(L::BillTaxLabel, total * 10.3 / 100);
    run.show(L::BillTaxLabel, run.rupees(tax));
    const double totalAndTax = run.keep(L::BillTotalAndTaxLabel, total + tax);
    run.show(L::BillTotalAndTaxLabel, run.rupees(totalAndTax));
}

}  // namespace

void createSummary(const SummaryInputs& inputs, const PlanRecord& plan, QDate today,
                   SummaryFigures& figures, const QLocale& locale) {
    summarize(inputs, std::nullopt, plan, today, figures, locale);
}

SummaryFigures priceUsage(const PlanRecord& plan, double usedMB, const QLocale& locale) {
    SummaryFigures figures;
    // The date only feeds the averages and the "today" fields, which the bill never reads.
    const SummaryInputs inputs;
    summarize(inputs, usedMB, plan, inputs.mdtLastUsedDate.addDays(1), figures, locale);
    return figures;
}

}  // namespace kestrova
