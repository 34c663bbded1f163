// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/number_format.h"
#include "platform/megabytes.h"

#include "platform/failure.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <limits>

using namespace kestrova;

namespace {
using kestrova::test::q;
const QLocale kGerman(QLocale::German, QLocale::Germany);
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
}  // namespace

struct ReadCase {
    const char* name;
    const char* text;
    const QLocale* locale;
    bool ok;
    std::int64_t units;  // ten-thousandths
};

class ReadNumber : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadNumber, ReadsThePortalsFormFirst) {
    const ReadCase& c = GetParam();
    auto d = readNumber(q(c.text), *c.locale);
    ASSERT_EQ(d.has_value(), c.ok);
    if (c.ok) {
        EXPECT_EQ(Megabytes::fromDecimal(*d).tenThousandths(), c.units);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadNumber,
    ::testing::Values(
        ReadCase{"Plain", "13.5801", &kEnglish, true, 135801},
        ReadCase{"BlanksAround", "  2.50 ", &kEnglish, true, 25000},
        ReadCase{"Negative", "-0.0001", &kEnglish, true, -1},
        ReadCase{"Exponent", "1.5e3", &kEnglish, true, 15000000},
        ReadCase{"LeadingPoint", ".5", &kEnglish, true, 5000},
        // Under a locale with "," as decimal separator the portal's "1.5" is still 1.5, not 15.
        ReadCase{"PointUnderCommaLocale", "1.5", &kGerman, true, 15000},
        ReadCase{"LocalesOwnFormAsFallback", "1,5", &kGerman, true, 15000},
        ReadCase{"LocaleGroupingAsFallback", "1,234.5", &kEnglish, true, 12345000},
        ReadCase{"FifthDecimalTiesToEven", "0.00005", &kEnglish, true, 0},
        ReadCase{"FifthDecimalTiesToEvenUp", "0.00015", &kEnglish, true, 2},
        ReadCase{"Empty", "", &kEnglish, false, 0}, ReadCase{"Letters", "abc", &kEnglish, false, 0},
        ReadCase{"TwoPoints", "1.2.3", &kEnglish, false, 0},
        ReadCase{"TrailingJunk", "12MB", &kEnglish, false, 0},
        // Beyond the 18th decimal every digit is dropped: a tiny value reads as zero.
        ReadCase{"TinyExponentReadsAsZero", "1e-40", &kEnglish, true, 0},
        ReadCase{"VeryLongNegativeExponent", "-1.6e-1240000000000", &kEnglish, true, 0},
        ReadCase{"NegativeExponentWithinTheDecimals", "35e-5", &kEnglish, true, 4},
        ReadCase{"DigitsBeyondTheEighteenthDecimalBreakATie", "0.0000500000000000000001", &kEnglish,
                 true, 1}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Megabytes, RoundsToWholeMegabytesHalvesToEven) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"0.5", 0},   {"1.5", 2},    {"2.5", 2},    {"3.5", 4},       {"-0.5", 0},
        {"-1.5", -2}, {"2.4999", 2}, {"2.5001", 3}, {"1023.5", 1024}, {"0", 0}};
    for (auto [text, whole] : cases) {
        EXPECT_EQ(Megabytes::fromText(q(text)).roundedToWhole(), whole) << text;
    }
    // Digits past the fourth decimal still break a tie when rounding the exact text.
    EXPECT_EQ(requireNumber(u"2.50001").roundedTiesToEven(0), 3);
}

TEST(Megabytes, NoNumberIsATypeMismatch) {
    EXPECT_THROW(Megabytes::fromText(q("n/a")), Failure);
    EXPECT_THROW(Megabytes::fromText(q("")), Failure);
}

TEST(Megabytes, SumsExactly) {
    Megabytes sum;
    for (int i = 0; i < 1000; ++i) {
        sum += Megabytes::fromText(q("0.1"));
    }
    EXPECT_EQ(sum, Megabytes::fromWhole(100));
}

TEST(NumberFormat, PatternsRoundHalfAwayAndUseTheLocalesSeparator) {
    struct Case {
        double value;
        int decimals;
        const char* english;
        const char* german;
    };
    const Case cases[] = {
        {31.1884, 2, "31.19", "31,19"}, {333.9884, 2, "333.99", "333,99"},
        {2.675, 2, "2.68", "2,68"},     {0.125, 2, "0.13", "0,13"},
        {0, 3, "0.000", "0,000"},       {-176, 3, "-176.000", "-176,000"},
        {-0.001, 2, "0.00", "0,00"},    {1234567.891, 2, "1234567.89", "1234567,89"},
        {117.1875, 0, "117", "117"},    {0.5, 0, "1", "1"},
        {80, 2, "80.00", "80,00"}};
    for (const Case& c : cases) {
        EXPECT_EQ(formatNumber(c.value, c.decimals, kEnglish), q(c.english)) << c.value;
        EXPECT_EQ(formatNumber(c.value, c.decimals, kGerman), q(c.german)) << c.value;
    }
}

