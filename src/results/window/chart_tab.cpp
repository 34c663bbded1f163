// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/window/chart_tab.h"

#include "chart/xchart.h"

#include <algorithm>
#include "controls/colour_dialog.h"
#include "platform/dialogs.h"
#include "platform/failure.h"
#include "platform/program_folder.h"
#include "results/chart_feed.h"
#include "results/window/colour_box.h"
#include "retrieval/retrieval_state.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolTip>
#include <cmath>

namespace kestrova {

namespace {

const QString kChartTitle = QStringLiteral("ORVO Broadband Usage Chart for ");

// The office chart's statements go on past a failing one.
template <typename Statement>
void skipFailure(Statement statement) {
    try {
        statement();
    } catch (const std::exception&) {
    }
}

// The value step of the labelled grid lines: about one per 30 pixels of plot, at most ten and
// at least two, for the month's largest day, on a 1-2-5 scale. The designed step of 10 MB draws
// a line per 10 MB, which a month of a few hundred megabytes a day turns into a solid block with
// its labels on top of each other; so does a fixed count of lines in a small window.
float gridStep(double maxY, int plotPixels) {
    const int lines = std::clamp(plotPixels / 30, 2, 10);
    const double raw = std::max(maxY, 10.0) / lines;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double scaled = raw / magnitude;
    const double nice = scaled <= 1 ? 1 : scaled <= 2 ? 2 : scaled <= 5 ? 5 : 10;
    return float(nice * magnitude);
}

QFrame* optionFrame(QWidget* parent, const QString& name) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(6, 3, 6, 3);
    row->setSpacing(5);
    return frame;
}

QLabel* caption(QWidget* parent, const QString& name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

}  // namespace

ChartTabFrame::ChartTabFrame(RetrievalState& state, ResultWindowFlags& flags,
                             OfficeChartFactory factory, QWidget* parent)
    : QFrame(parent), m_state(state), m_flags(flags), m_factory(std::move(factory)) {
    setObjectName(QStringLiteral("fraChart"));

    m_chart = new XChart(this);
    m_chart->setObjectName(QStringLiteral("XChart1"));
    connect(m_chart, &XChart::itemClicked, this, [this](const ChartItemPtr& item) {
        m_chart->setToolTip(item->legendDescription);
        // The tip follows the hovered column at once rather than on the next pause; a column
        // chosen with the arrow keys (the mouse elsewhere, or resting on another column) shows
        // its tip above it, where the eye is.
        const QRect column = m_chart->columnRect(m_chart->model().selectedColumn());
        const QPoint mouse = m_chart->mapFromGlobal(QCursor::pos());
        if (m_chart->underMouse() && column.contains(mouse)) {
            QToolTip::showText(QCursor::pos(), item->legendDescription, m_chart);
        } else if (m_chart->hasFocus() && !column.isEmpty()) {
            QToolTip::showText(m_chart->mapToGlobal(column.topLeft()), item->legendDescription,
                               m_chart, column);
        }
    });

    m_officeChartHost = new QWidget(this);
    m_officeChartHost->setObjectName(QStringLiteral("OLE1"));
    auto* officeChartHostLayout = new QVBoxLayout(m_officeChartHost);
    officeChartHostLayout->setContentsMargins(0, 0, 0, 0);
    m_notFound =
        caption(m_officeChartHost, QStringLiteral("lblMSGraphNotfound"),
                QStringLiteral("Microsoft Office is required for displaying Chart type 2."));
    m_notFound->setAlignment(Qt::AlignCenter);
    m_notFound->setWordWrap(true);
    officeChartHostLayout->addWidget(m_notFound);
    m_notFound->hide();
    m_officeChartHost->hide();

    m_chartType = new QComboBox(this);
    m_chartType->setObjectName(QStringLiteral("cmbChartType"));
    m_chartType->addItems({QStringLiteral("Chart Type 1"), QStringLiteral("Chart Type 2")});
    m_chartType->setAccessibleName(QStringLiteral("Chart type"));
    connect(m_chartType, &QComboBox::currentIndexChanged, this, &ChartTabFrame::changeChartType);

    // "&Close" in the footer has C.
    m_copy = new QPushButton(QStringLiteral("Co&py chart.."), this);
    m_copy->setObjectName(QStringLiteral("cmdCopyChart"));
    connect(m_copy, &QPushButton::clicked, this, &ChartTabFrame::copyChart);

    const QString clickToSet = QStringLiteral("Click to set Colour");
    m_builtinOptions = optionFrame(this, QStringLiteral("fraBuiltinChartOptions"));
    m_barColor = new ColourBox(m_builtinOptions);
    m_barColor->setObjectName(QStringLiteral("picBuiltInChartColor"));
    m_barColor->setToolTip(clickToSet);
    connect(m_barColor, &ColourBox::clicked, this, &ChartTabFrame::chooseBuiltInChartColour);
    auto* builtinRow = static_cast<QHBoxLayout*>(m_builtinOptions->layout());
    builtinRow->addWidget(m_barColor);
    QLabel* barColor =
        caption(m_builtinOptions, QStringLiteral("lblBarColor"), QStringLiteral("&Bar Color"));
    barColor->setBuddy(m_barColor);
    builtinRow->addWidget(barColor);
    builtinRow->addSpacing(8);
    builtinRow->addWidget(caption(m_builtinOptions, QStringLiteral("lblBarHint"),
                                  QStringLiteral("(Move mouse over bar to display values)")));

    m_chartColors = optionFrame(this, QStringLiteral("fraChartColors"));
    auto* colourRow = static_cast<QHBoxLayout*>(m_chartColors->layout());
    // "Mixed" never shows; "Free" and "Usage" put the focus on their colour boxes.
    const char* series[] = {"Fr&ee", "Mixed", "&Usage"};
    for (int i = 0; i < 3; ++i) {
        auto* box = new ColourBox(m_chartColors);
        box->setObjectName(QStringLiteral("picChartColor_%1").arg(i));
        connect(box, &ColourBox::clicked, this, [this, i] { chooseChartColour(i); });
        auto* label = caption(m_chartColors, QStringLiteral("lblChartColor_%1").arg(i),
                              QString::fromLatin1(series[i]));
        label->setBuddy(box);
        colourRow->addWidget(box);
        colourRow->addWidget(label);
        colourRow->addSpacing(2);
        m_seriesColor[std::size_t(i)] = box;
        m_seriesCaption[std::size_t(i)] = label;
    }
    // The window's load hands this tip on to the other two boxes.
    m_seriesColor[0]->setToolTip(clickToSet);
    // The mixed series has no chart of its own.
    m_seriesColor[1]->hide();
    m_seriesCaption[1]->hide();
    // Each with its own letter: both began with an underlined S.
    m_showAverage = new QCheckBox(QStringLiteral("Show &Average"), m_chartColors);
    m_showAverage->setObjectName(QStringLiteral("chkShowAverageInChart"));
    m_showTotal = new QCheckBox(QStringLiteral("Show &Total"), m_chartColors);
    m_showTotal->setObjectName(QStringLiteral("chkDisplayDailyTotalinChart"));
    colourRow->addWidget(m_showAverage);
    colourRow->addWidget(m_showTotal);
    connect(m_showAverage, &QCheckBox::toggled, this, &ChartTabFrame::toggleAverageInChart);
    connect(m_showTotal, &QCheckBox::toggled, this, &ChartTabFrame::toggleDailyTotalInChart);
    m_chartColors->hide();

    setTabOrder(m_chart, m_chartType);
    setTabOrder(m_chartType, m_copy);
    setTabOrder(m_copy, m_barColor);
    setTabOrder(m_barColor, m_seriesColor[0]);
    setTabOrder(m_seriesColor[0], m_seriesColor[1]);
    setTabOrder(m_seriesColor[1], m_seriesColor[2]);
    setTabOrder(m_seriesColor[2], m_showAverage);
    setTabOrder(m_showAverage, m_showTotal);
}

ChartTabFrame::~ChartTabFrame() {
    releaseOfficeChart();
}

QSize ChartTabFrame::officeChartHostPixels() const {
    return m_officeChartHost->size();
}

void ChartTabFrame::updateGraphControl() {
    if (m_flags.inbuiltChartInitialised) {
        return;
    }
    try {
        m_chart->clear();
        const ChartFeed feed = kestrova::updateGraphControl(m_state.chart, m_state.monthYear,
                                                            m_state.display.inbuiltChartColor);
        for (const ChartItem& item : feed.items) {
            m_chart->addItem(std::make_shared<ChartItem>(item));
        }
        const ChartFeedProperties& p = feed.properties;
        ChartModel& m = m_chart->model();
        m.setChartTitle(p.chartTitle);
        m.setAxisLabelY(p.axisLabelY);
        m.setAxisLabelX(p.axisLabelX);
        m.setBackColor(p.backColor);
        m.setBarFillStyle(p.barFillStyle);
        m.setMaxY(p.maxY);
        m.setMajorGridColor(p.majorGridColor);
        m.setBarShadow(p.barShadow);
        m_chart->setToolTip(p.toolTipText);
        m.setMinorGridOn(p.minorGridOn);
        m.setMinorGridColor(p.minorGridColor);
        m.setSelectable(p.selectable);
        m.setHotTracking(p.hotTracking);
        m.setSelectable(p.selectable);
        m.setBarColor(p.barColor);
        m.setSelectedBarColor(p.selectedBarColor);
        m.setBarWidthPercentage(p.barWidthPercentage);
        const float step = gridStep(p.maxY, plotPixels());
        m.setIntersectMajor(step);
        m.setIntersectMinor(step / 5);
        m_chart->refresh();
        m_flags.inbuiltChartInitialised = true;
    } catch (const Failure& failure) {
        dialogs().show(Message(failure.description()));
    }
}

int ChartTabFrame::plotPixels() const {
    const ChartModel& m = m_chart->model();
    return m_chart->height() - m.marginTop() - m.marginBottom();
}

void ChartTabFrame::fitValueGrid() {
    if (!m_flags.inbuiltChartInitialised) {
        return;
    }
    ChartModel& m = m_chart->model();
    const float step = gridStep(m.maxY(), plotPixels());
    if (m.intersectMajor() != step) {
        m.setIntersectMajor(step);
        m.setIntersectMinor(step / 5);
    }
}

void ChartTabFrame::resizeChart() {
    if (!m_office) {
        return;
    }
    const QSize size = officeChartHostPixels();
    skipFailure([&] { m_office->setSize(size.width(), size.height()); });
    skipFailure([&] { m_office->setChartTitleFontSize(8); });
    skipFailure([&] { m_office->setDataTableFontSize(9); });
    skipFailure([&] { m_office->setTickLabelFontSize(2, 1, 10); });
    skipFailure([&] { m_office->setTickLabelFontSize(1, 1, 10); });
}

void ChartTabFrame::drawMSGraphChart() {
    if (!m_notFound->isHidden() || m_flags.graphInitialised) {
        return;
    }
    try {
        if (!m_factory) {
            throw Failure(QStringLiteral("No office chart server"));
        }
        m_office = m_factory(QStringLiteral("MSGRAPH"), m_officeChartHost);
        if (!m_office || !m_office->widget()) {
            throw Failure(QStringLiteral("The office chart object could not be created"));
        }
    } catch (const std::exception&) {
        m_office.reset();
        m_notFound->show();
        m_flags.graphInitialised = false;
        return;
    }
    m_flags.graphInitialised = true;
    m_officeWidget = m_office->widget();
    m_officeWidget->setParent(m_officeChartHost);
    m_officeChartHost->layout()->addWidget(m_officeWidget);
    m_officeWidget->show();

    OfficeChart& chart = *m_office;
    skipFailure([&] { chart.setHasLegend(false); });
    skipFailure([&] { chart.setChartType(52); });
    skipFailure([&] { chart.setHasTitle(true); });
    skipFailure([&] { chart.setTickLabelFontSize(1, 1, 5); });
    skipFailure([&] { chart.setTickLabelFontSize(2, 1, 5); });
    skipFailure([&] { chart.setHasDataTable(true); });
    skipFailure([&] { chart.setChartTitleText(kChartTitle + m_state.monthYear); });
    skipFailure([&] {
        chart.setAutoVerbMenu(
            QFileInfo::exists(inProgramFolder(programFolder(), QStringLiteral("charteditable"))));
    });
    skipFailure([&] { chart.setDataText(chartDataText(m_state, m_state.display.showAverage)); });
    skipFailure([&] { chart.redraw(); });
    formatMSGraphSeries();
    skipFailure([&] {
        const QSize size = officeChartHostPixels();
        chart.setApplicationSize(size.width(), size.height());
    });
    resizeChart();
}

void ChartTabFrame::formatMSGraphSeries() {
    if (!m_flags.graphInitialised || !m_office) {
        return;
    }
    const DisplaySettings& d = m_state.display;
    // A series the data do not hold (the night-unlimited box ticked while the plan type
    // charges everything) has no colour to take; the data table must still follow "Show
    // Total", so only that statement is skipped.
    if (!d.excludeNonFree) {
        skipFailure(
            [&] { m_office->setSeriesColor(QStringLiteral("Usage"), d.chartColorNonFree); });
    }
    if (d.nightUnlimitedPlan && !d.excludeFree) {
        skipFailure([&] { m_office->setSeriesColor(QStringLiteral("Free"), d.chartColorFree); });
    }
    try {
        m_office->setHasDataTable(d.showTotalValue);
        m_office->setChartTitleFontSize(8);
        m_office->setDataTableFontSize(9);
        m_office->setTickLabelFontSize(2, 1, 10);
        m_office->setTickLabelFontSize(1, 1, 10);
    } catch (const std::exception&) {
    }
}

void ChartTabFrame::changeChartType() {
    if (m_chartTypeGuard) {
        return;
    }
    const int index = m_chartType->currentIndex();
    if (index == int(ResultChart::BuiltIn)) {
        m_officeChartHost->hide();
        m_chart->show();
        updateGraphControl();
        m_builtinOptions->show();
        m_chartColors->hide();
    } else {
        m_officeChartHost->show();
        drawMSGraphChart();
        m_chart->hide();
        m_builtinOptions->hide();
        m_chartColors->show();
    }
    m_state.display.chartType = index;
}

void ChartTabFrame::applyStoredChartType() {
    // A stored type the list does not hold would select nothing; it counts as the first.
    const int stored = m_state.display.chartType;
    const int index = stored >= 0 && stored < m_chartType->count() ? stored : 0;
    m_chartTypeGuard = true;
    m_chartType->setCurrentIndex(index);
    m_chartTypeGuard = false;
    changeChartType();
}

bool ChartTabFrame::officeChartRunning() const {
    return m_office && m_office->isRunning();
}

void ChartTabFrame::setOfficeChartData(const QString& dataText) {
    if (!m_office) {
        return;
    }
    skipFailure([&] { m_office->setDataText(dataText); });
    skipFailure([&] { m_office->redraw(); });
}

void ChartTabFrame::releaseOfficeChart() {
    m_office.reset();
    // The object may leave its widget to the container; it goes with the object.
    delete m_officeWidget.data();
    m_flags.graphInitialised = false;
    m_notFound->hide();
}

void ChartTabFrame::toggleAverageInChart() {
    if (m_flags.disableRefreshing) {
        return;
    }
    DisplaySettings& d = m_state.display;
    d.showAverage = m_showAverage->isChecked();
    if (m_flags.graphInitialised && m_office) {
        setOfficeChartData(chartDataText(m_state, d.showAverage));
    }
}

void ChartTabFrame::toggleDailyTotalInChart() {
    if (m_flags.disableRefreshing) {
        return;
    }
    m_state.display.showTotalValue = m_showTotal->isChecked();
    formatMSGraphSeries();
}

ColorRef ChartTabFrame::chooseColour(const ColourBox& box) const {
    return askForColour(box.backColor()).value_or(box.backColor());
}

void ChartTabFrame::chooseBuiltInChartColour() {
    const ColorRef chosen = chooseColour(*m_barColor);
    m_barColor->setBackColor(chosen);
    m_state.display.inbuiltChartColor = chosen;
    m_flags.inbuiltChartInitialised = false;
    updateGraphControl();
}

void ChartTabFrame::chooseChartColour(int index) {
    ColourBox* box = m_seriesColor[std::size_t(index)];
    const ColorRef chosen = chooseColour(*box);
    box->setBackColor(chosen);
    if (index == 0) {
        m_state.display.chartColorFree = chosen;
    } else if (index == 2) {
        m_state.display.chartColorNonFree = chosen;
    }
    if (index == 0 || index == 2) {
        formatMSGraphSeries();
    }
}

void ChartTabFrame::copyChart() {
    // Success is said only when the clipboard holds a picture afterwards: chart type 2 without
    // its object (or an object that cannot draw) copies nothing.
    QClipboard* clipboard = QGuiApplication::clipboard();
    bool copied = false;
    if (m_state.display.chartType == int(ResultChart::Office)) {
        if (m_office) {
            clipboard->clear();
            skipFailure([&] { m_office->copyToClipboard(); });
            copied = !clipboard->image().isNull();
        }
    } else {
        m_chart->editCopy();
        copied = !clipboard->image().isNull();
    }
    if (copied) {
        dialogs().show(
            Message(QStringLiteral("Chart is copied to clipboard. You can now paste it "
                                   "into any graphical application(like paintbrush)")));
    } else {
        dialogs().show(
            Message(kChartNotCopied, QStringLiteral("Copy chart"), MessageIcon::Warning));
    }
}

}  // namespace kestrova
