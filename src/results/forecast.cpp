// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/forecast.h"

#include "platform/number_format.h"

#include <QJsonArray>
#include <algorithm>
#include <cmath>

namespace kestrova {

namespace {

using L = SummaryLabel;

// The month of the last recorded day, and how far into it the records and today reach.
struct MonthShape {
    QDate lastUsed;
    int lastDay = 0;
    int daysInMonth = 0;
    bool complete = false;
    bool lastIsToday = false;

    MonthShape(QDate lastUsedDate, QDate today)
        : lastUsed(lastUsedDate),
          lastDay(lastUsedDate.day()),
          daysInMonth(lastUsedDate.daysInMonth()),
          complete(today > QDate(lastUsedDate.year(), lastUsedDate.month(), daysInMonth)),
          lastIsToday(lastUsedDate == today) {}

    // The Summary's average per day carried over the whole month.
    double project(double used) const { return complete ? used : used * daysInMonth / lastDay; }
    QDate day(int n) const { return QDate(lastUsed.year(), lastUsed.month(), n); }
    // The report stands on the last recorded day, as the Summary's remaining days do; a last
    // day that is today is still being used, so its usage is not complete and it counts too.
    int daysLeft() const { return complete ? 0 : daysInMonth - lastDay + (lastIsToday ? 1 : 0); }
};

// A whole number for a count shown as a figure, kept within what 64 bits hold.
std::int64_t wholeCount(double value) {
    constexpr double kLimit = 9.0e18;
    return std::isnan(value) ? 0 : std::int64_t(std::clamp(value, -kLimit, kLimit));
}

double keptNumber(const SummaryFigures& figures, L label) {
    return requireNumber(figures[label].kept, QLocale::c()).toDouble();
}

// The first day on which the running sum of the daily totals, in date order, exceeds the
// allowance; the last recorded day when they never do (no totals given).
QDate ranOutOn(std::span<const DailyTotal> days, double allowanceMB, QDate lastUsed) {
    std::vector<DailyTotal> inOrder(days.begin(), days.end());
    std::stable_sort(inOrder.begin(), inOrder.end(),
                     [](const DailyTotal& a, const DailyTotal& b) { return a.date < b.date; });
    const Megabytes allowance = Megabytes::fromDouble(allowanceMB);
    Megabytes sum;
    for (const DailyTotal& day : inOrder) {
        sum += day.total;
        if (sum > allowance) {
            return day.date;
        }
    }
    return lastUsed;
}

struct PricedProjection {
    MonthSummary summary;
    double used = 0;
    double projected = 0;
    SummaryFigures figures;  // the Summary's run on the projection
};

PricedProjection priceProjection(MonthSummary summary, const MonthShape& month,
                                 const QLocale& locale) {
    PricedProjection p;
    p.summary = std::move(summary);
    p.used = keptNumber(p.summary.figures, L::UsedBandWidthLabel);
    p.projected = month.project(p.used);
    p.figures = priceUsage(p.summary.plan, p.projected, locale);
    return p;
}

}  // namespace

QString forecastDateText(QDate date, const QLocale& locale) {
    return QString::number(date.day()) + u' ' +
           locale.monthName(date.month(), QLocale::ShortFormat);
}

Forecast forecastMonth(const SummaryInputs& inputs, const PlanChoice& choice,
                       std::span<const DailyTotal> days, QDate today, const QLocale& locale) {
    // summarizeMonth refuses an invalid date before the month's shape is taken from it.
    MonthSummary summary = summarizeMonth(inputs, choice, today, locale);
    const MonthShape month(inputs.mdtLastUsedDate, today);
    const PricedProjection chosen = priceProjection(std::move(summary), month, locale);

    Forecast f;
    f.slot = chosen.summary.slot;
    f.planName = chosen.summary.plan.text(PlanName).trimmed();
    f.lastUsedDate = month.lastUsed;
    f.lastDay = month.lastDay;
    f.daysInMonth = month.daysInMonth;
    f.monthComplete = month.complete;
    f.usedMB = chosen.used;
    // As shown: a month far beyond a tiny allowance runs to billions of per cent.
    f.usedPercent = wholeCount(keptNumber(chosen.summary.figures, L::PercentageEdit));
    f.projectedMB = chosen.projected;

    const PlanRecord& plan = chosen.summary.plan;
    if (plan.isUnlimited()) {
        f.outlook = AllowanceOutlook::Unlimited;
    } else {
        f.allowanceMB = plan.number(BandwidthLimitMB);
        if (f.usedMB > f.allowanceMB) {
            f.outlook = AllowanceOutlook::RanOut;
            f.allowanceDate = ranOutOn(days, f.allowanceMB, month.lastUsed);
        } else if (month.complete || f.projectedMB <= f.allowanceMB) {
            f.outlook = AllowanceOutlook::LastsTheMonth;
        } else {
            // The first day on which the running sum at the average pace exceeds the
            // allowance. The projection exceeds it, so usedMB > 0 and the day lies after the
            // last recorded day and within the month.
            const int day = int(std::floor(f.allowanceMB * f.lastDay / f.usedMB)) + 1;
            f.outlook = AllowanceOutlook::RunsOut;
            f.allowanceDate = month.day(std::clamp(day, 1, month.daysInMonth));
        }
    }
    f.daysLeft = month.daysLeft();
    if (f.outlook != AllowanceOutlook::Unlimited && f.daysLeft > 0) {
        f.dailyBudgetMB = std::max(f.allowanceMB - f.usedMB, 0.0) / f.daysLeft;
    }
    f.bill = billOf(chosen.figures);

    const SummaryInputs priced = comparisonInputs(inputs);
    const int planCount = choice.custom ? kCatalogueSize : kCustomPlanSlot;
    for (int slot = 0; slot < planCount; ++slot) {
        const PricedProjection p = priceProjection(
            summarizeMonth(priced,
                           slot == kCustomPlanSlot ? PlanChoice::customPlan(*choice.custom)
                                                   : PlanChoice::catalogue(slot),
                           today, locale),
            month, locale);
        f.ranking.push_back({0, slot, p.summary.plan.text(PlanName).trimmed(), p.summary.entryText,
                             billOf(p.figures), p.figures.shown(L::BillTotalAndTaxLabel)});
    }
    rankByTotalAndTax(f.ranking);
    f.savingPaise = savingInPaise(f.bill, f.cheapest());

    f.monthText = month.complete ? QStringLiteral("complete")
                                 : QStringLiteral("day %1 of %2").arg(f.lastDay).arg(f.daysInMonth);
    f.projectedText = formatNumber(f.projectedMB, 3, locale) + QStringLiteral(" MB");
    switch (f.outlook) {
        case AllowanceOutlook::Unlimited:
            f.allowanceText = QStringLiteral("Unlimited");
            break;
        case AllowanceOutlook::LastsTheMonth:
            f.allowanceText = QStringLiteral("Lasts the month");
            break;
        case AllowanceOutlook::RunsOut:
            f.allowanceText = u"Runs out about " + forecastDateText(f.allowanceDate, locale);
            break;
        case AllowanceOutlook::RanOut:
            f.allowanceText = u"Ran out on " + forecastDateText(f.allowanceDate, locale);
            break;
    }
    if (f.dailyBudgetMB) {
        f.dailyBudgetText = f.outlook == AllowanceOutlook::RanOut
                                ? QStringLiteral("Ran out")
                                : formatNumber(*f.dailyBudgetMB, 2, locale) + QStringLiteral(" MB");
    }
    f.totalText = chosen.figures.shown(L::BillTotalLabel);
    f.taxText = chosen.figures.shown(L::BillTaxLabel);
    f.totalAndTaxText = chosen.figures.shown(L::BillTotalAndTaxLabel);
    f.cheapestText = f.cheapest().name + QStringLiteral("   ") + f.cheapest().totalAndTaxText;
    f.savingText = f.savingPaise > 0
                       ? u"Saves Rs. " + formatNumber(double(f.savingPaise) / 100, 2, locale) +
                             u" against the selected plan"
                       : QStringLiteral("The selected plan is the cheapest");
    return f;
}

std::vector<ForecastRow> forecastRows(const Forecast& f) {
    return {
        {QStringLiteral("lblForecastMonth"), QStringLiteral("Month :"), f.monthText},
        {QStringLiteral("lblForecastUsage"), QStringLiteral("Projected usage :"), f.projectedText},
        {QStringLiteral("lblForecastAllowance"), QStringLiteral("Allowance :"), f.allowanceText},
        {QStringLiteral("lblForecastDailyBudget"), QStringLiteral("Daily budget :"),
         f.dailyBudgetText, f.dailyBudgetMB.has_value()},
        {QStringLiteral("lblForecastTotal"), QStringLiteral("Projected Total :"), f.totalText},
        {QStringLiteral("lblForecastTax"), QStringLiteral("Tax (10.30%) :"), f.taxText},
        {QStringLiteral("lblForecastTotalAndTax"), QStringLiteral("Projected Total + Tax :"),
         f.totalAndTaxText},
        {QStringLiteral("lblForecastCheapest"), QStringLiteral("Cheapest at this pace :"),
         f.cheapestText},
        {QStringLiteral("lblForecastSaving"), QString(), f.savingText},
    };
}

QStringList forecastLines(const Forecast& forecast) {
    QStringList lines{QStringLiteral("Forecast")};
    for (const ForecastRow& row : forecastRows(forecast)) {
        if (!row.shown) {
            continue;
        }
        lines << (row.caption.isEmpty() ? row.text : row.caption + u' ' + row.text);
    }
    return lines;
}

QJsonObject forecastJson(const Forecast& f) {
    const auto plan = [](const PlanCost& c) {
        return QJsonObject{{QStringLiteral("slot"), c.slot},
                           {QStringLiteral("name"), c.name},
                           {QStringLiteral("totalAndTax"), jsonRupees(c.bill.totalAndTax)}};
    };
    QJsonArray ranking;
    for (const PlanCost& c : f.ranking) {
        ranking.append(plan(c));
    }
    const bool dated =
        f.outlook == AllowanceOutlook::RunsOut || f.outlook == AllowanceOutlook::RanOut;
    return QJsonObject{
        {QStringLiteral("monthComplete"), f.monthComplete},
        {QStringLiteral("usedMB"), jsonMegabytes(f.usedMB)},
        {QStringLiteral("usedPercent"), qint64(f.usedPercent)},
        {QStringLiteral("projectedMB"), jsonMegabytes(f.projectedMB)},
        {QStringLiteral("ranOut"), f.outlook == AllowanceOutlook::RanOut},
        {QStringLiteral("allowanceRunsOut"),
         dated ? QJsonValue(f.allowanceDate.toString(Qt::ISODate)) : QJsonValue()},
        {QStringLiteral("daysLeft"), f.daysLeft},
        {QStringLiteral("dailyBudgetMB"),
         f.dailyBudgetMB ? QJsonValue(jsonMegabytes(*f.dailyBudgetMB)) : QJsonValue()},
        {QStringLiteral("bill"),
         QJsonObject{{QStringLiteral("total"), jsonRupees(f.bill.total)},
                     {QStringLiteral("tax"), jsonRupees(f.bill.tax)},
                     {QStringLiteral("totalAndTax"), jsonRupees(f.bill.totalAndTax)}}},
        {QStringLiteral("cheapest"), plan(f.cheapest())},
        {QStringLiteral("ranking"), ranking},
    };
}

}  // namespace kestrova
