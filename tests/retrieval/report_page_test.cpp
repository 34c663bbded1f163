// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/report_page.h"

#include "support/headless_report.h"
#include "support/qt_printers.h"

#include "platform/dialogs.h"
#include "platform/html_document.h"
#include "retrieval/headless.h"
#include "retrieval/row_text.h"
#include "retrieval/usage_log.h"
#include "retrieval/usage_record.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <memory>
#include <tuple>

using namespace kestrova;

namespace kestrova {
void PrintTo(const DailyTotal& day, std::ostream* os) {
    *os << day.date.toString(Qt::ISODate).toStdString() << ' '
        << day.total.defaultText(QLocale::c()).toStdString() << " MB";
}
}  // namespace kestrova

namespace {

using kestrova::test::q;

// The records of log lines as row text, the last line first, as a grab hands them over
// without the log reader's checks (the page-by-page grab reads the portal's table).
QString recordsOf(const char* log) {
    QString records;
    for (const QString& line : q(log).split(u'\n', Qt::SkipEmptyParts)) {
        records.prepend(toRowText(line.split(u',')));
    }
    return records;
}

struct Report : kestrova::test::HeadlessReport {
    explicit Report(const char* log, PlanKind planKind = PlanKind::Limited, bool showFree = false) {
        state.planKind = planKind;
        state.display.excludeFree = !showFree;
        state.monthYear = q("2013-04");
        extraction.parseUsageFile(q("Date,Time,Duration,Download (MB),Upload (MB),Total (MB)\n") +
                                  q(log));
        report.writeOutput();
    }
    // The records handed to the report builder as they are, after a report that gave `earlier`.
    explicit Report(const QString& records, const ReportOutcome& earlier = {},
                    const DisplaySettings& display = {}) {
        result.applyOutcome(earlier);
        state.display = display;
        state.monthYear = q("2013-04");
        state.records = UsageRecords(records);
        report.grabbingFinished();
        report.writeOutput();
    }
    // The page as a browser reads it.
    const HtmlDocument& page() {
        if (!m_page) {
            m_page = std::make_unique<HtmlDocument>(result.pageMarkup());
        }
        return *m_page;
    }
    ElementPtr listing() { return page().elementsByTagName(q("table")).item(1); }
    ElementPtr summary() { return page().elementsByTagName(q("table")).item(0); }
    QStringList dailyTotals() {
        QStringList out;
        ElementPtr t = listing();
        for (int i = 2; i < t->rowCount(); ++i) {
            ElementPtr r = t->row(i);
            out << (r->cellCount() == 7 ? r->cell(6)->innerText().trimmed() + u'/' +
                                              QString::number(r->cell(6)->rowSpan())
                                        : QString());
        }
        return out;
    }

private:
    std::unique_ptr<HtmlDocument> m_page;
};

}  // namespace

TEST(ReportPage, EmptyRecordsGiveBothTablesZeroesAndNoDailyTotals) {
    Report r("");
    ASSERT_TRUE(r.messages.messages.empty());
    EXPECT_EQ(r.page().elementsByTagName(q("table")).count(), 2);
    EXPECT_EQ(r.summary()->row(2)->cell(0)->innerText(), q("0.000"));
    EXPECT_EQ(r.summary()->row(2)->cell(1)->innerText(), q("0.000"));
    EXPECT_EQ(r.summary()->row(0)->innerText(), q("Bandwidth usage summary for 2013-04\n"));
    EXPECT_EQ(r.listing()->rowCount(), 2);
    EXPECT_EQ(r.listing()->row(1)->cellCount(), 7);
    EXPECT_TRUE(r.result.outcome().averageCaption.isEmpty());
    EXPECT_EQ(r.result.outcome().lastDayUsage, -1);
    EXPECT_EQ(r.result.outcome().mdtLastUsedDate, QDate(2000, 1, 1));
    EXPECT_TRUE(r.report.figures().dailyTotals.empty());
    EXPECT_TRUE(r.result.outcome().dailyTotals.empty());
    EXPECT_EQ(chartDataText(r.state, false), q("\r\nUsage"));
    EXPECT_EQ(chartDataText(r.state, true), q("\tAvg\r\nUsage\t0"));
    EXPECT_EQ(r.result.summaries, 1);
    EXPECT_EQ(r.result.chartUpdates, 1);
}

