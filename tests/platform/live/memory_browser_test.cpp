// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The in-memory browser and the handles written on the Browser interface: what the grab's
// tests will script, and the behaviour they may rely on (failures, frames, notification
// order, notifications arriving while a coroutine waits).

#include "support/qt_printers.h"
#include "support/task_runner.h"

#include "platform/memory_browser.h"

#include <gtest/gtest.h>

#include <QCoroTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <algorithm>

namespace kestrova {
namespace {

using testing::await;
using testing::runQueued;
using namespace std::chrono_literals;

// Lets the browser deliver everything it has queued, one notification per turn.
bool delivered(const MemoryBrowser& browser) {
    return testing::spinUntil([&] { return browser.pendingNotifications() == 0; }, 5s);
}

QUrl at(const char* path) {
    return QUrl(QStringLiteral("http://portal.test") + QLatin1String(path));
}

MemoryPage page(const char* path, const char* body, std::vector<MemoryPage> frames = {}) {
    return MemoryPage{
        at(path),
        QStringLiteral("<html><body>") + QString::fromUtf8(body) + QStringLiteral("</body></html>"),
        std::move(frames)};
}

// The portal's shape: the navigation view is frame 1 of frame 2.
MemoryPage portalTop(const char* navigation) {
    return page("/home", "<div id=\"welcome_message\">Welcome</div>",
                {page("/header", "header"), page("/menu", "menu"),
                 page("/work", "work", {page("/title", "title"), page("/nav", navigation)})});
}

struct Heard {
    FramePath frame;
    QUrl url;
    friend bool operator==(const Heard&, const Heard&) = default;
};

void PrintTo(const Heard& heard, std::ostream* out) {
    *out << describeFrame(heard.frame).toStdString() << ' ' << heard.url.toString().toStdString();
}

// Records the notifications of a browser, in order.
struct Listener {
    explicit Listener(Browser& browser) {
        QObject::connect(&browser, &Browser::documentComplete,
                         [this](const FrameHandle& frame, const QUrl& url) {
                             completions.push_back(Heard{frame.path(), url});
                             topLevel.push_back(frame == Browser::topLevel());
                         });
        QObject::connect(&browser, &Browser::beforeNavigate,
                         [this](const QUrl& url, bool) { navigations.push_back(url); });
    }
    std::vector<Heard> completions;
    std::vector<bool> topLevel;
    std::vector<QUrl> navigations;
};

TEST(MemoryBrowser, ShowsNoDocumentUntilAPageIsLoaded) {
    MemoryBrowser browser;
    EXPECT_FALSE(await(browser.document()));
    browser.load({}, page("/", "x"));
    EXPECT_TRUE(await(browser.document()));
    browser.clear();
    EXPECT_FALSE(await(browser.document()));
}

TEST(MemoryBrowser, NavigationLoadsTheRouteAndCompletesFramesBeforeTheirParentsTopLast) {
    MemoryBrowser browser;
    Listener heard(browser);
    browser.addRoute(at("/home"), portalTop("nav"));
    browser.navigate(at("/home"));
    EXPECT_TRUE(heard.completions.empty()) << "notifications come from the event loop";
    ASSERT_TRUE(delivered(browser));
    EXPECT_EQ(heard.navigations, std::vector<QUrl>{at("/home")});
    EXPECT_EQ(heard.completions, (std::vector<Heard>{{{0}, at("/header")},
                                                     {{1}, at("/menu")},
                                                     {{2, 0}, at("/title")},
                                                     {{2, 1}, at("/nav")},
                                                     {{2}, at("/work")},
                                                     {{}, at("/home")}}));
    EXPECT_EQ(heard.topLevel, (std::vector<bool>{false, false, false, false, false, true}));
    EXPECT_EQ(browser.navigations(), std::vector<QUrl>{at("/home")});
}

TEST(MemoryBrowser, NavigationWithoutARouteIsRecordedAndLoadsNothing) {
    MemoryBrowser browser;
    Listener heard(browser);
    browser.navigate(at("/nowhere"));
    ASSERT_TRUE(delivered(browser));
    runQueued();
    EXPECT_EQ(browser.navigations(), std::vector<QUrl>{at("/nowhere")});
    EXPECT_EQ(heard.navigations, std::vector<QUrl>{at("/nowhere")});
    EXPECT_TRUE(heard.completions.empty());
    EXPECT_FALSE(await(browser.document()));
}

QCoro::Task<LiveDocument> navigationFrame(Browser& browser) {
    const std::optional<LiveDocument> top = co_await browser.document();
    const LiveDocument work = co_await top->frame(2);
    co_return co_await work.frame(1);
}

TEST(MemoryBrowser, ReachesTheNavigationFrameAndItsElements) {
    MemoryBrowser browser;
    browser.load({}, portalTop("<a id=\"aaab.NavigationView.ToolBarLinkToAction3\" "
                               "href=\"/services\">Services</a>"));
    const LiveDocument nav = await(navigationFrame(browser));
    EXPECT_EQ(nav.framePath(), (FramePath{2, 1}));
    EXPECT_EQ(await(nav.url()), at("/nav"));
    const auto link =
        await(nav.elementById(QStringLiteral("aaab.NavigationView.ToolBarLinkToAction3")));
    ASSERT_TRUE(link);
    EXPECT_EQ(await(link->tagName()), u"A");
    EXPECT_EQ(await(link->value()), u"http://portal.test/services") << "a link's value is absolute";
    EXPECT_EQ(await(link->innerText()), u"Services");
    EXPECT_FALSE(await(nav.elementById(QStringLiteral("aaab.NavigationView.LinkToAction38"))));
    EXPECT_EQ(
        await(await(nav.requiredElement(QStringLiteral("aaab.NavigationView.ToolBarLinkToAction3")))
                  .value()),
        u"http://portal.test/services");
    EXPECT_THROW(await(nav.requiredElement(QStringLiteral("aaab.NavigationView.LinkToAction38"))),
                 Failure);
    EXPECT_EQ(await(await(browser.document())->frameCount()), 3);
}

struct FailureRow {
    const char* name;
    std::function<QCoro::Task<>(Browser&)> call;
    const char* description;
};

void PrintTo(const FailureRow& row, std::ostream* out) {
    *out << row.name;
}

// Built outside the coroutines: g++ 12 rejects braced lists in a coroutine body.
LiveElement byId(Browser& browser, FramePath frame, const char* elementId) {
    return LiveElement(&browser, std::move(frame),
                       {ElementStep{ElementStep::Kind::Id, QString::fromLatin1(elementId), 0}});
}

const FramePath kNavigationFrame{2, 1};
const FramePath kNoSuchFrame{2, 7, 0};

QCoro::Task<> clickMissing(Browser& browser) {
    co_await byId(browser, kNavigationFrame, "gone").click();
}
QCoro::Task<> frameFive(Browser& browser) {
    co_await (co_await browser.document())->frame(5);
}
QCoro::Task<> deepFrame(Browser& browser) {
    co_await browser.documentOf(FrameHandle(kNoSuchFrame)).url();
}
QCoro::Task<> childTooFar(Browser& browser) {
    const auto table =
        co_await browser.documentOf(Browser::topLevel()).elementById(QStringLiteral("t"));
    const LiveElement row = co_await table->row(0);
    co_await row.cell(2);
}
QCoro::Task<> rowsOfADiv(Browser& browser) {
    co_await (co_await browser.documentOf(Browser::topLevel())
                  .elementById(QStringLiteral("welcome_message")))
        ->rowCount();
}
QCoro::Task<> closedBrowser(Browser&) {
    co_await LiveElement().click();
}

class MemoryBrowserFailure : public ::testing::TestWithParam<FailureRow> {};

TEST_P(MemoryBrowserFailure, MissingObjectsMakeTheAwaitedCallThrowWithADescription) {
    MemoryBrowser browser;
    MemoryPage top = portalTop("nav");
    top.html = QStringLiteral(
        "<html><body><div id=\"welcome_message\">Hi</div>"
        "<table id=\"t\"><tr><td>a</td><td>b</td></tr></table></body></html>");
    browser.load({}, top);
    try {
        await(GetParam().call(browser));
        ADD_FAILURE() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.description(), QString::fromUtf8(GetParam().description));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MemoryBrowserFailure,
    ::testing::Values(
        FailureRow{"ElementGone", clickMissing,
                   "There is no element \"gone\" in frames[2].frames[1]"},
        FailureRow{"NoSuchFrame", frameFive, "Frame 5 of the top document does not exist"},
        FailureRow{"NoSuchInnerFrame", deepFrame, "Frame 7 of frames[2] does not exist"},
        FailureRow{"NoSuchCell", childTooFar,
                   "There is no element \"t\", row 0, cell 2 in the top document"},
        FailureRow{"NotATable", rowsOfADiv, "The DIV element is not a table: it has no rows"},
        FailureRow{"NoBrowser", closedBrowser,
                   "Clicking the document in the top document failed: the browser is closed"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(MemoryBrowser, AHandleFindsItsElementAgainAfterANavigation) {
    MemoryBrowser browser;
    browser.load({}, page("/a", "<input id=\"f\" value=\"first\">"));
    const auto field = await(await(browser.document())->elementById(QStringLiteral("f")));
    ASSERT_TRUE(field);
    browser.load({}, page("/b", "<input id=\"f\" value=\"second\">"));
    EXPECT_EQ(await(field->value()), u"second");
    browser.load({}, page("/c", "nothing"));
    EXPECT_THROW(await(field->value()), Failure);
}

TEST(MemoryBrowser, ValuesOfFieldsDropDownsAndLinksAreReadAndSet) {
    MemoryBrowser browser;
    browser.load({}, page("/f",
                          "<input id=\"user\"><select id=\"day\"><option value=\"01\">1"
                          "<option value=\"02\" selected>2<option value=\"03\">3</select>"
                          "<a id=\"go\" href=\"usage.csv?from=1\">go</a>"));
    const LiveDocument doc = *await(browser.document());
    const LiveElement user = *await(doc.elementById(QStringLiteral("user")));
    const LiveElement day = *await(doc.elementById(QStringLiteral("day")));
    const LiveElement go = *await(doc.elementById(QStringLiteral("go")));
    EXPECT_EQ(await(day.value()), u"02");
    await(user.setValue(QStringLiteral("demo")));
    await(day.setValue(QStringLiteral("03")));
    EXPECT_EQ(await(user.value()), u"demo");
    EXPECT_EQ(await(day.value()), u"03");
    EXPECT_EQ(await(go.value()), u"http://portal.test/usage.csv?from=1");
    EXPECT_EQ(browser.documentAt({})->elementById(QStringLiteral("user"))->value(), u"demo")
        << "the test sees what the handle set";
}

TEST(MemoryBrowser, TablesAreWalkedByNameChildRowAndCell) {
    MemoryBrowser browser;
    browser.load({}, page("/t",
                          "<form name=\"SWEForm2_0\"><div><span>t</span><b>x</b>"
                          "<table><tr><td><table><tr><th>H</th></tr>"
                          "<tr><td>17-04-2013 10:20:05</td><td>2</td></tr></table>"
                          "</td></tr></table></div></form>"));
    const LiveDocument doc = *await(browser.document());
    const std::vector<LiveElement> forms = await(doc.elementsByName(QStringLiteral("SWEForm2_0")));
    ASSERT_EQ(forms.size(), 1u);
    const LiveElement div = await(forms[0].child(0));
    EXPECT_EQ(await(div.childCount()), 3);
    const LiveElement outer = await(div.child(2));
    const LiveElement log = await(await(await(outer.row(0)).cell(0)).child(0));
    EXPECT_EQ(await(log.rowCount()), 2);
    const LiveElement entry = await(log.row(1));
    EXPECT_EQ(await(entry.cellCount()), 2);
    EXPECT_EQ(await(await(entry.cell(0)).innerText()), u"17-04-2013 10:20:05");
    EXPECT_EQ(await(doc.elementsByTagName(QStringLiteral("Table"))).size(), 2u);
}

TEST(MemoryBrowser, ALinkClickLoadsItsRouteIntoItsOwnFrameOnly) {
    MemoryBrowser browser;
    browser.load({}, portalTop("<a id=\"next\" href=\"/services\">next</a>"));
    browser.addRoute(at("/services"),
                     page("/services", "<a id=\"aaab.NavigationView.LinkToAction38\">x</a>"));
    ASSERT_TRUE(delivered(browser));
    Listener heard(browser);
    const LiveDocument nav = await(navigationFrame(browser));
    await((*await(nav.elementById(QStringLiteral("next")))).click());
    ASSERT_TRUE(delivered(browser));
    EXPECT_EQ(heard.completions, (std::vector<Heard>{{{2, 1}, at("/services")}}));
    EXPECT_TRUE(await(nav.elementById(QStringLiteral("aaab.NavigationView.LinkToAction38"))));
    EXPECT_TRUE(browser.documentAt({})->elementById(QStringLiteral("welcome_message")))
        << "the top document stays";
    ASSERT_EQ(browser.clicks().size(), 1u);
    EXPECT_EQ(browser.clicks()[0].id, u"next");
    EXPECT_EQ(browser.clicks()[0].frame, (FramePath{2, 1}));
}

TEST(MemoryBrowser, AClickReactionSeesTheFormAsTheHandlesLeftIt) {
    MemoryBrowser browser;
    browser.load({}, page("/",
                          "<input id=\"logonuidfield\"><input id=\"logonpassfield\">"
                          "<input type=\"submit\" id=\"uidPasswordLogon\">"));
    QString submitted;
    browser.setClickReaction(
        QStringLiteral("uidPasswordLogon"), [&](MemoryBrowser& b, const MemoryClick&) {
            const auto doc = b.documentAt({});
            submitted = doc->elementById(QStringLiteral("logonuidfield"))->value() + u'/' +
                        doc->elementById(QStringLiteral("logonpassfield"))->value();
            b.load({}, portalTop("nav"));
        });
    const LiveDocument doc = *await(browser.document());
    await((*await(doc.elementById(QStringLiteral("logonuidfield"))))
              .setValue(QStringLiteral("demo")));
    await(
        (*await(doc.elementById(QStringLiteral("logonpassfield")))).setValue(QStringLiteral("pw")));
    await((*await(doc.elementById(QStringLiteral("uidPasswordLogon")))).click());
    EXPECT_EQ(submitted, u"demo/pw");
    EXPECT_TRUE(await(doc.elementById(QStringLiteral("welcome_message"))));
}

// The grab's pattern: a handler waits, a notification arriving meanwhile runs as its own
// handler and changes the state, and the waiting handler sees the change after its wait.
struct Machine {
    int state = 2;
    QStringList log;

    QCoro::Task<> onComplete(Browser& browser, FrameHandle frame) {
        const LiveDocument top = browser.documentOf(Browser::topLevel());
        if (co_await top.elementById(QStringLiteral("welcome_message"))) {
            state = 2;
        }
        if (state != 2 || frame != Browser::topLevel()) {
            log << QStringLiteral("frame handler, state %1").arg(state);
            co_return;
        }
        state = 3;
        log << QStringLiteral("walk: clicked, state 3");
        co_await QCoro::sleepFor(100ms);
        log << QStringLiteral("walk: after the wait, state %1").arg(state);
    }
};

class MemoryBrowserNestedNotification : public ::testing::TestWithParam<bool> {};

TEST_P(MemoryBrowserNestedNotification, ChangesTheStateTheWaitingHandlerTestsAfterItsWait) {
    const bool frameCompletesDuringTheWait = GetParam();
    MemoryBrowser browser;
    Machine machine;
    std::vector<QCoro::Task<>> handlers;
    QObject::connect(&browser, &Browser::documentComplete,
                     [&](const FrameHandle& frame, const QUrl&) {
                         handlers.push_back(machine.onComplete(browser, frame));
                     });
    browser.load({}, portalTop("nav"));
    ASSERT_TRUE(testing::spinUntil(
        [&] { return machine.log.contains(QStringLiteral("walk: clicked, state 3")); }, 5s));
    ASSERT_EQ(machine.state, 3) << "the walk is waiting";
    if (frameCompletesDuringTheWait) {
        browser.load({2, 1}, page("/services", "services"));
    }
    ASSERT_TRUE(testing::spinUntil(
        [&] {
            return browser.pendingNotifications() == 0 &&
                   std::all_of(handlers.begin(), handlers.end(),
                               [](const QCoro::Task<>& handler) { return handler.isReady(); });
        },
        5s));
    EXPECT_EQ(machine.log.last(), frameCompletesDuringTheWait ? u"walk: after the wait, state 2"
                                                              : u"walk: after the wait, state 3");
    EXPECT_EQ(machine.log.count(QStringLiteral("frame handler, state 2")),
              frameCompletesDuringTheWait ? 6 : 5);
    for (const QCoro::Task<>& handler : handlers) {
        EXPECT_TRUE(handler.isReady());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MemoryBrowserNestedNotification, ::testing::Bool(),
                         [](const auto& p) {
                             return std::string(p.param ? "FrameCompletes" : "NothingArrives");
                         });

TEST(MemoryBrowser, HeldNotificationsWaitUntilTheTestDeliversThem) {
    MemoryBrowser browser;
    browser.setHoldNotifications(true);
    Listener heard(browser);
    browser.load({}, page("/a", "a", {page("/f", "f")}));
    runQueued();
    EXPECT_TRUE(heard.completions.empty());
    EXPECT_EQ(browser.pendingNotifications(), 2);
    browser.deliverNotifications();
    EXPECT_EQ(heard.completions, (std::vector<Heard>{{{0}, at("/f")}, {{}, at("/a")}}));
    browser.load({0}, page("/g", "g"));
    browser.setHoldNotifications(false);
    ASSERT_TRUE(delivered(browser));
    EXPECT_EQ(heard.completions.back(), (Heard{{0}, at("/g")}));
}

TEST(MemoryBrowser, QueuedNotificationsInterleaveWithAwaitedCalls) {
    MemoryBrowser browser;
    std::vector<QString> order;
    QObject::connect(&browser, &Browser::documentComplete,
                     [&](const FrameHandle& frame, const QUrl&) {
                         order.push_back(describeFrame(frame.path()));
                     });
    browser.load({}, page("/a", "<p id=\"p\">x</p>", {page("/f", "f")}));
    const auto run = [&]() -> QCoro::Task<> {
        const LiveDocument doc = browser.documentOf(Browser::topLevel());
        co_await doc.elementById(QStringLiteral("p"));
        order.push_back(QStringLiteral("first call answered"));
        co_await doc.elementById(QStringLiteral("p"));
        order.push_back(QStringLiteral("second call answered"));
    };
    await(run());
    EXPECT_EQ(order,
              (std::vector<QString>{
                  QStringLiteral("frames[0]"), QStringLiteral("first call answered"),
                  QStringLiteral("the top document"), QStringLiteral("second call answered")}));
}

TEST(MemoryBrowser, NotifyDocumentCompleteEmitsAtOnce) {
    MemoryBrowser browser;
    browser.setHoldNotifications(true);
    browser.load({}, portalTop("nav"));
    Listener heard(browser);
    browser.notifyDocumentComplete({2, 1});
    EXPECT_EQ(heard.completions, (std::vector<Heard>{{{2, 1}, at("/nav")}}));
    EXPECT_THROW(browser.notifyDocumentComplete({4}), Failure);
}

TEST(MemoryBrowser, AnswersImmediatelyWhenToldTo) {
    MemoryBrowser browser;
    browser.setAnswersImmediately(true);
    browser.load({}, page("/a", "<p id=\"p\">x</p>"));
    QCoro::Task<std::optional<LiveElement>> task =
        browser.documentOf(Browser::topLevel()).elementById(QStringLiteral("p"));
    EXPECT_TRUE(task.isReady());
    EXPECT_EQ(browser.performedCalls(), 1);
}

TEST(MemoryBrowser, ACallOutlivingItsBrowserFailsInsteadOfCrashing) {
    auto browser = std::make_unique<MemoryBrowser>();
    browser->load({}, page("/a", "<p id=\"p\">x</p>"));
    QCoro::Task<std::optional<LiveElement>> pending =
        browser->documentOf(Browser::topLevel()).elementById(QStringLiteral("p"));
    browser.reset();
    EXPECT_THROW(await(std::move(pending)), Failure);
}

TEST(MemoryBrowser, SnapshotCopiesFramesAndForwardsClicksToTheLiveElement) {
    MemoryBrowser browser;
    browser.load({}, portalTop("<table><tr><td>17-04-2013 10:20:05</td></tr></table>"
                               "<a id=\"next\" href=\"/page2\">Next</a>"));
    browser.addRoute(at("/page2"), page("/page2", "<b id=\"two\">page 2</b>"));
    const std::shared_ptr<HtmlDocument> copy =
        await(browser.documentOf(Browser::topLevel()).snapshot());
    ASSERT_EQ(copy->frameCount(), 3);
    const DocumentPtr nav = copy->frame(2)->frame(1);
    EXPECT_EQ(nav->elementsByTagName(QStringLiteral("td")).item(0)->innerText(),
              u"17-04-2013 10:20:05");
    EXPECT_TRUE(copy->elementById(QStringLiteral("welcome_message")));

    nav->elementById(QStringLiteral("next"))->click();
    ASSERT_TRUE(testing::spinUntil([&] { return !browser.clicks().empty(); }, 5s));
    ASSERT_TRUE(delivered(browser));
    ASSERT_EQ(browser.clicks().size(), 1u);
    EXPECT_EQ(browser.clicks()[0].id, u"next");
    EXPECT_EQ(browser.clicks()[0].frame, (FramePath{2, 1}));
    EXPECT_TRUE(browser.documentAt({2, 1})->elementById(QStringLiteral("two")));
    EXPECT_FALSE(nav->elementById(QStringLiteral("two"))) << "the copy stays as it was";
}

TEST(MemoryBrowser, AForwardedClickOnAPageThatHasGoneIsReported) {
    MemoryBrowser browser;
    browser.load({}, page("/a", "<a id=\"next\" href=\"/b\">Next</a>"));
    const std::shared_ptr<HtmlDocument> copy =
        await(browser.documentOf(Browser::topLevel()).snapshot());
    browser.load({}, page("/b", "other page"));
    QSignalSpy failed(&browser, &Browser::forwardedClickFailed);
    copy->elementById(QStringLiteral("next"))->click();
    ASSERT_TRUE(testing::spinUntil([&] { return !failed.isEmpty(); }, 5s));
    runQueued();
    ASSERT_EQ(failed.count(), 1);
    EXPECT_TRUE(failed.at(0).at(0).toString().startsWith(u"There is no copied element"));
    EXPECT_TRUE(browser.clicks().empty());
}

TEST(MemoryBrowser, ASecondSnapshotKeepsTheNumbersOfTheFirst) {
    MemoryBrowser browser;
    browser.load({}, page("/a", "<a id=\"x\" href=\"/b\">x</a>"));
    const auto first = await(browser.documentOf(Browser::topLevel()).snapshot());
    const auto second = await(browser.documentOf(Browser::topLevel()).snapshot());
    const QString attribute = QString::fromUtf16(kSnapshotRefAttribute);
    EXPECT_EQ(first->elementById(QStringLiteral("x"))->attribute(attribute),
              second->elementById(QStringLiteral("x"))->attribute(attribute));
    first->elementById(QStringLiteral("x"))->click();
    EXPECT_TRUE(testing::spinUntil([&] { return browser.clicks().size() == 1u; }, 5s));
}

TEST(MemoryBrowser, DownloadWritesTheScriptedFileAndAFailureLeavesTheOldOne) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("usage.htm"));
    MemoryBrowser browser;
    browser.setDownload(at("/log"), QByteArray("Date,Time\r\n1,2\r\n"));
    browser.setDownloadFailure(at("/broken"), QStringLiteral("Server problem"));

    const DownloadResult ok = await(browser.download(at("/log"), file));
    EXPECT_TRUE(ok.completed);
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("Date,Time\r\n1,2\r\n"));
    written.close();

    const DownloadResult failed = await(browser.download(at("/broken"), file));
    EXPECT_FALSE(failed.completed);
    EXPECT_EQ(failed.error, u"Server problem");
    const DownloadResult unscripted = await(browser.download(at("/other"), file));
    EXPECT_FALSE(unscripted.completed);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("Date,Time\r\n1,2\r\n"));
    EXPECT_EQ(browser.downloads().size(), 3u);
}

TEST(BrowserDescriptions, NameFramesAndElementsAsAReaderWould) {
    EXPECT_EQ(describeFrame({}), u"the top document");
    EXPECT_EQ(describeFrame({2, 1}), u"frames[2].frames[1]");
    EXPECT_EQ(
        describeLocator({ElementStep{ElementStep::Kind::Name, QStringLiteral("SWEForm2_0"), 0},
                         ElementStep{ElementStep::Kind::Child, {}, 0},
                         ElementStep{ElementStep::Kind::Row, {}, 1},
                         ElementStep{ElementStep::Kind::Cell, {}, 4}}),
        u"element named \"SWEForm2_0\" (item 0), child 0, row 1, cell 4");
    EXPECT_EQ(describeCall(DomCall{{2, 1},
                                   {ElementStep{ElementStep::Kind::Id, QStringLiteral("x"), 0}},
                                   DomOperation::Value,
                                   {}}),
              u"Reading the value of element \"x\" in frames[2].frames[1]");
}

}  // namespace
}  // namespace kestrova
