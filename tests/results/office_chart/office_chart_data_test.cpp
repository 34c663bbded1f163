// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The office chart's reading of chart data texts and the placing of its texts around the
// columns, without a screen.

#include "results/office_chart_data.h"
#include "results/office_chart/chart_labels.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <charconv>
#include <string>

namespace kestrova {
namespace {

// The series as "Name: v1 v2; Name: ..." with each value in its shortest exact form.
std::string seriesText(const OfficeChartData& data) {
    std::string out;
    for (const OfficeChartSeries& series : data.series) {
        out += (out.empty() ? "" : "; ") + series.name.toStdString() + ":";
        for (const double v : series.values) {
            char digits[32];
            *std::to_chars(digits, digits + sizeof digits, v).ptr = '\0';
            out += std::string(" ") + digits;
        }
    }
    return out;
}

struct DataTextRow {
    const char* name;
    const char* text;
    const char* categories;  // "|" between them
    const char* series;      // as seriesText writes them
};

void PrintTo(const DataTextRow& row, std::ostream* os) {
    *os << row.name;
}

class OfficeChartDataText : public ::testing::TestWithParam<DataTextRow> {};

TEST_P(OfficeChartDataText, GivesCategoriesAndSeries) {
    const DataTextRow& row = GetParam();
    const OfficeChartData data = officeChartData(QString::fromLatin1(row.text));
    EXPECT_EQ(data.categories, QString::fromLatin1(row.categories).split(u'|', Qt::SkipEmptyParts));
    EXPECT_EQ(seriesText(data), row.series);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, OfficeChartDataText,
    ::testing::Values(
        DataTextRow{"MonthWithAverageColumn", "\t01\t02\tAvg\r\nUsage\t10.50\t2.25\t6.375",
                    "01|02|Avg", "Usage: 10.5 2.25 6.375"},
        DataTextRow{"TwoSeriesInTheirLineOrder",
                    "\t01\t02\r\nUsage\t1.00\t2.00\r\nFree\t0.50\t0.00", "01|02",
                    "Usage: 1 2; Free: 0.5 0"},
        DataTextRow{"CellWithoutNumberDrawsAsZero", "\t01\t02\r\nUsage\tabc\t3.00", "01|02",
                    "Usage: 0 3"},
        DataTextRow{"MissingCellsDrawAsZero", "\t01\t02\tAvg\r\nUsage\t1.00", "01|02|Avg",
                    "Usage: 1 0 0"},
        DataTextRow{"ValueBeyondDoubleDrawsAsZero", "\t01\r\nUsage\t1e999", "01", "Usage: 0"},
        DataTextRow{"TrailingLineBreakIsNoSeries", "\t01\r\nUsage\t1.00\r\n", "01", "Usage: 1"},
        DataTextRow{"CellsBeyondTheHeaderAreIgnored", "\t01\r\nUsage\t1.00\t9.00", "01",
                    "Usage: 1"},
        DataTextRow{"NegativeValueKept", "\t01\r\nUsage\t-5.00", "01", "Usage: -5"},
        // The reader never fails: a tiny value draws as the zero it reads as, a grouped value
        // beyond an exact decimal as its nearest double.
        DataTextRow{"TinyValueDrawsAsZero", "\t01\t02\r\nUsage\t1e-40\t2", "01|02", "Usage: 0 2"},
        DataTextRow{"GroupedValueBeyondADecimalDrawsAsItsDouble",
                    "\t01\r\nUsage\t1,000,000,000,000,000,000,000,000,000,000,000,000,000", "01",
                    "Usage: 1e+39"}),
    [](const auto& row) { return std::string(row.param.name); });

// A plot of 320 x 200 pixels for the values 0 to 100, with four categories of 80 pixels and
// columns of 40; every character 8 pixels wide and 10 high.
ColumnFrame frame(double minValue = 0, double maxValue = 100) {
    ColumnFrame f;
    f.plotArea = QRectF(0, 0, 320, 200);
    f.minValue = minValue;
    f.maxValue = maxValue;
    f.barWidth = 0.5;
    return f;
}

QSizeF eightByTen(const QString& text) {
    return QSizeF(8.0 * double(text.size()), 10);
}

OfficeChartData columns(std::vector<std::vector<double>> seriesValues) {
    OfficeChartData data;
    data.categories = {QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03"),
                       QStringLiteral("04")};
    for (auto& values : seriesValues) {
        values.resize(4, 0.0);
        data.series.push_back({QStringLiteral("S%1").arg(data.series.size()), values});
    }
    return data;
}

TEST(OfficeChartValueLabels, UprightInTheMiddleOfTheirStackedParts) {
    const auto labels = placeValueLabels(columns({{40}, {20}}), frame(), eightByTen);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].text, QStringLiteral("40.00"));
    EXPECT_EQ(labels[0].angle, 0);
    EXPECT_TRUE(labels[0].shown);
    EXPECT_EQ(labels[0].centre, QPointF(40, 160));  // part 0..40: y 200..120
    EXPECT_EQ(labels[1].text, QStringLiteral("20.00"));
    EXPECT_EQ(labels[1].centre, QPointF(40, 100));  // part 40..60: y 120..80
}

