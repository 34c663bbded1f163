#include "platform/megabytes.h"
#include "platform/number_format.h"

#include "platform/failure.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace kestrova;

namespace {
QString q(const char* s) { return QString::fromUtf8(s); }
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
        ReadCase{"Empty", "", &kEnglish, false, 0},
        ReadCase{"Letters", "abc", &kEnglish, false, 0},
        ReadCase{"TwoPoints", "1.2.3", &kEnglish, false, 0},
        ReadCase{"TrailingJunk", "12MB", &kEnglish, false, 0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Megabytes, RoundsToWholeMegabytesHalvesToEven) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"0.5", 0}, {"1.5", 2}, {"2.5", 2}, {"3.5", 4}, {"-0.5", 0}, {"-1.5", -2},
        {"2.4999", 2}, {"2.5001", 3}, {"1023.5", 1024}, {"0", 0}};
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
        {31.1884, 2, "31.19", "31,19"},   {333.9884, 2, "333.99", "333,99"},
        {2.675, 2, "2.68", "2,68"},       {0.125, 2, "0.13", "0,13"},
        {0, 3, "0.000", "0,000"},         {-176, 3, "-176.000", "-176,000"},
        {-0.001, 2, "0.00", "0,00"},      {1234567.891, 2, "1234567.89", "1234567,89"},
        {117.1875, 0, "117", "117"},      {0.5, 0, "1", "1"},
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
