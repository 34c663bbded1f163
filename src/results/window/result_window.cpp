// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/window/result_window.h"

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

ResultWindow::ResultWindow(RetrievalState& state, ResultWindowHost& host,
                           ResultWindowOptions options, QWidget* parent)
    : QDialog(parent), m_state(state), m_host(host) {
    setObjectName(QStringLiteral("frmResult"));
    setWindowTitle(QStringLiteral("Result"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    const StoredForm form = StoredForm::load(storedFormPath(QStringLiteral("frmResult")));
    m_tabs = new TabStrip(this);
    m_tabs->setObjectName(QStringLiteral("ctlTabs1"));
    m_tabs->readProperties(form.bag(QStringLiteral("ctlTabs1")));

    ReportViewFactory viewFactory = options.reportView;
    if (!viewFactory) {
        viewFactory = [](QWidget* p) -> ReportView* { return new WebReportView(p); };
    }
    m_report = new ReportTabFrame(state.display, viewFactory, m_tabs);
    m_chart = new ChartTabFrame(state, m_flags, std::move(options.officeChart), m_tabs);
    m_chart->xChart()->readProperties(form.bag(QStringLiteral("XChart1")));
    m_summary = new SummaryTabFrame(host, form, std::move(options.clock),
                                    std::move(options.plansAddress), m_tabs);
    buildFooter();

    connect(m_tabs, &TabStrip::tabClicked, this, &ResultWindow::onTabClicked);
    connect(m_report, &ReportTabFrame::rowColoursChanged, this, &ResultWindow::rebuildReport);
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
                              m_report->webBrowser(),
                              m_report->exportButton(),
                              m_report->saveButton(),
                              m_report->setColorLabel(0),
                              m_report->setColorLabel(1),
                              m_report->setColorLabel(2),
                              m_chart->xChart(),
                              m_chart->chartTypeCombo(),
                              m_chart->copyChartButton(),
                              m_chart->builtInChartColorBox(),
                              m_chart->chartColorBox(0),
                              m_chart->chartColorBox(1),
                              m_chart->chartColorBox(2),
                              m_chart->showAverageInChartCheck(),
                              m_chart->displayDailyTotalinChartCheck(),
                              m_summary->plansCombo(),
                              m_summary->editBox(PlanEditBox::PlanChargeEdit),
                              m_summary->editBox(PlanEditBox::BandWidthLimitEdit),
                              m_summary->editBox(PlanEditBox::RsPerMBEdit),
                              m_summary->plansLabel(),
                              m_exclude[1],
                              m_night,
                              m_exclude[0],
                              m_exclude[2],
                              m_close};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    // Design places of the controls the resize rules move (twips, relative to their parents).
    const int pageTop = twipsY(m_tabs->tabsHeight()) + twipsY(1);
    m_layout[Placed::TabStrip] = {90, 45, 0, 0};
    for (Placed frame : {Placed::ReportGroup, Placed::ChartGroup, Placed::SummaryGroup}) {
        m_layout[frame] = {150, pageTop, 0, 0};
    }
    m_layout[Placed::CloseButton].top = twipsY(kFooterMargin);
    m_layout[Placed::XChart] = {50, 100, 0, 0};
    m_layout[Placed::OfficeChartHost] = {50, 100, 0, 0};
    m_layout[Placed::WebBrowser] = {10, 100, 0, 0};
    m_layout[Placed::ChartTypeCombo].left = 100;
    m_layout[Placed::ExportButton].left = 100;
    // The minimum size first: a stored place is fitted to the screen at no less than it.
    refreshDesignSizes();
    loadWindowPlace();

    loadWindow();
}

ResultWindow::~ResultWindow() = default;

void ResultWindow::buildFooter() {
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
        connect(box, &QCheckBox::toggled, this, [this, i] { toggleExclusion(i); });
        m_exclude[std::size_t(i)] = box;
    }
    nightRow->addWidget(m_exclude[0]);
    nightRow->addWidget(m_exclude[2]);
    nightRow->addStretch(1);
    connect(m_night, &QCheckBox::toggled, this, &ResultWindow::toggleNightUnlimited);
    applyFreeUsageControls();
}

