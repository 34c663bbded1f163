// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The grab on the real browser engine against portal-sim on a free loopback port: the test
// plays the subscriber on the portal's page (the dates, "View Usage Details"), as a person
// would, and checks what the grab made of it.

#include "grab/usage_check.h"
#include "support/expected_report.h"
#include "support/grab_fixture.h"

#include "support/portal_process.h"
#include "support/qt_printers.h"

#include "platform/dialogs.h"
#include "platform/live/live_browser.h"
#include "retrieval/usage_log.h"
#include "usage_data.h"

#include <gtest/gtest.h>

#include <QWebEngineView>

namespace kestrova {
namespace {

using namespace std::chrono_literals;
using testing::day;
using testing::PortalProcess;
using testing::recordsText;
using testing::spinUntil;

using kestrova::test::q;

class LiveGrab : public ::testing::Test, protected testing::GrabRig<LiveBrowser> {
protected:
    void start(QStringList portalArguments = {}) {
        portal = std::make_unique<PortalProcess>(QStringList{q("--today"), q("2013-04-17")} +
                                                 portalArguments);
        ASSERT_GT(portal->port(), 0);
        host.site = QStringLiteral("127.0.0.1:%1").arg(portal->port());
        host.user = q("demo");
        host.pass = q("demo");
        browser.view()->resize(900, 800);
        browser.view()->show();
    }

    // The subscriber, on the portal's page: picks the period and asks for the details.
    void playTheSubscriber(const char* fromDay, const char* toDay) {
        ASSERT_TRUE(spinUntil([this] { return host.messageVisible; }, 60s))
            << "no date prompt; " << messages.texts().join(u'|').toStdString();
        choosePeriod(fromDay, toDay);
    }

    std::unique_ptr<PortalProcess> portal;
};

TEST_F(LiveGrab, TenGrabsInARow) {
    start();
    check.setSecond(500ms);
    for (int run = 1; run <= 10; ++run) {
        check.checkUsage();
        playTheSubscriber("01", "17");
        ASSERT_TRUE(spinUntil([&] { return host.outputs == run; }, 60s))
            << "run " << run << ": " << messages.texts().join(u'|').toStdString();
        ASSERT_EQ(state.records.rowText(),
                  recordsText(portal::usageRecords("demo", day(2013, 4, 1), day(2013, 4, 17))))
            << "run " << run;
    }
    EXPECT_TRUE(messages.messages.empty());
}

// Once, the page limit ran from the first request of a page (or a walk's click): a portal
// answering each request well within the limit still timed out on a page that takes several
// requests (the log-in page and its frame, the framed welcome page). It now runs from the
// last sign of progress, and a portal slower than the limit is named with what did not come.
TEST_F(LiveGrab, ThePageLimitRunsFromTheLastSignOfProgress) {
    // Every answer takes 2 s, the limit is 3.5 s: each page needs two to four answers in a row.
    start({q("--delay-ms"), q("2000")});
    check.setPageLimit(3500ms);
    check.checkUsage();
    playTheSubscriber("03", "12");
    ASSERT_TRUE(spinUntil([this] { return host.outputs == 1; }, 120s))
        << messages.texts().join(u'|').toStdString();
    EXPECT_TRUE(messages.messages.empty()) << messages.texts().join(u'|').toStdString();

    // Slower than the limit: the log-in page itself does not come, and the message says so.
    portal.reset();
    start({q("--delay-ms"), q("3000")});
    check.setPageLimit(1500ms);
    check.checkUsage();
    ASSERT_TRUE(spinUntil([this] { return !host.stops.empty(); }, 30s));
    EXPECT_EQ(host.stops[0].problem, GrabProblem::PageTimeout);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              q("The portal at ") + host.site +
                  q(" did not send its log-in page within 2 seconds (\"/\" did not come). It may "
                    "be busy: try again later."));
}

// Once, a page that had loaded without what the walk needs was waited on to the page limit,
// and a log-in page without its form was taken for a month without data.
TEST_F(LiveGrab, APageWithoutWhatTheWalkNeedsIsNamedOnceItHasLoaded) {
    struct Case {
        const char* omitted;
        const char* message;
    };
    for (const Case& c :
         {Case{"aaab.BBUsageView.ddkFromDay",
               "Error retrieving bandwidth logs: the usage page of the portal at %1 has loaded "
               "without \"aaab.BBUsageView.ddkFromDay\". The portal may have changed."},
          Case{"logonuidfield",
               "Error retrieving bandwidth logs: the log-in page of the portal at %1 has no "
               "\"logonuidfield\". The portal may have changed."}}) {
        SCOPED_TRACE(c.omitted);
        messages.messages.clear();
        host.stops.clear();
        portal.reset();
        start({q("--omit"), q(c.omitted)});
        check.checkUsage();
        // Well before the page limit of 60 seconds.
        ASSERT_TRUE(spinUntil([this] { return !host.stops.empty(); }, 25s));
        EXPECT_EQ(host.stops[0].problem, GrabProblem::PortalChanged);
        EXPECT_EQ(messages.texts(), QStringList{q(c.message).arg(host.site)});
        EXPECT_EQ(host.outputs, 0);
    }
}

}  // namespace
}  // namespace kestrova