// Once, the month total was the sum of the records' totals each rounded first (0 + 2 + 2 + 0
// here), up to half a megabyte a record away from the sum of its own rows and from the
// Summary's figure. Now it is the unrounded sum rounded once, as the Summary bills it.
TEST(ReportPage, TheMonthTotalIsTheSumOfTheRowsRoundedOnce) {
    Report r(
        "2013-04-17,01:00:00,00:10:00,0,0,0.5\n"
        "2013-04-17,02:00:00,00:10:00,0,0,1.5\n"
        "2013-04-17,03:00:00,00:10:00,0,0,2.5\n"
        "2013-04-17,04:00:00,00:10:00,0,0,0.25\n");
    ASSERT_TRUE(r.messages.messages.empty());
    // 4.75 in all: 5 on the page, in the figures and in the summary's inputs.
    EXPECT_EQ(r.summary()->row(2)->cell(0)->innerText(), q("5.000"));
    EXPECT_EQ(r.summary()->row(2)->cell(1)->innerText(), q("0.005"));
    EXPECT_EQ(r.report.figures().monthSumMB, 5);
    EXPECT_EQ(r.result.outcome().totalUsage, 5);
    EXPECT_EQ(r.result.outcome().chargedUsage, 5);
    // The rows keep their own figures.
    EXPECT_EQ(r.listing()->row(5)->cell(5)->innerText(), q("0.25"));
}

TEST(ReportPage, DailyTotalsStandBesideTheFirstRowOfEachDay) {
    // The log lists the newest first, so the listing does too.
    Report r(
        "2013-04-18,10:00:00,00:10:00,0,0,700.5\n"
        "2013-04-18,09:00:00,00:10:00,0,0,400\n"
        "2013-04-17,23:00:00,00:10:00,0,0,1\n"
        "2013-04-16,23:00:00,00:10:00,0,0,2\n"
        "2013-04-16,22:00:00,00:10:00,0,0,3\n");
    EXPECT_EQ(r.dailyTotals(), (QStringList{q("1100.5 MB\n1.07 GB/2"), QString(), q("1 MB/1"),
                                            q("5 MB/2"), QString()}));
    EXPECT_EQ(r.report.figures().days, 3);
    EXPECT_EQ(r.result.outcome().lastDayUsage, 1100);  // the block at the top: the newest day
    EXPECT_EQ(r.result.outcome().mdtLastUsedDate, QDate(2013, 4, 18));
    EXPECT_EQ(r.listing()->row(2)->cell(0)->innerText(), q("2013-04-18"));
    // Chart columns go from the oldest day to the newest.
    EXPECT_EQ(chartDataText(r.state, false), q("\t16\t17\t18\r\nUsage\t5.00\t1.00\t1100.50"));
    EXPECT_EQ(chartDataText(r.state, true),
              q("\t16\t17\t18\tAvg\r\nUsage\t5.00\t1.00\t1100.50\t368.83"));
    EXPECT_EQ(r.result.outcome().averageCaption, q("368.83"));
    EXPECT_EQ(r.result.outcome().totalUsage, 1106);
}

