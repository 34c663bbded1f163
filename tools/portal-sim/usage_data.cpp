// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usage_data.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace kestrova::portal {

namespace {

using namespace std::chrono;

constexpr std::int64_t kMinute = 60;
constexpr std::int64_t kHour = 60 * kMinute;
constexpr std::int64_t kDaySeconds = 24 * kHour;

// A fixed generator (not std::uniform_int_distribution, whose results differ between standard
// libraries): the same user and day give the same sessions on every machine.
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in [low, high].
    std::int64_t between(std::int64_t low, std::int64_t high) {
        return low + std::int64_t(next() % std::uint64_t(high - low + 1));
    }
    bool chance(int percent) { return between(0, 99) < percent; }

private:
    std::uint64_t m_state;
};

std::uint64_t fnv1a(std::string_view text) {
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    for (unsigned char c : text) {
        hash = (hash ^ c) * 0x100000001B3ULL;
    }
    return hash;
}

std::string twoDigits(long value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%02ld", value);
    return buffer;
}

std::string clockText(std::int64_t seconds) {
    return twoDigits(long(seconds / 3600)) + ':' + twoDigits(long(seconds / 60 % 60)) + ':' +
           twoDigits(long(seconds % 60));
}

struct Session {
    std::int64_t start = 0;
    std::int64_t length = 0;
};

// Megabytes of one session: mostly browsing rates, now and then a large transfer, and short
// sessions that move next to nothing.
std::int64_t downloadFor(SplitMix64& random, std::int64_t length) {
    const std::int64_t minutes = std::max<std::int64_t>(1, length / 60);
    if (length < 5 * kMinute && random.chance(50)) {
        return random.between(1, 900);  // under a tenth of a megabyte
    }
    std::int64_t perMinute = random.between(300, 25000);  // 0.03 to 2.5 MB a minute
    if (random.chance(15)) {
        perMinute = random.between(40000, 120000);  // a download of 4 to 12 MB a minute
    }
    return minutes * perMinute + random.between(0, 9999);
}

std::int64_t uploadFor(SplitMix64& random, std::int64_t download) {
    return download * random.between(3, 15) / 100 + random.between(0, 2000);
}

}  // namespace

std::string megabytesText(std::int64_t tenThousandths) {
    const bool negative = tenThousandths < 0;
    const std::uint64_t units =
        negative ? 0 - std::uint64_t(tenThousandths) : std::uint64_t(tenThousandths);
    std::string text = (negative ? "-" : "") + std::to_string(units / 10000);
    std::uint64_t fraction = units % 10000;
    if (fraction != 0) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%04u", unsigned(fraction));
        std::string decimals = digits;
        decimals.erase(decimals.find_last_not_of('0') + 1);
        text += '.' + decimals;
    }
    return text;
}

std::string UsageRecord::dateText() const {
    return isoDate(date);
}
std::string UsageRecord::timeText() const {
    return clockText(start.count());
}
std::string UsageRecord::durationText() const {
    return clockText(duration.count());
}
std::string UsageRecord::downloadText() const {
    return megabytesText(download);
}
std::string UsageRecord::uploadText() const {
    return megabytesText(upload);
}
std::string UsageRecord::totalText() const {
    return megabytesText(total());
}

std::string UsageRecord::tableStartText() const {
    return twoDigits(long(unsigned(date.day()))) + '-' + twoDigits(long(unsigned(date.month()))) +
           '-' + std::to_string(int(date.year())) + ' ' + timeText();
}

std::array<std::string, 6> UsageRecord::fields() const {
    return {dateText(), timeText(), durationText(), downloadText(), uploadText(), totalText()};
}

std::string UsageRecord::logLine() const {
    const auto all = fields();
    std::string line = all[0];
    for (std::size_t i = 1; i < all.size(); ++i) {
        line += ',' + all[i];
    }
    return line;
}

