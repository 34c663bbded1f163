// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The report view on the real browser engine: pages beyond setHtml's 2 MB limit, script,
// plugins and every outside request off, and the result window's report as it is rendered.
// Slow to start (the engine), so only these few; labelled e2e.

#include "support/month_on_screen.h"

#include "platform/dialogs.h"
#include "results/window/report_tab.h"
#include "results/window/web_report_view.h"
#include "sample_log.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <atomic>
#include <thread>

namespace kestrova::testing {
namespace {

using namespace std::chrono_literals;

// Counts every request that reaches it, on 127.0.0.1.
class CountingServer {
public:
    CountingServer() {
        m_server.Get(R"(.*)", [this](const httplib::Request&, httplib::Response& res) {
            ++m_hits;
            res.set_content("body { background: red; }", "text/css");
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        EXPECT_TRUE(QTest::qWaitFor([this] { return m_server.is_running(); }, 10000))
            << "the counting server did not start";
    }
    ~CountingServer() {
        m_server.stop();
        m_thread.join();
    }
    QString url(const char* path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(QLatin1String(path));
    }
    int hits() const { return m_hits; }

private:
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
    std::atomic<int> m_hits{0};
};

QString plainTextOf(WebReportView& view) {
    QString text;
    bool done = false;
    view.page()->toPlainText([&](const QString& t) {
        text = t;
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 30000));
    return text;
}

bool waitShown(QSignalSpy& shown) {
    if (shown.isEmpty() && !shown.wait(60000)) {
        return false;
    }
    return shown.takeLast().at(0).toBool();
}

TEST(WebReportView, ShowsAPageLargerThanTwoMegabytesWhole) {
    WebReportView view;
    view.resize(640, 480);
    view.show();
    QString rows;
    for (int i = 0; i < 40000; ++i) {
        rows += QStringLiteral("<tr><td>2026-11-%1</td><td>row %2 of the month</td></tr>")
                    .arg(i % 28 + 1, 2, 10, QChar(u'0'))
                    .arg(i);
    }
    const QString page = QStringLiteral("<html><head><title>big</title></head><body><table>") +
                         rows + QStringLiteral("</table><p>END-OF-REPORT</p></body></html>");
    ASSERT_GT(page.toUtf8().size(), 2 * 1024 * 1024);
    QSignalSpy shown(&view, &ReportView::pageShown);
    view.showPage(page);
    ASSERT_TRUE(waitShown(shown));
    const QString text = plainTextOf(view);
    EXPECT_TRUE(text.contains(QStringLiteral("row 39999 of the month")));
    EXPECT_TRUE(text.trimmed().endsWith(QStringLiteral("END-OF-REPORT")));
    EXPECT_EQ(view.shownPage(), page);
}

TEST(WebReportView, ShowsALargeReportInPartsAndMovesBetweenThem) {
    RecordingDialogs messages;
    ScopedDialogs seam(messages);
    SampleLogOptions options;
    options.records = 2400;
    const QString log = makeSampleUsageLog(options);
    const QString oldestDay = log.section(u'\n', -2, -2).left(10);
    RetrievalState state;
    state.monthYear = QStringLiteral("2026-11");
    state.records = UsageRecords(readUsageLogRecords(log).records);
    HeadlessHost host;
    HeadlessResult result;
    ReportBuilder report(state, host, result);
    report.grabbingFinished();
    report.writeOutput();
    const QString page = result.pageMarkup();

    WebReportView view;
    view.setRecordsPerPart(1000);
    view.resize(800, 600);
    view.show();
    auto* bar = view.findChild<QWidget*>(QStringLiteral("partBar"));
    auto* label = view.findChild<QLabel*>(QStringLiteral("lblPart"));
    auto* next = view.findChild<QPushButton*>(QStringLiteral("cmdNextPart"));
    auto* previous = view.findChild<QPushButton*>(QStringLiteral("cmdPreviousPart"));
    ASSERT_TRUE(bar && label && next && previous);
    QSignalSpy shown(&view, &ReportView::pageShown);
    view.showPage(page);
    ASSERT_TRUE(waitShown(shown));
    EXPECT_EQ(view.shownPage(), page);  // the page kept (and saved) is the whole one
    ASSERT_GE(view.partCount(), 2);
    EXPECT_EQ(view.currentPart(), 0);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(label->text().startsWith(QStringLiteral("Records 1 to ")));
    EXPECT_FALSE(previous->isEnabled());
    QString text = plainTextOf(view);
    EXPECT_TRUE(text.contains(QStringLiteral("Bandwidth usage summary for 2026-11")));
    EXPECT_TRUE(text.contains(QStringLiteral("2026-11-30")));
    EXPECT_FALSE(text.contains(oldestDay));

    QTest::mouseClick(next, Qt::LeftButton);
    ASSERT_TRUE(waitShown(shown));
    EXPECT_EQ(view.currentPart(), 1);
    EXPECT_TRUE(previous->isEnabled());
    text = plainTextOf(view);
    EXPECT_TRUE(text.contains(QStringLiteral("Daily Total")));
    EXPECT_FALSE(text.contains(QStringLiteral("2026-11-30")));

    view.showPart(view.partCount() - 1);
    ASSERT_TRUE(waitShown(shown));
    EXPECT_FALSE(next->isEnabled());
    EXPECT_TRUE(plainTextOf(view).contains(oldestDay));
    EXPECT_TRUE(label->text().contains(QStringLiteral("of 2,400")));

    // A small page again: shown whole, no bar.
    view.showPage(QStringLiteral("<html><body><p>small</p></body></html>"));
    ASSERT_TRUE(waitShown(shown));
    EXPECT_EQ(view.partCount(), 1);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(plainTextOf(view).trimmed(), QStringLiteral("small"));
}

TEST(WebReportView, RunsNoScriptAndLoadsNothingFromOutside) {
    CountingServer server;
    WebReportView view;
    view.resize(640, 480);
    view.show();
    const QWebEngineSettings* s = view.page()->settings();
    EXPECT_FALSE(s->testAttribute(QWebEngineSettings::JavascriptEnabled));
    EXPECT_FALSE(s->testAttribute(QWebEngineSettings::PluginsEnabled));
    EXPECT_FALSE(s->testAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls));

    const QString page =
        QStringLiteral(
            "<html><head><title>report</title><link rel=\"stylesheet\" href=\"%1\">"
            "<script>document.title = 'script ran';</script></head><body>"
            "<img src=\"%2\"><iframe src=\"%3\"></iframe><object data=\"%4\"></object>"
            "<p>text</p></body></html>")
            .arg(server.url("/sheet.css"), server.url("/image.png"), server.url("/frame"),
                 server.url("/plugin.swf"));
    QSignalSpy shown(&view, &ReportView::pageShown);
    view.showPage(page);
    // Shown means the engine's load event: every style sheet, image, frame and object the page
    // could fetch has been asked for by then.
    ASSERT_TRUE(waitShown(shown));
    EXPECT_EQ(view.page()->title(), QStringLiteral("report"));
    EXPECT_EQ(server.hits(), 0);
    EXPECT_EQ(plainTextOf(view).trimmed(), QStringLiteral("text"));
    // A later page gets an address of its own; the earlier one is no longer served.
    const QUrl first = view.pageUrl();
    view.showPage(QStringLiteral("<html><body><p>second</p></body></html>"));
    ASSERT_TRUE(waitShown(shown));
    EXPECT_NE(view.pageUrl(), first);
    EXPECT_EQ(plainTextOf(view).trimmed(), QStringLiteral("second"));
}

}  // namespace
}  // namespace kestrova::testing
