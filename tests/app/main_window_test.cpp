// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window offscreen, on the in-memory browser and the result window's plain report
// view: its controls, the settings it loads and saves, the cache page's report through the
// result window, the small commands, the panel option, and both windows' layout.

#include "app/main_window.h"
#include "app/cache_history_view.h"
#include "controls/busy_bar.h"
#include "grab/usage_check.h"

#include "support/accessible_tree.h"
#include "support/keyboard_check.h"
#include "support/layout_check.h"
#include "support/qt_printers.h"
#include "support/scale.h"
#include "support/scoped_font.h"
#include "support/task_runner.h"

#include "controls/tab_strip.h"
#include "platform/dialogs.h"
#include "platform/password_store.h"
#include "platform/program_folder.h"
#include "platform/settings_store.h"
#include "platform/twips.h"
#include "results/last_check.h"
#include "results/window/chart_tab.h"
#include "results/window/report_view.h"
#include "results/window/summary_page.h"
#include "retrieval/cache_file.h"
#include "retrieval/row_text.h"
#include "support/memory_browser.h"
#include "support/month_on_screen.h"
#include "tray/autostart.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace kestrova {
namespace {

using namespace std::chrono_literals;
using testing::spinUntil;

using kestrova::test::q;

QString sampleCache() {
    return QStringLiteral(KESTROVA_SOURCE_DIR) + q("/samples/2026-11-unbilled-demo.cache2");
}

Deployment testDeployment() {
    Deployment d;
    d.northHost = q("north.portal.test");
    d.westHost = q("west.portal.test");
    d.plansPage = q("https://plans.portal.test/");
    d.postpaidPlansPage = q("https://plans.portal.test/postpaid");
    d.homePage = q("https://home.test/");
    d.obtainedFrom = q("Get it from home.test.");
    return d;
}

// The program as the panel option starts it and its autostart entry names it.
const QString kProgram = QStringLiteral("/opt/kestrova tools/bin/kestrova");

// The window owns its password store; the test's keyring outlives every window.
class KeyringProxy : public PasswordStore {
public:
    explicit KeyringProxy(MemoryPasswordStore& keyring) : m_keyring(keyring) {}
    QCoro::Task<SecretAnswer> read(QString user) override { return m_keyring.read(user); }
    QCoro::Task<SecretAnswer> write(QString user, QString password) override {
        return m_keyring.write(user, password);
    }
    QCoro::Task<SecretAnswer> remove(QString user) override { return m_keyring.remove(user); }

private:
    MemoryPasswordStore& m_keyring;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings(SettingsStore().fileName(), QSettings::IniFormat).clear();
        QDir folder(programFolder());
        for (const QString& name : folder.entryList(QDir::Files)) {
            folder.remove(name);
        }
    }

    // The window on the in-memory browser and keyring, links opened by the platform, the panel
    // as the desktop or `tray` says, programs started only in `started`.
    MainWindowOptions windowOptions() {
        MainWindowOptions options;
        options.deployment = testDeployment();
        if (tray) {
            options.trayAvailability = [this] { return *tray; };
        }
        options.program = kProgram;
        options.startDetached = [this](const QString& program, const QStringList& arguments) {
            started << (QStringList{program} + arguments).join(u' ');
            return true;
        };
        options.portalBrowser = [this] {
            auto memory = std::make_unique<MemoryBrowser>();
            browser = memory.get();
            return PortalBrowser{std::move(memory), nullptr};
        };
        options.result.reportView = [](QWidget* p) { return new ReportView(p); };
        options.result.clock = [] { return QDate(2026, 12, 20); };
        options.passwordStore = [this] { return std::make_unique<KeyringProxy>(keyring); };
        return options;
    }

    std::unique_ptr<MainWindow> open() {
        MainWindowOptions options = windowOptions();
        options.openUrl = [this](const QUrl& url) {
            opened << url.toString();
            return browserOpens;
        };
        auto w = std::make_unique<MainWindow>(std::move(options));
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return w;
    }

    QString inFolder(const QString& name) const { return inProgramFolder(programFolder(), name); }

    void copySampleCache(const QString& item) const {
        ASSERT_TRUE(QFile::copy(sampleCache(), inFolder(item + kCacheExtension)));
    }

    // The cache page's report: "Show Usage", then the result window once Timer1 has ticked.
    void showCacheReport(MainWindow& w) {
        w.tabStrip()->setSelectedTab(2);
        QTest::mouseClick(w.showUsageButton(), Qt::LeftButton);
        ASSERT_TRUE(spinUntil([&] { return w.resultWindow().isVisible(); }, 5s))
            << dialogs.texts().join(u'|').toStdString();
    }

    void closeResult(MainWindow& w) {
        QTest::mouseClick(w.resultWindow().closeButton(), Qt::LeftButton);
        ASSERT_TRUE(spinUntil([&] { return !w.isShowingOutput(); }, 5s));
    }

    // The settings file as an earlier run (or a damaged disk) left it.
    static void storeSettings(std::initializer_list<std::pair<const char*, QString>> values) {
        SettingsStore store;
        for (const auto& [key, value] : values) {
            store.save(q(key), value);
        }
        store.sync();
    }

    // A remembered password as versions before the keyring kept it: scrambled in the file.
    std::unique_ptr<MainWindow> openOnAPasswordKeptTheOldWay() {
        storeSettings({{"txtUserName", q("abc")},
                       {"txtPasswordnew", scramblePassword(q("old s3cret"))},
                       {"chkSavePassword", q("1")}});
        auto w = open();
        EXPECT_EQ(w->passwordEdit()->text(), q("old s3cret"));
        return w;
    }

    // Whether the settings file holds `text` anywhere, in any key.
    static bool settingsFileHolds(const char* text) {
        QFile file(SettingsStore().fileName());
        return file.open(QIODevice::ReadOnly) && file.readAll().contains(text);
    }

    RecordingDialogs dialogs;
    ScopedDialogs seam{dialogs};
    MemoryPasswordStore keyring;  // outlives the windows, as the desktop's does
    MemoryBrowser* browser = nullptr;
    QStringList opened;
    bool browserOpens = true;
    std::optional<TrayAvailability> tray;
    QStringList started;
};

// --- The window as it stands ---------------------------------------------------------------------

