// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/summary_tab.h"
#include "platform/dialogs.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace kestrova;
using L = SummaryLabel;

namespace {

SummaryInputs april15(std::int32_t total) {
    return {total, total, QDate(2013, 4, 15), 40};
}

SummaryTab::Clock fixedDay(QDate day) {
    return [day] { return day; };
}

bool anyTouched(const SummaryFigures& f) {
    for (const LabelFigure& label : f.labels) {
        if (label.touched) {
            return true;
        }
    }
    return false;
}

TEST(SummaryTab, NoPlanSelectedChangesNothing) {
    SummaryTab tab(fixedDay(QDate(2013, 4, 20)));
    tab.setInputs(april15(1200));
    tab.loadCombo(0);
    const SummaryFigures before = tab.figures();
    tab.selectListIndex(-1);
    tab.setInputs(april15(5));
    EXPECT_FALSE(tab.createSummary());
    EXPECT_FALSE(anyTouched(tab.figures()));
    for (int i = 0; i < kSummaryLabelCount; ++i) {
        EXPECT_EQ(tab.figures().labels[std::size_t(i)].shown, before.labels[std::size_t(i)].shown);
    }
}

TEST(SummaryTab, CustomPlanCopiesTheEditBoxesAndShowsThemInstead) {
    SummaryTab tab(fixedDay(QDate(2013, 4, 20)));
    tab.setInputs(april15(1200));
    tab.loadCombo(29);
    tab.setEditBoxValue(PlanEditBox::PlanChargeEdit, 400);
    tab.setEditBoxValue(PlanEditBox::RsPerMBEdit, 0.25);
    EXPECT_TRUE(tab.figures().customFiguresShown);
    EXPECT_EQ(tab.plans().record(29).text(PlanCharge), QStringLiteral("400"));
    // 176 MB over at 0.25 is 44; (400 + 44) with 10.3 % tax.
    EXPECT_EQ(tab.figures().shown(L::BillTotalAndTaxLabel), QStringLiteral("Rs. 489.73"));

    tab.loadCombo(29);
    EXPECT_DOUBLE_EQ(tab.editBoxValue(PlanEditBox::PlanChargeEdit), 400);
    EXPECT_EQ(tab.figures().shown(L::BillPlanChargeLabel), QStringLiteral("Rs. 400"));
    tab.loadCombo(0);
    EXPECT_FALSE(tab.figures().customFiguresShown);
    EXPECT_EQ(tab.plans().record(29).text(PlanCharge), QStringLiteral(" 0"));
}

TEST(SummaryTab, AFailureShowsItsDescriptionAndLeavesTheFigures) {
    RecordingDialogs recorder;
    ScopedDialogs scope(recorder);
    SummaryTab tab(fixedDay(QDate(2013, 4, 20)));
    tab.setInputs(april15(1200));
    tab.loadCombo(0);
    const QString shown = tab.figures().shown(L::BillTotalAndTaxLabel);
    tab.setInputs(SummaryInputs{1200, 1200, QDate(), 0});
    EXPECT_FALSE(tab.createSummary());
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].icon, MessageIcon::None);
    EXPECT_TRUE(recorder.messages[0].title.isEmpty());
    EXPECT_FALSE(recorder.messages[0].text.isEmpty());
    EXPECT_EQ(tab.figures().shown(L::BillTotalAndTaxLabel), shown);
}

}  // namespace
