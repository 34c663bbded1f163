// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The usage generator: the records the portal serves and the tests expect must be exact,
// stable and shaped like the provider's log.

#include "usage_data.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace kestrova::portal {
namespace {

using namespace std::chrono;

Date ymd(int y, unsigned m, unsigned d) {
    return Date{year(y), month(m), day(d)};
}

struct MegabytesRow {
    const char* name;
    std::int64_t units;
    const char* text;
};

void PrintTo(const MegabytesRow& row, std::ostream* out) {
    *out << row.name;
}

class MegabytesText : public ::testing::TestWithParam<MegabytesRow> {};

TEST_P(MegabytesText, WritesUpToFourDecimalsWithoutTrailingZeros) {
    EXPECT_EQ(megabytesText(GetParam().units), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MegabytesText,
    ::testing::Values(MegabytesRow{"Zero", 0, "0"}, MegabytesRow{"WholeMegabyte", 10000, "1"},
                      MegabytesRow{"FourDecimals", 12345, "1.2345"},
                      MegabytesRow{"TrailingZerosDropped", 15000, "1.5"},
                      MegabytesRow{"SmallestUnitKeepsLeadingZeros", 1, "0.0001"},
                      MegabytesRow{"LeadingZeroInFraction", 10500, "1.05"},
                      MegabytesRow{"Negative", -5000, "-0.5"},
                      MegabytesRow{"Large", 123456789012, "12345678.9012"}),
    [](const auto& p) { return std::string(p.param.name); });

struct DateRow {
    const char* name;
    const char* text;
    bool valid;
};

void PrintTo(const DateRow& row, std::ostream* out) {
    *out << row.name;
}

class IsoDate : public ::testing::TestWithParam<DateRow> {};

TEST_P(IsoDate, AcceptsOnlyRealCalendarDates) {
    const std::optional<Date> date = parseIsoDate(GetParam().text);
    EXPECT_EQ(date.has_value(), GetParam().valid);
    if (date) {
        EXPECT_EQ(isoDate(*date), GetParam().text);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, IsoDate,
                         ::testing::Values(DateRow{"Ordinary", "2013-04-17", true},
                                           DateRow{"LeapDay", "2012-02-29", true},
                                           DateRow{"NoLeapDay", "2013-02-29", false},
                                           DateRow{"MonthThirteen", "2013-13-01", false},
                                           DateRow{"DayZero", "2013-04-00", false},
                                           DateRow{"ShortMonth", "2013-4-17", false},
                                           DateRow{"WrongSeparator", "2013/04/17", false},
                                           DateRow{"Letters", "20x3-04-17", false},
                                           DateRow{"TrailingText", "2013-04-170", false},
                                           DateRow{"Empty", "", false}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(UsageRecord, FieldsAreInTheLogsFormats) {
    UsageRecord r;
    r.date = ymd(2013, 4, 7);
    r.start = seconds(1 * 3600 + 2 * 60 + 3);
    r.duration = seconds(10 * 3600 + 5);
    r.download = 1234567;
    r.upload = 3;
    EXPECT_EQ(r.fields(), (std::array<std::string, 6>{"2013-04-07", "01:02:03", "10:00:05",
                                                      "123.4567", "0.0003", "123.457"}));
    EXPECT_EQ(r.logLine(), "2013-04-07,01:02:03,10:00:05,123.4567,0.0003,123.457");
    EXPECT_EQ(r.tableStartText(), "07-04-2013 01:02:03");
}

TEST(UsageLog, HeaderThenOneCrLfLinePerRecordInTheGivenOrder) {
    const auto records = usageRecords("demo", ymd(2013, 4, 1), ymd(2013, 4, 3));
    ASSERT_FALSE(records.empty());
    std::string expected = std::string(kLogHeader) + "\r\n";
    for (const auto& r : records) {
        expected += r.logLine() + "\r\n";
    }
    EXPECT_EQ(usageLog(records), expected);
    EXPECT_EQ(usageLog({}), std::string(kLogHeader) + "\r\n");
}

// Invariants over many users and months: what the report and the bill rely on.
class GeneratedMonth : public ::testing::TestWithParam<std::tuple<const char*, int>> {};

TEST_P(GeneratedMonth, RecordsAreWellFormedNewestFirstAndAddUpExactly) {
    const auto [user, monthNumber] = GetParam();
    const Date first = ymd(2013, unsigned(monthNumber), 1);
    const Date last = Date(first.year() / first.month() / std::chrono::last);
    const auto records = usageRecords(user, first, last);
    ASSERT_GT(records.size(), 20u) << "a month should have plenty of sessions";

    const std::regex date(R"(\d{4}-\d{2}-\d{2})");
    const std::regex clock(R"(\d{2}:\d{2}:\d{2})");
    const std::regex megabytes(R"(\d+(\.\d{1,4})?)");
    for (std::size_t i = 0; i < records.size(); ++i) {
        const UsageRecord& r = records[i];
        SCOPED_TRACE(r.logLine());
        const auto f = r.fields();
        EXPECT_TRUE(std::regex_match(f[0], date));
        EXPECT_TRUE(std::regex_match(f[1], clock));
        EXPECT_TRUE(std::regex_match(f[2], clock));
        for (int m = 3; m < 6; ++m) {
            EXPECT_TRUE(std::regex_match(f[std::size_t(m)], megabytes));
            EXPECT_EQ(f[std::size_t(m)].find(','), std::string::npos);
        }
        EXPECT_EQ(r.total(), r.download + r.upload);
        EXPECT_GT(r.download, 0);
        EXPECT_LT(r.download, 20000 * 10000LL) << "no session moves 20 GB";
        EXPECT_LE(r.start + r.duration, seconds(24 * 3600 - 1)) << "sessions end in their day";
        if (i > 0) {
            const UsageRecord& newer = records[i - 1];
            EXPECT_TRUE(sys_days(newer.date) > sys_days(r.date) ||
                        (newer.date == r.date && newer.start >= r.start + r.duration))
                << "newest first, and one session at a time";
        }
    }
}

TEST_P(GeneratedMonth, SomeSessionsCrossTheNightEdges) {
    const auto [user, monthNumber] = GetParam();
    const Date first = ymd(2013, unsigned(monthNumber), 1);
    const auto records = usageRecords(user, first, Date(first.year() / first.month() / 28));
    auto crosses = [&](int hour) {
        return std::count_if(records.begin(), records.end(), [&](const UsageRecord& r) {
            return r.start < hours(hour) && r.start + r.duration > hours(hour);
        });
    };
    EXPECT_GE(crosses(2), 2);
    EXPECT_GE(crosses(8), 2);
}

INSTANTIATE_TEST_SUITE_P(Users, GeneratedMonth,
                         ::testing::Combine(::testing::Values("demo", "alice", "bob1977"),
                                            ::testing::Values(1, 2, 4, 12)));

TEST(UsageRecords, APeriodIsTheRecordsOfItsDaysWhateverPeriodAsksForThem) {
    const auto month = usageRecords("demo", ymd(2013, 4, 1), ymd(2013, 4, 30));
    auto first = usageRecords("demo", ymd(2013, 4, 16), ymd(2013, 4, 30));
    const auto second = usageRecords("demo", ymd(2013, 4, 1), ymd(2013, 4, 15));
    first.insert(first.end(), second.begin(), second.end());
    EXPECT_EQ(month, first);

    const auto day = dayRecords("demo", ymd(2013, 4, 9));
    const auto single = usageRecords("demo", ymd(2013, 4, 9), ymd(2013, 4, 9));
    EXPECT_EQ(single, std::vector<UsageRecord>(day.rbegin(), day.rend()));
}

TEST(UsageRecords, SameUserAndPeriodGiveTheSameRecordsOtherUsersOthers) {
    const Date from = ymd(2013, 3, 1);
    const Date to = ymd(2013, 3, 31);
    EXPECT_EQ(usageRecords("demo", from, to), usageRecords("demo", from, to));
    EXPECT_NE(usageRecords("demo", from, to), usageRecords("Demo", from, to));
    EXPECT_NE(usageRecords("demo", from, to), usageRecords("alice", from, to));
}

TEST(UsageRecords, SomeDaysHaveNoSessions) {
    int empty = 0;
    for (sys_days d = sys_days(ymd(2013, 1, 1)); d <= sys_days(ymd(2013, 12, 31)); d += days(1)) {
        empty += dayRecords("demo", Date(d)).empty() ? 1 : 0;
    }
    EXPECT_GT(empty, 3);
    EXPECT_LT(empty, 80);
}

TEST(UsageRecords, NoRecordsForAReversedOrImpossiblePeriod) {
    EXPECT_TRUE(usageRecords("demo", ymd(2013, 4, 2), ymd(2013, 4, 1)).empty());
    EXPECT_TRUE(usageRecords("demo", ymd(2013, 2, 30), ymd(2013, 3, 1)).empty());
    EXPECT_TRUE(dayRecords("demo", ymd(2013, 2, 30)).empty());
}

}  // namespace
}  // namespace kestrova::portal