TEST_F(MainWindowTest, AFirstStartShowsTheWindowAsDesigned) {
    auto w = open();
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().join(u'|').toStdString();
    EXPECT_EQ(w->selfcaresiteCombo()->currentIndex(), -1);
    EXPECT_EQ(w->selfcaresiteCombo()->itemText(1), q("west.portal.test"));
    EXPECT_FALSE(w->billedCombo()->isEnabled());
    EXPECT_TRUE(w->passwordWarningLabel()->text().endsWith(q("Get it from home.test.")));
    EXPECT_EQ(browser->navigations(), std::vector<QUrl>{QUrl(q("about:blank"))});
    // The design size, in twips.
    EXPECT_EQ(std::lround(w->width() * twipsPerPixelX()), 9900);
    EXPECT_EQ(std::lround(w->height() * twipsPerPixelY()), 9000);
}

TEST_F(MainWindowTest, BilledUsageEnablesTheBillingListAndChoosesTheBilledForm) {
    auto w = open();
    QTest::mouseClick(w->billedTypeOption(1), Qt::LeftButton);
    EXPECT_TRUE(w->billedCombo()->isEnabled());
    EXPECT_FALSE(w->state().unbilledSelected);
    QTest::mouseClick(w->billedTypeOption(0), Qt::LeftButton);
    EXPECT_FALSE(w->billedCombo()->isEnabled());
    EXPECT_TRUE(w->state().unbilledSelected);
}

// --- Settings ------------------------------------------------------------------------------------

TEST_F(MainWindowTest, APasswordKeptTheOldWayMovesIntoTheKeyringAndOutOfTheFile) {
    auto w = openOnAPasswordKeptTheOldWay();
    EXPECT_EQ(keyring.kept[q("abc")], q("old s3cret"));
    EXPECT_TRUE(SettingsStore().get(q("txtPasswordnew"), q("x")).isEmpty());
    EXPECT_FALSE(settingsFileHolds(scramblePassword(q("old s3cret")).toUtf8().constData()));
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().join(u'|').toStdString();
}

TEST_F(MainWindowTest, WithoutAKeyringThePasswordIsKeptForTheSessionAndSaidOnce) {
    keyring.unavailable = q("no desktop keyring is running");
    auto w = openOnAPasswordKeptTheOldWay();  // for this session
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, q("Remember password"));
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(
        q("Kestrova cannot remember your password: no desktop keyring is running.")));
    // Ticking the box again asks the keyring again, but says it no more.
    w->savePasswordCheck()->setChecked(false);
    QTest::mouseClick(w->savePasswordCheck(), Qt::LeftButton);
    EXPECT_TRUE(w->savePasswordCheck()->isChecked());
    EXPECT_EQ(dialogs.messages.size(), 1u);
    w->close();
    // Never the file instead.
    EXPECT_TRUE(SettingsStore().get(q("txtPasswordnew"), q("x")).isEmpty());
    EXPECT_FALSE(settingsFileHolds(scramblePassword(q("old s3cret")).toUtf8().constData()));
    EXPECT_TRUE(keyring.kept.empty());
}

TEST_F(MainWindowTest, TheOptionsAndTheWindowComeBackAfterARestartButNotAMinimisedSize) {
    {
        auto w = open();
        w->selfcaresiteCombo()->setCurrentIndex(1);
        w->planTypeCombo()->setCurrentIndex(2);
        w->enableCacheCheck()->setChecked(true);
        w->state().display.showAverage = true;
        w->state().display.colorBackMixed = RGB(1, 2, 3);
        w->tabStrip()->setSelectedTab(2);
        w->resize(700, 500);
        w->move(40, 30);
        QSignalSpy ended(w.get(), &MainWindow::programEnded);
        QTest::mouseClick(w->cacheCloseButton(), Qt::LeftButton);  // the cache page's "Close"
        EXPECT_EQ(ended.count(), 1);
    }
    auto w = open();
    EXPECT_EQ(w->selfcaresiteCombo()->currentIndex(), 1);
    EXPECT_EQ(w->planTypeCombo()->currentIndex(), 2);
    // "Enable Cache" shows the stored value, and the caching flag follows it.
    EXPECT_TRUE(w->enableCacheCheck()->isChecked());
    EXPECT_TRUE(w->state().cachingEnabled);
    EXPECT_TRUE(w->state().display.showAverage);
    EXPECT_EQ(w->state().display.colorBackMixed, RGB(1, 2, 3));
    EXPECT_EQ(w->tabStrip()->selectedTab(), 2);
    EXPECT_EQ(w->size(), QSize(700, 500));
    EXPECT_EQ(w->pos(), QPoint(40, 30));

    // A minimised close keeps the old geometry but stores the rest.
    w->resize(300, 200);
    w->showMinimized();
    ASSERT_TRUE(w->isMinimized());
    w->userNameEdit()->setText(q("later"));
    w->close();
    w.reset();
    w = open();
    EXPECT_EQ(w->size(), QSize(700, 500));
    EXPECT_EQ(w->userNameEdit()->text(), q("later"));
}

// A figure beyond any number (which once aborted the program before its window) and places
// beyond any screen (which overflowed the window's rectangle) get their defaults, all told in
// one message, as are a place and a plan type that are no number at all; the next close stores
// the defaults. (Once, the first value that did not convert ended the load there: the later
// settings and the cache list were skipped.)
TEST_F(MainWindowTest, SettingsNoFigureOrPlaceCanHoldAreToldOnceAndTheWindowStarts) {
    copySampleCache(q("2026-11-unbilled-demo"));
    storeSettings({{"txtUserName", q("abc")},
                   {"PlanType", q("Limited")},
                   {"nebRsPerMB", q("1e36")},
                   {"Left", q("32000000000")},
                   {"Width", q("1000000000")},
                   {"frmResult.Left", q("32000000000")},
                   {"frmResult.Top", q("top")}});
    auto w = open();
    ASSERT_EQ(dialogs.messages.size(), 1u) << dialogs.texts().join(u'|').toStdString();
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::None);
    const QString told = dialogs.messages[0].text;
    EXPECT_EQ(told.count(u'\n'), 5) << told.toStdString();
    for (const char* key :
         {"\"Left\" (\"32000000000\")", "\"Width\"", "\"nebRsPerMB\" (\"1e36\")",
          "\"frmResult.Left\"", "\"frmResult.Top\" (\"top\")", "\"PlanType\" (\"Limited\")"}) {
        EXPECT_TRUE(told.contains(q(key))) << key;
    }
    EXPECT_EQ(w->planTypeCombo()->currentIndex(), 0);
    EXPECT_EQ(w->userNameEdit()->text(), q("abc"));
    EXPECT_EQ(w->cacheFilesCombo()->count(), 1);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(w->geometry().topLeft()));

    showCacheReport(*w);
    EXPECT_EQ(dialogs.messages.size(), 1u) << dialogs.texts().join(u'|').toStdString();
    EXPECT_TRUE(screen.intersects(w->resultWindow().geometry()));
    closeResult(*w);
    w->close();
    EXPECT_EQ(SettingsStore().get(q("nebRsPerMB"), QString()), q("0.2"));
    for (const char* key : {"Left", "Width", "frmResult.Left"}) {
        bool ok = false;
        const double twips = SettingsStore().get(q(key), QString()).toDouble(&ok);
        EXPECT_TRUE(ok && std::fabs(twips) < 1e6) << key;
    }
}

