// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// MainWindow, the program's start-up window: the login details, the portal host, the plan type,
// the billing choice and the cache options on the "Login Details" page of tabStrip, with the
// portal browser on the "Processing" page of the inner tab strip portalTabs; the
// cache-file report on the "Use Cache Data" page. It owns the retrieval's fields and display
// settings (RetrievalState), the check command and the grab (UsageCheck, with Timer1), the
// report builder and the one result window.
//
// It loads every setting when it is made and saves them when it closes. Closing ends the
// program: programEnded() is emitted once the settings are saved.

#include "app/main_layout.h"
#include "grab/grab_host.h"
#include "results/window/result_window.h"
#include "results/window/result_window_host.h"
#include "retrieval/report_target.h"
#include "retrieval/retrieval_state.h"
#include "settings/deployment.h"
#include "settings/main_settings.h"
#include "tray/tray_availability.h"

#include <QCoroTask>
#include <QUrl>
#include <QWidget>

#include <array>
#include <chrono>
#include <coroutine>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace kestrova {

class Browser;
class PasswordKeeper;
class PasswordStore;
class CacheHistoryView;
class ReportBuilder;
class UsageCheck;
class UsageExtraction;
class TabStrip;

// The portal browser and the widget that shows its page (webBrowser). The view may be null
// for a browser that shows nothing; the window then puts an empty widget in its place.
struct PortalBrowser {
    std::unique_ptr<Browser> browser;
    QWidget* view = nullptr;
};
using PortalBrowserFactory = std::function<PortalBrowser()>;

// Opens an address with the user's default handler; false when nothing could open it.
using UrlOpener = std::function<bool(const QUrl&)>;

struct MainWindowOptions {
    // None: the live browser on the browser engine.
    PortalBrowserFactory portalBrowser;
    // The result window's; its plans address comes from the deployment values.
    ResultWindowOptions result;
    // None: xdg-open, its exit status read (QDesktopServices::openUrl where there is none).
    UrlOpener openUrl;
    // None: Deployment::load().
    std::optional<Deployment> deployment;
    // Where "Remember password" keeps the password. None: the desktop keyring.
    std::function<std::unique_ptr<PasswordStore>()> passwordStore;
    // How long a close waits for the keyring to take what is still to be written before the
    // program ends anyway (the window is hidden meanwhile).
    std::chrono::milliseconds keyringCloseLimit{10000};
    // Whether a panel can show the tray item. None: asked of the session bus and the display.
    std::function<TrayAvailability()> trayAvailability;
    // The kestrova program the autostart entry and "Show in the panel" start with --tray.
    // Empty: this program.
    QString program;
    // Starts a program on its own; false when it could not. None: QProcess::startDetached.
    std::function<bool(const QString& program, const QStringList& arguments)> startDetached;
};

