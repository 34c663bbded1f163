// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/main_window.h"

#include "results/office_chart/office_chart.h"

#include "app/cache_history_view.h"
#include "app/password_keeper.h"
#include "app/program_icon.h"
#include "controls/accessibility.h"
#include "controls/busy_bar.h"
#include "controls/link_label.h"
#include "controls/tab_strip.h"
#include "forms/forms.h"
#include "grab/usage_check.h"
#include "platform/browser.h"
#include "platform/dialogs.h"
#include "platform/failure.h"
#include "platform/keyring/keyring_password_store.h"
#include "platform/live/live_browser.h"
#include "platform/program_folder.h"
#include "platform/property_bag.h"
#include "platform/settings_store.h"
#include "platform/twips.h"
#include "results/check_document.h"
#include "results/history.h"
#include "results/last_check.h"
#include "results/summary_report.h"
#include "results/window/summary_page.h"
#include "retrieval/cache_file.h"
#include "retrieval/report_page.h"
#include "retrieval/usage_log.h"
#include "tray/autostart.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoroSignal>
#include <QDateTime>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <algorithm>
#include <cmath>
#include <mutex>
#include <tuple>

namespace kestrova {

namespace {

const QString kCaption = QStringLiteral("Kestrova 1.0");

const QString kCacheHelp = QStringLiteral(
    "Enabling cache will save the usage records to local cache file and this will allow "
    "checking usage using 'Use Cache Data' Tab (see top). This is useful for checking previous "
    "months usage. When cache is enabled, only newer records are retrieved when checking usage");

const QString kLinkNotOpened = QStringLiteral(
    "No web browser could open this address. You can copy it from here and open it yourself:");

const QString kCacheExplanation = QStringLiteral(
    "If you have enabled 'Enable Cache'(in login details tab), your service records for each "
    "month is stored as a local file. You can use this locally stored data(Cache) to generate "
    "report, without logging on to ORVO site. When cache is enabled, only newer records are "
    "fetched when usage checking.");

// The window's inner area as designed, and the places of the frames the resize rules move
// (twips; their sizes follow from the rules, except the two fixed-size frames).
constexpr int kDesignWidth = 9900;
constexpr int kDesignHeight = 9000;
constexpr TwipRect kDesignTabs1{120, 120, 0, 0};
constexpr TwipRect kDesignPassword{75, 405, 0, 0};
constexpr TwipRect kDesignPasswordVersion{60, 120, 0, 0};
constexpr TwipRect kDesignLoginInfo{0, 330, 8700, 6900};
constexpr TwipRect kDesignUseCacheData{75, 405, 0, 0};
constexpr TwipRect kDesignProcessing{90, 330, 0, 0};
constexpr TwipRect kDesignBrowser{100, 500, 0, 0};
// messageLabel above the portal page.
constexpr TwipRect kDesignMessage{100, 60, 0, 400};
// The least height a page's contents keep in the smallest window (they scroll), in pixels.
constexpr int kMinimumPageRows = 170;
// What a window manager adds around a window: kept free when a first start sizes it.
constexpr QSize kWindowDecoration(8, 32);

QLabel* caption(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

// A label that works as a link: its caption underlined, opened by mouse or keyboard.
LinkLabel* linkLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new LinkLabel(text, QStringLiteral("#"), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

// A caption with a mnemonic that puts the focus on `buddy`.
QLabel* fieldCaption(QWidget* parent, const char* name, const QString& text, QWidget* buddy) {
    QLabel* label = caption(parent, name, text);
    label->setBuddy(buddy);
    return label;
}

// The frame's contents in a scroll area that fills it: a window too small for them scrolls
// them rather than cutting them off.
QWidget* scrollingContents(QFrame* frame, const char* name) {
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(frame);
    scroll->setObjectName(QString::fromLatin1(name) + u"Scroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Not a stop of its own for Tab: the fields inside it are, and it scrolls to the one that
    // has the focus.
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* contents = new QWidget;
    contents->setObjectName(QString::fromLatin1(name));
    scroll->setWidget(contents);
    layout->addWidget(scroll);
    return contents;
}

// The window is a window to a screen reader, not the unnamed filler a plain widget is.
QAccessibleInterface* mainWindowAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("kestrova::MainWindow")) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

QFrame* pageFrame(QWidget* parent, const char* name) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameShape(QFrame::NoFrame);
    return frame;
}

}  // namespace

MainWindow::MainWindow(MainWindowOptions options, QWidget* parent)
    : QWidget(parent),
      m_options(std::move(options)),
      m_deployment(m_options.deployment ? *m_options.deployment : Deployment::load()),
      m_folder(programFolder()) {
    static std::once_flag accessibleOnce;
    std::call_once(accessibleOnce, [] { QAccessible::installFactory(mainWindowAccessible); });
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kCaption);
    setWindowIcon(programIcon());

    PortalBrowser portal;
    if (m_options.portalBrowser) {
        portal = m_options.portalBrowser();
    } else {
        auto live = std::make_unique<LiveBrowser>();
        portal.view = live->view();
        portal.browser = std::move(live);
    }
    m_browser = std::move(portal.browser);
    m_passwords = m_options.passwordStore ? m_options.passwordStore()
                                          : std::make_unique<KeyringPasswordStore>();
    m_keeper = std::make_unique<PasswordKeeper>(*m_passwords);
    connect(m_keeper.get(), &PasswordKeeper::unavailable, this, &MainWindow::keyringUnavailable);

    const StoredForm form = StoredForm::load(storedFormPath(QStringLiteral("frmMain")));
    m_tabStrip = new TabStrip(this);
    m_tabStrip->setObjectName(QStringLiteral("ctlTabs1"));
    m_tabStrip->readProperties(form.bag(QStringLiteral("ctlTabs1")));
    m_passwordGroup = pageFrame(m_tabStrip, "fraPassword");
    m_portalTabs = new TabStrip(m_passwordGroup);
    m_portalTabs->setObjectName(QStringLiteral("ctlPasswordVersion"));
    m_portalTabs->readProperties(form.bag(QStringLiteral("ctlPasswordVersion")));
    buildLoginInfo();
    buildProcessing(portal.view);
    buildUseCacheData();

