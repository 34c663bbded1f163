// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The light and dark palettes the windows are checked under (modelled on a desktop's usual
// light and dark colour schemes), and a measure of how well painted text stands out.

#include "platform/colour_ref.h"

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <algorithm>

namespace kestrova::testing {

inline QPalette schemePalette(bool dark) {
    struct Role {
        QPalette::ColorRole role;
        QRgb light;
        QRgb dark;
    };
    const Role roles[] = {
        {QPalette::Window, 0xeff0f1, 0x31363b},
        {QPalette::WindowText, 0x232629, 0xeff0f1},
        {QPalette::Base, 0xfcfcfc, 0x232629},
        {QPalette::AlternateBase, 0xeff0f1, 0x31363b},
        {QPalette::Text, 0x232629, 0xeff0f1},
        {QPalette::Button, 0xeff0f1, 0x31363b},
        {QPalette::ButtonText, 0x232629, 0xeff0f1},
        {QPalette::BrightText, 0xffffff, 0xffffff},
        {QPalette::Light, 0xffffff, 0x474d54},
        {QPalette::Midlight, 0xf7f7f7, 0x3a4045},
        {QPalette::Dark, 0x888e93, 0x161819},
        {QPalette::Mid, 0xc4c9cd, 0x24282b},
        {QPalette::Shadow, 0x474a4c, 0x0f1011},
        {QPalette::Highlight, 0x3daee9, 0x3daee9},
        {QPalette::HighlightedText, 0xfcfcfc, 0xfcfcfc},
        {QPalette::ToolTipBase, 0xf7f7f7, 0x31363b},
        {QPalette::ToolTipText, 0x232629, 0xeff0f1},
        {QPalette::PlaceholderText, 0x7f8c8d, 0x8a8f94},
        {QPalette::Link, 0x2980b9, 0x1d99f3},
        {QPalette::LinkVisited, 0x7f8c8d, 0x9b59b6},
    };
    QPalette p;
    for (const Role& r : roles) {
        p.setColor(r.role, QColor::fromRgb(dark ? r.dark : r.light));
    }
    const QColor disabled = dark ? QColor(0x6e, 0x71, 0x75) : QColor(0xa0, 0xa2, 0xa2);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Disabled, role, disabled);
    }
    return p;
}

inline QPalette lightPalette() {
    return schemePalette(false);
}
inline QPalette darkPalette() {
    return schemePalette(true);
}

// The greatest contrast any pixel inside `area` has against `background`: for a text drawn
// there, its ink's contrast (antialiased edges only lower it); 1 where nothing was drawn.
inline double strongestContrast(const QImage& image, const QRect& area, const QColor& background) {
    double best = 1;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            best = std::max(best, contrastRatio(QColor::fromRgb(image.pixel(x, y)), background));
        }
    }
    return best;
}

}  // namespace kestrova::testing
