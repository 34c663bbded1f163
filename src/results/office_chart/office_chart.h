// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The embedded office chart object of chart type 2: a stacked column chart of the chart data
// text, behind the members the result window uses. The object a factory makes may fail to
// come into being (as an office chart server may be missing); the window then shows its
// designed label instead.

#include "platform/colour_ref.h"

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace kestrova {

class OfficeChart {
public:
    virtual ~OfficeChart() = default;

    // The widget that shows the chart (the OLE container's place on the Chart tab).
    virtual QWidget* widget() = 0;
    // The application behind the object is running (it can take data).
    virtual bool isRunning() const = 0;

    // Chart data text: tab-separated cells, lines joined by CR LF; line 0 the category labels
    // (cell 0 empty), each further line a series ("Usage", "Free") with its values.
    virtual void setDataText(const QString& text) = 0;
    virtual QString dataText() const = 0;
    // Redraws from the data text and the settings below.
    virtual void redraw() = 0;

    virtual void setHasLegend(bool on) = 0;
    virtual bool hasLegend() const = 0;
    // 52: stacked columns (the only type the program asks for).
    virtual void setChartType(int type) = 0;
    virtual void setHasTitle(bool on) = 0;
    virtual void setChartTitleText(const QString& title) = 0;
    virtual QString chartTitleText() const = 0;
    virtual void setChartTitleFontSize(double points) = 0;
    // Axis type 1 is the category axis, 2 the value axis; group 1 the primary axes.
    virtual void setTickLabelFontSize(int axisType, int axisGroup, double points) = 0;
    // The data table under the chart, here the values shown on the columns.
    virtual void setHasDataTable(bool on) = 0;
    virtual bool hasDataTable() const = 0;
    virtual void setDataTableFontSize(double points) = 0;
    // SeriesCollection(name).Interior.Color; throws Failure when no series has that name.
    virtual void setSeriesColor(const QString& seriesName, ColorRef color) = 0;
    // Sizes in pixels: the application's window and the object within it.
    virtual void setApplicationSize(int width, int height) = 0;
    virtual void setSize(int width, int height) = 0;
    // The object's own editing choices (series colours, legend, value labels) on a context
    // menu of the chart.
    virtual void setAutoVerbMenu(bool on) = 0;
    virtual bool autoVerbMenu() const = 0;
    // Copies the chart to the clipboard as a picture.
    virtual void copyToClipboard() = 0;
};

// Makes the object of the given class ("MSGRAPH"), or throws Failure when it cannot.
using OfficeChartFactory =
    std::function<std::unique_ptr<OfficeChart>(const QString& className, QWidget* parent)>;

// The program's own: a Qt Charts chart.
std::unique_ptr<OfficeChart> createOfficeChart(const QString& className, QWidget* parent);

}  // namespace kestrova
