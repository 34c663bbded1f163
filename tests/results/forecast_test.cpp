// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/forecast.h"

#include "platform/failure.h"
#include "results/summary_tab.h"
#include "support/json_schema.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>
#include <QJsonArray>

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

struct ForecastCase {
    const char* name;
    SummaryInputs inputs;
    PlanChoice choice;
    std::vector<DailyTotal> days;
    QDate today;
    // Expected, worked out by hand from the rules.
    const char* month;
    const char* projected;
    AllowanceOutlook outlook;
    QDate allowanceDate;
    const char* allowance;
    int daysLeft;
    const char* dailyBudget;  // "" when there is none
    const char* total;
    const char* tax;
    const char* totalAndTax;
};

void PrintTo(const ForecastCase& c, std::ostream* os) {
    *os << c.name;
}

const PlanChoice kBbg250 = PlanChoice::catalogue(0);  // 250, 1024 MB, 0.3 per MB

const ForecastCase kCases[] = {
    // 300 * 30 / 10 = 900 stays under 1024: the plan charge and its tax. The 10th is today and
    // not over, so 724 MB are left for 21 days.
    {"UnderTheAllowance",
     {300, 300, QDate(2013, 4, 10), 30},
     kBbg250,
     {},
     QDate(2013, 4, 10),
     "day 10 of 30",
     "900.000 MB",
     AllowanceOutlook::LastsTheMonth,
     QDate(),
     "Lasts the month",
     21,
     "34.48 MB",
     "Rs. 250.00",
     "Rs. 25.75",
     "Rs. 275.75"},
    // 500 * 30 / 10 = 1500; floor(1024 * 10 / 500) + 1 = 21; 476 * 0.3 = 142.80 excess.
    {"PaceOverTheAllowance",
     {500, 500, QDate(2013, 4, 10), 50},
     kBbg250,
     {},
     QDate(2013, 4, 10),
     "day 10 of 30",
     "1500.000 MB",
     AllowanceOutlook::RunsOut,
     QDate(2013, 4, 21),
     "Runs out about 21 Apr",
     21,
     "24.95 MB",
     "Rs. 392.80",
     "Rs. 40.46",
     "Rs. 433.26"},
    // Exactly the allowance used is not passed yet; at the pace it goes the next day, and
    // nothing is left to use a day.
    {"AtTheAllowanceRunsOutTomorrow",
     {1024, 1024, QDate(2013, 4, 15), 60},
     kBbg250,
     {},
     QDate(2013, 4, 15),
     "day 15 of 30",
     "2048.000 MB",
     AllowanceOutlook::RunsOut,
     QDate(2013, 4, 16),
     "Runs out about 16 Apr",
     16,
     "0.00 MB",
     "Rs. 557.20",
     "Rs. 57.39",
     "Rs. 614.59"},
    // 80 MB a day passes 1024 on the 13th (1040); 2400 projected, 1376 * 0.3 = 412.80.
    {"RanOutEarlierInTheMonth",
     {1200, 1200, QDate(2013, 4, 15), 80},
     kBbg250,
     evenDays(QDate(2013, 4, 15), 80),
     QDate(2013, 4, 15),
     "day 15 of 30",
     "2400.000 MB",
     AllowanceOutlook::RanOut,
     QDate(2013, 4, 13),
     "Ran out on 13 Apr",
     16,
     "Ran out",
     "Rs. 662.80",
     "Rs. 68.27",
     "Rs. 731.07"},
    // Without daily totals the day it had run out by is the last recorded one.
    {"RanOutWithoutDailyTotals",
     {1200, 1200, QDate(2013, 4, 15), 80},
     kBbg250,
     {},
     QDate(2013, 4, 15),
     "day 15 of 30",
     "2400.000 MB",
     AllowanceOutlook::RanOut,
     QDate(2013, 4, 15),
     "Ran out on 15 Apr",
     16,
     "Ran out",
     "Rs. 662.80",
     "Rs. 68.27",
     "Rs. 731.07"},
    // Recorded to the 9th, today the 10th: floor(1024 * 9 / 1000) + 1 = 10. 3333.333... MB
    // projected: 2309.333... * 0.3 = 692.80, total 942.80, tax 97.1084. The 9th is over: 24 MB
    // for the 21 days after it.
    {"RunsOutToday",
     {1000, 1000, QDate(2013, 4, 9), 100},
     kBbg250,
     {},
     QDate(2013, 4, 10),
     "day 9 of 30",
     "3333.333 MB",
     AllowanceOutlook::RunsOut,
     QDate(2013, 4, 10),
     "Runs out about 10 Apr",
     21,
     "1.14 MB",
     "Rs. 942.80",
     "Rs. 97.11",
     "Rs. 1039.91"},
    // floor(1024 * 14 / 1000) + 1 = 15, the day after today. 2142.857... MB projected:
    // 1118.857... * 0.3 = 335.657..., tax 60.3227.
    {"RunsOutTomorrow",
     {1000, 1000, QDate(2013, 4, 14), 100},
     kBbg250,
     {},
     QDate(2013, 4, 14),
     "day 14 of 30",
     "2142.857 MB",
     AllowanceOutlook::RunsOut,
     QDate(2013, 4, 15),
     "Runs out about 15 Apr",
     17,
     "1.41 MB",
     "Rs. 585.66",
     "Rs. 60.32",
     "Rs. 645.98"},
    // floor(1024 * 29 / 1000) + 1 = 30; 1000 * 30 / 29 = 1034.483 MB, 10.483 * 0.3 = 3.14.
    {"RunsOutOnTheLastDay",
     {1000, 1000, QDate(2013, 4, 29), 10},
     kBbg250,
     {},
     QDate(2013, 4, 29),
     "day 29 of 30",
     "1034.483 MB",
     AllowanceOutlook::RunsOut,
     QDate(2013, 4, 30),
     "Runs out about 30 Apr",
     2,
     "12.00 MB",
     "Rs. 253.14",
     "Rs. 26.07",
     "Rs. 279.22"},
    // Today after the month's end: the usage is the month's, whatever the pace was, and no
    // day is left to budget.
    {"MonthComplete",
     {900, 900, QDate(2013, 4, 20), 30},
     kBbg250,
     {},
     QDate(2013, 5, 2),
     "complete",
     "900.000 MB",
     AllowanceOutlook::LastsTheMonth,
     QDate(),
     "Lasts the month",
     0,
     "",
     "Rs. 250.00",
     "Rs. 25.75",
     "Rs. 275.75"},
    // One day recorded: 40 * 30 = 1200 (the worked example's bill); floor(1024 / 40) + 1 = 26.
    {"FirstDayOfTheMonth",
     {40, 40, QDate(2013, 4, 1), 40},
     kBbg250,
     {},
     QDate(2013, 4, 1),
     "day 1 of 30",
     "1200.000 MB",
     AllowanceOutlook::RunsOut,
     QDate(2013, 4, 26),
     "Runs out about 26 Apr",
     30,
     "32.80 MB",
     "Rs. 302.80",
     "Rs. 31.19",
     "Rs. 333.99"},
    // 29 days: 400 * 29 / 10 = 1160; floor(1024 * 10 / 400) + 1 = 26; 136 * 0.3 = 40.80.
    {"FebruaryOfALeapYear",
     {400, 400, QDate(2024, 2, 10), 40},
     kBbg250,
     {},
     QDate(2024, 2, 10),
     "day 10 of 29",
     "1160.000 MB",
     AllowanceOutlook::RunsOut,
     QDate(2024, 2, 26),
     "Runs out about 26 Feb",
     20,
     "31.20 MB",
     "Rs. 290.80",
     "Rs. 29.95",
     "Rs. 320.75"},
    {"UnlimitedPlan",
     {5000, 5000, QDate(2013, 4, 10), 500},
     PlanChoice::catalogue(2),
     {},
     QDate(2013, 4, 10),
     "day 10 of 30",
     "15000.000 MB",
     AllowanceOutlook::Unlimited,
     QDate(),
     "Unlimited",
     21,
     "",
     "Rs. 499.00",
     "Rs. 51.40",
     "Rs. 550.40"},
    // 2000 MB for 300, 0.5 a MB beyond: 3000 projected, 500 excess charge.
    {"CustomPlan",
     {1000, 1000, QDate(2013, 4, 10), 100},
     PlanChoice::customPlan({300, 2000, 0.5}),
     {},
     QDate(2013, 4, 10),
     "day 10 of 30",
     "3000.000 MB",
     AllowanceOutlook::RunsOut,
     QDate(2013, 4, 21),
     "Runs out about 21 Apr",
     21,
     "47.62 MB",
     "Rs. 800.00",
     "Rs. 82.40",
     "Rs. 882.40"},
    // A custom allowance of 0 counts as 1 MB: 3 MB projected, 2 MB over at 1 a MB.
    {"CustomAllowanceZeroCountsAsOne",
     {1, 1, QDate(2013, 4, 10), 1},
     PlanChoice::customPlan({100, 0, 1}),
     {},
     QDate(2013, 4, 10),
     "day 10 of 30",
     "3.000 MB",
     AllowanceOutlook::RunsOut,
     QDate(2013, 4, 11),
     "Runs out about 11 Apr",
     21,
     "0.00 MB",
     "Rs. 102.00",
     "Rs. 10.51",
     "Rs. 112.51"},
    // Only the charged usage counts on a night-unlimited plan (1536 MB, 0.2 a MB): 600 * 3,
    // and 936 MB left for 21 days (on the 3000 MB in all it would have run out).
    {"NightUnlimitedPlanCountsChargedUsage",
     {3000, 600, QDate(2013, 4, 10), 60},
     PlanChoice::catalogue(3),
     {},
     QDate(2013, 4, 10),
     "day 10 of 30",
     "1800.000 MB",
     AllowanceOutlook::RunsOut,
     QDate(2013, 4, 26),
     "Runs out about 26 Apr",
     21,
     "44.57 MB",
     "Rs. 552.80",
     "Rs. 56.94",
     "Rs. 609.74"},
    // The last day, today: what is left is for today alone.
    {"LastDayOfTheMonth",
     {900, 900, QDate(2013, 4, 30), 30},
     kBbg250,
     {},
     QDate(2013, 4, 30),
     "day 30 of 30",
     "900.000 MB",
     AllowanceOutlook::LastsTheMonth,
     QDate(),
     "Lasts the month",
     1,
     "124.00 MB",
     "Rs. 250.00",
     "Rs. 25.75",
     "Rs. 275.75"},
    {"ZeroUsage",
     {0, 0, QDate(2013, 4, 10), 0},
     kBbg250,
     {},
     QDate(2013, 4, 10),
     "day 10 of 30",
     "0.000 MB",
     AllowanceOutlook::LastsTheMonth,
     QDate(),
     "Lasts the month",
     21,
     "48.76 MB",
     "Rs. 250.00",
     "Rs. 25.75",
     "Rs. 275.75"},
};

