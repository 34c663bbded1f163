// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/window/frm_result.h"

#include "chart/xchart.h"
#include "controls/numeric_edit_box.h"
#include "controls/tab_strip.h"
#include "forms/forms.h"
#include "platform/property_bag.h"
#include "platform/settings_store.h"
#include "platform/twips.h"
#include "results/chart_feed.h"
#include "results/plan_settings.h"
#include "results/summary_report.h"
#include "results/window/chart_tab.h"
#include "results/window/colour_box.h"
#include "results/window/report_tab.h"
#include "results/window/summary_page.h"
#include "results/window/web_report_view.h"
#include "retrieval/retrieval_state.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

#include <xcb/xcb.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace kestrova {

namespace {

constexpr int kChartTab = 2;

// The window's size as designed, in pixels.
constexpr QSize kDesignSize(800, 600);
// What a window manager adds around a window: kept free when a first start sizes it.
constexpr QSize kWindowDecoration(8, 32);

// Gaps of the footer's contents, in pixels.
constexpr int kFooterMargin = 6;
constexpr int kFooterLeft = 10;
constexpr int kFooterGap = 4;
constexpr int kFooterWideGap = 24;
// The rules place Close this far from the window's outer right edge.
constexpr int kCloseFromRightTwips = 400;
// The least the chart and the report view are given in a small window (twips: 195 and 80
// pixels at 15 twips a pixel; the chart's plot is 90 pixels of it).
constexpr int kMinimumChartTwips = 2925;
constexpr int kMinimumReportTwips = 1200;
// The bottom of the footer that the rules leave outside the client area (see
// kDesignFrameHeightTwips), kept free of contents.
constexpr int kFooterClipped = 4;

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// A control's size as its contents ask for it, in twips.
void takeSizeHint(TwipRect& box, const QWidget* widget, int minimumWidth = 0) {
    const QSize hint = widget->sizeHint().expandedTo(widget->minimumSizeHint());
    box.width = twipsX(std::max(hint.width(), minimumWidth));
    box.height = twipsY(hint.height());
}

// On X11, declares `window` a normal window for the window manager. Qt declares a dialog,
// and GNOME's window manager (attach-modal-dialogs, on by default under GNOME Shell) attaches
// a modal dialog to its parent and centres it there, whatever place it asks for. A normal
// window that Qt keeps transient for the main window and modal to it is placed where it asks
// and still stays above the main window. Qt sets the type when it makes the native window, so
// this runs before every showing, ahead of the window's mapping.
void declareNormalWindow(QWidget& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || !window.testAttribute(Qt::WA_WState_Created)) {
        return;
    }
    auto atom = [connection](const char* name) {
        const xcb_intern_atom_cookie_t cookie =
            xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    };
    const xcb_atom_t type = atom("_NET_WM_WINDOW_TYPE");
    const xcb_atom_t normal = atom("_NET_WM_WINDOW_TYPE_NORMAL");
    if (type == XCB_ATOM_NONE || normal == XCB_ATOM_NONE) {
        return;
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window.winId()), type,
                        XCB_ATOM_ATOM, 32, 1, &normal);
    xcb_flush(connection);
}

}  // namespace

