// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "chart/chart_geometry.h"

#include "chart/chart_properties.h"

#include <cmath>
#include <limits>

namespace kestrova {

double roundHalfEven(double value) {
    const double r = std::round(value);  // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5) {
        return 2.0 * std::round(value / 2.0);
    }
    return r;
}

std::optional<std::int32_t> roundToInt32(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const double r = roundHalfEven(value);
    if (r < double(std::numeric_limits<std::int32_t>::min()) ||
        r > double(std::numeric_limits<std::int32_t>::max())) {
        return std::nullopt;
    }
    return std::int32_t(r);
}

void computeScale(ChartProperties& p, ChartScale& scale) {
    double span = 0;
    if (p.minY < 0 && p.maxY < 0) {
        scale.axisMode = AxisNegative;
        span = std::fabs(p.minY) - std::fabs(p.maxY);
    } else if (p.minY >= 0 && p.maxY >= 0) {
        scale.axisMode = AxisPositive;
        span = std::fabs(p.maxY) - std::fabs(p.minY);
    } else {
        scale.axisMode = AxisMixed;
        span = std::fabs(p.maxY) + std::fabs(p.minY);
    }
    if (const auto rounded = roundToInt32(span)) {
        scale.valueSpan = *rounded;
    }
    if (scale.valueSpan == 0) {
        scale.valueSpan = 1;
    }
    if (p.intersectMajor == 0) {
        p.intersectMajor = float(scale.valueSpan) / 10.0f;
    }
    if (p.intersectMinor == 0) {
        p.intersectMinor = p.intersectMajor / 5.0f;
    }
}

double ChartGeometry::slotLeft(int column) const {
    return column * columnWidth + marginLeft + 2 * tppx;
}

double ChartGeometry::slotRight(int column) const {
    return slotLeft(column) + columnWidth - 2 * tppx;
}

ColumnExtent ChartGeometry::valueExtent(double value) const {
    double a = 0;
    double b = 0;
    switch (axisMode) {
        case AxisPositive:
            a = plotBottom;
            b = plotBottom - (value - minY) * unitHeight;
            break;
        case AxisMixed:
            a = plotBottom - unitHeight * std::fabs(minY);
            b = a - value * unitHeight;
            break;
        default:
            a = marginTop;
            b = marginTop + (std::fabs(value) - std::fabs(maxY)) * unitHeight;
            break;
    }
    return a <= b ? ColumnExtent{a, b} : ColumnExtent{b, a};
}

bool ChartGeometry::valueEndIsTop(double value) const {
    switch (axisMode) {
        case AxisPositive:
            return true;
        case AxisNegative:
            return false;
        default:
            return value > 0;
    }
}

double ChartGeometry::valueEnd(const ColumnExtent& extent, double value) const {
    return valueEndIsTop(value) ? extent.top : extent.bottom;
}

QRectF ChartGeometry::columnRect(int column) const {
    if (column < 0 || std::size_t(column) >= extents.size()) {
        return {};
    }
    const ColumnExtent& e = extents[std::size_t(column)];
    const double left = slotLeft(column);
    return QRectF(left, e.top, slotRight(column) - left, e.bottom - e.top);
}

int ChartGeometry::columnAt(double x) const {
    const auto width = roundToInt32(columnWidth);
    const auto offset = roundToInt32(x - marginLeft);
    if (!width || *width <= 0 || !offset || *offset < 0) {
        return -1;
    }
    return *offset / *width;
}

}  // namespace kestrova
