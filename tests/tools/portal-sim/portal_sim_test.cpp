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
    for (const char* page :
         {"/home", "/frames/header", "/frames/menu", "/frames/work", "/frames/title", "/nav",
          "/nav/services", "/nav/usage", "/usage.csv?from=2013-04-01&to=2013-04-17",
          "/usage/unbilled", "/usage/billed"}) {
        EXPECT_TRUE(isLoginPage(portal.body(page, {}))) << page;
        EXPECT_TRUE(
            isLoginPage(portal.body(page, "PortalSession=0123456789abcdef0123456789abcdef")))
            << page;
    }
    const std::string session = portal.sessionFor();
    ASSERT_FALSE(session.empty());
    EXPECT_NE(portal.body("/home", session).find("Welcome, demo"), std::string::npos);
    // Every frame of the log-in and top pages is served, the notice without a session.
    for (const auto& [page, frames] : {std::pair{"/", 1}, std::pair{"/home", 3}}) {
        HtmlDocument document(q(portal.body(page, page == std::string("/") ? "" : session)));
        std::vector<QString> sources;
        for (const ElementPtr& frame : document.elementsByTagName(QStringLiteral("iframe"))) {
            sources.push_back(frame->attribute(QStringLiteral("src")));
        }
        ASSERT_EQ(int(sources.size()), frames) << page;
        for (const QString& source : sources) {
            const std::string framed = portal.body(source.toStdString(), session);
            EXPECT_NE(framed.find("<html"), std::string::npos) << source.toStdString();
            EXPECT_FALSE(isLoginPage(framed)) << source.toStdString();
            if (source == u"/frames/work") {
                EXPECT_FALSE(isLoginPage(portal.body("/frames/title", session)));
            }
        }
    }

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
    const ElementPtr toDay = view.elementById(QString::fromLatin1(kToDay.data()));
    EXPECT_EQ(toDay->value(), u"17");
    ASSERT_EQ(toDay->childCount(), 31);
    EXPECT_EQ(toDay->child(30)->value(), u"31");

    HtmlDocument details(q(portal.body(detailsPath("25 03 2013", "10 04 2013"), session)));
    const ElementPtr link = details.elementById(kDownloadLink);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->value(), u"/usage.csv?from=2013-03-25&to=2013-04-10");
    EXPECT_EQ(portal.body(link->value().toStdString(), session),
              usageLog(usageRecords("demo", ymd(2013, 3, 25), ymd(2013, 4, 10))));
    HtmlDocument reversed(q(portal.body(detailsPath("10 04 2013", "09 04 2013"), session)));
    EXPECT_FALSE(reversed.elementById(kDownloadLink));
    for (const std::string& bad :
         {std::string("/nav/usage?show=1"), detailsPath("31 02 2013", "15 04 2013"),
          detailsPath("1x 04 2013", "15 04 2013")}) {
        HtmlDocument refused(q(portal.body(bad, session)));
        EXPECT_FALSE(refused.elementById(kDownloadLink)) << bad;
    }
    for (const char* bad : {"/usage.csv", "/usage.csv?from=2013-04-10&to=2013-04-01",
                            "/usage.csv?from=2013-02-30&to=2013-03-01"}) {
        EXPECT_EQ(portal.get(bad, session)->status, 400) << bad;
    }

    EXPECT_EQ(readAllPages(portal, session, "/usage/unbilled", QStringLiteral("SWEForm2_0")),
              tableRows(usageRecords("demo", ymd(2013, 4, 1), kToday)));
    EXPECT_EQ(readAllPages(portal, session, "/usage/billed", QStringLiteral("SWEForm1_0")),
              tableRows(usageRecords("demo", ymd(2013, 3, 1), ymd(2013, 3, 31))))
        << "the billed table is last month's unless one is asked for";
    EXPECT_EQ(
        readAllPages(portal, session, "/usage/billed?month=2012-02", QStringLiteral("SWEForm1_0")),
        tableRows(usageRecords("demo", ymd(2012, 2, 1), ymd(2012, 2, 29))));
    for (const char* empty :
         {"/usage/billed?month=2013-04", "/usage/billed?month=2014-01",
          "/usage/billed?month=2013-4", "/usage/unbilled?page=99", "/usage/unbilled?page=-1"}) {
        EXPECT_NE(portal.body(empty, session).find(kNotAvailableText), std::string::npos) << empty;
    }
}