// --- The check command ---------------------------------------------------------------------------

// The login fields filled and the north portal chosen.
void fillLogIn(MainWindow& w, const char* user, const char* password) {
    w.selfcaresiteCombo()->setCurrentIndex(0);
    w.userNameEdit()->setText(q(user));
    w.passwordEdit()->setText(q(password));
}

// The north portal's log-in page; it completes twice, its notice frame first, as the portal's
// does.
MemoryPage logInPage() {
    return MemoryPage{QUrl(q("http://north.portal.test/")),
                      q("<html><body><input id=\"logonuidfield\"><input id=\"logonpassfield\">"
                        "<input id=\"uidPasswordLogon\" type=\"submit\"></body></html>"),
                      {MemoryPage{QUrl(q("http://north.portal.test/notice")),
                                  q("<html><body>notice</body></html>"),
                                  {}}}};
}

// Nothing goes to the portal; a user id of blanks is none.
TEST_F(MainWindowTest, EmptyCredentialsAreAskedForWithTheFocusOnTheEmptyBox) {
    auto w = open();
    const struct {
        const char* user;
        const char* password;
        bool userFocused;
    } rows[] = {{"", "secret", true}, {"   ", "secret", true}, {"abc", "", false}, {"", "", true}};
    for (const auto& row : rows) {
        dialogs.messages.clear();
        fillLogIn(*w, row.user, row.password);
        QTest::mouseClick(w->calculateButton(), Qt::LeftButton);
        EXPECT_EQ(dialogs.messages, (std::vector<Message>{{q("Type your user id and password."),
                                                           QString(), MessageIcon::Information}}))
            << "\"" << row.user << "\" / \"" << row.password << "\"";
        EXPECT_EQ(QApplication::focusWidget(),
                  row.userFocused ? w->userNameEdit() : w->passwordEdit());
        EXPECT_EQ(w->portalTabs()->selectedTab(), 1);
        EXPECT_EQ(browser->navigations().size(), 1u);
    }
}

// The moving bar of a check repaints once a step of its own, a few times a second, not at the
// screen's rate: every repaint of a window holding a web view composes the whole window again
// on the thread that also loads the portal's pages, and with software OpenGL on Wayland that
// made the walk to the usage page 25 times slower.
TEST_F(MainWindowTest, TheBusyBarRepaintsOnlyWhenItsBlockSteps) {
    auto w = open();
    fillLogIn(*w, "abc", "secret");
    QTest::mouseClick(w->calculateButton(), Qt::LeftButton);
    auto* bar = qobject_cast<BusyBar*>(w->prgGrabBusy());
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 0) << "read as busy, with no known end";

    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    bar->installEventFilter(&counter);
    const int from = bar->steps();
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->steps() >= from + 5; }, 10000));
    EXPECT_GE(counter.paints, 2) << "the bar moves";
    EXPECT_LE(counter.paints, bar->steps() - from + 2);
}

// Once, the password went to the keyring only at close, and the program ended before the
// keyring had it. Now it is kept as soon as the portal has accepted it, and unticking the box
// takes it out at once; a password the portal refused is not kept at close.
TEST_F(MainWindowTest, ThePasswordIsKeptOnceThePortalAcceptsItAndUntickingRemovesIt) {
    auto w = open();
    const MemoryPage logIn = logInPage();
    const MemoryPage welcome{QUrl(q("http://north.portal.test/home")),
                             q("<html><body><p id=\"welcome_message\">Welcome</p></body></html>"),
                             {}};
    browser->addRoute(logIn.url, logIn);
    browser->setClickReaction(q("uidPasswordLogon"), [&](MemoryBrowser& b, const MemoryClick&) {
        const bool right = w->passwordEdit()->text() == u"right";
        b.load({}, right ? welcome : logIn);
    });
    fillLogIn(*w, "abc", "wrong");
    w->savePasswordCheck()->setChecked(true);
    QTest::mouseClick(w->calculateButton(), Qt::LeftButton);
    ASSERT_TRUE(spinUntil([&] { return !dialogs.messages.empty(); }, 5s));
    EXPECT_TRUE(keyring.kept.empty());

    dialogs.messages.clear();
    fillLogIn(*w, "abc", "right");
    QTest::mouseClick(w->calculateButton(), Qt::LeftButton);
    ASSERT_TRUE(spinUntil([&] { return keyring.kept.count(q("abc")) == 1; }, 5s));
    EXPECT_EQ(keyring.kept[q("abc")], q("right"));
    w->usageCheck().cancelGrab();
    // The walk sees the cancel at its next turn; none is left waiting when the test ends.
    ASSERT_TRUE(spinUntil([&] { return w->usageCheck().handlersRunning() == 0; }, 5s));

    QTest::mouseClick(w->savePasswordCheck(), Qt::LeftButton);
    EXPECT_FALSE(w->savePasswordCheck()->isChecked());
    EXPECT_TRUE(keyring.kept.empty());
    // Ticked again: the password the portal accepted goes back at once.
    QTest::mouseClick(w->savePasswordCheck(), Qt::LeftButton);
    EXPECT_EQ(keyring.kept[q("abc")], q("right"));

    // The refused password typed again and the window closed: the keyring keeps the right one.
    w->passwordEdit()->setText(q("wrong"));
    w->close();
    EXPECT_EQ(keyring.kept[q("abc")], q("right"));
}

