// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tray/gauge_painter.h"

#include <QIconEngine>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace kestrova {

namespace {

// The panel sizes an icon is offered in when a host asks which there are.
const QList<QSize> kOfferedSizes{{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}};

QImage deviceImage(const GaugePainter& gauge, int device, qreal scale) {
    QImage image(std::max(1, device), std::max(1, device), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    gauge.paint(painter, QRectF(0, 0, image.width() / scale, image.height() / scale));
    painter.end();
    return image;
}

class GaugeIconEngine : public QIconEngine {
public:
    explicit GaugeIconEngine(GaugeState state) : m_state(state) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        GaugePainter(m_state).paint(*painter, rect);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1);
    }
    // `size` is in device pixels already.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode, QIcon::State, qreal scale) override {
        return QPixmap::fromImage(
            deviceImage(GaugePainter(m_state), std::min(size.width(), size.height()), scale));
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return kOfferedSizes; }
    QIconEngine* clone() const override { return new GaugeIconEngine(m_state); }
    QString key() const override { return QStringLiteral("kestrova-gauge"); }

private:
    GaugeState m_state;
};

}  // namespace

GaugeState gaugeStateOf(const PanelStatus& status) {
    if (!status.unreadable.isEmpty() || !status.priced) {
        return {};
    }
    return {status.level, status.usedShare()};
}

QColor GaugePainter::rimColour() {
    return QColor(0xF5, 0xF7, 0xF8);
}

QColor GaugePainter::discColour() {
    return QColor(0x26, 0x32, 0x38);
}

QColor GaugePainter::levelColour(GaugeLevel level) {
    switch (level) {
        case GaugeLevel::LastsTheMonth:
        case GaugeLevel::Unlimited:
            return QColor(0x4C, 0xAF, 0x50);
        case GaugeLevel::RunsOut:
            return QColor(0xFF, 0xB3, 0x00);
        case GaugeLevel::RanOut:
            return QColor(0xFF, 0x52, 0x52);
        case GaugeLevel::Unknown:
            break;
    }
    return QColor(0xB0, 0xBE, 0xC5);
}

void GaugePainter::paint(QPainter& painter, const QRectF& rect) const {
    const qreal side = std::min(rect.width(), rect.height());
    if (side <= 0) {
        return;
    }
    const qreal scale = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    // The rim and the gap inside it in whole device pixels: one at 16 px, four at 64 px.
    const qreal devicePixel = 1.0 / scale;
    const qreal rim = std::max(1.0, std::round(side * scale / 16.0)) * devicePixel;
    const qreal gap = rim;
    const QRectF outer(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side);
    const QRectF disc = outer.adjusted(rim, rim, -rim, -rim);
    const QRectF wedge = disc.adjusted(gap, gap, -gap, -gap);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(rimColour());
    painter.drawEllipse(outer);
    painter.setBrush(discColour());
    painter.drawEllipse(disc);

    const QColor colour = levelColour(m_state.level);
    switch (m_state.level) {
        case GaugeLevel::Unknown: {
            // A bar across the middle: nothing measured.
            const qreal height =
                std::max(devicePixel, std::round(side * scale / 8.0) * devicePixel);
            const QRectF bar(wedge.left() + wedge.width() / 6, wedge.center().y() - height / 2,
                             wedge.width() * 2 / 3, height);
            painter.setBrush(colour);
            painter.drawRect(bar);
            break;
        }
        case GaugeLevel::Unlimited: {
            // A ring: the whole circle, nothing used up.
            const qreal width = std::max(devicePixel, std::round(side * scale / 6.0) * devicePixel);
            QPainterPath ring;
            ring.addEllipse(wedge);
            ring.addEllipse(wedge.adjusted(width, width, -width, -width));
            painter.setBrush(colour);
            painter.drawPath(ring);
            break;
        }
        case GaugeLevel::RanOut:
            painter.setBrush(colour);
            painter.drawEllipse(wedge);
            break;
        case GaugeLevel::LastsTheMonth:
        case GaugeLevel::RunsOut: {
            const double share = std::clamp(m_state.usedShare, 0.0, 1.0);
            painter.setBrush(colour);
            if (share >= 1.0) {
                painter.drawEllipse(wedge);
            } else if (share > 0) {
                // Qt's angles are in sixteenths of a degree, counter-clockwise from three
                // o'clock: start at twelve and go clockwise.
                painter.drawPie(wedge, 90 * 16, -int(std::lround(share * 360 * 16)));
            }
            break;
        }
    }
    painter.restore();
}

QImage GaugePainter::image(int size, qreal scale) const {
    return deviceImage(*this, int(std::lround(size * scale)), scale);
}

QIcon gaugeIcon(GaugeState state) {
    return QIcon(new GaugeIconEngine(state));
}

}  // namespace kestrova
