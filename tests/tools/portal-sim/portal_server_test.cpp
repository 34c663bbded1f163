// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The simulated portal, served in-process and read with cpp-httplib's client: what the program
// relies on (ids, names, frame order, the usage table's element paths, the log's format and
// content) and the fault switches the end-to-end tests drive.

#include "portal_server.h"
#include "portal_pages.h"

#include "platform/html_document.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <QString>
#include <QUrl>

#include <chrono>

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
        m_port = m_server->start();
        m_client = std::make_unique<httplib::Client>("127.0.0.1", m_port);
        m_client->set_read_timeout(10, 0);
    }

    httplib::Client& client() { return *m_client; }
    PortalServer& server() { return *m_server; }

    httplib::Result logIn(const std::string& user, const std::string& password) {
        return m_client->Post(
            "/login", httplib::Params{{"logonuidfield", user}, {"logonpassfield", password}});
    }

    // The session cookie of a successful log-in ("PortalSession=..."); empty when refused.
    std::string sessionFor(const std::string& user = "demo", const std::string& password = "demo") {
        const httplib::Result res = logIn(user, password);
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
    int m_port = 0;
    std::unique_ptr<httplib::Client> m_client;
};

bool isLoginPage(const std::string& html) {
    return html.find("id=\"logonuidfield\"") != std::string::npos &&
           html.find("id=\"uidPasswordLogon\"") != std::string::npos;
}

// --- Logging in ---

struct LogInRow {
    const char* name;
    const char* user;
    const char* password;
    bool anyUser;
    bool accepted;
};

void PrintTo(const LogInRow& row, std::ostream* out) {
    *out << row.name;
}

class LogIn : public ::testing::TestWithParam<LogInRow> {};