frmResult::frmResult(RetrievalState& state, ResultWindowHost& host, ResultWindowOptions options,
                     QWidget* parent)
    : QDialog(parent), m_state(state), m_host(host) {
    setObjectName(QStringLiteral("frmResult"));
    setWindowTitle(QStringLiteral("Result"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    const StoredForm form = StoredForm::load(storedFormPath(QStringLiteral("frmResult")));
    m_tabs = new ctlTabs(this);
    m_tabs->setObjectName(QStringLiteral("ctlTabs1"));
    m_tabs->ReadProperties(form.bag(QStringLiteral("ctlTabs1")));

    ReportViewFactory viewFactory = options.reportView;
    if (!viewFactory) {
        viewFactory = [](QWidget* p) -> ReportView* { return new WebReportView(p); };
    }
    m_report = new ReportTabFrame(state.display, viewFactory, m_tabs);
    m_chart = new ChartTabFrame(state, m_flags, std::move(options.officeChart), m_tabs);
    m_chart->XChart1()->ReadProperties(form.bag(QStringLiteral("XChart1")));
    m_summary = new SummaryTabFrame(host, form, std::move(options.clock),
                                    std::move(options.plansAddress), m_tabs);
    buildFooter();

    connect(m_tabs, &ctlTabs::TabClick, this, &frmResult::ctlTabs1_TabClick);
    connect(m_report, &ReportTabFrame::rowColoursChanged, this, &frmResult::rebuildReport);
    m_report->setReportMonth([this] {
        // A report without records leaves the date at the builder's start value, 1 Jan 2000,
        // which names no month of usage.
        const QDate last = lastUsedDate();
        return last > QDate(2000, 1, 1) ? last : QDate();
    });

    // Ctrl+Tab and Ctrl+Page Down move to the next tab, as in other tabbed windows here;
    // Ctrl+Shift+Tab back, whether the platform names that key Tab or Backtab.
    const std::pair<QKeySequence, int> tabKeys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1}};
    for (const auto& [keys, step] : tabKeys) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [this, s = step] { selectTabBy(s); });
    }

    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
    }

    // One tab order through the window; hidden pages drop out of it by themselves.
    QWidget* const order[] = {m_tabs,
                              m_report->WebBrowser1(),
                              m_report->cmdExport(),
                              m_report->cmdSave(),
                              m_report->lblSetColor(0),
                              m_report->lblSetColor(1),
                              m_report->lblSetColor(2),
                              m_chart->XChart1(),
                              m_chart->cmbChartType(),
                              m_chart->cmdCopyChart(),
                              m_chart->picBuiltInChartColor(),
                              m_chart->picChartColor(0),
                              m_chart->picChartColor(1),
                              m_chart->picChartColor(2),
                              m_chart->chkShowAverageInChart(),
                              m_chart->chkDisplayDailyTotalinChart(),
                              m_summary->cmbPlans(),
                              m_summary->editBox(PlanEditBox::nebPlanCharge),
                              m_summary->editBox(PlanEditBox::nebBandWidthLimit),
                              m_summary->editBox(PlanEditBox::nebRsPerMB),
                              m_summary->lblPlans(),
                              m_exclude[1],
                              m_night,
                              m_exclude[0],
                              m_exclude[2],
                              m_close};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    // Design places of the controls the resize rules move (twips, relative to their parents).
    const int pageTop = twipsY(m_tabs->TabsHeight()) + twipsY(1);
    m_layout[Placed::ctlTabs1] = {90, 45, 0, 0};
    for (Placed frame : {Placed::fraReport, Placed::fraChart, Placed::fraSummary}) {
        m_layout[frame] = {150, pageTop, 0, 0};
    }
    m_layout[Placed::cmdClose].top = twipsY(kFooterMargin);
    m_layout[Placed::XChart1] = {50, 100, 0, 0};
    m_layout[Placed::OLE1] = {50, 100, 0, 0};
    m_layout[Placed::WebBrowser1] = {10, 100, 0, 0};
    m_layout[Placed::cmbChartType].left = 100;
    m_layout[Placed::cmdExport].left = 100;
    // The minimum size first: a stored place is fitted to the screen at no less than it.
    refreshDesignSizes();
    loadWindowPlace();

    Form_Load();
}

frmResult::~frmResult() = default;