    ResultWindowOptions resultOptions = std::move(m_options.result);
    resultOptions.plansAddress = m_deployment.postpaidPlansPage;
    if (!resultOptions.officeChart) {
        resultOptions.officeChart = createOfficeChart;  // chart type 2 on Qt Charts
    }
    m_result = std::make_unique<ResultWindow>(m_state, *this, std::move(resultOptions), this);
    connect(m_result.get(), &QDialog::finished, this, &MainWindow::resumeResultWaiters);
    m_report = std::make_unique<ReportBuilder>(m_state, *this, *m_result);
    m_extraction = std::make_unique<UsageExtraction>(m_state, *m_report);
    m_check = std::make_unique<UsageCheck>(m_state, *this, *m_browser, *m_extraction, *m_report);
    connect(m_check.get(), &UsageCheck::logRead, this, [this] { m_reportOfDownload = true; });

    m_layout.tabStrip = kDesignTabs1;
    m_layout.passwordGroup = kDesignPassword;
    m_layout.portalTabs = kDesignPasswordVersion;
    m_layout.loginInfoGroup = kDesignLoginInfo;
    m_layout.useCacheDataGroup = kDesignUseCacheData;
    m_layout.processingGroup = kDesignProcessing;
    m_layout.webBrowser = kDesignBrowser;
    resize(pixelsX(kDesignWidth), pixelsY(kDesignHeight));
    placeControls();

    loadWindow();
}

MainWindow::~MainWindow() {
    // The user id box loses the focus while the child widgets go, after this window's own
    // members have gone: its history refresh must not run then.
    disconnect(m_userNameEdit, &QLineEdit::editingFinished, this, &MainWindow::refreshHistory);
    // A showOutput still waiting for the result window ends before the window goes.
    closeResultWindow();
    resumeResultWaiters();
}

// --- Building the controls ----------------------------------------------------------------------

void MainWindow::buildLoginInfo() {
    m_loginInfoGroup = pageFrame(m_portalTabs, "fraLoginInfo");
    QWidget* f = scrollingContents(m_loginInfoGroup, "fraLoginInfoContents");
    m_loginContents = f;
    auto* grid = new QGridLayout(f);
    grid->setContentsMargins(12, 10, 12, 8);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(7);
    grid->setColumnStretch(1, 1);

    m_userNameEdit = new QLineEdit(f);
    m_userNameEdit->setObjectName(QStringLiteral("txtUserName"));
    m_passwordEdit = new QLineEdit(f);
    m_passwordEdit->setObjectName(QStringLiteral("txtPassword"));
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_savePasswordCheck = new QCheckBox(QStringLiteral("&Remember password"), f);
    m_savePasswordCheck->setObjectName(QStringLiteral("chkSavePassword"));
    m_savePasswordCheck->setToolTip(
        QStringLiteral("Keeps the password in the desktop keyring, never in a file"));
    connect(m_savePasswordCheck, &QCheckBox::clicked, this, &MainWindow::savePasswordClicked);
    grid->addWidget(fieldCaption(f, "lblUserName", QStringLiteral("&User ID"), m_userNameEdit), 0,
                    0);
    grid->addWidget(m_userNameEdit, 0, 1);
    grid->addWidget(fieldCaption(f, "lblPassword", QStringLiteral("&Password"), m_passwordEdit), 1,
                    0);
    grid->addWidget(m_passwordEdit, 1, 1);
    grid->addWidget(m_savePasswordCheck, 1, 2);

    m_selfcaresiteCombo = new QComboBox(f);
    m_selfcaresiteCombo->setObjectName(QStringLiteral("cmbSelfcaresite"));
    m_selfcaresiteCombo->addItems({m_deployment.northHost, m_deployment.westHost});
    m_selfcaresiteCombo->setCurrentIndex(-1);
    grid->addWidget(
        fieldCaption(f, "lblSelfcaresite", QStringLiteral("&Selfcare Portal"), m_selfcaresiteCombo),
        2, 0);
    grid->addWidget(m_selfcaresiteCombo, 2, 1);

    m_planTypeCombo = new QComboBox(f);
    m_planTypeCombo->setObjectName(QStringLiteral("cmbPlanType"));
    m_planTypeCombo->addItems({QStringLiteral("Limited Bandwidth"),
                               QStringLiteral("Limited Bandwidth with Night Unlimited"),
                               QStringLiteral("Unlimited Bandwidth")});
    m_plansLabel = linkLabel(f, "lblPlans", QStringLiteral("ORVO broadband plans"));
    m_plansLabel->setToolTip(m_deployment.plansPage);
    connect(m_plansLabel, &QLabel::linkActivated, this, &MainWindow::openPlansPage);
    grid->addWidget(fieldCaption(f, "lblPlanType", QStringLiteral("Plan &type"), m_planTypeCombo),
                    3, 0);
    // The history bills each month as the Summary would under this plan type.
    connect(m_planTypeCombo, &QComboBox::currentIndexChanged, this, &MainWindow::refreshHistory);
    grid->addWidget(m_planTypeCombo, 3, 1);
    grid->addWidget(m_plansLabel, 3, 2);

    auto* billing = new QHBoxLayout;
    billing->setSpacing(12);
    const char* billed[] = {"U&nbilled usage", "Bi&lled usage"};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(billed[i]), f);
        option->setObjectName(QStringLiteral("optBilledType_%1").arg(i));
        connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) {
                chooseBilledType(i);
            }
        });
        m_billedTypeOption[std::size_t(i)] = option;
        billing->addWidget(option);
    }
    m_billedCombo = new QComboBox(f);
    m_billedCombo->setObjectName(QStringLiteral("cmbBilled"));
    m_billedCombo->addItem(QStringLiteral("Billed 1 - Latest"));
    for (int i = 2; i <= 9; ++i) {
        m_billedCombo->addItem(QStringLiteral("Billed %1").arg(i));
    }
    m_billedCombo->addItem(QStringLiteral("Billed 10 - oldest"));
    billing->addWidget(m_billedCombo);
    billing->addStretch(1);
    m_billedTypeOption[0]->setChecked(true);
    m_billedCombo->setEnabled(false);
    grid->addLayout(billing, 4, 1, 1, 2);

    auto* cache = new QHBoxLayout;
    cache->setSpacing(6);
    m_enableCacheCheck = new QCheckBox(QStringLiteral("&Enable Cache"), f);
    m_enableCacheCheck->setObjectName(QStringLiteral("chkEnableCache"));
    m_cacheHelpLabel = linkLabel(f, "Label12", QStringLiteral("?"));
    m_cacheHelpLabel->setToolTip(kCacheHelp);
    connect(m_cacheHelpLabel, &QLabel::linkActivated, this, &MainWindow::showCacheHelp);
    cache->addWidget(m_enableCacheCheck);
    cache->addWidget(m_cacheHelpLabel);
    cache->addSpacing(18);
    m_showInPanelCheck = new QCheckBox(QStringLiteral("Sh&ow in the panel"), f);
    m_showInPanelCheck->setObjectName(QStringLiteral("chkShowInPanel"));
    connect(m_showInPanelCheck, &QCheckBox::clicked, this, &MainWindow::setShownInPanel);
    cache->addWidget(m_showInPanelCheck);
    cache->addStretch(1);
    grid->addLayout(cache, 5, 1, 1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    m_calculateButton = new QPushButton(QStringLiteral("Check &Bandwidth Usage"), f);
    m_calculateButton->setObjectName(QStringLiteral("cmdCalculate"));
    // Enter starts the check (keyPressEvent); the button shows that it is the default.
    m_calculateButton->setDefault(true);
    m_closeButton = new QPushButton(QStringLiteral("&Close"), f);
    m_closeButton->setObjectName(QStringLiteral("cmdClose"));
    connect(m_calculateButton, &QPushButton::clicked, this, &MainWindow::checkUsage);
    // The history shows the months of the user id in the box.
    connect(m_userNameEdit, &QLineEdit::editingFinished, this, &MainWindow::refreshHistory);
    connect(m_closeButton, &QPushButton::clicked, this, &MainWindow::closeFromLoginPage);
    buttons->addWidget(m_calculateButton);
    buttons->addWidget(m_closeButton);
    buttons->addStretch(1);
    grid->addLayout(buttons, 6, 1, 1, 2);
    grid->setRowMinimumHeight(7, 4);

    m_cacheNoteLabel = caption(
        f, "Label3",
        QStringLiteral("For getting user id and password, register at ORVO selfcare portal"));
    m_cacheNoteLabel->setWordWrap(true);
    grid->addWidget(m_cacheNoteLabel, 8, 0, 1, 3);
    m_passwordWarningLabel = caption(f, "lblPasswordWarning", QString());
    m_passwordWarningLabel->setWordWrap(true);
    m_passwordWarningLabel->setTextFormat(Qt::PlainText);
    m_passwordWarningLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_passwordWarningLabel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_passwordWarningLabel->setMargin(6);
    grid->addWidget(m_passwordWarningLabel, 9, 0, 1, 3);
    m_websiteLabel = linkLabel(f, "lblWebsite", m_deployment.homePage);
    m_websiteLabel->setToolTip(m_deployment.homePage);
    connect(m_websiteLabel, &QLabel::linkActivated, this, &MainWindow::openWebsite);
    grid->addWidget(m_websiteLabel, 10, 0, 1, 3);
    grid->setRowStretch(11, 1);

    placeInReadingOrder(f);

    QWidget::setTabOrder(m_userNameEdit, m_passwordEdit);
    QWidget::setTabOrder(m_passwordEdit, m_savePasswordCheck);
    QWidget::setTabOrder(m_savePasswordCheck, m_selfcaresiteCombo);
    QWidget::setTabOrder(m_selfcaresiteCombo, m_planTypeCombo);
    QWidget::setTabOrder(m_planTypeCombo, m_plansLabel);
    QWidget::setTabOrder(m_plansLabel, m_billedTypeOption[0]);
    QWidget::setTabOrder(m_billedTypeOption[0], m_billedTypeOption[1]);
    QWidget::setTabOrder(m_billedTypeOption[1], m_billedCombo);
    QWidget::setTabOrder(m_billedCombo, m_enableCacheCheck);
    QWidget::setTabOrder(m_enableCacheCheck, m_cacheHelpLabel);
    QWidget::setTabOrder(m_cacheHelpLabel, m_showInPanelCheck);
    QWidget::setTabOrder(m_showInPanelCheck, m_calculateButton);
    QWidget::setTabOrder(m_calculateButton, m_closeButton);
    QWidget::setTabOrder(m_closeButton, m_websiteLabel);
}

