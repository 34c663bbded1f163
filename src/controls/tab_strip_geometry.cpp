// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/tab_strip_geometry.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>

namespace kestrova {

namespace {
constexpr ColorRef kButtonHighlight = 0x80000014u;
constexpr ColorRef kButtonShadow = 0x80000010u;

// First tab's offset along the strip for the styles that start from the right or bottom.
int fromFarEnd(int extent, int n, int tabExtent) {
    return extent - n * tabExtent - 1;
}
}  // namespace

EdgeRect pageRect(const TabStripState& s, QSize size) {
    const int width = size.width();
    const int height = size.height();
    switch (s.tabStyle) {
        case 2:
        case 3:
            return {0, 0, width, height - s.tabsHeight};
        case 4:
        case 6:
            return {s.tabsWidth, 0, width, height};
        case 5:
        case 7:
            return {0, 0, width - s.tabsWidth, height};
        default:
            return {0, s.tabsHeight, width, height};
    }
}

EdgeRect fullTabRect(const TabStripState& s, QSize size, int i) {
    const int width = size.width();
    const int height = size.height();
    const int tabWidth = s.tabsWidth;
    const int tabHeight = s.tabsHeight;
    const int n = s.tabCount;
    int left = 0;
    int top = 0;
    switch (s.tabStyle) {
        case 0:
            left = (i - 1) * tabWidth;
            break;
        case 1:
            left = fromFarEnd(width, n, tabWidth) + (i - 1) * tabWidth;
            break;
        case 2:
            left = (i - 1) * tabWidth;
            top = height - tabHeight - 1;
            break;
        case 3:
            left = fromFarEnd(width, n, tabWidth) + (i - 1) * tabWidth;
            top = height - tabHeight - 1;
            break;
        case 4:
            top = (i - 1) * tabHeight;
            break;
        case 5:
            left = width - tabWidth - 1;
            top = (i - 1) * tabHeight;
            break;
        case 6:
            top = fromFarEnd(height, n, tabHeight) + (i - 1) * tabHeight;
            break;
        case 7:
            left = width - tabWidth - 1;
            top = fromFarEnd(height, n, tabHeight) + (i - 1) * tabHeight;
            break;
        default:
            break;
    }
    return {left, top, left + tabWidth + 1, top + tabHeight + 1};
}

EdgeRect tabRect(const TabStripState& s, QSize size, int i) {
    const EdgeRect full = fullTabRect(s, size, i);
    return i == s.selectedTab ? full : full.shrunk(1);
}

int tabAt(const TabStripState& s, QSize size, QPoint point) {
    for (int i = 1; i <= s.tabCount; ++i) {
        if (tabRect(s, size, i).containsInclusive(point.x(), point.y())) {
            return i;
        }
    }
    return 0;
}

unsigned selectedTabEdges(int style) {
    switch (style) {
        case 2:
        case 3:
            return EdgeLeft | EdgeRight | EdgeBottom;
        case 4:
        case 6:
            return EdgeLeft | EdgeTop | EdgeBottom;
        case 5:
        case 7:
            return EdgeTop | EdgeRight | EdgeBottom;
        default:
            return EdgeLeft | EdgeTop | EdgeRight;
    }
}

QPointF captionOrigin(int captionAlignment, const EdgeRect& full, QSizeF text) {
    const double l = full.left;
    const double t = full.top;
    const double r = full.right;
    const double b = full.bottom;
    double x = 0;
    switch (captionAlignment % 3) {
        case 0:
            x = l + 3;
            break;
        case 1:
            x = l + (r - l) / 2 - text.width() / 2 - 1;
            break;
        default:
            x = r - text.width() - 4;
            break;
    }
    double y = 0;
    switch (captionAlignment / 3) {
        case 0:
            y = t + 2;
            break;
        case 1:
            y = t + (b - t) / 2 - text.height() / 2 - 1;
            break;
        default:
            y = b - text.height() - 2;
            break;
    }
    return {x, y};
}

void drawRaisedInnerEdge(QPainter& painter, const EdgeRect& r, unsigned sides, const QColor& light,
                         const QColor& shadow) {
    if (r.right <= r.left || r.bottom <= r.top) {
        return;
    }
    const int x0 = r.left;
    const int y0 = r.top;
    const int x1 = r.right - 1;
    const int y1 = r.bottom - 1;
    // Highlight first, then shadow, so the shadow owns the top-right and bottom-left corners.
    if (sides & EdgeLeft) {
        painter.fillRect(QRect(x0, y0, 1, y1 - y0 + 1), light);
    }
    if (sides & EdgeTop) {
        painter.fillRect(QRect(x0, y0, x1 - x0 + 1, 1), light);
    }
    if (sides & EdgeRight) {
        painter.fillRect(QRect(x1, y0, 1, y1 - y0 + 1), shadow);
    }
    if (sides & EdgeBottom) {
        painter.fillRect(QRect(x0, y1, x1 - x0 + 1, 1), shadow);
    }
}

void drawTabStrip(QPainter& painter, const TabStripState& s, QSize size, const QPalette& palette,
                  const TabStripPaint& paint) {
    const QColor inactiveFill = toQColor(s.tabColor, palette);
    const QColor activeFill = toQColor(s.tabColorActive, palette);
    // Captions readable on their tabs whatever the palette makes of the system colours (a
    // dark palette's button highlight on its button shadow is grey on black).
    const QColor inactiveText = readableOn(s.textColor, s.tabColor, palette);
    const QColor activeText = readableOn(s.textColorActive, s.tabColorActive, palette);
    const QColor light = toQColor(kButtonHighlight, palette);
    const QColor shadow = toQColor(kButtonShadow, palette);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(QPoint(0, 0), size), paint.ambientBack);

    const EdgeRect page = pageRect(s, size);
    painter.fillRect(page.toQRect(), activeFill);
    drawRaisedInnerEdge(painter, page, kAllEdges, light, shadow);

    const QFont font = s.tabFont.toQFont();
    const QFont fontActive = s.tabFontActive.toQFont();
    for (int i = 1; i <= s.tabCount; ++i) {
        const EdgeRect full = fullTabRect(s, size, i);
        const bool selected = i == s.selectedTab;
        if (selected) {
            painter.fillRect(full.toQRect(), activeFill);
            drawRaisedInnerEdge(painter, full, selectedTabEdges(s.tabStyle), light, shadow);
            if (s.useFocusRect && paint.hasFocus) {
                const QRect focus = full.shrunk(2).toQRect();
                QPen pen(activeText, 1, Qt::DotLine);
                painter.setPen(pen);
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(focus.adjusted(0, 0, -1, -1));
            }
        } else {
            painter.fillRect(full.shrunk(1).toQRect(), inactiveFill);
        }
        const QString caption = i - 1 < s.captions.size() ? s.captions[i - 1] : QString();
        if (caption.isEmpty()) {
            continue;
        }
        painter.setFont(selected ? fontActive : font);
        painter.setPen(selected ? activeText : inactiveText);
        const QFontMetricsF metrics(painter.font(), painter.device());
        const QSizeF text(metrics.horizontalAdvance(caption), metrics.height());
        const QPointF origin = captionOrigin(s.captionAlignment, full, text);
        painter.drawText(QRectF(origin, text),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine,
                         caption);
    }
    painter.restore();
}

}  // namespace kestrova
