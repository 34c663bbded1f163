// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/megabytes.h"

#include <QDate>
#include <QString>
#include <QStringView>
#include <array>
#include <optional>
#include <span>

namespace kestrova {

// Seconds of a Time or Duration field: "HH:MM:SS", "MM:SS" or a plain number of seconds,
// white space around allowed; -1 when unreadable or too long to count in an int.
int sessionSeconds(QStringView text);

// A session against the free night window of the night-unlimited plans, 02:00 to 08:00 of its
// day and of the next: it starts at its Time and lasts its Duration. All of it inside: free;
// none: nonfree; else mixed. A session of no length is free when it starts inside. A Time or
// Duration that cannot be read makes it nonfree (charged, never lost).
struct NightSplit {
    enum Kind { Free, Mixed, NonFree };
    Kind kind = NonFree;
    int seconds = 0;       // the session's length
    int nightSeconds = 0;  // the part of it inside the window
};
NightSplit nightSplit(QStringView time, QStringView duration);
// What a night-unlimited plan charges of a record's total: nothing when free, all when
// nonfree, the share of its duration outside the window when mixed (to the ten-thousandth,
// ties to even).
Megabytes chargedPart(Megabytes total, const NightSplit& split);

// One usage record as a usage log line or a row of the portal's usage table gives it: the six
// fields (Date, Time, Duration, Download (MB), Upload (MB), Total (MB)) as they stand, which
// the cache file and the page keep, and what the report computes with, read once.
struct UsageRecord {
    std::array<QString, 6> fields;
    // The day of a record whose Date field begins "YYYY-MM-DD" (blanks around allowed) with a
    // day of the calendar; invalid for any other row (a title line), which is never summed.
    QDate day;
    int startSeconds = -1;     // the Time field; -1 when unreadable
    int durationSeconds = -1;  // the Duration field; -1 when unreadable
    // The Total (MB) field when it is a figure the portal writes.
    std::optional<Megabytes> total;

    // Fields beyond six are not read; missing ones are empty.
    static UsageRecord fromFields(std::span<const QStringView> fields);

    bool isUsage() const { return day.isValid(); }
    // The record as the cache file and the page's listing hold it.
    QString rowText() const;
};

}  // namespace kestrova
