// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/frm_main.h"

#include "results/office_chart/office_chart.h"

#include "app/cache_history_view.h"
#include "app/password_keeper.h"
#include "app/program_icon.h"
#include "controls/accessibility.h"
#include "controls/busy_bar.h"
#include "controls/downloader.h"
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
// lblMessage above the portal page.
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
    if (className == QLatin1String("kestrova::frmMain")) {
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

frmMain::frmMain(MainWindowOptions options, QWidget* parent)
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
    connect(m_keeper.get(), &PasswordKeeper::unavailable, this, &frmMain::keyringUnavailable);

    const StoredForm form = StoredForm::load(storedFormPath(QStringLiteral("frmMain")));
    m_ctlTabs1 = new ctlTabs(this);
    m_ctlTabs1->setObjectName(QStringLiteral("ctlTabs1"));
    m_ctlTabs1->ReadProperties(form.bag(QStringLiteral("ctlTabs1")));
    m_fraPassword = pageFrame(m_ctlTabs1, "fraPassword");
    m_ctlPasswordVersion = new ctlTabs(m_fraPassword);
    m_ctlPasswordVersion->setObjectName(QStringLiteral("ctlPasswordVersion"));
    m_ctlPasswordVersion->ReadProperties(form.bag(QStringLiteral("ctlPasswordVersion")));
    buildLoginInfo();
    buildProcessing(portal.view);
    buildUseCacheData();

    ResultWindowOptions resultOptions = std::move(m_options.result);
    resultOptions.plansAddress = m_deployment.postpaidPlansPage;
    if (!resultOptions.officeChart) {
        resultOptions.officeChart = createOfficeChart;  // chart type 2 on Qt Charts
    }
    m_result = std::make_unique<frmResult>(m_state, *this, std::move(resultOptions), this);
    connect(m_result.get(), &QDialog::finished, this, &frmMain::resumeResultWaiters);
    m_downloader = std::make_unique<Downloader>();
    connect(m_downloader.get(), &Downloader::Complete, this, &frmMain::Downloader1_Complete);
    m_report = std::make_unique<ReportBuilder>(m_state, *this, *m_result);
    m_extraction = std::make_unique<UsageExtraction>(m_state, *this, *m_report);
    m_check = std::make_unique<UsageCheck>(m_state, *this, *m_browser, *m_extraction, *m_report);
    connect(m_check.get(), &UsageCheck::logRead, this, [this] { m_reportOfDownload = true; });

    m_layout.ctlTabs1 = kDesignTabs1;
    m_layout.fraPassword = kDesignPassword;
    m_layout.ctlPasswordVersion = kDesignPasswordVersion;
    m_layout.fraLoginInfo = kDesignLoginInfo;
    m_layout.fraUseCacheData = kDesignUseCacheData;
    m_layout.fraProcessing = kDesignProcessing;
    m_layout.WebBrowser1 = kDesignBrowser;
    resize(pixelsX(kDesignWidth), pixelsY(kDesignHeight));
    Form_Resize();

    Form_Load();
}

frmMain::~frmMain() {
    // The user id box loses the focus while the child widgets go, after this window's own
    // members have gone: its history refresh must not run then.
    disconnect(m_txtUserName, &QLineEdit::editingFinished, this, &frmMain::refreshHistory);
    // A ShowOutput still waiting for the result window ends before the window goes.
    closeResultWindow();
    resumeResultWaiters();
}

// --- Building the controls ----------------------------------------------------------------------

