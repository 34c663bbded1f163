// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The simulated portal every end-to-end test stands on: served in-process and read with
// cpp-httplib's client, it takes a log-in, leads to the usage view, offers the download and the
// page-by-page table, and its fault switches do what the end-to-end tests drive them for. As a
// program it names its port and stops cleanly.

#include "portal_pages.h"
#include "portal_server.h"

#include "platform/html_document.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <QProcess>
#include <QRegularExpression>
#include <QString>

#include <chrono>
#include <csignal>
#include <functional>

namespace kestrova::portal {
namespace {

using namespace std::chrono;

Date ymd(int y, unsigned m, unsigned d) {
    return Date{year(y), month(m), day(d)};
}

const Date kToday = ymd(2013, 4, 17);

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

class Portal {
public:
    explicit Portal(PortalOptions options = {}) {
        if (!options.today) {
            options.today = kToday;
        }
        m_server = std::make_unique<PortalServer>(std::move(options));
        m_client = std::make_unique<httplib::Client>("127.0.0.1", m_server->start());
        m_client->set_read_timeout(10, 0);
    }

    // The session cookie of a successful log-in ("PortalSession=..."); empty when refused.
    std::string sessionFor(const std::string& user = "demo", const std::string& password = "demo") {
        const httplib::Result res = m_client->Post(
            "/login", httplib::Params{{"logonuidfield", user}, {"logonpassfield", password}});
        if (!res || res->status != 303) {
            return {};
        }
        const std::string cookie = res->get_header_value("Set-Cookie");
        return cookie.substr(0, cookie.find(';'));
    }

    httplib::Result get(const std::string& path, const std::string& session) {
        httplib::Headers headers;
        if (!session.empty()) {
            headers.emplace("Cookie", session);
        }
        return m_client->Get(path.c_str(), headers);
    }

