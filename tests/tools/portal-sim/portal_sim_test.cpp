// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The simulated portal every end-to-end test stands on, served in-process and read with
// cpp-httplib's client: it takes a log-in and leads to the usage view and the download. Its fault
// switches and its life as a program are proven by the end-to-end tests that drive them.

#include "portal_pages.h"
#include "portal_server.h"

#include "platform/html_document.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <QString>

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

TEST(PortalSim, ServesALogInTheUsageViewAndTheDownload) {
    Portal portal;
    EXPECT_TRUE(portal.sessionFor("demo", "dem0").empty());
    EXPECT_TRUE(portal.sessionFor("DEMO", "demo").empty()) << "the id is case-sensitive";
    // Without a session (or with a made-up one) every page is the log-in page.
    EXPECT_TRUE(isLoginPage(portal.body("/usage.csv?from=2013-04-01&to=2013-04-17", {})));
    EXPECT_TRUE(
        isLoginPage(portal.body("/nav/usage", "PortalSession=0123456789abcdef0123456789abcdef")));
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
    EXPECT_FALSE(view.elementById(kDownloadLink));
    const ElementPtr toDay = view.elementById(QString::fromLatin1(kToDay.data()));
    EXPECT_EQ(toDay->value(), u"17");
    EXPECT_EQ(toDay->child(30)->value(), u"31");

    HtmlDocument details(q(portal.body(detailsPath("25 03 2013", "10 04 2013"), session)));
    const ElementPtr link = details.elementById(kDownloadLink);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->value(), u"/usage.csv?from=2013-03-25&to=2013-04-10");
    EXPECT_EQ(portal.body(link->value().toStdString(), session),
              usageLog(usageRecords("demo", ymd(2013, 3, 25), ymd(2013, 4, 10))));
    HtmlDocument reversed(q(portal.body(detailsPath("10 04 2013", "09 04 2013"), session)));
    EXPECT_FALSE(reversed.elementById(kDownloadLink));
    // The billed table is last month's unless one is asked for.
    const std::string billed = portal.body("/usage/billed", session);
    EXPECT_NE(billed.find("Billed usage details for 2013-03"), std::string::npos);
    EXPECT_NE(billed.find("SWEForm1_0"), std::string::npos);
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

}  // namespace
}  // namespace kestrova::portal