// Once, a download that failed left "Fetching log. Please wait..." on the page after the
// message had gone.
TEST_F(MainWindowTest, AFailedDownloadSaysSoOnTheProcessingPage) {
    auto w = open();
    fillLogIn(*w, "abc", "secret");
    QTest::mouseClick(w->calculateButton(), Qt::LeftButton);
    GrabHost& host = *w;
    host.setMessageCaption(q("Fetching log. Please wait..."));
    host.setMessageVisible(true);
    host.grabStopped(GrabStop{GrabProblem::DownloadFailed,
                              Message{q("Error retrieving bandwidth logs: the usage log could "
                                        "not be downloaded (500). Check again."),
                                      {},
                                      MessageIcon::Warning}});
    EXPECT_FALSE(w->messageLabel()->isVisible());
    EXPECT_TRUE(w->grabStatusLabel()->isVisible());
    EXPECT_EQ(w->grabStatusLabel()->text(),
              q("Error retrieving bandwidth logs: the usage log could "
                "not be downloaded (500). Check again."));
    EXPECT_EQ(w->cancelGrabButton()->text(), q("&Back"));
}

// --- The cache page ------------------------------------------------------------------------------

TEST_F(MainWindowTest, TheHistoryShowsTheMonthsOfTheUserIdInTheBoxAndFollowsTheChosenFile) {
    copySampleCache(q("2026-10-unbilled-demo"));
    copySampleCache(q("2026-11-unbilled-demo"));
    copySampleCache(q("2026-11-billed-other"));
    QFile damaged(inFolder(q("2026-09-unbilled-demo.cache2")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("damaged");
    damaged.close();

    auto w = open();
    CacheHistoryView* history = w->cacheHistory();
    w->userNameEdit()->setText(q("demo"));
    w->refreshHistory();
    QTableWidget* table = history->table();
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(history->items(), (QStringList{q("2026-09-unbilled-demo"), q("2026-10-unbilled-demo"),
                                             q("2026-11-unbilled-demo")}));
    EXPECT_TRUE(history->totals()->text().startsWith(q("2 month(s), ")))
        << history->totals()->text().toStdString();

    // Choosing a month chooses its file, and the list's choice is the table's.
    table->setCurrentCell(1, 0);
    EXPECT_EQ(w->cacheFilesCombo()->currentText(), q("2026-10-unbilled-demo"));
    w->cacheFilesCombo()->setCurrentIndex(
        w->cacheFilesCombo()->findText(q("2026-11-unbilled-demo")));
    EXPECT_EQ(table->currentRow(), 2);
}

TEST_F(MainWindowTest, AChosenFileOpensTheResultWindowWithItsRecords) {
    copySampleCache(q("2026-10-unbilled-demo"));
    copySampleCache(q("2026-11-unbilled-demo"));
    auto w = open();
    ASSERT_EQ(w->cacheFilesCombo()->count(), 2);
    EXPECT_EQ(w->cacheFilesCombo()->currentIndex(), 1);  // the last one
    w->cacheFilesCombo()->setCurrentIndex(0);
    showCacheReport(*w);

    EXPECT_EQ(w->state().records.rowText(), readFileData(sampleCache(), true));
    EXPECT_EQ(w->state().monthYear, q("2026-10-unbilled"));
    // Chart type 2 is the program's own office chart object, not the "Office is required" label.
    ChartTabFrame* chart = w->resultWindow().chartGroup();
    chart->chartTypeCombo()->setCurrentIndex(1);
    EXPECT_TRUE(chart->msGraphNotfoundLabel()->isHidden());
    EXPECT_NE(chart->officeChart(), nullptr);
    closeResult(*w);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().join(u'|').toStdString();
}

// After the result window closes, the cache list is filled again only when "Enable Cache" is
// ticked and the cache page is not the one shown.
struct RefreshRow {
    const char* name;
    bool cacheTicked;
    int pageAtClose;
    bool refreshed;
};

void PrintTo(const RefreshRow& row, std::ostream* os) {
    *os << row.name;
}

class CacheListRefresh : public MainWindowTest, public ::testing::WithParamInterface<RefreshRow> {};

TEST_P(CacheListRefresh, FollowsTheBoxAndThePage) {
    const RefreshRow& row = GetParam();
    copySampleCache(q("2026-11-unbilled-demo"));
    auto w = open();
    w->enableCacheCheck()->setChecked(row.cacheTicked);
    showCacheReport(*w);
    copySampleCache(q("2026-12-unbilled-demo"));
    w->tabStrip()->setSelectedTab(row.pageAtClose);
    closeResult(*w);
    EXPECT_EQ(w->cacheFilesCombo()->count(), row.refreshed ? 2 : 1);
    if (row.refreshed) {
        EXPECT_EQ(w->cacheFilesCombo()->currentText(), q("2026-12-unbilled-demo"));
    }
}

INSTANTIATE_TEST_SUITE_P(AfterTheResultWindow, CacheListRefresh,
                         ::testing::Values(RefreshRow{"TickedOnTheLoginPage", true, 1, true},
                                           RefreshRow{"TickedOnTheCachePage", true, 2, false},
                                           RefreshRow{"UntickedOnTheLoginPage", false, 1, false}),
                         [](const ::testing::TestParamInfo<RefreshRow>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(MainWindowTest, ClosingTheMainWindowClosesAnOpenResultWindowFirst) {
    copySampleCache(q("2026-11-unbilled-demo"));
    auto w = open();
    showCacheReport(*w);
    QSignalSpy ended(w.get(), &MainWindow::programEnded);
    w->close();
    EXPECT_FALSE(w->resultWindow().isVisible());
    EXPECT_FALSE(w->isShowingOutput());
    EXPECT_EQ(ended.count(), 1);
    // The result window's own settings were stored as it closed.
    EXPECT_TRUE(SettingsStore().contains(q("Plan3")));
}

// --- Small commands ------------------------------------------------------------------------------

// With no browser to open a link, the click did nothing at all. Now it says so and shows the
// address, for the user to copy. Each link asks for its deployment's address.
TEST_F(MainWindowTest, EachLinkOpensItsAddressOrShowsItWhenNoBrowserCan) {
    browserOpens = false;
    auto w = open();
    Q_EMIT w->websiteLabel()->linkActivated(q("#"));
    w->resultWindow().summaryGroup()->plansLabel()->linkActivated(q("plans"));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(dialogs.messages[0].title, q("Open link"));
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(q("No web browser could open this address")));
    EXPECT_TRUE(dialogs.messages[0].text.endsWith(q("\n\nhttps://home.test/")));
    EXPECT_TRUE(dialogs.messages[1].text.endsWith(q("\n\nhttps://plans.portal.test/postpaid")));
}

// Once, a link was silent when xdg-open was there but found no browser (it exits with 3): the
// platform counts a started xdg-open as opened. Now its exit status is read.
TEST_F(MainWindowTest, ALinkXdgOpenCannotOpenShowsTheAddress) {
    QTemporaryDir bin;
    const QString savedPath = qEnvironmentVariable("PATH");
    qputenv("PATH", (bin.path() + u':' + savedPath).toLocal8Bit());
    const auto xdgOpenExits = [&](int status) {
        QFile script(bin.filePath(q("xdg-open")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
        script.write(QStringLiteral("#!/bin/sh\nexit %1\n").arg(status).toLatin1());
        script.close();
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    };
    MainWindow w(windowOptions());

    xdgOpenExits(3);  // "a required tool could not be found": no browser
    w.openPlansPage();
    EXPECT_TRUE(spinUntil([&] { return !dialogs.messages.empty(); }, 10s));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.endsWith(q("\n\nhttps://plans.portal.test/")));

    xdgOpenExits(0);
    w.openWebsite();
    // Its xdg-open has been run and has ended.
    EXPECT_TRUE(spinUntil([&] { return w.findChildren<QProcess*>().isEmpty(); }, 10s));
    EXPECT_EQ(dialogs.messages.size(), 1u) << "an opened link says nothing";
    qputenv("PATH", savedPath.toLocal8Bit());
}

// --- Keyboard ------------------------------------------------------------------------------------

// Enter in the password box did nothing: the window had no default button. Enter now starts
// the check from the login page's fields, as "Check Bandwidth Usage" does.
TEST_F(MainWindowTest, EnterInThePasswordBoxStartsTheCheck) {
    auto w = open();
    fillLogIn(*w, "abc", "");
    w->passwordEdit()->setFocus();
    QTest::keyClicks(w->passwordEdit(), q("secret"));
    QTest::keyClick(w->passwordEdit(), Qt::Key_Return);
    EXPECT_EQ(w->portalTabs()->selectedTab(), 2);
    EXPECT_EQ(browser->navigations().back(), QUrl(q("http://north.portal.test/")));
}

// Enter on a button presses that button, not the check; on the cache page it makes the report.
TEST_F(MainWindowTest, EnterPressesTheFocusedButtonOrTheDefaultOne) {
    auto w = open();
    w->closeButton()->setFocus();
    QSignalSpy ended(w.get(), &MainWindow::programEnded);
    QTest::keyClick(w->closeButton(), Qt::Key_Enter);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(dialogs.messages.empty()) << "no check was started";

    auto again = open();
    again->tabStrip()->setSelectedTab(2);
    again->cacheFilesCombo()->setFocus();
    QTest::keyClick(again->cacheFilesCombo(), Qt::Key_Return);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, q("Select one cache file to create report"));
}

// The field captions were read after their fields, and had no mnemonics. A caption is read
// before its field, and Alt with its letter gets there.
TEST_F(MainWindowTest, ACaptionIsReadBeforeItsFieldAndAltWithItsLetterGetsThere) {
    auto w = open();
    for (const char* name : {"lblUserName", "lblPassword", "lblSelfcaresite", "lblPlanType"}) {
        auto* label = w->findChild<QLabel*>(q(name));
        QAccessibleInterface* caption = QAccessible::queryAccessibleInterface(label);
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(label->buddy());
        ASSERT_EQ(caption->parent(), field->parent()) << name;
        EXPECT_LT(caption->parent()->indexOfChild(caption), field->parent()->indexOfChild(field))
            << name;
    }
    // Login details typed, no portal chosen: the check stops at the portal.
    w->userNameEdit()->setText(q("abc"));
    w->passwordEdit()->setText(q("secret"));
    QTest::keyClick(w.get(), Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), w->passwordEdit());
    QTest::keyClick(w.get(), Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), w->selfcaresiteCombo());
    QTest::keyClick(w.get(), Qt::Key_B, Qt::AltModifier);
    // A mnemonic clicks as the mouse would, a moment later.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.messages.empty(); }, 5000))
        << "Check &Bandwidth Usage";
    EXPECT_EQ(dialogs.messages,
              (std::vector<Message>{{q("Select 'north.portal.test' for north "
                                       "region and select 'west.portal.test' "
                                       "for west region. "),
                                     q("Select selfcare site"), MessageIcon::Information}}));
    EXPECT_EQ(browser->navigations().size(), 1u) << "nothing sent";
}

// The window opened with the focus nowhere to be seen. It goes to the first login field still
// empty; the tab strips show their focus too.
TEST_F(MainWindowTest, TheFirstFocusIsTheFirstEmptyLoginField) {
    {
        auto w = open();
        EXPECT_EQ(QApplication::focusWidget(), w->userNameEdit());
        w->userNameEdit()->setText(q("abc"));
        w->close();
    }
    auto w = open();
    EXPECT_EQ(QApplication::focusWidget(), w->passwordEdit());
}

// The links were tab stops that showed nothing. Tab reaches each, and Enter opens it.
// Once, Tab stopped on the page's scroll area between the inner tab strip and "User ID": a
// stop nobody could see or name. Every stop round the window is now a control a person sees.
TEST_F(MainWindowTest, EveryTabStopIsAVisibleNamedControl) {
    auto w = open();
    for (const int page : {1, 2}) {
        w->tabStrip()->setSelectedTab(page);
        w->tabStrip()->setFocus(Qt::TabFocusReason);
        QStringList stops;
        for (int i = 0; i < 40; ++i) {
            QWidget* focused = QApplication::focusWidget();
            ASSERT_NE(focused, nullptr);
            if (i > 0 && focused == w->tabStrip()) {
                break;
            }
            EXPECT_TRUE(focused->isVisible()) << focused->objectName().toStdString();
            EXPECT_EQ(qobject_cast<QScrollArea*>(focused), nullptr)
                << "a stop on " << focused->objectName().toStdString();
            stops << focused->objectName();
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        if (page == 1) {
            EXPECT_EQ(stops.mid(0, 3),
                      (QStringList{q("ctlTabs1"), q("ctlPasswordVersion"), q("txtUserName")}));
        } else {
            EXPECT_EQ(stops.mid(0, 2), (QStringList{q("ctlTabs1"), q("cmbCacheFiles")}));
        }
    }
}

TEST_F(MainWindowTest, TabReachesTheLinksAndEnterOpensThem) {
    auto w = open();
    w->planTypeCombo()->setFocus();
    QTest::keyClick(w->planTypeCombo(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), w->plansLabel());
    QTest::keyClick(w->plansLabel(), Qt::Key_Return);
    EXPECT_EQ(opened, QStringList{q("https://plans.portal.test/")});
    EXPECT_TRUE(dialogs.messages.empty()) << "Enter on a link opens the link, not the check";
    w->cacheHelpLabel()->setFocus();
    QTest::keyClick(w->cacheHelpLabel(), Qt::Key_Return);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(
        dialogs.messages[0].text.startsWith(q("Enabling cache will save the usage records")));
}

// --- The panel option and the last check ---------------------------------------------------------

// "Show in the panel" writes and removes the autostart entry (disabled, with the reason, where
// no panel can show the item); a grab that stops keeps its failure beside the last check;
// "Show usage" opens the result window of a kept check.

class PanelOption : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        QFile::remove(autostartFile());
        tray = TrayAvailability{true, QString()};
    }
    void TearDown() override { QFile::remove(autostartFile()); }
};

