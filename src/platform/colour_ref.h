// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace kestrova {

// A 32-bit colour reference: packed 0x00BBGGRR (red in the low byte), or, with the top bit
// set, a system colour whose number stands in the low bits.
using ColorRef = std::uint32_t;

constexpr ColorRef kSystemColorFlag = 0x80000000u;

constexpr ColorRef RGB(int red, int green, int blue) {
    return ColorRef(red & 0xFF) | (ColorRef(green & 0xFF) << 8) | (ColorRef(blue & 0xFF) << 16);
}

constexpr bool isSystemColor(ColorRef c) {
    return (c & kSystemColorFlag) != 0;
}

// System colours resolve through `palette` (5 window, 8 window text, 15 button face,
// 16 button shadow, 17 grey text, 18 button text, 20 button highlight, 23/24 tooltip text and
// background; other numbers give the window colour). Without a palette, the application's.
QColor toQColor(ColorRef color);
QColor toQColor(ColorRef color, const QPalette& palette);
// Packed form of a colour (alpha dropped).
ColorRef fromQColor(const QColor& color);

// Contrast between two colours as the eye reads it (WCAG's ratio of relative luminances,
// 1 for equal colours to 21 for black on white).
double contrastRatio(const QColor& a, const QColor& b);
// What text needs against its background, and what a line (grid, frame, tick) needs to be seen.
inline constexpr double kTextContrast = 4.5;
inline constexpr double kLineContrast = 1.5;
// `colour` when it reaches `minimumRatio` against `background`; otherwise the colour mixed
// toward black or white (whichever stands out more) just far enough to reach it, or that
// extreme when nothing less does.
QColor withContrast(const QColor& colour, const QColor& background, double minimumRatio);
// Black or white, whichever reads better on `background`.
QColor textColourOn(const QColor& background);
// `fore` as text drawn on `back`. Where either is a system colour it changes with the palette
// (a dark palette's white text on a chart's fixed light background), so text that would not
// read (below kTextContrast) is drawn in black or white, whichever reads better; two fixed
// colours are someone's choice and stay as they are.
QColor readableOn(ColorRef fore, ColorRef back, const QPalette& palette);
// `fore` as a line (grid, frame, tick) drawn on `back`: likewise, but only mixed toward black
// or white as far as kLineContrast needs, so faint lines stay faint.
QColor visibleOn(ColorRef fore, ColorRef back, const QPalette& palette);

}  // namespace kestrova