// The user id is shown in the welcome as text, whatever it holds.
TEST(PortalSim, TheWelcomeEscapesTheUserId) {
    PortalOptions options;
    options.anyUser = true;
    Portal portal(options);
    const std::string top = portal.body("/home", portal.sessionFor("<b>x</b>", "demo"));
    EXPECT_NE(top.find("Welcome, &lt;b&gt;x&lt;/b&gt;"), std::string::npos);
    EXPECT_TRUE(portal.sessionFor("", "demo").empty()) << "any user still needs an id";
}

// A heavy month has exactly the sessions asked for each day, none overlapping another, and the
// same user and period always give the same records.
TEST(PortalSim, TheGeneratorsSessionsNeverOverlapAndBadPeriodsHaveNone) {
    const auto day = dayRecords("demo", ymd(2026, 11, 7), 100);
    ASSERT_EQ(day.size(), 100u);
    for (std::size_t i = 1; i < day.size(); ++i) {
        EXPECT_GE(day[i].start, day[i - 1].start + day[i - 1].duration) << i;
    }
    EXPECT_LT((day.back().start + day.back().duration).count(), 86400);
    EXPECT_EQ(usageRecords("demo", ymd(2026, 11, 1), ymd(2026, 11, 30)),
              usageRecords("demo", ymd(2026, 11, 1), ymd(2026, 11, 30), 0));
    // No records for a reversed period or a day the calendar lacks, no date from a bad text.
    EXPECT_TRUE(usageRecords("demo", ymd(2013, 4, 10), ymd(2013, 4, 1)).empty());
    EXPECT_TRUE(usageRecords("demo", ymd(2013, 4, 1), ymd(2013, 2, 30)).empty());
    EXPECT_TRUE(dayRecords("demo", ymd(2013, 2, 30)).empty());
    // Figures as the portal's log writes them: up to four decimals, no trailing zeros.
    EXPECT_EQ(megabytesText(-12345), "-1.2345");
    EXPECT_EQ(megabytesText(20000), "2");
    EXPECT_EQ(megabytesText(12500), "1.25");
    for (const char* bad : {"2013-0a-01", "2013/04/01", "13-04-01"}) {
        EXPECT_FALSE(parseIsoDate(bad)) << bad;
    }
}

// A browser asking for brotli too gets gzip, which the server can write.
TEST(PortalSim, AnswersGzipWhereABrowserAlsoTakesBrotli) {
    PortalOptions options;
    options.today = kToday;
    PortalServer server(options);
    httplib::Client client("127.0.0.1", server.start());
    client.set_decompress(false);
    const httplib::Result res = client.Get("/", {{"Accept-Encoding", "gzip, deflate, br"}});
    ASSERT_TRUE(res);
    EXPECT_EQ(res->get_header_value("Content-Encoding"), "gzip");
}