TEST(ReportPage, DailyTotalsReachTheFiguresAndTheResultOldestFirst) {
    // A log out of date order: the 16th's records are apart, so it counts once per run.
    Report r(
        "2013-04-18,10:00:00,00:10:00,0,0,700.5\n"
        "2013-04-16,09:00:00,00:10:00,0,0,0.0001\n"
        "2013-04-17,23:00:00,00:10:00,0,0,1\n"
        "2013-04-16,23:00:00,00:10:00,0,0,2\n"
        "2013-04-16,22:00:00,00:10:00,0,0,3\n");
    const std::vector<DailyTotal> expected = {
        {QDate(2013, 4, 16), Megabytes::fromWhole(5)},
        {QDate(2013, 4, 17), Megabytes::fromWhole(1)},
        {QDate(2013, 4, 16), Megabytes::fromTenThousandths(1)},
        {QDate(2013, 4, 18), Megabytes::fromTenThousandths(7005000)},
    };
    EXPECT_EQ(r.report.figures().dailyTotals, expected);
    EXPECT_EQ(r.result.outcome().dailyTotals, expected);
}

TEST(ReportPage, ChangedRowColoursGoIntoTheRules) {
    DisplaySettings display;
    display.colorBackMixed = RGB(255, 0, 0);
    display.colorNonFree = RGB(0x12, 0x34, 0x56);
    const QString html = Report(QString(), {}, display).result.pageMarkup();
    EXPECT_TRUE(html.contains(q(".mixed { background-color:#FF0000; }")));
    EXPECT_TRUE(html.contains(q(".nonfree { color:#123456; }")));
}

// The listing as a browser reads it off the page: the listing table from its headings on,
// six cells a row, each cell's text without blanks at its ends, quoted where it would split.
QString listingOfPage(const HtmlDocument& page) {
    const ElementPtr table = page.elementsByTagName(q("table")).item(1);
    QString text;
    for (int r = 1; r < table->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < 6; ++c) {
            QString cell = table->row(r)->cell(c)->innerText();
            cell.remove(QRegularExpression(q("^ +| +$")));
            if (cell.contains(QRegularExpression(q("[,\"\r\n]")))) {
                cell = u'"' + cell.replace(q("\""), q("\"\"")) + u'"';
            }
            cells << cell;
        }
        text += cells.join(q(", ")) + q("\r\n");
    }
    return text;
}

// Export writes the listing from the records, row for row as the page shows it, whichever way
// the records came: the program's own row text (escaped fields, line breaks, characters beyond
// Latin-1) or text only a parser reads (an older or hand-edited cache file).
TEST(ReportListing, ExportsTheRowsAsThePageShowsThem) {
    const QString own =
        toRowText({q("2013-04-02"), q("10:00:00"), q("00:10:00"), q("0"), q("0"), q("0.25")}) +
        toRowText({q("2013-04-01"), q("  10:00:00 "), q("00:10:00"), q("a\r\nb"),
                   QString::fromUtf16(u"\u20ac \u00e9 &amp; <b>"), q("1")}) +
        toRowText({q("2013-04-01"), q("23:30:00"), q("01:00:00"), q("1,5"), q("x\"y"), q("2.5")});
    const QString handEdited =
        q("<TR><TD>2013-04-03</TD><TD>09:00:00</TD><TD>00:05:00</TD><TD>one<br>two</TD>"
          "<TD><b>5</b>, 6</TD><TD>1.5</TD></TR>") +
        own;
    for (const QString& records : {own, handEdited}) {
        Report r(records);
        ASSERT_TRUE(r.messages.messages.empty()) << r.messages.texts().join(u'|').toStdString();
        EXPECT_EQ(r.result.listingText(), listingOfPage(r.page()));
    }
    // The row a parser read is listed where its day falls, last, its line break kept.
    EXPECT_TRUE(
        Report(handEdited)
            .result.listingText()
            .endsWith(q("2013-04-03, 09:00:00, 00:05:00, \"one\ntwo\", \"5, 6\", 1.5\r\n")));
}

