// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/summary.h"
#include "results/summary_tab.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace kestrova;
using L = SummaryLabel;

namespace {

enum class Frame { Available, Excess };

struct Scenario {
    const char* name;
    int slot;
    SummaryInputs inputs;
    QDate today;
    std::vector<std::pair<L, const char16_t*>> shown;
    Frame frame;
    bool todayShown;
    double actualBar;
};

const QDate kElsewhen(2013, 5, 20);

// clang-format off
const Scenario kScenarios[] = {
    {"WorkedExample", 0, {1200, 1200, QDate(2013, 4, 15), 40}, kElsewhen,
     {{L::usedBandWidthLabel, u"1200.000 MB"}, {L::usedAverageLabel, u"80.00 MB"},
      {L::usedLastDayLabel, u" 15 Apr 2013"}, {L::availableDaysLabel, u"15"},
      {L::excessBandwidthLabel, u"176.000 MB"}, {L::excessRatePerMBLabel, u"0.30"},
      {L::excessAmountLabel, u"Rs. 52.80"}, {L::billPlanChargeLabel, u"Rs. 250"},
      {L::billExcessChargeLabel, u"Rs. 52.80"}, {L::billTotalLabel, u"Rs. 302.80"},
      {L::billTaxLabel, u"Rs. 31.19"}, {L::billTotalAndTaxLabel, u"Rs. 333.99"},
      {L::percentageEdit, u"117%"}, {L::planChargeLabel, u"Rs  250"},
      {L::bandWidthLimitLabel, u" 1024 MB"}, {L::rsPerMBLabel, u"Rs  0.3"}},
     Frame::Excess, false, 1.0},
    {"UsageEqualsAllowance", 0, {1024, 1024, QDate(2013, 4, 15), 40}, kElsewhen,
     {{L::availableBandWidthLabel, u"0.000 MB"}, {L::availableAverageLabel, u"0.00 MB"},
      {L::excessBandwidthLabel, u"0"}, {L::excessAmountLabel, u"Rs. 0"},
      {L::billExcessChargeLabel, u"Rs. 0"}, {L::percentageEdit, u"100%"},
      {L::billTotalAndTaxLabel, u"Rs. 275.75"}},
     Frame::Available, false, 1.0},
    {"LastDayOfMonth", 0, {600, 600, QDate(2013, 4, 30), 50}, kElsewhen,
     {{L::availableDaysLabel, u"0"}, {L::availableAverageLabel, u""},
      {L::availableBandWidthLabel, u"424.000 MB"}, {L::usedAverageLabel, u"20.00 MB"}},
     Frame::Available, false, 600.0 / 1024},
    {"LastDayOfMonthIsToday", 0, {600, 600, QDate(2013, 4, 30), 50}, QDate(2013, 4, 30),
     {{L::usageTodayLabel, u"50.00 MB"}, {L::usedAverageExclTodayLabel, u"18.97 MB"},
      {L::availableAverageExclTodayLabel, u"474.00 MB"}, {L::availableAverageLabel, u""}},
     Frame::Available, true, 600.0 / 1024},
    {"FirstDayIsToday", 0, {40, 40, QDate(2013, 4, 1), 40}, QDate(2013, 4, 1),
     {{L::usedAverageLabel, u"40.00 MB"}, {L::usedAverageExclTodayLabel, u"0 MB"},
      {L::availableDaysLabel, u"29"}, {L::availableAverageLabel, u"33.93 MB"},
      {L::availableAverageExclTodayLabel, u"34.13 MB"}},
     Frame::Available, true, 40.0 / 1024},
    {"NightUnlimitedCountsChargedUsage", 3, {3000, 1000, QDate(2013, 4, 15), 40}, kElsewhen,
     {{L::usedBandWidthLabel, u"1000.000 MB"}, {L::availableBandWidthLabel, u"536.000 MB"},
      {L::percentageEdit, u"65%"}, {L::billTotalAndTaxLabel, u"Rs. 551.50"}},
     Frame::Available, false, 1000.0 / 1536},
    {"DayPlanCountsAllUsage", 7, {5000, 1000, QDate(2013, 4, 15), 40}, kElsewhen,
     {{L::usedBandWidthLabel, u"5000.000 MB"}, {L::excessBandwidthLabel, u"904.000 MB"},
      {L::excessAmountLabel, u"Rs. 180.80"}, {L::billTotalAndTaxLabel, u"Rs. 971.52"}},
     Frame::Excess, false, 1.0},
    {"UnlimitedPlanEvenWhenToday", 2, {5000, 5000, QDate(2013, 4, 15), 40}, QDate(2013, 4, 15),
     {{L::availableBandWidthLabel, u"Unlimited"}, {L::availableAverageLabel, u"Unlimited"},
      {L::percentageEdit, u"0%"}, {L::excessBandwidthLabel, u"0"}, {L::excessAmountLabel, u"Rs. 0"},
      {L::availableDaysLabel, u"15"}, {L::billTaxLabel, u"Rs. 51.40"},
      {L::billTotalAndTaxLabel, u"Rs. 550.40"}, {L::planChargeLabel, u"Rs  499"},
      {L::bandWidthLimitLabel, u"Unlimited"}, {L::rsPerMBLabel, u"NA"}},
     Frame::Available, false, 0.0},
    {"LeapFebruary", 0, {100, 100, QDate(2012, 2, 10), 5}, kElsewhen,
     {{L::availableDaysLabel, u"19"}}, Frame::Available, false, 100.0 / 1024},
    {"PlainFebruary", 0, {100, 100, QDate(2013, 2, 10), 5}, kElsewhen,
     {{L::availableDaysLabel, u"18"}}, Frame::Available, false, 100.0 / 1024},
    {"JanuaryThirtyFirst", 0, {100, 100, QDate(2013, 1, 31), 5}, kElsewhen,
     {{L::availableDaysLabel, u"0"}}, Frame::Available, false, 100.0 / 1024},
    {"DecemberThirtyFirst", 0, {100, 100, QDate(2013, 12, 31), 5}, kElsewhen,
     {{L::availableDaysLabel, u"0"}, {L::usedLastDayLabel, u" 31 Dec 2013"}},
     Frame::Available, false, 100.0 / 1024},
    {"PercentageHalfGoesToEven", 0, {128, 128, QDate(2013, 4, 15), 5}, kElsewhen,
     {{L::percentageEdit, u"12%"}}, Frame::Available, false, 128.0 / 1024},
};
// clang-format on

void PrintTo(const Scenario& s, std::ostream* os) {
    *os << s.name;
}

class SummaryScenario : public ::testing::TestWithParam<Scenario> {};

TEST_P(SummaryScenario, ShowsTheFiguresOfThePlan) {
    const Scenario& s = GetParam();
    SummaryFigures f;
    createSummary(s.inputs, PlanTable().record(s.slot), s.today, f);
    for (const auto& [label, text] : s.shown) {
        EXPECT_EQ(f.shown(label), QString::fromUtf16(text))
            << summaryLabelName(label).toStdString();
    }
    EXPECT_EQ(f.availableGroupVisible, s.frame == Frame::Available);
    EXPECT_EQ(f.excessGroupVisible, s.frame == Frame::Excess);
    EXPECT_EQ(f.excessDownloadBoxVisible, s.frame == Frame::Excess);
    EXPECT_EQ(f.todayLabelsVisible, s.todayShown);
    EXPECT_DOUBLE_EQ(f.actualDownloadBoxWidth, s.actualBar);
}

INSTANTIATE_TEST_SUITE_P(Plans, SummaryScenario, ::testing::ValuesIn(kScenarios),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(createSummary, WorkedExampleKeepsUnroundedValuesForTheBill) {
    SummaryFigures f;
    createSummary({1200, 1200, QDate(2013, 4, 15), 40}, PlanTable().record(0), kElsewhen, f);
    EXPECT_EQ(f[L::billTaxLabel].kept, QStringLiteral("31.1884"));
    EXPECT_EQ(f[L::billTotalAndTaxLabel].kept, QStringLiteral("333.9884"));
    EXPECT_EQ(f[L::availableBandWidthLabel].kept, QStringLiteral("-176"));
    EXPECT_TRUE(f.excessGroupAtAvailablePlace);
    EXPECT_DOUBLE_EQ(f.excessDownloadBoxWidth, 176.0 / 1024);
    const Bill bill = billOf(f);
    EXPECT_DOUBLE_EQ(bill.excessAmount, 52.8);
    EXPECT_DOUBLE_EQ(bill.totalAndTax, 333.9884);
}

TEST(createSummary, ARunKeepsWhatItDoesNotTouch) {
    const PlanTable plans;
    SummaryFigures f;
    createSummary({500, 500, QDate(2013, 4, 15), 40}, plans.record(0), QDate(2013, 4, 15), f);
    EXPECT_EQ(f.shown(L::availableBandWidthLabel), QStringLiteral("524.000 MB"));
    EXPECT_EQ(f.shown(L::usageTodayLabel), QStringLiteral("40.00 MB"));

    // Over the allowance: the balance is kept but its label keeps its earlier text; the today
    // labels are hidden and keep theirs.
    createSummary({1200, 1200, QDate(2013, 4, 15), 40}, plans.record(0), kElsewhen, f);
    EXPECT_EQ(f[L::availableBandWidthLabel].kept, QStringLiteral("-176"));
    EXPECT_EQ(f.shown(L::availableBandWidthLabel), QStringLiteral("524.000 MB"));
    EXPECT_EQ(f.shown(L::usageTodayLabel), QStringLiteral("40.00 MB"));
    EXPECT_FALSE(f[L::usageTodayLabel].touched);

    // An unlimited plan leaves the excess rate alone.
    createSummary({1200, 1200, QDate(2013, 4, 15), 40}, plans.record(2), kElsewhen, f);
    EXPECT_EQ(f.shown(L::excessRatePerMBLabel), QStringLiteral("0.30"));
    EXPECT_FALSE(f[L::excessRatePerMBLabel].touched);
    EXPECT_TRUE(f[L::billTotalAndTaxLabel].touched);
}

TEST(createSummary, ShowsNumbersAndMonthsTheLocaleWay) {
    const QLocale german(QLocale::German, QLocale::Germany);
    SummaryFigures f;
    createSummary({1200, 1200, QDate(2013, 4, 15), 40}, PlanTable().record(0), kElsewhen, f,
                  german);
    EXPECT_EQ(f.shown(L::usedBandWidthLabel), QStringLiteral("1200,000 MB"));
    EXPECT_EQ(f.shown(L::billTotalAndTaxLabel), QStringLiteral("Rs. 333,99"));
    EXPECT_EQ(f.shown(L::usedLastDayLabel),
              QStringLiteral(" 15 ") + german.monthName(4, QLocale::ShortFormat) + u" 2013");
}

TEST(createSummary, CustomFiguresSurviveADecimalCommaLocale) {
    const QLocale german(QLocale::German, QLocale::Germany);
    SummaryTab tab([] { return kElsewhen; }, german);
    tab.setInputs({1200, 1200, QDate(2013, 4, 15), 40});
    tab.loadCombo(29);
    tab.setEditBoxValue(PlanEditBox::rsPerMBEdit, 0.25);
    EXPECT_EQ(tab.figures().shown(L::rsPerMBLabel), QStringLiteral("Rs 0,25"));
    EXPECT_EQ(tab.figures().shown(L::excessAmountLabel), QStringLiteral("Rs. 44,00"));
}

}  // namespace
