// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The Summary tab's "Forecast" frame on its own: the rows a known month's forecast gives.

#include "results/window/forecast_frame.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QLabel>

namespace kestrova {
namespace {

using kestrova::test::q;

QString text(const ForecastFrame& frame, const char* name) {
    const QLabel* label = frame.findChild<QLabel*>(q(name));
    return label ? label->text() : q("(no label)");
}

TEST(ForecastFrame, ShowsEachRowOfAKnownMonthAndHidesWithoutAForecast) {
    ForecastFrame frame;
    EXPECT_TRUE(frame.isHidden());  // until a plan is chosen

    // 1000 MB by the 14th of April on BBG 250 (1024 MB, 0.3 a MB beyond): 2142.857 MB at this
    // pace, run out on the 15th; 1118.857 MB over costs 335.66, 585.66 with the charge and
    // 645.98 with tax. The 14th is today: 24 MB left for 17 days.
    const QDate last(2013, 4, 14);
    frame.setForecast(
        forecastMonth({1000, 1000, last, 100}, PlanChoice::catalogue(0), {}, last, QLocale::c()));
    EXPECT_FALSE(frame.isHidden());
    const std::pair<const char*, const char*> rows[] = {
        {"lblForecastMonth", "day 14 of 30"},
        {"lblForecastUsage", "2142.857 MB"},
        {"lblForecastAllowance", "Runs out about 15 Apr"},
        {"lblForecastDailyBudget", "1.41 MB"},
        {"lblForecastTotalAndTax", "Rs. 645.98"},
        {"lblForecastCheapest", "BB Home UL 499   Rs. 550.40"},
        {"lblForecastSaving", "Saves Rs. 95.58 against the selected plan"},
    };
    for (const auto& [name, shown] : rows) {
        EXPECT_EQ(text(frame, name), q(shown)) << name;
        EXPECT_FALSE(frame.findChild<QLabel*>(q(name))->isHidden()) << name;
    }

    // An unlimited plan has no daily budget: its row goes, and comes back with a limit.
    frame.setForecast(
        forecastMonth({1000, 1000, last, 100}, PlanChoice::catalogue(2), {}, last, QLocale::c()));
    EXPECT_TRUE(frame.value(q("lblForecastDailyBudget"))->isHidden());
    EXPECT_TRUE(frame.findChild<QLabel*>(q("lblForecastDailyBudgetCaption"))->isHidden());
    frame.setForecast(
        forecastMonth({1000, 1000, last, 100}, PlanChoice::catalogue(0), {}, last, QLocale::c()));
    EXPECT_FALSE(frame.value(q("lblForecastDailyBudget"))->isHidden());

    frame.setForecast(std::nullopt);
    EXPECT_TRUE(frame.isHidden());
}

}  // namespace
}  // namespace kestrova
