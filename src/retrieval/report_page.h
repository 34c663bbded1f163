// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/colour_ref.h"
#include "platform/megabytes.h"
#include "retrieval/report_target.h"
#include "retrieval/retrieval_state.h"
#include "retrieval/usage_records.h"

#include <QDate>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace kestrova {

// The report page's mark-up with its placeholders "##month-year##", "##mb##", "##gb##",
// "##note##" and "##row##".
QString reportTemplate();

// "####-##-##*": a row is a usage record only when its date field starts like that.
bool matchesRecordDate(QStringView text);

// Below 1024 MB: the default text and " MB"; from there on also a line break tag and the
// gigabytes with two decimals ("2048 MB<BR>2.00 GB"), however large the figure.
QString megabytesText(Megabytes used);
// "#" + RR + GG + BB; system colours are resolved through the palette first.
QString colorToHTML(ColorRef color);

// What the last writeOutput found, for the command line's month summary.
struct ReportFigures {
    int records = 0;
    std::int64_t monthSumMB = 0;  // the records' totals summed, then rounded to whole MB
    int days = 0;
    QString averageCaption;  // empty when no day was counted
    // Each day's total in the order the listing gives them, oldest day first; a day whose
    // records are not next to each other in the log appears once per run of them.
    std::vector<DailyTotal> dailyTotals;
    // The records' totals as the report's plan kind charges them (all of it but under the
    // night-unlimited kind), and the part it does not; the records of that kind that are
    // mixed. Unrounded.
    Megabytes chargedMB;
    Megabytes freeMB;
    int mixedRecords = 0;
    // What the night-unlimited plans would charge, whatever the kind: the comparisons price
    // those plans on it.
    Megabytes nightChargedMB;
};

// Builds the usage report page: grabbingFinished takes the collected records; writeOutput
// takes their typed values, classifies and totals them and writes the finished page, with
// its daily totals, style rules and chart data texts, into the result window. One writer makes
// every page, whichever way the records were read.
class ReportBuilder {
public:
    ReportBuilder(RetrievalState& state, RetrievalHost& host, ReportTarget& result)
        : m_state(state), m_host(host), m_result(result) {}

    void grabbingFinished();
    // Reports a failure with its description; the page is then left as it was.
    void writeOutput();

    const ReportFigures& figures() const { return m_figures; }

private:
    struct ChartDays;
    struct PagePlan;
    struct DayAverages;

    void writeReport();
    // Each throws Failure where the records cannot be reported; nothing is changed then.
    void planRows(PagePlan& plan);
    void planPageAround(PagePlan& plan) const;
    void takeFigures(const PagePlan& plan);
    void handOverPage(const std::shared_ptr<PagePlan>& plan);
    // Whether the whole page fits one byte per character.
    static bool pageFitsLatin1(const PagePlan& plan);
    QString widePage(const PagePlan& plan) const;
    // The page's file bytes onto the device; false when a write fails.
    bool writePage(const PagePlan& plan, QIODevice& device) const;
    // Puts the page into the sink (see the sinks in the source).
    template <typename Sink>
    void writePage(const PagePlan& plan, Sink& sink) const;
    // The exported listing, as the page's detail listing reads: its headings row, then each
    // record in the page's order, the cells' text without blanks at their ends (the daily
    // total column is left out). Cells are joined by ", " whenever the line so far is not
    // empty and every line ends with CR LF. A cell holding a comma, a double quote or a line
    // break is written in double quotes with its quotes doubled, so it stays one column.
    static QString listingText(const PagePlan& plan);

    void finishReport(ChartDays& chart);
    DayAverages averagePerDay(const ChartDays& chart);
    void writeChartData(const ChartDays& chart, const DayAverages& averages);
    void feedCharts();
    // Hands the target m_outcome, once per report.
    void applyOutcome();

    RetrievalState& m_state;
    RetrievalHost& m_host;
    ReportTarget& m_result;
    ReportFigures m_figures;
    // Starts as the target's and gathers what the report finds.
    ReportOutcome m_outcome;
    bool m_outcomeApplied = false;
    // The records of the last grabbingFinished.
    UsageRecords m_records;
};

}  // namespace kestrova
