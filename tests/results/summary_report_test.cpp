// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/summary_report.h"
#include "platform/failure.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace kestrova;

namespace {

const SummaryInputs kApril15{1200, 1200, QDate(2013, 4, 15), 40};
const QDate kNotThatDay(2013, 5, 2);

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
    EXPECT_EQ(saving, paiseOf(selected.figures.shown(SummaryLabel::BillTotalAndTaxLabel)) -
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

}  // namespace