void MainWindow::buildProcessing(QWidget* portalView) {
    m_processingGroup = pageFrame(m_portalTabs, "fraProcessing");
    // One row above the portal page: the busy indicator, the grab's step, the prompt and the
    // button that stops the grab.
    m_grabStatusGroup = new QWidget(m_processingGroup);
    m_grabStatusGroup->setObjectName(QStringLiteral("fraGrabStatus"));
    auto* row = new QHBoxLayout(m_grabStatusGroup);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    m_prgGrabBusy = new BusyBar(m_grabStatusGroup);  // no known end: a moving block
    m_prgGrabBusy->setObjectName(QStringLiteral("prgGrabBusy"));
    m_prgGrabBusy->setFixedWidth(m_prgGrabBusy->fontMetrics().horizontalAdvance(u'M') * 6);
    m_prgGrabBusy->setAccessibleName(QStringLiteral("Checking"));
    m_prgGrabBusy->hide();
    m_grabStatusLabel = caption(m_grabStatusGroup, "lblGrabStatus", QString());
    m_grabStatusLabel->setTextFormat(Qt::PlainText);
    // What went wrong can take more than a line: it wraps, and the row grows to hold it.
    m_grabStatusLabel->setWordWrap(true);
    m_messageLabel =
        caption(m_grabStatusGroup, "lblMessage",
                QStringLiteral("select From and To dates and click \"View Usage Details\" link"));
    m_messageLabel->setWordWrap(true);
    QFont bold = m_messageLabel->font();
    bold.setBold(true);
    m_messageLabel->setFont(bold);
    m_messageLabel->hide();
    m_cancelGrabButton = new QPushButton(QStringLiteral("&Cancel"), m_grabStatusGroup);
    m_cancelGrabButton->setObjectName(QStringLiteral("cmdCancelGrab"));
    m_cancelGrabButton->setAutoDefault(false);
    connect(m_cancelGrabButton, &QPushButton::clicked, this, &MainWindow::cancelGrab);
    row->addWidget(m_prgGrabBusy);
    row->addWidget(m_grabStatusLabel, 1);
    row->addWidget(m_messageLabel, 1);
    row->addWidget(m_cancelGrabButton);

    m_webBrowser = portalView ? portalView : new QWidget;
    m_webBrowser->setParent(m_processingGroup);
    m_webBrowser->setObjectName(QStringLiteral("WebBrowser1"));
    m_webBrowser->show();
}