void frmMain::buildLoginInfo() {
    m_fraLoginInfo = pageFrame(m_ctlPasswordVersion, "fraLoginInfo");
    QWidget* f = scrollingContents(m_fraLoginInfo, "fraLoginInfoContents");
    m_loginContents = f;
    auto* grid = new QGridLayout(f);
    grid->setContentsMargins(12, 10, 12, 8);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(7);
    grid->setColumnStretch(1, 1);

    m_txtUserName = new QLineEdit(f);
    m_txtUserName->setObjectName(QStringLiteral("txtUserName"));
    m_txtPassword = new QLineEdit(f);
    m_txtPassword->setObjectName(QStringLiteral("txtPassword"));
    m_txtPassword->setEchoMode(QLineEdit::Password);
    m_chkSavePassword = new QCheckBox(QStringLiteral("&Remember password"), f);
    m_chkSavePassword->setObjectName(QStringLiteral("chkSavePassword"));
    m_chkSavePassword->setToolTip(
        QStringLiteral("Keeps the password in the desktop keyring, never in a file"));
    connect(m_chkSavePassword, &QCheckBox::clicked, this, &frmMain::savePasswordClicked);
    grid->addWidget(fieldCaption(f, "lblUserName", QStringLiteral("&User ID"), m_txtUserName), 0,
                    0);
    grid->addWidget(m_txtUserName, 0, 1);
    grid->addWidget(fieldCaption(f, "lblPassword", QStringLiteral("&Password"), m_txtPassword), 1,
                    0);
    grid->addWidget(m_txtPassword, 1, 1);
    grid->addWidget(m_chkSavePassword, 1, 2);

    m_cmbSelfcaresite = new QComboBox(f);
    m_cmbSelfcaresite->setObjectName(QStringLiteral("cmbSelfcaresite"));
    m_cmbSelfcaresite->addItems({m_deployment.northHost, m_deployment.westHost});
    m_cmbSelfcaresite->setCurrentIndex(-1);
    grid->addWidget(
        fieldCaption(f, "lblSelfcaresite", QStringLiteral("&Selfcare Portal"), m_cmbSelfcaresite),
        2, 0);
    grid->addWidget(m_cmbSelfcaresite, 2, 1);

    m_cmbPlanType = new QComboBox(f);
    m_cmbPlanType->setObjectName(QStringLiteral("cmbPlanType"));
    m_cmbPlanType->addItems({QStringLiteral("Limited Bandwidth"),
                             QStringLiteral("Limited Bandwidth with Night Unlimited"),
                             QStringLiteral("Unlimited Bandwidth")});
    m_lblPlans = linkLabel(f, "lblPlans", QStringLiteral("ORVO broadband plans"));
    m_lblPlans->setToolTip(m_deployment.plansPage);
    connect(m_lblPlans, &QLabel::linkActivated, this, &frmMain::lblPlans_Click);
    grid->addWidget(fieldCaption(f, "lblPlanType", QStringLiteral("Plan &type"), m_cmbPlanType), 3,
                    0);
    // The history bills each month as the Summary would under this plan type.
    connect(m_cmbPlanType, &QComboBox::currentIndexChanged, this, &frmMain::refreshHistory);
    grid->addWidget(m_cmbPlanType, 3, 1);
    grid->addWidget(m_lblPlans, 3, 2);

    auto* billing = new QHBoxLayout;
    billing->setSpacing(12);
    const char* billed[] = {"U&nbilled usage", "Bi&lled usage"};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(billed[i]), f);
        option->setObjectName(QStringLiteral("optBilledType_%1").arg(i));
        connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) {
                optBilledType_Click(i);
            }
        });
        m_optBilledType[std::size_t(i)] = option;
        billing->addWidget(option);
    }
    m_cmbBilled = new QComboBox(f);
    m_cmbBilled->setObjectName(QStringLiteral("cmbBilled"));
    m_cmbBilled->addItem(QStringLiteral("Billed 1 - Latest"));
    for (int i = 2; i <= 9; ++i) {
        m_cmbBilled->addItem(QStringLiteral("Billed %1").arg(i));
    }
    m_cmbBilled->addItem(QStringLiteral("Billed 10 - oldest"));
    billing->addWidget(m_cmbBilled);
    billing->addStretch(1);
    m_optBilledType[0]->setChecked(true);
    m_cmbBilled->setEnabled(false);
    grid->addLayout(billing, 4, 1, 1, 2);

    auto* cache = new QHBoxLayout;
    cache->setSpacing(6);
    m_chkEnableCache = new QCheckBox(QStringLiteral("&Enable Cache"), f);
    m_chkEnableCache->setObjectName(QStringLiteral("chkEnableCache"));
    m_label12 = linkLabel(f, "Label12", QStringLiteral("?"));
    m_label12->setToolTip(kCacheHelp);
    connect(m_label12, &QLabel::linkActivated, this, &frmMain::Label12_Click);
    cache->addWidget(m_chkEnableCache);
    cache->addWidget(m_label12);
    cache->addSpacing(18);
    m_chkShowInPanel = new QCheckBox(QStringLiteral("Sh&ow in the panel"), f);
    m_chkShowInPanel->setObjectName(QStringLiteral("chkShowInPanel"));
    connect(m_chkShowInPanel, &QCheckBox::clicked, this, &frmMain::setShownInPanel);
    cache->addWidget(m_chkShowInPanel);
    cache->addStretch(1);
    grid->addLayout(cache, 5, 1, 1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    m_cmdCalculate = new QPushButton(QStringLiteral("Check &Bandwidth Usage"), f);
    m_cmdCalculate->setObjectName(QStringLiteral("cmdCalculate"));
    // Enter starts the check (keyPressEvent); the button shows that it is the default.
    m_cmdCalculate->setDefault(true);
    m_cmdClose = new QPushButton(QStringLiteral("&Close"), f);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));
    connect(m_cmdCalculate, &QPushButton::clicked, this, &frmMain::cmdCalculate_Click);
    // The history shows the months of the user id in the box.
    connect(m_txtUserName, &QLineEdit::editingFinished, this, &frmMain::refreshHistory);
    connect(m_cmdClose, &QPushButton::clicked, this, &frmMain::cmdClose_Click);
    buttons->addWidget(m_cmdCalculate);
    buttons->addWidget(m_cmdClose);
    buttons->addStretch(1);
    grid->addLayout(buttons, 6, 1, 1, 2);
    grid->setRowMinimumHeight(7, 4);

    m_label3 = caption(
        f, "Label3",
        QStringLiteral("For getting user id and password, register at ORVO selfcare portal"));
    m_label3->setWordWrap(true);
    grid->addWidget(m_label3, 8, 0, 1, 3);
    m_lblPasswordWarning = caption(f, "lblPasswordWarning", QString());
    m_lblPasswordWarning->setWordWrap(true);
    m_lblPasswordWarning->setTextFormat(Qt::PlainText);
    m_lblPasswordWarning->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblPasswordWarning->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_lblPasswordWarning->setMargin(6);
    grid->addWidget(m_lblPasswordWarning, 9, 0, 1, 3);
    m_lblWebsite = linkLabel(f, "lblWebsite", m_deployment.homePage);
    m_lblWebsite->setToolTip(m_deployment.homePage);
    connect(m_lblWebsite, &QLabel::linkActivated, this, &frmMain::lblWebsite_Click);
    grid->addWidget(m_lblWebsite, 10, 0, 1, 3);
    grid->setRowStretch(11, 1);

    placeInReadingOrder(f);

    QWidget::setTabOrder(m_txtUserName, m_txtPassword);
    QWidget::setTabOrder(m_txtPassword, m_chkSavePassword);
    QWidget::setTabOrder(m_chkSavePassword, m_cmbSelfcaresite);
    QWidget::setTabOrder(m_cmbSelfcaresite, m_cmbPlanType);
    QWidget::setTabOrder(m_cmbPlanType, m_lblPlans);
    QWidget::setTabOrder(m_lblPlans, m_optBilledType[0]);
    QWidget::setTabOrder(m_optBilledType[0], m_optBilledType[1]);
    QWidget::setTabOrder(m_optBilledType[1], m_cmbBilled);
    QWidget::setTabOrder(m_cmbBilled, m_chkEnableCache);
    QWidget::setTabOrder(m_chkEnableCache, m_label12);
    QWidget::setTabOrder(m_label12, m_chkShowInPanel);
    QWidget::setTabOrder(m_chkShowInPanel, m_cmdCalculate);
    QWidget::setTabOrder(m_cmdCalculate, m_cmdClose);
    QWidget::setTabOrder(m_cmdClose, m_lblWebsite);
}

