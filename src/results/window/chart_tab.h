// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// chartGroup, the Chart tab: the chart type list, the built-in chart xChart and the office
// chart object in its container officeChartHost, the colour boxes and the chart option check boxes,
// and
// "&Copy chart..".

#include "results/office_chart/office_chart.h"
#include "results/window/result_window_host.h"

#include <QFrame>
#include <QPointer>
#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace kestrova {

class ColourBox;
class XChart;
struct RetrievalState;

// What "Copy chart.." says when there was no picture to copy.
inline const QString kChartNotCopied =
    QStringLiteral("The chart could not be copied to the clipboard: there is no chart to copy.");

class ChartTabFrame : public QFrame {
    Q_OBJECT
public:
    ChartTabFrame(RetrievalState& state, ResultWindowFlags& flags, OfficeChartFactory factory,
                  QWidget* parent = nullptr);
    ~ChartTabFrame() override;

    QComboBox* chartTypeCombo() const { return m_chartType; }
    XChart* xChart() const { return m_chart; }
    QWidget* officeChartHost() const { return m_officeChartHost; }
    QLabel* msGraphNotfoundLabel() const { return m_notFound; }
    QFrame* builtinChartOptionsGroup() const { return m_builtinOptions; }
    QFrame* chartColorsGroup() const { return m_chartColors; }
    ColourBox* builtInChartColorBox() const { return m_barColor; }
    ColourBox* chartColorBox(int index) const { return m_seriesColor[std::size_t(index)]; }
    // The caption beside chartColorBox(index): "Free", "Mixed", "Usage".
    QLabel* chartColorLabel(int index) const { return m_seriesCaption[std::size_t(index)]; }
    QCheckBox* showAverageInChartCheck() const { return m_showAverage; }
    QCheckBox* displayDailyTotalinChartCheck() const { return m_showTotal; }
    QPushButton* copyChartButton() const { return m_copy; }
    // The office chart object while it exists.
    OfficeChart* officeChart() const { return m_office.get(); }

    // Rebuilds the built-in chart from the report's chart unless it already holds the
    // current data; a failure shows its description and leaves the flag clear.
    void updateGraphControl();
    // Fits the office chart object to officeChartHost and sets its font sizes; failures are
    // skipped.
    void resizeChart();
    // The built-in chart's labelled grid lines for its height: as many as stay readable.
    void fitValueGrid();
    // Creates and fills the office chart object, once; when it cannot be created the designed
    // label msGraphNotfoundLabel shows in its place.
    void drawMSGraphChart();
    // Series colours, data table and font sizes of the office chart; a failure ends it quietly.
    void formatMSGraphSeries();

    // chartTypeCombo's Click: index 0 the built-in chart, 1 the office chart; stores the choice.
    void changeChartType();
    // What a tab change does here: the list takes the stored chart type and its Click runs.
    void applyStoredChartType();

    // The main window's re-feed of the office chart after a grab.
    bool officeChartRunning() const;
    void setOfficeChartData(const QString& dataText);
    // The window unloads: the object goes (it is made again on the next load).
    void releaseOfficeChart();

    void toggleAverageInChart();
    void toggleDailyTotalInChart();
    void chooseBuiltInChartColour();
    void chooseChartColour(int index);
    void copyChart();

private:
    // The box's colour through the colour dialog, starting from its current one.
    ColorRef chooseColour(const ColourBox& box) const;
    QSize officeChartHostPixels() const;
    // The height of the built-in chart's plot, pixels.
    int plotPixels() const;

    RetrievalState& m_state;
    ResultWindowFlags& m_flags;
    OfficeChartFactory m_factory;
    std::unique_ptr<OfficeChart> m_office;
    QPointer<QWidget> m_officeWidget;
    bool m_chartTypeGuard = false;

    QComboBox* m_chartType = nullptr;
    XChart* m_chart = nullptr;
    QWidget* m_officeChartHost = nullptr;
    QLabel* m_notFound = nullptr;
    QFrame* m_builtinOptions = nullptr;
    ColourBox* m_barColor = nullptr;
    QFrame* m_chartColors = nullptr;
    std::array<ColourBox*, 3> m_seriesColor{};
    std::array<QLabel*, 3> m_seriesCaption{};
    QCheckBox* m_showAverage = nullptr;
    QCheckBox* m_showTotal = nullptr;
    QPushButton* m_copy = nullptr;
};

}  // namespace kestrova