// A downloaded log's records go in front of those a cache file gave, the program's own or
// edited by hand: the report reads them as one text, the log's rows first.
TEST(ReportPage, ALogReadInFrontOfACacheFilesRecordsReadsAsOneText) {
    const char* log = "h\n2013-04-05,23:30:00,03:00:00,1,1,7.5\n2013-04-04,10:00:00,x,1,1,2\n";
    const QString logRows = readUsageLogRecords(q(log)).records.rowText();
    const QString cached[] = {
        recordsOf("2013-04-02,02:00:00,01:00:00,0,0,3\n2013-04-01,01:00:00,02:00:00,0,0,1\n"),
        q("<TR><TD>2013-04-03</TD><TD>01:30:00</TD><TD>01:00:00</TD><TD>one<br>two</TD>"
          "<TD><b>5</b></TD><TD>1.5</TD></TR><TR><TD>title</TD></TR>") +
            recordsOf("2013-04-02,02:00:00,01:00:00,0,0,3\n")};
    for (const QString& cache : cached) {
        SCOPED_TRACE(cache.toStdString());
        kestrova::test::HeadlessReport grab;
        kestrova::test::HeadlessReport whole;
        for (auto* r : {&grab, &whole}) {
            r->state.planKind = PlanKind::NightUnlimited;
            r->state.monthYear = q("2013-04");
        }
        grab.state.records = UsageRecords(cache);
        grab.extraction.parseUsageFile(q(log));
        grab.report.writeOutput();
        whole.state.records = UsageRecords(logRows + cache);
        whole.report.grabbingFinished();
        whole.report.writeOutput();
        ASSERT_TRUE(grab.messages.messages.empty())
            << grab.messages.texts().join(u'|').toStdString();
        EXPECT_TRUE(grab.host.timerEnabled);  // the report follows the log
        EXPECT_EQ(grab.state.records.rowText(), logRows + cache);
        EXPECT_EQ(grab.result.pageMarkup(), whole.result.pageMarkup());
        EXPECT_EQ(grab.report.figures().records, 4);
        EXPECT_EQ(grab.report.figures().mixedRecords, 2);
    }
}

struct SplitCase {
    const char* name;
    const char* time;
    const char* duration;
    NightSplit::Kind kind;
    int nightSeconds;
    const char* total;    // MB
    const char* charged;  // what a night-unlimited plan charges of it
};

TEST(NightSplit, ChargesTheShareOfTheSessionOutsideTheNightWindow) {
    const SplitCase cases[] = {
        {"inside", "03:00:00", "01:00:00", NightSplit::Free, 3600, "100", "0"},
        {"outside", "12:00:00", "01:00:00", NightSplit::NonFree, 0, "50", "50"},
        {"across 02:00", "01:30:00", "01:00:00", NightSplit::Mixed, 1800, "20", "10"},
        {"across 08:00", "07:30:00", "02:00:00", NightSplit::Mixed, 1800, "20", "15"},
        {"past midnight into the next window", "23:00:00", "04:00:00", NightSplit::Mixed, 3600, "8",
         "6"},
        {"the whole night and more", "01:00:00", "08:00:00", NightSplit::Mixed, 6 * 3600, "8", "2"},
        {"a third outside", "07:00:00", "01:30:00", NightSplit::Mixed, 3600, "1", "0.3333"},
        {"zero length inside", "05:00:00", "00:00:00", NightSplit::Free, 0, "3", "0"},
        {"zero length at 08:00", "08:00:00", "00:00:00", NightSplit::NonFree, 0, "3", "3"},
        {"unreadable time", "5 am", "01:00:00", NightSplit::NonFree, 0, "4", "4"},
        {"unreadable duration", "03:00:00", "an hour", NightSplit::NonFree, 0, "4", "4"},
        {"a time past the day", "27:00:00", "00:00:00", NightSplit::NonFree, 0, "4", "4"},
        {"a duration too long to count", "03:00:00", "90000000:00", NightSplit::NonFree, 0, "4",
         "4"},
        {"two days, both windows", "01:00:00", "48:00:00", NightSplit::Mixed, 12 * 3600, "4", "3"},
        // A ten-thousandth split in two halves goes to the even neighbour.
        {"tie to even down", "01:30:00", "01:00:00", NightSplit::Mixed, 1800, "0.0001", "0"},
        {"tie to even up", "01:30:00", "01:00:00", NightSplit::Mixed, 1800, "0.0003", "0.0002"},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        const NightSplit split = nightSplit(q(c.time), q(c.duration));
        EXPECT_EQ(split.kind, c.kind);
        EXPECT_EQ(split.nightSeconds, c.nightSeconds);
        const Megabytes total = Megabytes::fromText(q(c.total), QLocale::c());
        EXPECT_EQ(chargedPart(total, split), Megabytes::fromText(q(c.charged), QLocale::c()));
    }
}