TEST_F(PanelOption, WritesTheAutostartEntryAndStartsTheItemThenRemovesIt) {
    auto w = open();
    QCheckBox* box = w->showInPanelCheck();
    EXPECT_EQ(box->text(), q("Sh&ow in the panel"));
    EXPECT_TRUE(box->isEnabled());
    EXPECT_FALSE(box->isChecked());

    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(box->isChecked());
    const QString entry = QString::fromUtf8(test::readFile(autostartFile()));
    EXPECT_TRUE(entry.startsWith(q("[Desktop Entry]\n"))) << entry.toStdString();
    EXPECT_TRUE(entry.contains(q("\nType=Application\n")));
    EXPECT_EQ(started, QStringList{kProgram + q(" --tray")});
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().join(u'|').toStdString();

    // The next window finds it ticked; unticking removes the entry.
    w.reset();
    w = open();
    EXPECT_TRUE(w->showInPanelCheck()->isChecked());
    QTest::mouseClick(w->showInPanelCheck(), Qt::LeftButton);
    EXPECT_FALSE(w->showInPanelCheck()->isChecked());
    EXPECT_FALSE(QFile::exists(autostartFile()));
    EXPECT_EQ(started.size(), 1);
}

TEST_F(PanelOption, WithoutAPanelItIsDisabledWithTheReasonUnlessAnEntryIsThereToRemove) {
    tray = TrayAvailability{false, q("The desktop has no panel to show it in.")};
    auto w = open();
    EXPECT_FALSE(w->showInPanelCheck()->isEnabled());
    EXPECT_TRUE(w->showInPanelCheck()->toolTip().endsWith(tray->reason));
    EXPECT_TRUE(w->showInPanelCheck()->accessibleDescription().endsWith(tray->reason));

    QString why;
    ASSERT_TRUE(setAutostart(true, kProgram, why)) << why.toStdString();
    w.reset();
    w = open();
    EXPECT_TRUE(w->showInPanelCheck()->isEnabled());
    EXPECT_TRUE(w->showInPanelCheck()->isChecked());

    // An entry the session has turned off reads as off.
    QFile file(autostartFile());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("Hidden=true\n");
    file.close();
    EXPECT_FALSE(autostartEnabled());
}