void frmResult::buildFooter() {
    m_footer = new QFrame(this);
    m_footer->setObjectName(QStringLiteral("fraFooter"));

    m_close = new QPushButton(QStringLiteral("&Close"), m_footer);
    m_close->setObjectName(QStringLiteral("cmdClose"));
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);

    m_averageCaption = new QLabel(QStringLiteral("Average per day :"), m_footer);
    m_averageCaption->setObjectName(QStringLiteral("lblAverageCaption"));
    m_average = new QLabel(m_footer);
    m_average->setObjectName(QStringLiteral("lblAverage"));
    m_average->setTextFormat(Qt::PlainText);
    QFont bold = m_average->font();
    bold.setBold(true);
    m_average->setFont(bold);
    m_average->setMinimumWidth(60);
    m_averageCaption->setBuddy(m_average);  // the figure is labelled by its caption
    // The Summary tab has an "Average per day" of its own that divides by other days.
    const QString averageTip = QStringLiteral(
        "The usage in the report divided by the number of days that have usage records");
    m_averageCaption->setToolTip(averageTip);
    m_average->setToolTip(averageTip);

    const char* captions[] = {"Exclude &Free time usage(2am to 8am) (in chart)",
                              "E&xclude Mixed usage (periods overlaping free and non free times)",
                              "Exclude N&on-free time usage (in chart)"};
    m_nightFrame = new QFrame(m_footer);
    m_nightFrame->setObjectName(QStringLiteral("fraNightUnlimited"));
    // One row, or one above the other where the window is too narrow for the row.
    auto* nightRow = new QBoxLayout(QBoxLayout::LeftToRight, m_nightFrame);
    nightRow->setContentsMargins(0, 0, 0, 0);
    nightRow->setSpacing(16);
    m_night = new QCheckBox(QStringLiteral("&Night unlimited plan "), m_nightFrame);
    m_night->setObjectName(QStringLiteral("chkNightUnlimited"));
    nightRow->addWidget(m_night);
    for (int i = 0; i < 3; ++i) {
        QWidget* parent = i == 1 ? static_cast<QWidget*>(m_footer) : m_nightFrame;
        auto* box = new QCheckBox(QString::fromLatin1(captions[i]), parent);
        box->setObjectName(QStringLiteral("chkExclude_%1").arg(i));
        connect(box, &QCheckBox::toggled, this, [this, i] { chkExclude_Click(i); });
        m_exclude[std::size_t(i)] = box;
    }
    nightRow->addWidget(m_exclude[0]);
    nightRow->addWidget(m_exclude[2]);
    nightRow->addStretch(1);
    connect(m_night, &QCheckBox::toggled, this, &frmResult::chkNightUnlimited_Click);
    applyFreeUsageControls();
}

void frmResult::Form_Load() {
    for (int i = 1; i < 3; ++i) {
        m_report->lblSetColor(i)->setToolTip(m_report->lblSetColor(0)->toolTip());
        m_chart->picChartColor(i)->setToolTip(m_chart->picChartColor(0)->toolTip());
    }
    m_nightFrame->hide();
    m_summary->load();
    m_loaded = true;
    applyLayout();
}

void frmResult::loadWindowPlace() {
    const std::optional<WindowPlace> stored = readResultPlace(SettingsStore());
    const QScreen* shownOn = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect available = shownOn ? shownOn->availableGeometry() : QRect(QPoint(), kDesignSize);
    if (!stored) {
        // A first start: the design size where the screen has room for it (a window
        // manager's frame counted). Qt centres the window over the main window when it is
        // first shown; without one it stands in the middle of the screen.
        const QSize size =
            kDesignSize.boundedTo(available.size() - kWindowDecoration).expandedTo(minimumSize());
        resize(size);
        if (!parentWidget()) {
            move(available.center() - QPoint(size.width() / 2, size.height() / 2));
        }
        return;
    }
    const QRect place = storedWindowPlace(stored->left, stored->top, stored->width, stored->height);
    const QRect fitted = fitIntoScreen(place, available, minimumSize());
    resize(fitted.size());
    move(fitted.topLeft());
}

void frmResult::saveWindowPlace() const {
    if (isMinimized()) {
        return;  // the last size and place shown stay stored
    }
    SettingsStore store;
    writeResultPlace(store, WindowPlace{height() * twipsPerPixelY(), width() * twipsPerPixelX(),
                                        x() * twipsPerPixelX(), y() * twipsPerPixelY()});
    store.sync();
}

void frmResult::Form_Unload() {
    saveWindowPlace();
    m_chart->releaseOfficeChart();
    m_summary->save();
    m_loaded = false;
}

