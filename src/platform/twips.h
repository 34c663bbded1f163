// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Twips (1/1440 inch), the unit that stored forms, settings and layout rules keep, and their
// conversion to the pixels that widgets work in.

#include <QRect>

namespace kestrova {

// A control's place and size in twips, relative to its parent.
struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const TwipRect&, const TwipRect&) = default;
};

// Twips per pixel from the primary screen's logical resolution: 15 at 96 dpi, and 15 when
// there is no screen at all.
double twipsPerPixelX();
double twipsPerPixelY();

// A length converted at a given number of twips per pixel, rounded to the nearest whole unit
// (halves away from zero).
int twipsToPixels(double twips, double twipsPerPixel);
int pixelsToTwips(double pixels, double twipsPerPixel);

// The same at the primary screen's resolution, across (X) and down (Y).
inline int pixelsX(double twips) {
    return twipsToPixels(twips, twipsPerPixelX());
}
inline int pixelsY(double twips) {
    return twipsToPixels(twips, twipsPerPixelY());
}
inline int twipsX(double pixels) {
    return pixelsToTwips(pixels, twipsPerPixelX());
}
inline int twipsY(double pixels) {
    return pixelsToTwips(pixels, twipsPerPixelY());
}

// A rectangle in twips as pixels on the primary screen, each edge measure rounded on its own.
QRect pixelRect(const TwipRect& r);

// The largest window place or size that a stored setting may hold, in twips either way of 0:
// a million pixels at 15 twips a pixel, beyond any screen, and far from where a rectangle's
// edges leave the int range.
inline constexpr double kWindowMeasureLimitTwips = 15'000'000;
bool isWindowMeasure(double twips);

// A window's stored place and size (twips) in pixels on the primary screen: measures beyond
// the limit are kept to it and sizes to 0 or more, so whatever a settings file holds makes a
// rectangle (which fitting onto a screen then brings into view).
QRect storedWindowPlace(double left, double top, double width, double height);

}  // namespace kestrova
