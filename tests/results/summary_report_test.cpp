// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/summary_report.h"
#include "platform/failure.h"

#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include "support/json_schema.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace kestrova;

namespace {

const SummaryInputs kApril15{1200, 1200, QDate(2013, 4, 15), 40};
const QDate kNotThatDay(2013, 5, 2);

TEST(SummarizeMonth, TheIssuesCheckGivesTheTabLineByLine) {
    const MonthSummary s = summarizeMonth(kApril15, PlanChoice::catalogue(0), kNotThatDay);
    EXPECT_DOUBLE_EQ(s.bill.totalAndTax, 333.9884);
    const QStringList expected = {
        QStringLiteral("Select your plan   250 - BBG 250"),
        QStringLiteral("Plan Charge : Rs  250"),
        QStringLiteral("Bandwidth Limit :  1024 MB"),
        QStringLiteral("Rs/Excess MB : Rs  0.3"),
        QStringLiteral("Metered Bandwidth : 1200.000 MB"),
        QStringLiteral("Average per day : 80.00 MB"),
        QStringLiteral("Last recorded day :  15 Apr 2013"),
        QStringLiteral("Percentage of quota used 117%"),
        QStringLiteral("Excess Usage"),
        QStringLiteral("Excess Bandwidth : 176.000 MB"),
        QStringLiteral("Rs per excess MB : 0.30"),
        QStringLiteral("Extra Amount : Rs. 52.80"),
        QStringLiteral("Plan Charge : Rs. 250"),
        QStringLiteral("Excess Charge : Rs. 52.80"),
        QStringLiteral("Total : Rs. 302.80"),
        QStringLiteral("Tax (10.30%) : Rs. 31.19"),
        QStringLiteral("Total + Tax : Rs. 333.99"),
        QStringLiteral("Summary valid only if report generated is only for one month."),
    };
    EXPECT_EQ(s.lines, expected);
}

TEST(SummarizeMonth, TodayAddsTheStarredFieldsAndTheFootnote) {
    const MonthSummary s = summarizeMonth({600, 600, QDate(2013, 4, 30), 50},
                                          PlanChoice::catalogue(0), QDate(2013, 4, 30));
    EXPECT_EQ(s.lines.mid(6, 4),
              QStringList({QStringLiteral("Last recorded day :  30 Apr 2013"),
                           QStringLiteral("Usage Today* : 50.00 MB"),
                           QStringLiteral("Average per day* : 18.97 MB (Excluding today)"),
                           QStringLiteral("Percentage of quota used 59%")}));
    EXPECT_EQ(
        s.lines.mid(10, 5),
        QStringList(
            {QStringLiteral("Available Usage"), QStringLiteral("Balance Bandwidth : 424.000 MB"),
             QStringLiteral("Average usable per day :"), QStringLiteral("Remaining days : 0"),
             QStringLiteral("Average usable per day* : 474.00 MB (Excluding today)")}));
    EXPECT_EQ(s.lines.at(s.lines.size() - 2),
              QStringLiteral("* - These fields are displayed when last recorded day is today."));
}

TEST(SummarizeMonth, CustomFiguresShowAsTheEditBoxesHoldThem) {
    const MonthSummary s =
        summarizeMonth(kApril15, PlanChoice::customPlan({300, 0, 0.5}), kNotThatDay);
    EXPECT_EQ(s.lines.mid(0, 4),
              QStringList({QStringLiteral("Select your plan Custom/User entered"),
                           QStringLiteral("Plan Charge : 300"),
                           QStringLiteral("Bandwidth Limit : 1 (MB)"),
                           QStringLiteral("Rs/Excess MB : 0.50")}));
    // 1199 MB over a 1 MB allowance at 0.50: 300 + 599.50, plus tax.
    EXPECT_EQ(s.figures.shown(SummaryLabel::billTotalAndTaxLabel), QStringLiteral("Rs. 992.15"));
}

TEST(SummarizeMonth, RefusesPlansAndFiguresTheTabCannotHold) {
    EXPECT_THROW(summarizeMonth(kApril15, PlanChoice::catalogue(30), kNotThatDay), Failure);
    EXPECT_THROW(summarizeMonth(kApril15, PlanChoice::catalogue(-1), kNotThatDay), Failure);
    EXPECT_THROW(summarizeMonth(kApril15, PlanChoice::customPlan({250, 1024, 10}), kNotThatDay),
                 Failure);
    EXPECT_THROW(summarizeMonth(kApril15, PlanChoice::customPlan({-1, 1024, 0.2}), kNotThatDay),
                 Failure);
    EXPECT_THROW(summarizeMonth({1, 1, QDate(), 0}, PlanChoice::catalogue(0), kNotThatDay),
                 Failure);
}

std::vector<int> rankedSlots(const std::vector<PlanCost>& costs) {
    std::vector<int> order;
    for (const PlanCost& c : costs) {
        order.push_back(c.slot);
    }
    return order;
}

TEST(ComparePlans, RanksCheapestFirstWithTiesInCatalogueOrder) {
    // Heavy daytime-metered usage; the night-unlimited plans count only 1000 MB of it.
    const SummaryInputs heavy{20000, 1000, QDate(2013, 4, 15), 40};
    const std::vector<PlanCost> costs = comparePlans(heavy, std::nullopt, kNotThatDay);
    EXPECT_EQ(rankedSlots(costs),
              (std::vector<int>{2,  3,  4,  5, 6, 8,  9, 10, 11, 12, 14, 13, 15, 16, 17,
                                18, 19, 20, 7, 1, 21, 0, 22, 23, 24, 25, 26, 27, 28}));
    EXPECT_EQ(costs.front().rank, 1);
    EXPECT_EQ(costs.back().rank, 29);
    EXPECT_EQ(costs.front().totalAndTaxText, QStringLiteral("Rs. 550.40"));
    EXPECT_EQ(costs[18].name, QStringLiteral("BBG 700"));
    EXPECT_DOUBLE_EQ(costs[18].bill.total, 3880.8);

    const std::vector<PlanCost> withCustom =
        comparePlans(heavy, CustomPlanFigures{400, 30000, 0}, kNotThatDay);
    ASSERT_EQ(withCustom.size(), 30u);
    EXPECT_EQ(withCustom.front().slot, kCustomPlanSlot);
    EXPECT_EQ(comparisonLines(withCustom).front(),
              QStringLiteral(" 1. Rs. 441.20     Custom/User entered"));
}

// 3000 MB in the month, 1000 MB of it outside the free night hours, on "BBG FN Combo 500"
// (500 a month, 1536 MB, 0.20 beyond).
TEST(SummarizeMonth, ANightPlanIsBilledOnTheChargedUsageUnderTheNightKindOnly) {
    const QDate last(2013, 4, 30);
    const SummaryInputs limitedKind{3000, 3000, last, 40, 1000};
    const SummaryInputs nightKind{3000, 1000, last, 40, 1000};
    const PlanChoice fnCombo = PlanChoice::catalogue(3);
    EXPECT_EQ(summarizeMonth(limitedKind, fnCombo, kNotThatDay)
                  .figures.shown(SummaryLabel::billTotalAndTaxLabel),
              QStringLiteral("Rs. 874.46"));
    EXPECT_EQ(summarizeMonth(nightKind, fnCombo, kNotThatDay)
                  .figures.shown(SummaryLabel::billTotalAndTaxLabel),
              QStringLiteral("Rs. 551.50"));
}

TEST(ComparePlans, PriceTheNightPlansOnTheNightSplitWhateverTheKind) {
    const QDate last(2013, 4, 30);
    const auto fnCombo = [](const std::vector<PlanCost>& costs) {
        return *std::find_if(costs.begin(), costs.end(),
                             [](const PlanCost& c) { return c.slot == 3; });
    };
    // A limited-kind report still knows what the night plans would charge.
    const std::vector<PlanCost> split =
        comparePlans(SummaryInputs{3000, 3000, last, 40, 1000}, std::nullopt, kNotThatDay);
    EXPECT_EQ(fnCombo(split).totalAndTaxText, QStringLiteral("Rs. 551.50"));
    // Second only to the unlimited 499 (Rs. 550.40), ahead of every metered plan.
    EXPECT_EQ(fnCombo(split).rank, 2);
    EXPECT_EQ(split.front().slot, 2);
    // Without the split every plan is priced on the total.
    const std::vector<PlanCost> unsplit =
        comparePlans(SummaryInputs{3000, 3000, last, 40}, std::nullopt, kNotThatDay);
    EXPECT_EQ(fnCombo(unsplit).totalAndTaxText, QStringLiteral("Rs. 874.46"));
    // The other plans are priced on the total either way.
    for (std::size_t i = 0; i < split.size(); ++i) {
        if (split[i].slot < 3 || split[i].slot > 5) {
            const PlanCost& same =
                *std::find_if(unsplit.begin(), unsplit.end(),
                              [&](const PlanCost& c) { return c.slot == split[i].slot; });
            EXPECT_EQ(split[i].totalAndTaxText, same.totalAndTaxText)
                << split[i].name.toStdString();
        }
    }
}

// The saving beside the cheapest plan is the difference of the two amounts as shown. Worked
// out from the unrounded bills it came out a paisa off for these months (for instance 37.61
// under "Rs. 362.67" and "Rs. 325.05").
struct SavingRow {
    const char* name;
    std::int32_t usage;
    int slot;
    std::int64_t paise;
};

void PrintTo(const SavingRow& row, std::ostream* os) {
    *os << row.name;
}

class CheapestSaving : public ::testing::TestWithParam<SavingRow> {};

std::int64_t paiseOf(const QString& shown) {
    QString digits = shown;
    digits.remove(QStringLiteral("Rs. ")).remove(u'.');
    return digits.toLongLong();
}

TEST_P(CheapestSaving, IsTheDifferenceOfTheShownAmounts) {
    const SavingRow& row = GetParam();
    const SummaryInputs inputs{row.usage, row.usage, QDate(2013, 4, 15), 40};
    const std::vector<PlanCost> costs = comparePlans(inputs, std::nullopt, kNotThatDay);
    const MonthSummary selected =
        summarizeMonth(inputs, PlanChoice::catalogue(row.slot), kNotThatDay);
    const std::int64_t saving = savingInPaise(selected.bill, costs.front());
    EXPECT_EQ(saving, row.paise);
    EXPECT_EQ(saving, paiseOf(selected.figures.shown(SummaryLabel::billTotalAndTaxLabel)) -
                          paiseOf(costs.front().totalAndTaxText));
    EXPECT_EQ(savingInPaise(costs.front().bill, costs.front()), 0);
}

INSTANTIATE_TEST_SUITE_P(Months, CheapestSaving,
                         ::testing::Values(SavingRow{"RoundsUpOnBoth", 1173, 1, 3762},
                                           SavingRow{"RoundsDownOnBoth", 1099, 13, 92486},
                                           SavingRow{"ThirdPlan", 1025, 6, 41330}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ShownPaise, RoundsAsTheTabShows) {
    const std::pair<double, std::int64_t> rows[] = {
        {333.9884, 33399}, {2.675, 268}, {0.005, 1}, {0, 0}, {-1.005, -101}, {1225.425, 122543}};
    for (const auto& [rupees, paise] : rows) {
        EXPECT_EQ(shownPaise(rupees), paise) << rupees;
    }
}

TEST(SummaryJson, CarriesTheBillLabelsAndLines) {
    const MonthSummary s = summarizeMonth(kApril15, PlanChoice::catalogue(0), kNotThatDay);
    const QJsonObject o = QJsonDocument::fromJson(summaryJson(s).toJson()).object();
    test::expectMatchesDefinition(o, test::JsonSchema::Report, "summary");
    // Rupees as the tab shows them: 333.9884 to the paisa; the rate per MB as a number.
    EXPECT_EQ(o[QStringLiteral("bill")][QStringLiteral("totalAndTax")].toDouble(), 333.99);
    EXPECT_EQ(o[QStringLiteral("bill")][QStringLiteral("tax")].toDouble(), 31.19);
    EXPECT_EQ(o[QStringLiteral("plan")][QStringLiteral("rsPerExcessMB")].toDouble(), 0.3);
    EXPECT_EQ(o[QStringLiteral("plan")][QStringLiteral("name")].toString(),
              QStringLiteral("BBG 250"));
    EXPECT_EQ(o[QStringLiteral("frame")].toString(), QStringLiteral("fraExcess"));
    const QJsonObject labels = o[QStringLiteral("labels")].toObject();
    EXPECT_EQ(labels[QStringLiteral("lblBillTotalAndTax")][QStringLiteral("shown")].toString(),
              QStringLiteral("Rs. 333.99"));
    EXPECT_FALSE(labels[QStringLiteral("lblAvailableDays")][QStringLiteral("visible")].toBool());
    // The labels stay as the tab keeps them: the kept value unrounded, as text.
    EXPECT_EQ(labels[QStringLiteral("lblBillTotalAndTax")][QStringLiteral("kept")].toString(),
              QStringLiteral("333.9884"));
    EXPECT_EQ(o[QStringLiteral("lines")].toArray().size(), s.lines.size());

    const std::vector<PlanCost> costs = comparePlans(kApril15, std::nullopt, kNotThatDay);
    const QJsonObject c =
        QJsonDocument::fromJson(comparisonJson(kApril15, kNotThatDay, costs).toJson()).object();
    test::expectMatchesDefinition(c, test::JsonSchema::Report, "comparison");
    const QJsonArray plans = c[QStringLiteral("plans")].toArray();
    ASSERT_EQ(plans.size(), 29);
    EXPECT_EQ(plans[0][QStringLiteral("slot")].toInt(), 0);
    EXPECT_EQ(plans[0][QStringLiteral("totalAndTaxText")].toString(), QStringLiteral("Rs. 333.99"));
    EXPECT_EQ(c[QStringLiteral("usage")][QStringLiteral("lastUsedDate")].toString(),
              QStringLiteral("2013-04-15"));
}

}  // namespace