void frmResult::ensureLoaded() {
    if (!m_loaded) {
        Form_Load();
    }
}

void frmResult::done(int result) {
    if (m_loaded) {
        Form_Unload();
    }
    QDialog::done(result);
}

// --- Public procedures ------------------------------------------------------------------------

void frmResult::LoadCombo() {
    ensureLoaded();
    m_summary->LoadCombo();
}

void frmResult::CreateSummary() {
    ensureLoaded();
    m_summary->CreateSummary();
}

void frmResult::UpdateGraphControl() {
    ensureLoaded();
    m_chart->UpdateGraphControl();
}

void frmResult::ResizeChart() {
    m_chart->ResizeChart();
}

void frmResult::prepareToShow(const QIcon& mainWindowIcon) {
    ensureLoaded();
    LoadCombo();
    const DisplaySettings& d = m_state.display;
    m_flags.mblnDisableRefreshing = true;
    m_exclude[0]->setChecked(d.mblnExcludeFree);
    m_exclude[1]->setChecked(d.mblnExcludeMixed);
    m_exclude[2]->setChecked(d.mblnExcludeNonFree);
    m_chart->chkDisplayDailyTotalinChart()->setChecked(d.mblnShowTotalValue);
    m_chart->chkShowAverageInChart()->setChecked(d.mblnShowAverage);
    m_report->showRowColours();
    m_chart->picChartColor(0)->setBackColor(d.mlngChartColorFree);
    m_chart->picChartColor(2)->setBackColor(d.mlngChartColorNonFree);
    m_chart->picBuiltInChartColor()->setBackColor(d.mlngInbuiltChartColor);
    // The stored night-unlimited option shows in its box, so box and chart colours agree.
    m_night->setChecked(d.mblnNightUnlimitedPlan);
    applyFreeUsageControls();
    m_flags.mblnDisableRefreshing = false;
    if (!mainWindowIcon.isNull()) {
        setWindowIcon(mainWindowIcon);
    }
}

void frmResult::clearReport() {
    m_report->showBlank();
}

// --- Public variables and ReportTarget --------------------------------------------------------

SummaryInputs frmResult::inputs() const {
    return m_summary->logic().inputs();
}

void frmResult::setInputs(const SummaryInputs& inputs) {
    m_summary->setInputs(inputs);
}

std::int32_t frmResult::mlngTotalUsage() const {
    return inputs().mlngTotalUsage;
}

std::int32_t frmResult::mlngChargedUsage() const {
    return inputs().mlngChargedUsage;
}

std::int32_t frmResult::mlngLastDayUsage() const {
    return inputs().mlngLastDayUsage;
}

Document& frmResult::reportDocument() {
    ensureLoaded();
    return m_report->document();
}

void frmResult::reportReady() {
    ++m_reportsReady;
    m_report->showDocument();
}

QDate frmResult::lastUsedDate() const {
    return inputs().mdtLastUsedDate;
}

ReportOutcome frmResult::outcome() const {
    const SummaryInputs i = inputs();
    ReportOutcome o;
    o.mdtLastUsedDate = i.mdtLastUsedDate;
    o.mlngTotalUsage = i.mlngTotalUsage;
    o.mlngChargedUsage = i.mlngChargedUsage;
    o.nightChargedUsage = i.nightChargedUsage;
    o.mlngLastDayUsage = i.mlngLastDayUsage;
    o.averageCaption = m_average->text();
    o.dailyTotals = m_summary->logic().dailyTotals();
    return o;
}

void frmResult::applyOutcome(const ReportOutcome& outcome) {
    setInputs(summaryInputsOf(outcome));
    m_average->setText(outcome.averageCaption);
    m_summary->logic().setDailyTotals(outcome.dailyTotals);
}

bool frmResult::officeChartRunning() const {
    return m_chart->officeChartRunning();
}

void frmResult::setOfficeChartData(const QString& dataText) {
    m_chart->setOfficeChartData(dataText);
}

// --- Handlers ---------------------------------------------------------------------------------