class MainWindow : public QWidget, public GrabHost, public RetrievalHost, public ResultWindowHost {
    Q_OBJECT

public:
    explicit MainWindow(MainWindowOptions options = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // --- Commands ---------------------------------------------------------------------------
    // "Check Bandwidth Usage"; "Show Usage" on the cache page does the same.
    void checkUsage();
    void showCachedUsage() { checkUsage(); }
    // Both close the window, which saves the settings and ends the program.
    void closeFromLoginPage();
    void closeFromCachePage();
    void showCacheHelp();
    void openPlansPage();
    void openWebsite();
    // Index 0 "Unbilled usage", 1 "Billed usage": billedCombo is enabled only for 1.
    void chooseBilledType(int index);
    // Fills cacheFilesCombo with the cache files of the program's folder and selects the last.
    void loadCacheFileList();
    // "Show in the panel": writes the autostart entry that starts the tray item with the
    // session, and starts it now; or removes the entry. A failure is said and the box goes
    // back.
    void setShownInPanel(bool shown);
    // The result window of a last check kept in the program's folder (its document; the usage
    // log kept beside it): kestrova --show-usage, the tray item's "Show usage". False, after
    // saying why, when the check cannot be shown.
    bool showLastCheck(const QString& documentPath);

    // --- ResultWindowHost -------------------------------------------------------------------
    void writeOutput() override;
    void openLink(const QString& address) override;

    // --- GrabHost: showOutput ---------------------------------------------------------------
    // writeOutput, the result window's part, then the result window window-modal; the task
    // ends once it has been closed (messageLabel hidden, the cache list refreshed when "Enable
    // Cache" is ticked and the cache page is not shown).
    QCoro::Task<> showOutput() override;

    // --- The window's parts -----------------------------------------------------------------
    RetrievalState& state() { return m_state; }
    UsageCheck& usageCheck() { return *m_check; }
    UsageExtraction& usageExtraction() { return *m_extraction; }
    Browser& portalBrowser() { return *m_browser; }
    ResultWindow& resultWindow() { return *m_result; }
    const Deployment& deployment() const { return m_deployment; }
    // Whether a result window shown by showOutput is still open.
    bool isShowingOutput() const { return m_showing > 0; }

    TabStrip* tabStrip() const { return m_tabStrip; }
    TabStrip* portalTabs() const { return m_portalTabs; }
    QFrame* passwordGroup() const { return m_passwordGroup; }
    QFrame* loginInfoGroup() const { return m_loginInfoGroup; }
    QFrame* processingGroup() const { return m_processingGroup; }
    QFrame* useCacheDataGroup() const { return m_useCacheDataGroup; }
    QLineEdit* userNameEdit() const { return m_userNameEdit; }
    QLineEdit* passwordEdit() const { return m_passwordEdit; }
    QCheckBox* savePasswordCheck() const { return m_savePasswordCheck; }
    QComboBox* selfcaresiteCombo() const { return m_selfcaresiteCombo; }
    QComboBox* planTypeCombo() const { return m_planTypeCombo; }
    QRadioButton* billedTypeOption(int index) const {
        return m_billedTypeOption[std::size_t(index)];
    }
    QComboBox* billedCombo() const { return m_billedCombo; }
    QCheckBox* enableCacheCheck() const { return m_enableCacheCheck; }
    QCheckBox* showInPanelCheck() const { return m_showInPanelCheck; }
    QLabel* cacheHelpLabel() const { return m_cacheHelpLabel; }
    QPushButton* calculateButton() const { return m_calculateButton; }
    QPushButton* closeButton() const { return m_closeButton; }
    QLabel* plansLabel() const { return m_plansLabel; }
    QLabel* websiteLabel() const { return m_websiteLabel; }
    QLabel* cacheNoteLabel() const { return m_cacheNoteLabel; }
    QLabel* passwordWarningLabel() const { return m_passwordWarningLabel; }
    QWidget* webBrowser() const { return m_webBrowser; }
    QLabel* messageLabel() const { return m_messageLabel; }
    // The grab's step on the "Processing" page, its busy indicator, and the button that
    // cancels the grab (and, once it has stopped, goes back to "Login Info").
    QLabel* grabStatusLabel() const { return m_grabStatusLabel; }
    QProgressBar* prgGrabBusy() const { return m_prgGrabBusy; }
    QPushButton* cancelGrabButton() const { return m_cancelGrabButton; }
    QComboBox* cacheFilesCombo() const { return m_cacheFilesCombo; }
    QPushButton* showUsageButton() const { return m_showUsageButton; }
    QPushButton* cacheCloseButton() const { return m_cacheCloseButton; }
    // The history of the cached months on the "Use Cache Data" page.
    CacheHistoryView* cacheHistory() const { return m_cacheHistory; }
    // Rebuilds the history from the cache files, for the user id in the box (all when empty)
    // and the plan chosen on the Summary tab.
    void refreshHistory();
    // The placed frames' rectangles in twips, as the last resize left them.
    const MainLayout& placedTwips() const { return m_layout; }

Q_SIGNALS:
    // The window has closed and saved its settings: the program ends.
    void programEnded();
    // showOutput has started (Timer1 ticked), and has built the report and is about to open
    // the result window (for the benchmark's timing of a grab's steps).
    void outputStarted();
    void outputWritten();
    // showOutput has ended: the result window it opened has closed.
    void outputClosed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Enter presses the focused button, or else starts the check on the page shown ("Check
    // Bandwidth Usage" on "Login Info", "Show Usage" on "Use Cache Data").
    void keyPressEvent(QKeyEvent* event) override;
    // The first time: the focus goes to the first login field still empty.
    void showEvent(QShowEvent* event) override;

private:
    // --- GrabHost ---------------------------------------------------------------------------
    MainPage selectedMainPage() const override;
    QString userName() const override;
    QString password() const override;
    int selfcareSiteIndex() const override;
    QString selfcareSiteText() const override;
    QString northHost() const override { return m_deployment.northHost; }
    QString westHost() const override { return m_deployment.westHost; }
    void focusSelfcareSite() override;
    void focusUserName() override;
    void focusPassword() override;
    void grabProgress(GrabStep step) override;
    void loginAnswered(const QString& userId, const QString& password, bool accepted) override;
    void grabStopped(const GrabStop& stop) override;
    bool cacheEnabled() const override;
    int planKind() const override;
    int cacheFileIndex() const override;
    QString cacheFileText() const override;
    void focusCacheFiles() override;
    void selectLoginInfoPage() override;
    void selectProcessingPage() override;
    void setMessageCaption(const QString& caption) override;
    void setMessageVisible(bool visible) override;
    void blankReport() override;
    // --- GrabHost and RetrievalHost ---------------------------------------------------------
    void processPendingEvents() override;
    QString folder() const override { return m_folder; }
    // --- RetrievalHost ----------------------------------------------------------------------
    void startResumeTimer() override;
    void setBusy(bool busy) override;

    void buildLoginDetails();
    void buildLoginInfo();
    void buildProcessing(QWidget* portalView);
    void cancelGrab();
    // Opens `url` with the desktop's handler (xdg-open); says so when it could not.
    void openWithDesktop(const QUrl& url);
    void linkNotOpened(const QUrl& url);
    void showGrabStatus(const QString& text, bool busy);
    void buildUseCacheData();
    void loadWindow();
    // The remembered password from the keyring, or one kept the old way in the settings file
    // moved into it.
    QCoro::Task<> restorePassword(MainSettings loaded);
    // Whether the keyring can keep a password, asked when "Remember password" is ticked.
    QCoro::Task<> probeKeyring();
    // What is still to be written into the keyring (the password when remembered, its removal
    // when not), waited for up to the close limit, then programEnded.
    QCoro::Task<> keepPasswordAndEnd();
    // "Remember password" ticked or unticked by the subscriber.
    void savePasswordClicked(bool ticked);
    // Says once a session why the password cannot be remembered.
    void keyringUnavailable(const QString& reason);
    void applySettings(const MainSettings& s);
    MainSettings currentSettings() const;
    MainSettings designSettings() const;
    void placeControls();
    // A fixed-size frame's design size, or more where its contents ask for more (twips).
    QSize naturalFrameTwips(const QWidget* contents, const TwipRect& design) const;
    // The inner size at which both fixed-size frames have their natural size (twips).
    QSize naturalWindowTwips() const;
    // The smallest window in which nothing is cut: the pages' contents scroll below their
    // natural size.
    void updateMinimumSize();
    void placeFrames();
    // Closes a result window that is still open, so a showOutput waiting for it ends.
    void closeResultWindow();
    // The option's state: ticked when the autostart entry is there; disabled with the reason
    // while no panel can show the item (unless the entry is there, so it can still go).
    void refreshPanelOption();
    // A download grab's report is kept as the user's last check, for the panel.
    void keepCheck();
    void keepCheckFailure(const GrabStop& stop);
    QString program() const;
    struct ResultWindowClosed;
    void resumeResultWaiters();

    MainWindowOptions m_options;
    Deployment m_deployment;
    QString m_folder;
    RetrievalState m_state;
    MainLayout m_layout;
    int m_showing = 0;
    bool m_busy = false;
    bool m_keyringWarned = false;
    std::unique_ptr<PasswordStore> m_passwords;
    std::unique_ptr<PasswordKeeper> m_keeper;  // goes before the store it writes to
    // The last user id and password the portal accepted, and the last it refused.
    std::optional<std::pair<QString, QString>> m_acceptedLogin;
    std::optional<std::pair<QString, QString>> m_refusedLogin;
    bool m_ending = false;
    bool m_shownOnce = false;
    // The report about to be shown comes from a usage log the grab downloaded.
    bool m_reportOfDownload = false;
    std::vector<std::coroutine_handle<>> m_resultWaiters;

    // Controls (owned by the widget tree).
    TabStrip* m_tabStrip = nullptr;
    QFrame* m_passwordGroup = nullptr;
    TabStrip* m_portalTabs = nullptr;
    QFrame* m_loginInfoGroup = nullptr;
    QFrame* m_processingGroup = nullptr;
    QFrame* m_useCacheDataGroup = nullptr;
    // What the two fixed-size frames show, in their scroll areas.
    QWidget* m_loginContents = nullptr;
    QWidget* m_cacheContents = nullptr;
    QLineEdit* m_userNameEdit = nullptr;
    QLineEdit* m_passwordEdit = nullptr;
    QCheckBox* m_savePasswordCheck = nullptr;
    QComboBox* m_selfcaresiteCombo = nullptr;
    QComboBox* m_planTypeCombo = nullptr;
    std::array<QRadioButton*, 2> m_billedTypeOption{};
    QComboBox* m_billedCombo = nullptr;
    QCheckBox* m_enableCacheCheck = nullptr;
    QCheckBox* m_showInPanelCheck = nullptr;
    QLabel* m_cacheHelpLabel = nullptr;
    QPushButton* m_calculateButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QLabel* m_plansLabel = nullptr;
    QLabel* m_websiteLabel = nullptr;
    QLabel* m_cacheNoteLabel = nullptr;
    QLabel* m_passwordWarningLabel = nullptr;
    QWidget* m_webBrowser = nullptr;
    QLabel* m_messageLabel = nullptr;
    QWidget* m_grabStatusGroup = nullptr;
    QLabel* m_grabStatusLabel = nullptr;
    QProgressBar* m_prgGrabBusy = nullptr;
    QPushButton* m_cancelGrabButton = nullptr;
    QComboBox* m_cacheFilesCombo = nullptr;
    QPushButton* m_showUsageButton = nullptr;
    QPushButton* m_cacheCloseButton = nullptr;
    CacheHistoryView* m_cacheHistory = nullptr;

    // Destroyed in reverse: the grab and the report builder before the browser and the
    // result window they refer to.
    std::unique_ptr<Browser> m_browser;
    std::unique_ptr<ResultWindow> m_result;
    std::unique_ptr<ReportBuilder> m_report;
    std::unique_ptr<UsageExtraction> m_extraction;
    std::unique_ptr<UsageCheck> m_check;
};

}  // namespace kestrova