    std::string body(const std::string& path, const std::string& session) {
        const httplib::Result res = get(path, session);
        return res ? res->body : std::string();
    }

private:
    std::unique_ptr<PortalServer> m_server;
    std::unique_ptr<httplib::Client> m_client;
};

bool isLoginPage(const std::string& html) {
    return html.find("id=\"logonuidfield\"") != std::string::npos &&
           html.find("id=\"uidPasswordLogon\"") != std::string::npos;
}

std::string detailsPath(const char* from, const char* to) {
    // from and to as "DD MM YYYY".
    const auto parts = [](const char* date) {
        const std::string s(date);
        return std::array<std::string, 3>{s.substr(0, 2), s.substr(3, 2), s.substr(6)};
    };
    const auto f = parts(from);
    const auto t = parts(to);
    return std::string("/nav/usage?show=1&") + std::string(kFromDay) + '=' + f[0] + '&' +
           std::string(kFromMonth) + '=' + f[1] + '&' + std::string(kFromYear) + '=' + f[2] + '&' +
           std::string(kToDay) + '=' + t[0] + '&' + std::string(kToMonth) + '=' + t[1] + '&' +
           std::string(kToYear) + '=' + t[2];
}

const QString kDownloadLink = QStringLiteral("aaab.BBUsageView.ToolBarLinkToURL");

// The table's entries from its first page on, following the pager's next link, read through the
// element paths the page grab uses.
std::vector<std::array<QString, 6>> readAllPages(Portal& portal, const std::string& session,
                                                 std::string path, const QString& form) {
    std::vector<std::array<QString, 6>> rows;
    for (int pages = 0; !path.empty() && pages < 100; ++pages) {
        HtmlDocument document(q(portal.body(path, session)));
        const ElementPtr formElement = document.elementsByName(form).item(0);
        const ElementPtr log = formElement->child(0)->child(2)->row(0)->cell(0)->child(0);
        const ElementPtr pager = formElement->child(0)->child(1)->row(0)->cell(2)->child(0);
        EXPECT_GT(log->rowCount(), 1) << "an empty page " << path;
        for (int r = 1; r < log->rowCount(); ++r) {
            std::array<QString, 6> cells;
            for (int c = 0; c < 6; ++c) {
                cells[std::size_t(c)] = log->row(r)->cell(c)->innerText();
            }
            rows.push_back(cells);
        }
        const ElementPtr next = pager->row(0)->cell(4)->child(0);
        path = next->tagName() == u"A" ? next->value().toStdString() : std::string();
    }
    return rows;
}

std::vector<std::array<QString, 6>> tableRows(const std::vector<UsageRecord>& records) {
    std::vector<std::array<QString, 6>> rows;
    for (const UsageRecord& r : records) {
        const auto f = r.fields();
        rows.push_back({q(r.tableStartText()), q(f[1]), q(f[2]), q(f[3]), q(f[4]), q(f[5])});
    }
    return rows;
}

TEST(PortalSim, ServesALogInTheUsageViewTheDownloadAndTheTable) {
    PortalOptions options;
    options.pageSize = 7;
    Portal portal(options);
    EXPECT_TRUE(portal.sessionFor("demo", "dem0").empty());
    EXPECT_TRUE(portal.sessionFor("DEMO", "demo").empty()) << "the id is case-sensitive";
    EXPECT_TRUE(isLoginPage(portal.body("/nav/usage", {})));
    const std::string session = portal.sessionFor();
    ASSERT_FALSE(session.empty());
    EXPECT_NE(portal.body("/home", session).find("Welcome, demo"), std::string::npos);

    // The two navigation links lead to the usage view; the download link comes with the details.
    HtmlDocument nav(q(portal.body("/nav", session)));
    const ElementPtr first =
        nav.elementById(QStringLiteral("aaab.NavigationView.ToolBarLinkToAction3"));
    ASSERT_TRUE(first);
    HtmlDocument services(q(portal.body(first->value().toStdString(), session)));
    const ElementPtr second =
        services.elementById(QStringLiteral("aaab.NavigationView.LinkToAction38"));
    ASSERT_TRUE(second);
    HtmlDocument view(q(portal.body(second->value().toStdString(), session)));
    EXPECT_TRUE(view.elementById(QStringLiteral("aaab.BBUsageView.ViewUsageDetails")));
    EXPECT_FALSE(view.elementById(kDownloadLink));
    EXPECT_EQ(view.elementById(QString::fromLatin1(kToDay.data()))->value(), u"17");

    HtmlDocument details(q(portal.body(detailsPath("25 03 2013", "10 04 2013"), session)));
    const ElementPtr link = details.elementById(kDownloadLink);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->value(), u"/usage.csv?from=2013-03-25&to=2013-04-10");
    EXPECT_EQ(portal.body(link->value().toStdString(), session),
              usageLog(usageRecords("demo", ymd(2013, 3, 25), ymd(2013, 4, 10))));
    HtmlDocument reversed(q(portal.body(detailsPath("10 04 2013", "09 04 2013"), session)));
    EXPECT_FALSE(reversed.elementById(kDownloadLink));
    EXPECT_EQ(portal.get("/usage.csv?from=2013-02-30&to=2013-03-01", session)->status, 400);

