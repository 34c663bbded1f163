// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The night rule of the night-unlimited plans: a record's Time and Duration against the free
// window (02:00 to 08:00 of the day and of the next), and the part of its total a plan charges.
// The input: eight bytes of the total (ten-thousandths of a MB), then the Time, a line feed and
// the Duration. The split stays within the session and the window, and the charged part
// within the total.

#include "fuzz_support.h"

#include "platform/megabytes.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace kestrova;
using namespace kestrova::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) {
        return 0;
    }
    std::int64_t units = 0;
    std::memcpy(&units, data, 8);
    const QString text =
        QString::fromLatin1(reinterpret_cast<const char*>(data) + 8, qsizetype(size - 8));
    const qsizetype feed = text.indexOf(u'\n');
    const QString time = feed < 0 ? text : text.left(feed);
    const QString duration = feed < 0 ? QString() : text.mid(feed + 1);

    const NightSplit split = nightSplit(time, duration);
    check(split.seconds >= 0 && split.nightSeconds >= 0 && split.nightSeconds <= split.seconds,
          "the night part lies outside the session");
    check(split.nightSeconds <= 12 * 3600, "more night than the two windows hold");
    switch (split.kind) {
        case NightSplit::Free:
            check(split.nightSeconds == split.seconds, "a free session partly outside the window");
            break;
        case NightSplit::Mixed:
            check(split.nightSeconds > 0 && split.nightSeconds < split.seconds,
                  "a mixed session wholly inside or outside the window");
            break;
        case NightSplit::NonFree:
            check(split.nightSeconds == 0, "a nonfree session with night in it");
            break;
    }

    const Megabytes total = Megabytes::fromTenThousandths(units);
    const std::int64_t charged = chargedPart(total, split).tenThousandths();
    if (split.kind == NightSplit::Free) {
        check(charged == 0, "a free session charged");
    } else if (split.kind == NightSplit::NonFree) {
        check(charged == units, "a nonfree session not charged whole");
    } else {
        check(units >= 0 ? (charged >= 0 && charged <= units) : (charged <= 0 && charged >= units),
              "a mixed session charged beyond its total");
        // The charged share follows the total: twice the total, twice the charge (to a unit).
        if (units > INT64_MIN / 2 && units < INT64_MAX / 2) {
            const std::int64_t twice =
                chargedPart(Megabytes::fromTenThousandths(units * 2), split).tenThousandths();
            check(twice - 2 * charged >= -1 && twice - 2 * charged <= 1,
                  "the charged share does not follow the total");
        }
    }
    return 0;
}
