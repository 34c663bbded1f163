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