    EXPECT_EQ(readAllPages(portal, session, "/usage/unbilled", QStringLiteral("SWEForm2_0")),
              tableRows(usageRecords("demo", ymd(2013, 4, 1), kToday)));
    EXPECT_EQ(readAllPages(portal, session, "/usage/billed?month=2012-02",
                           QStringLiteral("SWEForm1_0")),
              tableRows(usageRecords("demo", ymd(2012, 2, 1), ymd(2012, 2, 29))));
    EXPECT_NE(portal.body("/usage/billed?month=2014-01", session).find(kNotAvailableText),
              std::string::npos);
}

// --- The fault switches ---

struct FaultRow {
    const char* name;
    std::function<void(PortalOptions&)> set;
    std::string path;  // asked for after a log-in
    std::function<void(const httplib::Result&)> check;
};

void PrintTo(const FaultRow& row, std::ostream* out) {
    *out << row.name;
}

class PortalFault : public ::testing::TestWithParam<FaultRow> {};

TEST_P(PortalFault, DoesWhatTheSwitchSays) {
    const FaultRow& row = GetParam();
    PortalOptions options;
    row.set(options);
    Portal portal(options);
    const httplib::Result res = portal.get(row.path, portal.sessionFor());
    ASSERT_TRUE(res);
    row.check(res);
}

const std::string kMonthLog = "/usage.csv?from=2013-04-01&to=2013-04-17";

INSTANTIATE_TEST_SUITE_P(
    Switches, PortalFault,
    ::testing::Values(
        FaultRow{"OmitLeavesOutJustThatElement",
                 [](PortalOptions& o) { o.omit = {"aaab.BBUsageView.ddkToYear"}; }, "/nav/usage",
                 [](const httplib::Result& res) {
                     HtmlDocument page(q(res->body));
                     EXPECT_FALSE(page.elementById(QString::fromLatin1(kToYear.data())));
                     EXPECT_TRUE(page.elementById(QString::fromLatin1(kToMonth.data())));
                 }},
        FaultRow{"DroppedSessionGivesTheDownloadTheLoginPage",
                 [](PortalOptions& o) { o.dropSessionBeforeDownload = true; }, kMonthLog,
                 [](const httplib::Result& res) {
                     EXPECT_EQ(res->status, 200);
                     EXPECT_TRUE(isLoginPage(res->body));
                 }},
        FaultRow{"FailedDownloadAnswers500WithNoBody",
                 [](PortalOptions& o) { o.failDownload = true; }, kMonthLog,
                 [](const httplib::Result& res) {
                     EXPECT_EQ(res->status, 500);
                     EXPECT_TRUE(res->body.empty());
                 }}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(PortalSim, DelayHoldsBackAResponse) {
    PortalOptions options;
    options.delayMs = 300;
    Portal portal(options);
    const auto start = steady_clock::now();
    EXPECT_TRUE(isLoginPage(portal.body("/", {})));
    EXPECT_GE(steady_clock::now() - start, milliseconds(300));
}

// --- As a program ---

TEST(PortalSimProgram, ServesOnThePrintedPortAndStopsCleanlyOnSigterm) {
    QProcess process;
    process.start(QStringLiteral(PORTAL_SIM_EXECUTABLE), {QStringLiteral("--today=2013-04-17")});
    ASSERT_TRUE(process.waitForStarted(10000));
    while (!process.canReadLine() && process.waitForReadyRead(10000)) {
    }
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)$"))
            .match(QString::fromUtf8(process.readLine()).trimmed());
    ASSERT_TRUE(match.hasMatch());
    httplib::Client client("127.0.0.1", match.captured(1).toInt());
    const httplib::Result res = client.Get("/");
    ASSERT_TRUE(res);
    EXPECT_TRUE(isLoginPage(res->body));
    ::kill(pid_t(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
}

struct BadCommandRow {
    const char* name;
    QStringList arguments;
    const char* complaint;
};

void PrintTo(const BadCommandRow& row, std::ostream* out) {
    *out << row.name;
}

class PortalSimBadCommand : public ::testing::TestWithParam<BadCommandRow> {};

TEST_P(PortalSimBadCommand, ExitsWithStatusTwoAndSaysWhy) {
    QProcess process;
    process.start(QStringLiteral(PORTAL_SIM_EXECUTABLE), GetParam().arguments);
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 2);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_TRUE(err.contains(QLatin1String(GetParam().complaint))) << err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PortalSimBadCommand,
    ::testing::Values(
        BadCommandRow{"UnknownOption", {QStringLiteral("--frobnicate")}, "unknown option"},
        BadCommandRow{"PortNotANumber", {QStringLiteral("--port=80a")}, "--port"},
        BadCommandRow{"MissingValue", {QStringLiteral("--delay-ms")}, "needs a value"},
        BadCommandRow{"FlagWithValue", {QStringLiteral("--fail-download=yes")}, "takes no value"},
        BadCommandRow{
            "BadToday", {QStringLiteral("--today"), QStringLiteral("2013-02-30")}, "--today"}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace kestrova::portal
