// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "chart/chart_painter.h"

#include "chart/chart_model.h"
#include "chart/chart_surface.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPolygon>
#include <QRawFont>
#include <QStringList>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace kestrova {

ColorRef consoleColour(int index) {
    static constexpr std::array<ColorRef, 16> colours = {
        RGB(0, 0, 0),       RGB(0, 0, 128),   RGB(0, 128, 0),   RGB(0, 128, 128),
        RGB(128, 0, 0),     RGB(128, 0, 128), RGB(128, 128, 0), RGB(192, 192, 192),
        RGB(128, 128, 128), RGB(0, 0, 255),   RGB(0, 255, 0),   RGB(0, 255, 255),
        RGB(255, 0, 0),     RGB(255, 0, 255), RGB(255, 255, 0), RGB(255, 255, 255)};
    return colours[std::size_t(index & 15)];
}

QFont chartFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

namespace {

using namespace ChartTypeBits;

int shapeOf(std::int32_t chartType) {
    for (const int bit : {Ellipse, Bar, Triangle, Trapezoid, Diamond}) {
        if ((chartType & bit) != 0) {
            return bit;
        }
    }
    return 0;
}

std::optional<std::int64_t> wholeStep(float step) {
    const double r = roundHalfEven(double(step));
    if (!std::isfinite(r) || std::fabs(r) > 9.0e15 || r == 0) {
        return std::nullopt;  // "a multiple of 0" never holds
    }
    return std::int64_t(r);
}

// Grid lines all span the same x range, so within one pixel row only the last line drawn
// there shows; the rows are collected first and each drawn once.
class GridRows {
public:
    explicit GridRows(int height) : m_rows(std::size_t(std::max(0, height)), 0) {}
    void set(int row, ColorRef colour) {
        if (row >= 0 && std::size_t(row) < m_rows.size()) {
            m_rows[std::size_t(row)] = colour | kUsed;
        }
    }
    void draw(ChartSurface& s, int x1, int x2) const {
        QPainter& p = s.painter();
        for (std::size_t row = 0; row < m_rows.size(); ++row) {
            if ((m_rows[row] & kUsed) != 0) {
                p.fillRect(QRect(QPoint(x1, int(row)), QPoint(x2, int(row))),
                           s.lineColour(ColorRef(m_rows[row] & ~kUsed)));
            }
        }
    }

private:
    static constexpr std::uint64_t kUsed = std::uint64_t(1) << 40;
    std::vector<std::uint64_t> m_rows;
};

// Value labels hold only digits, a minus sign and blanks. Their glyphs are looked up once per
// redraw and all labels go out as one glyph run, in order, as the single texts would: a range
// of 60000 has thousands of labels, and laying out each as a text costs a frame.
class NumberRun {
public:
    NumberRun(const QFont& font, QPaintDevice* device)
        : m_raw(QRawFont::fromFont(QFont(font, device))) {
        const QString chars = QStringLiteral(" -0123456789");
        const QList<quint32> glyphs = m_raw.glyphIndexesForString(chars);
        const QList<QPointF> advances = m_raw.advancesForGlyphIndexes(glyphs);
        m_valid = m_raw.isValid() && glyphs.size() == chars.size();
        for (qsizetype i = 0; m_valid && i < chars.size(); ++i) {
            m_valid = glyphs[i] != 0 || chars[i] == u' ';
            m_glyph[slot(chars[i])] = glyphs[i];
            m_advance[slot(chars[i])] = advances[i].x();
        }
    }
    bool valid() const { return m_valid; }
    // Pixels.
    double width(const QString& text) const {
        double w = 0;
        for (QChar c : text) {
            w += m_advance[slot(c)];
        }
        return w;
    }
    // Glyph positions are whole pixels, so every label reuses the same cached glyph images.
    void add(const QString& text, QPointF topLeft) {
        double x = std::round(topLeft.x());
        const double baseline = std::round(topLeft.y() + m_raw.ascent());
        for (QChar c : text) {
            if (c != u' ') {  // a blank only advances
                m_glyphs.push_back(m_glyph[slot(c)]);
                m_positions.push_back(QPointF(x, baseline));
            }
            x += m_advance[slot(c)];
        }
    }
    void draw(QPainter& painter, const QColor& colour) const {
        if (m_glyphs.isEmpty()) {
            return;
        }
        QGlyphRun run;
        run.setRawFont(m_raw);
        run.setGlyphIndexes(m_glyphs);
        run.setPositions(m_positions);
        painter.setPen(colour);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }

private:
    static std::size_t slot(QChar c) {
        if (c == u'-') {
            return 1;
        }
        if (c >= u'0' && c <= u'9') {
            return 2 + std::size_t(c.unicode() - u'0');
        }
        return 0;
    }

