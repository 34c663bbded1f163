// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The tray item's icon: a gauge of the allowance used. A light rim round a dark disc (the rim
// reads on a dark panel, the disc on a light one), and in it a wedge from twelve o'clock,
// clockwise, for the share used, in the colour of what the forecast says: green "lasts the
// month", amber "runs out about", red "ran out" (a full disc). An unlimited plan shows a green
// ring, a missing check a grey bar. Drawn at the size and scale asked for, so it is crisp at
// every panel size.

#include "tray/panel_status.h"

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QRectF>

class QPainter;

namespace kestrova {

struct GaugeState {
    GaugeLevel level = GaugeLevel::Unknown;
    double usedShare = 0;  // 0 to 1; RanOut draws a full disc whatever it is
};

GaugeState gaugeStateOf(const PanelStatus& status);

class GaugePainter {
public:
    explicit GaugePainter(GaugeState state) : m_state(state) {}

    // Fills the largest circle in `rect` (logical pixels); the rim and the gaps are whole
    // device pixels of the painter's device.
    void paint(QPainter& painter, const QRectF& rect) const;
    // `size` logical pixels square at `scale` device pixels each, transparent around the disc.
    QImage image(int size, qreal scale = 1) const;

    static QColor rimColour();
    static QColor discColour();
    // The wedge's colour (the ring's for Unlimited, the bar's for Unknown).
    static QColor levelColour(GaugeLevel level);

private:
    GaugeState m_state;
};

// An icon that draws the gauge for each size and scale it is asked for.
QIcon gaugeIcon(GaugeState state);

}  // namespace kestrova
