// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The freedesktop notifier against a notification service of the test's own, on a private
// session bus: what it sends, and that a missing, hanging or unreachable service is a "not
// shown" from the event loop, never a hang.

#include "cli/desktop_notifier.h"

#include "cli/fake_notifications.h"
#include "support/qt_printers.h"
#include "support/task_runner.h"

#include <gtest/gtest.h>

#include <optional>

using namespace kestrova;
using namespace kestrova::testing;

namespace {

using kestrova::test::q;

// Sends one notification and waits for its answer from the test's event loop.
std::optional<bool> notifyAndWait(DesktopNotifier& notifier, const QString& body,
                                  bool* answeredInside = nullptr) {
    std::optional<bool> shown;
    notifier.notify(q("Broadband usage"), body, [&shown](bool s) { shown = s; });
    if (answeredInside) {
        *answeredInside = shown.has_value();
    }
    spinUntil([&] { return shown.has_value(); }, std::chrono::seconds(20));
    return shown;
}

class Notifier : public ::testing::Test {
protected:
    void SetUp() override {
        if (bus.address().isEmpty()) {
            GTEST_SKIP() << "no dbus-daemon to run a private session bus";
        }
    }
    PrivateBus bus;
};

TEST_F(Notifier, NoServiceAHangingOneOrNoBusIsNotShown) {
    {
        // Nothing owns the name, and the private bus starts nothing on demand.
        FreedesktopNotifier notifier(bus.connect(q("check-alone")));
        EXPECT_EQ(notifyAndWait(notifier, q("text")), false);
    }
    {
        FakeNotifications service(bus.connect(q("hanging")));
        ASSERT_TRUE(service.registered());
        service.answer = false;
        FreedesktopNotifier notifier(bus.connect(q("check-waiting")),
                                     std::chrono::milliseconds(300));
        EXPECT_EQ(notifyAndWait(notifier, q("text")), false);
        EXPECT_EQ(service.sent.size(), 1u);
    }
    {
        FreedesktopNotifier notifier(
            QDBusConnection::connectToBus(q("unix:path=/nonexistent/kestrova-bus"), q("nowhere")));
        bool answeredInside = true;
        EXPECT_EQ(notifyAndWait(notifier, q("text"), &answeredInside), false);
        EXPECT_FALSE(answeredInside);
    }
}

}  // namespace
