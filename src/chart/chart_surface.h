// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A drawing surface in twips over a QPainter, with the pen, fill and text state that the chart's
// drawing steps set as they go (foreground, fill colour and style, pen width and style, font
// size, bold, current text position). Shapes are drawn without antialiasing, text with it.

#include "platform/colour_ref.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>
#include <QPoint>
#include <QPolygon>
#include <QString>
#include <map>
#include <utility>

namespace kestrova {

// Fill styles: 0 solid, 1 transparent, 2 horizontal, 3 vertical, 4 upward diagonal,
// 5 downward diagonal, 6 cross, 7 diagonal cross; others draw as transparent.
Qt::BrushStyle fillStyleBrush(int fillStyle);
// Pen styles: 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 invisible, 6 inside solid;
// others draw solid. Patterned styles only exist one pixel wide, wider pens are solid.
Qt::PenStyle drawStylePen(int drawStyle, int drawWidth);

// Rotates a pixel point about a centre by `angle` degrees counter-clockwise (on screen, with y
// downwards), each coordinate rounded to a whole pixel.
QPoint rotatePoint(QPoint centre, QPoint point, double angle);

class ChartSurface {
public:
    ChartSurface(QPainter& painter, double tppx, double tppy, const QFont& font,
                 const QPalette& palette);

    ColorRef foreColor = 0;
    ColorRef fillColor = 0;
    int fillStyle = 1;
    int drawWidth = 1;
    int drawStyle = 0;
    double currentX = 0;
    double currentY = 0;

    double fontSize() const { return m_font.pointSizeF(); }
    void setFontSize(double points);
    void setBold(bool bold);
    const QFont& font() const { return m_font; }

    // Twips; a text of several lines (CR LF) measures its widest line and all its lines.
    double textWidth(const QString& text) const;
    double textHeight(const QString& text) const;
    // Writes text with its top-left corner at the current position; with `endLine` the
    // position moves to the start of the next line, else behind the text.
    void drawText(const QString& text, bool endLine = true);

    void clear(ColorRef back);
    void drawLine(double x1, double y1, double x2, double y2, ColorRef colour);
    // A box through both corners, inclusive: outlined in `outline` with the pen state and
    // filled with the fill state. A box `onBackground` (the plot's frame) keeps its outline
    // visible against the background as the grid lines do.
    void drawBox(double x1, double y1, double x2, double y2, ColorRef outline,
                 bool onBackground = false);
    // A box through both corners, inclusive, filled solid in `colour`.
    void filledBox(double x1, double y1, double x2, double y2, ColorRef colour);
    // An ellipse with the given centre and full width and height (twips).
    void drawEllipse(double cx, double cy, double width, double height, ColorRef outline);
    void solidEllipse(double cx, double cy, double width, double height, ColorRef colour);
    // Polygons work in pixels.
    void drawPolygon(const QPolygon& pixels, ColorRef outline);
    void solidPolygon(const QPolygon& pixels, ColorRef colour);
    // A picture stretched over, or tiled from the top-left corner of, a rectangle in twips.
    void paintPictureArea(double left, double right, double top, double bottom, bool tile,
                          const QImage& picture);
    // Text centred on the pixel point (x, y), rotated counter-clockwise by `angle` degrees, in
    // the current font and foreground colour.
    bool drawRotatedText(const QString& text, int x, int y, double angle);

    int px(double twipsX) const;
    int py(double twipsY) const;
    double tppx() const { return m_tppx; }
    double tppy() const { return m_tppy; }
    QColor colour(ColorRef c) const { return toQColor(c, m_palette); }
    // Colours drawn straight on the background that the last clear painted: text (titles,
    // labels, printed with drawText and drawRotatedText) readable on it, lines (grid, frame,
    // ticks) visible on it, wherever the palette is involved (readableOn, visibleOn).
    QColor textColour(ColorRef c) const;
    QColor lineColour(ColorRef c) const;
    QPainter& painter() { return m_painter; }
    const QFontMetricsF& metrics() const { return m_metrics; }

private:
    QPen pen(ColorRef colour) const;
    QBrush brush() const;
    void fontChanged();

    QPainter& m_painter;
    // Metrics per (size, bold): a redraw switches between a handful of sizes many times.
    std::map<std::pair<double, bool>, QFontMetricsF> m_metricsCache;
    double m_tppx;
    double m_tppy;
    QFont m_font;
    QFontMetricsF m_metrics;
    QPalette m_palette;
    ColorRef m_back = 0x80000005u;
};

}  // namespace kestrova