void MainWindow::buildUseCacheData() {
    m_useCacheDataGroup = pageFrame(m_tabStrip, "fraUseCacheData");
    QWidget* f = scrollingContents(m_useCacheDataGroup, "fraUseCacheDataContents");
    m_cacheContents = f;
    auto* column = new QVBoxLayout(f);
    column->setContentsMargins(16, 14, 16, 10);
    column->setSpacing(8);
    QLabel* explanation = caption(f, "lblCacheExplanation", kCacheExplanation);
    explanation->setWordWrap(true);
    column->addWidget(explanation);
    column->addSpacing(8);
    m_cacheFilesCombo = new QComboBox(f);
    m_cacheFilesCombo->setObjectName(QStringLiteral("cmbCacheFiles"));
    column->addWidget(fieldCaption(f, "lblCacheFiles",
                                   QStringLiteral("Select the cache &file to generate report"),
                                   m_cacheFilesCombo));
    column->addWidget(m_cacheFilesCombo);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    m_showUsageButton = new QPushButton(QStringLiteral("Show &Usage"), f);
    m_showUsageButton->setObjectName(QStringLiteral("cmdShowUsage"));
    m_showUsageButton->setDefault(true);
    m_cacheCloseButton = new QPushButton(QStringLiteral("&Close"), f);
    m_cacheCloseButton->setObjectName(QStringLiteral("cmdClose1"));
    connect(m_showUsageButton, &QPushButton::clicked, this, &MainWindow::showCachedUsage);
    connect(m_cacheCloseButton, &QPushButton::clicked, this, &MainWindow::closeFromCachePage);
    buttons->addWidget(m_showUsageButton);
    buttons->addWidget(m_cacheCloseButton);
    buttons->addStretch(1);
    column->addLayout(buttons);

    // The months side by side; choosing a row chooses its cache file above.
    auto* history = new QGroupBox(QStringLiteral("History of the cached months"), f);
    history->setObjectName(QStringLiteral("fraCacheHistory"));
    auto* inside = new QVBoxLayout(history);
    m_cacheHistory = new CacheHistoryView(history);
    inside->addWidget(m_cacheHistory);
    column->addWidget(history, 1);
    connect(m_cacheHistory, &CacheHistoryView::itemChosen, this, [this](const QString& item) {
        m_cacheFilesCombo->setCurrentIndex(m_cacheFilesCombo->findText(item));
    });
    connect(m_cacheHistory, &CacheHistoryView::itemActivated, this, [this](const QString& item) {
        m_cacheFilesCombo->setCurrentIndex(m_cacheFilesCombo->findText(item));
        showCachedUsage();
    });
    connect(m_cacheFilesCombo, &QComboBox::currentTextChanged, m_cacheHistory,
            &CacheHistoryView::selectItem);

    placeInReadingOrder(f);

    QWidget::setTabOrder(m_cacheFilesCombo, m_showUsageButton);
    QWidget::setTabOrder(m_showUsageButton, m_cacheCloseButton);
    QWidget::setTabOrder(m_cacheCloseButton, m_cacheHistory->table());
}

// --- Load, close, resize ------------------------------------------------------------------------

MainSettings MainWindow::designSettings() const {
    MainSettings s;
    // The design size, or larger where a larger font asks for it, on the screen: no larger
    // than its free area (a window manager's frame counted) and in the middle of it.
    const QSize natural = naturalWindowTwips();
    QSize size(pixelsX(natural.width()), pixelsY(natural.height()));
    QRect screen(QPoint(0, 0), size);
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        screen = primary->availableGeometry();
    }
    size = size.boundedTo(screen.size() - kWindowDecoration).expandedTo(minimumSize());
    s.width = twipsX(size.width());
    s.height = twipsY(size.height());
    s.left = twipsX(screen.left() + std::max(0, (screen.width() - size.width()) / 2));
    s.top = twipsY(screen.top() + std::max(0, (screen.height() - size.height()) / 2));
    return s;
}

void MainWindow::loadWindow() {
    try {
        m_browser->navigate(QUrl(QStringLiteral("about:blank")));
        m_billedCombo->setCurrentIndex(0);
        m_check->grabState = GrabState::Idle;

        const SettingsStore store;
        const LoadedSettings loaded = loadMainSettings(
            store, designSettings(),
            SettingLimits{int(m_planTypeCombo->count()), int(m_selfcaresiteCombo->count())});
        applySettings(loaded.values);
        // Every stored value that cannot be used, the result window's too, is told once here;
        // each gets its default, which the next close stores.
        std::vector<SettingProblem> problems = loaded.problems;
        for (SettingProblem& p :
             resultSettingProblems(store, int(planListEntries(PlanTable()).size()))) {
            problems.push_back(std::move(p));
        }
        if (!problems.empty()) {
            dialogs().show(Message{describeProblems(problems)});
        }
        restorePassword(loaded.values);

        m_result->clearReport();

        m_passwordWarningLabel->setText(
            QStringLiteral("If this software is not working, check if ORVO portal is working.") +
            QStringLiteral("\r\n\r\n") +
            QStringLiteral("This software fetches data from ORVO site and is not related to ORVO "
                           "in anyway. The software is provided in AS IS condition and we are "
                           "not liable for any mistakes in this software.") +
            QStringLiteral("\r\n\r\n") + m_deployment.obtainedFromLine());

        loadCacheFileList();
        refreshPanelOption();
    } catch (const Failure& failure) {
        dialogs().show(Message{failure.description()});
    }
}

void MainWindow::applySettings(const MainSettings& s) {
    m_userNameEdit->setText(s.userNameEdit);
    if (!s.passwordEdit.isEmpty()) {
        m_passwordEdit->setText(s.passwordEdit);
    }
    m_savePasswordCheck->setChecked(s.savePasswordCheck == 1);
    m_state.display = s.display;
    m_state.cachingEnabled = s.cachingEnabled;
    m_enableCacheCheck->setChecked(s.cachingEnabled);
    m_planTypeCombo->setCurrentIndex(s.planType);
    m_selfcaresiteCombo->setCurrentIndex(s.selfcaresite);
    // A stored place from another screen, or a size below the minimum, is brought onto this
    // screen whole.
    QRect place = storedWindowPlace(s.left, s.top, s.width, s.height);
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        place = fitIntoScreen(place, primary->availableGeometry(), minimumSize());
    }
    resize(place.size().expandedTo(minimumSize()));
    move(place.topLeft());
    // A hidden window gets its resize event only when shown; the frames follow now.
    placeControls();
    m_tabStrip->setSelectedTab(s.selectedTab);
}

