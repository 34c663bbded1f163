// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The live browser on Qt WebEngine against portal-sim: its calls' failures and its load
// failures. The whole walk on it is the live grab's and kestrova-check's tests.

#include "support/portal_process.h"
#include "support/qt_printers.h"
#include "support/task_runner.h"

#include "platform/dialogs.h"
#include "platform/live/live_browser.h"

#include <gtest/gtest.h>

#include <QCoroTimer>
#include <QElapsedTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>

namespace kestrova {
namespace {

using testing::await;
using testing::PortalProcess;
using namespace std::chrono_literals;

constexpr auto kWalkLimit = 60s;

QString id(const char* text) {
    return QString::fromLatin1(text);
}

class Fixture {
public:
    Fixture() {
        browser.view()->resize(900, 800);
        browser.view()->show();
        QObject::connect(&browser, &Browser::documentComplete,
                         [this](const FrameHandle& frame, const QUrl&) {
                             ++completed;
                             topLevel += frame.isTopLevel();
                         });
    }

    LiveBrowser browser;
    int completed = 0;  // documents completed, in any frame
    int topLevel = 0;   // of them, top-level documents
};

QCoro::Task<> waitUntil(std::function<bool()> condition, const char* what,
                        std::chrono::milliseconds limit = kWalkLimit) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > limit.count()) {
            throw Failure(QStringLiteral("Timed out waiting for ") + QLatin1String(what));
        }
        co_await QCoro::sleepFor(20ms);
    }
}

// As the grab does: look the element up afresh until it is there.
QCoro::Task<LiveElement> waitForElement(LiveDocument document, QString elementId) {
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (std::optional<LiveElement> found = co_await document.elementById(elementId)) {
            co_return *found;
        }
        if (clock.elapsed() > std::chrono::milliseconds(kWalkLimit).count()) {
            throw Failure(QStringLiteral("Timed out waiting for ") + elementId);
        }
        co_await QCoro::sleepFor(50ms);
    }
}

QCoro::Task<> logIn(Fixture& f, QUrl start, QString password) {
    const int before = f.topLevel;
    f.browser.navigate(start);
    co_await waitUntil([&] { return f.topLevel > before; }, "the login page");
    const LiveDocument top = *co_await f.browser.document();
    co_await (co_await waitForElement(top, QStringLiteral("logonuidfield")))
        .setValue(QStringLiteral("demo"));
    co_await (co_await waitForElement(top, QStringLiteral("logonpassfield"))).setValue(password);
    const int loggingIn = f.topLevel;
    co_await (co_await waitForElement(top, QStringLiteral("uidPasswordLogon"))).click();
    co_await waitUntil([&] { return f.topLevel > loggingIn; }, "the page after logging in");
}

template <typename T>
QCoro::Task<QString> failureOf(QCoro::Task<T> task) {
    try {
        co_await task;
    } catch (const Failure& failure) {
        co_return failure.description();
    }
    co_return QString();
}

QCoro::Task<> frameOf(LiveDocument document, int index) {
    co_await document.frame(index);
}

TEST(LiveBrowser, AMissingElementOrFrameMakesTheCallThrow) {
    PortalProcess portal({QStringLiteral("--today"), QStringLiteral("2013-04-17"),
                          QStringLiteral("--omit"), id("aaab.NavigationView.LinkToAction38")});
    Fixture f;
    await(logIn(f, portal.url(QStringLiteral("/")), QStringLiteral("demo")), kWalkLimit);
    const LiveDocument top = *await(f.browser.document());
    const LiveDocument nav = await(await(top.frame(2)).frame(1));
    const int before = f.completed;
    await(await(nav.elementById(id("aaab.NavigationView.ToolBarLinkToAction3")))->click());
    await(waitUntil([&] { return f.completed > before; }, "the services page"));

    EXPECT_FALSE(await(nav.elementById(id("aaab.NavigationView.LinkToAction38"))));
    const LiveElement missing(
        &f.browser, {2, 1},
        {ElementStep{ElementStep::Kind::Id, id("aaab.NavigationView.LinkToAction38"), 0}});
    EXPECT_EQ(await(failureOf(missing.click())),
              u"There is no element \"aaab.NavigationView.LinkToAction38\" in frames[2].frames[1]");
    EXPECT_EQ(await(failureOf(frameOf(top, 5))), u"Frame 5 of the top document does not exist");
    EXPECT_EQ(await(failureOf(f.browser.documentOf(FrameHandle(FramePath{2, 4})).url())),
              u"Frame 4 of frames[2] does not exist");
    const LiveElement body = await(top.documentElement().child(1));
    EXPECT_EQ(await(body.tagName()), u"BODY");
    EXPECT_EQ(await(failureOf(body.rowCount())),
              u"The BODY element is not a table: it has no rows");
    EXPECT_EQ(await(failureOf(body.child(9))),
              u"There is no document element, child 1, child 9 in the top document");

    // Ids are data, never code: a hostile one is simply not found.
    EXPECT_FALSE(await(top.elementById(QStringLiteral("\"]'); throw 1; //\u2028</script>"))));
}

