// The downloaded usage log, read as the program reads the file (Latin-1, or UTF-8 after a byte
// order mark): split into records, made into the report page, and the report's chart texts fed
// to both charts. A bad log ends in one shown message; nothing may escape or crash.

#include "fuzz_support.h"

#include "platform/failure.h"
#include "results/chart_feed.h"
#include "results/office_chart_data.h"
#include "retrieval/cache_file.h"

#include <cstddef>
#include <cstdint>

using namespace kestrova;
using namespace kestrova::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = textOfFileBytes(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    const ParsedUsageLog log = parseUsageLog(text);
    check(log.badLine != 1, "the header line counted as a short record");
    check(log.earliest.isEmpty() == log.latest.isEmpty() && log.earliest <= log.latest,
          "the period's dates are out of order");
    (void)looksLikeUsageLog(text);

    ReportRun run;
    run.state.mstrMonthYear = QStringLiteral("2013-04");
    run.extraction.ParseUsageFile(text);
    if (run.messages.messages.empty()) {
        run.report.WriteOutput();  // what Timer1 does next
    }
    run.checkOutcome();
    if (!run.messages.messages.empty() || run.result.summaries == 0) {
        return 0;
    }
    check(run.report.figures().records <= log.rows.size(), "more records than rows");
    // The chart data texts the report wrote: the office chart's reader never fails on them,
    // the built-in chart's feed only with a description.
    for (const QString& chartText : {run.state.mstrGraphData, run.state.mstrGraphDataWithAverage}) {
        const OfficeChartData chart = officeChartData(chartText);
        for (const OfficeChartSeries& series : chart.series) {
            check(series.values.size() == std::size_t(chart.categories.size()),
                  "a series without a value per category");
        }
        try {
            (void)UpdateGraphControl(chartText, run.state.mstrMonthYear, 0);
        } catch (const Failure&) {
        }
    }
    return 0;
}