MainSettings MainWindow::currentSettings() const {
    MainSettings s;
    s.userNameEdit = m_userNameEdit->text();
    s.passwordEdit = m_passwordEdit->text();
    s.savePasswordCheck = m_savePasswordCheck->isChecked() ? 1 : 0;
    s.display = m_state.display;
    s.cachingEnabled = m_enableCacheCheck->isChecked();
    s.planType = m_planTypeCombo->currentIndex();
    s.selfcaresite = m_selfcaresiteCombo->currentIndex();
    s.height = height() * twipsPerPixelY();
    s.width = width() * twipsPerPixelX();
    s.left = x() * twipsPerPixelX();
    s.top = y() * twipsPerPixelY();
    s.selectedTab = m_tabStrip->selectedTab();
    return s;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (m_ending) {
        return;  // a second close request while the keyring is still being written
    }
    m_ending = true;
    closeResultWindow();
    SettingsStore store;
    saveMainSettings(store, currentSettings(), isMinimized());
    keepPasswordAndEnd();
}

// --- The remembered password --------------------------------------------------------------------

QCoro::Task<> MainWindow::restorePassword(MainSettings loaded) {
    const QPointer<MainWindow> self(this);
    const QString user = loaded.userNameEdit;
    if (!loaded.passwordEdit.isEmpty()) {
        // Kept the old way, scrambled in the settings file: into the keyring, out of the file.
        const SecretAnswer kept = co_await m_passwords->write(user, loaded.passwordEdit);
        if (!self) {
            co_return;
        }
        if (kept.done()) {
            m_keeper->noteKept(user, loaded.passwordEdit);
            SettingsStore store;
            clearStoredPasswords(store);
        } else {
            keyringUnavailable(kept.reason);
        }
        co_return;
    }
    if (loaded.savePasswordCheck != 1 || user.trimmed().isEmpty()) {
        co_return;
    }
    const SecretAnswer read = co_await m_passwords->read(user);
    if (!self) {
        co_return;
    }
    if (read.done()) {
        m_keeper->noteKept(user, read.password);
        // Unless the subscriber has started typing meanwhile.
        if (m_passwordEdit->text().isEmpty() && m_userNameEdit->text() == user) {
            m_passwordEdit->setText(read.password);
        }
    } else if (read.outcome == SecretAnswer::Outcome::Unavailable) {
        keyringUnavailable(read.reason);
    }
}

QCoro::Task<> MainWindow::probeKeyring() {
    const QPointer<MainWindow> self(this);
    const SecretAnswer answer = co_await m_passwords->read(m_userNameEdit->text());
    if (self && answer.outcome == SecretAnswer::Outcome::Unavailable) {
        keyringUnavailable(answer.reason);
    }
}

QCoro::Task<> MainWindow::keepPasswordAndEnd() {
    const QPointer<MainWindow> self(this);
    const QString user = m_userNameEdit->text();
    const QString password = m_passwordEdit->text();
    if (!m_savePasswordCheck->isChecked()) {
        m_keeper->forget(user);
    } else if (!password.isEmpty() && m_refusedLogin != std::pair(user, password)) {
        // A password the portal refused is not worth remembering; one never tried is kept,
        // as the box asks.
        m_keeper->keep(user, password);
    }
    // The keyring's answer comes through the event loop, which the program leaves only once
    // it is there (or the limit has passed).
    if (m_keeper->busy()) {
        co_await qCoro(m_keeper.get(), &PasswordKeeper::settled, m_options.keyringCloseLimit);
    }
    if (self) {
        Q_EMIT programEnded();
    }
}

void MainWindow::savePasswordClicked(bool ticked) {
    const QString user = m_userNameEdit->text();
    if (!ticked) {
        m_keeper->forget(user);
        return;
    }
    probeKeyring();
    // Ticked after a check: the password the portal has just accepted is kept at once.
    if (m_acceptedLogin == std::pair(user, m_passwordEdit->text())) {
        m_keeper->keep(user, m_passwordEdit->text());
    }
}

void MainWindow::loginAnswered(const QString& userId, const QString& password, bool accepted) {
    if (!accepted) {
        m_refusedLogin = std::pair(userId, password);
        return;
    }
    m_acceptedLogin = std::pair(userId, password);
    if (m_refusedLogin == m_acceptedLogin) {
        m_refusedLogin.reset();
    }
    if (m_savePasswordCheck->isChecked()) {
        m_keeper->keep(userId, password);
    }
}

void MainWindow::keyringUnavailable(const QString& reason) {
    if (m_keyringWarned) {
        return;
    }
    m_keyringWarned = true;
    dialogs().show(Message{
        QStringLiteral("Kestrova cannot remember your password: %1.\n\nThe password is kept "
                       "only until Kestrova closes; it is never written to the settings file.")
            .arg(reason),
        QStringLiteral("Remember password"), MessageIcon::Information});
}

