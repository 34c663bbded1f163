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
#include <algorithm>
#include <cstdint>
#include <limits>

namespace kestrova {

namespace {

// The forms the portal writes ("01:02:03", "62:03", "3723"): up to three parts of one to nine
// digits between colons, read without a string per part; a million records would pay for
// those allocations. Nothing for any other text, which the general reading below takes.
std::optional<int> plainSessionSeconds(QStringView text) {
    std::int64_t seconds = 0;
    std::int64_t part = 0;
    int parts = 1;
    int digits = 0;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9') {
            part = part * 10 + (c.unicode() - u'0');
            if (++digits > 9) {
                return std::nullopt;
            }
        } else if (c == u':' && digits > 0 && parts < 3) {
            seconds = seconds * 60 + part;
            part = 0;
            digits = 0;
            ++parts;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    seconds = seconds * 60 + part;
    return seconds > std::numeric_limits<int>::max() ? -1 : int(seconds);
}

}  // namespace

int sessionSeconds(QStringView text) {
    if (const std::optional<int> plain = plainSessionSeconds(text.trimmed())) {
        return *plain;
    }
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

NightSplit nightSplit(QStringView time, QStringView duration) {
    return nightSplit(sessionSeconds(time), sessionSeconds(duration));
}

NightSplit nightSplit(int start, int length) {
    NightSplit split;
    constexpr int hour = 3600;
    // A time of day past the day is no time of day.
    if (start < 0 || start >= 24 * hour || length < 0) {
        return split;
    }
    split.seconds = length;
    if (length == 0) {
        const bool inside =
            (start >= 2 * hour && start < 8 * hour) || (start >= 26 * hour && start < 32 * hour);
        split.kind = inside ? NightSplit::Free : NightSplit::NonFree;
        return split;
    }
    const std::int64_t end = std::int64_t(start) + length;
    auto overlap = [&](int from, int to) {
        return int(
            std::max<std::int64_t>(0, std::min<std::int64_t>(end, to) - std::max(start, from)));
    };
    split.nightSeconds = overlap(2 * hour, 8 * hour) + overlap(26 * hour, 32 * hour);
    split.kind = split.nightSeconds == 0        ? NightSplit::NonFree
                 : split.nightSeconds == length ? NightSplit::Free
                                                : NightSplit::Mixed;
    return split;
}

Megabytes chargedPart(Megabytes total, const NightSplit& split) {
    switch (split.kind) {
        case NightSplit::Free:
            return Megabytes();
        case NightSplit::NonFree:
            return total;
        case NightSplit::Mixed:
            break;
    }
    const auto outside = Int128(split.seconds - split.nightSeconds);
    const Int128 scaled = Int128(total.tenThousandths()) * outside;
    Int128 units = scaled / split.seconds;
    const Int128 rest = scaled % split.seconds;
    // Ties to the even neighbour, as every megabyte figure rounds.
    const Int128 twice = 2 * (rest < 0 ? -rest : rest);
    if (twice > split.seconds || (twice == split.seconds && units % 2 != 0)) {
        units += rest < 0 ? -1 : 1;
    }
    return Megabytes::fromTenThousandths(std::int64_t(units));
}

}  // namespace kestrova