TEST(NumberFormat, DefaultTextHasNoTrailingZeros) {
    EXPECT_EQ(Megabytes::fromText(q("1023.5")).defaultText(kEnglish), q("1023.5"));
    EXPECT_EQ(Megabytes::fromText(q("2048")).defaultText(kEnglish), q("2048"));
    EXPECT_EQ(Megabytes::fromText(q("0.0001")).defaultText(kEnglish), q("0.0001"));
    EXPECT_EQ(Megabytes::fromText(q("-12.50")).defaultText(kEnglish), q("-12.5"));
    EXPECT_EQ(Megabytes::fromText(q("1023.5")).defaultText(kGerman), q("1023,5"));
    EXPECT_EQ(defaultText(350.0, kEnglish), q("350"));
    EXPECT_EQ(defaultText(12.5, kGerman), q("12,5"));
}

TEST(Decimal, DigitsDroppedByATinyExponentStillBreakATie) {
    const Decimal tiny = requireNumber(u"1.6e-124");
    EXPECT_EQ(tiny.scaled, 0);
    EXPECT_TRUE(tiny.dropped);
    EXPECT_EQ(requireNumber(u"5e-18").roundedTiesToEven(17), 0);
    EXPECT_EQ(requireNumber(u"5000000000000000000001e-39").roundedTiesToEven(17), 1);
}

// value * 10^decimals beyond the signed 128-bit range: the total of a hostile log or cache
// file, a parsed "9e22" kept to 18 decimals. Checked, never wrapped.
TEST(Decimal, RoundingBeyondThe128BitRangeIsAnOverflowFailure) {
    struct Case {
        const char* text;
        int decimals;
    };
    const Case overflowing[] = {{"123456789012345678901234567890123456", 4},
                                {"99920599999205999992059920599999205", 4},
                                {"9e22", 18},
                                {"-9e22", 18},
                                {"-170141183460469231731687303715884105", 4}};
    for (const Case& c : overflowing) {
        const Decimal d = requireNumber(QString::fromLatin1(c.text));
        for (bool tiesToEven : {true, false}) {
            try {
                if (tiesToEven) {
                    d.roundedTiesToEven(c.decimals);
                } else {
                    d.roundedHalfAway(c.decimals);
                }
                ADD_FAILURE() << c.text << " to " << c.decimals << " decimals did not fail";
            } catch (const Failure& failure) {
                EXPECT_EQ(failure.description(), q("Overflow")) << c.text;
            }
        }
        EXPECT_THROW(Megabytes::fromDecimal(d), Failure) << c.text;
    }
    // The largest that still fit come out exact.
    const Int128 twentyNines = Int128(99999999999LL) * 1000000000 + 999999999;
    EXPECT_EQ(requireNumber(u"99999999999999999999").roundedTiesToEven(18),
              twentyNines * 1000000000000000000LL);
    EXPECT_EQ(requireNumber(u"-1.5").roundedHalfAway(18), Int128(-15) * 100000000000000000LL);
}

TEST(Megabytes, SumsBeyondTheSixtyFourBitRangeAreAnOverflowFailure) {
    const Megabytes big = Megabytes::fromText(q("900000000000000"));
    Megabytes sum = big;
    try {
        sum += big;
        ADD_FAILURE() << "the sum wrapped round";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.description(), q("Overflow"));
    }
    EXPECT_EQ(sum, big);  // left as it was
    EXPECT_THROW(big + big, Failure);
    EXPECT_THROW(Megabytes::fromTenThousandths(std::numeric_limits<std::int64_t>::min()) - big,
                 Failure);
    EXPECT_THROW(Megabytes::fromWhole(std::int64_t(1) << 60), Failure);
    // Right up to the edge the sums stay exact.
    const Megabytes top = Megabytes::fromTenThousandths(std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ((top - big) + big, top);
    EXPECT_EQ(Megabytes::fromWhole(900000000000000).tenThousandths(), 9000000000000000000);
}

TEST(NumberFormat, ValuesTooLargeToRoundStillShowEveryDigit) {
    // A numeric box's value of 1.5e34 with eight decimals: no rounding is needed, so no
    // overflow either.
    EXPECT_EQ(formatNumber(1.5e34, 8, kEnglish), q("15000000000000000000000000000000000.00000000"));
    EXPECT_EQ(formatNumber(-1.5e34, 2, kGerman), q("-15000000000000000000000000000000000,00"));
    EXPECT_EQ(formatNumber(requireNumber(u"123456789012345678901234567890123456"), 4, kEnglish),
              q("123456789012345678901234567890123456.0000"));
    EXPECT_EQ(formatNumber(1.6e-124, 3, kEnglish), q("0.000"));
}

TEST(NumberFormat, LocaleNumbersBeyondADecimalAreAnOverflowNotANumber) {
    try {
        readNumber(u"1,000,000,000,000,000,000,000,000,000,000,000,000,000", kEnglish);
        ADD_FAILURE() << "read as a decimal";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.description(), q("Overflow"));
    }
}
