// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <exception>

namespace kestrova {

// A run-time failure of an operation on outside data (a missing element, an unreadable file,
// a cell without a number). The procedures that trap failures catch it at their own boundary
// and show either a fixed message or description().
class Failure : public std::exception {
public:
    explicit Failure(QString description)
        : m_description(std::move(description)), m_utf8(m_description.toUtf8()) {}
    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_description;
    QByteArray m_utf8;
};

// A text from outside in a message: quoted, cut after its first `length` characters, so a
// field of a million digits does not make a line of a megabyte ("123…" (1000000 characters)),
// and with "?" for control characters, so it stays on its line.
inline QString quotedForMessage(QStringView text, qsizetype length = 40) {
    QString shown = text.left(length).toString();
    for (QChar& c : shown) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            c = u'?';
        }
    }
    if (text.size() <= length) {
        return u'"' + shown + u'"';
    }
    return QStringLiteral("\"%1\u2026\" (%2 characters)").arg(shown).arg(text.size());
}

}  // namespace kestrova
