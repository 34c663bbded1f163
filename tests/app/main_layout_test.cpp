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
    l.tabStrip = {120, 120, 9650, 8250};
    l.passwordGroup = {75, 405, 9500, 7800};
    l.portalTabs = {60, 120, 9375, 7500};
    l.loginInfoGroup = {337, 330, 8700, 6900};
    l.useCacheDataGroup = {75, 405, 9500, 7800};
    l.processingGroup = {90, 330, 9200, 7100};
    l.webBrowser = {100, 500, 9000, 6500};
    return l;
}

// A window too small for a rule skips that statement: the control keeps its size, and the
// statements reading it use the kept value.
TEST(resizeMainWindow, ASizeThatCannotBeAppliedIsSkipped) {
    MainLayout l = designed();
    resizeMainWindow(l, 300, 1000);
    EXPECT_EQ(l.tabStrip, (TwipRect{120, 120, 50, 250}));
    EXPECT_EQ(l.passwordGroup.width, 9500);   // 300 - 400 < 0
    EXPECT_EQ(l.passwordGroup.height, 7800);  // 1000 - 1200 < 0
    EXPECT_EQ(l.portalTabs.width, 9375);      // from the kept passwordGroup width
    EXPECT_EQ(l.portalTabs.height, 7500);     // 250 - 750 < 0
    EXPECT_EQ(l.processingGroup.width, 9200);
    EXPECT_EQ(l.processingGroup.height, 7100);
    EXPECT_EQ(l.loginInfoGroup.left, 337);
}

// Below the design size the fixed-size frame stood wider than its page, its left edge off
// the page and every caption cut. It is fitted to the page there, and has its natural size
// wherever the page has room for it.
TEST(fitFixedFrames, NaturalSizeWhereThereIsRoomElseThePage) {
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
        // portalTabs 8475 x 4500.
        {"Smaller", 9000, 6000, {45, 330, 8385, 4125}},
    };
    for (const Row& row : rows) {
        MainLayout l;
        l.tabStrip = {120, 120, 0, 0};
        l.passwordGroup = {75, 405, 0, 0};
        l.portalTabs = {60, 120, 0, 0};
        l.loginInfoGroup = {0, 330, 8700, 6900};
        resizeMainWindow(l, row.width, row.height);
        fitFixedFrames(l, loginInfo);
        EXPECT_EQ(l.loginInfoGroup, row.expectedLogin) << row.name;
        // The cache page fills its page.
        EXPECT_EQ(l.useCacheDataGroup, l.passwordGroup) << row.name;
        // Inside their pages, below the tabs, whatever the size.
        EXPECT_LE(l.loginInfoGroup.left + l.loginInfoGroup.width, l.portalTabs.width);
        EXPECT_LE(l.loginInfoGroup.top + l.loginInfoGroup.height, l.portalTabs.height);
        EXPECT_LE(l.useCacheDataGroup.left + l.useCacheDataGroup.width, l.tabStrip.width);
    }
    // A larger font asks for more than the design size: the frame grows where there is room.
    MainLayout l = designed();
    resizeMainWindow(l, 12000, 10000);
    fitFixedFrames(l, QSize(9000, 7200));
    EXPECT_EQ(l.loginInfoGroup, (TwipRect{1237, 330, 9000, 7200}));
}

}  // namespace
}  // namespace kestrova