class ForecastTable : public ::testing::TestWithParam<ForecastCase> {};

TEST_P(ForecastTable, GivesTheHandWorkedFigures) {
    const ForecastCase& c = GetParam();
    // The days in reverse order: the forecast puts them in date order itself.
    std::vector<DailyTotal> days(c.days.rbegin(), c.days.rend());
    const Forecast f = forecastMonth(c.inputs, c.choice, days, c.today, QLocale::c());
    EXPECT_EQ(f.monthText, q(c.month));
    EXPECT_EQ(f.monthComplete, f.monthText == u"complete");
    EXPECT_EQ(f.projectedText, q(c.projected));
    EXPECT_EQ(f.outlook, c.outlook);
    EXPECT_EQ(f.allowanceDate, c.allowanceDate);
    EXPECT_EQ(f.allowanceText, q(c.allowance));
    EXPECT_EQ(f.daysLeft, c.daysLeft);
    EXPECT_EQ(f.dailyBudgetText, q(c.dailyBudget));
    EXPECT_EQ(f.dailyBudgetMB.has_value(), *c.dailyBudget != '\0');
    EXPECT_EQ(forecastLines(f).contains(q("Daily budget : ") + q(c.dailyBudget)),
              *c.dailyBudget != '\0');
    EXPECT_EQ(f.totalText, q(c.total));
    EXPECT_EQ(f.taxText, q(c.tax));
    EXPECT_EQ(f.totalAndTaxText, q(c.totalAndTax));
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
    EXPECT_EQ(f.projectedText, q("4285.714 MB"));
}

