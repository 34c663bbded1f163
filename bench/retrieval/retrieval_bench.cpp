// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Report building, scrambling and cache files against the size of a month's log.

#include "platform/dialogs.h"
#include "retrieval/cache_file.h"
#include "retrieval/headless.h"
#include "retrieval/report_page.h"
#include "retrieval/usage_log.h"
#include "retrieval/xor_cipher.h"
#include "sample_log.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstring>
#include <map>

using namespace kestrova;

namespace {

const QString& sampleLog(int records) {
    static std::map<int, QString> logs;
    auto it = logs.find(records);
    if (it == logs.end()) {
        SampleLogOptions options;
        options.records = records;
        it = logs.emplace(records, makeSampleUsageLog(options)).first;
    }
    return it->second;
}

// From the downloaded text to the finished page's mark-up, as kestrova-report goes: records,
// skeleton, writeOutput, the page as text.
void BM_ParseAndReport(benchmark::State& state) {
    const QString& log = sampleLog(int(state.range(0)));
    RecordingDialogs messages;
    ScopedDialogs seam(messages);
    for (auto _ : state) {
        RetrievalState retrieval;
        HeadlessHost host;
        HeadlessResult result;
        ReportBuilder report(retrieval, host, result);
        UsageExtraction extraction(retrieval, report);
        extraction.addRecordsInFront(readUsageLogRecords(log).records);
        report.grabbingFinished();
        report.writeOutput();
        benchmark::DoNotOptimize(result.page.size());
        if (!messages.messages.empty() || report.figures().records != state.range(0)) {
            state.SkipWithError("the report did not take every record");
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParseAndReport)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same and the exported listing, as the Export command writes it from the records.
void BM_ParseReportAndExport(benchmark::State& state) {
    const QString& log = sampleLog(int(state.range(0)));
    RecordingDialogs messages;
    ScopedDialogs seam(messages);
    for (auto _ : state) {
        RetrievalState retrieval;
        HeadlessHost host;
        HeadlessResult result;
        ReportBuilder report(retrieval, host, result);
        UsageExtraction extraction(retrieval, report);
        extraction.addRecordsInFront(readUsageLogRecords(log).records);
        report.grabbingFinished();
        report.writeOutput();
        const QString listing = result.listingText();
        benchmark::DoNotOptimize(listing.size());
        if (!messages.messages.empty() || report.figures().records != state.range(0)) {
            state.SkipWithError("the report did not take every record");
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParseReportAndExport)
    ->Arg(3000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_EnDeCrypt(benchmark::State& state) {
    QString text(qsizetype(state.range(0)), u'x');
    const XorCipher cipher;
    for (auto _ : state) {
        cipher.scramble(text, kCacheKey);
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * qsizetype(sizeof(QChar)));
}
BENCHMARK(BM_EnDeCrypt)->Arg(1 << 20)->Arg(32 << 20);

// The same bytes copied, for comparison with the cipher's throughput.
void BM_Memcpy(benchmark::State& state) {
    const std::size_t bytes = std::size_t(state.range(0)) * sizeof(QChar);
    std::vector<char> from(bytes, 'x');
    std::vector<char> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * qint64(bytes));
}
BENCHMARK(BM_Memcpy)->Arg(1 << 20)->Arg(32 << 20);

void BM_CacheWriteAndRead(benchmark::State& state) {
    const QString records = readUsageLogRecords(sampleLog(int(state.range(0)))).records.rowText();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("2026-11-unbilled-demo.cache2"));
    for (auto _ : state) {
        if (!saveFileData(file, records, true) ||
            readFileData(file, true).size() != records.size()) {
            state.SkipWithError("the cache file did not read back");
        }
    }
    state.SetBytesProcessed(state.iterations() * records.size());
}
BENCHMARK(BM_CacheWriteAndRead)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
