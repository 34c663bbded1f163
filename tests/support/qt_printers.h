// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Readable GoogleTest output for Qt values, and the short ways to write a QString and to read
// and write a file's bytes in a test.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <ostream>

// Line breaks and tabs as escapes, so that a value stays on one line of the output.
inline std::string printable(QString s) {
    s.replace(u'\n', QStringLiteral("\\n"))
        .replace(u'\r', QStringLiteral("\\r"))
        .replace(u'\t', QStringLiteral("\\t"));
    return s.toStdString();
}
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << printable(s) << '"';
}
inline void PrintTo(const QByteArray& b, std::ostream* os) {
    *os << '"' << b.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << '[';
    for (qsizetype i = 0; i < l.size(); ++i) {
        *os << (i ? ", " : "") << '"' << printable(l[i]) << '"';
    }
    *os << ']';
}
inline void PrintTo(const QUrl& url, std::ostream* os) {
    *os << url.toString().toStdString();
}

namespace kestrova::test {

// A QString from a literal of UTF-8 text.
inline QString q(const char* s) {
    return QString::fromUtf8(s);
}

// The file's bytes; empty when it cannot be read.
inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Whether the file now holds exactly `bytes`, whatever it held before.
[[nodiscard]] inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() &&
           f.flush();
}

}  // namespace kestrova::test