void frmMain::buildProcessing(QWidget* portalView) {
    m_fraProcessing = pageFrame(m_ctlPasswordVersion, "fraProcessing");
    // One row above the portal page: the busy indicator, the grab's step, the prompt and the
    // button that stops the grab.
    m_fraGrabStatus = new QWidget(m_fraProcessing);
    m_fraGrabStatus->setObjectName(QStringLiteral("fraGrabStatus"));
    auto* row = new QHBoxLayout(m_fraGrabStatus);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    m_prgGrabBusy = new BusyBar(m_fraGrabStatus);  // no known end: a moving block
    m_prgGrabBusy->setObjectName(QStringLiteral("prgGrabBusy"));
    m_prgGrabBusy->setFixedWidth(m_prgGrabBusy->fontMetrics().horizontalAdvance(u'M') * 6);
    m_prgGrabBusy->setAccessibleName(QStringLiteral("Checking"));
    m_prgGrabBusy->hide();
    m_lblGrabStatus = caption(m_fraGrabStatus, "lblGrabStatus", QString());
    m_lblGrabStatus->setTextFormat(Qt::PlainText);
    // What went wrong can take more than a line: it wraps, and the row grows to hold it.
    m_lblGrabStatus->setWordWrap(true);
    m_lblMessage =
        caption(m_fraGrabStatus, "lblMessage",
                QStringLiteral("select From and To dates and click \"View Usage Details\" link"));
    m_lblMessage->setWordWrap(true);
    QFont bold = m_lblMessage->font();
    bold.setBold(true);
    m_lblMessage->setFont(bold);
    m_lblMessage->hide();
    m_cmdCancelGrab = new QPushButton(QStringLiteral("&Cancel"), m_fraGrabStatus);
    m_cmdCancelGrab->setObjectName(QStringLiteral("cmdCancelGrab"));
    m_cmdCancelGrab->setAutoDefault(false);
    connect(m_cmdCancelGrab, &QPushButton::clicked, this, &frmMain::cmdCancelGrab_Click);
    row->addWidget(m_prgGrabBusy);
    row->addWidget(m_lblGrabStatus, 1);
    row->addWidget(m_lblMessage, 1);
    row->addWidget(m_cmdCancelGrab);

    m_webBrowser1 = portalView ? portalView : new QWidget;
    m_webBrowser1->setParent(m_fraProcessing);
    m_webBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    m_webBrowser1->show();
}

