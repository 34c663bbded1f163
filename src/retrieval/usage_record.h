// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/megabytes.h"

#include <QString>
#include <QStringView>

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
// The same for a session starting `start` seconds into its day and lasting `length` (-1: the
// field could not be read).
NightSplit nightSplit(int start, int length);
// What a night-unlimited plan charges of a record's total: nothing when free, all when
// nonfree, the share of its duration outside the window when mixed (to the ten-thousandth,
// ties to even).
Megabytes chargedPart(Megabytes total, const NightSplit& split);

}  // namespace kestrova