TEST(Forecast, RanksEveryPlanOnTheProjectionAndSavesFromTheShownAmounts) {
    // 2400 MB projected: BBG 250 costs 731.07, the unlimited BB Home UL 499 550.40.
    const Forecast f = forecastMonth({1200, 1200, QDate(2013, 4, 15), 80}, kBbg250, {},
                                     QDate(2013, 4, 15), QLocale::c());
    ASSERT_EQ(f.ranking.size(), 29u);
    EXPECT_EQ(f.cheapest().slot, 2);
    EXPECT_EQ(f.cheapestText, q("BB Home UL 499   Rs. 550.40"));
    EXPECT_EQ(f.savingPaise, 73107 - 55040);
    EXPECT_EQ(f.savingText, q("Saves Rs. 180.67 against the selected plan"));
    for (std::size_t i = 1; i < f.ranking.size(); ++i) {
        EXPECT_LE(f.ranking[i - 1].bill.totalAndTax, f.ranking[i].bill.totalAndTax);
        EXPECT_EQ(f.ranking[i].rank, int(i) + 1);
    }

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

    // Custom figures take part in the ranking and can be the cheapest.
    const Forecast custom =
        forecastMonth({1200, 1200, QDate(2013, 4, 15), 80}, PlanChoice::customPlan({100, 5000, 0}),
                      {}, QDate(2013, 4, 15), QLocale::c());
    EXPECT_EQ(custom.cheapest().slot, kCustomPlanSlot);
    EXPECT_EQ(custom.cheapest().name, q("Custom/User entered"));
    EXPECT_EQ(custom.savingText, q("The selected plan is the cheapest"));
}