    QRawFont m_raw;
    bool m_valid = false;
    std::array<quint32, 12> m_glyph{};
    std::array<double, 12> m_advance{};
    QList<quint32> m_glyphs;
    QList<QPointF> m_positions;
};

struct ColumnShape {
    double left = 0;
    double right = 0;
    double top = 0;
    double bottom = 0;
    bool valueTop = true;  // the value end is the upper end
    bool selected = false;
    bool mean = false;
};

class Redraw {
public:
    Redraw(QPainter& painter, const ChartModel& model, const ChartCanvas& canvas)
        : m_model(model),
          m_p(model.properties()),
          m_canvas(canvas),
          m_s(painter, model.twipsPerPixelX(), model.twipsPerPixelY(), canvas.font, canvas.palette),
          m_tppx(model.twipsPerPixelX()),
          m_tppy(model.twipsPerPixelY()) {}

    ChartRedraw run() {
        const int n = m_model.itemCount();
        setUpGeometry(n);
        m_s.clear(m_p.backColor);
        if (!m_p.picture.isNull()) {
            m_s.paintPictureArea(m_p.marginLeft, m_g.plotRight, m_p.marginTop, m_g.plotBottom,
                                 m_p.pictureTile, m_p.picture);
        }
        m_g.extents.assign(std::size_t(n), ColumnExtent{});
        titles();
        if (m_p.axisYOn) {
            valueGrid();
        }
        if (m_p.contentBorder) {
            m_s.drawBox(m_p.marginLeft, m_p.marginTop, m_g.plotRight, m_g.plotBottom,
                        m_p.majorGridColor, true);
        }
        columns(n);
        axisTitles();
        m_result.geometry = m_g;
        return std::move(m_result);
    }

private:
    void setUpGeometry(int n) {
        m_g.tppx = m_tppx;
        m_g.tppy = m_tppy;
        m_g.scaleWidth = m_canvas.scaleWidth;
        m_g.scaleHeight = m_canvas.scaleHeight;
        m_g.marginLeft = m_p.marginLeft;
        m_g.marginTop = m_p.marginTop;
        m_g.plotBottom = m_canvas.scaleHeight - m_p.marginBottom;
        m_g.plotRight = m_canvas.scaleWidth - m_p.marginRight;
        m_g.minY = m_p.minY;
        m_g.maxY = m_p.maxY;
        m_g.axisMode = m_model.scale().axisMode;
        m_g.unitHeight = (m_canvas.scaleHeight - (double(m_p.marginTop) + m_p.marginBottom)) /
                         double(m_model.scale().valueSpan);
        m_g.columnWidth =
            n > 0 ? (m_canvas.scaleWidth - (double(m_p.marginLeft) + m_p.marginRight)) / n
                  : m_model.geometry().columnWidth;
    }

    void titles() {
        const double base = m_s.fontSize();
        m_s.foreColor = m_p.chartTitleColor;
        m_s.setBold(true);
        m_s.currentX = m_canvas.centre - m_s.textWidth(m_p.chartTitle) / 2;
        m_s.currentY = 0;
        m_s.drawText(m_p.chartTitle);
        m_s.setBold(false);
        m_s.foreColor = m_p.chartSubTitleColor;
        m_s.setFontSize(base - 2);
        m_s.currentX = m_canvas.centre - m_s.textWidth(m_p.chartSubTitle) / 2;
        m_s.drawText(m_p.chartSubTitle);
        m_s.setFontSize(base);
    }

