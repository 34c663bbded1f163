// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/chart_feed.h"
#include "platform/failure.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace kestrova;
using kestrova::test::q;

namespace {

Megabytes mb(const char* text) {
    return Megabytes::fromText(q(text), QLocale::c());
}

std::vector<Megabytes> mbs(std::initializer_list<const char*> texts) {
    std::vector<Megabytes> values;
    for (const char* text : texts) {
        values.push_back(mb(text));
    }
    return values;
}

DailyChart chartOf(QStringList days, std::vector<DailySeries> series) {
    return DailyChart{std::move(days), std::move(series)};
}

TEST(updateGraphControl, OneSeriesDescribesEachColumnInMegabytes) {
    const ChartFeed feed = updateGraphControl(
        chartOf({q("01"), q("02")}, {{q("Usage"), mbs({"12.5", "3"}), mb("7.75")}}),
        q("April 2013"), RGB(0, 0, 255));
    ASSERT_EQ(feed.items.size(), 3u);
    const ChartItem& first = feed.items[0];
    EXPECT_EQ(first.itemId, q("1"));
    EXPECT_EQ(first.selectedDescription, q("1"));
    EXPECT_EQ(first.xAxisDescription, q("01"));
    EXPECT_EQ(first.legendDescription, q("12.50 MB"));
    EXPECT_DOUBLE_EQ(first.value, 12.5);
    EXPECT_EQ(feed.items[1].legendDescription, q("3.00 MB"));
    // The average reads as the text's "Avg" cell does, in default form.
    EXPECT_EQ(feed.items[2].xAxisDescription, q("Avg"));
    EXPECT_EQ(feed.items[2].itemId, q("3"));
    EXPECT_EQ(feed.items[2].legendDescription, q("7.75 MB"));
    EXPECT_DOUBLE_EQ(feed.largestTotal, 12.5);
    EXPECT_EQ(feed.properties.chartTitle, q("ORVO Broadband Usage Chart for April 2013"));
    EXPECT_DOUBLE_EQ(feed.properties.maxY, 20);
}

TEST(updateGraphControl, LaterSeriesGiveTheTotalForm) {
    const ChartFeed two = updateGraphControl(
        chartOf({q("05")},
                {{q("Usage"), mbs({"300"}), mb("150")}, {q("Free"), mbs({"50"}), mb("25")}}),
        {}, 0);
    EXPECT_EQ(two.items[0].legendDescription, q("Total:350 MB (NF:300.00 MB  + F:50.00 MB)"));
    EXPECT_EQ(two.items[1].legendDescription, q("Total:175 MB (NF:150 MB  + F:25 MB)"));
    EXPECT_DOUBLE_EQ(two.items[0].value, 350);
    EXPECT_DOUBLE_EQ(two.largestTotal, 350);
    EXPECT_DOUBLE_EQ(two.properties.maxY, 360);

    // Each item starts its own description; a third series wraps the second's text. Summed
    // exactly, so 0.1 and 0.2 make 0.3.
    const ChartFeed three = updateGraphControl(chartOf({q("1")}, {{q("A"), mbs({"0.1"}), mb("1")},
                                                                  {q("B"), mbs({"0.2"}), mb("2")},
                                                                  {q("C"), mbs({"3"}), mb("3.5")}}),
                                               {}, 0);
    EXPECT_EQ(three.items[0].legendDescription,
              q("Total:3.3 MB (NF:Total:0.3 MB (NF:0.10 MB  + F:0.20 MB)  + F:3.00 MB)"));
    EXPECT_EQ(three.items[1].legendDescription,
              q("Total:6.5 MB (NF:Total:3 MB (NF:1 MB  + F:2 MB)  + F:3.5 MB)"));
}

TEST(updateGraphControl, AReportWithoutDaysFeedsOnlyTheAverage) {
    const ChartFeed feed = updateGraphControl(chartOf({}, {{q("Usage"), {}, mb("0")}}), {}, 0);
    ASSERT_EQ(feed.items.size(), 1u);
    EXPECT_EQ(feed.items[0].xAxisDescription, q("Avg"));
    EXPECT_DOUBLE_EQ(feed.items[0].value, 0);
    EXPECT_DOUBLE_EQ(feed.properties.maxY, 10);
    // Before any report there is nothing to draw, but the chart still gets its properties.
    const ChartFeed none = updateGraphControl(std::nullopt, q("April 2013"), 0);
    EXPECT_TRUE(none.items.empty());
    EXPECT_EQ(none.properties.chartTitle, q("ORVO Broadband Usage Chart for April 2013"));
}

// A series short of the chart's days has its average in the first column it lacks; past it
// the series has no value, which the built-in chart reports rather than draws.
TEST(updateGraphControl, ASeriesThatRunsShortIsAFailureNamingTheColumn) {
    const struct {
        QStringList days;
        const char* missingColumn;  // none: drawn, the average under the first column
    } rows[] = {
        {{}, nullptr},
        {{q("17")}, "Avg"},
        {{q("17"), q("18")}, "18"},
    };
    for (const auto& row : rows) {
        std::vector<Megabytes> usage(std::size_t(row.days.size()), mb("1"));
        const DailyChart chart =
            chartOf(row.days, {{q("Usage"), usage, mb("1")}, {QString(), {}, mb("2")}});
        if (row.missingColumn == nullptr) {
            const ChartFeed feed = updateGraphControl(chart, {}, 0);
            ASSERT_EQ(feed.items.size(), 1u);
            EXPECT_DOUBLE_EQ(feed.items[0].value, 3);
            continue;
        }
        try {
            (void)updateGraphControl(chart, {}, 0);
            ADD_FAILURE() << "drawn with " << row.days.size() << " days";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.description(),
                      q("Subscript out of range: the series \"\" has no value for \"%1\"")
                          .arg(QLatin1StringView(row.missingColumn)));
        }
    }
}

