// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "chart/data_format.h"

#include <gtest/gtest.h>

using namespace kestrova;

namespace {

struct FormatRow {
    const char* name;
    double value;
    const char* picture;
    const char* expected;
};

std::ostream& operator<<(std::ostream& os, const FormatRow& row) {
    return os << row.name;
}

class dataFormat : public ::testing::TestWithParam<FormatRow> {};

TEST_P(dataFormat, ShowsTheValueThroughThePicture) {
    const FormatRow& r = GetParam();
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(formatChartValue(r.value, QString::fromUtf8(r.picture), english),
              QString::fromUtf8(r.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Chart, dataFormat,
    ::testing::Values(
        FormatRow{"EmptyIsGeneralNumber", 12.5, "", "12.5"},
        FormatRow{"GeneralNumberByName", 0.1, "General Number", "0.1"},
        FormatRow{"TwoDecimals", 12.5, "0.00", "12.50"},
        FormatRow{"HalfRoundsAwayOnTheDecimalValue", 2.675, "0.00", "2.68"},
        FormatRow{"Grouping", 1234567.891, "#,##0.00", "1,234,567.89"},
        FormatRow{"LiteralSuffix", 3, "0.00 MB", "3.00 MB"},
        FormatRow{"QuotedPrefix", 5, "\"Rs. \"0.00", "Rs. 5.00"},
        FormatRow{"OptionalDigitsDropZeros", 0.5, "#.##", ".5"},
        FormatRow{"ForcedIntegerDigits", 5, "00", "05"},
        FormatRow{"NegativeGetsAMinus", -2.5, "0", "-3"},
        FormatRow{"NegativeSection", -2.5, "0.0;(0.0)", "(2.5)"},
        FormatRow{"ZeroSection", 0, "0.0;(0.0);\"none\"", "none"},
        FormatRow{"NegativeThatShowsAsZero", -0.001, "0.00", "0.00"},
        FormatRow{"PercentSign", 0.256, "0%", "26%"}, FormatRow{"Fixed", 3, "Fixed", "3.00"},
        FormatRow{"Standard", 1234.5, "Standard", "1,234.50"},
        FormatRow{"Percent", 0.5, "Percent", "50.00%"},
        FormatRow{"Scientific", 1234.5, "Scientific", "1.23E+03"},
        FormatRow{"ScientificSmall", -0.000995, "Scientific", "-9.95E-04"},
        // Extreme values never make the formatting fail: a tiny one is the zero it rounds to,
        // one that its "%" signs take beyond fixed-point digits shows in the general form.
        FormatRow{"TinyValueIsTheZeroItRoundsTo", 1.6e-124, "0.00", "0.00"},
        FormatRow{"TinyNegativeValueHasNoMinus", -1.6e-124, "#,##0.0", "0.0"},
        FormatRow{"TinyValueScientific", 1.6e-124, "Scientific", "1.60E-124"},
        FormatRow{"SmallestDoubleScientific", 4.9406564584124654e-324, "Scientific", "4.94E-324"},
        FormatRow{"PercentSignsBeyondFixedDigits", 1e-5, "0.000000000000000%%%%%%%%%%%%%%%%%%%%",
                  "1e-05"},
        FormatRow{
            "PercentSignsTowardsInfinity", 1e20,
            "0%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%"
            "%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%"
            "%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%",
            "1e+20"},
        FormatRow{"NegativeSectionBeyondFixedDigits", -1e19, "0;0%", "-1e+19"},
        FormatRow{"PercentSignsThatStillFit", 1e-5, "0.00%%", "0.10%%"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(DataFormatLocale, DecimalAndGroupSeparatorsAreTheLocales) {
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(formatChartValue(1234.5, QStringLiteral("#,##0.00"), german),
              QStringLiteral("1.234,50"));
    EXPECT_EQ(formatChartValue(12.5, QString(), german), QStringLiteral("12,5"));
}

}  // namespace
