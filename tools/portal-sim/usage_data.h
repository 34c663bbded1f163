// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The simulated portal's usage data: sessions generated deterministically from the user id and
// the day, so the server, the tests and the demo all compute the same records for a period
// without talking to each other.
//
// Each day's sessions depend only on the user id and that day: the records of a period are the
// records of its days, whatever period they are asked for with.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova::portal {

using Date = std::chrono::year_month_day;

// The first line of a downloaded usage log.
inline constexpr std::string_view kLogHeader =
    "Date,Time,Duration,Download (MB),Upload (MB),Total (MB)";

// One session as the portal lists it.
struct UsageRecord {
    Date date;                         // the day the session started
    std::chrono::seconds start{0};     // session start, seconds after midnight
    std::chrono::seconds duration{0};  // never past the end of its day
    std::int64_t download = 0;         // ten-thousandths of a megabyte
    std::int64_t upload = 0;           // ten-thousandths of a megabyte

    std::int64_t total() const { return download + upload; }

    std::string dateText() const;      // "2013-04-17"
    std::string timeText() const;      // "10:20:05"
    std::string durationText() const;  // "01:02:03"
    std::string downloadText() const;  // "245.1234", "12.5", "3"
    std::string uploadText() const;
    std::string totalText() const;
    // The session start as the portal's usage table shows it: "17-04-2013 10:20:05".
    std::string tableStartText() const;

    // Date, Time, Duration, Download (MB), Upload (MB), Total (MB).
    std::array<std::string, 6> fields() const;
    // The fields joined by "," (no line end).
    std::string logLine() const;

    friend bool operator==(const UsageRecord&, const UsageRecord&) = default;
};

// Ten-thousandths of a megabyte as decimal text with "." and up to four decimals, no trailing
// zeros ("12.5", "0.0012", "3").
std::string megabytesText(std::int64_t tenThousandths);

// The sessions of one day, oldest first. Some days have none. `sessionsPerDay` > 0: exactly
// that many, spread over the day (a heavy user's month, for benchmarks).
std::vector<UsageRecord> dayRecords(std::string_view userId, Date day, int sessionsPerDay = 0);

// The sessions from `from` to `to` (both included), newest first, as the portal lists them.
// Empty when `from` is after `to` or either date is not a real date.
std::vector<UsageRecord> usageRecords(std::string_view userId, Date from, Date to,
                                      int sessionsPerDay = 0);

// The comma-separated usage log: the header line, then one line per record in the given order,
// every line ended by CR LF.
std::string usageLog(const std::vector<UsageRecord>& records);

// "YYYY-MM-DD" with a real calendar date; nothing otherwise.
std::optional<Date> parseIsoDate(std::string_view text);
std::string isoDate(Date date);

// The local calendar date now.
Date localToday();

}  // namespace kestrova::portal
