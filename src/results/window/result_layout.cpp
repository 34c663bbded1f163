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

void resizeResultWindow(ResultLayout& l, int W, int H) {
    TwipRect& tabs = l[Placed::tabStrip];
    TwipRect& footer = l[Placed::footerGroup];
    setWidth(tabs, W - 300);
    setHeight(tabs, H - footer.height - 400);
    setWidth(footer, W);
    footer.top = H - footer.height - 350;
    l[Placed::closeButton].left = W - l[Placed::closeButton].width - 400;

    for (Placed frame : {Placed::reportGroup, Placed::chartGroup, Placed::summaryGroup}) {
        setWidth(l[frame], tabs.width - 300);
        setHeight(l[frame], tabs.height - 350);
    }

    const TwipRect& chart = l[Placed::chartGroup];
    for (Placed p : {Placed::copyChartButton, Placed::chartTypeCombo,
                     Placed::builtinChartOptionsGroup, Placed::chartColorsGroup}) {
        l[p].top = chart.height - l[p].height - 100;
    }
    for (Placed p : {Placed::builtinChartOptionsGroup, Placed::chartColorsGroup}) {
        l[p].left = chart.width - l[p].width - 100;
    }
    for (Placed p : {Placed::xChart, Placed::officeChartHost}) {
        setWidth(l[p], chart.width - 100);
        setHeight(l[p], chart.height - l[Placed::chartColorsGroup].height - 400);
    }

    const TwipRect& report = l[Placed::reportGroup];
    TwipRect& reportFooter = l[Placed::reportFooterGroup];
    reportFooter.top = report.height - reportFooter.height - 100;
    reportFooter.left = report.width - reportFooter.width - 100;
    for (Placed p : {Placed::exportButton, Placed::saveButton}) {
        l[p].top = report.height - l[p].height - 100;
    }
    setWidth(l[Placed::webBrowser], report.width - 20);
    setHeight(l[Placed::webBrowser], report.height - reportFooter.height - 350);
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
