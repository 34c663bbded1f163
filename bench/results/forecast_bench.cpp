// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the month-end forecast costs each time the Summary tab refreshes (a plan chosen, a
// custom figure typed): the chosen plan and every catalogue plan priced on the projection,
// against the ranking of the month itself that the tab already makes.

#include "results/forecast.h"
#include "results/summary_report.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

using namespace kestrova;

namespace {

const QDate kLast(2026, 11, 14);
const SummaryInputs kMonth{9808, 9808, kLast, 700};

std::vector<DailyTotal> days() {
    std::vector<DailyTotal> out;
    for (QDate d(2026, 11, 1); d <= kLast; d = d.addDays(1)) {
        out.push_back({d, Megabytes::fromWhole(700)});
    }
    return out;
}

void BM_ForecastCataloguePlan(benchmark::State& state) {
    const std::vector<DailyTotal> totals = days();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            forecastMonth(kMonth, PlanChoice::catalogue(0), totals, kLast, QLocale::c()));
    }
}

void BM_ForecastCustomPlan(benchmark::State& state) {
    const std::vector<DailyTotal> totals = days();
    for (auto _ : state) {
        benchmark::DoNotOptimize(forecastMonth(kMonth, PlanChoice::customPlan({900, 20000, 0.1}),
                                               totals, kLast, QLocale::c()));
    }
}

void BM_ComparePlansOfTheMonth(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(comparePlans(kMonth, std::nullopt, kLast, QLocale::c()));
    }
}

BENCHMARK(BM_ForecastCataloguePlan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ForecastCustomPlan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComparePlansOfTheMonth)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
