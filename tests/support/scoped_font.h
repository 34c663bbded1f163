// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QApplication>
#include <QFont>

namespace kestrova::testing {

// The application font made `scale` times as large, as a desktop's larger text setting gives
// it, for as long as this lives; the font before it comes back afterwards.
class ScopedFontScale {
public:
    explicit ScopedFontScale(double scale) : m_font(QApplication::font()) {
        QFont scaled = m_font;
        scaled.setPointSizeF(m_font.pointSizeF() * scale);
        QApplication::setFont(scaled);
    }
    ~ScopedFontScale() { QApplication::setFont(m_font); }
    ScopedFontScale(const ScopedFontScale&) = delete;
    ScopedFontScale& operator=(const ScopedFontScale&) = delete;

private:
    QFont m_font;
};

}  // namespace kestrova::testing
