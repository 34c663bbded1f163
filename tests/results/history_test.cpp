// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The cached months side by side, priced against bills worked out by hand.

#include "results/history.h"

#include "support/json_schema.h"
#include "support/qt_printers.h"

#include "retrieval/cache_file.h"
#include "retrieval/retrieval_state.h"
#include "retrieval/row_text.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
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

TEST_F(HistoryTest, EachMonthHasItsFiguresItsBillAndItsCheapestPlan) {
    const History h = history("demo", PlanChoice::catalogue(0));  // BBG 250
    ASSERT_EQ(h.months.size(), 2u);
    const HistoryMonth& october = h.months[0];
    EXPECT_EQ(october.period, q("2026-10-unbilled"));
    EXPECT_EQ(october.month, q("2026-10"));
    EXPECT_EQ(october.user, q("demo"));
    EXPECT_EQ(october.records, 2);
    EXPECT_EQ(october.days, 2);
    EXPECT_EQ(october.monthMB, 1000);
    // 1000 MB is within BBG 250's 1024 MB: 250 + 10.3 % tax.
    ASSERT_TRUE(october.chosen);
    EXPECT_EQ(october.chosen->totalAndTaxText, q("Rs. 275.75"));
    EXPECT_EQ(october.cheapest.name, q("BBG 250"));

    const HistoryMonth& november = h.months[1];
    EXPECT_EQ(november.monthMB, 3000);
    // 1976 MB beyond 1024 at Rs 0.30: 250 + 592.80 = 842.80, tax 86.81.
    EXPECT_EQ(november.chosen->totalAndTaxText, q("Rs. 929.61"));
    // Unlimited for 499 beats everything at 3000 MB: 499 + 51.40.
    EXPECT_EQ(november.cheapest.name, q("BB Home UL 499"));
    EXPECT_EQ(november.cheapest.totalAndTaxText, q("Rs. 550.40"));
}

