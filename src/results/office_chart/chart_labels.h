// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Where the office chart's texts around its columns go: the values on the columns (its data
// table) and the category labels under them. Both are placed here rather than by the chart's
// own axis, which cuts a label down to "..." once a month of days no longer fits side by side.

#include "results/office_chart_data.h"

#include <QLocale>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <functional>
#include <vector>

namespace kestrova {

struct ValueLabel {
    std::size_t series = 0;
    qsizetype category = 0;
    QString text;
    QPointF centre;     // chart coordinates
    double angle = 0;   // degrees: 0, or -90 to read upwards
    bool shown = true;  // false: no room in or above its part of the column
};

// How the chart lays out its columns: categories side by side across the plot, the value axis
// from minValue at the plot's bottom to maxValue at its top.
struct ColumnFrame {
    QRectF plotArea;
    double minValue = 0;
    double maxValue = 10;
    double barWidth = 0.6;  // of a category's width

    double columnCentre(qsizetype category, qsizetype categoryCount) const;
    double columnWidth(qsizetype categoryCount) const;
    double yOf(double value) const;
};

// The text's unturned size as the label's font draws it.
using TextSize = std::function<QSizeF(const QString& text)>;

// One label per non-zero value, in series order within each category, the value with two
// decimals, in the middle of its part of the column; all upright when every label fits across
// a column, else all turned to read upwards. A label longer than its part sits just above the
// column when it is the column's top part and there is room below the plot's top; otherwise it
// is not shown, so no label lies over another part's.
std::vector<ValueLabel> placeValueLabels(const OfficeChartData& data, const ColumnFrame& frame,
                                         const TextSize& textSize,
                                         const QLocale& locale = QLocale());

struct CategoryLabel {
    QString text;
    QPointF centre;    // chart coordinates
    double angle = 0;  // degrees: 0, or -90 to read upwards
};

struct CategoryLabels {
    std::vector<CategoryLabel> labels;
    double depth = 0;  // the room they take below the plot, pixels
};

// One label per category under the middle of its column, a gap below the plot: all upright when
// every label fits into a category's width with a quarter of its height to spare, else all
// turned to read upwards, ending at the gap.
CategoryLabels placeCategoryLabels(const QStringList& categories, const ColumnFrame& frame,
                                   const TextSize& textSize);

}  // namespace kestrova
