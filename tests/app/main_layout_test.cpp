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
    EXPECT_EQ(l.fraPassword.width, 9500);   // 300 - 400 < 0
    EXPECT_EQ(l.fraPassword.height, 7800);  // 1000 - 1200 < 0
    EXPECT_EQ(l.ctlPasswordVersion.width, 9375);  // from the kept fraPassword width
    EXPECT_EQ(l.ctlPasswordVersion.height, 7500);  // 250 - 750 < 0
    EXPECT_EQ(l.fraProcessing.width, 9200);
    EXPECT_EQ(l.fraProcessing.height, 7100);
    EXPECT_EQ(l.fraLoginInfo.left, 337);
}

}  // namespace
}  // namespace kestrova
