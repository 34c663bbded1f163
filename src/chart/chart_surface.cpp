// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "chart/chart_surface.h"

#include "chart/chart_geometry.h"

#include <QFontMetrics>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace kestrova {

Qt::BrushStyle fillStyleBrush(int fillStyle) {
    switch (fillStyle) {
        case 0:
            return Qt::SolidPattern;
        case 2:
            return Qt::HorPattern;
        case 3:
            return Qt::VerPattern;
        case 4:
            return Qt::BDiagPattern;
        case 5:
            return Qt::FDiagPattern;
        case 6:
            return Qt::CrossPattern;
        case 7:
            return Qt::DiagCrossPattern;
        default:
            return Qt::NoBrush;
    }
}

Qt::PenStyle drawStylePen(int drawStyle, int drawWidth) {
    if (drawStyle == 5) {
        return Qt::NoPen;
    }
    if (drawWidth > 1) {
        return Qt::SolidLine;
    }
    switch (drawStyle) {
        case 1:
            return Qt::DashLine;
        case 2:
            return Qt::DotLine;
        case 3:
            return Qt::DashDotLine;
        case 4:
            return Qt::DashDotDotLine;
        default:
            return Qt::SolidLine;
    }
}

namespace {
// The raster engine strokes even one-pixel lines through its general path; a solid line along
// an axis is a filled rectangle, and that is many times faster (the value grid draws hundreds).
void solidBand(QPainter& painter, QPoint a, QPoint b, int width, const QColor& colour) {
    const int before = (width - 1) / 2;
    const int after = width / 2;
    const QRect r = QRect(a, b).normalized();
    painter.fillRect(r.adjusted(-before, -before, after, after), colour);
}
}  // namespace

QPoint rotatePoint(QPoint centre, QPoint point, double angle) {
    constexpr double pi = 3.14159265358979;
    const double a = angle * pi / 180.0;
    const double dx = point.x() - centre.x();
    const double dy = point.y() - centre.y();
    return QPoint(int(roundHalfEven(centre.x() + dy * std::sin(a) + dx * std::cos(a))),
                  int(roundHalfEven(centre.y() - (dx * std::sin(a) - dy * std::cos(a)))));
}

namespace {
// A value far outside minY..maxY lands far outside the picture; keep its pixels where an int
// and the raster engine's clipping still work.
constexpr double kFarOutside = 1.0e6;
double onCanvas(double pixels) {
    return std::isfinite(pixels) ? std::clamp(pixels, -kFarOutside, kFarOutside) : -kFarOutside;
}
}  // namespace

ChartSurface::ChartSurface(QPainter& painter, double tppx, double tppy, const QFont& font,
                           const QPalette& palette)
    : m_painter(painter),
      m_tppx(tppx),
      m_tppy(tppy),
      m_font(font),
      m_metrics(font, painter.device()),
      m_palette(palette) {
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_painter.setFont(m_font);
}

void ChartSurface::fontChanged() {
    const std::pair<double, bool> key(m_font.pointSizeF(), m_font.bold());
    auto found = m_metricsCache.find(key);
    if (found == m_metricsCache.end()) {
        found = m_metricsCache.emplace(key, QFontMetricsF(m_font, m_painter.device())).first;
    }
    m_metrics = found->second;
    m_painter.setFont(m_font);
}

void ChartSurface::setFontSize(double points) {
    m_font.setPointSizeF(std::max(1.0, points));
    fontChanged();
}

void ChartSurface::setBold(bool bold) {
    m_font.setBold(bold);
    fontChanged();
}

double ChartSurface::textWidth(const QString& text) const {
    double widest = 0;
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        widest = std::max(widest, m_metrics.horizontalAdvance(line));
    }
    return widest * m_tppx;
}

double ChartSurface::textHeight(const QString& text) const {
    return double(text.count(QStringLiteral("\r\n")) + 1) * m_metrics.height() * m_tppy;
}

void ChartSurface::drawText(const QString& text, bool endLine) {
    m_painter.setPen(textColour(foreColor));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        m_painter.drawText(
            QPointF(onCanvas(currentX / m_tppx), onCanvas(currentY / m_tppy) + m_metrics.ascent()),
            lines[i]);
        if (i + 1 < lines.size() || endLine) {
            currentX = 0;
            currentY += m_metrics.height() * m_tppy;
        } else {
            currentX += m_metrics.horizontalAdvance(lines[i]) * m_tppx;
        }
    }
}

int ChartSurface::px(double twipsX) const {
    return int(std::floor(onCanvas(twipsX / m_tppx) + 0.5));
}
int ChartSurface::py(double twipsY) const {
    return int(std::floor(onCanvas(twipsY / m_tppy) + 0.5));
}

QPen ChartSurface::pen(ColorRef c) const {
    QPen p(colour(c));
    p.setWidth(std::max(1, drawWidth));
    p.setStyle(drawStylePen(drawStyle, drawWidth));
    return p;
}

QBrush ChartSurface::brush() const {
    return QBrush(colour(fillColor), fillStyleBrush(fillStyle));
}

QColor ChartSurface::textColour(ColorRef c) const {
    return readableOn(c, m_back, m_palette);
}

QColor ChartSurface::lineColour(ColorRef c) const {
    return visibleOn(c, m_back, m_palette);
}

void ChartSurface::clear(ColorRef back) {
    m_back = back;
    m_painter.fillRect(QRect(0, 0, m_painter.device()->width(), m_painter.device()->height()),
                       colour(back));
    currentX = 0;
    currentY = 0;
}

