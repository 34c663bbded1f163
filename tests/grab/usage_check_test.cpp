// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The check command and the grab's state machine on the in-memory browser: the portal is
// scripted, notifications arrive from the event loop while a handler waits, and a "second" of
// Wait is 20 ms.

#include "grab/usage_check.h"
#include "support/grab_fixture.h"
#include "support/memory_portal.h"

#include "support/qt_printers.h"
#include "support/task_runner.h"

#include "platform/dialogs.h"
#include "retrieval/cache_file.h"
#include "retrieval/headless.h"
#include "retrieval/report_page.h"
#include "retrieval/row_text.h"
#include "retrieval/usage_log.h"
#include "support/memory_browser.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace kestrova {
namespace {

using namespace std::chrono_literals;
using testing::navigationPath;

using testing::spinUntil;

using kestrova::test::q;
using namespace testing::memory_portal;

const char* kDataNotAvailable =
    "Error retrieving bandwidth logs, Data not available for selected month";

class Grab : public ::testing::Test, protected testing::GrabRig<MemoryBrowser> {
protected:
    void SetUp() override {
        check.setSecond(20ms);
        logInLoadsThePortal();
    }

    void logInLoadsThePortal() {
        testing::memory_portal::script(browser,
                                       [this](const QString& user, const QString& password) {
                                           typedUser = user;
                                           typedPassword = password;
                                       });
    }

    // Every notification the browser had queued has been delivered, every handler it started
    // has ended and the report's timer is not running: whatever the grab would still do comes
    // from one of them, so a test that something never happens checks after this.
    bool quiet() const {
        return browser.pendingNotifications() == 0 && check.handlersRunning() == 0 &&
               !check.resumeTimerActive();
    }
    bool settled() {
        const bool waited = spinUntil([this] { return quiet(); });
        testing::runQueued();  // and what they queued on their way out
        return waited && quiet();
    }

    GrabProblem onlyStop() const {
        EXPECT_EQ(host.stops.size(), 1u);
        return host.stops.empty() ? GrabProblem::Cancelled : host.stops.front().problem;
    }

    // The subscriber picks the dates on the portal's page and asks for the details.
    void playTheSubscriber() {
        ASSERT_TRUE(spinUntil([this] { return host.messageVisible; })) << "no date prompt";
        EXPECT_EQ(host.message,
                  q("Select From and To dates and click \"View Usage Details\" link"));
        const LiveDocument nav = browser.documentOf(FrameHandle(navigationPath()));
        testing::await(testing::await(nav.requiredElement(q("details"))).click());
    }

    // A check the subscriber answers on the portal's page, up to the report it shows.
    ::testing::AssertionResult aCheckShowsItsReport() {
        const int before = host.outputs;
        check.checkUsage();
        playTheSubscriber();
        if (spinUntil([&] { return host.outputs == before + 1; })) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << messages.texts().join(u'|').toStdString();
    }

