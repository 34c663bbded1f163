// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/forecast.h"

#include "platform/failure.h"
#include "results/summary_tab.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace kestrova;

namespace {

using kestrova::test::q;

// Each day from the first of `last`'s month up to `last` with `mbPerDay`.
std::vector<DailyTotal> evenDays(QDate last, int mbPerDay) {
    std::vector<DailyTotal> days;
    for (QDate d(last.year(), last.month(), 1); d <= last; d = d.addDays(1)) {
        days.push_back({d, Megabytes::fromWhole(mbPerDay)});
    }
    return days;
}

const PlanChoice kBbg250 = PlanChoice::catalogue(0);  // 250, 1024 MB, 0.3 per MB

struct ForecastCase {
    const char* name;
    SummaryInputs inputs;
    // Expected, worked out by hand from the rules.
    const char* month;
    const char* projected;
    struct {
        AllowanceOutlook kind;
        QDate date;
        const char* text;
    } allowance;
    int daysLeft;
    const char* dailyBudget;  // "" when there is none
    struct {
        const char* total;
        const char* tax;
        const char* totalAndTax;
    } bill;
    // What most rows share: BBG 250, checked on the last recorded day, no daily totals.
    PlanChoice choice = kBbg250;
    QDate today = {};  // none: the last recorded day
    std::vector<DailyTotal> days = {};