// A stop that came before the server thread began to listen used to be lost, and the
// destructor then waited for ever.
TEST(PortalSim, StopRightAfterStartEndsTheServer) {
    for (int i = 0; i < 20; ++i) {
        int port = 0;
        {
            PortalServer server(PortalOptions{});
            port = server.start();
            server.stop();
        }
        httplib::Client client("127.0.0.1", port);
        client.set_connection_timeout(1, 0);
        EXPECT_FALSE(client.Get("/")) << "still answering on " << port;
    }
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
    ::testing::Values(FaultRow{"DroppedSessionGivesTheDownloadTheLoginPage",
                               [](PortalOptions& o) { o.dropSessionBeforeDownload = true; },
                               kMonthLog,
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

struct OmitRow {
    const char* name;
    const char* id;
    std::string path;
};

void PrintTo(const OmitRow& row, std::ostream* out) {
    *out << row.name;
}

class PortalOmit : public ::testing::TestWithParam<OmitRow> {};

TEST_P(PortalOmit, LeavesOutJustThatElement) {
    const OmitRow& row = GetParam();
    PortalOptions options;
    options.omit = {row.id};
    Portal omitted(options);
    Portal complete;
    const QString id = QString::fromLatin1(row.id);
    auto find = [&](Portal& portal) {
        HtmlDocument page(q(portal.body(row.path, portal.sessionFor())));
        return bool(page.elementById(id)) || page.elementsByName(id).count() > 0;
    };
    EXPECT_TRUE(find(complete));
    EXPECT_FALSE(find(omitted));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PortalOmit,
    ::testing::Values(OmitRow{"WelcomeMessage", "welcome_message", "/home"},
                      OmitRow{"PasswordField", "logonpassfield", "/"},
                      OmitRow{"SecondNavigationLink", "aaab.NavigationView.LinkToAction38",
                              "/nav/services"},
                      OmitRow{"DropDown", "aaab.BBUsageView.ddkToYear", "/nav/usage"},
                      OmitRow{"DownloadLink", "aaab.BBUsageView.ToolBarLinkToURL",
                              detailsPath("01 04 2013", "17 04 2013")},
                      OmitRow{"TableForm", "SWEForm2_0", "/usage/unbilled"}),
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
    const int free = [] {  // a port that was free a moment ago
        PortalServer probe(PortalOptions{});
        return probe.start();
    }();
    process.start(QStringLiteral(PORTAL_SIM_EXECUTABLE),
                  {QStringLiteral("--today=2013-04-17"), QStringLiteral("--port=%1").arg(free)});
    ASSERT_TRUE(process.waitForStarted(10000));
    while (!process.canReadLine() && process.waitForReadyRead(10000)) {
    }
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)$"))
            .match(QString::fromUtf8(process.readLine()).trimmed());
    ASSERT_TRUE(match.hasMatch());
    EXPECT_EQ(match.captured(1).toInt(), free) << "the port asked for";
    httplib::Client client("127.0.0.1", match.captured(1).toInt());
    const httplib::Result res = client.Get("/");
    ASSERT_TRUE(res);
    EXPECT_TRUE(isLoginPage(res->body));
    ::kill(pid_t(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
}

TEST(PortalSimProgram, HelpNamesTheSwitchesAndATakenPortIsRefused) {
    QProcess help;
    help.start(QStringLiteral(PORTAL_SIM_EXECUTABLE), {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished(10000));
    EXPECT_EQ(help.exitCode(), 0);
    const QString text = QString::fromUtf8(help.readAllStandardOutput());
    for (const char* option : {"--omit", "--drop-session-before-download", "--fail-download"}) {
        EXPECT_TRUE(text.contains(QLatin1String(option))) << option;
    }

    PortalServer taken(PortalOptions{});
    const QString port = QString::number(taken.start());
    QProcess second;
    second.start(QStringLiteral(PORTAL_SIM_EXECUTABLE), {QStringLiteral("--port"), port});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(second.readAllStandardError()).contains(port));
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
        BadCommandRow{
            "PortOutOfRange", {QStringLiteral("--port"), QStringLiteral("70000")}, "--port"},
        BadCommandRow{"MissingValue", {QStringLiteral("--delay-ms")}, "needs a value"},
        BadCommandRow{"FlagWithValue", {QStringLiteral("--fail-download=yes")}, "takes no value"},
        BadCommandRow{
            "BadToday", {QStringLiteral("--today"), QStringLiteral("2013-02-30")}, "--today"},
        BadCommandRow{"EmptyUser", {QStringLiteral("--user=")}, "--user"}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace kestrova::portal