TEST(SessionSeconds, ReadsThePortalsFormsAndRefusesTheRest) {
    const std::pair<const char*, int> cases[] = {
        {"01:02:03", 3723},
        {" 62:03 ", 3723},
        {"3723", 3723},
        {"+5", 5},
        {"1:2:3:4", -1},
        {"10::05", -1},
        {":05", -1},
        {"1e3", -1},
        {"", -1},
        {"9999999999", -1},
        {"596523:14:07", 2147483647},
        {"596523:14:08", -1},
        {"0000000001:00", 60},
    };
    for (const auto& [text, seconds] : cases) {
        EXPECT_EQ(sessionSeconds(q(text)), seconds) << text;
    }
}

// A: 03:00 for an hour, all night (free); B: midday (charged); C: 07:30 for an hour, half of
// it in the night (mixed, 10 of 20 charged); D: 01:00 for half an hour, before the window.
constexpr const char* kNightLog =
    "2013-04-17,03:00:00,01:00:00,60,40,100\n"
    "2013-04-17,12:00:00,01:00:00,25,25,50\n"
    "2013-04-18,07:30:00,01:00:00,10,10,20\n"
    "2013-04-18,01:00:00,00:30:00,5,2.5,7.5\n";

TEST(ReportPage, TheNightUnlimitedKindChartsTheFreePartAsFree) {
    // The listing gives the 18th first; its charged 17.5 MB is usage, C's night half free.
    Report night(kNightLog, PlanKind::NightUnlimited, true);
    EXPECT_EQ(chartDataText(night.state, false),
              q("\t18\t17\r\nUsage\t17.50\t50.00\r\nFree\t10.00\t100.00"));
    // The limited kind has no free usage to chart.
    Report limited(kNightLog, PlanKind::Limited, true);
    EXPECT_EQ(chartDataText(limited.state, false), q("\t18\t17\r\nUsage\t27.50\t150.00"));
}

TEST(ReportPage, UnlimitedPlanKindChartsUsageAsFree) {
    Report r("2013-04-17,23:00:00,00:10:00,0,0,2\n", PlanKind::Unlimited);
    // All usage counts as free, so the "Free" line carries it even while free usage is
    // excluded: the unlimited kind offers no choice, and its chart has nothing else to draw.
    ASSERT_TRUE(r.state.display.excludeFree);
    EXPECT_EQ(chartDataText(r.state, false), q("\t17\r\nUsage\t0.00\r\nFree\t2.00"));
    EXPECT_EQ(chartDataText(r.state, true), q("\t17\tAvg\r\nUsage\t0.00\t0\r\nFree\t2.00\t2"));
}

