#pragma once

// Readable failure messages for the Qt types the results tests compare.

#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{';
    for (const QString& text : list) {
        *os << "\n  \"" << text.toStdString() << '"';
    }
    *os << "\n}";
}
