// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// tray-gallery: a picture of the tray item's gauge in each of its states, at the panel sizes
// 16, 22, 32 and 64 pixels and at twice the scale, on a light and on a dark panel, for looking
// at it (scripts/tray-pictures puts it in docs/).
//
//     tray-gallery OUT.png [SCALE]

#include "tray/gauge_painter.h"

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2) {
        std::fputs("usage: tray-gallery OUT.png [SCALE]\n", stderr);
        return 2;
    }
    const qreal scale = arguments.size() > 2 ? arguments.at(2).toDouble() : 1.0;
    using kestrova::GaugeLevel;
    const struct {
        const char* caption;
        kestrova::GaugeState state;
    } rows[] = {
        {"Lasts the month (40 %)", {GaugeLevel::LastsTheMonth, 0.4}},
        {"Runs out about ... (70 %)", {GaugeLevel::RunsOut, 0.7}},
        {"Ran out", {GaugeLevel::RanOut, 1}},
        {"Unlimited plan", {GaugeLevel::Unlimited, 0}},
        {"No check yet", {GaugeLevel::Unknown, 0}},
    };
    const int sizes[] = {16, 22, 32, 64};
    const int captionWidth = 190;
    const int cell = 76;
    const int rowHeight = 76;
    const QColor panels[] = {QColor(0xef, 0xf0, 0xf1), QColor(0x31, 0x36, 0x3b)};
    const int width = captionWidth + 2 * 4 * cell;
    const int height = 28 + 5 * rowHeight;

    QImage sheet(QSize(width, height) * scale, QImage::Format_ARGB32_Premultiplied);
    sheet.setDevicePixelRatio(scale);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    QFont font = p.font();
    font.setPixelSize(13);
    p.setFont(font);
    for (int panel = 0; panel < 2; ++panel) {
        const QRect area(captionWidth + panel * 4 * cell, 0, 4 * cell, height);
        p.fillRect(area, panels[panel]);
        p.setPen(panel == 0 ? QColor(0x23, 0x26, 0x29) : QColor(0xef, 0xf0, 0xf1));
        for (int i = 0; i < 4; ++i) {
            p.drawText(QRect(area.left() + i * cell, 4, cell, 20), Qt::AlignCenter,
                       QStringLiteral("%1 px").arg(sizes[i]));
        }
    }
    for (int r = 0; r < 5; ++r) {
        const int top = 28 + r * rowHeight;
        p.setPen(Qt::black);
        p.drawText(QRect(8, top, captionWidth - 12, rowHeight), Qt::AlignVCenter | Qt::AlignLeft,
                   QString::fromLatin1(rows[r].caption));
        for (int panel = 0; panel < 2; ++panel) {
            for (int i = 0; i < 4; ++i) {
                const int side = sizes[i];
                const QRectF place(captionWidth + panel * 4 * cell + i * cell + (cell - side) / 2.0,
                                   top + (rowHeight - side) / 2.0, side, side);
                // The icon as a panel asks for it: drawn for this size at this scale.
                const QPixmap icon =
                    kestrova::gaugeIcon(rows[r].state).pixmap(QSize(side, side), scale);
                p.drawPixmap(place.topLeft(), icon);
            }
        }
    }
    p.end();
    return sheet.save(arguments.at(1)) ? 0 : 1;
}