void frmResult::rebuildReport() {
    const int before = m_reportsReady;
    m_host.WriteOutput();
    if (m_reportsReady == before) {
        m_report->showDocument();
    }
}

void frmResult::ctlTabs1_TabClick(int OldTab, int NewTab) {
    Q_UNUSED(OldTab);
    m_nightFrame->setVisible(NewTab == kChartTab && m_state.planKind == kNightUnlimitedPlan);
    applyLayout();
    m_chart->applyStoredChartType();
}

void frmResult::chkExclude_Click(int Index) {
    if (m_flags.mblnDisableRefreshing) {
        return;
    }
    const WaitCursor busy;
    DisplaySettings& d = m_state.display;
    const bool ticked = m_exclude[std::size_t(Index)]->isChecked();
    switch (Index) {
        case 0:
            d.mblnExcludeFree = ticked;
            break;
        case 1:
            d.mblnExcludeMixed = ticked;
            break;
        default:
            d.mblnExcludeNonFree = ticked;
            break;
    }
    rebuildReport();
    m_chart->FormatMSGraphSeries();
}

void frmResult::chkNightUnlimited_Click() {
    DisplaySettings& d = m_state.display;
    d.mblnNightUnlimitedPlan = m_night->isChecked();
    applyFreeUsageControls();
    d.mblnExcludeNonFree = d.mblnNightUnlimitedPlan && m_exclude[2]->isChecked();
    // Where the rebuild once let pending events run first, it simply follows: no event loop
    // may nest near the report's browser engine.
    if (!m_flags.mblnDisableRefreshing) {
        rebuildReport();
    }
}

void frmResult::applyFreeUsageControls() {
    if (!m_report || !m_chart) {
        return;
    }
    const bool freeKind = m_state.planKind == kNightUnlimitedPlan;
    const bool shown = freeKind && m_night->isChecked();
    m_exclude[0]->setEnabled(shown);
    m_exclude[2]->setEnabled(shown);
    m_chart->picChartColor(0)->setVisible(shown);
    m_chart->lblChartColor(0)->setVisible(shown);
    m_report->lblSetColor(0)->setVisible(shown);
    m_report->lblSetColor(1)->setVisible(shown);
    m_report->setRowColourBuddy();
    applyLayout();
}

void frmResult::selectTabBy(int step) {
    const int n = m_tabs->Tabs();
    m_tabs->setSelectedTab(((m_tabs->SelectedTab() - 1 + step) % n + n) % n + 1);
}

// --- Layout -----------------------------------------------------------------------------------

void frmResult::refreshDesignSizes() {
    ResultLayout& l = m_layout;
    takeSizeHint(l[Placed::cmdClose], m_close, 88);
    takeSizeHint(l[Placed::cmbChartType], m_chart->cmbChartType());
    takeSizeHint(l[Placed::cmdCopyChart], m_chart->cmdCopyChart(), 88);
    takeSizeHint(l[Placed::cmdExport], m_report->cmdExport(), 88);
    takeSizeHint(l[Placed::cmdSave], m_report->cmdSave(), 88);
    takeSizeHint(l[Placed::fraReportFooter], m_report->fraReportFooter());
    takeSizeHint(l[Placed::fraBuiltinChartOptions], m_chart->fraBuiltinChartOptions());
    takeSizeHint(l[Placed::fraChartColors], m_chart->fraChartColors());
    // The two option frames share their place: one height for both, and as high as the list
    // and the button beside them, which stand on the same line.
    const int optionsHeight =
        std::max({l[Placed::fraBuiltinChartOptions].height, l[Placed::fraChartColors].height,
                  l[Placed::cmbChartType].height, l[Placed::cmdCopyChart].height});
    l[Placed::fraBuiltinChartOptions].height = optionsHeight;
    l[Placed::fraChartColors].height = optionsHeight;
    l[Placed::cmdCopyChart].left =
        l[Placed::cmbChartType].left + l[Placed::cmbChartType].width + 120;
    l[Placed::cmdSave].left = l[Placed::cmdExport].left + l[Placed::cmdExport].width + 120;

    arrangeFooter();
    updateMinimumSize();
}

