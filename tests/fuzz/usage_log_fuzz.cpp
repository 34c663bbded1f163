// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The downloaded usage log, read as the program reads the file (Latin-1, or UTF-8 after a byte
// order mark): split into records, made into the report page, and the report's chart texts fed
// to both charts. A bad log ends in one shown message; nothing may escape or crash.

#include "fuzz_support.h"

#include "platform/failure.h"
#include "results/chart_feed.h"
#include "results/office_chart_data.h"
#include "retrieval/cache_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace kestrova;
using namespace kestrova::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = textOfFileBytes(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    const UsageLogRecords log = readUsageLogRecords(text);
    check(log.badLine != 1, "the header line counted as a short record");
    check(log.earliest.isEmpty() == log.latest.isEmpty() && log.earliest <= log.latest,
          "the period's dates are out of order");
    (void)looksLikeUsageLog(text);

    ReportRun run;
    run.state.monthYear = QStringLiteral("2013-04");
    run.extraction.parseUsageFile(text);
    if (run.messages.messages.empty()) {
        run.report.writeOutput();  // what Timer1 does next
        // The reader let through only figures the portal writes: each one reads.
        for (const QString& message : run.messages.texts()) {
            check(!message.contains(QStringLiteral("Type mismatch")),
                  "a record's figure the reader let through does not read");
        }
    }
    run.checkOutcome();
    if (!run.messages.messages.empty() || run.result.summaries == 0) {
        return 0;
    }
    // The records as the reader typed them and the page agree on how many are usage and what
    // they sum to.
    int usage = 0;
    Megabytes sum;
    try {
        for (qsizetype r = 0; r < log.records.size(); ++r) {
            sum += log.records.at(r).total();
            ++usage;
        }
    } catch (const Failure&) {
        check(false, "a usage record the reader let through has no total");
    }
    check(run.report.figures().records == usage, "the page lists other records than the reader");
    check(run.report.figures().monthSumMB == sum.roundedToWhole(),
          "the page's month total is not the records' totals");
    // The chart data texts written from the report's chart: the office chart's reader never
    // fails on them and reads the chart's columns and series back.
    check(run.state.chart.has_value(), "a report without its chart");
    const DailyChart& dailyChart = *run.state.chart;
    for (const DailySeries& series : dailyChart.series) {
        check(series.days.size() == std::size_t(dailyChart.dayLabels.size()),
              "a series without a value for each day");
    }
    // A day label cut from a hostile date may hold the text's own separators.
    const bool plainLabels = std::none_of(
        dailyChart.dayLabels.begin(), dailyChart.dayLabels.end(),
        [](const QString& label) { return label.contains(u'\t') || label.contains(u'\r'); });
    for (const bool withAverage : {false, true}) {
        const QString chartText = chartDataText(run.state, withAverage);
        const OfficeChartData chart = officeChartData(chartText);
        for (const OfficeChartSeries& series : chart.series) {
            check(series.values.size() == std::size_t(chart.categories.size()),
                  "a series without a value per category");
        }
        if (plainLabels) {
            const ChartDataTable table = parseChartData(chartText);
            check(table.categories.size() == dailyChart.dayLabels.size() + (withAverage ? 1 : 0),
                  "the text's columns are not the chart's days");
            check(table.series.size() == dailyChart.series.size(), "a series lost in the text");
        }
    }
    // The built-in chart draws the chart itself, failing only with a description.
    try {
        const ChartFeed feed = updateGraphControl(dailyChart, run.state.monthYear, 0);
        check(feed.items.size() == std::size_t(dailyChart.dayLabels.size()) + 1,
              "not one item per day and the average");
    } catch (const Failure&) {
    }
    return 0;
}