// A page's alert or question neither waits for an answer nor reaches the user, and a question
// counts as declined.
TEST(LiveBrowser, ScriptDialogsSayNothing) {
    RecordingDialogs dialogs;
    ScopedDialogs installed(dialogs);
    Fixture f;
    f.browser.navigate(QUrl(QStringLiteral(
        "data:text/html,<body><script>alert('hello');"
        "document.body.textContent='confirmed: '%2Bconfirm('sure?')</script></body>")));
    await(waitUntil([&] { return f.topLevel > 0; }, "the page"));
    EXPECT_EQ(await(f.browser.documentOf(Browser::topLevel()).documentElement().innerText()),
              u"confirmed: false");
    EXPECT_TRUE(dialogs.messages.empty());
}

// A refused load is reported by the live grab's tests; this is the one the engine aborts.
TEST(LiveBrowser, ALoadStoppedByTheNextNavigationIsNoFailure) {
    LiveBrowser browser;
    std::vector<std::pair<QUrl, QString>> failures;
    QObject::connect(&browser, &Browser::loadFailed, [&](const QUrl& url, const QString& reason) {
        failures.emplace_back(url, reason);
    });
    // A load stopped by the next navigation is no failure.
    PortalProcess portal({QStringLiteral("--delay-ms"), QStringLiteral("1500")});
    int completions = 0;
    QObject::connect(
        &browser, &Browser::documentComplete,
        [&](const FrameHandle& frame, const QUrl&) { completions += frame.isTopLevel(); });
    bool started = false;
    QObject::connect(&browser, &Browser::beforeNavigate, [&](const QUrl& url, bool) {
        started |= url == portal.url(QStringLiteral("/"));
    });
    browser.navigate(portal.url(QStringLiteral("/")));
    ASSERT_TRUE(testing::spinUntil([&] { return started; }, 30s));
    browser.navigate(QUrl(QStringLiteral("about:blank")));
    ASSERT_TRUE(testing::spinUntil([&] { return completions > 0; }, 30s));
    // One more load through the same page: the engine has said all it had to about the
    // earlier ones before this one completes.
    browser.navigate(QUrl(QStringLiteral("about:blank")));
    ASSERT_TRUE(testing::spinUntil([&] { return completions > 1; }, 30s));
    EXPECT_TRUE(failures.empty()) << failures[0].second.toStdString();
}

TEST(LiveBrowserLoadFailure, TheEnginesErrorsInWordsForTheUser) {
    struct Case {
        int domain;
        int code;
        const char* text;
        std::optional<QString> expected;
    };
    // (A refused connection is kestrova-check's test, on a port nothing listens on.)
    const Case cases[] = {
        {QWebEngineLoadingInfo::HttpStatusCodeDomain, 503, "",
         QStringLiteral("the server answered with HTTP status 503")},
        {QWebEngineLoadingInfo::CertificateErrorDomain, -202, "net::ERR_CERT_AUTHORITY_INVALID",
         QStringLiteral("its certificate was not accepted (net::ERR_CERT_AUTHORITY_INVALID)")},
        // Stopped by a newer navigation, or nothing wrong at all.
        {QWebEngineLoadingInfo::InternalErrorDomain, -3, "net::ERR_ABORTED", std::nullopt},
        {QWebEngineLoadingInfo::NoErrorDomain, 0, "", std::nullopt},
        // Anything else keeps the engine's own words and number.
        {QWebEngineLoadingInfo::InternalErrorDomain, -999, "net::ERR_STRANGE",
         QStringLiteral("net::ERR_STRANGE (error -999)")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LiveBrowser::describeLoadFailure(c.domain, c.code, QString::fromUtf8(c.text)),
                  c.expected)
            << c.code;
    }
}

TEST(LiveBrowser, ACallPendingWhenTheBrowserCloses) {
    auto browser = std::make_unique<LiveBrowser>();
    QCoro::Task<QUrl> pending = browser->documentOf(Browser::topLevel()).url();
    browser.reset();
    EXPECT_EQ(
        await(failureOf(std::move(pending))),
        u"Reading the address of the document in the top document failed: the browser was closed");
}

}  // namespace
}  // namespace kestrova
