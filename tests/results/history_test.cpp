// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The cached months side by side, priced against bills worked out by hand.

#include "results/history.h"

#include "support/qt_printers.h"

#include "retrieval/cache_file.h"
#include "retrieval/retrieval_state.h"
#include "retrieval/row_text.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace kestrova;

namespace {

using kestrova::test::q;

QString record(const QString& date, const char* total) {
    return toRowText({date, q("10:00:00"), q("01:00:00"), q("1"), q("1"), q(total)});
}

class HistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        // October: 1000 MB on two days. November: 3000 MB on three days.
        save("2026-10-unbilled-demo",
             record(q("2026-10-01"), "400") + record(q("2026-10-02"), "600"));
        save("2026-11-unbilled-demo", record(q("2026-11-01"), "1000") +
                                          record(q("2026-11-02"), "1000") +
                                          record(q("2026-11-03"), "1000"));
        // Another subscriber's month.
        save("2026-11-unbilled-other", record(q("2026-11-05"), "99"));
    }
    void save(const char* item, const QString& records) {
        ASSERT_TRUE(saveFileData(dir.filePath(q(item) + kCacheExtension), records, true));
    }
    History history(const char* user, std::optional<PlanChoice> chosen) {
        return buildHistory(dir.path(), q(user), chosen, QDate(2026, 12, 7));
    }
    QTemporaryDir dir;
};

TEST_F(HistoryTest, AllUserIdsWhenNoneIsGivenAndNoBillWithoutAChosenPlan) {
    const History all = history("", std::nullopt);
    ASSERT_EQ(all.months.size(), 3u);  // the other subscriber's month too
    EXPECT_FALSE(all.months[0].chosen);
    EXPECT_FALSE(all.chosen);
    EXPECT_FALSE(all.savingPaise());
    ASSERT_TRUE(all.cheapest);
    EXPECT_TRUE(history("nobody", std::nullopt).months.empty());
}

TEST_F(HistoryTest, ACustomPlanTakesPartWhenItIsTheChosenOne) {
    CustomPlanFigures figures;
    figures.planCharge = 100;
    figures.allowanceMB = 5000;
    figures.rsPerMB = 1;
    const History h = history("demo", PlanChoice::customPlan(figures));
    // 100 + 10.30 each month, and nothing beats it.
    EXPECT_EQ(h.cheapest->slot, kCustomPlanSlot);
    EXPECT_EQ(h.cheapest->paise, 22060);
    EXPECT_EQ(h.savingPaise(), 0);
}

}  // namespace

// Once, the chosen plan's column took the plan's price from the comparison of plans (a night
// plan on the night split) whatever the plan type. The column is now the Summary's bill under
// the plan type (main_window_test follows it through the window); the cheapest plan is still
// found on what each plan charges.
TEST_F(HistoryTest, TheChosenPlansBillIsTheSummarysAndTheRankingWhatEachPlanCharges) {
    // December: 3000 MB, 2000 of them between 03:00 and 04:00.
    save("2026-12-unbilled-night",
         toRowText({q("2026-12-01"), q("03:00:00"), q("01:00:00"), q("1"), q("1"), q("2000")}) +
             record(q("2026-12-02"), "1000"));
    // BBG FN Combo 500 allows 1536 MB: all 3000 MB charged under the limited type.
    const History h = buildHistory(dir.path(), q("night"), PlanChoice::catalogue(3),
                                   QDate(2026, 12, 7), PlanKind::Limited);
    ASSERT_EQ(h.months.size(), 1u);
    ASSERT_TRUE(h.months[0].chosen && h.chosen);
    EXPECT_EQ(h.months[0].chosen->totalAndTaxText, q("Rs. 874.46"));
    EXPECT_EQ(h.chosen->paise, 87446);
    EXPECT_EQ(h.months[0].ranking[1].slot, 3);  // 551.50 on the night split, second
}
