// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/plan_settings.h"
#include "platform/settings_store.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <array>

using namespace kestrova;

namespace {

// Each test gets a settings file of its own.
QString storeName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return QString::fromLatin1(info->test_suite_name()) + u'-' +
           QString::fromLatin1(info->name()).replace(u'/', u'-');
}

struct StoredValueRow {
    const char* name;
    PlanEditBox box;
    const char16_t* stored;
    double expected;
    bool told;  // the stored text was not used: noted as a problem
};

void PrintTo(const StoredValueRow& row, std::ostream* os) {
    *os << row.name;
}

class EditBoxSetting : public ::testing::TestWithParam<StoredValueRow> {};

TEST_P(EditBoxSetting, ReadsAsTheBoxWouldHoldItOrFallsBackToTheDesignValue) {
    SettingsStore store(storeName());
    const StoredValueRow row = GetParam();
    store.save(editBoxDesign(row.box).key, QString::fromUtf16(row.stored));
    std::vector<SettingProblem> problems;
    EXPECT_DOUBLE_EQ(readEditBoxSetting(store, row.box, QLocale(), &problems), row.expected);
    EXPECT_EQ(problems.size(), row.told ? 1u : 0u);
}

const StoredValueRow kStoredValues[] = {
    {"ChargeAsStored", PlanEditBox::PlanChargeEdit, u"499", 499, false},
    {"ChargeNotANumber", PlanEditBox::PlanChargeEdit, u"abc", 250, true},
    {"ChargeEmpty", PlanEditBox::PlanChargeEdit, u"", 250, false},
    {"ChargeNegative", PlanEditBox::PlanChargeEdit, u"-5", 250, true},
    {"ChargeLargestFiveDigits", PlanEditBox::PlanChargeEdit, u"99999", 99999, false},
    {"ChargeSixDigits", PlanEditBox::PlanChargeEdit, u"100000", 250, true},
    {"ChargeRoundedToWhole", PlanEditBox::PlanChargeEdit, u"250.6", 251, false},
    {"LimitTenDigits", PlanEditBox::BandWidthLimitEdit, u"9999999999", 9999999999.0, false},
    {"LimitElevenDigits", PlanEditBox::BandWidthLimitEdit, u"10000000000", 1024, true},
    {"LimitZeroIsHeld", PlanEditBox::BandWidthLimitEdit, u"0", 0, false},
    {"LimitTrailingText", PlanEditBox::BandWidthLimitEdit, u"2048MB", 1024, true},
    {"RateAsStored", PlanEditBox::RsPerMBEdit, u"0.35", 0.35, false},
    {"RateRoundedToTwoDecimals", PlanEditBox::RsPerMBEdit, u"0.255", 0.26, false},
    {"RateLargest", PlanEditBox::RsPerMBEdit, u"9.99", 9.99, false},
    {"RateRoundingPastTheBox", PlanEditBox::RsPerMBEdit, u"9.996", 0.2, true},
    {"RateTwoIntegerDigits", PlanEditBox::RsPerMBEdit, u"10", 0.2, true},
    {"RateInfinite", PlanEditBox::RsPerMBEdit, u"1e999", 0.2, true},
    // Beyond what any figure holds: once an "Overflow" that ended every program at its start.
    {"RateBeyondAnyFigure", PlanEditBox::RsPerMBEdit, u"1e36", 0.2, true},
    {"ChargeOfThirtySevenDigits", PlanEditBox::PlanChargeEdit,
     u"1234567890123456789012345678901234567", 250, true},
};

INSTANTIATE_TEST_SUITE_P(StoredTexts, EditBoxSetting, ::testing::ValuesIn(kStoredValues),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ChosenPlanSetting, IsAListIndexOfAnEntryOrNothingSelected) {
    SettingsStore store(storeName());
    const struct {
        const char16_t* stored;
        int expected;
    } rows[] = {{u"3", 3},   {u" 29 ", 29}, {u"-1", -1},  {u"30", -1},
                {u"-2", -1}, {u"2.5", -1},  {u"two", -1}, {u"", -1}};
    for (const auto& row : rows) {
        store.save(QStringLiteral("Plan3"), QString::fromUtf16(row.stored));
        EXPECT_EQ(readPlanIndex(store, 30), row.expected)
            << QString::fromUtf16(row.stored).toStdString();
    }
}

TEST(PlanSettings, WrittenInTheLocaleFormAndReadBack) {
    const QLocale german(QLocale::German, QLocale::Germany);
    SettingsStore store(storeName());
    writePlanSettings(store, PlanSettings{29, 400, 2048, 0.25}, german);
    EXPECT_EQ(store.get(QStringLiteral("Plan3"), {}), QStringLiteral("29"));
    EXPECT_EQ(store.get(QStringLiteral("nebRsPerMB"), {}), QStringLiteral("0,25"));
    const PlanSettings back = readPlanSettings(store, 30, german);
    EXPECT_EQ(back.planIndex, 29);
    EXPECT_DOUBLE_EQ(back.planChargeEdit, 400);
    EXPECT_DOUBLE_EQ(back.bandWidthLimitEdit, 2048);
    EXPECT_DOUBLE_EQ(back.rsPerMBEdit, 0.25);
}

// The result window's place is used only whole: a missing key gives the design place quietly,
// a value no screen has gives it too and is told.
TEST(ResultPlace, ReadsBackWholeTwipsAndOnlyWhenAllFourRead) {
    SettingsStore store(storeName());
    writeResultPlace(store, WindowPlace{7000.4, 9000.6, -300, 450});
    const std::optional<WindowPlace> back = readResultPlace(store);
    ASSERT_TRUE(back);
    EXPECT_EQ((std::array{back->height, back->width, back->left, back->top}),
              (std::array{7000.0, 9001.0, -300.0, 450.0}));

    std::vector<SettingProblem> problems;
    store.save(QStringLiteral("frmResult.Left"), QStringLiteral("32000000000"));
    EXPECT_EQ(readResultPlace(store, &problems), std::nullopt);
    EXPECT_EQ(problems, (std::vector<SettingProblem>{
                            {QStringLiteral("frmResult.Left"), QStringLiteral("32000000000")}}));

    problems.clear();
    store.remove(QStringLiteral("frmResult.Left"));
    EXPECT_EQ(readResultPlace(store, &problems), std::nullopt);
    EXPECT_TRUE(problems.empty());
}

}  // namespace
