// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The history of the cached months, from the cache files to the cache page's table: sixty
// months of a given number of records each.

#include "app/cache_history_view.h"
#include "results/history.h"
#include "retrieval/cache_file.h"
#include "retrieval/usage_log.h"
#include "sample_log.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include <map>
#include <memory>

using namespace kestrova;

namespace {

constexpr int kMonths = 60;

// A folder of sixty cache files (January 2022 on) with `records` records each.
const QTemporaryDir& cacheFolder(int records) {
    static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    auto& folder = folders[records];
    if (!folder) {
        folder = std::make_unique<QTemporaryDir>();
        for (int m = 0; m < kMonths; ++m) {
            const QDate first = QDate(2022, 1, 1).addMonths(m);
            SampleLogOptions options;
            options.records = records;
            options.lastDay = first.addMonths(1).addDays(-1);
            options.seed = std::uint32_t(m + 1);
            options.maxSessionsPerDay = 2 * records / 28 + 2;  // the whole month's records fit
            const QString text = readUsageLogRecords(makeSampleUsageLog(options)).records.rowText();
            saveFileData(cacheFileName(folder->path(), first.toString(u"yyyy-MM"), true,
                                       QStringLiteral("demo")),
                         text, true);
        }
    }
    return *folder;
}

void BM_HistoryFromFiles(benchmark::State& state) {
    const QTemporaryDir& folder = cacheFolder(int(state.range(0)));
    for (auto _ : state) {
        const History history = buildHistory(folder.path(), QStringLiteral("demo"),
                                             PlanChoice::catalogue(0), QDate(2026, 12, 7));
        if (history.readableMonths != kMonths) {
            state.SkipWithError("a month could not be read");
        }
        benchmark::DoNotOptimize(history.totalMB);
    }
    state.SetItemsProcessed(state.iterations() * kMonths * state.range(0));
}
BENCHMARK(BM_HistoryFromFiles)->Arg(300)->Arg(3000)->Arg(6000)->Unit(benchmark::kMillisecond);

// The whole way the cache page goes: files to figures to the table and chart.
void BM_HistoryToTheTable(benchmark::State& state) {
    const QTemporaryDir& folder = cacheFolder(int(state.range(0)));
    CacheHistoryView view;
    for (auto _ : state) {
        const History history = buildHistory(folder.path(), QStringLiteral("demo"),
                                             PlanChoice::catalogue(0), QDate(2026, 12, 7));
        view.showHistory(history, 1024.0);
        benchmark::DoNotOptimize(view.items().size());
    }
    state.SetItemsProcessed(state.iterations() * kMonths * state.range(0));
}
BENCHMARK(BM_HistoryToTheTable)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