void MainWindow::closeResultWindow() {
    if (m_result && m_result->isVisible()) {
        m_result->done(QDialog::Rejected);
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
        if (button->isEnabled()) {
            button->click();
        }
        return;
    }
    const bool loginInfo = m_tabStrip->selectedTab() == 1 && m_portalTabs->selectedTab() == 1;
    if (loginInfo || m_tabStrip->selectedTab() == 2) {
        checkUsage();
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_shownOnce) {
        return;
    }
    m_shownOnce = true;
    if (m_tabStrip->selectedTab() == 1) {
        QLineEdit* first = m_userNameEdit->text().isEmpty()   ? m_userNameEdit
                           : m_passwordEdit->text().isEmpty() ? m_passwordEdit
                                                              : nullptr;
        QWidget* focus = first ? static_cast<QWidget*>(first) : m_calculateButton;
        focus->setFocus(Qt::TabFocusReason);
    } else {
        m_cacheFilesCombo->setFocus(Qt::TabFocusReason);
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeControls();
}

QSize MainWindow::naturalFrameTwips(const QWidget* contents, const TwipRect& design) const {
    // Room for a scroll bar beside the lines, for the page that is too low for them.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int width = std::max(pixelsX(design.width), contents->minimumSizeHint().width() + bar);
    const int height = contents->hasHeightForWidth() ? contents->heightForWidth(width)
                                                     : contents->sizeHint().height();
    return QSize(std::max(design.width, twipsX(width)), std::max(design.height, twipsY(height)));
}

QSize MainWindow::naturalWindowTwips() const {
    // The rules give loginInfoGroup the window's inner width less 525 twips and its height less
    // 1500, below its top of 330; a margin stays on each side.
    // The cache page fills its page and its history stretches: only its width counts.
    const QSize login = naturalFrameTwips(m_loginContents, kDesignLoginInfo);
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int cacheWidth = twipsX(m_cacheContents->minimumSizeHint().width() + bar);
    return QSize(std::max({kDesignWidth, login.width() + 525 + 2 * kPageMarginTwips,
                           cacheWidth + 400 + 2 * kPageMarginTwips}),
                 std::max(kDesignHeight, login.height() + 1500 + 330 + kPageMarginTwips));
}

void MainWindow::updateMinimumSize() {
    // As narrow as the pages' contents allow without cutting a line (a scroll bar beside
    // them), with both tab strips' tabs in view; as low as leaves the pages a few lines,
    // which scroll.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int login = twipsX(m_loginContents->minimumSizeHint().width() + bar);
    const int cache = twipsX(m_cacheContents->minimumSizeHint().width() + bar);
    const int tabs = twipsX(m_tabStrip->tabCount() * m_tabStrip->tabsWidth() + 2);
    const int innerTabs = twipsX(m_portalTabs->tabCount() * m_portalTabs->tabsWidth() + 2);
    const int width = std::max({login + 525 + 2 * kPageMarginTwips,
                                cache + 400 + 2 * kPageMarginTwips, tabs + 250, innerTabs + 525});
    const int height = 1500 + 330 + twipsY(kMinimumPageRows) + kPageMarginTwips;
    const QSize minimum(pixelsX(width), pixelsY(height));
    if (minimumSize() != minimum) {
        setMinimumSize(minimum);
    }
}

void MainWindow::placeControls() {
    if (isMinimized()) {
        return;
    }
    updateMinimumSize();
    resizeMainWindow(m_layout, twipsX(width()), twipsY(height()));
    fitFixedFrames(m_layout, naturalFrameTwips(m_loginContents, kDesignLoginInfo));
    placeFrames();
}

void MainWindow::placeFrames() {
    m_tabStrip->setGeometry(pixelRect(m_layout.tabStrip));
    m_passwordGroup->setGeometry(pixelRect(m_layout.passwordGroup));
    m_portalTabs->setGeometry(pixelRect(m_layout.portalTabs));
    m_loginInfoGroup->setGeometry(pixelRect(m_layout.loginInfoGroup));
    m_useCacheDataGroup->setGeometry(pixelRect(m_layout.useCacheDataGroup));
    m_processingGroup->setGeometry(pixelRect(m_layout.processingGroup));
    TwipRect message = kDesignMessage;
    message.width = m_layout.webBrowser.width;
    QRect row = pixelRect(message);
    // The status row keeps the height its lines need; the portal page starts below it and
    // keeps its bottom edge.
    const int needed = m_grabStatusGroup->hasHeightForWidth()
                           ? m_grabStatusGroup->heightForWidth(row.width())
                           : m_grabStatusGroup->sizeHint().height();
    row.setHeight(std::max(row.height(), needed));
    m_grabStatusGroup->setGeometry(row);
    const QRect browser = pixelRect(m_layout.webBrowser);
    const int top = std::max(browser.top(), row.bottom() + 5);
    m_webBrowser->setGeometry(
        QRect(browser.left(), top, browser.width(), std::max(0, browser.bottom() + 1 - top)));
}

// --- Commands -----------------------------------------------------------------------------------

void MainWindow::checkUsage() {
    m_reportOfDownload = false;
    m_check->checkUsage();
}

void MainWindow::closeFromLoginPage() {
    close();
}

void MainWindow::closeFromCachePage() {
    close();
}

void MainWindow::showCacheHelp() {
    dialogs().show(Message{kCacheHelp, QString(), MessageIcon::Information});
}

void MainWindow::openPlansPage() {
    openLink(m_deployment.plansPage);
}

void MainWindow::openWebsite() {
    openLink(m_deployment.homePage);
}

void MainWindow::openLink(const QString& address) {
    const QUrl url = QUrl::fromUserInput(address);
    if (m_options.openUrl) {
        if (!m_options.openUrl(url)) {
            linkNotOpened(url);
        }
        return;
    }
    openWithDesktop(url);
}

void MainWindow::openWithDesktop(const QUrl& url) {
    // xdg-open is run here rather than left to the platform, which starts it detached and
    // counts that as opened: without a browser it exits with an error (3) and nothing opens.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(url)) {
            linkNotOpened(url);
        }
        return;
    }
    auto* process = new QProcess(this);
    process->setProgram(opener);
    process->setArguments({url.toString(QUrl::FullyEncoded)});
    process->setStandardOutputFile(QProcess::nullDevice());
    connect(process, &QProcess::finished, this,
            [this, process, url](int exitCode, QProcess::ExitStatus status) {
                process->deleteLater();
                if (status != QProcess::NormalExit || exitCode != 0) {
                    linkNotOpened(url);
                }
            });
    connect(process, &QProcess::errorOccurred, this,
            [this, process, url](QProcess::ProcessError error) {
                if (error == QProcess::FailedToStart) {
                    process->deleteLater();
                    linkNotOpened(url);
                }
            });
    process->start();
}

void MainWindow::linkNotOpened(const QUrl& url) {
    // A click that silently does nothing leaves the user guessing; the address can be copied
    // out of the message (its text is selectable) and opened by hand.
    dialogs().show(Message(kLinkNotOpened + QStringLiteral("\n\n") + url.toString(),
                           QStringLiteral("Open link"), MessageIcon::Warning));
}

void MainWindow::chooseBilledType(int index) {
    m_billedCombo->setEnabled(index == 1);
    m_state.unbilledSelected = index == 0;
}

void MainWindow::loadCacheFileList() {
    try {
        const CacheFileList list = kestrova::loadCacheFileList(m_folder);
        m_cacheFilesCombo->clear();
        m_cacheFilesCombo->addItems(list.items);
        m_cacheFilesCombo->setCurrentIndex(list.selected);
    } catch (const Failure& failure) {
        dialogs().show(Message{failure.description()});
    }
    refreshHistory();
}

