// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The office chart object realised with Qt Charts: a chart view with one stacked column series
// per chart data text, drawn in the settings the window gives it. The object keeps its state
// when its widget goes away with the window, and then only stops drawing.

#include "results/office_chart/chart_labels.h"
#include "results/office_chart/office_chart.h"
#include "results/office_chart_data.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QMap>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>

class QBarCategoryAxis;
class QChart;
class QGraphicsSimpleTextItem;
class QMenu;
class QStackedBarSeries;
class QValueAxis;

namespace kestrova {

class OfficeChartView;

// The object's settings, as a new object starts.
struct OfficeChartSettings {
    bool hasLegend = true;
    int chartType = 52;
    bool hasTitle = false;
    QString titleText;
    double titleFontSize = 12;        // points
    double categoryTickFontSize = 9;  // points, axis type 1
    double valueTickFontSize = 9;     // points, axis type 2
    bool hasDataTable = false;        // values on the columns
    double dataTableFontSize = 9;     // points
    bool autoVerbMenu = false;
    QSize applicationSize;                 // pixels; stored for the host, the widget follows `size`
    QSize size;                            // pixels
    QMap<QString, ColorRef> seriesColors;  // by series name; others take the default colours
};

class QtOfficeChart final : public OfficeChart {
public:
    static constexpr int kStackedColumns = 52;
    // Font sizes outside this range (points) are ignored.
    static constexpr double kMinFontSize = 1;
    static constexpr double kMaxFontSize = 409;

    explicit QtOfficeChart(QWidget* parent);
    ~QtOfficeChart() override;
    QtOfficeChart(const QtOfficeChart&) = delete;
    QtOfficeChart& operator=(const QtOfficeChart&) = delete;

    QWidget* widget() override;
    // True while the chart's widget exists.
    bool isRunning() const override;

    void setDataText(const QString& text) override;
    QString dataText() const override { return m_dataText; }
    void redraw() override;

    void setHasLegend(bool on) override;
    bool hasLegend() const override { return m_settings.hasLegend; }
    // Only 52 (stacked columns); any other type throws Failure and changes nothing.
    void setChartType(int type) override;
    void setHasTitle(bool on) override;
    void setChartTitleText(const QString& title) override;
    QString chartTitleText() const override { return m_settings.titleText; }
    void setChartTitleFontSize(double points) override;
    // Axis type 1 (categories) or 2 (values), group 1; any other axis throws Failure.
    void setTickLabelFontSize(int axisType, int axisGroup, double points) override;
    void setHasDataTable(bool on) override;
    bool hasDataTable() const override { return m_settings.hasDataTable; }
    void setDataTableFontSize(double points) override;
    // The name is looked up in the data text as last set; the colour stays with the name
    // through later data texts.
    void setSeriesColor(const QString& seriesName, ColorRef color) override;
    // Negative sizes count as 0.
    void setApplicationSize(int width, int height) override;
    void setSize(int width, int height) override;
    void setAutoVerbMenu(bool on) override;
    bool autoVerbMenu() const override { return m_settings.autoVerbMenu; }
    // Leaves the clipboard alone while the chart has no picture (no widget or no area).
    void copyToClipboard() override;

    int chartType() const { return m_settings.chartType; }
    const OfficeChartSettings& settings() const { return m_settings; }
    // The data as the last Update drew it.
    const OfficeChartData& shownData() const { return m_shown; }
    // The colour a series of that name is drawn in; invalid when no series has that name.
    QColor seriesColor(const QString& seriesName) const;
    // Null once the widget is gone.
    QChart* chart() const;
    // The texts around the columns as last placed, and the chart's text items that show them.
    const std::vector<ValueLabel>& valueLabels() const { return m_valueLabels; }
    const QList<QGraphicsSimpleTextItem*>& valueLabelItems() const { return m_valueLabelItems; }
    const CategoryLabels& categoryLabels() const { return m_categoryLabels; }
    const QList<QGraphicsSimpleTextItem*>& categoryLabelItems() const {
        return m_categoryLabelItems;
    }
    // The chart as it stands, at the widget's size; null without a widget or area.
    QImage picture() const;
    // The editing choices (a colour per series, legend, values on the columns) as a new menu
    // owned by `parent`; nullptr while AutoVerbMenu is False.
    QMenu* createVerbMenu(QWidget* parent);

private:
    // The chart's light or dark theme after the palette of its widget, with the object's own
    // fonts and colours put back on it.
    void applyTheme();
    // The colour of a value label: readable on its part of the column, or on the chart's
    // background where it stands above the column.
    QColor valueLabelColour(const ValueLabel& label) const;
    void rebuildSeries();
    void applyLegend();
    void applyTitle();
    void applyTickFonts();
    void applyColors();
    void fitLabels();
    QGraphicsSimpleTextItem* addLabelItem(const QString& text, const QFont& font,
                                          const QPointF& centre, double angle);
    void chooseSeriesColor(const QString& seriesName);
    bool showVerbMenu(const QPoint& globalPos);

    OfficeChartSettings m_settings;
    QString m_dataText;
    QStringList m_textSeriesNames;
    OfficeChartData m_shown;

    QPointer<OfficeChartView> m_view;
    QPointer<QBarCategoryAxis> m_categoryAxis;
    QPointer<QValueAxis> m_valueAxis;
    QPointer<QStackedBarSeries> m_series;
    std::vector<ValueLabel> m_valueLabels;
    CategoryLabels m_categoryLabels;
    QList<QGraphicsSimpleTextItem*> m_labelItems;  // all of them, owned by the chart
    QList<QGraphicsSimpleTextItem*> m_valueLabelItems;
    QList<QGraphicsSimpleTextItem*> m_categoryLabelItems;
    bool m_darkTheme = false;
};

}  // namespace kestrova
