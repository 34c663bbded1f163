// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/report_export.h"
#include "platform/failure.h"
#include "platform/html_document.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace kestrova;

namespace {

// A page shaped like the shown report: the summary table, then the detail listing with its
// title row, the seven headings and one row per record (the first of a day with its total).
QString reportPage(const QString& rows) {
    QString headings;
    for (const char16_t* h :
         {u"Date", u"Time", u"Duration", u"Download (MB)", u"Upload (MB)", u"Total (MB)",
          u"&nbsp;&nbsp;&nbsp;&nbsp;Daily Total&nbsp;&nbsp;&nbsp;&nbsp;"}) {
        headings +=
            QStringLiteral("<td style=\"color: rgb(255, 255, 255); text-align: center;\">") +
            QString::fromUtf16(h) + QStringLiteral("</td>      ");
    }
    return QStringLiteral(
               "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"><html><head>"
               "<title>ORVO BroadBand Bandwidth Usage</title></head><body>"
               "<table border=\"1\"><tbody><tr><td colspan=\"3\">Bandwidth usage summary for "
               "April 2013<BR></td></tr><tr><td>MegaByte</td><td>GigaByte</td></tr>"
               "<tr><td>12.000</td><td>0.012</td></tr></tbody></table><br>"
               "<table border=\"1\"><tbody><tr><td colspan=\"12\">Detail listing&nbsp;for "
               "April 2013<BR></td></tr><tr>") +
           headings + QStringLiteral("</tr>") + rows +
           QStringLiteral("  </tbody></table><br></body></html>");
}

QString record(const QStringList& cells, const QString& dailyTotal = QString()) {
    QString row = QStringLiteral("<tr usagetype=\"nonfree\" class=\"nonfree\">");
    for (const QString& c : cells) {
        row += QStringLiteral("<td>") + c + QStringLiteral("</td>");
    }
    if (!dailyTotal.isEmpty()) {
        row += QStringLiteral("<td rowspan=\"2\" align=\"middle\" class=\"dailytotal\"><B><u>") +
               dailyTotal + QStringLiteral("</u></B><BR></td>");
    }
    return row + QStringLiteral("</tr>");
}

const QString kHeadingLine =
    QStringLiteral("Date, Time, Duration, Download (MB), Upload (MB), Total (MB)\r\n");

QString exported(const QString& rows) {
    return exportText(HtmlDocument(reportPage(rows)));
}

TEST(ExportText, AReportWithoutRecordsExportsTheHeadingsOnly) {
    EXPECT_EQ(exported(QString()), kHeadingLine);
}

TEST(ExportText, SeparatorsFollowTheLineSoFar) {
    const QString rows = record({{}, {}, QStringLiteral("x"), {}, QStringLiteral("y"), {}});
    EXPECT_EQ(exported(rows), kHeadingLine + QStringLiteral("x, , y, \r\n"));
}

struct QuotedCell {
    const char* name;
    const char16_t* html;
    const char16_t* csv;
};

void PrintTo(const QuotedCell& c, std::ostream* os) {
    *os << c.name;
}

class ExportQuoting : public ::testing::TestWithParam<QuotedCell> {};

TEST_P(ExportQuoting, KeepsACellInOneColumn) {
    const QuotedCell& c = GetParam();
    const QString rows =
        record({QStringLiteral("2013-04-02"), QString::fromUtf16(c.html), QStringLiteral("a"),
                QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")});
    EXPECT_EQ(exported(rows), kHeadingLine + QStringLiteral("2013-04-02, ") +
                                  QString::fromUtf16(c.csv) + QStringLiteral(", a, b, c, d\r\n"));
}

const QuotedCell kQuotedCells[] = {
    {"Comma", u"1,5", u"\"1,5\""},
    {"LineBreak", u"one<br>two", u"\"one\ntwo\""},
};

INSTANTIATE_TEST_SUITE_P(Cells, ExportQuoting, ::testing::ValuesIn(kQuotedCells),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ExportText, APageWithoutTheListingOrWithAShortRowFails) {
    EXPECT_THROW(exportText(HtmlDocument(QStringLiteral("<table><tr><td>x</td></tr></table>"))),
                 Failure);
    EXPECT_THROW(exported(record({QStringLiteral("2013-04-02"), QStringLiteral("10:00")})),
                 Failure);
}

TEST(ReportFileText, IsThePageAsShownWithItsStyleRules) {
    HtmlDocument page(reportPage(QString()));
    page.createStyleSheet()->addRule(QStringLiteral(".free"), QStringLiteral("color:#FF0000;"));
    const QString text = reportFileText(page);
    EXPECT_TRUE(text.startsWith(QStringLiteral("<html"), Qt::CaseInsensitive));
    EXPECT_TRUE(text.contains(QStringLiteral("color:#FF0000")));
    EXPECT_EQ(text, page.outerHTML());
}

TEST(askSaveFileName, AppendsTheExtensionUnlessTheNameHoldsItAnywhere) {
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("/tmp/report"), QStringLiteral("/tmp/report.csv")},
        {QStringLiteral("/tmp/report.csv"), QStringLiteral("/tmp/report.csv")},
        {QStringLiteral("/tmp/report.csv.bak"), QStringLiteral("/tmp/report.csv.bak")},
        {QStringLiteral("/tmp/report.CSV"), QStringLiteral("/tmp/report.CSV.csv")},
        {QStringLiteral("/tmp/april.txt"), QStringLiteral("/tmp/april.txt.csv")},
        {QStringLiteral("/tmp/a") + QChar(u'\0') + QStringLiteral("junk"),
         QStringLiteral("/tmp/a.csv")},
    };
    for (const auto& [chosen, expected] : rows) {
        EXPECT_EQ(withExtension(chosen, QStringLiteral("csv")), expected);
    }
}

TEST(askSaveFileName, AsksWithTheFixedTitleAndFilter) {
    RecordingDialogs recorder;
    ScopedDialogs scope(recorder);
    recorder.fileNames = {QStringLiteral("/tmp/out"), std::nullopt};
    EXPECT_EQ(askSaveFileName(QString(), QString(), QStringLiteral("htm")),
              QStringLiteral("/tmp/out.htm"));
    EXPECT_EQ(askSaveFileName(QStringLiteral("/tmp"), QStringLiteral("x"), QStringLiteral("csv")),
              QString());
    ASSERT_EQ(recorder.saveRequests.size(), 2u);
    EXPECT_EQ(recorder.saveRequests[0].title, QStringLiteral("Enter Filename to save"));
    EXPECT_EQ(recorder.saveRequests[0].filter, QStringLiteral("Output file (*.htm)"));
    EXPECT_EQ(recorder.saveRequests[1].filter, QStringLiteral("Output file (*.csv)"));
    EXPECT_EQ(recorder.saveRequests[1].initialDirectory, QStringLiteral("/tmp"));
    EXPECT_EQ(recorder.saveRequests[1].defaultName, QStringLiteral("x"));
}

TEST(askSaveFileName, SuggestsANameFromTheReportsMonth) {
    const std::tuple<QDate, const char*, const char*> rows[] = {
        {QDate(2026, 11, 30), "htm", "usage-2026-11.htm"},
        {QDate(2026, 1, 3), "csv", "usage-2026-01.csv"},
        {QDate(), "htm", "usage.htm"},
    };
    for (const auto& [date, ext, expected] : rows) {
        EXPECT_EQ(suggestedFileName(date, QString::fromLatin1(ext)), QString::fromLatin1(expected));
    }
}

}  // namespace
