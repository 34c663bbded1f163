// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <QString>
#include <optional>

namespace kestrova {

// A font object as controls store and hand it over: eight attributes. Bold and weight are
// tied together as in the platform's font object: setting Bold gives weight 700 or 400,
// setting a weight makes Bold follow it (bold from 600 up).
class StdFont {
public:
    StdFont() = default;
    StdFont(const QString& name, double size, bool bold = false);
    // The attributes of a Qt font; the character set is 0 (Qt has none).
    static StdFont fromQFont(const QFont& font);
    QFont toQFont() const;

    const QString& name() const { return m_name; }
    double size() const { return m_size; }
    bool bold() const { return m_weight >= 600; }
    bool italic() const { return m_italic; }
    bool underline() const { return m_underline; }
    bool strikethrough() const { return m_strikethrough; }
    int weight() const { return m_weight; }
    int charset() const { return m_charset; }

    void setName(const QString& name) { m_name = name; }
    void setSize(double size) { m_size = size; }
    void setBold(bool bold) { m_weight = bold ? 700 : 400; }
    void setItalic(bool italic) { m_italic = italic; }
    void setUnderline(bool underline) { m_underline = underline; }
    void setStrikethrough(bool strike) { m_strikethrough = strike; }
    // 1 to 1000; 400 normal, 700 bold.
    void setWeight(int weight) { m_weight = weight; }
    void setCharset(int charset) { m_charset = charset; }

    // Stored text: "name,size,bold,italic,underline,strikethrough,weight,charset"
    // ("Arial,8.25,False,False,False,False,400,0"); the name may itself hold commas.
    QString toText() const;
    // nullopt when the text is not a stored font.
    static std::optional<StdFont> fromText(const QString& text);

    friend bool operator==(const StdFont&, const StdFont&) = default;

private:
    QString m_name = QStringLiteral("MS Sans Serif");
    double m_size = 8.25;
    bool m_italic = false;
    bool m_underline = false;
    bool m_strikethrough = false;
    int m_weight = 400;
    int m_charset = 0;
};

// copyFont: the eight attributes of `from` into `to`, weight last so the source's exact weight
// wins over the bold flag.
void copyFont(const StdFont& from, StdFont& to);

}  // namespace kestrova