TEST_F(PanelOption, TheEntryStartsTheProgramAsTheDesktopEntryFormatQuotesIt) {
    const struct {
        const char* program;
        const char* exec;
    } rows[] = {
        {"/usr/local/bin/kestrova", "Exec=/usr/local/bin/kestrova --tray"},
        {"/opt/kestrova tools/kestrova", "Exec=\"/opt/kestrova tools/kestrova\" --tray"},
        {"/opt/100%/kestrova", "Exec=/opt/100%%/kestrova --tray"},
        {"/opt/a\"b$c/kestrova", "Exec=\"/opt/a\\\"b\\$c/kestrova\" --tray"},
    };
    for (const auto& row : rows) {
        EXPECT_TRUE(autostartEntry(q(row.program)).contains(u'\n' + q(row.exec) + u'\n'))
            << autostartEntry(q(row.program)).toStdString();
    }
}

TEST_F(PanelOption, AGrabThatStopsKeepsItsFailureBesideTheLastCheck) {
    auto w = open();
    browser->setLoadFailure(QUrl(q("http://north.portal.test/")), q("the connection was reset"));
    fillLogIn(*w, "abc", "secret");
    QTest::mouseClick(w->calculateButton(), Qt::LeftButton);
    ASSERT_TRUE(spinUntil([&] { return !dialogs.messages.empty(); }, 5s));
    const std::optional<CheckFailure> failure =
        readCheckFailure(lastCheckFiles(programFolder(), q("abc"), false).failure);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->reason,
              q("Cannot load the portal's page from north.portal.test: the connection was reset."));
    EXPECT_FALSE(QFile::exists(lastCheckFiles(programFolder(), q("abc"), false).document));
    QTest::mouseClick(w->cancelGrabButton(), Qt::LeftButton);  // "&Back"
    EXPECT_EQ(w->portalTabs()->selectedTab(), 1);
}

