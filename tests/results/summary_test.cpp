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
     {{L::UsedBandWidthLabel, u"1200.000 MB"}, {L::UsedAverageLabel, u"80.00 MB"},
      {L::UsedLastDayLabel, u" 15 Apr 2013"}, {L::AvailableDaysLabel, u"15"},
      {L::ExcessBandwidthLabel, u"176.000 MB"}, {L::ExcessRatePerMBLabel, u"0.30"},
      {L::ExcessAmountLabel, u"Rs. 52.80"}, {L::BillPlanChargeLabel, u"Rs. 250"},
      {L::BillExcessChargeLabel, u"Rs. 52.80"}, {L::BillTotalLabel, u"Rs. 302.80"},
      {L::BillTaxLabel, u"Rs. 31.19"}, {L::BillTotalAndTaxLabel, u"Rs. 333.99"},
      {L::PercentageEdit, u"117%"}, {L::PlanChargeLabel, u"Rs  250"},
      {L::BandWidthLimitLabel, u" 1024 MB"}, {L::RsPerMBLabel, u"Rs  0.3"}},
     Frame::Excess, false, 1.0},
    {"UsageEqualsAllowance", 0, {1024, 1024, QDate(2013, 4, 15), 40}, kElsewhen,
     {{L::AvailableBandWidthLabel, u"0.000 MB"}, {L::AvailableAverageLabel, u"0.00 MB"},
      {L::ExcessBandwidthLabel, u"0"}, {L::ExcessAmountLabel, u"Rs. 0"},
      {L::BillExcessChargeLabel, u"Rs. 0"}, {L::PercentageEdit, u"100%"},
      {L::BillTotalAndTaxLabel, u"Rs. 275.75"}},
     Frame::Available, false, 1.0},
    {"LastDayOfMonth", 0, {600, 600, QDate(2013, 4, 30), 50}, kElsewhen,
     {{L::AvailableDaysLabel, u"0"}, {L::AvailableAverageLabel, u""},
      {L::AvailableBandWidthLabel, u"424.000 MB"}, {L::UsedAverageLabel, u"20.00 MB"}},
     Frame::Available, false, 600.0 / 1024},
    {"LastDayOfMonthIsToday", 0, {600, 600, QDate(2013, 4, 30), 50}, QDate(2013, 4, 30),
     {{L::UsageTodayLabel, u"50.00 MB"}, {L::UsedAverageExclTodayLabel, u"18.97 MB"},
      {L::AvailableAverageExclTodayLabel, u"474.00 MB"}, {L::AvailableAverageLabel, u""}},
     Frame::Available, true, 600.0 / 1024},
    {"FirstDayIsToday", 0, {40, 40, QDate(2013, 4, 1), 40}, QDate(2013, 4, 1),
     {{L::UsedAverageLabel, u"40.00 MB"}, {L::UsedAverageExclTodayLabel, u"0 MB"},
      {L::AvailableDaysLabel, u"29"}, {L::AvailableAverageLabel, u"33.93 MB"},
      {L::AvailableAverageExclTodayLabel, u"34.13 MB"}},
     Frame::Available, true, 40.0 / 1024},
    {"NightUnlimitedCountsChargedUsage", 3, {3000, 1000, QDate(2013, 4, 15), 40}, kElsewhen,
     {{L::UsedBandWidthLabel, u"1000.000 MB"}, {L::AvailableBandWidthLabel, u"536.000 MB"},
      {L::PercentageEdit, u"65%"}, {L::BillTotalAndTaxLabel, u"Rs. 551.50"}},
     Frame::Available, false, 1000.0 / 1536},
    {"DayPlanCountsAllUsage", 7, {5000, 1000, QDate(2013, 4, 15), 40}, kElsewhen,
     {{L::UsedBandWidthLabel, u"5000.000 MB"}, {L::ExcessBandwidthLabel, u"904.000 MB"},
      {L::ExcessAmountLabel, u"Rs. 180.80"}, {L::BillTotalAndTaxLabel, u"Rs. 971.52"}},
     Frame::Excess, false, 1.0},
    {"UnlimitedPlanEvenWhenToday", 2, {5000, 5000, QDate(2013, 4, 15), 40}, QDate(2013, 4, 15),
     {{L::AvailableBandWidthLabel, u"Unlimited"}, {L::AvailableAverageLabel, u"Unlimited"},
      {L::PercentageEdit, u"0%"}, {L::ExcessBandwidthLabel, u"0"}, {L::ExcessAmountLabel, u"Rs. 0"},
      {L::AvailableDaysLabel, u"15"}, {L::BillTaxLabel, u"Rs. 51.40"},
      {L::BillTotalAndTaxLabel, u"Rs. 550.40"}, {L::PlanChargeLabel, u"Rs  499"},
      {L::BandWidthLimitLabel, u"Unlimited"}, {L::RsPerMBLabel, u"NA"}},
     Frame::Available, false, 0.0},
    {"LeapFebruary", 0, {100, 100, QDate(2012, 2, 10), 5}, kElsewhen,
     {{L::AvailableDaysLabel, u"19"}}, Frame::Available, false, 100.0 / 1024},
    {"PlainFebruary", 0, {100, 100, QDate(2013, 2, 10), 5}, kElsewhen,
     {{L::AvailableDaysLabel, u"18"}}, Frame::Available, false, 100.0 / 1024},
    {"DecemberThirtyFirst", 0, {100, 100, QDate(2013, 12, 31), 5}, kElsewhen,
     {{L::AvailableDaysLabel, u"0"}, {L::UsedLastDayLabel, u" 31 Dec 2013"}},
     Frame::Available, false, 100.0 / 1024},
    {"PercentageHalfGoesToEven", 0, {128, 128, QDate(2013, 4, 15), 5}, kElsewhen,
     {{L::PercentageEdit, u"12%"}}, Frame::Available, false, 128.0 / 1024},
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
    EXPECT_EQ(f[L::BillTaxLabel].kept, QStringLiteral("31.1884"));
    EXPECT_EQ(f[L::BillTotalAndTaxLabel].kept, QStringLiteral("333.9884"));
    EXPECT_EQ(f[L::AvailableBandWidthLabel].kept, QStringLiteral("-176"));
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
    EXPECT_EQ(f.shown(L::AvailableBandWidthLabel), QStringLiteral("524.000 MB"));
    EXPECT_EQ(f.shown(L::UsageTodayLabel), QStringLiteral("40.00 MB"));

    // Over the allowance: the balance is kept but its label keeps its earlier text; the today
    // labels are hidden and keep theirs.
    createSummary({1200, 1200, QDate(2013, 4, 15), 40}, plans.record(0), kElsewhen, f);
    EXPECT_EQ(f[L::AvailableBandWidthLabel].kept, QStringLiteral("-176"));
    EXPECT_EQ(f.shown(L::AvailableBandWidthLabel), QStringLiteral("524.000 MB"));
    EXPECT_EQ(f.shown(L::UsageTodayLabel), QStringLiteral("40.00 MB"));
    EXPECT_FALSE(f[L::UsageTodayLabel].touched);

    // An unlimited plan leaves the excess rate alone.
    createSummary({1200, 1200, QDate(2013, 4, 15), 40}, plans.record(2), kElsewhen, f);
    EXPECT_EQ(f.shown(L::ExcessRatePerMBLabel), QStringLiteral("0.30"));
    EXPECT_FALSE(f[L::ExcessRatePerMBLabel].touched);
    EXPECT_TRUE(f[L::BillTotalAndTaxLabel].touched);
}

