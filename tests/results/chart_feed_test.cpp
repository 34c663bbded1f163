#include "results/chart_feed.h"
#include "platform/failure.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace kestrova;

namespace {

TEST(UpdateGraphControl, OneSeriesDescribesEachColumnInMegabytes) {
    const ChartFeed feed =
        UpdateGraphControl(QStringLiteral("\t01\t02\tAvg\r\nUsage\t12.50\t3.00\t7.75"),
                           QStringLiteral("April 2013"), RGB(0, 0, 255));
    ASSERT_EQ(feed.items.size(), 3u);
    const ChartItemRecord& first = feed.items[0];
    EXPECT_EQ(first.ItemID, QStringLiteral("1"));
    EXPECT_EQ(first.SelectedDescription, QStringLiteral("1"));
    EXPECT_EQ(first.XAxisDescription, QStringLiteral("01"));
    EXPECT_EQ(first.LegendDescription, QStringLiteral("12.50 MB"));
    EXPECT_DOUBLE_EQ(first.Value, 12.5);
    EXPECT_EQ(feed.items[2].XAxisDescription, QStringLiteral("Avg"));
    EXPECT_EQ(feed.items[2].ItemID, QStringLiteral("3"));
    EXPECT_DOUBLE_EQ(feed.largestTotal, 12.5);
    EXPECT_EQ(feed.properties.ChartTitle,
              QStringLiteral("ORVO Broadband Usage Chart for April 2013"));
    EXPECT_DOUBLE_EQ(feed.properties.MaxY, 20);
}

TEST(UpdateGraphControl, LaterSeriesGiveTheTotalForm) {
    const ChartFeed two = UpdateGraphControl(
        QStringLiteral("\t05\tAvg\r\nUsage\t300.00\t150.00\r\nFree\t50.00\t25.00"), {}, 0);
    EXPECT_EQ(two.items[0].LegendDescription,
              QStringLiteral("Total:350 MB (NF:300.00 MB  + F:50.00 MB)"));
    EXPECT_DOUBLE_EQ(two.items[0].Value, 350);
    EXPECT_DOUBLE_EQ(two.largestTotal, 350);
    EXPECT_DOUBLE_EQ(two.properties.MaxY, 360);

    // Each item starts its own description; a third series wraps the second's text.
    const ChartFeed three =
        UpdateGraphControl(QStringLiteral("\t1\t2\r\nA\t0.10\t1\r\nB\t0.20\t2\r\nC\t3\t3"), {}, 0);
    EXPECT_EQ(three.items[0].LegendDescription,
              QStringLiteral("Total:3.3 MB (NF:Total:0.3 MB (NF:0.10 MB  + F:0.20 MB)  + F:3 MB)"));
    EXPECT_EQ(three.items[1].LegendDescription,
              QStringLiteral("Total:6 MB (NF:Total:3 MB (NF:1 MB  + F:2 MB)  + F:3 MB)"));
}

TEST(UpdateGraphControl, AReportWithoutDaysFeedsOnlyTheAverage) {
    const ChartFeed feed = UpdateGraphControl(QStringLiteral("\tAvg\r\nUsage\t0"), {}, 0);
    ASSERT_EQ(feed.items.size(), 1u);
    EXPECT_DOUBLE_EQ(feed.items[0].Value, 0);
    EXPECT_DOUBLE_EQ(feed.properties.MaxY, 10);
    EXPECT_TRUE(UpdateGraphControl(QString(), {}, 0).items.empty());
}

TEST(UpdateGraphControl, ABadSeriesLineIsAFailure) {
    EXPECT_THROW(UpdateGraphControl(QStringLiteral("\t01\t02\r\nUsage\t1.00"), {}, 0), Failure);
    EXPECT_THROW(UpdateGraphControl(QStringLiteral("\t01\r\nUsage\tmany"), {}, 0), Failure);
}

TEST(UpdateGraphControl, SetsTheBarColoursFromTheChosenColour) {
    const ChartFeed feed =
        UpdateGraphControl(QStringLiteral("\t01\r\nUsage\t1"), {}, RGB(255, 128, 0));
    EXPECT_EQ(feed.properties.BarColor, RGB(255, 128, 0));
    EXPECT_EQ(feed.properties.SelectedBarColor, RGB(225, 98, 30));
    // A system colour has no parts: each reads as -1 and is raised to 29.
    const ChartFeed system =
        UpdateGraphControl(QStringLiteral("\t01\r\nUsage\t1"), {}, 0x80000005u);
    EXPECT_EQ(system.properties.SelectedBarColor, RGB(29, 29, 29));
}

TEST(MaxY, IsTheNextMultipleOfTenAboveTheLargestTotalPlusTen) {
    const std::pair<double, double> rows[] = {{0, 10},    {345.3, 350}, {349.6, 360}, {349.4, 350},
                                              {4.99, 10}, {355, 360},   {0.4, 10}};
    for (const auto& [largest, expected] : rows) {
        EXPECT_DOUBLE_EQ(MaxY(largest), expected) << largest;
    }
}

TEST(GetRGB, GivesThePartsOfAPackedColourAndMinusOneOtherwise) {
    const ColorRef orange = RGB(255, 128, 0);
    const struct {
        std::int64_t color;
        int part;
        int expected;
    } rows[] = {{orange, 1, 255},     {orange, 2, 128}, {orange, 3, 0},     {orange, 0, -1},
                {orange, 4, -1},      {-1, 1, -1},      {0xFFFFFF, 3, 255}, {0x1000000, 1, -1},
                {0x80000005u, 1, -1}, {0, 2, 0}};
    for (const auto& row : rows) {
        EXPECT_EQ(GetRGB(row.color, row.part), row.expected) << row.color << " part " << row.part;
    }
}

TEST(ChangeColor, ShiftsEachPartByThirty) {
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
        EXPECT_EQ(ChangeColor(row.r, row.g, row.b), row.expected)
            << row.r << "," << row.g << "," << row.b;
    }
}

TEST(ParseChartData, SplitsCategoriesAndSeries) {
    const ChartDataTable t = parseChartData(
        QStringLiteral("\t01\t02\tAvg\r\nUsage\t10.00\t2.50\t6.25\r\nFree\t1.00\tx"));
    EXPECT_EQ(t.categories,
              QStringList({QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("Avg")}));
    ASSERT_EQ(t.series.size(), 2u);
    EXPECT_EQ(t.series[0].name, QStringLiteral("Usage"));
    EXPECT_EQ(t.series[0].values, (std::vector<std::optional<double>>{10.0, 2.5, 6.25}));
    EXPECT_EQ(t.series[1].values,
              (std::vector<std::optional<double>>{1.0, std::nullopt, std::nullopt}));
}

}  // namespace