void MainWindow::refreshHistory() {
    const std::optional<PlanChoice> chosen = storedPlanChoice(SettingsStore());
    const QDate today = m_options.result.clock ? m_options.result.clock() : QDate::currentDate();
    History history;
    try {
        history = buildHistory(m_folder, m_userNameEdit->text().trimmed(), chosen, today,
                               planKindOf(planKind()).value_or(PlanKind::Limited));
    } catch (const Failure&) {
        // The folder cannot be listed: loadCacheFileList has said so.
    }
    std::optional<double> allowance;
    if (chosen) {
        const MonthSummary plan = summarizeMonth(SummaryInputs{}, *chosen, today);
        if (!plan.plan.isUnlimited()) {
            allowance = plan.plan.number(BandwidthLimitMB);
        }
    }
    m_cacheHistory->showHistory(history, allowance);
    m_cacheHistory->selectItem(m_cacheFilesCombo->currentText());
}

// --- The hand-over to the result window ---------------------------------------------------------

void MainWindow::writeOutput() {
    m_report->writeOutput();
}

// Resumed from the result window's finished signal, directly: a resumption queued behind the
// signal would be lost with the window when the main window goes first.
struct MainWindow::ResultWindowClosed {
    MainWindow& window;
    bool await_ready() const noexcept { return !window.m_result->isVisible(); }
    void await_suspend(std::coroutine_handle<> waiter) { window.m_resultWaiters.push_back(waiter); }
    void await_resume() const noexcept {}
};

void MainWindow::resumeResultWaiters() {
    std::vector<std::coroutine_handle<>> waiters;
    waiters.swap(m_resultWaiters);
    for (std::coroutine_handle<> waiter : waiters) {
        waiter.resume();
    }
}

QCoro::Task<> MainWindow::showOutput() {
    const QPointer<MainWindow> self(this);
    Q_EMIT outputStarted();
    writeOutput();
    Q_EMIT outputWritten();
    m_result->prepareToShow(windowIcon());
    if (m_reportOfDownload) {
        m_reportOfDownload = false;
        keepCheck();  // priced on the plan the Summary tab has chosen now
    }
    ++m_showing;
    m_result->open();
    co_await ResultWindowClosed{*this};
    if (!self) {
        co_return;
    }
    --m_showing;
    m_messageLabel->hide();
    if (m_enableCacheCheck->isChecked() && m_tabStrip->selectedTab() != 2) {
        loadCacheFileList();
    } else {
        refreshHistory();  // the plan may have been changed on the Summary tab
    }
    Q_EMIT outputClosed();
}

// --- The last check, for the panel ------------------------------------------------------------

void MainWindow::keepCheck() {
    const SummaryTab& summary = m_result->summaryGroup()->logic();
    const ReportOutcome outcome = m_result->outcome();
    CheckFacts facts;
    facts.host = selfcareSiteText();
    facts.user = m_state.userName;
    facts.billed = !m_state.unbilledSelected;
    facts.log = inProgramFolder(m_folder, QStringLiteral("usage.htm"));
    facts.checkedAt = QDateTime::currentDateTime();
    if (const auto period = portalPeriod(m_state.monthYear)) {
        std::tie(facts.from, facts.to) = *period;
    } else if (!outcome.dailyTotals.empty()) {
        // The portal's drop-downs gave another form: the days the records cover.
        const auto [first, last] = std::minmax_element(
            outcome.dailyTotals.begin(), outcome.dailyTotals.end(),
            [](const DailyTotal& a, const DailyTotal& b) { return a.date < b.date; });
        facts.from = first->date;
        facts.to = last->date;
    } else {
        facts.from = facts.to = outcome.mdtLastUsedDate;
    }
    const QJsonObject document = checkDocument(m_state, m_report->figures(), summary.monthSummary(),
                                               summary.forecast(), facts);
    QString why;
    if (!keepLastCheck(m_folder, document, facts.log, why)) {
        dialogs().show(
            Message{QStringLiteral("The check could not be kept for the panel:\n\n") + why,
                    {},
                    MessageIcon::Warning});
    }
}

void MainWindow::keepCheckFailure(const GrabStop& stop) {
    const QString user = m_state.userName.isEmpty() ? userName() : m_state.userName;
    if (user.trimmed().isEmpty()) {
        return;
    }
    QString reason = stop.message.text.section(u'\n', 0, 0);
    if (!stop.detail.isEmpty()) {
        reason += u" (" + stop.detail + u')';
    }
    QString why;
    // Not kept is no more than not shown in the panel: the message box says what failed.
    kestrova::keepCheckFailure(
        m_folder,
        CheckFailure{user, !m_state.unbilledSelected, reason, QDateTime::currentDateTime()}, why);
}

bool MainWindow::showLastCheck(const QString& documentPath) {
    const auto cannot = [](const QString& why) {
        dialogs().show(Message{
            QStringLiteral("The last check cannot be shown: ") + why, {}, MessageIcon::Warning});
        return false;
    };
    QFile file(documentPath);
    if (!file.open(QIODevice::ReadOnly)) {
        return cannot(documentPath + QStringLiteral(": ") + file.errorString());
    }
    // A check's document is some tens of kilobytes.
    const QJsonObject document =
        QJsonDocument::fromJson(file.read(qint64(4) * 1024 * 1024)).object();
    const QJsonObject check = document.value(QStringLiteral("check")).toObject();
    const QJsonObject month = document.value(QStringLiteral("month")).toObject();
    const QString user = check.value(QStringLiteral("user")).toString();
    const std::optional<PlanKind> kind =
        planKindOf(month.value(QStringLiteral("planKind")).toInt(-1));
    if (user.isEmpty() || !month.value(QStringLiteral("period")).isString() || !kind) {
        return cannot(documentPath + QStringLiteral(" is no check of Kestrova's"));
    }
    const bool billed = check.value(QStringLiteral("kind")).toString() == u"billed";
    const QString log = lastCheckFilesOf(documentPath).log;
    QString text;
    try {
        text = readFileData(log, false);
    } catch (const Failure& failure) {
        return cannot(failure.description());
    }
    if (!looksLikeUsageLog(text)) {
        return cannot(log + QStringLiteral(" holds no usage log"));
    }
    m_reportOfDownload = false;
    m_state.records.clear();
    m_state.chart.reset();
    m_state.userName = user;
    m_state.monthYear = month.value(QStringLiteral("period")).toString();
    m_state.unbilledSelected = !billed;
    m_state.planKind = *kind;
    m_result->clearReport();
    // The report follows from Timer1, as a downloaded log's does.
    m_extraction->parseUsageFile(text);
    return true;
}