void frmMain::buildUseCacheData() {
    m_fraUseCacheData = pageFrame(m_ctlTabs1, "fraUseCacheData");
    QWidget* f = scrollingContents(m_fraUseCacheData, "fraUseCacheDataContents");
    m_cacheContents = f;
    auto* column = new QVBoxLayout(f);
    column->setContentsMargins(16, 14, 16, 10);
    column->setSpacing(8);
    QLabel* explanation = caption(f, "lblCacheExplanation", kCacheExplanation);
    explanation->setWordWrap(true);
    column->addWidget(explanation);
    column->addSpacing(8);
    m_cmbCacheFiles = new QComboBox(f);
    m_cmbCacheFiles->setObjectName(QStringLiteral("cmbCacheFiles"));
    column->addWidget(fieldCaption(f, "lblCacheFiles",
                                   QStringLiteral("Select the cache &file to generate report"),
                                   m_cmbCacheFiles));
    column->addWidget(m_cmbCacheFiles);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    m_cmdShowUsage = new QPushButton(QStringLiteral("Show &Usage"), f);
    m_cmdShowUsage->setObjectName(QStringLiteral("cmdShowUsage"));
    m_cmdShowUsage->setDefault(true);
    m_cmdClose1 = new QPushButton(QStringLiteral("&Close"), f);
    m_cmdClose1->setObjectName(QStringLiteral("cmdClose1"));
    connect(m_cmdShowUsage, &QPushButton::clicked, this, &frmMain::cmdShowUsage_Click);
    connect(m_cmdClose1, &QPushButton::clicked, this, &frmMain::cmdClose1_Click);
    buttons->addWidget(m_cmdShowUsage);
    buttons->addWidget(m_cmdClose1);
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
        m_cmbCacheFiles->setCurrentIndex(m_cmbCacheFiles->findText(item));
    });
    connect(m_cacheHistory, &CacheHistoryView::itemActivated, this, [this](const QString& item) {
        m_cmbCacheFiles->setCurrentIndex(m_cmbCacheFiles->findText(item));
        cmdShowUsage_Click();
    });
    connect(m_cmbCacheFiles, &QComboBox::currentTextChanged, m_cacheHistory,
            &CacheHistoryView::selectItem);

    placeInReadingOrder(f);

    QWidget::setTabOrder(m_cmbCacheFiles, m_cmdShowUsage);
    QWidget::setTabOrder(m_cmdShowUsage, m_cmdClose1);
    QWidget::setTabOrder(m_cmdClose1, m_cacheHistory->table());
}

// --- Load, close, resize ------------------------------------------------------------------------

MainSettings frmMain::designSettings() const {
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
    s.Width = twipsX(size.width());
    s.Height = twipsY(size.height());
    s.Left = twipsX(screen.left() + std::max(0, (screen.width() - size.width()) / 2));
    s.Top = twipsY(screen.top() + std::max(0, (screen.height() - size.height()) / 2));
    return s;
}

void frmMain::Form_Load() {
    try {
        m_browser->setSilent(true);
        m_browser->navigate(QUrl(QStringLiteral("about:blank")));
        m_wbData.clear();
        m_wbData.close();
        m_cmbBilled->setCurrentIndex(0);
        m_check->mlngGrabState = -1;

        const SettingsStore store;
        const LoadedSettings loaded = loadMainSettings(
            store, designSettings(),
            SettingLimits{int(m_cmbPlanType->count()), int(m_cmbSelfcaresite->count())});
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
        m_wbTemp.clear();
        m_wbTemp.close();

        m_lblPasswordWarning->setText(
            QStringLiteral("If this software is not working, check if ORVO portal is working.") +
            QStringLiteral("\r\n\r\n") +
            QStringLiteral("This software fetches data from ORVO site and is not related to ORVO "
                           "in anyway. The software is provided in AS IS condition and we are "
                           "not liable for any mistakes in this software.") +
            QStringLiteral("\r\n\r\n") + m_deployment.obtainedFromLine());

        LoadCacheFileList();
        refreshPanelOption();
    } catch (const Failure& failure) {
        dialogs().show(Message{failure.description()});
    }
}

void frmMain::applySettings(const MainSettings& s) {
    m_txtUserName->setText(s.txtUserName);
    if (!s.txtPassword.isEmpty()) {
        m_txtPassword->setText(s.txtPassword);
    }
    m_chkSavePassword->setChecked(s.chkSavePassword == 1);
    m_state.display = s.display;
    m_state.mblnCachingEnabled = s.mblnCachingEnabled;
    m_chkEnableCache->setChecked(s.mblnCachingEnabled);
    m_cmbPlanType->setCurrentIndex(s.PlanType);
    m_cmbSelfcaresite->setCurrentIndex(s.Selfcaresite);
    // A stored place from another screen, or a size below the minimum, is brought onto this
    // screen whole.
    QRect place = storedWindowPlace(s.Left, s.Top, s.Width, s.Height);
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        place = fitIntoScreen(place, primary->availableGeometry(), minimumSize());
    }
    resize(place.size().expandedTo(minimumSize()));
    move(place.topLeft());
    // A hidden window gets its resize event only when shown; the frames follow now.
    Form_Resize();
    m_ctlTabs1->setSelectedTab(s.SelectedTab);
}

