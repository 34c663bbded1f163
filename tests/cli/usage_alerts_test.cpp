// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// kestrova-check --notify's decision: which alert a month's figures raise given what was
// raised before, and how that is remembered.

#include "cli/usage_alerts.h"

#include "support/qt_printers.h"

#include "platform/settings_store.h"
#include "results/plan_settings.h"

#include <gtest/gtest.h>

#include <QSettings>

using namespace kestrova;

namespace {

using kestrova::test::q;

// April 2013 on BBG 250 (1024 MB), `mb` used by `day`, checked that day (so it counts among the
// days left), no daily totals (a plan passed counts as run out on the last recorded day).
Forecast april(int mb, int day, PlanChoice plan = PlanChoice::catalogue(0)) {
    const QDate last(2013, 4, day);
    return forecastMonth({mb, mb, last, 10}, plan, {}, last, QLocale::c());
}

NotifiedAlerts raised(const char* month, bool nearlyUsed, bool used, bool runsOut) {
    return {q(month), nearlyUsed, used, runsOut};
}

// Each step is checked with what the steps before it raised; a first check of the month starts
// with nothing raised.
TEST(DecideAlert, EachLevelOnceAMonthAndANewMonthStartsAfresh) {
    struct Step {
        const char* what;
        Forecast forecast;
        const char* text;  // "" when nothing is raised
        NotifiedAlerts after;
        bool firstCheck = false;
    };
    const Step steps[] = {
        {"a quiet start", april(100, 5), "", raised("2013-04", false, false, false)},
        // 500 * 30 / 10 = 1500 projected: runs out on the 21st, well before the month ends;
        // 524 MB left for 21 days.
        {"the pace runs out", april(500, 10),
         "49 % of 1024 MB used; at this pace it runs out about 21 Apr; daily budget 24.95 MB",
         raised("2013-04", false, false, true)},
        {"the same again", april(520, 11), "", raised("2013-04", false, false, true)},
        // 840 is 82 %; floor(1024 * 20 / 840) + 1 = 25; 184 MB for 11 days.
        {"80 % passed", april(840, 20),
         "82 % of 1024 MB used; at this pace it runs out about 25 Apr; daily budget 16.73 MB",
         raised("2013-04", true, false, true)},
        {"still between 80 and 100", april(900, 22), "", raised("2013-04", true, false, true)},
        {"100 % passed", april(1100, 25), "107 % of 1024 MB used; it ran out on 25 Apr",
         raised("2013-04", true, true, true)},
        {"further over", april(1500, 28), "", raised("2013-04", true, true, true)},
        {"a new month",
         forecastMonth({500, 500, QDate(2013, 5, 10), 50}, PlanChoice::catalogue(0), {},
                       QDate(2013, 5, 10), QLocale::c()),
         "49 % of 1024 MB used; at this pace it runs out about 21 May; daily budget 23.82 MB",
         raised("2013-05", false, false, true)},
        // Over the allowance at once: one alert, and 80 % counts as raised with it; nothing is
        // left to spend a day.
        {"already over", april(1100, 25), "107 % of 1024 MB used; it ran out on 25 Apr",
         raised("2013-04", true, true, false), true},
        // 900 * 30 / 28 = 964 lasts; 88 % is still news; 124 MB for 3 days.
        {"80 % that lasts", april(900, 28),
         "88 % of 1024 MB used; at this pace it lasts the month; daily budget 41.33 MB",
         raised("2013-04", true, false, false), true},
        // Exactly 80 % of a 1000 MB custom allowance counts.
        {"exactly 80 %", april(800, 28, PlanChoice::customPlan({250, 1000, 0.2})),
         "80 % of 1000 MB used; at this pace it lasts the month; daily budget 66.67 MB",
         raised("2013-04", true, false, false), true},
        {"a quiet month", april(300, 28), "", raised("2013-04", false, false, false), true},
        // 30,000,000 MB of an allowance of 0 (counted as 1 MB): a percentage beyond an int.
        {"far beyond an int's percentage",
         april(30000000, 30, PlanChoice::customPlan({250, 0, 0.2})),
         "3000000000 % of 1 MB used; it ran out on 30 Apr", raised("2013-04", true, true, false),
         true},
        {"unlimited", april(50000, 10, PlanChoice::catalogue(2)), "",
         raised("2013-04", false, false, false), true},
    };
    NotifiedAlerts memory;
    for (const Step& step : steps) {
        const AlertDecision d =
            decideAlert(step.forecast, step.firstCheck ? NotifiedAlerts{} : memory, QLocale::c());
        EXPECT_EQ(d.text, q(step.text)) << step.what;
        EXPECT_EQ(d.notified, step.after) << step.what;
        memory = d.notified;
    }
    // What another month raised does not hold this one back.
    EXPECT_FALSE(decideAlert(april(1100, 25), raised("2013-03", true, true, true), QLocale::c())
                     .text.isEmpty());
}

class AlertMemory : public ::testing::Test {
protected:
    void SetUp() override { QSettings(SettingsStore().fileName(), QSettings::IniFormat).clear(); }
};

TEST_F(AlertMemory, KeptPerUserIdInItsOwnSection) {
    SettingsStore main;
    main.save(q("txtUserName"), q("demo"));
    main.sync();
    {
        SettingsStore store(QString(), alertSection());
        writeNotifiedAlerts(store, q("demo"), raised("2026-11", true, false, true));
        writeNotifiedAlerts(store, q("a/b\\c d"), raised("2026-10", false, true, false));
        store.sync();
    }
    const SettingsStore store(QString(), alertSection());
    EXPECT_EQ(readNotifiedAlerts(store, q("demo")), raised("2026-11", true, false, true));
    EXPECT_EQ(readNotifiedAlerts(store, q("a/b\\c d")), raised("2026-10", false, true, false));
    EXPECT_EQ(readNotifiedAlerts(store, q("a")), NotifiedAlerts{});

    // The main window's section keeps exactly its own keys.
    QSettings file(SettingsStore().fileName(), QSettings::IniFormat);
    EXPECT_EQ(file.childGroups(), (QStringList{alertSection(), SettingsStore::section()}));
    file.beginGroup(SettingsStore::section());
    EXPECT_EQ(file.childKeys(), QStringList{q("txtUserName")});
}

TEST_F(AlertMemory, ADamagedValueReadsAsNothingRaised) {
    SettingsStore store(QString(), alertSection());
    for (const char* damaged : {"", "garbage", "2026-13 80", "80 100", "2026-1x forecast"}) {
        store.save(q("demo"), q(damaged));
        EXPECT_EQ(readNotifiedAlerts(store, q("demo")), NotifiedAlerts{}) << damaged;
    }
    // Words it does not know are passed over.
    store.save(q("demo"), q("2026-11 100 later"));
    EXPECT_EQ(readNotifiedAlerts(store, q("demo")), raised("2026-11", false, true, false));
}

TEST_F(AlertMemory, ThePlanKestrovaWasLeftOn) {
    SettingsStore store;
    EXPECT_EQ(storedPlanChoice(store), std::nullopt);  // never chosen

    PlanSettings settings;
    settings.planIndex = 3;
    writePlanSettings(store, settings);
    std::optional<PlanChoice> plan = storedPlanChoice(store);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->slot, 3);
    EXPECT_FALSE(plan->custom);

    settings.planIndex = kCustomPlanSlot;
    settings.planChargeEdit = 400;
    settings.bandWidthLimitEdit = 3000;
    settings.rsPerMBEdit = 0.5;
    writePlanSettings(store, settings);
    plan = storedPlanChoice(store);
    ASSERT_TRUE(plan && plan->custom);
    EXPECT_EQ(plan->slot, kCustomPlanSlot);
    EXPECT_EQ(plan->custom->planCharge, 400);
    EXPECT_EQ(plan->custom->allowanceMB, 3000);
    EXPECT_EQ(plan->custom->rsPerMB, 0.5);
}

}  // namespace
