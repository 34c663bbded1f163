// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/window/result_layout.h"

#include <algorithm>
#include <cmath>

namespace kestrova {

namespace {

// One assignment of a size; a negative one fails the way the platform refuses it.
void setWidth(TwipRect& box, int width) {
    if (width >= 0) {
        box.width = width;
    }
}

void setHeight(TwipRect& box, int height) {
    if (height >= 0) {
        box.height = height;
    }
}

}  // namespace

void resizeResultWindow(ResultLayout& layout, int windowWidth, int windowHeight) {
    TwipRect& tabs = layout[Placed::TabStrip];
    TwipRect& footer = layout[Placed::FooterGroup];
    setWidth(tabs, windowWidth - 300);
    setHeight(tabs, windowHeight - footer.height - 400);
    setWidth(footer, windowWidth);
    footer.top = windowHeight - footer.height - 350;
    layout[Placed::CloseButton].left = windowWidth - layout[Placed::CloseButton].width - 400;

    for (Placed frame : {Placed::ReportGroup, Placed::ChartGroup, Placed::SummaryGroup}) {
        setWidth(layout[frame], tabs.width - 300);
        setHeight(layout[frame], tabs.height - 350);
    }

    const TwipRect& chart = layout[Placed::ChartGroup];
    for (Placed p : {Placed::CopyChartButton, Placed::ChartTypeCombo,
                     Placed::BuiltinChartOptionsGroup, Placed::ChartColorsGroup}) {
        layout[p].top = chart.height - layout[p].height - 100;
    }
    for (Placed p : {Placed::BuiltinChartOptionsGroup, Placed::ChartColorsGroup}) {
        layout[p].left = chart.width - layout[p].width - 100;
    }
    for (Placed p : {Placed::XChart, Placed::OfficeChartHost}) {
        setWidth(layout[p], chart.width - 100);
        setHeight(layout[p], chart.height - layout[Placed::ChartColorsGroup].height - 400);
    }

    const TwipRect& report = layout[Placed::ReportGroup];
    TwipRect& reportFooter = layout[Placed::ReportFooterGroup];
    reportFooter.top = report.height - reportFooter.height - 100;
    reportFooter.left = report.width - reportFooter.width - 100;
    for (Placed p : {Placed::ExportButton, Placed::SaveButton}) {
        layout[p].top = report.height - layout[p].height - 100;
    }
    setWidth(layout[Placed::WebBrowser], report.width - 20);
    setHeight(layout[Placed::WebBrowser], report.height - reportFooter.height - 350);
}

QSize outerWindowTwips(QSize clientPixels, double twipsPerPixelX, double twipsPerPixelY) {
    return {int(std::lround(clientPixels.width() * twipsPerPixelX)) + kDesignFrameWidthTwips,
            int(std::lround(clientPixels.height() * twipsPerPixelY)) + kDesignFrameHeightTwips};
}

QRect fitIntoScreen(const QRect& window, const QRect& available, QSize minimum) {
    const QSize size = window.size().boundedTo(available.size()).expandedTo(minimum);
    // Where the window is larger than the area (its minimum does not fit), its top left stays
    // on the area, so the caption can be reached.
    const int left =
        std::max(available.left(), std::min(window.left(), available.right() + 1 - size.width()));
    const int top =
        std::max(available.top(), std::min(window.top(), available.bottom() + 1 - size.height()));
    return QRect(QPoint(left, top), size);
}

}  // namespace kestrova