TEST(updateGraphControl, SetsTheBarColoursFromTheChosenColour) {
    const DailyChart chart = chartOf({q("01")}, {{q("Usage"), mbs({"1"}), mb("1")}});
    const ChartFeed feed = updateGraphControl(chart, {}, RGB(255, 128, 0));
    EXPECT_EQ(feed.properties.barColor, RGB(255, 128, 0));
    EXPECT_EQ(feed.properties.selectedBarColor, RGB(225, 98, 30));
    // A system colour has no parts: each reads as -1 and is raised to 29.
    const ChartFeed system = updateGraphControl(chart, {}, 0x80000005u);
    EXPECT_EQ(system.properties.selectedBarColor, RGB(29, 29, 29));
}

TEST(maxY, IsTheNextMultipleOfTenAboveTheLargestTotalPlusTen) {
    const std::pair<double, double> rows[] = {{0, 10},    {345.3, 350}, {349.6, 360}, {349.4, 350},
                                              {4.99, 10}, {355, 360},   {0.4, 10}};
    for (const auto& [largest, expected] : rows) {
        EXPECT_DOUBLE_EQ(maxY(largest), expected) << largest;
    }
}

TEST(changeColor, ShiftsEachPartByThirty) {
    const struct {
        int r, g, b;
        ColorRef expected;
    } rows[] = {
        {0, 200, 10, RGB(30, 170, 40)},
        {31, 30, 20, RGB(1, 60, 50)},
        {255, 255, 255, RGB(225, 225, 225)},
        // Blue between 20 and 30 is raised, never made negative.
        {0, 0, 21, RGB(30, 30, 51)},
        {0, 0, 29, RGB(30, 30, 59)},
        {0, 0, 30, RGB(30, 30, 0)},
        // Parts outside a colour's range are clamped after the shift.
        {400, -100, 300, RGB(255, 0, 255)},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(changeColor(row.r, row.g, row.b), row.expected)
            << row.r << "," << row.g << "," << row.b;
    }
}

}  // namespace
