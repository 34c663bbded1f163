// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/plan_catalogue.h"
#include "platform/failure.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace kestrova;

namespace {

struct ListRow {
    int slot;
    const char16_t* text;
};

// The entry of every slot as the list shows it: the charge padded to five places.
const ListRow kListRows[] = {
    {0, u"  250 - BBG 250"},
    {1, u"  299 - BBG Combo 299"},
    {2, u"  499 - BB Home UL 499"},
    {3, u"  500 - BBG FN Combo 500"},
    {4, u"  599 - BBG FN Combo 599"},
    {5, u"  600 - BBG FN Combo 600"},
    {6, u"  625 - BB Home Combo UL 625"},
    {7, u"  700 - BBG 700"},
    {8, u"  750 - BB Home UL 750"},
    {9, u"  750 - BB Home Combo UL 750"},
    {10, u"  850 - BBG Combo ULD 850"},
    {11, u"  900 - BB Home Combo ULD 900"},
    {12, u" 1000 - BBG Combo ULD 1000"},
    {13, u" 1111 - BBG Combo 1111"},
    {14, u" 1350 - BBG Combo ULD 1350"},
    {15, u" 1700 - BBG Combo ULD 1700"},
    {16, u" 2150 - BBG ULD 2150"},
    {17, u" 2150 - BBG Combo ULD 2150"},
    {18, u" 2799 - BBG Speed Combo 2799"},
    {19, u" 3300 - BBG ULD 3300"},
    {20, u" 3300 - BBG Combo ULD 3300"},
    {21, u" 4999 - BBG Super Speed Combo 4999"},
    {22, u" 6000 - BBG ULD 6000"},
    {23, u" 6000 - BBG Combo ULD 6000"},
    {24, u" 6999 - BBG Super Speed Combo 6999"},
    {25, u" 9000 - BBG UL 9000"},
    {26, u" 9000 - BBG Combo UL 9000"},
    {27, u"15000 - BBG UL 15000"},
    {28, u"15000 - BBG Combo UL 15000"},
    {29, u"Custom/User entered"},
};

void PrintTo(const ListRow& row, std::ostream* os) {
    *os << "slot " << row.slot;
}

class PlanListEntryText : public ::testing::TestWithParam<ListRow> {};

TEST_P(PlanListEntryText, ShowsPaddedChargeAndNameWithItemDataTheSlot) {
    const std::vector<PlanListEntry> entries = planListEntries(PlanTable());
    ASSERT_EQ(entries.size(), std::size(kListRows));
    const ListRow row = GetParam();
    EXPECT_EQ(entries[std::size_t(row.slot)].text, QString::fromUtf16(row.text));
    EXPECT_EQ(entries[std::size_t(row.slot)].itemData, row.slot);
}

INSTANTIATE_TEST_SUITE_P(EveryCatalogueLine, PlanListEntryText, ::testing::ValuesIn(kListRows),
                         [](const auto& p) { return "Slot" + std::to_string(p.param.slot); });

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
    EXPECT_TRUE(table.holdsRecord(29));
    EXPECT_FALSE(table.holdsRecord(30));
    EXPECT_THROW(table.record(100), Failure);
}

TEST(PlanTable, RebuildDiscardsFiguresCopiedIntoTheCustomRecord) {
    PlanTable table;
    table.record(kCustomPlanSlot).fields[PlanCharge] = QStringLiteral("400");
    table.rebuild();
    EXPECT_EQ(table.record(kCustomPlanSlot).text(PlanCharge), QStringLiteral(" 0"));
}

TEST(leftPad, PadsShortTextsAndLeavesLongOnesAlone) {
    EXPECT_EQ(leftPad(QStringLiteral("250"), 5), QStringLiteral("  250"));
    EXPECT_EQ(leftPad(QStringLiteral("15000"), 5), QStringLiteral("15000"));
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
