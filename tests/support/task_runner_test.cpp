// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/task_runner.h"

#include <gtest/gtest-spi.h>

#include <QCoroSignal>

using namespace std::chrono_literals;

namespace kestrova {
namespace {

bool g_lateTaskEnded = false;

// Ends well after the test gave up on it, and then writes its result: into memory the test
// no longer has if await() kept its state on the test's stack.
QCoro::Task<int> endsLate() {
    co_await QCoro::sleepFor(150ms);
    g_lateTaskEnded = true;
    co_return 7;
}

QCoro::Task<> neverEnds() {
    // Never started: the task waits on it for good. Held for the whole run, so that the
    // waiting frames stay reachable and the leak checker counts them as kept, not lost.
    static QTimer* const idle = new QTimer;
    co_await qCoro(idle, &QTimer::timeout);
}

TEST(Await, AtItsDeadlineFailsOnlyTheTestThatWaits) {
    EXPECT_NONFATAL_FAILURE(EXPECT_THROW(testing::await(neverEnds(), 20ms), testing::AwaitTimedOut),
                            "did not end within 20 ms");
    // Caught by the test, the timeout still fails it.
    EXPECT_NONFATAL_FAILURE(
        try { testing::await(neverEnds(), 20ms); } catch (...){}, "did not end within 20 ms");
    g_lateTaskEnded = false;
    EXPECT_NONFATAL_FAILURE(EXPECT_THROW(testing::await(endsLate(), 20ms), testing::AwaitTimedOut),
                            "did not end within 20 ms");
    // The late end arrives after await() returned; it must land safely.
    EXPECT_TRUE(testing::spinUntil([] { return g_lateTaskEnded; }, 5s));
    testing::runQueued();
}

}  // namespace
}  // namespace kestrova
