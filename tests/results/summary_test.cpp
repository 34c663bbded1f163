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
     {{L::lblUsedBandWidth, u"1200.000 MB"}, {L::lblUsedAverage, u"80.00 MB"},
      {L::lblUsedLastDay, u" 15 Apr 2013"}, {L::lblAvailableDays, u"15"},
      {L::lblExcessBandwidth, u"176.000 MB"}, {L::lblExcessRatePerMB, u"0.30"},
      {L::lblExcessAmount, u"Rs. 52.80"}, {L::lblBillPlanCharge, u"Rs. 250"},
      {L::lblBillExcessCharge, u"Rs. 52.80"}, {L::lblBillTotal, u"Rs. 302.80"},
      {L::lblBillTax, u"Rs. 31.19"}, {L::lblBillTotalAndTax, u"Rs. 333.99"},
      {L::txtPercentage, u"117%"}, {L::lblPlanCharge, u"Rs  250"},
      {L::lblBandWidthLimit, u" 1024 MB"}, {L::lblRsPerMB, u"Rs  0.3"}},
     Frame::Excess, false, 1.0},
    {"UsageEqualsAllowance", 0, {1024, 1024, QDate(2013, 4, 15), 40}, kElsewhen,
     {{L::lblAvailableBandWidth, u"0.000 MB"}, {L::lblAvailableAverage, u"0.00 MB"},
      {L::lblExcessBandwidth, u"0"}, {L::lblExcessAmount, u"Rs. 0"},
      {L::lblBillExcessCharge, u"Rs. 0"}, {L::txtPercentage, u"100%"},
      {L::lblBillTotalAndTax, u"Rs. 275.75"}},
     Frame::Available, false, 1.0},
    {"LastDayOfMonth", 0, {600, 600, QDate(2013, 4, 30), 50}, kElsewhen,
     {{L::lblAvailableDays, u"0"}, {L::lblAvailableAverage, u""},
      {L::lblAvailableBandWidth, u"424.000 MB"}, {L::lblUsedAverage, u"20.00 MB"}},
     Frame::Available, false, 600.0 / 1024},
    {"LastDayOfMonthIsToday", 0, {600, 600, QDate(2013, 4, 30), 50}, QDate(2013, 4, 30),
     {{L::lblUsageToday, u"50.00 MB"}, {L::lblUsedAverageExclToday, u"18.97 MB"},
      {L::lblAvailableAverageExclToday, u"474.00 MB"}, {L::lblAvailableAverage, u""}},
     Frame::Available, true, 600.0 / 1024},
    {"FirstDayIsToday", 0, {40, 40, QDate(2013, 4, 1), 40}, QDate(2013, 4, 1),
     {{L::lblUsedAverage, u"40.00 MB"}, {L::lblUsedAverageExclToday, u"0 MB"},
      {L::lblAvailableDays, u"29"}, {L::lblAvailableAverage, u"33.93 MB"},
      {L::lblAvailableAverageExclToday, u"34.13 MB"}},
     Frame::Available, true, 40.0 / 1024},
    {"NightUnlimitedCountsChargedUsage", 3, {3000, 1000, QDate(2013, 4, 15), 40}, kElsewhen,
     {{L::lblUsedBandWidth, u"1000.000 MB"}, {L::lblAvailableBandWidth, u"536.000 MB"},
      {L::txtPercentage, u"65%"}, {L::lblBillTotalAndTax, u"Rs. 551.50"}},
     Frame::Available, false, 1000.0 / 1536},
    {"DayPlanCountsAllUsage", 7, {5000, 1000, QDate(2013, 4, 15), 40}, kElsewhen,
     {{L::lblUsedBandWidth, u"5000.000 MB"}, {L::lblExcessBandwidth, u"904.000 MB"},
      {L::lblExcessAmount, u"Rs. 180.80"}, {L::lblBillTotalAndTax, u"Rs. 971.52"}},
     Frame::Excess, false, 1.0},
    {"UnlimitedPlanEvenWhenToday", 2, {5000, 5000, QDate(2013, 4, 15), 40}, QDate(2013, 4, 15),
     {{L::lblAvailableBandWidth, u"Unlimited"}, {L::lblAvailableAverage, u"Unlimited"},
      {L::txtPercentage, u"0%"}, {L::lblExcessBandwidth, u"0"}, {L::lblExcessAmount, u"Rs. 0"},
      {L::lblAvailableDays, u"15"}, {L::lblBillTax, u"Rs. 51.40"},
      {L::lblBillTotalAndTax, u"Rs. 550.40"}, {L::lblPlanCharge, u"Rs  499"},
      {L::lblBandWidthLimit, u"Unlimited"}, {L::lblRsPerMB, u"NA"}},
     Frame::Available, false, 0.0},
    {"LeapFebruary", 0, {100, 100, QDate(2012, 2, 10), 5}, kElsewhen,
     {{L::lblAvailableDays, u"19"}}, Frame::Available, false, 100.0 / 1024},
    {"PlainFebruary", 0, {100, 100, QDate(2013, 2, 10), 5}, kElsewhen,
     {{L::lblAvailableDays, u"18"}}, Frame::Available, false, 100.0 / 1024},
    {"JanuaryThirtyFirst", 0, {100, 100, QDate(2013, 1, 31), 5}, kElsewhen,
     {{L::lblAvailableDays, u"0"}}, Frame::Available, false, 100.0 / 1024},
    {"DecemberThirtyFirst", 0, {100, 100, QDate(2013, 12, 31), 5}, kElsewhen,
     {{L::lblAvailableDays, u"0"}, {L::lblUsedLastDay, u" 31 Dec 2013"}},
     Frame::Available, false, 100.0 / 1024},
    {"PercentageHalfGoesToEven", 0, {128, 128, QDate(2013, 4, 15), 5}, kElsewhen,
     {{L::txtPercentage, u"12%"}}, Frame::Available, false, 128.0 / 1024},
};
// clang-format on