std::vector<UsageRecord> dayRecords(std::string_view userId, Date day, int sessionsPerDay) {
    if (!day.ok()) {
        return {};
    }
    const std::int64_t dayNumber = sys_days(day).time_since_epoch().count();
    SplitMix64 random(fnv1a(userId) ^ (std::uint64_t(dayNumber) * 0xD1B54A32D192ED03ULL));

    static constexpr int kCountPercent[] = {6, 14, 22, 24, 18, 10, 6};  // 0 to 6 sessions
    int roll = int(random.between(0, 99));
    int count = 0;
    while (roll >= kCountPercent[count]) {
        roll -= kCountPercent[count];
        ++count;
    }

    std::vector<Session> sessions;
    if (sessionsPerDay > 0) {
        // Evenly spread, each within its own share of the day, so none is dropped.
        const std::int64_t share = kDaySeconds / sessionsPerDay;
        std::vector<UsageRecord> records;
        for (int i = 0; i < sessionsPerDay; ++i) {
            const std::int64_t start = i * share + random.between(0, share / 4);
            const std::int64_t length = random.between(std::min<std::int64_t>(30, share / 2),
                                                       std::max<std::int64_t>(1, share / 2));
            UsageRecord record;
            record.date = day;
            record.start = seconds(start);
            record.duration = seconds(std::min(length, kDaySeconds - 1 - start));
            record.download = downloadFor(random, length);
            record.upload = uploadFor(random, record.download);
            records.push_back(record);
        }
        return records;
    }
    // Night plans count the hours from 02:00 to 08:00; sessions across either edge are the
    // ones the report has to split, so some days have one of each.
    if (count > 0 && random.chance(40)) {
        const std::int64_t start = random.between(60 * kMinute, 115 * kMinute);
        sessions.push_back({start, 2 * kHour - start + random.between(5 * kMinute, 150 * kMinute)});
    }
    if (count > int(sessions.size()) && random.chance(40)) {
        const std::int64_t start = random.between(405 * kMinute, 475 * kMinute);
        sessions.push_back({start, 8 * kHour - start + random.between(5 * kMinute, 120 * kMinute)});
    }
    while (int(sessions.size()) < count) {
        const std::int64_t length =
            random.chance(20) ? random.between(30, 300) : random.between(300, 3 * kHour);
        sessions.push_back({random.between(0, kDaySeconds - 120), length});
    }
    std::sort(sessions.begin(), sessions.end(),
              [](const Session& a, const Session& b) { return a.start < b.start; });

    // One line cannot carry two sessions at once: a session that would overlap the one
    // before it starts a little after that one ends, and one that no longer fits in its day
    // is dropped.
    std::vector<UsageRecord> records;
    std::int64_t freeFrom = 0;
    for (Session s : sessions) {
        if (s.start < freeFrom) {
            s.start = freeFrom + random.between(60, 900);
        }
        if (s.start >= kDaySeconds - 60) {
            continue;
        }
        s.length = std::min(s.length, kDaySeconds - 1 - s.start);
        freeFrom = s.start + s.length;
        UsageRecord record;
        record.date = day;
        record.start = seconds(s.start);
        record.duration = seconds(s.length);
        record.download = downloadFor(random, s.length);
        record.upload = uploadFor(random, record.download);
        records.push_back(record);
    }
    return records;
}

std::vector<UsageRecord> usageRecords(std::string_view userId, Date from, Date to,
                                      int sessionsPerDay) {
    std::vector<UsageRecord> records;
    if (!from.ok() || !to.ok() || sys_days(from) > sys_days(to)) {
        return records;
    }
    for (auto day = sys_days(to); day >= sys_days(from); day -= days(1)) {
        std::vector<UsageRecord> ofDay = dayRecords(userId, Date(day), sessionsPerDay);
        records.insert(records.end(), ofDay.rbegin(), ofDay.rend());
    }
    return records;
}

std::string usageLog(const std::vector<UsageRecord>& records) {
    std::string log(kLogHeader);
    log += "\r\n";
    for (const UsageRecord& record : records) {
        log += record.logLine();
        log += "\r\n";
    }
    return log;
}

std::optional<Date> parseIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    int parts[3] = {0, 0, 0};
    const std::size_t starts[3] = {0, 5, 8};
    const std::size_t lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p) {
        for (std::size_t i = starts[p]; i < starts[p] + lengths[p]; ++i) {
            if (text[i] < '0' || text[i] > '9') {
                return std::nullopt;
            }
            parts[p] = parts[p] * 10 + (text[i] - '0');
        }
    }
    const Date date{year(parts[0]), month(unsigned(parts[1])), day(unsigned(parts[2]))};
    if (!date.ok()) {
        return std::nullopt;
    }
    return date;
}

std::string isoDate(Date date) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", int(date.year()), unsigned(date.month()),
                  unsigned(date.day()));
    return buffer;
}

Date localToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Date{year(local.tm_year + 1900), month(unsigned(local.tm_mon + 1)),
                day(unsigned(local.tm_mday))};
}

}  // namespace kestrova::portal