    void valueGrid() {
        m_s.foreColor = m_p.axisItemsYColor;
        const auto low = roundToInt32(m_p.minY);
        const auto high = roundToInt32(m_p.maxY);
        if (!low || !high) {
            return;  // a range beyond 32 bits has no grid
        }
        const auto major = wholeStep(m_p.intersectMajor);
        const auto minor = wholeStep(m_p.intersectMinor);
        // Rows of the control's pixels, whatever the device's own (a scale of 2 has twice as many).
        GridRows rows(int(std::ceil(m_canvas.scaleHeight / m_tppy)));
        std::vector<std::pair<std::int64_t, double>> labels;
        // maxY - v rounds to round(maxY) - v unless maxY ends in exactly a half.
        const bool maxIsHalf = std::fabs(m_p.maxY - std::trunc(m_p.maxY)) == 0.5;
        const auto roundedMax = std::int64_t(roundHalfEven(m_p.maxY));
        for (std::int64_t v = *low; v <= *high; ++v) {
            const double y =
                m_g.axisMode == AxisNegative
                    ? m_g.plotBottom + (std::fabs(double(v)) - std::fabs(m_p.minY)) * m_g.unitHeight
                    : m_g.plotBottom - (double(v) - m_p.minY) * m_g.unitHeight;
            const bool isMajor =
                double(v) == m_p.minY || double(v) == m_p.maxY || (major && v % *major == 0);
            if (isMajor) {
                if (m_p.majorGridOn) {
                    rows.set(m_s.py(y), m_p.majorGridColor);
                }
                labels.emplace_back(v, y);
                continue;
            }
            if (!minor || !m_p.minorGridOn) {
                continue;
            }
            const std::int64_t fromTop =
                maxIsHalf ? std::int64_t(roundHalfEven(m_p.maxY - double(v))) : roundedMax - v;
            if (fromTop % *minor == 0) {
                rows.set(m_s.py(y), m_p.minorGridColor);
            }
        }
        rows.draw(m_s, m_s.px(m_p.marginLeft + 2 * m_tppx), m_s.px(m_g.plotRight));

        // Labels sit left of the lines' start, so drawing them after all lines changes nothing.
        const double base = m_s.fontSize();
        m_s.setFontSize(base - 2);
        const double halfZero = m_s.textHeight(QStringLiteral("0")) / 2;
        // A label that would stand on the one before it is left out; the last (maxY's) takes
        // the place of the one before it instead, so the range's ends stay labelled. A step
        // that does not divide the range put maxY's label over the line's below it.
        std::vector<std::pair<std::int64_t, double>> shown;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            if (!shown.empty() &&
                std::fabs(labels[i].second - shown.back().second) < 2 * halfZero) {
                if (i + 1 == labels.size() && shown.size() > 1) {
                    shown.back() = labels[i];
                }
                continue;
            }
            shown.push_back(labels[i]);
        }
        NumberRun run(m_s.font(), m_s.painter().device());
        for (const auto& [v, y] : shown) {
            const QString text = QString::number(v);
            const double width = run.valid() ? run.width(text) * m_tppx : m_s.textWidth(text);
            m_s.currentX = m_p.marginLeft - width - 5 * m_tppx;
            m_s.currentY = y - halfZero;
            // Printed as a number: a blank for the sign of a positive value and one behind.
            const QString printed = (v >= 0 ? QStringLiteral(" ") : QString()) + text + u' ';
            if (run.valid()) {
                run.add(printed, QPointF(m_s.currentX / m_tppx, m_s.currentY / m_tppy));
            } else {
                m_s.drawText(printed);
            }
        }
        run.draw(m_s.painter(), m_s.textColour(m_s.foreColor));
        m_s.setFontSize(base);
    }

    ColorRef fillColour(int c, int n, bool selected, int colourIndex) const {
        if (selected) {
            return m_p.selectedBarColor;
        }
        if (c == n - 1 && m_p.meanOn) {
            return m_p.meanColor;
        }
        if (m_p.colorBars) {
            return consoleColour(colourIndex);
        }
        return m_p.barColor;
    }

