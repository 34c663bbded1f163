// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The simulated portal every end-to-end test stands on: its walk, fault switches and download
// are proven by those tests, which go through the real programs; here what they never ask of it.

#include "portal_pages.h"
#include "portal_server.h"

#include <gtest/gtest.h>
#include <httplib.h>

namespace kestrova::portal {
namespace {

// A made-up session is sent to the log-in page, dates the wrong way round get the portal's own
// error, and the billed table is last month's unless one is asked for.
TEST(PortalSim, AnswersWhatTheProgramsNeverAsk) {
    PortalOptions options;
    options.today = Date{std::chrono::year(2013), std::chrono::month(4), std::chrono::day(17)};
    PortalServer server(std::move(options));
    httplib::Client client("127.0.0.1", server.start());
    const auto body = [&](const std::string& path, const std::string& cookie) {
        const httplib::Result res = client.Get(path.c_str(), {{"Cookie", cookie}});
        return res ? res->body : std::string();
    };
    EXPECT_NE(body("/nav/usage", "a=b; PortalSession=0123456789abcdef").find("logonuidfield"),
              std::string::npos);
    const httplib::Result login = client.Post(
        "/login", httplib::Params{{"logonuidfield", "demo"}, {"logonpassfield", "demo"}});
    ASSERT_TRUE(login);
    const std::string cookie = login->get_header_value("Set-Cookie")
                                   .substr(0, login->get_header_value("Set-Cookie").find(';'));
    std::string reversed = "/nav/usage?show=1";
    for (const auto& [name, value] : {std::pair{kFromDay, "10"},
                                      {kFromMonth, "04"},
                                      {kFromYear, "2013"},
                                      {kToDay, "09"},
                                      {kToMonth, "04"},
                                      {kToYear, "2013"}}) {
        reversed += '&' + std::string(name) + '=' + value;
    }
    EXPECT_NE(body(reversed, cookie).find("The From date must not be after the To date."),
              std::string::npos);
    EXPECT_NE(body("/usage/billed", cookie).find("Billed usage details for 2013-03"),
              std::string::npos);
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
