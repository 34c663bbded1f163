// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The report page built straight from the program's own row text against the way through the
// documents: for every input the same page, the same figures and the same failures, and the
// direct way taken exactly where the rows are own row text.

#include "retrieval/report_page.h"

#include "support/qt_printers.h"

#include "platform/dialogs.h"
#include "platform/html_document.h"
#include "retrieval/headless.h"
#include "retrieval/row_text.h"
#include "retrieval/usage_log.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <span>

using namespace kestrova;

namespace {

using kestrova::test::q;

QString row(const QStringList& fields) {
    return RowText(fields);
}

// Records as ParseUsageFile collects them from a log (header line added).
QString fromLog(const char* lines) {
    return readUsageLogRecords(q("Date,Time,Duration,Download (MB),Upload (MB),Total (MB)\r\n") +
                               q(lines))
        .records;
}

struct Case {
    const char* name;
    QString records;
    bool direct;  // whether the direct way takes it
};

std::vector<Case> cases() {
    const QString nbsp = QString(QChar(0xA0));
    return {
        {"empty", QString(), true},
        {"one record", row({q("2013-04-17"), q("10:00:00"), q("00:10:00"), q("1"), q("2"), q("3")}),
         true},
        {"a downloaded month, newest first, CR LF",
         fromLog("2013-04-18,10:00:00,00:10:00,0,0,700.5\r\n"
                 "2013-04-18,09:00:00,00:10:00,0,0,400\r\n"
                 "2013-04-17,23:00:00,00:10:00,0,0,1\r\n"
                 "2013-04-16,23:00:00,00:10:00,0,0,2\r\n"
                 "2013-04-16,22:00:00,00:10:00,0,0,3.00005\r\n"),
         true},
        {"one day of several records",
         fromLog("2013-04-17,23:00:00,00:10:00,0,0,1.25\n2013-04-17,12:00:00,00:10:00,0,0,2\n"
                 "2013-04-17,08:00:00,00:10:00,0,0,3\n"),
         true},
        {"records out of order",
         fromLog("2013-04-17,01:00:00,1,1,1,0.5\n2013-04-18,01:00:00,1,1,1,"
                 "1.5\n2013-04-17,02:00:00,1,1,1,2.5\n2013-04-17,03:00:00,"
                 "1,1,1,3.5\n"),
         true},
        {"escaped fields and mark-up in them",
         row({q("2013-04-17"), q("AT&T <b>x</b>"), q("\"q\" 'r'"), q("a > b & c < d"),
              q("&amp; &#38;"), q("5")}),
         true},
        {"references and text beyond Latin-1",
         row({q("2013-04-17"), q("€ 5 日本 😀"), nbsp + q("x") + nbsp, q("ünïcödé"), q("\u00ff"),
              q("1")}),
         true},
        {"white space to collapse and CR LF inside fields",
         row({q(" 2013-04-17\t 10:00 "), q("a\r\nb\rc"), q("  "), q("\t"), q(""), q(" 12.5 \r")}),
         true},
        {"a date followed by a time",
         row({q("2013-04-17 23:59"), q("x"), q("y"), q("1"), q("1"), q("100")}) +
             row({q("2013-04-17 00:01"), q("x"), q("y"), q("1"), q("1"), q("0.5")}),
         true},
        {"rows that are no records among the records",
         fromLog("Date,Time,Duration,Download (MB),Upload (MB),Total (MB)\n"
                 "2013-04-18,1,1,1,1,1\nsubtotal,,,,,9\n2013-04-17,1,1,1,1,2\n"),
         true},
        {"gigabytes in a daily total",
         fromLog("2013-04-18,1,1,1,1,1023.9999\n2013-04-18,1,1,1,1,0.0001\n"
                 "2013-04-17,1,1,1,1,5000000.1234\n"),
         true},
        {"a field with a control character",
         row({q("2013-04-17"), q("a\x01z"), q("x"), q("1"), q("1"), q("1")}), false},
        {"a field with a lone surrogate",
         row({q("2013-04-17"), QString(QChar(0xD800)), q("x"), q("1"), q("1"), q("1")}), false},
        {"an impossible date", row({q("2013-02-30"), q("x"), q("y"), q("1"), q("1"), q("1")}),
         false},
        {"a total that is no number",
         row({q("2013-04-17"), q("x"), q("y"), q("1"), q("1"), q("n/a")}), false},
        {"a day's total beyond a 32-bit number (the page is left half done)",
         row({q("2013-04-17"), q("x"), q("y"), q("1"), q("1"), q("-3000000000")}) +
             row({q("2013-04-18"), q("x"), q("y"), q("1"), q("1"), q("3000000000")}),
         false},
        {"a month beyond a 32-bit number",
         row({q("2013-04-17"), q("x"), q("y"), q("1"), q("1"), q("3000000000")}), false},
        {"written before fields were escaped",
         q("<TR><TD>2013-04-17</TD><TD>AT&T 10:00</TD><TD>a < b</TD><TD>1</TD><TD>1</TD>"
           "<TD>2</TD></TR>"),
         false},
        {"lower-case tags",
         q("<tr><td>2013-04-17</td><td>1</td><td>1</td><td>1</td><td>1</td><td>2</td></tr>"),
         false},
        {"white space between rows",
         row({q("2013-04-17"), q("1"), q("1"), q("1"), q("1"), q("2")}) + q("\r\n") +
             row({q("2013-04-16"), q("1"), q("1"), q("1"), q("1"), q("3")}),
         false},
        {"mark-up in a cell",
         q("<TR><TD>2013-04-17</TD><TD><b>1</b></TD><TD>1</TD><TD>1</TD><TD>1</TD><TD>2</TD>"
           "</TR>"),
         false},
        {"a seventh cell",
         q("<TR><TD>2013-04-17</TD><TD>1</TD><TD>1</TD><TD>1</TD><TD>1</TD><TD>2</TD><TD>7</TD>"
           "</TR>"),
         false},
        {"a reference RowText does not write",
         row({q("2013-04-17"), q("x"), q("y"), q("1"), q("1"), q("2")})
             .replace(q("<TD>x</TD>"), q("<TD>&#120;&apos;</TD>")),
         false},
        {"a row cut short",
         row({q("2013-04-17"), q("x"), q("y"), q("1"), q("1"), q("2")}).chopped(3), false},
        {"a row without records", q("<TR>old</TR>"), false},
    };
}

struct Settings {
    const char* name;
    int planKind = kLimitedPlan;
    bool excludeFree = true;
    bool excludeNonFree = false;
};

const Settings kSettings[] = {{"limited plan"},
                              {"night unlimited, free shown", kNightUnlimitedPlan, false, false},
                              {"unlimited", kUnlimitedPlan, true, false},
                              {"non-free excluded", kLimitedPlan, true, true}};

struct Outcome {
    QString page;
    QStringList messages;
    int records = 0;
    std::int64_t monthSumMB = 0;
    int days = 0;
    QString averageFigure;
    QDate lastUsed;
    std::int32_t total = 0;
    std::int32_t charged = 0;
    std::int32_t nightCharged = 0;
    Megabytes chargedMB;
    Megabytes freeMB;
    Megabytes nightChargedMB;
    int mixedRecords = 0;
    std::int32_t lastDay = 0;
    QString averageCaption;
    QString graphData;
    QString graphDataWithAverage;
    int summaries = 0;
    int chartUpdates = 0;
    bool rowsInSkeleton = false;
};

// Builds the report of `records` and, with `rebuilds`, builds it again as an option change
// does; `markup` hands the page over as text instead of a document.
Outcome build(const QString& records, const Settings& settings, bool direct, bool markup,
              int rebuilds = 0) {
    RecordingDialogs messages;
    ScopedDialogs seam(messages);
    RetrievalState state;
    state.mstrRecords = records;
    state.mstrMonthYear = q("<i>April</i> & \"co\" 2013");
    state.planKind = settings.planKind;
    state.display.mblnExcludeFree = settings.excludeFree;
    state.display.mblnExcludeNonFree = settings.excludeNonFree;
    state.display.mlngColorBackMixed = 0x123456;
    HeadlessHost host;
    HeadlessResult result;
    result.markupOnly = markup;
    ReportBuilder report(state, host, result);
    report.setDirectRows(direct);
    report.GrabbingFinished();
    for (int i = 0; i <= rebuilds; ++i) {
        report.WriteOutput();
    }
    Outcome o;
    o.page = result.pageMarkup();
    o.messages = messages.texts();
    o.records = report.figures().records;
    o.monthSumMB = report.figures().monthSumMB;
    o.days = report.figures().days;
    o.averageFigure = report.figures().averageCaption;
    o.lastUsed = result.outcome().mdtLastUsedDate;
    o.total = result.outcome().mlngTotalUsage;
    o.charged = result.outcome().mlngChargedUsage;
    o.nightCharged = result.outcome().nightChargedUsage;
    o.chargedMB = report.figures().chargedMB;
    o.freeMB = report.figures().freeMB;
    o.nightChargedMB = report.figures().nightChargedMB;
    o.mixedRecords = report.figures().mixedRecords;
    o.lastDay = result.outcome().mlngLastDayUsage;
    o.averageCaption = result.outcome().averageCaption;
    o.graphData = state.mstrGraphData;
    o.graphDataWithAverage = state.mstrGraphDataWithAverage;
    o.summaries = result.summaries;
    o.chartUpdates = result.chartUpdates;
    o.rowsInSkeleton = host.temp.elementsByTagName(q("table")).item(1)->rowCount() > 2;
    return o;
}

void expectSame(const Outcome& direct, const Outcome& documents) {
    EXPECT_EQ(direct.page, documents.page);
    EXPECT_EQ(direct.messages, documents.messages);
    EXPECT_EQ(direct.records, documents.records);
    EXPECT_EQ(direct.monthSumMB, documents.monthSumMB);
    EXPECT_EQ(direct.days, documents.days);
    EXPECT_EQ(direct.averageFigure, documents.averageFigure);
    EXPECT_EQ(direct.lastUsed, documents.lastUsed);
    EXPECT_EQ(direct.total, documents.total);
    EXPECT_EQ(direct.charged, documents.charged);
    EXPECT_EQ(direct.nightCharged, documents.nightCharged);
    EXPECT_EQ(direct.chargedMB, documents.chargedMB);
    EXPECT_EQ(direct.freeMB, documents.freeMB);
    EXPECT_EQ(direct.nightChargedMB, documents.nightChargedMB);
    EXPECT_EQ(direct.mixedRecords, documents.mixedRecords);
    EXPECT_EQ(direct.lastDay, documents.lastDay);
    EXPECT_EQ(direct.averageCaption, documents.averageCaption);
    EXPECT_EQ(direct.graphData, documents.graphData);
    EXPECT_EQ(direct.graphDataWithAverage, documents.graphDataWithAverage);
    EXPECT_EQ(direct.summaries, documents.summaries);
    EXPECT_EQ(direct.chartUpdates, documents.chartUpdates);
}

class ScopedLocale {
public:
    explicit ScopedLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~ScopedLocale() { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};

}  // namespace

TEST(ReportWays, TheDirectWayGivesThePageFiguresAndFailuresOfTheDocuments) {
    const QLocale locales[] = {QLocale(QLocale::English, QLocale::UnitedStates),
                               QLocale(QLocale::German, QLocale::Germany),
                               QLocale(QLocale::Arabic, QLocale::Egypt)};
    for (const QLocale& locale : locales) {
        ScopedLocale scoped(locale);
        // Every setting in one locale; the others only change how numbers are written.
        const std::span<const Settings> settings(kSettings, &locale == locales ? 4 : 1);
        for (const Case& c : cases()) {
            for (const Settings& s : settings) {
                SCOPED_TRACE(locale.name().toStdString() + ", " + c.name + ", " + s.name);
                Outcome direct[2];
                for (bool markup : {false, true}) {
                    const Outcome documents = build(c.records, s, false, markup);
                    direct[markup] = build(c.records, s, true, markup);
                    expectSame(direct[markup], documents);
                    EXPECT_EQ(direct[markup].rowsInSkeleton, !c.direct && !c.records.isEmpty());
                }
                // The same page whichever way it is handed over, when there is one.
                if (direct[0].messages.isEmpty()) {
                    EXPECT_EQ(direct[1].page, direct[0].page);
                }
            }
        }
    }
}

TEST(ReportWays, ARebuildGivesTheSamePageEitherWay) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        const Outcome documents = build(c.records, kSettings[1], false, false, 2);
        const Outcome direct = build(c.records, kSettings[1], true, false, 2);
        expectSame(direct, documents);
        EXPECT_EQ(direct.summaries, documents.messages.isEmpty() ? 3 : 0);
    }
}