void ResultWindow::loadWindow() {
    for (int i = 1; i < 3; ++i) {
        m_report->setColorLabel(i)->setToolTip(m_report->setColorLabel(0)->toolTip());
        m_chart->chartColorBox(i)->setToolTip(m_chart->chartColorBox(0)->toolTip());
    }
    m_nightFrame->hide();
    m_summary->load();
    m_loaded = true;
    applyLayout();
}

void ResultWindow::loadWindowPlace() {
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

void ResultWindow::saveWindowPlace() const {
    if (isMinimized()) {
        return;  // the last size and place shown stay stored
    }
    SettingsStore store;
    writeResultPlace(store, WindowPlace{height() * twipsPerPixelY(), width() * twipsPerPixelX(),
                                        x() * twipsPerPixelX(), y() * twipsPerPixelY()});
    store.sync();
}

void ResultWindow::unloadWindow() {
    saveWindowPlace();
    m_chart->releaseOfficeChart();
    m_summary->save();
    m_loaded = false;
}

void ResultWindow::ensureLoaded() {
    if (!m_loaded) {
        loadWindow();
    }
}

void ResultWindow::done(int result) {
    if (m_loaded) {
        unloadWindow();
    }
    QDialog::done(result);
}

// --- Public procedures ------------------------------------------------------------------------

void ResultWindow::loadCombo() {
    ensureLoaded();
    m_summary->loadCombo();
}

void ResultWindow::createSummary() {
    ensureLoaded();
    m_summary->createSummary();
}

void ResultWindow::updateGraphControl() {
    ensureLoaded();
    m_chart->updateGraphControl();
}

void ResultWindow::resizeChart() {
    m_chart->resizeChart();
}

void ResultWindow::prepareToShow(const QIcon& mainWindowIcon) {
    ensureLoaded();
    loadCombo();
    const DisplaySettings& d = m_state.display;
    m_flags.disableRefreshing = true;
    m_exclude[0]->setChecked(d.excludeFree);
    m_exclude[1]->setChecked(d.excludeMixed);
    m_exclude[2]->setChecked(d.excludeNonFree);
    m_chart->displayDailyTotalinChartCheck()->setChecked(d.showTotalValue);
    m_chart->showAverageInChartCheck()->setChecked(d.showAverage);
    m_report->showRowColours();
    m_chart->chartColorBox(0)->setBackColor(d.chartColorFree);
    m_chart->chartColorBox(2)->setBackColor(d.chartColorNonFree);
    m_chart->builtInChartColorBox()->setBackColor(d.inbuiltChartColor);
    // The stored night-unlimited option shows in its box, so box and chart colours agree.
    m_night->setChecked(d.nightUnlimitedPlan);
    applyFreeUsageControls();
    m_flags.disableRefreshing = false;
    if (!mainWindowIcon.isNull()) {
        setWindowIcon(mainWindowIcon);
    }
}

void ResultWindow::clearReport() {
    m_report->showBlank();
}

// --- Public variables and ReportTarget --------------------------------------------------------

SummaryInputs ResultWindow::inputs() const {
    return m_summary->logic().inputs();
}

void ResultWindow::setInputs(const SummaryInputs& inputs) {
    m_summary->setInputs(inputs);
}

std::int32_t ResultWindow::totalUsage() const {
    return inputs().totalUsage;
}

std::int32_t ResultWindow::chargedUsage() const {
    return inputs().chargedUsage;
}

std::int32_t ResultWindow::lastDayUsage() const {
    return inputs().lastDayUsage;
}

void ResultWindow::setReportPage(QByteArray page) {
    ensureLoaded();
    m_report->setPage(std::move(page));
}

void ResultWindow::setListingExport(std::function<QString()> listing) {
    ensureLoaded();
    m_report->setListingExport(std::move(listing));
}

void ResultWindow::reportReady() {
    ++m_reportsReady;
    m_report->showReport();
}

QDate ResultWindow::lastUsedDate() const {
    return inputs().mdtLastUsedDate;
}

ReportOutcome ResultWindow::outcome() const {
    const SummaryInputs i = inputs();
    ReportOutcome o;
    o.mdtLastUsedDate = i.mdtLastUsedDate;
    o.totalUsage = i.totalUsage;
    o.chargedUsage = i.chargedUsage;
    o.nightChargedUsage = i.nightChargedUsage;
    o.lastDayUsage = i.lastDayUsage;
    o.averageCaption = m_average->text();
    o.dailyTotals = m_summary->logic().dailyTotals();
    return o;
}

void ResultWindow::applyOutcome(const ReportOutcome& outcome) {
    setInputs(summaryInputsOf(outcome));
    m_average->setText(outcome.averageCaption);
    m_summary->logic().setDailyTotals(outcome.dailyTotals);
}

bool ResultWindow::officeChartRunning() const {
    return m_chart->officeChartRunning();
}

void ResultWindow::setOfficeChartData(const QString& dataText) {
    m_chart->setOfficeChartData(dataText);
}

// --- Handlers ---------------------------------------------------------------------------------

void ResultWindow::rebuildReport() {
    const int before = m_reportsReady;
    m_host.writeOutput();
    if (m_reportsReady == before) {
        m_report->showReport();
    }
}

void ResultWindow::onTabClicked(int oldTab, int newTab) {
    Q_UNUSED(oldTab);
    m_nightFrame->setVisible(newTab == kChartTab && m_state.planKind == PlanKind::NightUnlimited);
    applyLayout();
    m_chart->applyStoredChartType();
}

void ResultWindow::toggleExclusion(int index) {
    if (m_flags.disableRefreshing) {
        return;
    }
    const WaitCursor busy;
    DisplaySettings& d = m_state.display;
    const bool ticked = m_exclude[std::size_t(index)]->isChecked();
    switch (index) {
        case 0:
            d.excludeFree = ticked;
            break;
        case 1:
            d.excludeMixed = ticked;
            break;
        default:
            d.excludeNonFree = ticked;
            break;
    }
    rebuildReport();
    m_chart->formatMSGraphSeries();
}

void ResultWindow::toggleNightUnlimited() {
    DisplaySettings& d = m_state.display;
    d.nightUnlimitedPlan = m_night->isChecked();
    applyFreeUsageControls();
    d.excludeNonFree = d.nightUnlimitedPlan && m_exclude[2]->isChecked();
    // Where the rebuild once let pending events run first, it simply follows: no event loop
    // may nest near the report's browser engine.
    if (!m_flags.disableRefreshing) {
        rebuildReport();
    }
}

void ResultWindow::applyFreeUsageControls() {
    if (!m_report || !m_chart) {
        return;
    }
    const bool freeKind = m_state.planKind == PlanKind::NightUnlimited;
    const bool shown = freeKind && m_night->isChecked();
    m_exclude[0]->setEnabled(shown);
    m_exclude[2]->setEnabled(shown);
    m_chart->chartColorBox(0)->setVisible(shown);
    m_chart->chartColorLabel(0)->setVisible(shown);
    m_report->setColorLabel(0)->setVisible(shown);
    m_report->setColorLabel(1)->setVisible(shown);
    m_report->setRowColourBuddy();
    applyLayout();
}

void ResultWindow::selectTabBy(int step) {
    const int n = m_tabs->tabCount();
    m_tabs->setSelectedTab(((m_tabs->selectedTab() - 1 + step) % n + n) % n + 1);
}

// --- Layout -----------------------------------------------------------------------------------

void ResultWindow::refreshDesignSizes() {
    ResultLayout& l = m_layout;
    takeSizeHint(l[Placed::CloseButton], m_close, 88);
    takeSizeHint(l[Placed::ChartTypeCombo], m_chart->chartTypeCombo());
    takeSizeHint(l[Placed::CopyChartButton], m_chart->copyChartButton(), 88);
    takeSizeHint(l[Placed::ExportButton], m_report->exportButton(), 88);
    takeSizeHint(l[Placed::SaveButton], m_report->saveButton(), 88);
    takeSizeHint(l[Placed::ReportFooterGroup], m_report->reportFooterGroup());
    takeSizeHint(l[Placed::BuiltinChartOptionsGroup], m_chart->builtinChartOptionsGroup());
    takeSizeHint(l[Placed::ChartColorsGroup], m_chart->chartColorsGroup());
    // The two option frames share their place: one height for both, and as high as the list
    // and the button beside them, which stand on the same line.
    const int optionsHeight =
        std::max({l[Placed::BuiltinChartOptionsGroup].height, l[Placed::ChartColorsGroup].height,
                  l[Placed::ChartTypeCombo].height, l[Placed::CopyChartButton].height});
    l[Placed::BuiltinChartOptionsGroup].height = optionsHeight;
    l[Placed::ChartColorsGroup].height = optionsHeight;
    l[Placed::CopyChartButton].left =
        l[Placed::ChartTypeCombo].left + l[Placed::ChartTypeCombo].width + 120;
    l[Placed::SaveButton].left = l[Placed::ExportButton].left + l[Placed::ExportButton].width + 120;

    arrangeFooter();
    updateMinimumSize();
}

int ResultWindow::averageRight() const {
    return kFooterLeft + m_averageCaption->sizeHint().width() + kFooterGap +
           m_average->sizeHint().expandedTo(m_average->minimumSize()).width();
}

int ResultWindow::footerHeight(bool optionBeside, bool nightShown) const {
    const int close = pixelRect(m_layout[Placed::CloseButton]).height();
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

void ResultWindow::arrangeFooter() {
    // The average and Close on the first line, the mixed-usage option beside them where there
    // is room and on a line of its own where not, then the night-unlimited options in a row
    // or, in a narrow window, one above the other.
    ResultLayout& l = m_layout;
    const int outerWidth = outerWindowTwips(size(), twipsPerPixelX(), twipsPerPixelY()).width();
    const int closeLeft = pixelsX(outerWidth - l[Placed::CloseButton].width - kCloseFromRightTwips);
    m_optionBesideAverage =
        averageRight() + kFooterWideGap + m_exclude[1]->sizeHint().width() + kFooterGap <=
        closeLeft;
    auto* nightRow = static_cast<QBoxLayout*>(m_nightFrame->layout());
    nightRow->setDirection(QBoxLayout::LeftToRight);
    if (kFooterLeft + m_nightFrame->sizeHint().width() + kFooterLeft > width()) {
        nightRow->setDirection(QBoxLayout::TopToBottom);
    }
    l[Placed::FooterGroup].height = footerHeight(m_optionBesideAverage, !m_nightFrame->isHidden());
}

void ResultWindow::updateMinimumSize() {
    // The smallest window in which all of it fits: the bottom lines of the Report and Chart
    // tabs without overlapping, the footer's first line, the chart and the report at a
    // readable height; the night-unlimited options counted one above the other.
    const ResultLayout& l = m_layout;
    const int chartLine =
        l[Placed::ChartTypeCombo].left + l[Placed::ChartTypeCombo].width + 120 +
        l[Placed::CopyChartButton].width + 120 +
        std::max(l[Placed::BuiltinChartOptionsGroup].width, l[Placed::ChartColorsGroup].width) +
        100;
    const int reportLine = l[Placed::ExportButton].left + l[Placed::ExportButton].width + 120 +
                           l[Placed::SaveButton].width + 120 + l[Placed::ReportFooterGroup].width +
                           100;
    // Each tab frame is the window's outer width less 600 twips.
    const int tabsWidth = pixelsX(std::max(chartLine, reportLine) + 600 - kDesignFrameWidthTwips);

    auto* nightRow = static_cast<QBoxLayout*>(m_nightFrame->layout());
    const QBoxLayout::Direction direction = nightRow->direction();
    nightRow->setDirection(QBoxLayout::TopToBottom);
    // Close stands 400 twips from the outer right edge, which is 120 beyond the inner one.
    const int closeRoom = pixelsX(kCloseFromRightTwips - kDesignFrameWidthTwips);
    const int footerWidth = std::max(
        {averageRight() + kFooterWideGap + pixelRect(l[Placed::CloseButton]).width() + closeRoom,
         kFooterLeft + m_exclude[1]->sizeHint().width() + kFooterLeft,
         kFooterLeft + m_nightFrame->sizeHint().width() + kFooterLeft});
    const int narrowFooter = footerHeight(false, m_state.planKind == PlanKind::NightUnlimited);
    nightRow->setDirection(direction);

    const int frameHeight = std::max(
        {l[Placed::ChartColorsGroup].height + 400 + kMinimumChartTwips,
         l[Placed::ReportFooterGroup].height + 350 + kMinimumReportTwips, kMinimumChartTwips});
    // The tab strip is the outer height less the footer's and 400 twips; the frames start at
    // their top inside it and are 350 twips shorter than it.
    const int minimumHeight = pixelsY(narrowFooter + 400 + 350 + frameHeight +
                                      l[Placed::ChartGroup].top - kDesignFrameHeightTwips);
    const QSize minimum(std::max(tabsWidth, footerWidth), minimumHeight);
    if (minimumSize() != minimum) {
        setMinimumSize(minimum);
    }
}

void ResultWindow::placeFooterContents() {
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

void ResultWindow::applyLayout() {
    if (!m_tabs || !m_summary || !m_footer) {
        return;
    }
    refreshDesignSizes();
    const QSize outer = outerWindowTwips(size(), twipsPerPixelX(), twipsPerPixelY());
    resizeResultWindow(m_layout, outer.width(), outer.height());
    const std::pair<Placed, QWidget*> placed[] = {
        {Placed::TabStrip, m_tabs},
        {Placed::FooterGroup, m_footer},
        {Placed::CloseButton, m_close},
        {Placed::ReportGroup, m_report},
        {Placed::ChartGroup, m_chart},
        {Placed::SummaryGroup, m_summary},
        {Placed::CopyChartButton, m_chart->copyChartButton()},
        {Placed::ChartTypeCombo, m_chart->chartTypeCombo()},
        {Placed::BuiltinChartOptionsGroup, m_chart->builtinChartOptionsGroup()},
        {Placed::ChartColorsGroup, m_chart->chartColorsGroup()},
        {Placed::XChart, m_chart->xChart()},
        {Placed::OfficeChartHost, m_chart->officeChartHost()},
        {Placed::ReportFooterGroup, m_report->reportFooterGroup()},
        {Placed::ExportButton, m_report->exportButton()},
        {Placed::SaveButton, m_report->saveButton()},
        {Placed::WebBrowser, m_report->webBrowser()}};
    for (const auto& [which, widget] : placed) {
        widget->setGeometry(pixelRect(m_layout[which]));
    }
    placeFooterContents();
    m_chart->fitValueGrid();
    resizeChart();
}

void ResultWindow::keyPressEvent(QKeyEvent* event) {
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

void ResultWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    applyLayout();
}

void ResultWindow::showEvent(QShowEvent* event) {
    ensureLoaded();
    applyLayout();
    // The window's unload let the office chart object go; opening again on the Chart tab
    // has to make it again, as a tab click does.
    if (m_tabs->selectedTab() == kChartTab) {
        m_chart->applyStoredChartType();
    }
    if (!event->spontaneous()) {
        declareNormalWindow(*this);
    }
    QDialog::showEvent(event);
}

}  // namespace kestrova