void PrintTo(const Scenario& s, std::ostream* os) {
    *os << s.name;
}

class SummaryScenario : public ::testing::TestWithParam<Scenario> {};

TEST_P(SummaryScenario, ShowsTheFiguresOfThePlan) {
    const Scenario& s = GetParam();
    SummaryFigures f;
    CreateSummary(s.inputs, PlanTable().record(s.slot), s.today, f);
    for (const auto& [label, text] : s.shown) {
        EXPECT_EQ(f.shown(label), QString::fromUtf16(text))
            << summaryLabelName(label).toStdString();
    }
    EXPECT_EQ(f.fraAvailableVisible, s.frame == Frame::Available);
    EXPECT_EQ(f.fraExcessVisible, s.frame == Frame::Excess);
    EXPECT_EQ(f.picExcessDownloadVisible, s.frame == Frame::Excess);
    EXPECT_EQ(f.todayLabelsVisible, s.todayShown);
    EXPECT_DOUBLE_EQ(f.picActualDownloadWidth, s.actualBar);
}

INSTANTIATE_TEST_SUITE_P(Plans, SummaryScenario, ::testing::ValuesIn(kScenarios),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(CreateSummary, WorkedExampleKeepsUnroundedValuesForTheBill) {
    SummaryFigures f;
    CreateSummary({1200, 1200, QDate(2013, 4, 15), 40}, PlanTable().record(0), kElsewhen, f);
    EXPECT_EQ(f[L::lblBillTax].kept, QStringLiteral("31.1884"));
    EXPECT_EQ(f[L::lblBillTotalAndTax].kept, QStringLiteral("333.9884"));
    EXPECT_EQ(f[L::lblAvailableBandWidth].kept, QStringLiteral("-176"));
    EXPECT_TRUE(f.fraExcessAtAvailablePlace);
    EXPECT_DOUBLE_EQ(f.picExcessDownloadWidth, 176.0 / 1024);
    const Bill bill = billOf(f);
    EXPECT_DOUBLE_EQ(bill.excessAmount, 52.8);
    EXPECT_DOUBLE_EQ(bill.totalAndTax, 333.9884);
}

TEST(CreateSummary, ARunKeepsWhatItDoesNotTouch) {
    const PlanTable plans;
    SummaryFigures f;
    CreateSummary({500, 500, QDate(2013, 4, 15), 40}, plans.record(0), QDate(2013, 4, 15), f);
    EXPECT_EQ(f.shown(L::lblAvailableBandWidth), QStringLiteral("524.000 MB"));
    EXPECT_EQ(f.shown(L::lblUsageToday), QStringLiteral("40.00 MB"));

    // Over the allowance: the balance is kept but its label keeps its earlier text; the today
    // labels are hidden and keep theirs.
    CreateSummary({1200, 1200, QDate(2013, 4, 15), 40}, plans.record(0), kElsewhen, f);
    EXPECT_EQ(f[L::lblAvailableBandWidth].kept, QStringLiteral("-176"));
    EXPECT_EQ(f.shown(L::lblAvailableBandWidth), QStringLiteral("524.000 MB"));
    EXPECT_EQ(f.shown(L::lblUsageToday), QStringLiteral("40.00 MB"));
    EXPECT_FALSE(f[L::lblUsageToday].touched);

    // An unlimited plan leaves the excess rate alone.
    CreateSummary({1200, 1200, QDate(2013, 4, 15), 40}, plans.record(2), kElsewhen, f);
    EXPECT_EQ(f.shown(L::lblExcessRatePerMB), QStringLiteral("0.30"));
    EXPECT_FALSE(f[L::lblExcessRatePerMB].touched);
    EXPECT_TRUE(f[L::lblBillTotalAndTax].touched);
}

TEST(CreateSummary, ShowsNumbersAndMonthsTheLocaleWay) {
    const QLocale german(QLocale::German, QLocale::Germany);
    SummaryFigures f;
    CreateSummary({1200, 1200, QDate(2013, 4, 15), 40}, PlanTable().record(0), kElsewhen, f,
                  german);
    EXPECT_EQ(f.shown(L::lblUsedBandWidth), QStringLiteral("1200,000 MB"));
    EXPECT_EQ(f.shown(L::lblBillTotalAndTax), QStringLiteral("Rs. 333,99"));
    EXPECT_EQ(f.shown(L::lblUsedLastDay),
              QStringLiteral(" 15 ") + german.monthName(4, QLocale::ShortFormat) + u" 2013");
}

TEST(CreateSummary, CustomFiguresSurviveADecimalCommaLocale) {
    const QLocale german(QLocale::German, QLocale::Germany);
    SummaryTab tab([] { return kElsewhen; }, german);
    tab.setInputs({1200, 1200, QDate(2013, 4, 15), 40});
    tab.LoadCombo(29);
    tab.setEditBoxValue(PlanEditBox::nebRsPerMB, 0.25);
    EXPECT_EQ(tab.figures().shown(L::lblRsPerMB), QStringLiteral("Rs 0,25"));
    EXPECT_EQ(tab.figures().shown(L::lblExcessAmount), QStringLiteral("Rs. 44,00"));
}

}  // namespace
