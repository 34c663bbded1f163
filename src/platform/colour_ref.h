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

constexpr bool isSystemColor(ColorRef c) { return (c & kSystemColorFlag) != 0; }

// System colours resolve through `palette` (5 window, 8 window text, 15 button face,
// 16 button shadow, 17 grey text, 18 button text, 20 button highlight, 23/24 tooltip text and
// background; other numbers give the window colour). Without a palette, the application's.
QColor toQColor(ColorRef color);
QColor toQColor(ColorRef color, const QPalette& palette);
// Packed form of a colour (alpha dropped).
ColorRef fromQColor(const QColor& color);

}  // namespace kestrova