MainSettings frmMain::currentSettings() const {
    MainSettings s;
    s.txtUserName = m_txtUserName->text();
    s.txtPassword = m_txtPassword->text();
    s.chkSavePassword = m_chkSavePassword->isChecked() ? 1 : 0;
    s.display = m_state.display;
    s.mblnCachingEnabled = m_chkEnableCache->isChecked();
    s.PlanType = m_cmbPlanType->currentIndex();
    s.Selfcaresite = m_cmbSelfcaresite->currentIndex();
    s.Height = height() * twipsPerPixelY();
    s.Width = width() * twipsPerPixelX();
    s.Left = x() * twipsPerPixelX();
    s.Top = y() * twipsPerPixelY();
    s.SelectedTab = m_ctlTabs1->SelectedTab();
    return s;
}

void frmMain::closeEvent(QCloseEvent* event) {
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

QCoro::Task<> frmMain::restorePassword(MainSettings loaded) {
    const QPointer<frmMain> self(this);
    const QString user = loaded.txtUserName;
    if (!loaded.txtPassword.isEmpty()) {
        // Kept the old way, scrambled in the settings file: into the keyring, out of the file.
        const SecretAnswer kept = co_await m_passwords->write(user, loaded.txtPassword);
        if (!self) {
            co_return;
        }
        if (kept.done()) {
            m_keeper->noteKept(user, loaded.txtPassword);
            SettingsStore store;
            store.save(QStringLiteral("txtPasswordnew"), QString());
            store.save(QStringLiteral("txtPassword"), QString());
            store.sync();
        } else {
            keyringUnavailable(kept.reason);
        }
        co_return;
    }
    if (loaded.chkSavePassword != 1 || user.trimmed().isEmpty()) {
        co_return;
    }
    const SecretAnswer read = co_await m_passwords->read(user);
    if (!self) {
        co_return;
    }
    if (read.done()) {
        m_keeper->noteKept(user, read.password);
        // Unless the subscriber has started typing meanwhile.
        if (m_txtPassword->text().isEmpty() && m_txtUserName->text() == user) {
            m_txtPassword->setText(read.password);
        }
    } else if (read.outcome == SecretAnswer::Outcome::Unavailable) {
        keyringUnavailable(read.reason);
    }
}

QCoro::Task<> frmMain::probeKeyring() {
    const QPointer<frmMain> self(this);
    const SecretAnswer answer = co_await m_passwords->read(m_txtUserName->text());
    if (self && answer.outcome == SecretAnswer::Outcome::Unavailable) {
        keyringUnavailable(answer.reason);
    }
}

QCoro::Task<> frmMain::keepPasswordAndEnd() {
    const QPointer<frmMain> self(this);
    const QString user = m_txtUserName->text();
    const QString password = m_txtPassword->text();
    if (!m_chkSavePassword->isChecked()) {
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

void frmMain::savePasswordClicked(bool ticked) {
    const QString user = m_txtUserName->text();
    if (!ticked) {
        m_keeper->forget(user);
        return;
    }
    probeKeyring();
    // Ticked after a check: the password the portal has just accepted is kept at once.
    if (m_acceptedLogin == std::pair(user, m_txtPassword->text())) {
        m_keeper->keep(user, m_txtPassword->text());
    }
}

void frmMain::loginAnswered(const QString& userId, const QString& password, bool accepted) {
    if (!accepted) {
        m_refusedLogin = std::pair(userId, password);
        return;
    }
    m_acceptedLogin = std::pair(userId, password);
    if (m_refusedLogin == m_acceptedLogin) {
        m_refusedLogin.reset();
    }
    if (m_chkSavePassword->isChecked()) {
        m_keeper->keep(userId, password);
    }
}

void frmMain::keyringUnavailable(const QString& reason) {
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

void frmMain::closeResultWindow() {
    if (m_result && m_result->isVisible()) {
        m_result->done(QDialog::Rejected);
    }
}

void frmMain::keyPressEvent(QKeyEvent* event) {
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
    const bool loginInfo =
        m_ctlTabs1->SelectedTab() == 1 && m_ctlPasswordVersion->SelectedTab() == 1;
    if (loginInfo || m_ctlTabs1->SelectedTab() == 2) {
        cmdCalculate_Click();
    }
}

void frmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_shownOnce) {
        return;
    }
    m_shownOnce = true;
    if (m_ctlTabs1->SelectedTab() == 1) {
        QLineEdit* first = m_txtUserName->text().isEmpty()   ? m_txtUserName
                           : m_txtPassword->text().isEmpty() ? m_txtPassword
                                                             : nullptr;
        QWidget* focus = first ? static_cast<QWidget*>(first) : m_cmdCalculate;
        focus->setFocus(Qt::TabFocusReason);
    } else {
        m_cmbCacheFiles->setFocus(Qt::TabFocusReason);
    }
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

QSize frmMain::naturalFrameTwips(const QWidget* contents, const TwipRect& design) const {
    // Room for a scroll bar beside the lines, for the page that is too low for them.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int width = std::max(pixelsX(design.width), contents->minimumSizeHint().width() + bar);
    const int height = contents->hasHeightForWidth() ? contents->heightForWidth(width)
                                                     : contents->sizeHint().height();
    return QSize(std::max(design.width, twipsX(width)), std::max(design.height, twipsY(height)));
}

QSize frmMain::naturalWindowTwips() const {
    // The rules give fraLoginInfo the window's inner width less 525 twips and its height less
    // 1500, below its top of 330; a margin stays on each side.
    // The cache page fills its page and its history stretches: only its width counts.
    const QSize login = naturalFrameTwips(m_loginContents, kDesignLoginInfo);
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int cacheWidth = twipsX(m_cacheContents->minimumSizeHint().width() + bar);
    return QSize(std::max({kDesignWidth, login.width() + 525 + 2 * kPageMarginTwips,
                           cacheWidth + 400 + 2 * kPageMarginTwips}),
                 std::max(kDesignHeight, login.height() + 1500 + 330 + kPageMarginTwips));
}

void frmMain::updateMinimumSize() {
    // As narrow as the pages' contents allow without cutting a line (a scroll bar beside
    // them), with both tab strips' tabs in view; as low as leaves the pages a few lines,
    // which scroll.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int login = twipsX(m_loginContents->minimumSizeHint().width() + bar);
    const int cache = twipsX(m_cacheContents->minimumSizeHint().width() + bar);
    const int tabs = twipsX(m_ctlTabs1->Tabs() * m_ctlTabs1->TabsWidth() + 2);
    const int innerTabs =
        twipsX(m_ctlPasswordVersion->Tabs() * m_ctlPasswordVersion->TabsWidth() + 2);
    const int width = std::max({login + 525 + 2 * kPageMarginTwips,
                                cache + 400 + 2 * kPageMarginTwips, tabs + 250, innerTabs + 525});
    const int height = 1500 + 330 + twipsY(kMinimumPageRows) + kPageMarginTwips;
    const QSize minimum(pixelsX(width), pixelsY(height));
    if (minimumSize() != minimum) {
        setMinimumSize(minimum);
    }
}

void frmMain::Form_Resize() {
    if (isMinimized()) {
        return;
    }
    updateMinimumSize();
    ResizeMainWindow(m_layout, twipsX(width()), twipsY(height()));
    FitFixedFrames(m_layout, naturalFrameTwips(m_loginContents, kDesignLoginInfo));
    placeFrames();
}

void frmMain::placeFrames() {
    m_ctlTabs1->setGeometry(pixelRect(m_layout.ctlTabs1));
    m_fraPassword->setGeometry(pixelRect(m_layout.fraPassword));
    m_ctlPasswordVersion->setGeometry(pixelRect(m_layout.ctlPasswordVersion));
    m_fraLoginInfo->setGeometry(pixelRect(m_layout.fraLoginInfo));
    m_fraUseCacheData->setGeometry(pixelRect(m_layout.fraUseCacheData));
    m_fraProcessing->setGeometry(pixelRect(m_layout.fraProcessing));
    TwipRect message = kDesignMessage;
    message.width = m_layout.WebBrowser1.width;
    QRect row = pixelRect(message);
    // The status row keeps the height its lines need; the portal page starts below it and
    // keeps its bottom edge.
    const int needed = m_fraGrabStatus->hasHeightForWidth()
                           ? m_fraGrabStatus->heightForWidth(row.width())
                           : m_fraGrabStatus->sizeHint().height();
    row.setHeight(std::max(row.height(), needed));
    m_fraGrabStatus->setGeometry(row);
    const QRect browser = pixelRect(m_layout.WebBrowser1);
    const int top = std::max(browser.top(), row.bottom() + 5);
    m_webBrowser1->setGeometry(
        QRect(browser.left(), top, browser.width(), std::max(0, browser.bottom() + 1 - top)));
}

// --- Commands -----------------------------------------------------------------------------------

void frmMain::cmdCalculate_Click() {
    m_reportOfDownload = false;
    m_check->cmdCalculate_Click();
}

void frmMain::cmdClose_Click() {
    close();
}

void frmMain::cmdClose1_Click() {
    close();
}

void frmMain::Label12_Click() {
    dialogs().show(Message{kCacheHelp, QString(), MessageIcon::Information});
}

void frmMain::lblPlans_Click() {
    L2N(m_deployment.plansPage);
}

void frmMain::lblWebsite_Click() {
    L2N(m_deployment.homePage);
}

void frmMain::L2N(const QString& Address) {
    const QUrl url = QUrl::fromUserInput(Address);
    if (m_options.openUrl) {
        if (!m_options.openUrl(url)) {
            linkNotOpened(url);
        }
        return;
    }
    openWithDesktop(url);
}

void frmMain::openWithDesktop(const QUrl& url) {
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

void frmMain::linkNotOpened(const QUrl& url) {
    // A click that silently does nothing leaves the user guessing; the address can be copied
    // out of the message (its text is selectable) and opened by hand.
    dialogs().show(Message(kLinkNotOpened + QStringLiteral("\n\n") + url.toString(),
                           QStringLiteral("Open link"), MessageIcon::Warning));
}

void frmMain::optBilledType_Click(int Index) {
    m_cmbBilled->setEnabled(Index == 1);
    m_state.unbilledSelected = Index == 0;
}

void frmMain::LoadCacheFileList() {
    try {
        const CacheFileList list = kestrova::LoadCacheFileList(m_folder);
        m_cmbCacheFiles->clear();
        m_cmbCacheFiles->addItems(list.items);
        m_cmbCacheFiles->setCurrentIndex(list.selected);
    } catch (const Failure& failure) {
        dialogs().show(Message{failure.description()});
    }
    refreshHistory();
}

void frmMain::refreshHistory() {
    const std::optional<PlanChoice> chosen = storedPlanChoice(SettingsStore());
    const QDate today = m_options.result.clock ? m_options.result.clock() : QDate::currentDate();
    History history;
    try {
        history =
            buildHistory(m_folder, m_txtUserName->text().trimmed(), chosen, today, planKind());
    } catch (const Failure&) {
        // The folder cannot be listed: LoadCacheFileList has said so.
    }
    std::optional<double> allowance;
    if (chosen) {
        const MonthSummary plan = summarizeMonth(SummaryInputs{}, *chosen, today);
        if (!plan.plan.isUnlimited()) {
            allowance = plan.plan.number(BandwidthLimitMB);
        }
    }
    m_cacheHistory->showHistory(history, allowance);
    m_cacheHistory->selectItem(m_cmbCacheFiles->currentText());
}

void frmMain::Downloader1_Complete(QString& URL, QString& Data, QString& Key) {
    Q_UNUSED(URL);
    Q_UNUSED(Key);
    try {
        m_wbData.clear();
        m_wbData.write(Data);
        m_wbData.close();
        m_extraction->GrabUsagePage(m_wbData);
    } catch (const Failure& failure) {
        dialogs().show(Message{failure.description()});
    }
}

// --- The hand-over to the result window ---------------------------------------------------------

void frmMain::WriteOutput() {
    m_report->WriteOutput();
}

// Resumed from the result window's finished signal, directly: a resumption queued behind the
// signal would be lost with the window when the main window goes first.
struct frmMain::ResultWindowClosed {
    frmMain& window;
    bool await_ready() const noexcept { return !window.m_result->isVisible(); }
    void await_suspend(std::coroutine_handle<> waiter) { window.m_resultWaiters.push_back(waiter); }
    void await_resume() const noexcept {}
};

void frmMain::resumeResultWaiters() {
    std::vector<std::coroutine_handle<>> waiters;
    waiters.swap(m_resultWaiters);
    for (std::coroutine_handle<> waiter : waiters) {
        waiter.resume();
    }
}

QCoro::Task<> frmMain::ShowOutput() {
    const QPointer<frmMain> self(this);
    Q_EMIT outputStarted();
    WriteOutput();
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
    m_lblMessage->hide();
    if (m_chkEnableCache->isChecked() && m_ctlTabs1->SelectedTab() != 2) {
        LoadCacheFileList();
    } else {
        refreshHistory();  // the plan may have been changed on the Summary tab
    }
    Q_EMIT outputClosed();
}

// --- The last check, for the panel ------------------------------------------------------------

void frmMain::keepCheck() {
    const SummaryTab& summary = m_result->fraSummary()->logic();
    const ReportOutcome outcome = m_result->outcome();
    CheckFacts facts;
    facts.host = selfcareSiteText();
    facts.user = m_state.mstrUserName;
    facts.billed = !m_state.unbilledSelected;
    facts.log = inProgramFolder(m_folder, QStringLiteral("usage.htm"));
    facts.checkedAt = QDateTime::currentDateTime();
    if (const auto period = portalPeriod(m_state.mstrMonthYear)) {
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

void frmMain::keepCheckFailure(const GrabStop& stop) {
    const QString user = m_state.mstrUserName.isEmpty() ? userName() : m_state.mstrUserName;
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

bool frmMain::showLastCheck(const QString& documentPath) {
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
    const QJsonObject document = QJsonDocument::fromJson(file.read(4 * 1024 * 1024)).object();
    const QJsonObject check = document.value(QStringLiteral("check")).toObject();
    const QJsonObject month = document.value(QStringLiteral("month")).toObject();
    const QString user = check.value(QStringLiteral("user")).toString();
    const int kind = month.value(QStringLiteral("planKind")).toInt(-1);
    if (user.isEmpty() || !month.value(QStringLiteral("period")).isString() ||
        kind < kLimitedPlan || kind > kUnlimitedPlan) {
        return cannot(documentPath + QStringLiteral(" is no check of Kestrova's"));
    }
    const bool billed = check.value(QStringLiteral("kind")).toString() == u"billed";
    const QString log = lastCheckFilesOf(documentPath).log;
    QString text;
    try {
        text = ReadFileData(log, false);
    } catch (const Failure& failure) {
        return cannot(failure.description());
    }
    if (!looksLikeUsageLog(text)) {
        return cannot(log + QStringLiteral(" holds no usage log"));
    }
    m_reportOfDownload = false;
    m_state.mstrRecords.clear();
    m_state.mstrCacheFile.clear();
    m_state.mstrCachedData.clear();
    m_state.chart.reset();
    m_state.mstrGraphData.clear();
    m_state.mstrGraphDataWithAverage.clear();
    m_state.mstrUserName = user;
    m_state.mstrMonthYear = month.value(QStringLiteral("period")).toString();
    m_state.unbilledSelected = !billed;
    m_state.planKind = kind;
    m_result->clearReport();
    // The report follows from Timer1, as a downloaded log's does.
    m_extraction->ParseUsageFile(text);
    return true;
}

// --- Show in the panel -----------------------------------------------------------------------

QString frmMain::program() const {
    return m_options.program.isEmpty() ? QCoreApplication::applicationFilePath()
                                       : m_options.program;
}

void frmMain::refreshPanelOption() {
    const TrayAvailability tray =
        m_options.trayAvailability ? m_options.trayAvailability() : trayAvailability();
    const bool entered = autostartEnabled();
    m_chkShowInPanel->setChecked(entered);
    m_chkShowInPanel->setEnabled(tray.available || entered);
    const QString help = QStringLiteral(
        "Shows the month's usage, daily budget and bill in the panel, from the start of each "
        "session");
    const QString why = tray.available ? help : help + QStringLiteral(".\n\n") + tray.reason;
    m_chkShowInPanel->setToolTip(why);
    m_chkShowInPanel->setAccessibleDescription(why);
}

void frmMain::setShownInPanel(bool shown) {
    QString why;
    if (!setAutostart(shown, program(), why)) {
        const QSignalBlocker quiet(m_chkShowInPanel);
        m_chkShowInPanel->setChecked(!shown);
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

int frmMain::selectedMainPage() const {
    return m_ctlTabs1->SelectedTab();
}

QString frmMain::userName() const {
    return m_txtUserName->text();
}

QString frmMain::password() const {
    return m_txtPassword->text();
}

int frmMain::selfcareSiteIndex() const {
    return m_cmbSelfcaresite->currentIndex();
}

QString frmMain::selfcareSiteText() const {
    return m_cmbSelfcaresite->currentText();
}

void frmMain::focusSelfcareSite() {
    m_cmbSelfcaresite->setFocus();
}

int frmMain::cacheFileIndex() const {
    return m_cmbCacheFiles->currentIndex();
}

QString frmMain::cacheFileText() const {
    return m_cmbCacheFiles->currentText();
}

void frmMain::focusCacheFiles() {
    m_cmbCacheFiles->setFocus();
}

void frmMain::focusUserName() {
    m_txtUserName->setFocus();
}

void frmMain::focusPassword() {
    m_txtPassword->setFocus();
    m_txtPassword->selectAll();
}

void frmMain::showGrabStatus(const QString& text, bool busy) {
    m_lblGrabStatus->setText(text);
    m_prgGrabBusy->setVisible(busy);
    placeFrames();  // a longer text may need another line
}

void frmMain::grabProgress(GrabStep step) {
    m_cmdCancelGrab->setText(QStringLiteral("&Cancel"));
    switch (step) {
        case GrabStep::Connecting:
            showGrabStatus(QStringLiteral("Connecting to %1...").arg(selfcareSiteText()), true);
            break;
        case GrabStep::LoggingIn:
            showGrabStatus(QStringLiteral("Logging in as %1...").arg(m_state.mstrUserName), true);
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

void frmMain::grabStopped(const GrabStop& stop) {
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
    m_cmdCancelGrab->setText(QStringLiteral("&Back"));
    dialogs().show(stop.message);
    if (stop.problem == GrabProblem::LoginRefused) {
        selectLoginInfoPage();
        focusPassword();
    }
}

bool frmMain::cacheEnabled() const {
    return m_chkEnableCache->isChecked();
}

int frmMain::planKind() const {
    return std::max(0, m_cmbPlanType->currentIndex());
}

void frmMain::cmdCancelGrab_Click() {
    if (m_check->isGrabbing()) {
        m_check->cancelGrab();
    } else {
        selectLoginInfoPage();
    }
}

void frmMain::selectLoginInfoPage() {
    m_ctlPasswordVersion->setSelectedTab(1);
}

void frmMain::selectProcessingPage() {
    m_ctlPasswordVersion->setSelectedTab(2);
}

void frmMain::setMessageCaption(const QString& caption) {
    m_lblMessage->setText(caption);
    placeFrames();
}

void frmMain::setMessageVisible(bool visible) {
    m_lblMessage->setVisible(visible);
    // The prompt says more than the step: one of the two at a time.
    m_lblGrabStatus->setVisible(!visible);
    placeFrames();
}

void frmMain::blankReport() {
    m_result->clearReport();
}

void frmMain::processPendingEvents() {
    // Shows what has changed at once. No events run here: a nested event loop near the
    // browser engine loses its page, and the grab's own waits let the loop run anyway.
    if (m_lblMessage->isVisible()) {
        m_lblMessage->repaint();
    }
}

void frmMain::enableTimer1() {
    m_check->enableTimer1();
}

void frmMain::setBusy(bool busy) {
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
