// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The live browser on Qt WebEngine against portal-sim: the walk the grab makes, step by step
// through awaited calls, and the portal's faults.

#include "support/portal_process.h"
#include "support/qt_printers.h"
#include "support/task_runner.h"

#include "platform/dialogs.h"
#include "platform/live/live_browser.h"
#include "usage_data.h"

#include <gtest/gtest.h>

#include <QCoroTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>

namespace kestrova {
namespace {

using testing::await;
using testing::PortalProcess;
using namespace std::chrono_literals;

constexpr auto kWalkLimit = 60s;

const QStringList kToday{QStringLiteral("--today"), QStringLiteral("2013-04-17")};

QStringList withToday(QStringList more) {
    return kToday + more;
}

QString id(const char* text) {
    return QString::fromLatin1(text);
}

portal::Date april(unsigned day) {
    return portal::Date{std::chrono::year(2013), std::chrono::April, std::chrono::day(day)};
}

struct Heard {
    FramePath frame;
    QUrl url;
    friend bool operator==(const Heard&, const Heard&) = default;
};

void PrintTo(const Heard& heard, std::ostream* out) {
    *out << describeFrame(heard.frame).toStdString() << ' ' << heard.url.path().toStdString();
}

class Fixture {
public:
    Fixture() {
        browser.setSilent(true);
        browser.view()->resize(900, 800);
        browser.view()->show();
        QObject::connect(&browser, &Browser::documentComplete,
                         [this](const FrameHandle& frame, const QUrl& url) {
                             heard.push_back(Heard{frame.path(), url});
                         });
        QObject::connect(&browser, &Browser::beforeNavigate,
                         [this](const QUrl& url, bool topLevel) {
                             navigations.push_back({url, topLevel});
                         });
    }

    int topLevelCount() const {
        return int(std::count_if(heard.begin(), heard.end(),
                                 [](const Heard& h) { return h.frame.empty(); }));
    }

    LiveBrowser browser;
    std::vector<Heard> heard;
    std::vector<std::pair<QUrl, bool>> navigations;  // before-navigate: address, top level
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
    const int before = f.topLevelCount();
    f.browser.navigate(start);
    co_await waitUntil([&] { return f.topLevelCount() > before; }, "the login page");
    const LiveDocument top = *co_await f.browser.document();
    co_await (co_await waitForElement(top, QStringLiteral("logonuidfield")))
        .setValue(QStringLiteral("demo"));
    co_await (co_await waitForElement(top, QStringLiteral("logonpassfield"))).setValue(password);
    const int loggingIn = f.topLevelCount();
    co_await (co_await waitForElement(top, QStringLiteral("uidPasswordLogon"))).click();
    co_await waitUntil([&] { return f.topLevelCount() > loggingIn; }, "the page after logging in");
}

// From the top page to the download link: the grab's usage walk, with the days of April 2013
// the user would pick set through the page (none: the page's own). The drop-downs' values
// after the details have come go to `dropDowns`.
QCoro::Task<QString> detailsLink(Fixture& f, const char* fromDay = nullptr,
                                 const char* toDay = nullptr, QStringList* dropDowns = nullptr) {
    const LiveDocument top = *co_await f.browser.document();
    if (!co_await top.elementById(QStringLiteral("welcome_message"))) {
        throw Failure(QStringLiteral("not logged in"));
    }
    const LiveDocument nav = co_await (co_await top.frame(2)).frame(1);
    co_await (co_await waitForElement(nav, id("aaab.NavigationView.ToolBarLinkToAction3"))).click();
    co_await (co_await waitForElement(nav, id("aaab.NavigationView.LinkToAction38"))).click();
    const LiveElement view = co_await waitForElement(nav, id("aaab.BBUsageView.ViewUsageDetails"));
    const std::pair<const char*, const char*> choices[] = {
        {"aaab.BBUsageView.ddkFromDay", fromDay}, {"aaab.BBUsageView.ddkFromMonth", "04"},
        {"aaab.BBUsageView.ddkFromYear", "2013"}, {"aaab.BBUsageView.ddkToDay", toDay},
        {"aaab.BBUsageView.ddkToMonth", "04"},    {"aaab.BBUsageView.ddkToYear", "2013"}};
    if (fromDay) {
        for (const auto& [name, value] : choices) {
            co_await (co_await waitForElement(nav, id(name))).setValue(id(value));
        }
    }
    co_await view.click();
    const QString link =
        co_await (co_await waitForElement(nav, id("aaab.BBUsageView.ToolBarLinkToURL"))).value();
    for (const auto& choice : choices) {
        if (dropDowns) {
            *dropDowns << co_await (co_await waitForElement(nav, id(choice.first))).value();
        }
    }
    co_return link;
}

// No frame's notification comes before one of a frame inside it.
bool childrenBeforeParents(const std::vector<Heard>& heard) {
    for (std::size_t i = 0; i < heard.size(); ++i) {
        for (std::size_t later = i + 1; later < heard.size(); ++later) {
            const FramePath& parent = heard[i].frame;
            const FramePath& child = heard[later].frame;
            if (child.size() > parent.size() &&
                std::equal(parent.begin(), parent.end(), child.begin())) {
                return false;
            }
        }
    }
    return true;
}

TEST(LiveBrowser, WalksThePortalAndDownloadsTheLogWithTheSessionCookie) {
    PortalProcess portal(kToday);
    ASSERT_GT(portal.port(), 0);
    Fixture f;
    QTemporaryDir folder;
    await(logIn(f, portal.url(QStringLiteral("/")), QStringLiteral("demo")), kWalkLimit);

    // The start page completes twice (its frame, then itself): the grab fills the form only
    // at the second document complete.
    ASSERT_GE(f.heard.size(), 8u);
    EXPECT_EQ(f.heard[0], (Heard{{0}, portal.url(QStringLiteral("/frames/notice"))}));
    EXPECT_EQ(f.heard[1], (Heard{{}, portal.url(QStringLiteral("/"))}));

    // The top page's frames complete before the documents holding them, the top level last;
    // sisters complete in whatever order their loads end.
    const std::vector<Heard> afterLogIn(f.heard.end() - 6, f.heard.end());
    std::vector<Heard> expected{{{0}, portal.url(QStringLiteral("/frames/header"))},
                                {{1}, portal.url(QStringLiteral("/frames/menu"))},
                                {{2, 0}, portal.url(QStringLiteral("/frames/title"))},
                                {{2, 1}, portal.url(QStringLiteral("/nav"))},
                                {{2}, portal.url(QStringLiteral("/frames/work"))},
                                {{}, portal.url(QStringLiteral("/home"))}};
    EXPECT_TRUE(
        std::is_permutation(afterLogIn.begin(), afterLogIn.end(), expected.begin(), expected.end()))
        << ::testing::PrintToString(afterLogIn);
    EXPECT_TRUE(childrenBeforeParents(afterLogIn)) << ::testing::PrintToString(afterLogIn);
    EXPECT_EQ(afterLogIn.back().frame, FramePath{});

    const std::size_t before = f.heard.size();
    QStringList dropDowns;
    const QString link = await(detailsLink(f, "03", "15", &dropDowns), kWalkLimit);
    EXPECT_EQ(link,
              portal.url(QStringLiteral("/usage.csv?from=2013-04-03&to=2013-04-15")).toString());
    EXPECT_EQ(dropDowns, QStringLiteral("03 04 2013 15 04 2013").split(u' '));
    const QString fileName = folder.filePath(QStringLiteral("usage.htm"));
    const DownloadResult download = await(f.browser.download(QUrl(link), fileName), kWalkLimit);
    EXPECT_TRUE(download.completed) << download.error.toStdString();
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray::fromStdString(portal::usageLog(
                                  portal::usageRecords("demo", april(3), april(15)))));

