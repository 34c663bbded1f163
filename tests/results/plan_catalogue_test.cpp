// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/plan_catalogue.h"
#include "platform/failure.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace kestrova;

namespace {

// Every catalogue line as the list shows it is held by the command's kept plan rankings; here
// the padding at both ends of the charges and the custom line's place.
TEST(PlanListEntries, ShowThePaddedChargeAndNameWithTheSlotAsItemData) {
    const std::vector<PlanListEntry> entries = planListEntries(PlanTable());
    ASSERT_EQ(entries.size(), 30u);
    EXPECT_EQ(entries[0].text, QStringLiteral("  250 - BBG 250"));
    EXPECT_EQ(entries[28].text, QStringLiteral("15000 - BBG Combo UL 15000"));
    EXPECT_EQ(entries[29].text, QStringLiteral("Custom/User entered"));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].itemData, int(i));
    }
}

TEST(PlanRecord, SplitsAtEveryCommaKeepingTheBlankAfterIt) {
    const PlanTable table;
    const PlanRecord& r = table.record(3);
    EXPECT_EQ(r.text(PlanName), QStringLiteral("BBG FN Combo 500"));
    EXPECT_EQ(r.text(PlanCharge), QStringLiteral(" 500"));
    EXPECT_EQ(r.text(BandwidthLimitMB), QStringLiteral(" 1536"));
    EXPECT_DOUBLE_EQ(r.number(RsPerExcessMB), 0.2);
    EXPECT_TRUE(r.isNightUnlimited());
    EXPECT_TRUE(table.record(2).isUnlimited());
    EXPECT_FALSE(table.record(0).isUnlimited());
}

TEST(PlanTable, HoldsThirtyOfItsHundredAndOneSlots) {
    const PlanTable table;
    int filled = 0;
    for (int slot = -1; slot <= PlanTable::kSlots; ++slot) {
        filled += table.holdsRecord(slot) ? 1 : 0;
    }
    EXPECT_EQ(filled, kCatalogueSize);
    EXPECT_FALSE(table.holdsRecord(30));
    EXPECT_THROW(table.record(100), Failure);
}

TEST(PlanTable, RebuildDiscardsFiguresCopiedIntoTheCustomRecord) {
    PlanTable table;
    PlanRecord& custom = table.record(kCustomPlanSlot);
    custom.setText(PlanCharge, QStringLiteral("400"));
    EXPECT_EQ(custom.number(PlanCharge), 400);
    custom.setText(RsPerExcessMB, QStringLiteral("x"));  // fails where it is used, not here
    EXPECT_THROW(custom.number(RsPerExcessMB), Failure);
    table.rebuild();
    EXPECT_EQ(custom.text(PlanCharge), QStringLiteral(" 0"));
    EXPECT_EQ(custom.number(PlanCharge), 0);
}

TEST(leftPad, PadsShortTextsAndLeavesLongOnesAlone) {
    EXPECT_EQ(leftPad(QStringLiteral("123456"), 5), QStringLiteral("123456"));
    EXPECT_EQ(leftPad(QString(), 2), QStringLiteral("  "));
}

TEST(PlanList, FindsTheCustomLineByPositionAndTheRecordByItemData) {
    PlanList list;
    // Entries out of slot order: the record must come from the item data, not the index.
    list.fill({{QStringLiteral("b"), 7}, {QStringLiteral("a"), 2}, {QStringLiteral("x"), 29}});
    EXPECT_FALSE(list.hasSelection());
    EXPECT_EQ(list.selectedSlot(), std::nullopt);
    list.setListIndex(1);
    EXPECT_EQ(list.selectedSlot(), 2);
    EXPECT_FALSE(list.isCustomSelected());
    list.setListIndex(2);
    EXPECT_TRUE(list.isCustomSelected());
    EXPECT_EQ(list.indexOfSlot(7), 0);
    EXPECT_EQ(list.indexOfSlot(5), -1);
    EXPECT_THROW(list.setListIndex(3), Failure);
    EXPECT_THROW(list.setListIndex(-2), Failure);
}

}  // namespace
