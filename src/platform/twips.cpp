// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace kestrova {

namespace {
double fromDpi(double dpi) {
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

QScreen* screen() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return nullptr;
    }
    return QGuiApplication::primaryScreen();
}
}  // namespace

double twipsPerPixelX() {
    QScreen* s = screen();
    return s ? fromDpi(s->logicalDotsPerInchX()) : 15.0;
}

double twipsPerPixelY() {
    QScreen* s = screen();
    return s ? fromDpi(s->logicalDotsPerInchY()) : 15.0;
}

int twipsToPixels(double twips, double twipsPerPixel) {
    return int(std::lround(twips / twipsPerPixel));
}

int pixelsToTwips(double pixels, double twipsPerPixel) {
    return int(std::lround(pixels * twipsPerPixel));
}

QRect pixelRect(const TwipRect& r) {
    const double tx = twipsPerPixelX();
    const double ty = twipsPerPixelY();
    return QRect(twipsToPixels(r.left, tx), twipsToPixels(r.top, ty), twipsToPixels(r.width, tx),
                 twipsToPixels(r.height, ty));
}

bool isWindowMeasure(double twips) {
    return std::isfinite(twips) && std::fabs(twips) <= kWindowMeasureLimitTwips;
}

QRect storedWindowPlace(double left, double top, double width, double height) {
    const auto kept = [](double twips, double lowest) {
        if (std::isnan(twips)) {
            return 0.0;
        }
        return std::clamp(twips, lowest, kWindowMeasureLimitTwips);
    };
    return QRect(pixelsX(kept(left, -kWindowMeasureLimitTwips)),
                 pixelsY(kept(top, -kWindowMeasureLimitTwips)), pixelsX(kept(width, 0)),
                 pixelsY(kept(height, 0)));
}

}  // namespace kestrova
