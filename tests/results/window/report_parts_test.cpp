// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Cutting a large report page into parts for the report view: every record row in exactly one
// part, in order; parts end where a day begins once they hold their share (or at twice that);
// each part is a page of its own with the report's summary and headings.

#include "results/window/web_report_view.h"

#include "platform/dialogs.h"
#include "platform/html_document.h"
#include "retrieval/headless.h"
#include "retrieval/report_page.h"
#include "retrieval/usage_log.h"
#include "sample_log.h"
#include "support/headless_report.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using kestrova::test::q;

// The report page of a log, as kestrova-report writes it.
QString reportPageOf(const QString& log) {
    test::HeadlessReport run;
    run.state.monthYear = q("2026-11");
    run.state.records = UsageRecords(readUsageLogRecords(log).records);
    run.report.grabbingFinished();
    run.report.writeOutput();
    return run.result.pageMarkup();
}

// A made-up log of that many records, a few to `maxSessionsPerDay` a day; 0 puts them all on
// one day.
QString reportPage(int records, int maxSessionsPerDay) {
    if (maxSessionsPerDay == 0) {
        QString log = q("Date,Time,Duration,Download (MB),Upload (MB),Total (MB)\r\n");
        for (int i = 0; i < records; ++i) {
            log += q("2026-11-30,10:00:00,00:10:00,1,1,2\r\n");
        }
        return reportPageOf(log);
    }
    SampleLogOptions options;
    options.records = records;
    options.maxSessionsPerDay = maxSessionsPerDay;
    return reportPageOf(makeSampleUsageLog(options));
}

struct CutCase {
    const char* name;
    int records;
    int sessionsPerDay;
    int perPart;
    int forcedCuts;  // parts that end inside a day
};

TEST(ReportPageParts, EveryRecordInOnePartCutWhereADayBegins) {
    const CutCase cases[] = {
        {"fewer records than a part", 40, 12, 50, 0},
        {"as many records as a part", 50, 12, 50, 0},
        {"many days", 1000, 12, 100, 0},
        {"a day at a time", 300, 1, 100, 0},
        {"one long day cut at twice a part", 250, 0, 50, 2},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString page = reportPage(c.records, c.sessionsPerDay);
        const ReportPageParts parts = cutReportPage(page, c.perPart);
        EXPECT_EQ(parts.records, c.records);
        if (c.records <= c.perPart) {
            EXPECT_EQ(parts.count(), 0);
            continue;
        }
        ASSERT_GT(parts.count(), 1);
        ASSERT_EQ(parts.firstRecord.size(), parts.starts.size());
        EXPECT_EQ(parts.starts.front(), parts.rowsBegin);
        const QStringView rows =
            QStringView(page).sliced(parts.rowsBegin, parts.rowsEnd - parts.rowsBegin);
        QString joined;
        int forcedCuts = 0;
        const HtmlDocument whole(page);
        for (int i = 0; i < parts.count(); ++i) {
            const QString part = parts.part(page, i);
            const qsizetype begin = parts.starts[std::size_t(i)];
            const qsizetype end =
                i + 1 < parts.count() ? parts.starts[std::size_t(i) + 1] : parts.rowsEnd;
            joined += QStringView(page).sliced(begin, end - begin);
            const int inPart =
                (i + 1 < parts.count() ? parts.firstRecord[std::size_t(i) + 1] : parts.records) -
                parts.firstRecord[std::size_t(i)];
            // A part begins a day unless the part before it is twice the share long.
            const QStringView firstRow =
                QStringView(page).sliced(begin, QStringView(page).sliced(begin).indexOf(u"</tr>"));
            EXPECT_TRUE(firstRow.startsWith(u"<tr usagetype="));
            const bool beginsDay = firstRow.contains(u"class=\"dailytotal\"");
            if (i > 0) {
                const int before =
                    parts.firstRecord[std::size_t(i)] - parts.firstRecord[std::size_t(i) - 1];
                EXPECT_TRUE(beginsDay || before == 2 * c.perPart) << "part " << i;
                forcedCuts += beginsDay ? 0 : 1;
                EXPECT_GE(before, c.perPart);
                EXPECT_LE(before, 2 * c.perPart);
            }
            // A page of its own: the summary as in the whole page, the part's records listed.
            const HtmlDocument shown(part);
            EXPECT_EQ(shown.elementsByTagName(q("table")).item(0)->outerHTML(),
                      whole.elementsByTagName(q("table")).item(0)->outerHTML());
            EXPECT_EQ(shown.elementsByTagName(q("table")).item(1)->rowCount(), 2 + inPart);
            EXPECT_TRUE(part.endsWith(q("  </tbody></table><br></body></html>")));
        }
        EXPECT_EQ(joined, rows);
        EXPECT_EQ(forcedCuts, c.forcedCuts);
    }
}

}  // namespace
}  // namespace kestrova
