// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/usage_log.h"

#include "support/headless_report.h"
#include "support/qt_printers.h"

#include "platform/dialogs.h"
#include "retrieval/headless.h"
#include "retrieval/report_page.h"
#include "retrieval/row_text.h"

#include <gtest/gtest.h>

#include <string_view>

using namespace kestrova;

namespace {

using kestrova::test::q;
using namespace std::string_view_literals;

QString row(const char* a, const char* b, const char* c, const char* d, const char* e,
            const char* f) {
    return toRowText({q(a), q(b), q(c), q(d), q(e), q(f)});
}

using Fixture = kestrova::test::HeadlessReport;

}  // namespace

struct LogCase {
    const char* name;
    std::string_view text;
    int rows;
    int badLine;
};

class ReadUsageLog : public ::testing::TestWithParam<LogCase> {};

TEST_P(ReadUsageLog, SplitsLinesIntoRows) {
    const std::string_view text = GetParam().text;
    const UsageLogRecords log =
        readUsageLogRecords(QString::fromLatin1(text.data(), qsizetype(text.size())));
    EXPECT_EQ(log.count, GetParam().rows);
    EXPECT_EQ(log.badLine, GetParam().badLine);
}

INSTANTIATE_TEST_SUITE_P(
    Logs, ReadUsageLog,
    ::testing::Values(
        LogCase{"Empty", "", 0, 0},
        LogCase{"HeaderOnly", "Date,Time,Duration,Down,Up,Total\n", 0, 0},
        LogCase{"HeaderWithoutLineFeed", "Date,Time,Duration,Down,Up,Total", 0, 0},
        LogCase{"BlankAndSpaceOnlyLinesAreSkipped", "h\n\n   \n2013-04-17,a,b,1,2,3\n\n", 1, 0},
        LogCase{"LastLineWithoutLineFeed", "h\n2013-04-17,a,b,1,2,3\n2013-04-18,a,b,1,2,3", 2, 0},
        LogCase{"CrLfEndings", "h\r\n2013-04-17,a,b,1,2,3\r\n2013-04-18,a,b,1,2,3\r\n", 2, 0},
        LogCase{"ExtraFieldsAreIgnored", "h\n2013-04-17,a,b,1,2,3,x,y\n", 1, 0},
        LogCase{"FiveFieldsAreShort", "h\n2013-04-17,a,b,1,2\n", 0, 2},
        LogCase{"ShortLineStopsAtItsNumber", "h\n2013-04-17,a,b,1,2,3\n2013-04-18,a,b\nz", 1, 3},
        LogCase{"BlankLinesOfCrLfFilesAreBlank", "h\r\n\r\n  \r\n2013-04-17,a,b,1,2,3\r\n\r\n", 1,
                0},
        // Figures the portal never writes end the records at their line, as a short line does.
        LogCase{"AnExponentIsNoFigure", "h\n2013-04-17,a,b,1,2,3\n2013-04-18,a,b,1,2,134.29e5\n", 1,
                3},
        LogCase{"ANegativeTotalIsNoFigure", "h\n2013-04-17,a,b,1,2,-49900\n", 0, 2},
        LogCase{"ANegativeUploadIsNoFigure", "h\n2013-04-17,a,b,1,-2,3\n", 0, 2},
        LogCase{"TenWholeDigitsAreNoMonthsFigure", "h\n2013-04-17,a,b,1,2,1234567890\n", 0, 2},
        LogCase{"TenDecimalsAreNoFigure", "h\n2013-04-17,a,b,1,2,1.0123456789\n", 0, 2},
        LogCase{"AnEmptyTotalIsNoFigure", "h\n2013-04-17,a,b,1,2,\n", 0, 2},
        LogCase{"NineDigitsEachSideAndBlanksAroundAreFigures",
                "h\r\n2013-04-17,a,b, 1 ,0.5,\t123456789.123456789 \r\n", 1, 0},
        LogCase{"ALineThatIsNoRecordHoldsNoFigures", "h\nTotal,,,-,x,1e9\n", 1, 0},
        // The page drops a NUL character: the date still makes the line a record.
        LogCase{"ANulInTheDateHidesNoRecord", "h\n2013\0-04-17,a,b,1,2,1e5\n"sv, 0, 2}),
    [](const auto& r) { return std::string(r.param.name); });

