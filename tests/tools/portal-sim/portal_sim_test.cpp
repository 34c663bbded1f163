// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The simulated portal every end-to-end test stands on: its pages, log-in, fault switches and
// download are proven by those tests, which walk it through the real programs; here what they
// cannot reach, its server's own life.

#include "portal_server.h"

#include <gtest/gtest.h>
#include <httplib.h>

namespace kestrova::portal {
namespace {

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
