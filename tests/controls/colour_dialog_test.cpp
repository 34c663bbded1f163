// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/colour_dialog.h"

#include "platform/dialogs.h"

#include <gtest/gtest.h>

using namespace kestrova;

namespace {
bool allWhite(const ColorRequest& r) {
    for (std::uint32_t c : r.customColors) {
        if (c != 0xFFFFFFu) {
            return false;
        }
    }
    return true;
}
}  // namespace

class ColourDialog : public ::testing::Test {
protected:
    RecordingDialogs rec;
    ScopedDialogs scope{rec};
    CommonDialog dlg;
};

TEST_F(ColourDialog, ConfirmTakesTheChosenColour) {
    dlg.setFlags(1);
    dlg.setColor(RGB(1, 2, 3));
    dlg.setDialogTitle(QStringLiteral("ignored"));
    dlg.setInitDir(QStringLiteral("/ignored"));
    rec.colors.push_back(RGB(200, 100, 50));
    dlg.showColor();
    EXPECT_EQ(dlg.apiReturn(), 1);
    EXPECT_EQ(dlg.color(), RGB(200, 100, 50));
    EXPECT_EQ(dlg.action(), 3);
    EXPECT_EQ(dlg.extendedError(), 0);
    ASSERT_EQ(rec.colorRequests.size(), 1u);
    EXPECT_EQ(rec.colorRequests[0].initial, RGB(1, 2, 3));
    EXPECT_EQ(rec.colorRequests[0].flags, 1u);
    EXPECT_TRUE(allWhite(rec.colorRequests[0]));

    // The next call starts from the last choice, again with sixteen white custom colours.
    rec.colors.push_back(RGB(2, 2, 2));
    dlg.showColor();
    ASSERT_EQ(rec.colorRequests.size(), 2u);
    EXPECT_EQ(rec.colorRequests[1].initial, RGB(200, 100, 50));
    EXPECT_TRUE(allWhite(rec.colorRequests[1]));
}

// A cancel keeps the colour; it raises "Cancel Pressed" only with cancelError set.
TEST_F(ColourDialog, CancelKeepsTheColourAndRaisesOnlyWithCancelError) {
    dlg.setColor(RGB(9, 8, 7));
    rec.colors.push_back(RGB(200, 100, 50));
    dlg.showColor();  // a first call that confirms leaves apiReturn 1 behind
    rec.colors.push_back(std::nullopt);
    dlg.setColor(RGB(9, 8, 7));
    EXPECT_NO_THROW(dlg.showColor());
    EXPECT_EQ(dlg.apiReturn(), 0);
    EXPECT_EQ(dlg.color(), RGB(9, 8, 7));

    dlg.setCancelError(true);
    rec.colors.push_back(std::nullopt);
    try {
        dlg.showColor();
        FAIL() << "no error raised";
    } catch (const CommonDialogError& e) {
        EXPECT_EQ(e.number(), -2147220610);
        EXPECT_EQ(e.description(), u"Cancel Pressed");
    }
    EXPECT_EQ(dlg.color(), RGB(9, 8, 7));
}