TEST_F(PanelOption, ShowUsageOpensTheResultWindowOfTheKeptCheck) {
    const LastCheckFiles files = lastCheckFiles(programFolder(), q("demo"), false);
    ASSERT_TRUE(QFile::copy(q(KESTROVA_SOURCE_DIR "/samples/usage.htm"), files.log));
    QFile document(files.document);
    ASSERT_TRUE(document.open(QIODevice::WriteOnly));
    document.write(
        QJsonDocument(QJsonObject{{q("schemaVersion"), 1},
                                  {q("month"), QJsonObject{{q("period"), q("period 01-11-2026 "
                                                                           "TO 30-11-2026")},
                                                           {q("planKind"), 0}}},
                                  {q("check"), QJsonObject{{q("user"), q("demo")},
                                                           {q("kind"), q("unbilled")}}}})
            .toJson());
    document.close();
    const QByteArray before = test::readFile(files.document);

    auto w = open();
    QSignalSpy closed(w.get(), &MainWindow::outputClosed);
    ASSERT_TRUE(w->showLastCheck(files.document));
    ASSERT_TRUE(spinUntil([&] { return w->resultWindow().isVisible(); }, 10s))
        << dialogs.texts().join(u'|').toStdString();
    EXPECT_EQ(w->state().monthYear, q("period 01-11-2026 TO 30-11-2026"));
    EXPECT_EQ(w->state().userName, q("demo"));
    EXPECT_EQ(w->state().records.rowText().count(q("<TR>")), 185);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().join(u'|').toStdString();
    // Only a check downloaded now is kept: this one stays as it was.
    EXPECT_EQ(test::readFile(files.document), before);
    QTest::mouseClick(w->resultWindow().closeButton(), Qt::LeftButton);
    ASSERT_TRUE(spinUntil([&] { return closed.count() == 1; }, 5s));

    // A document that is none, or a log that is gone, is said.
    QFile::remove(files.log);
    EXPECT_FALSE(w->showLastCheck(files.document));
    EXPECT_FALSE(w->showLastCheck(programFolder() + q("/nothing.json")));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    for (const Message& m : dialogs.messages) {
        EXPECT_TRUE(m.text.startsWith(q("The last check cannot be shown: ")))
            << m.text.toStdString();
    }
}

// --- Both windows: keyboard, screen reader, small sizes, larger fonts, twice the scale -----------

enum class Shown { Main, Result, ResultNightPlan };

void PrintTo(Shown shown, std::ostream* os) {
    *os << (shown == Shown::Main ? "Main" : "Result");
}

// One of the two windows shown, and each page or tab of it (on the Chart tab, each chart type).
// The result window's night-unlimited options are ticked and the plan chosen has an excess:
// the summary's longest figures (1929 %).
class BothWindows : public MainWindowTest {
protected:
    struct View {
        TabStrip* tabs;
        int tab;
        std::function<void()> show;
    };

    QWidget* showWindow(Shown shown, int plan = 1) {
        if (shown == Shown::Main) {
            m_main = open();
            for (const auto& [page, innerPage] : {std::pair{1, 1}, {1, 2}, {2, 1}}) {
                MainWindow* w = m_main.get();
                m_views.push_back({w->tabStrip(), page, [w, page = page, inner = innerPage] {
                                       w->tabStrip()->setSelectedTab(page);
                                       w->portalTabs()->setSelectedTab(inner);
                                   }});
            }
            return m_main.get();
        }
        m_month.emplace(ResultWindowOptions{},
                        shown == Shown::Result ? PlanKind::Limited : PlanKind::NightUnlimited);
        ResultWindow* w = m_month->window.get();
        w->show();
        w->nightUnlimitedCheck()->setChecked(true);
        w->summaryGroup()->plansCombo()->setCurrentIndex(plan);
        for (const auto& [tab, type] : {std::pair{1, 0}, {2, 0}, {2, 1}, {3, 0}}) {
            m_views.push_back({w->tabStrip(), tab, [w, tab = tab, type = type] {
                                   w->tabStrip()->setSelectedTab(tab);
                                   w->chartGroup()->chartTypeCombo()->setCurrentIndex(type);
                               }});
        }
        return w;
    }

    std::vector<View> m_views;

private:
    std::unique_ptr<MainWindow> m_main;
    std::optional<testing::MonthOnScreen> m_month;
};

class WindowAccess : public BothWindows, public ::testing::WithParamInterface<Shown> {};