// Totals a hostile cache file can hold: a cell without a number, one the portal never writes
// (more digits than any month, a sign, a cell run together with the rest of the row) is
// refused, and records whose sum leaves the month's 32-bit total end in the "Overflow" failure
// of checked arithmetic; each shown, with no report. The failed report hands over what it found
// by then (the newest record's day is found before the totals) and leaves every other figure as
// the last report left it.
TEST(ReportPage, TotalsThatAreNoFigureOrBeyondTheRangeAreShownWithNoReport) {
    const QString overflow = recordsOf(
        "2013-04-17,a,b,c,d,999999999\n2013-04-17,a,b,c,d,999999999\n"
        "2013-04-17,a,b,c,d,999999999\n");
    const struct {
        const char* name;
        QString records;
        QString failure;
        QDate newest;
    } cases[] = {
        {"no number", recordsOf("2013-04-17,23:00:00,00:10:00,0,0,n/a\n"),
         q("Type mismatch: the Total (MB) field \"n/a\" is not a figure the portal writes"),
         QDate(2013, 4, 17)},
        {"more digits than any month",
         recordsOf("2013-04-17,a,b,c,d,123456789012345678901234567890123456\n"),
         q("Type mismatch: the Total (MB) field \"123456789012345678901234567890123456\" is not "
           "a figure the portal writes"),
         QDate(2013, 4, 17)},
        {"a sign", recordsOf("2013-04-17,a,b,c,d,-900000000000000\n"),
         q("Type mismatch: the Total (MB) field \"-900000000000000\" is not a figure the portal "
           "writes"),
         QDate(2013, 4, 17)},
        {"cells run together",
         q("<<TD>2026-11-01<TD><TD>/D<TD>><TD><TD>99920599999205999992059920599999205"),
         q("Type mismatch: the Total (MB) field \"99920599999205999992059920599999205\" is "
           "not a figure the portal writes"),
         QDate(2026, 11, 1)},
        {"a sum beyond 32 bits", overflow, q("Overflow"), QDate(2013, 4, 17)},
    };
    ReportOutcome earlier;
    earlier.mdtLastUsedDate = QDate(2013, 3, 31);
    earlier.totalUsage = 99;
    earlier.chargedUsage = 98;
    earlier.nightChargedUsage = 97;
    earlier.lastDayUsage = 9;
    earlier.averageCaption = q("7.00");
    earlier.dailyTotals = {{QDate(2013, 3, 31), Megabytes::fromWhole(9)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Report r(c.records, earlier);
        ASSERT_EQ(r.messages.messages.size(), 1u);
        EXPECT_EQ(r.messages.messages[0].text, c.failure);
        EXPECT_EQ(r.messages.messages[0].icon, MessageIcon::None);
        EXPECT_FALSE(r.host.busy);
        EXPECT_EQ(r.result.summaries, 0);
        const ReportOutcome now = r.result.outcome();
        EXPECT_EQ(now.mdtLastUsedDate, c.newest);
        EXPECT_EQ(std::tie(now.totalUsage, now.chargedUsage, now.nightChargedUsage,
                           now.lastDayUsage, now.averageCaption, now.dailyTotals),
                  std::tie(earlier.totalUsage, earlier.chargedUsage, earlier.nightChargedUsage,
                           earlier.lastDayUsage, earlier.averageCaption, earlier.dailyTotals));
    }
}

TEST(megabytesText, ShowsMegabytesAndFromOneGigabyteOnAlsoGigabytes) {
    const std::pair<const char*, const char*> cases[] = {
        {"0", "0 MB"},
        {"1023.5", "1023.5 MB"},
        {"1024", "1024 MB<BR>1.00 GB"},
        {"2048", "2048 MB<BR>2.00 GB"},
        {"1048576", "1048576 MB<BR>1024.00 GB"},  // stays shown at a terabyte and beyond
        {"5000000.1234", "5000000.1234 MB<BR>4882.81 GB"}};
    for (auto [mb, text] : cases) {
        EXPECT_EQ(megabytesText(Megabytes::fromText(q(mb))), q(text)) << mb;
    }
}

TEST(colorToHTML, WritesRedGreenBlue) {
    EXPECT_EQ(colorToHTML(0), q("#000000"));
    EXPECT_EQ(colorToHTML(RGB(0x40, 0x80, 0xC0)), q("#4080C0"));
    // A system colour is shown as the colour it stands for, not as its number.
    const QColor window = toQColor(0x80000005u);
    EXPECT_EQ(colorToHTML(0x80000005u), window.name().toUpper());
}
