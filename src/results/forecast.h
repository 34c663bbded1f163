// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the month will end at if the pace so far holds: the usage, whether and when the
// allowance runs out, the bill, and which plan would be cheapest. One computation for the
// Summary tab, kestrova-report and kestrova-check.

#include "platform/daily_total.h"
#include "results/summary_report.h"

#include <QDate>
#include <QJsonObject>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kestrova {

// Where the allowance stands at the end of the month.
enum class AllowanceOutlook {
    Unlimited,      // "Unlimited"
    LastsTheMonth,  // "Lasts the month"
    RunsOut,        // "Runs out about" allowanceDate, at the pace so far
    RanOut,         // "Ran out on" allowanceDate, already passed
};

struct Forecast {
    int slot = 0;      // the plan it is for
    QString planName;  // trimmed
    QDate lastUsedDate;
    int lastDay = 0;      // day of month of the last recorded day
    int daysInMonth = 0;  // of that month
    // Today lies after the month's last day: the projection is the usage itself.
    bool monthComplete = false;
    double usedMB = 0;             // the usage the Summary counts for the plan
    double allowanceMB = -1;       // as priced (0 counts as 1); -1 unlimited
    std::int64_t usedPercent = 0;  // the Summary's percentage of quota used
    double projectedMB = 0;        // usedMB * daysInMonth / lastDay, unrounded
    AllowanceOutlook outlook = AllowanceOutlook::Unlimited;
    QDate allowanceDate;  // for RunsOut and RanOut
    // The days the rest of the allowance is spread over: those after the last recorded day,
    // and that day too when it is today, as its usage is not complete yet. 0 once the month
    // is over.
    int daysLeft = 0;
    // The most that can be used a day over those days without passing the allowance:
    // (allowanceMB - usedMB) / daysLeft, unrounded; 0 once it is passed. None for an
    // unlimited plan or when no day is left.
    std::optional<double> dailyBudgetMB;
    Bill bill;  // the Summary's bill on projectedMB
    // Every catalogue plan (and the custom line when its figures are given) priced on the
    // projection, cheapest first, equal costs in catalogue order.
    std::vector<PlanCost> ranking;
    // The chosen plan's projected total + tax less the cheapest's, in paise, from the amounts
    // as shown; 0 or less when the chosen plan is the cheapest.
    std::int64_t savingPaise = 0;

    // The shown texts, in the locale the forecast was made in.
    QString monthText;        // "day 15 of 30" or "complete"
    QString projectedText;    // "2400.000 MB"
    QString allowanceText;    // "Runs out about 13 Nov", "Lasts the month", ...
    QString dailyBudgetText;  // "42.67 MB", "Ran out"; empty without a budget
    QString totalText;        // "Rs. 302.80"
    QString taxText;          // "Rs. 31.19"
    QString totalAndTaxText;  // "Rs. 333.99"
    QString cheapestText;     // "BB Home UL 499   Rs. 550.40"
    QString savingText;       // "Saves Rs. 12.00 against the selected plan", or that it is

    const PlanCost& cheapest() const { return ranking.front(); }
};

// The forecast's rows as the Summary tab's "Forecast" frame and the text summary show them.
struct ForecastRow {
    QString name;     // the frame's label ("lblForecastUsage")
    QString caption;  // "Projected usage :"; empty for the saving line
    QString text;
    bool shown = true;  // false: the row has nothing to say for this forecast
};
std::vector<ForecastRow> forecastRows(const Forecast& forecast);
// "Forecast" and then one line per shown row, caption and text.
QStringList forecastLines(const Forecast& forecast);
// {"monthComplete", "usedMB", "usedPercent", "projectedMB", "ranOut", "allowanceRunsOut",
//  "daysLeft", "dailyBudgetMB", "bill", "cheapest", "ranking"}: rupees to the paisa and
// megabytes to three decimals, as shown.
QJsonObject forecastJson(const Forecast& forecast);

// The forecast for the month the Summary prices with `choice`: `days` are the report's daily
// totals in any order (the day the allowance ran out is found in date order; without them it
// is the last recorded day), `today` as the Summary takes it. Throws Failure as summarizeMonth
// does.
Forecast forecastMonth(const SummaryInputs& inputs, const PlanChoice& choice,
                       std::span<const DailyTotal> days, QDate today,
                       const QLocale& locale = QLocale());

// "13 Nov": the day and the locale's month abbreviation; the Summary is about one month, so the
// year is left out.
QString forecastDateText(QDate date, const QLocale& locale = QLocale());

}  // namespace kestrova
