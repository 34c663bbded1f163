// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the Chart tab feeds its two charts: the items and properties of the built-in chart
// (`updateGraphControl`), the colour helpers `getRGB` and `changeColor`, and the series of a
// chart data text for the second chart type.

#include "chart/chart_item.h"
#include "platform/colour_ref.h"
#include "retrieval/daily_chart.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace kestrova {

// The built-in chart's properties, in the order the feed sets them.
struct ChartFeedProperties {
    QString chartTitle;
    QString axisLabelY = QStringLiteral("Megabytes");
    QString axisLabelX = QStringLiteral("Days");
    ColorRef backColor = RGB(240, 240, 240);
    int barFillStyle = 0;
    double maxY = 10;
    ColorRef majorGridColor = 0;
    bool barShadow = false;
    QString toolTipText;  // the control's tool tip, emptied
    bool minorGridOn = true;
    ColorRef minorGridColor = RGB(220, 220, 220);
    bool selectable = true;
    bool hotTracking = true;
    ColorRef barColor = 0;
    ColorRef selectedBarColor = 0;
    int barWidthPercentage = 80;
};

struct ChartFeed {
    std::vector<ChartItem> items;
    double largestTotal = 0;
    ChartFeedProperties properties;
};

// The items of the report's chart: one per day and one for "Avg", its value the sum of the
// series' cells, its legend "12.50 MB" for one series and the "Total:…" form for more; no
// items before a report has made its chart. Throws Failure when a series has no cell for a
// column.
ChartFeed updateGraphControl(const std::optional<DailyChart>& report, const QString& monthYear,
                             ColorRef inbuiltChartColor);

// The largest total plus 10, rounded to a whole number (halves to the even neighbour), down to
// a multiple of 10: 0 gives 10, 345.3 gives 350, 349.6 gives 360.
double maxY(double largestTotal);

// Part 1 red, 2 green, 3 blue of a packed colour 0 to 16777215; any other part, or a colour
// outside that range (negative, a system colour), gives -1.
int getRGB(std::int64_t color, int part);

// The highlight shade of a colour: red and green up by 30 when 30 or less, else down by 30;
// blue up by 30 when below 30, else down by 30. Components outside 0 to 255 after the shift are
// clamped. The packed RGB(r', g', b').
ColorRef changeColor(int r, int g, int b);

// A chart data text split for the second chart type: category labels from header cell 1 on and
// one series per further line. A cell that is missing or holds no number has no value; a
// number beyond the exact range (a grouped 1e40) is read as the nearest double. Never fails.
struct ChartSeries {
    QString name;
    std::vector<std::optional<double>> values;  // one per category
};
struct ChartDataTable {
    QStringList categories;
    std::vector<ChartSeries> series;
};
ChartDataTable parseChartData(const QString& chartDataText);

}  // namespace kestrova
