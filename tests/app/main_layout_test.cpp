// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window's resize rules on rectangles in twips.

#include "app/main_layout.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

MainLayout designed() {
    MainLayout l;
    l.ctlTabs1 = {120, 120, 9650, 8250};
    l.fraPassword = {75, 405, 9500, 7800};
    l.ctlPasswordVersion = {60, 120, 9375, 7500};
    l.fraLoginInfo = {337, 330, 8700, 6900};
    l.fraUseCacheData = {75, 405, 9500, 7800};
    l.fraProcessing = {90, 330, 9200, 7100};
    l.WebBrowser1 = {100, 500, 9000, 6500};
    return l;
}

TEST(ResizeMainWindow, FollowsEveryRuleForAWindowThatFits) {
    MainLayout l = designed();
    ResizeMainWindow(l, 12000, 10000);
    EXPECT_EQ(l.ctlTabs1, (TwipRect{120, 120, 11750, 9250}));
    EXPECT_EQ(l.fraPassword, (TwipRect{75, 405, 11600, 8800}));
    EXPECT_EQ(l.ctlPasswordVersion, (TwipRect{60, 120, 11475, 8500}));
    // The fixed-size login frame is centred across the inner tab strip; the cache page with
    // its history fills its page as the login details do.
    EXPECT_EQ(l.fraLoginInfo, (TwipRect{1387, 330, 8700, 6900}));
    EXPECT_EQ(l.fraUseCacheData, l.fraPassword);
    EXPECT_EQ(l.fraProcessing, (TwipRect{90, 330, 11300, 8100}));
    EXPECT_EQ(l.WebBrowser1, (TwipRect{100, 500, 11100, 7500}));
}

TEST(ResizeMainWindow, TheDesignSizeGivesTheDesignLayout) {
    MainLayout l = designed();
    ResizeMainWindow(l, 9900, 9000);
    EXPECT_EQ(l, designed());
}

// A window too small for a rule skips that statement: the control keeps its size, and the
// statements reading it use the kept value.
TEST(ResizeMainWindow, ASizeThatCannotBeAppliedIsSkipped) {
    MainLayout l = designed();
    ResizeMainWindow(l, 300, 1000);
    EXPECT_EQ(l.ctlTabs1, (TwipRect{120, 120, 50, 250}));
    EXPECT_EQ(l.fraPassword.width, 9500);          // 300 - 400 < 0
    EXPECT_EQ(l.fraPassword.height, 7800);         // 1000 - 1200 < 0
    EXPECT_EQ(l.ctlPasswordVersion.width, 9375);   // from the kept fraPassword width
    EXPECT_EQ(l.ctlPasswordVersion.height, 7500);  // 250 - 750 < 0
    EXPECT_EQ(l.fraProcessing.width, 9200);
    EXPECT_EQ(l.fraProcessing.height, 7100);
    EXPECT_EQ(l.fraLoginInfo.left, 337);
}

// Below the design size the fixed-size frame stood wider than its page, its left edge off
// the page and every caption cut. It is fitted to the page there, and has its natural size
// wherever the page has room for it.
TEST(FitFixedFrames, NaturalSizeWhereThereIsRoomElseThePage) {
    const QSize loginInfo(8700, 6900);
    struct Row {
        const char* name;
        int width;
        int height;
        TwipRect expectedLogin;
    };
    const Row rows[] = {
        // The design layout is the rules' own.
        {"Design", 9900, 9000, {337, 330, 8700, 6900}},
        {"Larger", 12000, 10000, {1387, 330, 8700, 6900}},
        // ctlPasswordVersion 8475 x 4500.
        {"Smaller", 9000, 6000, {45, 330, 8385, 4125}},
    };
    for (const Row& row : rows) {
        MainLayout l;
        l.ctlTabs1 = {120, 120, 0, 0};
        l.fraPassword = {75, 405, 0, 0};
        l.ctlPasswordVersion = {60, 120, 0, 0};
        l.fraLoginInfo = {0, 330, 8700, 6900};
        ResizeMainWindow(l, row.width, row.height);
        FitFixedFrames(l, loginInfo);
        EXPECT_EQ(l.fraLoginInfo, row.expectedLogin) << row.name;
        // The cache page fills its page.
        EXPECT_EQ(l.fraUseCacheData, l.fraPassword) << row.name;
        // Inside their pages, below the tabs, whatever the size.
        EXPECT_LE(l.fraLoginInfo.left + l.fraLoginInfo.width, l.ctlPasswordVersion.width);
        EXPECT_LE(l.fraLoginInfo.top + l.fraLoginInfo.height, l.ctlPasswordVersion.height);
        EXPECT_LE(l.fraUseCacheData.left + l.fraUseCacheData.width, l.ctlTabs1.width);
    }
    // A larger font asks for more than the design size: the frame grows where there is room.
    MainLayout l = designed();
    ResizeMainWindow(l, 12000, 10000);
    FitFixedFrames(l, QSize(9000, 7200));
    EXPECT_EQ(l.fraLoginInfo, (TwipRect{1237, 330, 9000, 7200}));
}

}  // namespace
}  // namespace kestrova
