// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The Summary tab's "Forecast" frame: on its own, the rows a known month's forecast gives; on
// the tab, the forecast of the chosen plan for the month the report builder hands over.

#include "results/window/forecast_frame.h"

#include "platform/dialogs.h"
#include "platform/settings_store.h"
#include "results/window/summary_page.h"
#include "support/month_on_screen.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QSettings>

namespace kestrova {
namespace {

using kestrova::test::q;

QString text(const ForecastFrame& frame, const char* name) {
    const QLabel* label = frame.findChild<QLabel*>(q(name));
    return label ? label->text() : q("(no label)");
}

TEST(ForecastFrame, ShowsEachRowOfAKnownMonthAndHidesWithoutAForecast) {
    ForecastFrame frame;
    EXPECT_EQ(frame.objectName(), q("fraForecast"));
    EXPECT_EQ(frame.title(), q("Forecast"));
    EXPECT_TRUE(frame.isHidden());  // until a plan is chosen

    // 1000 MB by the 14th of April on BBG 250 (1024 MB, 0.3 a MB beyond): 2142.857 MB at this
    // pace, run out on the 15th; 1118.857 MB over costs 335.66, 585.66 with the charge and
    // 645.98 with tax. The 14th is today: 24 MB left for 17 days.
    const QDate last(2013, 4, 14);
    frame.setForecast(
        forecastMonth({1000, 1000, last, 100}, PlanChoice::catalogue(0), {}, last, QLocale::c()));
    EXPECT_FALSE(frame.isHidden());
    const std::pair<const char*, const char*> rows[] = {
        {"lblForecastMonthCaption", "Month :"},
        {"lblForecastMonth", "day 14 of 30"},
        {"lblForecastUsageCaption", "Projected usage :"},
        {"lblForecastUsage", "2142.857 MB"},
        {"lblForecastAllowanceCaption", "Allowance :"},
        {"lblForecastAllowance", "Runs out about 15 Apr"},
        {"lblForecastDailyBudgetCaption", "Daily budget :"},
        {"lblForecastDailyBudget", "1.41 MB"},
        {"lblForecastTotalAndTaxCaption", "Projected Total + Tax :"},
        {"lblForecastTotalAndTax", "Rs. 645.98"},
        {"lblForecastCheapestCaption", "Cheapest at this pace :"},
        {"lblForecastCheapest", "BB Home UL 499   Rs. 550.40"},
        {"lblForecastSaving", "Saves Rs. 95.58 against the selected plan"},
    };
    for (const auto& [name, shown] : rows) {
        EXPECT_EQ(text(frame, name), q(shown)) << name;
        EXPECT_FALSE(frame.findChild<QLabel*>(q(name))->isHidden()) << name;
    }
    EXPECT_TRUE(frame.value(q("lblForecastTotalAndTax"))->font().bold());
    // The bill as its total with tax only.
    EXPECT_EQ(frame.value(q("lblForecastTotal")), nullptr);
    EXPECT_EQ(frame.findChild<QLabel*>(q("lblForecastTaxCaption")), nullptr);

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

TEST(ForecastFrame, StandsOnTheSummaryTabForEveryPlanOnTheMonthHandedOver) {
    QSettings(SettingsStore().fileName(), QSettings::IniFormat).clear();
    RecordingDialogs dialogs;
    ScopedDialogs seam(dialogs);
    // The bundled November, looked at on 20 December: the month is complete.
    testing::MonthOnScreen m;
    SummaryTabFrame* tab = m.window->summaryGroup();
    ForecastFrame* frame = tab->forecastGroup();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isHidden());  // no plan chosen yet

    struct Case {
        int slot;
        const char* allowance;
        const char* totalAndTax;
        const char* saving;
    };
    const Case cases[] = {
        // 533.3 + 46.3 MB, then 1028.6 MB on the 3rd passes 1024 (and 1536).
        {0, "Ran out on 3 Nov", "Rs. 6474.17", "Saves Rs. 5923.77 against the selected plan"},
        {3, "Ran out on 3 Nov", "Rs. 4570.83", "Saves Rs. 4020.43 against the selected plan"},
        {2, "Unlimited", "Rs. 550.40", "The selected plan is the cheapest"},
    };
    for (const Case& c : cases) {
        tab->plansCombo()->setCurrentIndex(tab->logic().plansCombo().indexOfSlot(c.slot));
        EXPECT_FALSE(frame->isHidden()) << c.slot;
        EXPECT_EQ(text(*frame, "lblForecastMonth"), q("complete"));
        EXPECT_EQ(text(*frame, "lblForecastUsage"), q("19756.000 MB"));
        EXPECT_EQ(text(*frame, "lblForecastAllowance"), q(c.allowance)) << c.slot;
        EXPECT_EQ(text(*frame, "lblForecastTotalAndTax"), q(c.totalAndTax)) << c.slot;
        EXPECT_EQ(text(*frame, "lblForecastCheapest"), q("BB Home UL 499   Rs. 550.40"));
        EXPECT_EQ(text(*frame, "lblForecastSaving"), q(c.saving)) << c.slot;
        // No day of a complete month is left to budget.
        EXPECT_TRUE(frame->value(q("lblForecastDailyBudget"))->isHidden()) << c.slot;
        EXPECT_TRUE(frame->findChild<QLabel*>(q("lblForecastDailyBudgetCaption"))->isHidden());
        // A complete month's forecast is the month's own bill.
        EXPECT_EQ(text(*frame, "lblForecastTotalAndTax"),
                  tab->figureLabel(SummaryLabel::billTotalAndTaxLabel)->text());
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace kestrova