void ChartSurface::drawLine(double x1, double y1, double x2, double y2, ColorRef c) {
    const QPen p = pen(c);
    currentX = x2;
    currentY = y2;
    if (p.style() == Qt::NoPen) {
        return;
    }
    const QPoint a(px(x1), py(y1));
    const QPoint b(px(x2), py(y2));
    if (p.style() == Qt::SolidLine && (a.x() == b.x() || a.y() == b.y())) {
        solidBand(m_painter, a, b, p.width(), p.color());
        return;
    }
    m_painter.setPen(p);
    m_painter.drawLine(a, b);
}

void ChartSurface::drawBox(double x1, double y1, double x2, double y2, ColorRef outline,
                           bool onBackground) {
    const QRect r = QRect(QPoint(px(x1), py(y1)), QPoint(px(x2), py(y2))).normalized();
    const QBrush b = brush();
    if (b.style() != Qt::NoBrush) {
        m_painter.fillRect(r, b);
    }
    QPen p = pen(outline);
    if (onBackground) {
        p.setColor(lineColour(outline));
    }
    if (p.style() == Qt::SolidLine) {
        const int w = p.width();
        solidBand(m_painter, r.topLeft(), r.topRight(), w, p.color());
        solidBand(m_painter, r.bottomLeft(), r.bottomRight(), w, p.color());
        solidBand(m_painter, r.topLeft(), r.bottomLeft(), w, p.color());
        solidBand(m_painter, r.topRight(), r.bottomRight(), w, p.color());
    } else if (p.style() != Qt::NoPen) {
        m_painter.setPen(p);
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(r.x(), r.y(), r.width() - 1, r.height() - 1);
    }
}

void ChartSurface::filledBox(double x1, double y1, double x2, double y2, ColorRef c) {
    m_painter.fillRect(QRect(QPoint(px(x1), py(y1)), QPoint(px(x2), py(y2))).normalized(),
                       colour(c));
}

void ChartSurface::drawEllipse(double cx, double cy, double width, double height,
                               ColorRef outline) {
    const QRect r(QPoint(px(cx - width / 2), py(cy - height / 2)),
                  QPoint(px(cx + width / 2), py(cy + height / 2)));
    const QPen p = pen(outline);
    m_painter.setPen(p);
    m_painter.setBrush(brush());
    m_painter.drawEllipse(r.normalized().adjusted(0, 0, -1, -1));
    m_painter.setBrush(Qt::NoBrush);
}

void ChartSurface::solidEllipse(double cx, double cy, double width, double height, ColorRef c) {
    const QRect r(QPoint(px(cx - width / 2), py(cy - height / 2)),
                  QPoint(px(cx + width / 2), py(cy + height / 2)));
    m_painter.setPen(colour(c));
    m_painter.setBrush(colour(c));
    m_painter.drawEllipse(r.normalized().adjusted(0, 0, -1, -1));
    m_painter.setBrush(Qt::NoBrush);
}

void ChartSurface::drawPolygon(const QPolygon& pixels, ColorRef outline) {
    m_painter.setPen(pen(outline));
    m_painter.setBrush(brush());
    m_painter.drawPolygon(pixels);
    m_painter.setBrush(Qt::NoBrush);
}

void ChartSurface::solidPolygon(const QPolygon& pixels, ColorRef c) {
    m_painter.setPen(colour(c));
    m_painter.setBrush(colour(c));
    m_painter.drawPolygon(pixels);
    m_painter.setBrush(Qt::NoBrush);
}

void ChartSurface::paintPictureArea(double left, double right, double top, double bottom, bool tile,
                                    const QImage& picture) {
    if (picture.isNull()) {
        return;
    }
    const QRect target =
        QRect(QPoint(px(left), py(top)), QPoint(px(right), py(bottom))).normalized();
    if (!tile) {
        m_painter.drawImage(target, picture);
        return;
    }
    // A tile keeps the picture's own physical size, shown at the screen's resolution.
    QSize size = picture.size();
    if (picture.dotsPerMeterX() > 0 && picture.dotsPerMeterY() > 0) {
        const double screenDpmX = 1440.0 / m_tppx / 0.0254;
        const double screenDpmY = 1440.0 / m_tppy / 0.0254;
        size = QSize(
            std::max(1, int(std::lround(picture.width() * screenDpmX / picture.dotsPerMeterX()))),
            std::max(1, int(std::lround(picture.height() * screenDpmY / picture.dotsPerMeterY()))));
    }
    const QImage tileImage = size == picture.size() ? picture
                                                    : picture.scaled(size, Qt::IgnoreAspectRatio,
                                                                     Qt::SmoothTransformation);
    m_painter.save();
    m_painter.setClipRect(target);
    m_painter.setBrushOrigin(target.topLeft());
    m_painter.fillRect(target, QBrush(tileImage));
    m_painter.restore();
}

bool ChartSurface::drawRotatedText(const QString& text, int x, int y, double angle) {
    if (!m_painter.isActive()) {
        return false;
    }
    const int w = int(std::ceil(m_metrics.horizontalAdvance(text)));
    const int h = int(std::ceil(m_metrics.height()));
    const QPoint start = rotatePoint(
        QPoint(x, y), QPoint(int(roundHalfEven(x - w / 2.0)), int(roundHalfEven(y - h / 2.0))),
        angle);
    m_painter.save();
    m_painter.translate(start);
    m_painter.rotate(-angle);
    m_painter.setPen(textColour(foreColor));
    m_painter.drawText(QPointF(0, m_metrics.ascent()), text);
    m_painter.restore();
    return true;
}

}  // namespace kestrova
