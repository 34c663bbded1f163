// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/std_font.h"

#include "controls/stored_properties.h"

#include <QStringList>
#include <algorithm>

namespace kestrova {

StdFont::StdFont(const QString& name, double size, bool bold) : m_name(name), m_size(size) {
    setBold(bold);
}

StdFont StdFont::fromQFont(const QFont& font) {
    StdFont f;
    f.m_name = font.family();
    f.m_size = font.pointSizeF() > 0 ? font.pointSizeF() : 8.25;
    f.m_italic = font.italic();
    f.m_underline = font.underline();
    f.m_strikethrough = font.strikeOut();
    f.m_weight = int(font.weight());
    return f;
}

QFont StdFont::toQFont() const {
    QFont font(m_name);
    if (m_size > 0) {
        font.setPointSizeF(m_size);
    }
    font.setWeight(QFont::Weight(std::clamp(m_weight, 1, 1000)));
    font.setItalic(m_italic);
    font.setUnderline(m_underline);
    font.setStrikeOut(m_strikethrough);
    return font;
}

QString StdFont::toText() const {
    const QStringList parts{m_name,
                            storedNumberText(m_size),
                            storedBoolText(bold()),
                            storedBoolText(m_italic),
                            storedBoolText(m_underline),
                            storedBoolText(m_strikethrough),
                            QString::number(m_weight),
                            QString::number(m_charset)};
    return parts.join(u',');
}

std::optional<StdFont> StdFont::fromText(const QString& text) {
    QStringList parts = text.split(u',');
    if (parts.size() < 8) {
        return std::nullopt;
    }
    // The name is everything before the last seven fields.
    const QStringList tail = parts.mid(parts.size() - 7);
    parts.resize(parts.size() - 7);
    const QString name = parts.join(u',').trimmed();
    const auto size = storedNumber(tail[0]);
    const auto bold = storedBool(tail[1]);
    const auto italic = storedBool(tail[2]);
    const auto underline = storedBool(tail[3]);
    const auto strike = storedBool(tail[4]);
    const auto weight = storedInteger(tail[5]);
    const auto charset = storedInteger(tail[6]);
    if (name.isEmpty() || !size || !bold || !italic || !underline || !strike || !weight ||
        !charset) {
        return std::nullopt;
    }
    StdFont f;
    f.setBold(*bold);
    f.setCharset(int(*charset));
    f.setItalic(*italic);
    f.setName(name);
    f.setSize(*size);
    f.setStrikethrough(*strike);
    f.setUnderline(*underline);
    f.setWeight(int(*weight));
    return f;
}

void copyFont(const StdFont& from, StdFont& to) {
    to.setBold(from.bold());
    to.setCharset(from.charset());
    to.setItalic(from.italic());
    to.setName(from.name());
    to.setSize(from.size());
    to.setStrikethrough(from.strikethrough());
    to.setUnderline(from.underline());
    to.setWeight(from.weight());
}

}  // namespace kestrova
