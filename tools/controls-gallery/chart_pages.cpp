// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "chart_pages.h"

#include "chart/chart_geometry.h"
#include "chart/chart_item.h"
#include "chart/xchart.h"

#include <QGridLayout>
#include <QWidget>
#include <cmath>
#include <cstdint>

namespace kestrova {

namespace {

ChartItemPtr makeItem(const QString& id, const QString& label, double value,
                      const QString& description) {
    auto item = std::make_shared<ChartItem>();
    item->itemId = id;
    item->xAxisDescription = label;
    item->value = value;
    item->legendDescription = description;
    item->selectedDescription = description;
    return item;
}

// A month of usage fed the way the result window feeds it: one column per day and "Avg".
XChart* resultWindowChart(QWidget* parent) {
    auto* chart = new XChart(parent);
    chart->setObjectName(QStringLiteral("XChart1"));
    chart->model().setAutoRedraw(false);
    chart->clear();
    double largest = 0;
    double sum = 0;
    for (int day = 1; day <= 31; ++day) {
        const double usage =
            std::round((180 + 160 * std::sin(day * 0.7) + 9.0 * (day % 7)) * 100) / 100;
        const double free = std::round((40 + 35 * std::cos(day * 1.3)) * 100) / 100;
        const double total = usage + free;
        largest = std::max(largest, total);
        sum += total;
        chart->addItem(makeItem(QString::number(day), QString::number(day), total,
                                QStringLiteral("Total:%1 MB (NF:%2 MB  + F:%3 MB)")
                                    .arg(total)
                                    .arg(usage, 0, 'f', 2)
                                    .arg(free, 0, 'f', 2)));
    }
    chart->addItem(makeItem(QStringLiteral("32"), QStringLiteral("Avg"), sum / 31,
                            QStringLiteral("%1 MB").arg(sum / 31, 0, 'f', 2)));
    ChartModel& m = chart->model();
    m.setAutoRedraw(true);
    m.setChartTitle(QStringLiteral("ORVO Broadband Usage Chart for Mar 2024"));
    m.setAxisLabelY(QStringLiteral("Megabytes"));
    m.setAxisLabelX(QStringLiteral("Days"));
    m.setBackColor(RGB(240, 240, 240));
    m.setBarFillStyle(0);
    // Down to a whole ten.
    const std::int32_t tens = std::int32_t(roundHalfEven(largest + 10)) / 10;
    m.setMaxY(double(tens * 10));
    m.setMajorGridColor(0);
    m.setBarShadow(false);
    m.setMinorGridOn(true);
    m.setMinorGridColor(RGB(220, 220, 220));
    m.setSelectable(true);
    m.setHotTracking(true);
    m.setBarColor(9671679);
    m.setSelectedBarColor(RGB(225, 117, 117));  // the result window's highlight of 9671679
    m.setBarWidthPercentage(80);
    QObject::connect(chart, &XChart::itemClicked, chart, [chart](const ChartItemPtr& item) {
        chart->setToolTip(item->legendDescription);
    });
    chart->refresh();
    return chart;
}

XChart* shapesChart(QWidget* parent, const QString& name, int chartType, double minY, double maxY,
                    const std::vector<double>& values) {
    auto* chart = new XChart(parent);
    chart->setObjectName(name);
    ChartModel& m = chart->model();
    m.setAutoRedraw(false);
    int n = 0;
    for (double v : values) {
        ++n;
        chart->addItem(makeItem(QString::number(n), QStringLiteral("Item %1").arg(n), v,
                                QStringLiteral("Item %1 of the sample series").arg(n)));
    }
    m.setChartType(chartType);
    // Each limit is only taken while minY < maxY holds; setting both twice reaches any range.
    m.setMinY(minY);
    m.setMaxY(maxY);
    m.setMaxY(maxY);
    m.setMinY(minY);
    m.setIntersectMajor(0);
    m.setIntersectMinor(0);
    m.setChartSubTitle(QStringLiteral("MinY %1, MaxY %2").arg(minY).arg(maxY));
    m.setAxisLabelY(QStringLiteral("Value"));
    m.setAxisLabelX(QStringLiteral("Items"));
    m.setAutoRedraw(true);
    return chart;
}

}  // namespace

ChartPages makeChartPages() {
    auto* first = new QWidget;
    auto* firstLayout = new QGridLayout(first);
    XChart* result = resultWindowChart(first);
    firstLayout->addWidget(result, 0, 0);

    auto* second = new QWidget;
    auto* grid = new QGridLayout(second);
    XChart* colour =
        shapesChart(second, QStringLiteral("ColorBarsMean"), 1, 0, 100,
                    {12, 45, 78, 33, 90, 64, 21, 55, 71, 38, 84, 17, 49, 66, 29, 93, 58});
    colour->model().setColorBars(true);
    colour->model().setBarFillStyle(0);
    colour->model().setMeanOn(true);
    colour->addItem(
        makeItem(QStringLiteral("18"), QStringLiteral("Item 18"), 42, QStringLiteral("Item 18")));
    colour->model().setChartTitle(QStringLiteral("ColorBars, MeanOn, legend"));
    colour->model().setSelectable(true);
    colour->model().setSelectionInformation(true);
    colour->model().setSelectedColumn(4);
    colour->showLegend(false);

    XChart* ellipse = shapesChart(second, QStringLiteral("EllipseMixed"), 8 | 2, -50, 50,
                                  {30, -20, 45, -40, 10, -5, 25});
    ellipse->model().setChartTitle(QStringLiteral("Ellipse + symbol, axis mode 0"));
    ellipse->model().setBarFillStyle(4);
    ellipse->model().setBarColor(RGB(0, 120, 215));

    XChart* triangle = shapesChart(second, QStringLiteral("TriangleMixed"), 16, -50, 50,
                                   {30, -20, 45, -40, 10, -5, 25});
    triangle->model().setChartTitle(QStringLiteral("Triangle, axis mode 0"));
    triangle->model().setBarFillStyle(0);
    triangle->model().setBarColor(RGB(220, 120, 0));

    XChart* diamond = shapesChart(second, QStringLiteral("DiamondNegative"), 32 | 4, -100, -10,
                                  {-20, -55, -80, -35, -95, -60});
    diamond->model().setChartTitle(QStringLiteral("Diamond + line, axis mode 1"));
    diamond->model().setBarFillStyle(7);
    diamond->model().setLineColor(RGB(200, 0, 0));
    diamond->model().setLineWidth(2);

    XChart* trapezoid = shapesChart(second, QStringLiteral("TrapezoidNegative"), 64, -100, -10,
                                    {-20, -55, -80, -35, -95, -60});
    trapezoid->model().setChartTitle(QStringLiteral("Trapezoid, axis mode 1"));
    trapezoid->model().setBarFillStyle(0);
    trapezoid->model().setBarColor(RGB(0, 150, 80));

    XChart* line = shapesChart(second, QStringLiteral("LineOnly"), 4 | 2, 0, 100,
                               {12, 45, 78, 33, 90, 64, 21, 55});
    line->model().setChartTitle(QStringLiteral("Line + symbol only (ChartType 6)"));
    line->model().setLineStyle(1);
    line->model().setLineColor(RGB(0, 0, 200));
    line->model().setBarSymbolColor(RGB(200, 0, 0));

    grid->addWidget(colour, 0, 0, 1, 2);
    grid->addWidget(ellipse, 1, 0);
    grid->addWidget(triangle, 1, 1);
    grid->addWidget(diamond, 2, 0);
    grid->addWidget(trapezoid, 2, 1);
    grid->addWidget(line, 3, 0);

    ChartPages p;
    p.resultPage = first;
    p.shapesPage = second;
    p.result = result;
    p.shapes = {colour, ellipse, triangle, diamond, trapezoid, line};
    return p;
}

}  // namespace kestrova
