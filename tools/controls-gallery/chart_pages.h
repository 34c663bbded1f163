// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The chart control's pages of the controls gallery: the result window's chart with a month of
// data, and charts in the other shapes, with negative values, colorBars, meanOn and the legend.

#include <vector>

class QWidget;

namespace kestrova {

class XChart;

struct ChartPages {
    QWidget* resultPage = nullptr;
    QWidget* shapesPage = nullptr;
    XChart* result = nullptr;
    std::vector<XChart*> shapes;
};

ChartPages makeChartPages();

}  // namespace kestrova