TEST(createSummary, ShowsNumbersAndMonthsTheLocaleWay) {
    const QLocale german(QLocale::German, QLocale::Germany);
    SummaryFigures f;
    createSummary({1200, 1200, QDate(2013, 4, 15), 40}, PlanTable().record(0), kElsewhen, f,
                  german);
    EXPECT_EQ(f.shown(L::UsedBandWidthLabel), QStringLiteral("1200,000 MB"));
    EXPECT_EQ(f.shown(L::BillTotalAndTaxLabel), QStringLiteral("Rs. 333,99"));
    EXPECT_EQ(f.shown(L::UsedLastDayLabel),
              QStringLiteral(" 15 ") + german.monthName(4, QLocale::ShortFormat) + u" 2013");
}

TEST(createSummary, CustomFiguresSurviveADecimalCommaLocale) {
    const QLocale german(QLocale::German, QLocale::Germany);
    SummaryTab tab([] { return kElsewhen; }, german);
    tab.setInputs({1200, 1200, QDate(2013, 4, 15), 40});
    tab.loadCombo(29);
    tab.setEditBoxValue(PlanEditBox::RsPerMBEdit, 0.25);
    EXPECT_EQ(tab.figures().shown(L::RsPerMBLabel), QStringLiteral("Rs 0,25"));
    EXPECT_EQ(tab.figures().shown(L::ExcessAmountLabel), QStringLiteral("Rs. 44,00"));
}

}  // namespace
