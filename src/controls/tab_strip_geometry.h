// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The tab strip's state and the one geometry that its painting and its hit testing share.

#include "controls/std_font.h"
#include "platform/colour_ref.h"

#include <QPointF>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QStringList>

class QPainter;
class QPalette;
class QColor;

namespace kestrova {

struct TabStripState {
    int tabsWidth = 70;        // pixels, no bounds
    int tabsHeight = 20;       // pixels, no bounds
    int tabCount = 2;          // at least 1
    int selectedTab = 1;       // 1 to tabCount
    int tabStyle = 0;          // 0 to 7: which side the tabs sit on and where they start
    int captionAlignment = 4;  // 0 to 8: left/centre/right by top/middle/bottom
    bool useFocusRect = false;
    QStringList captions{QStringLiteral("Tab 1"), QStringLiteral("Tab 2")};  // one per tab
    QStringList frames{QString(), QString()};                                // one per tab
    StdFont tabFont;
    StdFont tabFontActive;
    ColorRef tabColor = 0x80000010u;         // button shadow
    ColorRef tabColorActive = 0x8000000Fu;   // button face
    ColorRef textColor = 0x80000014u;        // button highlight
    ColorRef textColorActive = 0x80000012u;  // button text
    bool showFrameBorder = false;
};

// A rectangle as the drawing operations take it: right and bottom lie just outside.
struct EdgeRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }
    EdgeRect shrunk(int by) const { return {left + by, top + by, right - by, bottom - by}; }
    // Inclusive on all four sides, as the tab strip's mouse test is.
    bool containsInclusive(int x, int y) const {
        return left <= x && x <= right && top <= y && y <= bottom;
    }
    friend bool operator==(const EdgeRect&, const EdgeRect&) = default;
};

enum EdgeSide : unsigned { EdgeLeft = 1, EdgeTop = 2, EdgeRight = 4, EdgeBottom = 8 };
constexpr unsigned kAllEdges = EdgeLeft | EdgeTop | EdgeRight | EdgeBottom;

EdgeRect pageRect(const TabStripState& s, QSize size);
// Tab i (1-based) before any shrinking: tabsWidth + 1 by tabsHeight + 1 pixels, so it overlaps
// its neighbour and the page border by one pixel.
EdgeRect fullTabRect(const TabStripState& s, QSize size, int i);
// The rectangle a tab is drawn in and hit-tested against: the selected tab's full rectangle,
// any other tab's shrunk by one pixel on every side.
EdgeRect tabRect(const TabStripState& s, QSize size, int i);
// The first tab (in ascending order) whose rectangle holds the point; 0 for none.
int tabAt(const TabStripState& s, QSize size, QPoint point);
// Sides of the selected tab that get the raised edge (the side toward the page stays open).
unsigned selectedTabEdges(int style);
// Where the caption's top-left corner goes inside the tab's full rectangle.
QPointF captionOrigin(int captionAlignment, const EdgeRect& full, QSizeF text);

struct TabStripPaint {
    QColor ambientBack;  // the host's background
    bool hasFocus = false;
};

// drawTabs' painting: background, page, tabs, captions and the focus rectangle. System colours
// resolve through `palette`.
void drawTabStrip(QPainter& painter, const TabStripState& s, QSize size, const QPalette& palette,
                  const TabStripPaint& paint);
// A one-pixel raised inner edge: highlight on the left and top, shadow on the right and bottom.
void drawRaisedInnerEdge(QPainter& painter, const EdgeRect& r, unsigned sides, const QColor& light,
                         const QColor& shadow);

}  // namespace kestrova
