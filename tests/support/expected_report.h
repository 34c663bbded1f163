// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a grab of the simulated portal's records should give: their records text.

#include "retrieval/row_text.h"
#include "usage_data.h"

#include <QStringList>

namespace kestrova::testing {

inline portal::Date day(int y, unsigned m, unsigned d) {
    return portal::Date{std::chrono::year(y), std::chrono::month(m), std::chrono::day(d)};
}

// The records text a grab of the log of these records holds (the log lists them newest
// first; each record read goes in front; the log's CR stays with the last field).
inline QString recordsText(const std::vector<portal::UsageRecord>& newestFirst) {
    QString text;
    for (auto it = newestFirst.rbegin(); it != newestFirst.rend(); ++it) {
        QStringList fields;
        for (const std::string& f : it->fields()) {
            fields << QString::fromStdString(f);
        }
        fields.last() += u'\r';
        text += toRowText(fields);
    }
    return text;
}

}  // namespace kestrova::testing