// --- Show in the panel -----------------------------------------------------------------------

QString MainWindow::program() const {
    return m_options.program.isEmpty() ? QCoreApplication::applicationFilePath()
                                       : m_options.program;
}

void MainWindow::refreshPanelOption() {
    const TrayAvailability tray =
        m_options.trayAvailability ? m_options.trayAvailability() : trayAvailability();
    const bool entered = autostartEnabled();
    m_showInPanelCheck->setChecked(entered);
    m_showInPanelCheck->setEnabled(tray.available || entered);
    const QString help = QStringLiteral(
        "Shows the month's usage, daily budget and bill in the panel, from the start of each "
        "session");
    const QString why = tray.available ? help : help + QStringLiteral(".\n\n") + tray.reason;
    m_showInPanelCheck->setToolTip(why);
    m_showInPanelCheck->setAccessibleDescription(why);
}

void MainWindow::setShownInPanel(bool shown) {
    QString why;
    if (!setAutostart(shown, program(), why)) {
        const QSignalBlocker quiet(m_showInPanelCheck);
        m_showInPanelCheck->setChecked(!shown);
        dialogs().show(Message{QStringLiteral("Kestrova cannot be put in the panel: ") + why,
                               QStringLiteral("Show in the panel"), MessageIcon::Warning});
        return;
    }
    if (shown) {
        // The item now, not only from the next session on; one already there stays the one.
        const QStringList arguments{QStringLiteral("--tray")};
        if (m_options.startDetached) {
            m_options.startDetached(program(), arguments);
        } else {
            QProcess::startDetached(program(), arguments);
        }
    }
    refreshPanelOption();
}

// --- GrabHost and RetrievalHost -----------------------------------------------------------------

MainPage MainWindow::selectedMainPage() const {
    return static_cast<MainPage>(m_tabStrip->selectedTab());  // the strip numbers tabs from 1
}

QString MainWindow::userName() const {
    return m_userNameEdit->text();
}

QString MainWindow::password() const {
    return m_passwordEdit->text();
}

int MainWindow::selfcareSiteIndex() const {
    return m_selfcaresiteCombo->currentIndex();
}

QString MainWindow::selfcareSiteText() const {
    return m_selfcaresiteCombo->currentText();
}

void MainWindow::focusSelfcareSite() {
    m_selfcaresiteCombo->setFocus();
}

int MainWindow::cacheFileIndex() const {
    return m_cacheFilesCombo->currentIndex();
}

QString MainWindow::cacheFileText() const {
    return m_cacheFilesCombo->currentText();
}

void MainWindow::focusCacheFiles() {
    m_cacheFilesCombo->setFocus();
}

void MainWindow::focusUserName() {
    m_userNameEdit->setFocus();
}

void MainWindow::focusPassword() {
    m_passwordEdit->setFocus();
    m_passwordEdit->selectAll();
}

void MainWindow::showGrabStatus(const QString& text, bool busy) {
    m_grabStatusLabel->setText(text);
    m_prgGrabBusy->setVisible(busy);
    placeFrames();  // a longer text may need another line
}

void MainWindow::grabProgress(GrabStep step) {
    m_cancelGrabButton->setText(QStringLiteral("&Cancel"));
    switch (step) {
        case GrabStep::Connecting:
            showGrabStatus(QStringLiteral("Connecting to %1...").arg(selfcareSiteText()), true);
            break;
        case GrabStep::LoggingIn:
            showGrabStatus(QStringLiteral("Logging in as %1...").arg(m_state.userName), true);
            break;
        case GrabStep::OpeningUsagePage:
            showGrabStatus(QStringLiteral("Opening the usage page..."), true);
            break;
        case GrabStep::WaitingForDates:
            // The subscriber's turn: the prompt says what to do, nothing is busy.
            showGrabStatus(QStringLiteral("Waiting for the dates."), false);
            break;
        case GrabStep::FetchingLog:
            showGrabStatus(QStringLiteral("Fetching the usage log..."), true);
            break;
    }
}

void MainWindow::grabStopped(const GrabStop& stop) {
    if (stop.problem == GrabProblem::Cancelled) {
        showGrabStatus(QString(), false);
        return;
    }
    if (stop.problem == GrabProblem::NoCredentials) {
        dialogs().show(stop.message);
        return;  // nothing started: the login fields are still in front
    }
    keepCheckFailure(stop);
    // What went wrong stays on the page after the message box has gone, in place of the
    // prompt or "Fetching log. Please wait...".
    setMessageVisible(false);
    showGrabStatus(stop.message.text.section(u'\n', 0, 0), false);
    m_cancelGrabButton->setText(QStringLiteral("&Back"));
    dialogs().show(stop.message);
    if (stop.problem == GrabProblem::LoginRefused) {
        selectLoginInfoPage();
        focusPassword();
    }
}

bool MainWindow::cacheEnabled() const {
    return m_enableCacheCheck->isChecked();
}

int MainWindow::planKind() const {
    return std::max(0, m_planTypeCombo->currentIndex());
}

void MainWindow::cancelGrab() {
    if (m_check->isGrabbing()) {
        m_check->cancelGrab();
    } else {
        selectLoginInfoPage();
    }
}

void MainWindow::selectLoginInfoPage() {
    m_portalTabs->setSelectedTab(1);
}

void MainWindow::selectProcessingPage() {
    m_portalTabs->setSelectedTab(2);
}

void MainWindow::setMessageCaption(const QString& caption) {
    m_messageLabel->setText(caption);
    placeFrames();
}

void MainWindow::setMessageVisible(bool visible) {
    m_messageLabel->setVisible(visible);
    // The prompt says more than the step: one of the two at a time.
    m_grabStatusLabel->setVisible(!visible);
    placeFrames();
}

void MainWindow::blankReport() {
    m_result->clearReport();
}

void MainWindow::processPendingEvents() {
    // Shows what has changed at once. No events run here: a nested event loop near the
    // browser engine loses its page, and the grab's own waits let the loop run anyway.
    if (m_messageLabel->isVisible()) {
        m_messageLabel->repaint();
    }
}

void MainWindow::startResumeTimer() {
    m_check->startResumeTimer();
}

void MainWindow::setBusy(bool busy) {
    if (busy == m_busy) {
        return;
    }
    m_busy = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace kestrova