int frmResult::averageRight() const {
    return kFooterLeft + m_averageCaption->sizeHint().width() + kFooterGap +
           m_average->sizeHint().expandedTo(m_average->minimumSize()).width();
}

int frmResult::footerHeight(bool optionBeside, bool nightShown) const {
    const int close = pixelRect(m_layout[Placed::cmdClose]).height();
    int footer =
        kFooterMargin + std::max(close, m_averageCaption->sizeHint().height()) + kFooterMargin;
    if (!optionBeside) {
        footer += m_exclude[1]->sizeHint().height() + kFooterMargin;
    }
    if (nightShown) {
        footer += m_nightFrame->sizeHint().height() + kFooterMargin;
    }
    return twipsY(footer + kFooterClipped);
}

void frmResult::arrangeFooter() {
    // The average and Close on the first line, the mixed-usage option beside them where there
    // is room and on a line of its own where not, then the night-unlimited options in a row
    // or, in a narrow window, one above the other.
    ResultLayout& l = m_layout;
    const int outerWidth = outerWindowTwips(size(), twipsPerPixelX(), twipsPerPixelY()).width();
    const int closeLeft = pixelsX(outerWidth - l[Placed::cmdClose].width - kCloseFromRightTwips);
    m_optionBesideAverage =
        averageRight() + kFooterWideGap + m_exclude[1]->sizeHint().width() + kFooterGap <=
        closeLeft;
    auto* nightRow = static_cast<QBoxLayout*>(m_nightFrame->layout());
    nightRow->setDirection(QBoxLayout::LeftToRight);
    if (kFooterLeft + m_nightFrame->sizeHint().width() + kFooterLeft > width()) {
        nightRow->setDirection(QBoxLayout::TopToBottom);
    }
    l[Placed::fraFooter].height = footerHeight(m_optionBesideAverage, !m_nightFrame->isHidden());
}

void frmResult::updateMinimumSize() {
    // The smallest window in which all of it fits: the bottom lines of the Report and Chart
    // tabs without overlapping, the footer's first line, the chart and the report at a
    // readable height; the night-unlimited options counted one above the other.
    const ResultLayout& l = m_layout;
    const int chartLine =
        l[Placed::cmbChartType].left + l[Placed::cmbChartType].width + 120 +
        l[Placed::cmdCopyChart].width + 120 +
        std::max(l[Placed::fraBuiltinChartOptions].width, l[Placed::fraChartColors].width) + 100;
    const int reportLine = l[Placed::cmdExport].left + l[Placed::cmdExport].width + 120 +
                           l[Placed::cmdSave].width + 120 + l[Placed::fraReportFooter].width + 100;
    // Each tab frame is the window's outer width less 600 twips.
    const int tabsWidth = pixelsX(std::max(chartLine, reportLine) + 600 - kDesignFrameWidthTwips);

    auto* nightRow = static_cast<QBoxLayout*>(m_nightFrame->layout());
    const QBoxLayout::Direction direction = nightRow->direction();
    nightRow->setDirection(QBoxLayout::TopToBottom);
    // Close stands 400 twips from the outer right edge, which is 120 beyond the inner one.
    const int closeRoom = pixelsX(kCloseFromRightTwips - kDesignFrameWidthTwips);
    const int footerWidth = std::max(
        {averageRight() + kFooterWideGap + pixelRect(l[Placed::cmdClose]).width() + closeRoom,
         kFooterLeft + m_exclude[1]->sizeHint().width() + kFooterLeft,
         kFooterLeft + m_nightFrame->sizeHint().width() + kFooterLeft});
    const int narrowFooter = footerHeight(false, m_state.planKind == kNightUnlimitedPlan);
    nightRow->setDirection(direction);

    const int frameHeight = std::max({l[Placed::fraChartColors].height + 400 + kMinimumChartTwips,
                                      l[Placed::fraReportFooter].height + 350 + kMinimumReportTwips,
                                      kMinimumChartTwips});
    // The tab strip is the outer height less the footer's and 400 twips; the frames start at
    // their top inside it and are 350 twips shorter than it.
    const int minimumHeight = pixelsY(narrowFooter + 400 + 350 + frameHeight +
                                      l[Placed::fraChart].top - kDesignFrameHeightTwips);
    const QSize minimum(std::max(tabsWidth, footerWidth), minimumHeight);
    if (minimumSize() != minimum) {
        setMinimumSize(minimum);
    }
}

