// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/colour_ref.h"

#include <QGuiApplication>
#include <cmath>

namespace kestrova {

QColor toQColor(ColorRef color) {
    if (!isSystemColor(color)) {
        return toQColor(color, QPalette());
    }
    return toQColor(color, qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                               ? QGuiApplication::palette()
                               : QPalette());
}

QColor toQColor(ColorRef color, const QPalette& palette) {
    if (!isSystemColor(color)) {
        return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
    }
    // The number is everything below the flag bit: 0x80000105 is no window colour 5.
    switch (color & ~kSystemColorFlag) {
        case 5:
            return palette.color(QPalette::Active, QPalette::Base);
        case 8:
            return palette.color(QPalette::Active, QPalette::Text);
        case 15:
            return palette.color(QPalette::Active, QPalette::Button);
        case 16:
            return palette.color(QPalette::Active, QPalette::Dark);
        case 17:
            return palette.color(QPalette::Disabled, QPalette::Text);
        case 18:
            return palette.color(QPalette::Active, QPalette::ButtonText);
        case 20:
            return palette.color(QPalette::Active, QPalette::Light);
        case 23:
            return palette.color(QPalette::Active, QPalette::ToolTipText);
        case 24:
            return palette.color(QPalette::Active, QPalette::ToolTipBase);
        default:
            return palette.color(QPalette::Active, QPalette::Window);
    }
}

ColorRef fromQColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return RGB(rgb.red(), rgb.green(), rgb.blue());
}

namespace {
double channel(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& colour) {
    const QColor c = colour.toRgb();
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

QColor mixed(const QColor& from, const QColor& to, double t) {
    const QColor a = from.toRgb();
    const QColor b = to.toRgb();
    auto part = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return QColor(part(a.red(), b.red()), part(a.green(), b.green()), part(a.blue(), b.blue()));
}
}  // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor textColourOn(const QColor& background) {
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    return contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
}

QColor withContrast(const QColor& colour, const QColor& background, double minimumRatio) {
    if (contrastRatio(colour, background) >= minimumRatio) {
        return colour;
    }
    const QColor extreme = textColourOn(background);
    // The least mixing that is enough: contrast grows along the way toward the extreme.
    double low = 0;
    double high = 1;
    for (int i = 0; i < 16; ++i) {
        const double middle = (low + high) / 2;
        (contrastRatio(mixed(colour, extreme, middle), background) >= minimumRatio ? high : low) =
            middle;
    }
    return mixed(colour, extreme, high);
}

QColor readableOn(ColorRef fore, ColorRef back, const QPalette& palette) {
    const QColor colour = toQColor(fore, palette);
    if (!isSystemColor(fore) && !isSystemColor(back)) {
        return colour;
    }
    const QColor background = toQColor(back, palette);
    // Small antialiased text hardly ever shows its full colour: a colour just at the limit
    // reads worse than its number, so text that fails goes all the way.
    return contrastRatio(colour, background) >= kTextContrast ? colour : textColourOn(background);
}

QColor visibleOn(ColorRef fore, ColorRef back, const QPalette& palette) {
    const QColor colour = toQColor(fore, palette);
    if (!isSystemColor(fore) && !isSystemColor(back)) {
        return colour;
    }
    return withContrast(colour, toQColor(back, palette), kLineContrast);
}

}  // namespace kestrova