TEST(Forecast, LinesAndJsonCarryTheFigures) {
    const Forecast f =
        forecastMonth({1200, 1200, QDate(2013, 4, 15), 80}, kBbg250,
                      evenDays(QDate(2013, 4, 15), 80), QDate(2013, 4, 15), QLocale::c());
    EXPECT_EQ(forecastLines(f),
              (QStringList{q("Forecast"), q("Month : day 15 of 30"),
                           q("Projected usage : 2400.000 MB"), q("Allowance : Ran out on 13 Apr"),
                           q("Daily budget : Ran out"), q("Projected Total : Rs. 662.80"),
                           q("Tax (10.30%) : Rs. 68.27"), q("Projected Total + Tax : Rs. 731.07"),
                           q("Cheapest at this pace : BB Home UL 499   Rs. 550.40"),
                           q("Saves Rs. 180.67 against the selected plan")}));

    const QJsonObject o = forecastJson(f);
    EXPECT_EQ(o.keys(),
              (QStringList{q("allowanceRunsOut"), q("bill"), q("cheapest"), q("dailyBudgetMB"),
                           q("daysLeft"), q("monthComplete"), q("projectedMB"), q("ranOut"),
                           q("ranking"), q("usedMB"), q("usedPercent")}));
    EXPECT_FALSE(o[q("monthComplete")].toBool());
    // What the panel's gauge measures: 1200 of 1024 MB.
    EXPECT_EQ(o[q("usedMB")].toDouble(), 1200);
    EXPECT_EQ(o[q("usedPercent")].toInt(), 117);
    EXPECT_DOUBLE_EQ(o[q("projectedMB")].toDouble(), 2400);
    EXPECT_TRUE(o[q("ranOut")].toBool());
    EXPECT_EQ(o[q("allowanceRunsOut")].toString(), q("2013-04-13"));
    EXPECT_EQ(o[q("daysLeft")].toInt(), 16);
    EXPECT_EQ(o[q("dailyBudgetMB")], QJsonValue(0));  // run out: nothing left a day
    // Money as it is shown, to the paisa (68.2684 shows as 68.27).
    EXPECT_EQ(o[q("bill")][q("total")].toDouble(), 662.8);
    EXPECT_EQ(o[q("bill")][q("tax")].toDouble(), 68.27);
    EXPECT_EQ(o[q("bill")][q("totalAndTax")].toDouble(), 731.07);
    EXPECT_EQ(
        o[q("cheapest")].toObject(),
        (QJsonObject{{q("slot"), 2}, {q("name"), q("BB Home UL 499")}, {q("totalAndTax"), 550.4}}));
    const QJsonArray ranking = o[q("ranking")].toArray();
    ASSERT_EQ(ranking.size(), 29);
    EXPECT_EQ(ranking[0].toObject(), o[q("cheapest")].toObject());
    EXPECT_EQ(ranking[28][q("slot")].toInt(), f.ranking.back().slot);

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

TEST(Forecast, TheJsonOfEveryRowHasThePublishedShape) {
    QJsonArray forecasts;
    for (const ForecastCase& c : kCases) {
        forecasts.append(
            forecastJson(forecastMonth(c.inputs, c.choice, c.days, c.today, QLocale::c())));
    }
    test::expectMatchesDefinition(forecasts, test::JsonSchema::Report, "forecast", true);
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

    // The custom line with the boxes' figures, ranked with them.
    tab.setEditBoxValue(PlanEditBox::planChargeEdit, 100);
    tab.setEditBoxValue(PlanEditBox::bandWidthLimitEdit, 5000);
    tab.setEditBoxValue(PlanEditBox::rsPerMBEdit, 0);
    tab.selectListIndex(tab.plansCombo().count() - 1);
    f = tab.forecast();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->slot, kCustomPlanSlot);
    EXPECT_EQ(f->allowanceText, q("Lasts the month"));  // 2400 of 5000
    EXPECT_EQ(f->totalAndTaxText, q("Rs. 110.30"));
    EXPECT_EQ(f->ranking.size(), 30u);
    EXPECT_EQ(f->cheapest().slot, kCustomPlanSlot);
}

TEST(Forecast, RefusesWhatTheSummaryRefuses) {
    EXPECT_THROW(forecastMonth({1, 1, QDate(), 0}, kBbg250, {}, QDate(2013, 4, 7)), Failure);
    EXPECT_THROW(forecastMonth({1, 1, QDate(2013, 4, 7), 0}, PlanChoice::catalogue(30), {},
                               QDate(2013, 4, 7)),
                 Failure);
}

}  // namespace
