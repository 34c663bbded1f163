// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The Summary's figures and the forecast for the month's end, from the figures a report hands
// over and a plan (a catalogue slot, or custom figures of any size). Nothing but a Failure may
// leave them; when they go through, the plans are ranked cheapest first, the allowance's
// outlook agrees with the usage and the projection, and every text and JSON object is made.

#include "fuzz_support.h"

#include "platform/failure.h"
#include "results/forecast.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

using namespace kestrova;
using namespace kestrova::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    SummaryInputs inputs;
    inputs.totalUsage = in.ConsumeIntegral<std::int32_t>();
    inputs.chargedUsage = in.ConsumeIntegral<std::int32_t>();
    inputs.mdtLastUsedDate = QDate(2000, 1, 1).addDays(in.ConsumeIntegralInRange(-800, 40000));
    inputs.lastDayUsage = in.ConsumeIntegral<std::int32_t>();
    inputs.nightChargedUsage = in.ConsumeIntegral<std::int32_t>();
    const QDate today = inputs.mdtLastUsedDate.addDays(in.ConsumeIntegralInRange(-40, 400));
    PlanChoice choice = PlanChoice::catalogue(in.ConsumeIntegralInRange(-1, kCatalogueSize));
    if (in.ConsumeBool()) {
        choice = PlanChoice::customPlan({in.ConsumeFloatingPoint<double>(),
                                         in.ConsumeFloatingPoint<double>(),
                                         in.ConsumeFloatingPoint<double>()});
    }
    // The report's daily totals of the month, as the Summary takes a month's report.
    std::vector<DailyTotal> days;
    while (days.size() < 31 && in.remaining_bytes() >= 9) {
        const QDate day = inputs.mdtLastUsedDate.addDays(
            -in.ConsumeIntegralInRange(0, std::max(0, inputs.mdtLastUsedDate.day() - 1)));
        days.push_back({day, Megabytes::fromTenThousandths(in.ConsumeIntegral<std::int64_t>())});
    }

    const QLocale locale = QLocale::c();
    try {
        const MonthSummary summary = summarizeMonth(inputs, choice, today, locale);
        check(!summary.lines.isEmpty(), "a summary without lines");
    } catch (const Failure&) {
    }
    try {
        const std::vector<PlanCost> ranking = comparePlans(inputs, choice.custom, today, locale);
        for (std::size_t i = 0; i < ranking.size(); ++i) {
            check(ranking[i].rank == int(i) + 1, "ranks not numbered from 1");
            check(i == 0 || shownPaise(ranking[i - 1].bill.totalAndTax) <=
                                shownPaise(ranking[i].bill.totalAndTax),
                  "the comparison is not cheapest first");
        }
        (void)comparisonLines(ranking);
    } catch (const Failure&) {
    }
    Forecast f;
    try {
        f = forecastMonth(inputs, choice, days, today, locale);
    } catch (const Failure&) {
        return 0;
    }
    check(f.ranking.size() == std::size_t(choice.custom ? kCatalogueSize : kCustomPlanSlot),
          "not every plan ranked");
    for (std::size_t i = 1; i < f.ranking.size(); ++i) {
        check(shownPaise(f.ranking[i - 1].bill.totalAndTax) <=
                  shownPaise(f.ranking[i].bill.totalAndTax),
              "the forecast's ranking is not cheapest first");
    }
    check(!f.monthComplete || f.projectedMB == f.usedMB, "a complete month projected further");
    switch (f.outlook) {
        case AllowanceOutlook::Unlimited:
            check(f.allowanceMB == -1, "an unlimited plan with an allowance");
            break;
        case AllowanceOutlook::RanOut:
            check(f.usedMB > f.allowanceMB, "ran out of an allowance not used up");
            break;
        case AllowanceOutlook::RunsOut:
            check(f.usedMB <= f.allowanceMB && f.projectedMB > f.allowanceMB,
                  "runs out though the pace keeps within the allowance");
            check(f.allowanceDate >= f.lastUsedDate, "runs out before the last recorded day");
            break;
        case AllowanceOutlook::LastsTheMonth:
            check(f.usedMB <= f.allowanceMB, "lasts the month though used up");
            break;
    }
    if (f.allowanceDate.isValid()) {
        check(f.allowanceDate.year() == f.lastUsedDate.year() &&
                  f.allowanceDate.month() == f.lastUsedDate.month(),
              "the allowance's day lies outside the month");
    }
    check(f.usedMB < 0 || f.allowanceMB <= 0 || f.usedPercent >= 0,
          "a negative share of the quota used");
    check(forecastLines(f).size() > 1, "a forecast without lines");
    (void)forecastJson(f);
    return 0;
}
