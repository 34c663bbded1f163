// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// portal-sim: the simulated selfcare portal (see --help).

#include "portal_options.h"
#include "portal_server.h"

#include <pthread.h>
#include <csignal>
#include <cstdio>
#include <exception>
#include <thread>

int main(int argc, char** argv) {
    using namespace kestrova::portal;

    const ParsedOptions parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.help) {
        std::fputs(helpText().c_str(), stdout);
        return 0;
    }
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "portal-sim: %s\n", parsed.error.c_str());
        return 2;
    }

    // Signals are taken by one thread with sigwait(), so stopping the server never runs
    // inside an asynchronous signal handler. Blocked before any other thread exists, so
    // the server's workers inherit the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        PortalServer server(parsed.options);
        const int port = server.bind();
        std::printf("listening on 127.0.0.1:%d\n", port);
        std::fflush(stdout);

        std::thread waiter([&] {
            int signal = 0;
            sigwait(&stopSignals, &signal);
            server.stop();
        });
        server.run();
        // run() also ends when listening fails; wake the waiter so it can be joined.
        // SIGTERM is one of the blocked signals the waiter takes with sigwait(), so this wakes
        // it; it does not end the thread.
        // NOLINTNEXTLINE(bugprone-bad-signal-to-kill-thread)
        pthread_kill(waiter.native_handle(), SIGTERM);
        waiter.join();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "portal-sim: %s\n", e.what());
        return 1;
    }
    return 0;
}
