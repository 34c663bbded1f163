// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The scale and the column geometry of one redraw, in twips. The painter fills it in while it
// draws and the model keeps it, so painting and hit testing read the same numbers.

#include <QRectF>
#include <cstdint>
#include <optional>
#include <vector>

namespace kestrova {

struct ChartProperties;

// Whole-number rounding with halves to the even neighbour; nullopt when the result does not
// fit a 32-bit integer.
std::optional<std::int32_t> roundToInt32(double value);
double roundHalfEven(double value);

enum AxisMode : std::int16_t {
    AxisMixed = 0,     // one of minY, maxY negative, the other zero or positive
    AxisNegative = 1,  // both negative: columns hang from the top of the plot
    AxisPositive = 2,  // both zero or positive
};

struct ChartScale {
    std::int16_t axisMode = AxisPositive;
    std::int32_t valueSpan = 1;  // integer width of the value range, never 0
};

// Axis mode and value span from minY/maxY; a grid step of 0 is replaced by an automatic one,
// stored into the properties themselves. A span too wide for 32 bits leaves the previous span.
void computeScale(ChartProperties& props, ChartScale& scale);

struct ColumnExtent {
    double top = 0;     // the smaller y
    double bottom = 0;  // the larger y
};

struct ChartGeometry {
    double tppx = 15;
    double tppy = 15;
    double scaleWidth = 0;
    double scaleHeight = 0;
    double marginLeft = 0;
    double marginTop = 0;
    double plotBottom = 0;
    double plotRight = 0;
    double minY = 0;
    double maxY = 100;
    std::int16_t axisMode = AxisPositive;
    double unitHeight = 0;              // twips per value unit
    double columnWidth = 0;             // kept from the last redraw with items
    std::vector<ColumnExtent> extents;  // one per column drawn with a shape

    // Horizontal slot of column c: x1 and x2 of the drawing steps.
    double slotLeft(int column) const;
    double slotRight(int column) const;
    // The two ends a value's column spans, ordered.
    ColumnExtent valueExtent(double value) const;
    // The y of the end that shows the value (symbols, the line overlay, shadows).
    double valueEnd(const ColumnExtent& extent, double value) const;
    bool valueEndIsTop(double value) const;
    // Column c's rectangle: its slot across and its stored extent down. Empty (null) when c has
    // no stored extent.
    QRectF columnRect(int column) const;
    // The column whose slot holds x, or -1 (left of the plot, or no usable column width).
    int columnAt(double x) const;
};

}  // namespace kestrova