TEST_F(HistoryTest, TheCheapestOverAllMonthsIsNotEachMonthsCheapest) {
    const History h = history("demo", PlanChoice::catalogue(0));
    EXPECT_EQ(h.readableMonths, 2);
    EXPECT_EQ(h.totalMB, 4000);
    EXPECT_DOUBLE_EQ(h.averageMB, 2000);
    // BBG Combo 299: 329.80 in October, 299 + 395.20 + 71.50 = 765.70 in November: 1095.50,
    // less than the unlimited 499's 1100.80 and BBG 250's 275.75 + 929.61 = 1205.36.
    ASSERT_TRUE(h.cheapest);
    EXPECT_EQ(h.cheapest->slot, 1);
    EXPECT_EQ(h.cheapest->name, q("BBG Combo 299"));
    EXPECT_EQ(h.cheapest->paise, 109550);
    ASSERT_TRUE(h.chosen);
    EXPECT_EQ(h.chosen->paise, 120536);
    EXPECT_EQ(h.savingPaise(), 10986);
    const QString text = historyText(h);
    EXPECT_TRUE(text.contains(q("Cheapest over these months: BBG Combo 299 Rs. 1095.50")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(q("Saving with the cheapest: Rs. 109.86"))) << text.toStdString();
}

TEST_F(HistoryTest, AllUserIdsWhenNoneIsGivenAndNoBillWithoutAChosenPlan) {
    const History all = history("", std::nullopt);
    ASSERT_EQ(all.months.size(), 3u);
    EXPECT_EQ(all.months[2].user, q("other"));
    EXPECT_EQ(all.totalMB, 4099);
    EXPECT_FALSE(all.months[0].chosen);
    EXPECT_FALSE(all.chosen);
    EXPECT_FALSE(all.savingPaise());
    ASSERT_TRUE(all.cheapest);
    EXPECT_EQ(history("other", std::nullopt).months.size(), 1u);
    EXPECT_TRUE(history("nobody", std::nullopt).months.empty());
}

TEST_F(HistoryTest, AFileThatCannotBeReadIsListedWithItsReasonAndLeftOutOfTheTotals) {
    QFile damaged(dir.filePath(q("2026-09-unbilled-demo.cache2")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("\x01\x02 definitely not a cache file");
    damaged.close();
    QFile(dir.filePath(q("2026-08-unbilled-demo.cache2"))).open(QIODevice::WriteOnly);  // empty

    const History h = history("demo", PlanChoice::catalogue(0));
    ASSERT_EQ(h.months.size(), 4u);
    EXPECT_EQ(h.months[0].period, q("2026-08-unbilled"));
    EXPECT_FALSE(h.months[0].readable());
    EXPECT_TRUE(h.months[0].problem.startsWith(q("cannot be read")))
        << h.months[0].problem.toStdString();
    EXPECT_FALSE(h.months[1].readable());
    EXPECT_TRUE(h.months[1].problem.startsWith(q("cannot be read")));
    EXPECT_EQ(h.readableMonths, 2);
    EXPECT_EQ(h.totalMB, 4000);
    EXPECT_EQ(h.cheapest->paise, 109550);

    const QJsonObject json =
        test::printedJson(QJsonDocument(historyJson(h)).toJson(), test::JsonSchema::History);
    EXPECT_EQ(json.value(q("schemaVersion")).toInt(), 1);
    const QJsonArray months = json.value(q("months")).toArray();
    ASSERT_EQ(months.size(), 4);
    EXPECT_TRUE(months[1].toObject().value(q("error")).toString().startsWith(q("cannot be read")));
    EXPECT_FALSE(months[1].toObject().contains(q("records")));
    const QJsonObject november = months[3].toObject();
    EXPECT_EQ(november.value(q("period")).toString(), q("2026-11-unbilled"));
    EXPECT_EQ(november.value(q("user")).toString(), q("demo"));
    EXPECT_EQ(november.value(q("records")).toInt(), 3);
    EXPECT_EQ(november.value(q("days")).toInt(), 3);
    EXPECT_EQ(november.value(q("monthMB")).toDouble(), 3000);
    // 929.6084 as the Summary shows it.
    EXPECT_EQ(november.value(q("bill")).toObject().value(q("totalAndTax")).toDouble(), 929.61);
    EXPECT_EQ(november.value(q("cheapest")).toObject().value(q("slot")).toInt(), 2);
    const QJsonObject overall = json.value(q("overall")).toObject();
    EXPECT_EQ(overall.value(q("months")).toInt(), 2);
    EXPECT_EQ(overall.value(q("totalMB")).toDouble(), 4000);
    EXPECT_EQ(overall.value(q("cheapest")).toObject().value(q("name")).toString(),
              q("BBG Combo 299"));
    EXPECT_DOUBLE_EQ(overall.value(q("cheapest")).toObject().value(q("totalAndTax")).toDouble(),
                     1095.50);
    EXPECT_DOUBLE_EQ(overall.value(q("chosen")).toObject().value(q("totalAndTax")).toDouble(),
                     1205.36);
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
// plan on the night split) whatever the plan type, where the Summary bills the night plan on
// all the usage under the limited type. Now the column is the Summary's bill under the plan
// type the history is built for; the cheapest plan is still found on what each plan charges.
TEST_F(HistoryTest, TheChosenPlansBillIsTheSummarysUnderThePlanType) {
    // December: 3000 MB, 2000 of them between 03:00 and 04:00.
    save("2026-12-unbilled-night",
         toRowText({q("2026-12-01"), q("03:00:00"), q("01:00:00"), q("1"), q("1"), q("2000")}) +
             record(q("2026-12-02"), "1000"));
    struct Case {
        PlanKind planKind;
        const char* bill;
        std::int64_t paise;
    };
    // BBG FN Combo 500 allows 1536 MB: all 3000 MB charged under the limited type, only the
    // 1000 MB outside the night under the night-unlimited one.
    for (const Case& c : {Case{PlanKind::Limited, "Rs. 874.46", 87446},
                          Case{PlanKind::NightUnlimited, "Rs. 551.50", 55150}}) {
        SCOPED_TRACE(planKindNumber(c.planKind));
        const History h = buildHistory(dir.path(), q("night"), PlanChoice::catalogue(3),
                                       QDate(2026, 12, 7), c.planKind);
        ASSERT_EQ(h.months.size(), 1u);
        ASSERT_TRUE(h.months[0].chosen);
        EXPECT_EQ(h.months[0].chosen->totalAndTaxText, q(c.bill));
        ASSERT_TRUE(h.chosen);
        EXPECT_EQ(h.chosen->paise, c.paise);
        EXPECT_EQ(h.months[0].cheapest.totalAndTaxText,
                  h.months[0].ranking.front().totalAndTaxText);
        EXPECT_EQ(h.months[0].ranking[1].slot, 3);  // 551.50 on the night split, second
    }
}