void frmResult::placeFooterContents() {
    const QRect close = m_close->geometry();
    const int middle = close.center().y();
    auto placeAt = [](QWidget* w, int x, int centreY) {
        const QSize hint = w->sizeHint().expandedTo(w->minimumSize());
        w->setGeometry(x, centreY - hint.height() / 2, hint.width(), hint.height());
        return w->geometry();
    };
    int x = placeAt(m_averageCaption, kFooterLeft, middle).right() + 1;
    x = placeAt(m_average, x + kFooterGap, middle).right() + 1;
    int bottom = std::max(close.bottom(), m_averageCaption->geometry().bottom());
    if (m_optionBesideAverage) {
        placeAt(m_exclude[1], x + kFooterWideGap, middle);
    } else {
        const int height = m_exclude[1]->sizeHint().height();
        bottom =
            placeAt(m_exclude[1], kFooterLeft, bottom + 1 + kFooterMargin + height / 2).bottom();
    }
    const QSize night = m_nightFrame->sizeHint();
    m_nightFrame->setGeometry(kFooterLeft, bottom + 1 + kFooterMargin,
                              std::max(night.width(), width() - 2 * kFooterLeft), night.height());
}

void frmResult::applyLayout() {
    if (!m_tabs || !m_summary || !m_footer) {
        return;
    }
    refreshDesignSizes();
    const QSize outer = outerWindowTwips(size(), twipsPerPixelX(), twipsPerPixelY());
    ResizeResultWindow(m_layout, outer.width(), outer.height());
    const std::pair<Placed, QWidget*> placed[] = {
        {Placed::ctlTabs1, m_tabs},
        {Placed::fraFooter, m_footer},
        {Placed::cmdClose, m_close},
        {Placed::fraReport, m_report},
        {Placed::fraChart, m_chart},
        {Placed::fraSummary, m_summary},
        {Placed::cmdCopyChart, m_chart->cmdCopyChart()},
        {Placed::cmbChartType, m_chart->cmbChartType()},
        {Placed::fraBuiltinChartOptions, m_chart->fraBuiltinChartOptions()},
        {Placed::fraChartColors, m_chart->fraChartColors()},
        {Placed::XChart1, m_chart->XChart1()},
        {Placed::OLE1, m_chart->OLE1()},
        {Placed::fraReportFooter, m_report->fraReportFooter()},
        {Placed::cmdExport, m_report->cmdExport()},
        {Placed::cmdSave, m_report->cmdSave()},
        {Placed::WebBrowser1, m_report->WebBrowser1()}};
    for (const auto& [which, widget] : placed) {
        widget->setGeometry(pixelRect(m_layout[which]));
    }
    placeFooterContents();
    m_chart->fitValueGrid();
    ResizeChart();
}

void frmResult::keyPressEvent(QKeyEvent* event) {
    // Enter presses the button that has the focus and nothing else: the window has no default
    // button (the first one would otherwise become it, and Enter in the plan boxes export).
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget());
            button && button->isEnabled()) {
            button->click();
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmResult::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    applyLayout();
}

void frmResult::showEvent(QShowEvent* event) {
    ensureLoaded();
    applyLayout();
    // The window's unload let the office chart object go; opening again on the Chart tab
    // has to make it again, as a tab click does.
    if (m_tabs->SelectedTab() == kChartTab) {
        m_chart->applyStoredChartType();
    }
    if (!event->spontaneous()) {
        declareNormalWindow(*this);
    }
    QDialog::showEvent(event);
}

}  // namespace kestrova
