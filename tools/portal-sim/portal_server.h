// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The simulated portal's HTTP server (cpp-httplib), bound to 127.0.0.1 only. The pages and
// their addresses are listed in helpText() (portal_options.h).

#include "portal_options.h"

#include <memory>
#include <string>
#include <thread>

namespace kestrova::portal {

inline constexpr std::string_view kSessionCookie = "PortalSession";

class PortalServer {
public:
    explicit PortalServer(PortalOptions options);
    ~PortalServer();
    PortalServer(const PortalServer&) = delete;
    PortalServer& operator=(const PortalServer&) = delete;

    // Binds 127.0.0.1 on the options' port (0: a free one) and returns the port; connections
    // wait in the backlog until run(). Throws std::runtime_error when the port is taken.
    int bind();
    // Serves until stop(); call bind() first, and once bound, always run().
    void run();
    // Safe from any thread, also before run() has begun (it then ends run() as soon as that
    // listens); run() returns soon after.
    void stop();

    // bind() and run() on a thread of its own (tests); stop() or the destructor ends it.
    int start();

    int port() const;
    // The portal's today: --today, or the local date.
    Date today() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::thread m_thread;
};

}  // namespace kestrova::portal
