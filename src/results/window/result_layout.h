// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The result window's resize rules as a plain function on the controls' rectangles, in twips,
// so that the widget and the tests run the same statements.

#include "platform/twips.h"

#include <QRect>
#include <QSize>
#include <array>

namespace kestrova {

// The controls the resize handler places. Positions are relative to each control's parent:
// tabStrip and footerGroup to the window, closeButton to footerGroup, the three tab frames to
// tabStrip, the Chart tab's controls to chartGroup and the Report tab's to reportGroup.
enum class Placed {
    TabStrip,
    FooterGroup,
    CloseButton,
    ReportGroup,
    ChartGroup,
    SummaryGroup,
    CopyChartButton,
    ChartTypeCombo,
    BuiltinChartOptionsGroup,
    ChartColorsGroup,
    XChart,
    OfficeChartHost,
    ReportFooterGroup,
    ExportButton,
    SaveButton,
    WebBrowser,
};
inline constexpr int kPlacedCount = int(Placed::WebBrowser) + 1;

struct ResultLayout {
    std::array<TwipRect, kPlacedCount> boxes{};

    TwipRect& operator[](Placed p) { return boxes[std::size_t(p)]; }
    const TwipRect& operator[](Placed p) const { return boxes[std::size_t(p)]; }
    friend bool operator==(const ResultLayout&, const ResultLayout&) = default;
};

// The resize statements for a window of the given outer width and height (twips), in their
// order. A statement that would give a control a negative width or height is skipped, so the
// control keeps what it had; every other statement still runs. Positions may go negative.
void resizeResultWindow(ResultLayout& layout, int windowWidth, int windowHeight);

// The rules were made against the window's outer measures on the desktop the window was
// designed on (4-pixel borders, a 19-pixel caption); Qt gives the client area, so the outer
// measures are the client area plus that frame, in twips.
inline constexpr int kDesignFrameWidthTwips = 120;
inline constexpr int kDesignFrameHeightTwips = 405;
QSize outerWindowTwips(QSize clientPixels, double twipsPerPixelX, double twipsPerPixelY);

// A window's frame rectangle brought onto a screen's available area: no larger than the area
// (but never below `minimum`), and moved inside it where it stood partly or wholly outside.
QRect fitIntoScreen(const QRect& window, const QRect& available, QSize minimum = QSize());

}  // namespace kestrova