    // Each click in the navigation frame completes that frame only.
    const std::vector<Heard> walkHeard(f.heard.begin() + std::ptrdiff_t(before), f.heard.end());
    ASSERT_EQ(walkHeard.size(), 3u);
    for (const Heard& h : walkHeard) {
        EXPECT_EQ(h.frame, (FramePath{2, 1}));
    }
    EXPECT_EQ(walkHeard[2].url.path(), u"/nav/usage");

    const auto navigated = [&](const QString& path, bool topLevel) {
        return std::count(f.navigations.begin(), f.navigations.end(),
                          std::pair(portal.url(path), topLevel)) == 1;
    };
    EXPECT_TRUE(navigated(QStringLiteral("/"), true));
    EXPECT_TRUE(navigated(QStringLiteral("/nav/services"), false));
    EXPECT_TRUE(navigated(QStringLiteral("/frames/work"), false));
    const QStringList parts = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(parts, QStringList{QStringLiteral("usage.htm")}) << "no partial file is left";
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
    PortalProcess portal(
        withToday({QStringLiteral("--omit"), id("aaab.NavigationView.LinkToAction38")}));
    Fixture f;
    await(logIn(f, portal.url(QStringLiteral("/")), QStringLiteral("demo")), kWalkLimit);
    const LiveDocument top = *await(f.browser.document());
    const LiveDocument nav = await(await(top.frame(2)).frame(1));
    const int before = int(f.heard.size());
    await(await(nav.elementById(id("aaab.NavigationView.ToolBarLinkToAction3")))->click());
    await(waitUntil([&] { return int(f.heard.size()) > before; }, "the services page"));

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

QCoro::Task<QString> showAndRead(Fixture& f, QUrl url) {
    const int before = f.topLevelCount();
    f.browser.navigate(url);
    co_await waitUntil([&] { return f.topLevelCount() > before; }, "the page");
    co_return co_await f.browser.documentOf(Browser::topLevel()).documentElement().innerText();
}

class LiveBrowserSilence : public ::testing::TestWithParam<bool> {};

TEST_P(LiveBrowserSilence, ScriptDialogsGoThroughTheDialogSeamUnlessSilent) {
    const bool silent = GetParam();
    RecordingDialogs dialogs;
    dialogs.answers = {MessageAnswer::Ok};
    ScopedDialogs installed(dialogs);
    Fixture f;
    f.browser.setSilent(silent);
    const QString text = await(showAndRead(
        f, QUrl(QStringLiteral(
               "data:text/html,<body><script>alert('hello');"
               "document.body.textContent='confirmed: '%2Bconfirm('sure?')</script></body>"))));
    if (silent) {
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_EQ(text, u"confirmed: false");
    } else {
        ASSERT_EQ(dialogs.messages.size(), 2u);
        EXPECT_EQ(dialogs.messages[0].text, u"hello");
        EXPECT_EQ(dialogs.messages[1].text, u"sure?");
        EXPECT_EQ(text, u"confirmed: true");
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, LiveBrowserSilence, ::testing::Bool(), [](const auto& p) {
    return std::string(p.param ? "Silent" : "NotSilent");
});

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
    const QString refused = QStringLiteral("the connection was refused");
    const Case cases[] = {
        {QWebEngineLoadingInfo::ConnectionErrorDomain, -102, "net::ERR_CONNECTION_REFUSED",
         refused},
        {QWebEngineLoadingInfo::DnsErrorDomain, -105, "net::ERR_NAME_NOT_RESOLVED",
         QStringLiteral("the host name could not be found")},
        {QWebEngineLoadingInfo::ConnectionErrorDomain, -101, "",
         QStringLiteral("the connection was reset")},
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