TEST(ReadUsageLog, KeepsFieldsAsReadTypesTheRecordsAndFindsThePeriod) {
    const UsageLogRecords log = readUsageLogRecords(
        q("Date,Time\r\n  2013-04-17, 02:20:00 ,00:10,1.5,0.5,2.0\r\n2013-04-02,x,y,1,1,2\r\n"
          "2013-04-30 23:59,01:59:00,120,1,1,0.0001\r\n2013-04-03,x,y,1,1,2,seventh,eighth\r\n"
          "Total,,,-,x,1e9"));
    // The line read last first; blanks at the line's ends go, those inside stay; the carriage
    // return stays with field 6. A title line is kept in the text, but is no record.
    EXPECT_EQ(log.records.rowText(),
              row("Total", "", "", "-", "x", "1e9") + row("2013-04-03", "x", "y", "1", "1", "2") +
                  row("2013-04-30 23:59", "01:59:00", "120", "1", "1", "0.0001\r") +
                  row("2013-04-02", "x", "y", "1", "1", "2\r") +
                  row("2013-04-17", " 02:20:00 ", "00:10", "1.5", "0.5", "2.0\r"));
    ASSERT_EQ(log.records.size(), 4);
    // What the report computes with: the day, the total, the session against the night.
    const UsageRecord last = log.records.at(3);
    EXPECT_EQ(last.day(), QDate(2013, 4, 17));
    EXPECT_EQ(last.total(), Megabytes::fromTenThousandths(20000));
    EXPECT_EQ(last.nightSplit().kind, NightSplit::Free);
    EXPECT_EQ(last.nightSplit().seconds, 10);
    const UsageRecord lateMonth = log.records.at(1);
    EXPECT_EQ(lateMonth.day(), QDate(2013, 4, 30));
    EXPECT_EQ(lateMonth.total(), Megabytes::fromTenThousandths(1));
    EXPECT_EQ(lateMonth.nightSplit().kind, NightSplit::Mixed);
    EXPECT_EQ(lateMonth.nightSplit().nightSeconds, 60);
    // An unreadable time is charged, never lost.
    EXPECT_EQ(log.records.at(2).nightSplit().kind, NightSplit::NonFree);
    EXPECT_EQ(log.earliest, q("2013-04-02"));
    EXPECT_EQ(log.latest, q("2013-04-30"));
    EXPECT_EQ(downloadPeriodText(log.earliest, log.latest), q("period 02-04-2013 TO 30-04-2013"));
}

TEST(toRowText, EscapesMarkUpAndCharactersBeyondLatin1) {
    const QString r = toRowText({q("<script>x</script>"), q("a&b"), q("\"q\" 'r'"),
                                 QString::fromUtf8("\xe2\x82\xac"), q(""), q("1")});
    EXPECT_EQ(r, q("<TR><TD>&lt;script&gt;x&lt;/script&gt;</TD><TD>a&amp;b</TD><TD>&quot;q&quot; "
                   "&#39;r&#39;</TD><TD>&#8364;</TD><TD></TD><TD>1</TD></TR>"));
}

TEST(parseUsageFile, AShortLineReportsAndBuildsNoReportButKeepsWhatWasRead) {
    Fixture f;
    f.extraction.parseUsageFile(q("h\nA,1,1,1,1,1\nbroken line\nB,2,2,2,2,2\n"));
    EXPECT_EQ(f.messages.texts(), QStringList{q("Error retrieving data from site")});
    EXPECT_EQ(f.messages.messages[0].icon, MessageIcon::None);
    EXPECT_FALSE(f.host.timerEnabled);
    EXPECT_EQ(f.state.records.rowText(), row("A", "1", "1", "1", "1", "1"));
}

TEST(parseUsageFile, AFigureThePortalNeverWritesNamesItsLineAndFieldCutShort) {
    Fixture f;
    const QString total(1000000, u'9');
    f.extraction.parseUsageFile(q("h\n2013-04-17,a,b,1,1,2\n2013-04-18,a,b,1,1,") + total +
                                q("\n"));
    ASSERT_EQ(f.messages.messages.size(), 1u);
    const QString text = f.messages.messages[0].text;
    EXPECT_TRUE(
        text.startsWith(q("Error retrieving data from site\n\nLine 3: the Total (MB) "
                          "field \"9999")))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(q("(1000000 characters) is not a figure the portal writes.")))
        << text.toStdString();
    EXPECT_LT(text.size(), 200);
    EXPECT_FALSE(f.host.timerEnabled);
}