    void columns(int n) {
        const int shape = shapeOf(m_p.chartType);
        const double cw = m_g.columnWidth;
        int colourIndex = 0;
        std::optional<QPointF> previous;
        for (int c = 0; c < n; ++c) {
            const ChartItem& item = *m_model.items()[std::size_t(c)];
            const bool mean = c == n - 1 && m_p.meanOn;
            const double x1 = m_g.slotLeft(c);
            const double x2 = m_g.slotRight(c);
            const ColumnExtent extent = m_g.valueExtent(item.value);
            m_g.extents[std::size_t(c)] = extent;
            const bool selected = c == m_p.selectedColumn && m_p.selectable;
            const ColorRef fill = fillColour(c, n, selected, colourIndex);

            double rightEdge = x2;
            if (shape != 0) {
                const double shapeWidth = m_p.barWidthPercentage * cw / 100.0;
                ColumnShape cs;
                const QRectF rect = m_g.columnRect(c);
                cs.left = x1 + (cw - shapeWidth) / 2;
                cs.right = x2 - (cw - shapeWidth) / 2;
                cs.top = rect.top();
                cs.bottom = rect.bottom();
                cs.valueTop = m_g.valueEndIsTop(item.value);
                cs.selected = selected;
                cs.mean = mean;
                rightEdge = cs.right;
                m_s.drawWidth = m_p.lineWidth;
                m_s.fillStyle = m_p.barFillStyle;
                m_s.fillColor = fill;
                drawShape(shape, cs);
                m_result.selectedDrawn = m_result.selectedDrawn || selected;
                m_s.drawWidth = 1;
                m_s.fillStyle = 1;
            }

            const double ys = m_g.valueEnd(extent, item.value);
            if ((m_p.chartType & Symbol) != 0) {
                symbol(x1, ys, mean);
            }
            if ((m_p.chartType & Line) != 0) {
                const QPointF point(x1 + cw / 2, ys);
                if (c > 0 && !mean && previous) {
                    m_s.drawStyle = m_p.lineStyle;
                    m_s.drawWidth = m_p.lineWidth;
                    m_s.drawLine(previous->x(), previous->y(), point.x(), point.y(), m_p.lineColor);
                    m_s.drawWidth = 1;
                    m_s.drawStyle = 0;
                }
                previous = point;
            }
            if (m_p.axisXOn) {
                itemLabels(item.xAxisDescription, x1, rightEdge);
            }

            ColorRef swatch = fill;
            if (mean) {
                swatch = m_p.meanColor;
            } else if (shape == 0 && (m_p.chartType & Line) != 0) {
                swatch = m_p.lineColor;
            } else if (shape == 0 && (m_p.chartType & Symbol) != 0) {
                swatch = m_p.barSymbolColor;
            }
            m_result.legend.push_back({item.legendDescription, swatch});

            if (m_p.colorBars) {
                colourIndex = (colourIndex + 1) % 15;
            }
        }
    }

    void symbol(double x1, double ys, bool mean) {
        const double base = m_s.fontSize();
        const QString text(m_p.barSymbol);
        // Measured in the size it is printed in, so it sits centred on the value end.
        m_s.setFontSize(base + 2);
        m_s.currentX = x1 + m_g.columnWidth / 2 - m_s.textWidth(text) / 2;
        m_s.currentY = ys - m_s.textHeight(text) / 2;
        m_s.foreColor = mean ? m_p.meanColor : m_p.barSymbolColor;
        m_s.drawText(text);
        m_s.setFontSize(base);
    }

    void itemLabels(const QString& description, double x1, double rightEdge) {
        const double base = m_s.fontSize();
        m_s.foreColor = m_p.axisItemsXColor;
        m_s.setFontSize(base - 1);
        const QStringList lines = description.split(QStringLiteral("\r\n"));
        const qsizetype k = lines.size() - 1;
        const double cx = (x1 + (rightEdge - x1) / 2) / m_tppx;
        const double h = m_s.textHeight(QStringLiteral("A")) / m_tppx;
        double x = cx - double(k) * h / 2;
        // A label wider than its column would run into its neighbour's ("30" into "Avg" in a
        // narrow window): it stands upright under its column instead, from the same place
        // below the axis.
        const double room = m_g.columnWidth / m_tppx - 2;
        for (qsizetype line = k; line >= 0; --line) {
            const double width = m_s.textWidth(lines[line]);
            const double y = (m_g.plotBottom + width / 2) / m_tppy + 5;
            const double angle = width / m_tppx > room ? 90 : 0;
            m_s.drawRotatedText(lines[line], int(std::lround(x)), int(std::lround(y)), angle);
            x += h;
        }
        const int tickX = int(std::lround(cx));
        const int tickTop = m_s.py(m_g.plotBottom) + 1;
        m_s.painter().fillRect(QRect(tickX, tickTop, 1, 2), m_s.lineColour(m_p.majorGridColor));
        m_s.setFontSize(base);
    }

    ColorRef outline(const ColumnShape& cs) const {
        return cs.selected ? m_p.barColor : m_p.selectedBarColor;
    }

    void drawShape(int shape, const ColumnShape& cs) {
        switch (shape) {
            case Bar:
                bar(cs);
                break;
            case Ellipse:
                ellipse(cs);
                break;
            default:
                polygon(shape, cs);
                break;
        }
    }

