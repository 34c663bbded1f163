// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/usage_record.h"

#include "platform/number_format.h"
#include "retrieval/report_page.h"
#include "retrieval/row_text.h"
#include "retrieval/usage_log.h"

#include <QLocale>
#include <QStringList>
#include <cstdint>
#include <limits>

namespace kestrova {

int sessionSeconds(QStringView text) {
    const QStringList parts = text.trimmed().toString().split(u':');
    if (parts.isEmpty() || parts.size() > 3) {
        return -1;
    }
    std::int64_t seconds = 0;
    for (const QString& p : parts) {
        bool ok = false;
        const int v = p.toInt(&ok);
        if (!ok || v < 0) {
            return -1;
        }
        seconds = seconds * 60 + v;
        if (seconds > std::numeric_limits<int>::max()) {
            return -1;
        }
    }
    return int(seconds);
}

UsageRecord UsageRecord::fromFields(std::span<const QStringView> fields) {
    UsageRecord record;
    for (std::size_t i = 0; i < record.fields.size() && i < fields.size(); ++i) {
        record.fields[i] = fields[i].toString();
    }
    record.day = recordDayOf(record.fields[0]).value_or(QDate());
    record.startSeconds = sessionSeconds(record.fields[1]);
    record.durationSeconds = sessionSeconds(record.fields[2]);
    if (isPortalFigure(record.fields[5])) {
        // Digits and at most one point: read the same in every locale.
        record.total = Megabytes::fromText(trimmedCellSpace(record.fields[5]), QLocale::c());
    }
    return record;
}

QString UsageRecord::rowText() const {
    const std::array<QStringView, 6> views{fields[0], fields[1], fields[2],
                                           fields[3], fields[4], fields[5]};
    return toRowText(views);
}

}  // namespace kestrova
