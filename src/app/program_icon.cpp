// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kestrova {

// Coordinates are those of the SVG's 64 x 64 view box.
void drawProgramIcon(QPainter& painter, int side) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / 64.0, side / 64.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x0e, 0x6e, 0x7e));
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    painter.setBrush(Qt::white);
    const double heights[] = {12, 20, 28, 36};
    for (int i = 0; i < 4; ++i) {
        painter.drawRoundedRect(QRectF(11 + 11 * i, 52 - heights[i], 9, heights[i]), 1.5, 1.5);
    }
    QPainterPath trend;
    trend.moveTo(15.5, 34);
    trend.lineTo(26.5, 26);
    trend.lineTo(37.5, 18);
    trend.lineTo(48.5, 10);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0xf5, 0xa6, 0x23), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(trend);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xf5, 0xa6, 0x23));
    painter.drawEllipse(QPointF(48.5, 10), 3.5, 3.5);
    painter.restore();
}

QIcon programIcon() {
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        drawProgramIcon(painter, side);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace kestrova