    void bar(const ColumnShape& cs) {
        double right = cs.right;
        if (m_p.barShadow) {
            right -= 2 * m_tppx;
        }
        if (!m_p.barPicture.isNull() && !cs.mean) {
            m_s.paintPictureArea(cs.left, right, cs.top, cs.bottom, m_p.barPictureTile,
                                 m_p.barPicture);
            if (m_s.fillStyle == 0) {
                m_s.fillStyle = 1;
            }
        }
        m_s.drawBox(cs.left, cs.top, right - m_tppx, cs.bottom, outline(cs));
        if (m_p.barShadow) {
            const double top = cs.valueTop ? cs.top + 2 * m_tppy : cs.top;
            const double bottom = cs.valueTop ? cs.bottom : cs.bottom - 2 * m_tppy;
            m_s.filledBox(right, top, right + m_tppx, bottom, m_p.barShadowColor);
        }
    }

    void ellipse(const ColumnShape& cs) {
        const double cx = (cs.left + cs.right) / 2;
        const double cy = (cs.top + cs.bottom) / 2;
        const double w = cs.right - cs.left;
        const double h = cs.bottom - cs.top;
        if (m_p.barShadow) {
            m_s.solidEllipse(cx, cy, w, h, m_p.barShadowColor);
            m_s.drawEllipse(cx - 2 * m_tppx, cy, w - 2 * m_tppx, h - 2 * m_tppy, outline(cs));
        } else {
            m_s.drawEllipse(cx, cy, w, h, outline(cs));
        }
    }

    void polygon(int shape, const ColumnShape& cs) {
        const int l = m_s.px(cs.left);
        const int r = m_s.px(cs.right);
        const int t = m_s.py(cs.top);
        const int b = m_s.py(cs.bottom);
        const int mx = (l + r) / 2;
        const int my = (t + b) / 2;
        const int valueY = cs.valueTop ? t : b;
        const int zeroY = cs.valueTop ? b : t;
        QPolygon points;
        if (shape == Triangle) {
            points << QPoint(l, zeroY) << QPoint(r, zeroY) << QPoint(mx, valueY);
        } else if (shape == Trapezoid) {
            const int quarter = (r - l) / 4;
            points << QPoint(l, zeroY) << QPoint(r, zeroY) << QPoint(r - quarter, valueY)
                   << QPoint(l + quarter, valueY);
        } else {
            points << QPoint(l, my) << QPoint(mx, t) << QPoint(r, my) << QPoint(mx, b);
        }
        if (m_p.barShadow) {
            // The copy falls to the right; points on the zero line stay on it.
            QPolygon shadow;
            for (const QPoint& pt : points) {
                shadow << QPoint(pt.x() + 2,
                                 pt.y() == zeroY ? pt.y() : pt.y() + (cs.valueTop ? 2 : -2));
            }
            m_s.solidPolygon(shadow, m_p.barShadowColor);
        }
        m_s.drawPolygon(points, outline(cs));
    }

    void axisTitles() {
        const double base = m_s.fontSize();
        if (!m_p.axisLabelX.isEmpty()) {
            m_s.setFontSize(base - 1);
            m_s.currentY = m_canvas.scaleHeight - 1.5 * m_s.textHeight(m_p.axisLabelX);
            m_s.currentX = m_canvas.centre - m_s.textWidth(m_p.axisLabelX) / 2;
            m_s.foreColor = m_p.axisLabelXColor;
            m_s.drawText(m_p.axisLabelX);
            m_s.setFontSize(base);
        }
        if (!m_p.axisLabelY.isEmpty()) {
            m_s.setFontSize(base - 1);
            m_s.foreColor = m_p.axisLabelYColor;
            m_s.drawRotatedText(m_p.axisLabelY,
                                int(std::lround(m_s.textHeight(m_p.axisLabelY) / m_tppx)),
                                int(std::lround(m_canvas.scaleHeight / 2 / m_tppy)), 90);
            m_s.setFontSize(base);
        }
    }

    const ChartModel& m_model;
    const ChartProperties& m_p;
    const ChartCanvas& m_canvas;
    ChartSurface m_s;
    double m_tppx;
    double m_tppy;
    ChartGeometry m_g;
    ChartRedraw m_result;
};

}  // namespace

ChartRedraw ChartPainter::draw(QPainter& painter, const ChartModel& model,
                               const ChartCanvas& canvas) const {
    return Redraw(painter, model, canvas).run();
}

}  // namespace kestrova