TEST(ReportWays, TheSkeletonOfOwnRowTextLeavesTheRowsAside) {
    const Case c = cases()[2];
    RecordingDialogs messages;
    ScopedDialogs seam(messages);
    RetrievalState state;
    state.mstrRecords = c.records;
    HeadlessHost host;
    HeadlessResult result;
    ReportBuilder report(state, host, result);
    report.GrabbingFinished();
    // The skeleton keeps the template (both tables, the headings) without the records...
    ElementPtr listing = host.temp.elementsByTagName(q("table")).item(1);
    EXPECT_EQ(listing->rowCount(), 2);
    EXPECT_EQ(host.temp.elementsByTagName(q("table")).count(), 2);
    EXPECT_TRUE(host.timerEnabled);
    // ...and a later change of the records does not reach the report of this grab.
    state.mstrRecords.clear();
    report.WriteOutput();
    EXPECT_EQ(report.figures().records, 5);
    EXPECT_EQ(result.report.elementsByTagName(q("table")).item(1)->rowCount(), 2 + 5);
}

// Own row text read back without a document gives what a document makes of the same row:
// every field of a row RowText wrote, from random characters of the kinds that matter.
TEST(OwnRowText, ReadsFieldsAsADocumentDoes) {
    // Mostly characters a parser keeps (some of them escaped by RowText), now and then one it
    // would change or that RowText writes as a reference a parser does not keep as it is.
    const QString kept = q("a7  \t\n\r&<>\"';#\u00a0\u00e9\u00ff\u20ac\u65e5") + q("😀");
    const char16_t changed[] = {0x01, 0x0C, 0x7F, 0x85, 0xD83D, 0xDE00, 0xFFFE, 0};
    QRandomGenerator random(18);
    int own = 0;
    for (int n = 0; n < 2000; ++n) {
        QStringList fields;
        for (int f = 0; f < 6; ++f) {
            QString field;
            const int length = int(random.bounded(8));
            for (int k = 0; k < length; ++k) {
                if (random.bounded(60) == 0) {
                    field += QChar(changed[random.bounded(int(std::size(changed)))]);
                    continue;
                }
                const int at = int(random.bounded(int(kept.size())));
                field += QChar::isSurrogate(kept[at].unicode())
                             ? kept.mid(kept[at].isHighSurrogate() ? at : at - 1, 2)
                             : QString(kept[at]);
            }
            fields << field;
        }
        const QString text = RowText(fields);
        OwnRowText rows(text);
        OwnRowText::Fields read;
        const bool accepted = rows.next(read);
        ASSERT_EQ(accepted, isOwnRowText(text));
        if (!accepted) {
            EXPECT_TRUE(rows.failed());
            continue;
        }
        ++own;
        EXPECT_FALSE(rows.next(read));
        EXPECT_FALSE(rows.failed());
        const HtmlDocument doc(q("<html><head></head><body><table><tbody>") + text +
                               q("</tbody></table></body></html>"));
        ElementPtr tr = doc.elementsByTagName(q("tr")).item(0);
        for (int f = 0; f < 6; ++f) {
            SCOPED_TRACE(text.toStdString());
            QString scratch;
            EXPECT_EQ(cellTextOf(read[std::size_t(f)], scratch).toString(),
                      tr->cell(f)->innerText());
            QString markup(read[std::size_t(f)].size(), QChar());
            char16_t* end =
                writeCellMarkup(reinterpret_cast<char16_t*>(markup.data()), read[std::size_t(f)]);
            markup.resize(end - reinterpret_cast<char16_t*>(markup.data()));
            EXPECT_EQ(markup, tr->cell(f)->innerHTML());
        }
    }
    // Both kinds of rows were met.
    EXPECT_GT(own, 600);
    EXPECT_LT(own, 1900);
}

