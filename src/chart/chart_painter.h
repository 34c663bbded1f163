// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// One redraw of the chart's picture (titles, value grid, frame, columns with their overlays and
// labels, axis titles) onto a painter, read from the model. What the redraw leaves behind for
// hit testing and the legend comes back as a ChartRedraw.

#include "chart/chart_geometry.h"
#include "platform/colour_ref.h"

#include <QFont>
#include <QPalette>
#include <QString>
#include <vector>

class QPainter;

namespace kestrova {

class ChartModel;

// The 16 classic console colours; colorBars uses entries 0-14 in turn.
ColorRef consoleColour(int index);

struct ChartCanvas {
    double scaleWidth = 0;  // inner size of the surface, twips
    double scaleHeight = 0;
    double centre = 0;  // horizontal centre of the titles, twips
    QFont font;         // the control's font
    QPalette palette;   // resolves system colours
};

struct LegendEntry {
    QString text;
    ColorRef swatch = 0;

    friend bool operator==(const LegendEntry&, const LegendEntry&) = default;
};

struct ChartRedraw {
    ChartGeometry geometry;
    std::vector<LegendEntry> legend;  // one per item, in list order
    bool selectedDrawn = false;       // the selected column was drawn highlighted
};

// The chart control's own font.
QFont chartFont();

class ChartPainter {
public:
    // Paints the picture for `model` (whose scale computeScale has set). The painter's device
    // should be the surface's size: ScaleWidth / TPPX by ScaleHeight / TPPY pixels.
    ChartRedraw draw(QPainter& painter, const ChartModel& model, const ChartCanvas& canvas) const;
};

}  // namespace kestrova