    QString typedUser;
    QString typedPassword;
};

TEST_F(Grab, LogsInWalksTheFramesDownloadsTheLogAndShowsTheReport) {
    check.checkUsage();
    EXPECT_EQ(host.innerPage, 2);
    EXPECT_EQ(check.grabState, GrabState::Started);
    EXPECT_EQ(browser.navigations(), std::vector<QUrl>{at("/")});
    playTheSubscriber();
    ASSERT_TRUE(spinUntil([this] { return host.outputs == 1; }))
        << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(typedUser, q("abc"));
    EXPECT_EQ(typedPassword, q("secret"));
    EXPECT_EQ(state.userName, q("abc"));
    EXPECT_EQ(state.monthYear, q("period 01-04-2013 TO 17-04-2013"));
    EXPECT_EQ(host.message, q("Fetching log. Please wait..."));
    EXPECT_EQ(host.innerPage, 1);  // Timer1's tick went back to "Login Info"
    EXPECT_TRUE(messages.messages.empty()) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(result.outcome().totalUsage, 15);
    ASSERT_EQ(browser.downloads().size(), 1u);
    // Fetched into a file of the grab's own, which then becomes "usage.htm".
    EXPECT_NE(browser.downloads()[0].fileName, host.dir.filePath(q("usage.htm")));
    EXPECT_EQ(QDir(host.dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{q("usage.htm")});
    EXPECT_EQ(test::readFile(host.dir.filePath(q("usage.htm"))), kLog);
    EXPECT_EQ(host.steps, (std::vector<GrabStep>{
                              GrabStep::Connecting, GrabStep::LoggingIn, GrabStep::OpeningUsagePage,
                              GrabStep::WaitingForDates, GrabStep::FetchingLog}));
    EXPECT_FALSE(check.isGrabbing());
}

// The month's cache file kept once and left alone by the same check again is the live check's
// and the acceptance suite's; here what the window's side of it sees.
TEST_F(Grab, ANewCheckStartsWithoutTheLastChart) {
    ASSERT_TRUE(aCheckShowsItsReport());
    ASSERT_TRUE(state.chart.has_value());
    EXPECT_EQ(state.chart->dayLabels, (QStringList{q("02"), q("17")}));
    check.checkUsage();
    EXPECT_FALSE(state.chart.has_value());
}

TEST_F(Grab, ACacheFileThatIsNotOursIsSaidAndTheReportStillComes) {
    host.cache = true;
    const QString cacheFile = host.dir.filePath(q("2013-04-unbilled-abc.cache2"));
    ASSERT_TRUE(test::writeFile(cacheFile, "not a cache file"));
    ASSERT_TRUE(aCheckShowsItsReport());
    ASSERT_EQ(host.notKept.size(), 1);
    EXPECT_TRUE(host.notKept[0].startsWith(cacheFile + q(": "))) << host.notKept[0].toStdString();
    EXPECT_EQ(test::readFile(cacheFile), QByteArray("not a cache file"));
}

TEST_F(Grab, FirstCompletionNeverTouchesThePageAndFrameCompletionsAreIgnored) {
    browser.setHoldNotifications(true);  // the notifications are given by hand below
    check.checkUsage();
    for (const FramePath& first : {FramePath(), FramePath(1, 0)}) {
        check.grabState = GrabState::Started;
        // The first completion after the start, of the top level or of a frame.
        testing::await(check.onPageLoaded(FrameHandle(first), at("/")));
        EXPECT_EQ(check.grabState, GrabState::LogInPageExpected);
        EXPECT_TRUE(browser.clicks().empty());
    }
    // A frame completing while the login page is expected changes nothing.
    testing::await(check.onPageLoaded(FrameHandle(FramePath(1, 0)), at("/")));
    EXPECT_EQ(check.grabState, GrabState::LogInPageExpected);
    EXPECT_TRUE(browser.clicks().empty());
    EXPECT_TRUE(typedUser.isEmpty());
    // The top level's completion fills the form and logs in.
    testing::await(check.onPageLoaded(FrameHandle(), at("/")));
    EXPECT_EQ(typedUser, q("abc"));
    EXPECT_EQ(check.grabState, GrabState::LoggedIn);
}

TEST_F(Grab, AWelcomingPageMeansLoggedInFromAnyState) {
    for (GrabState start : {GrabState::Idle, GrabState::Started, GrabState::LogInPageExpected,
                            GrabState::Navigating}) {
        browser.setHoldNotifications(true);
        browser.load({}, portalTop(q("<p>nav</p>")));
        check.grabState = start;
        browser.notifyDocumentComplete({2});  // a frame: the walk does not start
        ASSERT_TRUE(spinUntil([&] { return check.grabState == GrabState::LoggedIn; }))
            << "from " << int(start);
        browser.setHoldNotifications(false);
    }
    EXPECT_TRUE(messages.messages.empty());
}

// A click the portal never answers: the grab stops at its page limit, naming what it waited for.
TEST_F(Grab, APageThatNeverComesStopsTheGrabAtItsLimitNamingThePage) {
    check.setPageLimit(150ms);
    const struct {
        const char* silentLink;
        const char* says;
    } cases[] = {
        {"uidPasswordLogon",
         "The portal at portal.test did not answer the log-in within 1 second. It may be busy: "
         "try again later."},
        {"aaab.NavigationView.ToolBarLinkToAction3",
         "The portal at portal.test did not send the services page within 1 second. It may be "
         "busy: try again later."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.silentLink);
        logInLoadsThePortal();
        host.stops.clear();
        messages.messages.clear();
        browser.setClickReaction(q(c.silentLink), [](MemoryBrowser&, const MemoryClick&) {});
        check.checkUsage();
        ASSERT_TRUE(spinUntil([this] { return !host.stops.empty(); }));
        EXPECT_EQ(onlyStop(), GrabProblem::PageTimeout);
        EXPECT_EQ(messages.texts(), QStringList{q(c.says)});
        EXPECT_EQ(check.grabState, GrabState::Idle);
        EXPECT_FALSE(check.isGrabbing());
    }
}

TEST_F(Grab, CancelStopsTheGrabQuietlyAndTheNextOneWorks) {
    check.checkUsage();
    ASSERT_TRUE(spinUntil([this] { return host.messageVisible; }));
    check.cancelGrab();
    EXPECT_EQ(check.grabState, GrabState::Idle);
    EXPECT_FALSE(check.isGrabbing());
    EXPECT_EQ(host.innerPage, 1);
    EXPECT_FALSE(host.messageVisible);
    EXPECT_EQ(onlyStop(), GrabProblem::Cancelled);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(browser.navigations().back(), QUrl(q("about:blank")));
    // A failure of a page nobody waits for any more says nothing.
    browser.setLoadFailure(at("/gone"), q("the connection was refused"));
    browser.navigate(at("/gone"));
    // The subscriber's late click on the old page fetches nothing.
    const LiveDocument nav = browser.documentOf(FrameHandle(navigationPath()));
    testing::await(testing::await(nav.requiredElement(q("details"))).click());
    ASSERT_TRUE(settled());
    EXPECT_TRUE(browser.downloads().empty());
    EXPECT_EQ(host.outputs, 0);
    EXPECT_TRUE(messages.messages.empty()) << messages.texts().join(u'|').toStdString();

    ASSERT_TRUE(aCheckShowsItsReport());
    EXPECT_EQ(browser.downloads().size(), 1u);
}

TEST_F(Grab, AFailureOfAGrabCancelledMeanwhileSaysNothing) {
    // Cancelled while a call on the portal page is under way: the page goes, the call fails.
    host.dateChooser = [this](LiveDocument navigation) -> QCoro::Task<> {
        check.cancelGrab();
        browser.clear();
        co_await navigation.requiredElement(q("details"));
    };
    check.checkUsage();
    ASSERT_TRUE(spinUntil([this] { return !host.stops.empty(); }));
    ASSERT_TRUE(settled());
    EXPECT_EQ(onlyStop(), GrabProblem::Cancelled);
    EXPECT_TRUE(messages.messages.empty()) << messages.texts().join(u'|').toStdString();
}

TEST_F(Grab, DatesTheHostChoosesMustBringTheDetailsWithinTheLimit) {
    check.setPageLimit(150ms);
    // The period's page comes without a log: the portal has none for those dates.
    browser.addRoute(at("/nav/details"), page("/nav/details", usageView(false)));
    host.dateChooser = [](LiveDocument navigation) -> QCoro::Task<> {
        co_await (co_await navigation.requiredElement(q("details"))).click();
    };
    check.checkUsage();
    ASSERT_TRUE(spinUntil([this] { return !host.stops.empty(); }));
    EXPECT_EQ(onlyStop(), GrabProblem::PortalChanged);
    EXPECT_EQ(messages.texts(), QStringList{q(kDataNotAvailable)});
    EXPECT_TRUE(browser.downloads().empty());
}

TEST_F(Grab, PressingTheButtonAgainRestartsTheGrab) {
    check.checkUsage();
    ASSERT_TRUE(spinUntil([this] { return host.messageVisible; }));
    const auto clicksBefore = browser.clicks().size();
    check.checkUsage();  // while the walk waits for the dates
    EXPECT_EQ(check.grabState, GrabState::Started);
    EXPECT_FALSE(host.messageVisible);
    EXPECT_EQ(browser.navigations().back(), at("/"));
    // The new grab logs in again and waits for the dates anew; the old walk ended quietly.
    ASSERT_TRUE(spinUntil([this] { return host.messageVisible; }));
    EXPECT_GT(browser.clicks().size(), clicksBefore);
    playTheSubscriber();
    ASSERT_TRUE(spinUntil([this] { return host.outputs == 1; }));
    ASSERT_TRUE(settled());
    EXPECT_EQ(browser.downloads().size(), 1u);
    EXPECT_EQ(host.outputs, 1);
}

TEST_F(Grab, AMissingNavigationLinkIsReportedAndLeavesTheState) {
    browser.setClickReaction(q("uidPasswordLogon"), [](MemoryBrowser& b, const MemoryClick&) {
        b.load({}, portalTop(q("<p>no links today</p>")));
    });
    check.checkUsage();
    ASSERT_TRUE(spinUntil([this] { return !messages.messages.empty(); }));
    EXPECT_EQ(messages.messages[0],
              (Message{q(kDataNotAvailable), QString(), MessageIcon::Information}));
    EXPECT_EQ(check.grabState, GrabState::Navigating);
    EXPECT_EQ(host.innerPage, 2);
}

TEST_F(Grab, AFailedDownloadNeverShowsTheLastGrabsLog) {
    ASSERT_TRUE(test::writeFile(host.dir.filePath(q("usage.htm")), kLog));  // last month's log
    browser.setDownloadFailure(at("/usage.csv"), q("500"));
    check.checkUsage();
    playTheSubscriber();
    ASSERT_TRUE(spinUntil([this] { return !messages.messages.empty(); }));
    EXPECT_EQ(messages.texts(),
              QStringList{q("Error retrieving bandwidth logs: the usage log could not be "
                            "downloaded (500). Check again.")});
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(onlyStop(), GrabProblem::DownloadFailed);
    ASSERT_TRUE(settled());
    EXPECT_EQ(host.outputs, 0);
    EXPECT_FALSE(retrieval.timerEnabled);
    EXPECT_FALSE(QFile::exists(host.dir.filePath(q("usage.htm"))));
}

// Another check that starts meanwhile clears "usage.htm" before its own download: this
// grab reads its own file all the same.
TEST_F(Grab, ACheckStartingMeanwhileNeverTakesTheLog) {
    QObject::connect(&check, &UsageCheck::logFetched,
                     [this] { QFile::remove(host.dir.filePath(q("usage.htm"))); });
    ASSERT_TRUE(aCheckShowsItsReport());
    EXPECT_TRUE(messages.messages.empty()) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(result.outcome().totalUsage, 15);
}

// The log is fetched only over http(s) from the portal's own host and port, whatever the
// portal's page links to.
class GrabLink : public Grab, public ::testing::WithParamInterface<const char*> {};

TEST_P(GrabLink, ToAnywhereButThePortalIsNotFollowed) {
    const QString link = q(GetParam());
    browser.addRoute(at("/nav/details"), page("/nav/details", usageView(true, link)));
    browser.setDownload(QUrl(link), kLog);
    check.checkUsage();
    playTheSubscriber();
    ASSERT_TRUE(spinUntil([this] { return !messages.messages.empty(); }));
    EXPECT_EQ(messages.texts(),
              QStringList{q("Error retrieving bandwidth logs: the portal's download link leads "
                            "to \"") +
                          QUrl(link).toString() +
                          q("\", not to the portal at portal.test, so it was not followed")});
    EXPECT_EQ(onlyStop(), GrabProblem::DownloadFailed);
    EXPECT_TRUE(browser.downloads().empty());
    EXPECT_TRUE(QDir(host.dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Links, GrabLink,
                         ::testing::Values("file:///etc/passwd", "http://elsewhere.test/usage.csv",
                                           "http://portal.test:8080/usage.csv",
                                           "ftp://portal.test/usage.csv", "data:text/csv,a,b"));

TEST_F(Grab, ALinkToThePortalOverHttpsIsFollowed) {
    const QUrl link(q("https://PORTAL.test/usage.csv"));
    browser.addRoute(at("/nav/details"), page("/nav/details", usageView(true, link.toString())));
    browser.setDownload(link, kLog);
    EXPECT_TRUE(aCheckShowsItsReport());
}

// None chosen is the window's (main_window_test: Enter on the cache page).
TEST_F(Grab, TheCachePageAsksForAFileThatExists) {
    host.mainPage = MainPage::CacheData;
    host.cacheIndex = 0;
    host.cacheItem = q("2013-04-billed-ab-c");
    check.checkUsage();
    EXPECT_EQ(messages.texts(), QStringList{q("Selected cache file do not exist")});
    EXPECT_EQ(host.focused, q("cmbCacheFiles"));
}

// The chosen file's records, without a page of the portal.
TEST_F(Grab, ACacheReportIsChargedByThePlanKindOfTheCheck) {
    // 03:00 for an hour is all night; midday is charged.
    const QString records =
        toRowText({q("2013-04-17"), q("03:00:00"), q("01:00:00"), q("60"), q("40"), q("100")}) +
        toRowText({q("2013-04-17"), q("12:00:00"), q("01:00:00"), q("20"), q("10"), q("30")});
    ASSERT_TRUE(saveFileData(host.dir.filePath(q("2013-04-billed-abc.cache2")), records, true));
    host.mainPage = MainPage::CacheData;
    host.cacheIndex = 0;
    host.cacheItem = q("2013-04-billed-abc");
    const struct {
        int hostKind;
        PlanKind kind;
        std::int32_t charged;
    } cases[] = {{0, PlanKind::Limited, 130},
                 {1, PlanKind::NightUnlimited, 30},
                 {2, PlanKind::Unlimited, 130},
                 {7, PlanKind::Limited, 130}};  // a stored kind this program does not know
    int outputs = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hostKind);
        host.kind = c.hostKind;
        check.checkUsage();
        ASSERT_TRUE(spinUntil([&] { return host.outputs == outputs + 1; }));
        ++outputs;
        EXPECT_EQ(state.records.rowText(), records);
        EXPECT_EQ(state.monthYear, q("2013-04-billed"));
        EXPECT_EQ(state.planKind, c.kind);
        EXPECT_EQ(result.outcome().totalUsage, 130);
        EXPECT_EQ(result.outcome().chargedUsage, c.charged);
        EXPECT_EQ(result.outcome().nightChargedUsage, 30);
    }
    EXPECT_TRUE(browser.navigations().empty());
}

TEST(UsageCheckDates, FirstAndLastDayOfTheMonthAndTheMonthsName) {
    EXPECT_EQ(UsageCheck::getFromDate(QDate(2013, 4, 17)), q("01/04/2013"));
    EXPECT_EQ(UsageCheck::getToDate(QDate(2013, 4, 17)), q("30/04/2013"));
    EXPECT_EQ(UsageCheck::getToDate(QDate(2024, 2, 1)), q("29/02/2024"));
    EXPECT_EQ(UsageCheck::getToDate(QDate(2026, 12, 31)), q("31/12/2026"));
    EXPECT_EQ(UsageCheck::getMonth(q("2013-04-billed")), q("April"));
    EXPECT_EQ(UsageCheck::getMonth(q("period 01-04-2013 TO 17-04-2013")), QString());
}

TEST(UsageLogShape, HeaderLinesAreLogsMarkUpIsNot) {
    EXPECT_TRUE(
        looksLikeUsageLog(q("Date,Time,Duration,Download (MB),Upload (MB),Total (MB)\r\n")));
    EXPECT_TRUE(looksLikeUsageLog(q("a,b,c,d,e,f")));
    EXPECT_FALSE(looksLikeUsageLog(q("<html><body>a,b,c,d,e,f</body></html>")));
    EXPECT_FALSE(looksLikeUsageLog(q("Date,Time\r\n2013-04-17,1,2,3,4,5\r\n")));
    EXPECT_FALSE(looksLikeUsageLog(QString()));
}

}  // namespace
}  // namespace kestrova