TEST(OfficeChartValueLabels, AllTurnUpwardsWhenOneIsWiderThanAColumn) {
    const auto labels = placeValueLabels(columns({{40, 1234.5}}), frame(0, 2000), eightByTen);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].angle, -90);
    EXPECT_EQ(labels[1].angle, -90);
    EXPECT_EQ(labels[1].text, QStringLiteral("1234.50"));
    // Turned, the 56 pixels of text run along the column: 1234.5 is 123 pixels high.
    EXPECT_TRUE(labels[1].shown);
    EXPECT_EQ(labels[1].centre.x(), 120);
}

TEST(OfficeChartValueLabels, ShortTopPartIsLabelledAboveItsColumn) {
    const auto labels = placeValueLabels(columns({{60}, {2}}), frame(), eightByTen);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_TRUE(labels[1].shown);
    // The column ends at y 76; the label's 10 pixels end 2 above it.
    EXPECT_EQ(labels[1].centre, QPointF(40, 69));
}

TEST(OfficeChartValueLabels, ShortPartBelowAnotherIsNotShown) {
    const auto labels = placeValueLabels(columns({{2}, {60}}), frame(), eightByTen);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_FALSE(labels[0].shown);
    EXPECT_TRUE(labels[1].shown);
}

TEST(OfficeChartValueLabels, ShortTopPartWithoutRoomUnderThePlotTopIsNotShown) {
    const auto labels = placeValueLabels(columns({{98}, {1.5}}), frame(), eightByTen);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_FALSE(labels[1].shown);
}

TEST(OfficeChartValueLabels, ZeroHasNoLabelAndNegativePartsHangBelowZero) {
    const auto labels = placeValueLabels(columns({{0, -20}}), frame(-50, 50), eightByTen);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].category, 1);
    EXPECT_EQ(labels[0].text, QStringLiteral("-20.00"));
    EXPECT_EQ(labels[0].centre, QPointF(120, 120));  // part 0..-20: y 100..140
}

TEST(OfficeChartValueLabels, UseTheLocalesDecimalSeparator) {
    const auto labels =
        placeValueLabels(columns({{12.5}}), frame(), eightByTen, QLocale(QLocale::German));
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].text, QStringLiteral("12,50"));
}

TEST(OfficeChartValueLabels, NoneWithoutCategoriesOrPlot) {
    EXPECT_TRUE(placeValueLabels(OfficeChartData{}, frame(), eightByTen).empty());
    ColumnFrame unlaid = frame();
    unlaid.plotArea = QRectF();
    EXPECT_TRUE(placeValueLabels(columns({{5}}), unlaid, eightByTen).empty());
}

TEST(OfficeChartCategoryLabels, UprightUnderTheirColumnsWhenEachFits) {
    const CategoryLabels placed =
        placeCategoryLabels({QStringLiteral("01"), QStringLiteral("Avg")}, frame(), eightByTen);
    ASSERT_EQ(placed.labels.size(), 2u);
    EXPECT_EQ(placed.labels[0].angle, 0);
    EXPECT_EQ(placed.labels[0].centre, QPointF(80, 211));  // 6 under the plot, 10 high
    EXPECT_EQ(placed.labels[1].centre, QPointF(240, 211));
    EXPECT_EQ(placed.depth, 16);
}

TEST(OfficeChartCategoryLabels, UprightOnlyWithRoomBetweenNeighbours) {
    // Four categories of 80 pixels; the labels are 8 pixels a character and 10 high.
    const struct {
        const char* label;
        bool upright;
    } rows[] = {
        {"012345678", true},    // 72 and 2.5 spare: fits
        {"0123456789", false},  // 80: would touch the next label
    };
    for (const auto& row : rows) {
        const QString text = QString::fromLatin1(row.label);
        const CategoryLabels placed =
            placeCategoryLabels({text, text, text, text}, frame(), eightByTen);
        ASSERT_EQ(placed.labels.size(), 4u);
        EXPECT_EQ(placed.labels[0].angle == 0, row.upright) << row.label;
    }
}

TEST(OfficeChartCategoryLabels, AllTurnUpwardsWhenOneIsWiderThanItsCategory) {
    const CategoryLabels placed =
        placeCategoryLabels({QStringLiteral("01"), QStringLiteral("01234567890"),
                             QStringLiteral("03"), QStringLiteral("04")},
                            frame(), eightByTen);
    ASSERT_EQ(placed.labels.size(), 4u);
    EXPECT_EQ(placed.labels[0].angle, -90);
    // Turned, each reads upwards from the gap under the plot to its own length.
    EXPECT_EQ(placed.labels[0].centre, QPointF(40, 214));
    EXPECT_EQ(placed.labels[1].centre, QPointF(120, 250));
    EXPECT_EQ(placed.depth, 94);
}

}  // namespace
}  // namespace kestrova
