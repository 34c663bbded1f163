// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>

class QPainter;

namespace kestrova {

// The program's icon (the same picture as the installed kestrova.svg): rising usage bars
// under a trend line on a teal tile. Drawn, so the window has it without an SVG image plugin.
QIcon programIcon();
// Draws the icon into a square of `side` pixels at the painter's origin.
void drawProgramIcon(QPainter& painter, int side);

}  // namespace kestrova