TEST_P(LogIn, RightPairSetsTheSessionAndShowsTheTopPageWrongPairShowsTheLoginAgain) {
    const LogInRow& row = GetParam();
    PortalOptions options;
    options.anyUser = row.anyUser;
    Portal portal(options);
    const httplib::Result res = portal.logIn(row.user, row.password);
    ASSERT_TRUE(res);
    if (row.accepted) {
        EXPECT_EQ(res->status, 303);
        EXPECT_EQ(res->get_header_value("Location"), "/home");
        const std::string cookie = res->get_header_value("Set-Cookie");
        EXPECT_EQ(cookie.rfind("PortalSession=", 0), 0u) << cookie;
        EXPECT_NE(cookie.find("HttpOnly"), std::string::npos);
        const std::string top = portal.body("/home", cookie.substr(0, cookie.find(';')));
        EXPECT_NE(top.find("id=\"welcome_message\""), std::string::npos);
        EXPECT_NE(top.find(std::string("Welcome, ") + row.user), std::string::npos);
    } else {
        EXPECT_EQ(res->status, 200);
        EXPECT_FALSE(res->has_header("Set-Cookie"));
        EXPECT_TRUE(isLoginPage(res->body));
        EXPECT_NE(res->body.find("logon attempt has failed"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LogIn,
    ::testing::Values(LogInRow{"DemoAccount", "demo", "demo", false, true},
                      LogInRow{"WrongPassword", "demo", "dem0", false, false},
                      LogInRow{"EmptyPassword", "demo", "", false, false},
                      LogInRow{"UserIdIsCaseSensitive", "DEMO", "demo", false, false},
                      LogInRow{"OtherUserRefused", "alice", "demo", false, false},
                      LogInRow{"AnyUserTakesOtherIds", "alice", "demo", true, true},
                      LogInRow{"AnyUserStillNeedsThePassword", "alice", "x", true, false},
                      LogInRow{"AnyUserNeedsAnId", "", "demo", true, false}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(PortalLogIn, OptionsChangeTheAccount) {
    PortalOptions options;
    options.user = "subscriber42";
    options.password = "s3cret&=";
    Portal portal(options);
    EXPECT_TRUE(portal.sessionFor("demo", "demo").empty());
    EXPECT_FALSE(portal.sessionFor("subscriber42", "s3cret&=").empty());
}

TEST(PortalLogIn, UserIdIsEscapedInTheWelcome) {
    PortalOptions options;
    options.anyUser = true;
    Portal portal(options);
    const std::string top = portal.body("/home", portal.sessionFor("<b>x</b>", "demo"));
    EXPECT_NE(top.find("Welcome, &lt;b&gt;x&lt;/b&gt;"), std::string::npos);
    EXPECT_EQ(top.find("<b>x</b>"), std::string::npos);
}

// Every page behind the log-in shows the login page without a valid session.
class BehindLogIn : public ::testing::TestWithParam<const char*> {};

TEST_P(BehindLogIn, NeedsTheSessionCookie) {
    Portal portal;
    const std::string path = GetParam();
    EXPECT_TRUE(isLoginPage(portal.body(path, {})));
    EXPECT_TRUE(isLoginPage(portal.body(path, "PortalSession=0123456789abcdef0123456789abcdef")));
    EXPECT_FALSE(isLoginPage(portal.body(path, portal.sessionFor())));
}

INSTANTIATE_TEST_SUITE_P(Pages, BehindLogIn,
                         ::testing::Values("/home", "/frames/header", "/frames/menu",
                                           "/frames/work", "/frames/title", "/nav", "/nav/services",
                                           "/nav/usage", "/usage.csv?from=2013-04-01&to=2013-04-17",
                                           "/usage/unbilled", "/usage/billed"));

// --- The frames and the navigation ---

std::vector<QString> iframeSources(const std::string& html) {
    HtmlDocument document(q(html));
    std::vector<QString> sources;
    for (const ElementPtr& frame : document.elementsByTagName(QStringLiteral("iframe"))) {
        sources.push_back(frame->attribute(QStringLiteral("src")));
    }
    return sources;
}

TEST(PortalFrames, TheLoginPageHasOneFrameThatNeedsNoSession) {
    Portal portal;
    const std::vector<QString> frames = iframeSources(portal.body("/", {}));
    ASSERT_EQ(frames.size(), 1u);
    const std::string notice = portal.body(frames[0].toStdString(), {});
    EXPECT_FALSE(isLoginPage(notice));
    EXPECT_TRUE(iframeSources(notice).empty());
}

TEST(PortalFrames, FrameTwoOfTheTopPageHoldsTheNavigationViewAsItsFrameOne) {
    Portal portal;
    const std::string session = portal.sessionFor();
    const std::vector<QString> top = iframeSources(portal.body("/home", session));
    ASSERT_EQ(top.size(), 3u);
    const std::vector<QString> work = iframeSources(portal.body(top[2].toStdString(), session));
    ASSERT_EQ(work.size(), 2u);
    EXPECT_EQ(work[1], u"/nav");
    for (const QString& source : {top[0], top[1], work[0]}) {
        EXPECT_TRUE(iframeSources(portal.body(source.toStdString(), session)).empty())
            << source.toStdString();
    }
}

TEST(PortalNavigation, TheTwoLinksLeadToTheUsageView) {
    Portal portal;
    const std::string session = portal.sessionFor();
    HtmlDocument nav(q(portal.body("/nav", session)));
    const ElementPtr first =
        nav.elementById(QStringLiteral("aaab.NavigationView.ToolBarLinkToAction3"));
    ASSERT_TRUE(first);
    EXPECT_FALSE(nav.elementById(QStringLiteral("aaab.NavigationView.LinkToAction38")));

    HtmlDocument services(q(portal.body(first->value().toStdString(), session)));
    const ElementPtr second =
        services.elementById(QStringLiteral("aaab.NavigationView.LinkToAction38"));
    ASSERT_TRUE(second);

    HtmlDocument view(q(portal.body(second->value().toStdString(), session)));
    EXPECT_TRUE(view.elementById(QStringLiteral("aaab.BBUsageView.ViewUsageDetails")));
    EXPECT_FALSE(view.elementById(QStringLiteral("aaab.BBUsageView.ToolBarLinkToURL")))
        << "the download link comes only with the details";
}

QString selected(const HtmlDocument& view, std::string_view name) {
    const ElementPtr select =
        view.elementById(QString::fromLatin1(name.data(), qsizetype(name.size())));
    return select ? select->value() : QStringLiteral("<missing>");
}

TEST(PortalUsageView, DropDownsOfferDaysMonthsAndYearsWithThisMonthUpToTodayChosen) {
    Portal portal;
    HtmlDocument view(q(portal.body("/nav/usage", portal.sessionFor())));
    EXPECT_EQ(selected(view, kFromDay), u"01");
    EXPECT_EQ(selected(view, kFromMonth), u"04");
    EXPECT_EQ(selected(view, kFromYear), u"2013");
    EXPECT_EQ(selected(view, kToDay), u"17");
    EXPECT_EQ(selected(view, kToMonth), u"04");
    EXPECT_EQ(selected(view, kToYear), u"2013");

    auto options = [&](std::string_view name) {
        std::vector<QString> values;
        const ElementPtr select =
            view.elementById(QString::fromLatin1(name.data(), qsizetype(name.size())));
        for (int i = 0; i < select->childCount(); ++i) {
            values.push_back(select->child(i)->value());
        }
        return values;
    };
    const auto days = options(kToDay);
    ASSERT_EQ(days.size(), 31u);
    EXPECT_EQ(days.front(), u"01");
    EXPECT_EQ(days.back(), u"31");
    const auto months = options(kFromMonth);
    ASSERT_EQ(months.size(), 12u);
    EXPECT_EQ(months.back(), u"12");
    EXPECT_EQ(options(kFromYear),
              (std::vector<QString>{QStringLiteral("2011"), QStringLiteral("2012"),
                                    QStringLiteral("2013")}));
}

std::string detailsPath(const char* fd, const char* fm, const char* fy, const char* td,
                        const char* tm, const char* ty) {
    return std::string("/nav/usage?show=1&") + std::string(kFromDay) + '=' + fd + '&' +
           std::string(kFromMonth) + '=' + fm + '&' + std::string(kFromYear) + '=' + fy + '&' +
           std::string(kToDay) + '=' + td + '&' + std::string(kToMonth) + '=' + tm + '&' +
           std::string(kToYear) + '=' + ty;
}

TEST(PortalUsageView, DetailsKeepTheChosenDatesAndLinkTheirDownload) {
    Portal portal;
    HtmlDocument view(
        q(portal.body(detailsPath("03", "02", "2013", "15", "04", "2013"), portal.sessionFor())));
    const ElementPtr link = view.elementById(QStringLiteral("aaab.BBUsageView.ToolBarLinkToURL"));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->value(), u"/usage.csv?from=2013-02-03&to=2013-04-15");
    EXPECT_EQ(selected(view, kFromDay), u"03");
    EXPECT_EQ(selected(view, kFromMonth), u"02");
    EXPECT_EQ(selected(view, kToDay), u"15");
}

struct BadPeriodRow {
    const char* name;
    std::string path;
};

void PrintTo(const BadPeriodRow& row, std::ostream* out) {
    *out << row.name;
}

class PortalBadPeriod : public ::testing::TestWithParam<BadPeriodRow> {};

TEST_P(PortalBadPeriod, ShowsNoDownloadLink) {
    Portal portal;
    HtmlDocument view(q(portal.body(GetParam().path, portal.sessionFor())));
    EXPECT_FALSE(view.elementById(QStringLiteral("aaab.BBUsageView.ToolBarLinkToURL")));
    EXPECT_TRUE(view.elementById(QStringLiteral("aaab.BBUsageView.ViewUsageDetails")));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PortalBadPeriod,
    ::testing::Values(
        BadPeriodRow{"FromAfterTo", detailsPath("10", "04", "2013", "09", "04", "2013")},
        BadPeriodRow{"NoSuchDay", detailsPath("31", "02", "2013", "15", "04", "2013")},
        BadPeriodRow{"NotANumber", detailsPath("1x", "04", "2013", "15", "04", "2013")},
        BadPeriodRow{"MissingField", "/nav/usage?show=1"}),
    [](const auto& p) { return std::string(p.param.name); });

// --- The download ---

TEST(PortalDownload, TheLogOfAPeriodIsTheGeneratorsRecordsNewestFirst) {
    Portal portal;
    const httplib::Result res =
        portal.get("/usage.csv?from=2013-03-25&to=2013-04-10", portal.sessionFor());
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(res->body, usageLog(usageRecords("demo", ymd(2013, 3, 25), ymd(2013, 4, 10))));
    EXPECT_EQ(res->body.rfind(std::string(kLogHeader) + "\r\n", 0), 0u);
}

TEST(PortalDownload, HasNoUsageAfterToday) {
    Portal portal;
    const std::string log =
        portal.body("/usage.csv?from=2013-04-01&to=2013-04-30", portal.sessionFor());
    EXPECT_EQ(log, usageLog(usageRecords("demo", ymd(2013, 4, 1), kToday)));
    EXPECT_EQ(portal.body("/usage.csv?from=2013-05-01&to=2013-05-31", portal.sessionFor()),
              std::string(kLogHeader) + "\r\n");
}

TEST(PortalDownload, EachUserGetsTheirOwnLog) {
    PortalOptions options;
    options.anyUser = true;
    Portal portal(options);
    const std::string path = "/usage.csv?from=2013-04-01&to=2013-04-17";
    EXPECT_EQ(portal.body(path, portal.sessionFor("alice", "demo")),
              usageLog(usageRecords("alice", ymd(2013, 4, 1), kToday)));
}

TEST(PortalDownload, RefusesAPeriodThatIsNotOne) {
    Portal portal;
    const std::string session = portal.sessionFor();
    for (const char* path : {"/usage.csv", "/usage.csv?from=2013-04-10&to=2013-04-01",
                             "/usage.csv?from=2013-02-30&to=2013-03-01"}) {
        const httplib::Result res = portal.get(path, session);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 400) << path;
    }
}

// --- The page-by-page usage table, read through the element paths the page grab uses ---

struct TablePage {
    std::vector<std::array<QString, 6>> entries;
    QString nextHref;  // empty: no "A" in the pager's next cell
};

TablePage readTable(const std::string& html, const QString& form) {
    HtmlDocument document(q(html));
    const ElementPtr formElement = document.elementsByName(form).item(0);
    const ElementPtr log = formElement->child(0)->child(2)->row(0)->cell(0)->child(0);
    const ElementPtr pager = formElement->child(0)->child(1)->row(0)->cell(2)->child(0);
    TablePage page;
    EXPECT_EQ(log->row(0)->cell(0)->tagName(), u"TH") << "row 0 is the heading";
    for (int r = 1; r < log->rowCount(); ++r) {
        std::array<QString, 6> cells;
        for (int c = 0; c < 6; ++c) {
            cells[std::size_t(c)] = log->row(r)->cell(c)->innerText();
        }
        page.entries.push_back(cells);
    }
    const ElementPtr next = pager->row(0)->cell(4)->child(0);
    if (next->tagName() == u"A") {
        page.nextHref = next->value();
    }
    return page;
}

std::array<QString, 6> tableRow(const UsageRecord& r) {
    const auto f = r.fields();
    return {q(r.tableStartText()), q(f[1]), q(f[2]), q(f[3]), q(f[4]), q(f[5])};
}

// All pages from the first, following the pager's next link; the number of pages read.
int readAllPages(Portal& portal, const std::string& session, std::string path, const QString& form,
                 std::vector<std::array<QString, 6>>& rows) {
    int pages = 0;
    while (!path.empty() && pages < 100) {
        const TablePage page = readTable(portal.body(path, session), form);
        EXPECT_FALSE(page.entries.empty());
        rows.insert(rows.end(), page.entries.begin(), page.entries.end());
        path = page.nextHref.toStdString();
        ++pages;
    }
    return pages;
}

struct TableRow {
    const char* name;
    const char* path;
    const char* form;
    Date from;
    Date to;
};

void PrintTo(const TableRow& row, std::ostream* out) {
    *out << row.name;
}

class PortalTable : public ::testing::TestWithParam<TableRow> {};

TEST_P(PortalTable, PagesThroughThePeriodsEntriesNewestFirst) {
    const TableRow& row = GetParam();
    PortalOptions options;
    options.pageSize = 7;
    Portal portal(options);
    std::vector<std::array<QString, 6>> rows;
    const int pages =
        readAllPages(portal, portal.sessionFor(), row.path, QString::fromLatin1(row.form), rows);
    const auto records = usageRecords("demo", row.from, row.to);
    std::vector<std::array<QString, 6>> expected;
    for (const UsageRecord& r : records) {
        expected.push_back(tableRow(r));
    }
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(pages, int((records.size() + 6) / 7));
    EXPECT_GT(pages, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PortalTable,
    ::testing::Values(TableRow{"UnbilledIsThisMonthUpToToday", "/usage/unbilled", "SWEForm2_0",
                               ymd(2013, 4, 1), kToday},
                      TableRow{"BilledIsLastMonthByDefault", "/usage/billed", "SWEForm1_0",
                               ymd(2013, 3, 1), ymd(2013, 3, 31)},
                      TableRow{"BilledOfAChosenMonth", "/usage/billed?month=2012-02", "SWEForm1_0",
                               ymd(2012, 2, 1), ymd(2012, 2, 29)}),
    [](const auto& p) { return std::string(p.param.name); });

bool isNotAvailable(const std::string& html) {
    return html.find(kNotAvailableText) != std::string::npos;
}

TEST(PortalTable, PeriodsWithoutUsageShowTheNotAvailablePage) {
    Portal portal;
    const std::string session = portal.sessionFor();
    for (const char* path :
         {"/usage/billed?month=2013-04", "/usage/billed?month=2014-01",
          "/usage/billed?month=2013-4", "/usage/unbilled?page=99", "/usage/unbilled?page=-1"}) {
        EXPECT_TRUE(isNotAvailable(portal.body(path, session))) << path;
    }
    EXPECT_FALSE(isNotAvailable(portal.body("/usage/unbilled", session)));
}

TEST(PortalTable, AMonthThatBeganWithoutSessionsIsNotAvailableOnItsFirstDay) {
    std::optional<Date> quiet;
    for (sys_days d = sys_days(ymd(2000, 1, 1)); !quiet && d < sys_days(ymd(2040, 1, 1));
         d += days(1)) {
        const Date date(d);
        if (date.day() == day(1) && dayRecords("demo", date).empty()) {
            quiet = date;
        }
    }
    ASSERT_TRUE(quiet) << "some month should begin without a session";
    PortalOptions options;
    options.today = quiet;
    Portal portal(options);
    EXPECT_TRUE(isNotAvailable(portal.body("/usage/unbilled", portal.sessionFor())));
}

// --- Fault switches ---

TEST(PortalFaults, DelayHoldsBackEveryResponse) {
    PortalOptions options;
    options.delayMs = 300;
    Portal portal(options);
    const auto start = steady_clock::now();
    EXPECT_TRUE(isLoginPage(portal.body("/", {})));
    EXPECT_GE(steady_clock::now() - start, milliseconds(300));
}

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
                              detailsPath("01", "04", "2013", "17", "04", "2013")},
                      OmitRow{"TableForm", "SWEForm2_0", "/usage/unbilled"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(PortalFaults, DroppedSessionGivesTheDownloadTheLoginPageAndEndsTheSession) {
    PortalOptions options;
    options.dropSessionBeforeDownload = true;
    Portal portal(options);
    const std::string session = portal.sessionFor();
    EXPECT_FALSE(isLoginPage(portal.body("/nav/usage", session)));
    const httplib::Result res = portal.get("/usage.csv?from=2013-04-01&to=2013-04-17", session);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_TRUE(isLoginPage(res->body));
    EXPECT_EQ(res->body.find(kLogHeader), std::string::npos);
    EXPECT_TRUE(isLoginPage(portal.body("/nav/usage", session)));
}

TEST(PortalFaults, FailedDownloadAnswers500WithNoBody) {
    PortalOptions options;
    options.failDownload = true;
    Portal portal(options);
    const httplib::Result res =
        portal.get("/usage.csv?from=2013-04-01&to=2013-04-17", portal.sessionFor());
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 500);
    EXPECT_TRUE(res->body.empty());
    EXPECT_FALSE(isLoginPage(portal.body("/nav/usage", portal.sessionFor())))
        << "only the download fails";
}

// A stop that came before the server thread began to listen used to be lost, and the
// destructor then waited for ever.
TEST(PortalServer, StopRightAfterStartEndsTheServer) {
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

}  // namespace
}  // namespace kestrova::portal

namespace kestrova::portal {
namespace {

TEST(PortalHeavyMonth, EveryDayHasTheAskedSessionsAndTheyNeverOverlap) {
    const auto records = usageRecords("demo", ymd(2026, 11, 1), ymd(2026, 11, 30), 100);
    ASSERT_EQ(records.size(), 3000u);
    for (int d = 1; d <= 30; ++d) {
        const auto day = dayRecords("demo", ymd(2026, 11, unsigned(d)), 100);
        ASSERT_EQ(day.size(), 100u);
        for (std::size_t i = 1; i < day.size(); ++i) {
            EXPECT_GE(day[i].start, day[i - 1].start + day[i - 1].duration) << d << " " << i;
        }
        EXPECT_LT((day.back().start + day.back().duration).count(), 86400);
    }
    // The usual month is left alone.
    EXPECT_EQ(usageRecords("demo", ymd(2026, 11, 1), ymd(2026, 11, 30)),
              usageRecords("demo", ymd(2026, 11, 1), ymd(2026, 11, 30), 0));
}

TEST(PortalCompression, AnAnswerIsGzipWhereABrowserWouldAlsoTakeBrotli) {
    Portal portal;
    const std::string session = portal.sessionFor();
    httplib::Headers headers{{"Cookie", session}, {"Accept-Encoding", "gzip, deflate, br"}};
    portal.client().set_decompress(false);
    const httplib::Result res =
        portal.client().Get("/usage.csv?from=2013-04-01&to=2013-04-17", headers);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->get_header_value("Content-Encoding"), "gzip");
}

}  // namespace
}  // namespace kestrova::portal