    QDate checkedOn() const { return today.isValid() ? today : inputs.mdtLastUsedDate; }
};

void PrintTo(const ForecastCase& c, std::ostream* os) {
    *os << c.name;
}

const ForecastCase kCases[] = {
    // 300 * 30 / 10 = 900 stays under 1024: the plan charge and its tax. The 10th is today and
    // not over, so 724 MB are left for 21 days.
    {"UnderTheAllowance",
     {300, 300, QDate(2013, 4, 10), 30},
     "day 10 of 30",
     "900.000 MB",
     {AllowanceOutlook::LastsTheMonth, QDate(), "Lasts the month"},
     21,
     "34.48 MB",
     {"Rs. 250.00", "Rs. 25.75", "Rs. 275.75"}},
    // 500 * 30 / 10 = 1500; floor(1024 * 10 / 500) + 1 = 21; 476 * 0.3 = 142.80 excess.
    {"PaceOverTheAllowance",
     {500, 500, QDate(2013, 4, 10), 50},
     "day 10 of 30",
     "1500.000 MB",
     {AllowanceOutlook::RunsOut, QDate(2013, 4, 21), "Runs out about 21 Apr"},
     21,
     "24.95 MB",
     {"Rs. 392.80", "Rs. 40.46", "Rs. 433.26"}},
    // Exactly the allowance used is not passed yet; at the pace it goes the next day, and
    // nothing is left to use a day.
    {"AtTheAllowanceRunsOutTomorrow",
     {1024, 1024, QDate(2013, 4, 15), 60},
     "day 15 of 30",
     "2048.000 MB",
     {AllowanceOutlook::RunsOut, QDate(2013, 4, 16), "Runs out about 16 Apr"},
     16,
     "0.00 MB",
     {"Rs. 557.20", "Rs. 57.39", "Rs. 614.59"}},
    // Without daily totals the day it had run out by is the last recorded one.
    {"RanOutWithoutDailyTotals",
     {1200, 1200, QDate(2013, 4, 15), 80},
     "day 15 of 30",
     "2400.000 MB",
     {AllowanceOutlook::RanOut, QDate(2013, 4, 15), "Ran out on 15 Apr"},
     16,
     "Ran out",
     {"Rs. 662.80", "Rs. 68.27", "Rs. 731.07"}},
    // Recorded to the 9th, today the 10th: floor(1024 * 9 / 1000) + 1 = 10. 3333.333... MB
    // projected: 2309.333... * 0.3 = 692.80, total 942.80, tax 97.1084. The 9th is over: 24 MB
    // for the 21 days after it.
    {"RunsOutToday",
     {1000, 1000, QDate(2013, 4, 9), 100},
     "day 9 of 30",
     "3333.333 MB",
     {AllowanceOutlook::RunsOut, QDate(2013, 4, 10), "Runs out about 10 Apr"},
     21,
     "1.14 MB",
     {"Rs. 942.80", "Rs. 97.11", "Rs. 1039.91"},
     kBbg250,
     QDate(2013, 4, 10)},
    // floor(1024 * 29 / 1000) + 1 = 30; 1000 * 30 / 29 = 1034.483 MB, 10.483 * 0.3 = 3.14.
    {"RunsOutOnTheLastDay",
     {1000, 1000, QDate(2013, 4, 29), 10},
     "day 29 of 30",
     "1034.483 MB",
     {AllowanceOutlook::RunsOut, QDate(2013, 4, 30), "Runs out about 30 Apr"},
     2,
     "12.00 MB",
     {"Rs. 253.14", "Rs. 26.07", "Rs. 279.22"}},
    // Today after the month's end: the usage is the month's, whatever the pace was, and no
    // day is left to budget.
    {"MonthComplete",
     {900, 900, QDate(2013, 4, 20), 30},
     "complete",
     "900.000 MB",
     {AllowanceOutlook::LastsTheMonth, QDate(), "Lasts the month"},
     0,
     "",
     {"Rs. 250.00", "Rs. 25.75", "Rs. 275.75"},
     kBbg250,
     QDate(2013, 5, 2)},
    // 29 days: 400 * 29 / 10 = 1160; floor(1024 * 10 / 400) + 1 = 26; 136 * 0.3 = 40.80.
    {"FebruaryOfALeapYear",
     {400, 400, QDate(2024, 2, 10), 40},
     "day 10 of 29",
     "1160.000 MB",
     {AllowanceOutlook::RunsOut, QDate(2024, 2, 26), "Runs out about 26 Feb"},
     20,
     "31.20 MB",
     {"Rs. 290.80", "Rs. 29.95", "Rs. 320.75"}},
    {"UnlimitedPlan",
     {5000, 5000, QDate(2013, 4, 10), 500},
     "day 10 of 30",
     "15000.000 MB",
     {AllowanceOutlook::Unlimited, QDate(), "Unlimited"},
     21,
     "",
     {"Rs. 499.00", "Rs. 51.40", "Rs. 550.40"},
     PlanChoice::catalogue(2)},
    // Only the charged usage counts on a night-unlimited plan (1536 MB, 0.2 a MB): 600 * 3,
    // and 936 MB left for 21 days (on the 3000 MB in all it would have run out).
    {"NightUnlimitedPlanCountsChargedUsage",
     {3000, 600, QDate(2013, 4, 10), 60},
     "day 10 of 30",
     "1800.000 MB",
     {AllowanceOutlook::RunsOut, QDate(2013, 4, 26), "Runs out about 26 Apr"},
     21,
     "44.57 MB",
     {"Rs. 552.80", "Rs. 56.94", "Rs. 609.74"},
     PlanChoice::catalogue(3)},
    // The last day, today: what is left is for today alone.
    {"LastDayOfTheMonth",
     {900, 900, QDate(2013, 4, 30), 30},
     "day 30 of 30",
     "900.000 MB",
     {AllowanceOutlook::LastsTheMonth, QDate(), "Lasts the month"},
     1,
     "124.00 MB",
     {"Rs. 250.00", "Rs. 25.75", "Rs. 275.75"}},
    {"ZeroUsage",
     {0, 0, QDate(2013, 4, 10), 0},
     "day 10 of 30",
     "0.000 MB",
     {AllowanceOutlook::LastsTheMonth, QDate(), "Lasts the month"},
     21,
     "48.76 MB",
     {"Rs. 250.00", "Rs. 25.75", "Rs. 275.75"}},
};

class ForecastTable : public ::testing::TestWithParam<ForecastCase> {};

TEST_P(ForecastTable, GivesTheHandWorkedFigures) {
    const ForecastCase& c = GetParam();
    // The days in reverse order: the forecast puts them in date order itself.
    std::vector<DailyTotal> days(c.days.rbegin(), c.days.rend());
    const Forecast f = forecastMonth(c.inputs, c.choice, days, c.checkedOn(), QLocale::c());
    EXPECT_EQ(f.monthText, q(c.month));
    EXPECT_EQ(f.monthComplete, f.monthText == u"complete");
    EXPECT_EQ(f.projectedText, q(c.projected));
    EXPECT_EQ(f.outlook, c.allowance.kind);
    EXPECT_EQ(f.allowanceDate, c.allowance.date);
    EXPECT_EQ(f.allowanceText, q(c.allowance.text));
    EXPECT_EQ(f.daysLeft, c.daysLeft);
    EXPECT_EQ(f.dailyBudgetText, q(c.dailyBudget));
    EXPECT_EQ(f.dailyBudgetMB.has_value(), *c.dailyBudget != '\0');
    EXPECT_EQ(forecastLines(f).contains(q("Daily budget : ") + q(c.dailyBudget)),
              *c.dailyBudget != '\0');
    EXPECT_EQ(f.totalText, q(c.bill.total));
    EXPECT_EQ(f.taxText, q(c.bill.tax));
    EXPECT_EQ(f.totalAndTaxText, q(c.bill.totalAndTax));
    EXPECT_EQ(f.ranking.size(), c.choice.custom ? 30u : 29u);
}

INSTANTIATE_TEST_SUITE_P(Forecast, ForecastTable, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Forecast, TheProjectionStaysExactForTheBill) {
    // 1000 * 30 / 7 = 4285.714285...: the bill is priced on that, not on 4286 or 4285.71.
    const Forecast f = forecastMonth({1000, 1000, QDate(2013, 4, 7), 100}, kBbg250, {},
                                     QDate(2013, 4, 7), QLocale::c());
    EXPECT_DOUBLE_EQ(f.projectedMB, 30000.0 / 7);
    EXPECT_NEAR(f.bill.excessAmount, (30000.0 / 7 - 1024) * 0.3, 1e-9);
}

// The ranking, the cheapest plan and the saving beside a plan that is not the cheapest are
// held by the commands' kept outputs; here the cases those do not reach.
TEST(Forecast, RanksEveryPlanOnTheProjectionAndSavesFromTheShownAmounts) {
    // Nothing used: every plan costs its charge, so the catalogue's own order (750 twice, 8
    // before 9) and the chosen plan is the cheapest.
    const Forecast none =
        forecastMonth({0, 0, QDate(2013, 4, 10), 0}, kBbg250, {}, QDate(2013, 4, 10), QLocale::c());
    std::vector<int> firstSlots;
    for (std::size_t i = 0; i < 10; ++i) {
        firstSlots.push_back(none.ranking[i].slot);
    }
    EXPECT_EQ(firstSlots, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(none.savingPaise, 0);
    EXPECT_EQ(none.savingText, q("The selected plan is the cheapest"));
}

// A month that ran out is held by the kept outputs of the check; here what those do not reach.
TEST(Forecast, TheJsonGivesNoDateOrBudgetWhereThereIsNoneAndMegabytesAsShown) {
    // Lasting the month or unlimited has no date. 924 MB for the 16 days from today: 57.75,
    // and megabytes to three decimals.
    const Forecast lasts = forecastMonth({100, 100, QDate(2013, 4, 15), 8}, kBbg250, {},
                                         QDate(2013, 4, 15), QLocale::c());
    EXPECT_TRUE(forecastJson(lasts)[q("allowanceRunsOut")].isNull());
    EXPECT_FALSE(forecastJson(lasts)[q("ranOut")].toBool());
    EXPECT_EQ(forecastJson(lasts)[q("dailyBudgetMB")].toDouble(), 57.75);
    const Forecast thirds = forecastMonth({1000, 1000, QDate(2013, 4, 7), 100}, kBbg250, {},
                                          QDate(2013, 4, 8), QLocale::c());
    EXPECT_EQ(forecastJson(thirds)[q("projectedMB")].toDouble(), 4285.714);
    EXPECT_EQ(forecastJson(thirds)[q("dailyBudgetMB")].toDouble(), 1.043);  // 24 / 23
    EXPECT_TRUE(
        forecastJson(forecastMonth({100, 100, QDate(2013, 4, 15), 8}, PlanChoice::catalogue(2), {},
                                   QDate(2013, 4, 15), QLocale::c()))[q("dailyBudgetMB")]
            .isNull());
}

TEST(Forecast, ShowsNumbersAndMonthsInTheLocale) {
    const Forecast f = forecastMonth({1000, 1000, QDate(2013, 4, 7), 100}, kBbg250, {},
                                     QDate(2013, 4, 7), QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(f.projectedText, q("4285,714 MB"));
    EXPECT_EQ(f.allowanceText, q("Runs out about 8 Apr."));
}

TEST(Forecast, TheSummaryTabForecastsItsSelectedPlan) {
    SummaryTab tab([] { return QDate(2013, 4, 15); }, QLocale::c());
    tab.setInputs({1200, 1200, QDate(2013, 4, 15), 80});
    tab.setDailyTotals(evenDays(QDate(2013, 4, 15), 80));
    tab.loadCombo(-1);
    EXPECT_EQ(tab.forecast(), std::nullopt);

    tab.selectListIndex(tab.plansCombo().indexOfSlot(0));
    std::optional<Forecast> f = tab.forecast();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->slot, 0);
    EXPECT_EQ(f->allowanceText, q("Ran out on 13 Apr"));  // from the daily totals
    EXPECT_EQ(f->totalAndTaxText, q("Rs. 731.07"));
    EXPECT_EQ(f->ranking.size(), 29u);

    // The custom line with the boxes' figures, ranked with them: it can be the cheapest.
    tab.setEditBoxValue(PlanEditBox::PlanChargeEdit, 100);
    tab.setEditBoxValue(PlanEditBox::BandWidthLimitEdit, 5000);
    tab.setEditBoxValue(PlanEditBox::RsPerMBEdit, 0);
    tab.selectListIndex(tab.plansCombo().count() - 1);
    f = tab.forecast();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->slot, kCustomPlanSlot);
    EXPECT_EQ(f->allowanceText, q("Lasts the month"));  // 2400 of 5000
    EXPECT_EQ(f->totalAndTaxText, q("Rs. 110.30"));
    EXPECT_EQ(f->ranking.size(), 30u);
    EXPECT_EQ(f->cheapest().slot, kCustomPlanSlot);
    EXPECT_EQ(f->cheapest().name, q("Custom/User entered"));
    EXPECT_EQ(f->savingText, q("The selected plan is the cheapest"));
}

TEST(Forecast, RefusesWhatTheSummaryRefuses) {
    EXPECT_THROW(forecastMonth({1, 1, QDate(), 0}, kBbg250, {}, QDate(2013, 4, 7)), Failure);
    EXPECT_THROW(forecastMonth({1, 1, QDate(2013, 4, 7), 0}, PlanChoice::catalogue(30), {},
                               QDate(2013, 4, 7)),
                 Failure);
}

}  // namespace