// Buttons shared letters ("&Copy chart.." C with "&Close"), "Check Bandwidth Usage" had none,
// captions had no buddies, and a screen reader found the main window a filler with one child
// and the result window only its tabs and footer. On every page and tab, with every option
// shown (the custom plan's edit boxes too), each letter belongs to one control, each caption
// with a letter puts the focus on its field, and every control is reached from the window by
// children, through its page, naming the parent it was reached from.
TEST_P(WindowAccess, MnemonicsAreItsOwnAndAScreenReaderReachesEachControl) {
    QWidget* w = showWindow(GetParam(), 29);
    for (std::size_t i = 0; i < m_views.size(); ++i) {
        const View& view = m_views[i];
        view.show();
        EXPECT_EQ(testing::mnemonicClashes(w), QStringList()) << "view " << i;
        const testing::AccessibleWalk walk = testing::walkWindow(w);
        EXPECT_EQ(
            testing::unreachedWidgets(w, walk, {q("kestrova::XChart"), q("kestrova::UsageBar")}),
            QStringList())
            << "view " << i;
        EXPECT_EQ(walk.wrongParents, QStringList()) << "view " << i;
        QAccessibleInterface* page =
            QAccessible::queryAccessibleInterface(view.tabs)->child(view.tab - 1)->child(0);
        ASSERT_NE(page, nullptr) << "view " << i;
        EXPECT_FALSE(page->state().invisible) << "view " << i;
    }
    for (QAbstractButton* button : w->findChildren<QAbstractButton*>()) {
        if (!button->text().isEmpty()) {
            EXPECT_FALSE(testing::mnemonicOf(button->text()).isNull())
                << button->objectName().toStdString();
        }
    }
    for (QLabel* label : w->findChildren<QLabel*>()) {
        if (label->textFormat() != Qt::RichText && !testing::mnemonicOf(label->text()).isNull()) {
            EXPECT_NE(label->buddy(), nullptr) << label->objectName().toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, WindowAccess,
                         ::testing::Values(Shown::Main, Shown::ResultNightPlan),
                         [](const auto& p) { return ::testing::PrintToString(p.param); });

// Neither window had a minimum size: small, every label of the main window was cut and its
// login frame stood off its page; the result window's chart options covered "Chart Type" and
// "Copy chart..", and with a larger font its footer's option and average were cut. At their
// minimum size and above it nothing overlaps or is cut on any page or tab (the main window's
// pages scroll where it is small), at the design font and at 1.25 times its size. At a scale
// of 2 on a 1280x800 screen (640 x 400 of the program's pixels) a first start made windows of
// 660 x 600 and 800 x 600 that ran off the screen; a first start now fits its free area.
struct LayoutCase {
    const char* name;
    Shown window;
    double fontScale;
    QSize size;               // empty: the minimum size (asked for with a size below it)
    bool firstStart = false;  // at twice the scale: the size a first start gives
};

void PrintTo(const LayoutCase& row, std::ostream* os) {
    *os << row.name;
}

class WindowLayout : public BothWindows, public ::testing::WithParamInterface<LayoutCase> {
protected:
    void SetUp() override {
        BothWindows::SetUp();
        m_font.emplace(GetParam().fontScale);
    }
    void TearDown() override { m_font.reset(); }

private:
    std::optional<kestrova::testing::ScopedFontScale> m_font;
};

TEST_P(WindowLayout, NothingOverlapsOrIsCut) {
    const LayoutCase& c = GetParam();
    if (c.firstStart) {
        KESTROVA_REQUIRE_SCALE_2();
    }
    QWidget* w = showWindow(c.window);
    if (c.firstStart) {
        QApplication::processEvents();
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_TRUE(available.contains(w->frameGeometry()))
            << w->frameGeometry().width() << "x" << w->frameGeometry().height() << " on "
            << available.width() << "x" << available.height();
    } else {
        w->resize(c.size.isEmpty() ? QSize(300, 200) : c.size);
        QApplication::processEvents();
        if (c.size.isEmpty()) {
            EXPECT_EQ(w->size(), w->minimumSize());
        }
    }
    for (std::size_t i = 0; i < m_views.size(); ++i) {
        m_views[i].show();
        QApplication::processEvents();
        const QStringList problems = testing::layoutProblems(w);
        EXPECT_TRUE(problems.isEmpty())
            << "view " << i << " at " << w->width() << "x" << w->height() << ":\n"
            << problems.join(u'\n').toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, WindowLayout,
    ::testing::Values(
        LayoutCase{"Minimum", Shown::Main, 1.0, {}},
        LayoutCase{"MinimumLargerFont", Shown::Main, 1.25, {}},
        LayoutCase{"DesignSize", Shown::Main, 1.0, {660, 600}},
        LayoutCase{"DesignSizeLargerFont", Shown::Main, 1.25, {660, 600}},
        LayoutCase{"BetweenMinimumAndDesign", Shown::Main, 1.0, {630, 450}},
        LayoutCase{"Large", Shown::Main, 1.25, {1100, 800}},
        LayoutCase{"HiDpiFirstStart", Shown::Main, 1.0, {}, true},
        LayoutCase{"ResultMinimum", Shown::Result, 1.0, {}},
        LayoutCase{"ResultMinimumNightPlan", Shown::ResultNightPlan, 1.0, {}},
        LayoutCase{"ResultMinimumLargerFont", Shown::Result, 1.25, {}},
        LayoutCase{"ResultMinimumLargerFontNightPlan", Shown::ResultNightPlan, 1.25, {}},
        LayoutCase{"ResultDesignSize", Shown::ResultNightPlan, 1.0, {800, 600}},
        LayoutCase{"ResultDesignSizeLargerFont", Shown::ResultNightPlan, 1.25, {800, 600}},
        LayoutCase{"ResultWide", Shown::Result, 1.0, {1200, 500}},
        LayoutCase{"HiDpiResultFirstStart", Shown::Result, 1.0, {}, true}),
    [](const auto& p) { return std::string(p.param.name); });

// Once, at the first-start size, a stopped grab's message was cut on the Processing page
// ("...within 60 seconds. It may l") and the history's "Cheapest plan" column was cut short.
TEST_F(MainWindowTest, TheLongestStatusAndTheHistoryShowWholeAndTheBillFollowsThePlanType) {
    copySampleCache(q("2026-11-unbilled-demo"));
    SettingsStore().save(q("Plan3"), q("3"));  // a plan chosen: the Bill column filled
    auto w = open();
    for (const QSize size : {QSize(), w->minimumSize()}) {
        if (!size.isEmpty()) {
            w->resize(size);
        }
        w->tabStrip()->setSelectedTab(1);
        w->portalTabs()->setSelectedTab(2);
        GrabHost& host = *w;
        host.grabStopped(GrabStop{
            GrabProblem::PageTimeout,
            Message{q("The portal at selfcare-north.orvo.example did not send the usage page "
                      "within 60 seconds (\"/nav/usage\" did not come). It may be busy: try "
                      "again later."),
                    {},
                    MessageIcon::Warning}});
        QApplication::processEvents();
        const QStringList problems = testing::layoutProblems(w.get());
        EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
    }

    w->resize(pixelsX(9900), pixelsY(9000));  // the first-start size
    w->tabStrip()->setSelectedTab(2);
    QApplication::processEvents();
    QTableWidget* table = w->cacheHistory()->table();
    ASSERT_EQ(table->rowCount(), 1);
    int columns = 0;
    for (int c = 0; c < table->columnCount(); ++c) {
        if (table->isColumnHidden(c)) {
            continue;
        }
        columns += table->columnWidth(c);
        const QString text = table->item(0, c)->text();
        EXPECT_GE(table->columnWidth(c), table->fontMetrics().horizontalAdvance(text))
            << text.toStdString();
    }
    EXPECT_LE(columns, table->viewport()->width()) << "the row is read without scrolling";

    // The history's bill is the Summary's under the "Plan type" chosen in the window: the
    // bundled November on plan 3 is Rs. 4570.83 when all of it is charged, Rs. 3830.72 without
    // the night.
    EXPECT_EQ(table->item(0, CacheHistoryView::Bill)->text(), q("Rs. 4570.83"));
    w->planTypeCombo()->setCurrentIndex(1);  // Limited Bandwidth with Night Unlimited
    EXPECT_EQ(table->item(0, CacheHistoryView::Bill)->text(), q("Rs. 3830.72"));
}

}  // namespace
}  // namespace kestrova