TEST(OwnRowText, TellsOwnRowTextFromOtherText) {
    const std::pair<QString, bool> texts[] = {
        {QString(), true},
        {row({q("a"), q("b"), q("c"), q("d"), q("e"), q("f")}), true},
        {row({q("a&b"), q("€"), q("x\ty"), q("1\r"), q(""), q("'\"")}), true},
        {row({q("a"), q("b"), q("c"), q("d"), q("e"), q("f")}).repeated(3), true},
        {q("<TR><TD>a</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD></TR>"), false},
        {q("<TR><TD>a</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>f</TD></TR> "), false},
        {q("<TR><TD>a&b</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>f</TD></TR>"), false},
        {q("<TR><TD>&#0233;</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>f</TD></TR>"), false},
        {q("<TR><TD>&#233;</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>f</TD></TR>"), false},
        {q("<TR><TD>&#x20AC;</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>f</TD></TR>"), false},
        {q("<TR><TD>é</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>f</TD></TR>"), true},
        {q("<TR><TD>€</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>f</TD></TR>"), false},
        {q("<TR><TD>a</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>f"), false},
    };
    for (const auto& [text, own] : texts) {
        EXPECT_EQ(isOwnRowText(text), own) << text.toStdString();
    }
}

// readUsageLogRecords collects what parseUsageLog's rows put in front of each other give.
TEST(UsageLogRecords, AreTheRowsInFrontOfEachOther) {
    const char* logs[] = {
        "h\n",
        "h",
        "",
        "h\r\nA,1,1,1,1,1\r\nB,2,2,2,2,2\r\n",
        "h\nA,1,1,1,1,1\n\n   \n \r\nB,2,2,2,2,2,extra,fields",
        "h\n  2013-04-01,1,1,1,1,1  \n2012-01-31,x,y,1,1,1\nnot a date,1,1,1,1,1\n",
        "h\nA,1,1,1,1,1\nshort,line\nB,2,2,2,2,2\n",
        "h\n<b>,&amp;,\"q\",'s',€,日本\n€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€,1,1,1,1,1\n",
    };
    for (const char* text : logs) {
        SCOPED_TRACE(text);
        const ParsedUsageLog parsed = parseUsageLog(q(text));
        const UsageLogRecords records = readUsageLogRecords(q(text));
        QString expected;
        for (auto it = parsed.records.crbegin(); it != parsed.records.crend(); ++it) {
            expected += it->rowText();
        }
        EXPECT_EQ(records.records, expected);
        EXPECT_EQ(records.count, int(parsed.records.size()));
        EXPECT_EQ(records.earliest, parsed.earliest);
        EXPECT_EQ(records.latest, parsed.latest);
        EXPECT_EQ(records.badLine, parsed.badLine);
        EXPECT_EQ(records.badLineText, parsed.badLineText);
    }
}

TEST(UsageLogRecords, FieldsThatGrowWhenEscapedStillFit) {
    // Every field escapes to several times its length: more than the room made for a log.
    QString text = q("h\n");
    for (int i = 0; i < 2000; ++i) {
        text += q("&&&&&&&&,<<<<<<<<,>>>>>>>>,\"\"\"\"\"\"\"\",''''''''',€€€€€€€€\n");
    }
    const ParsedUsageLog parsed = parseUsageLog(text);
    const UsageLogRecords records = readUsageLogRecords(text);
    EXPECT_EQ(records.count, 2000);
    EXPECT_EQ(records.records, parsed.records.front().rowText().repeated(2000));  // all alike
    EXPECT_TRUE(isOwnRowText(records.records));
}
