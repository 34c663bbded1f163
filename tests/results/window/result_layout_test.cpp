// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The resize rules on plain rectangles: where each control goes for a window size, that a size
// too small for a control leaves it as it was while everything else still moves, and that
// growing again gives the layout back.

#include "results/window/result_layout.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

// Table rows print as their names in the test list.
template <typename Row>
requires requires(const Row& r) {
    r.name;
}
void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

// The design places and the sizes the controls' contents ask for (twips).
ResultLayout designed() {
    ResultLayout l;
    l[Placed::ctlTabs1] = {90, 45, 0, 0};
    l[Placed::fraFooter] = {0, 0, 0, 600};
    l[Placed::cmdClose] = {0, 90, 1320, 405};
    for (Placed frame : {Placed::fraReport, Placed::fraChart, Placed::fraSummary}) {
        l[frame] = {150, 315, 0, 0};
    }
    l[Placed::cmbChartType] = {100, 0, 1800, 390};
    l[Placed::cmdCopyChart] = {2020, 0, 1320, 405};
    l[Placed::fraBuiltinChartOptions] = {0, 0, 5200, 480};
    l[Placed::fraChartColors] = {0, 0, 4600, 480};
    l[Placed::XChart1] = {50, 100, 0, 0};
    l[Placed::OLE1] = {50, 100, 0, 0};
    l[Placed::fraReportFooter] = {0, 0, 2400, 450};
    l[Placed::cmdExport] = {100, 0, 1320, 405};
    l[Placed::cmdSave] = {1540, 0, 1500, 405};
    l[Placed::WebBrowser1] = {10, 100, 0, 0};
    return l;
}

TEST(ResizeResultWindow, PlacesEveryControlByTheRules) {
    ResultLayout l = designed();
    ResizeResultWindow(l, 12120, 9405);

    EXPECT_EQ(l[Placed::ctlTabs1], (TwipRect{90, 45, 11820, 8405}));
    EXPECT_EQ(l[Placed::fraFooter], (TwipRect{0, 8455, 12120, 600}));
    EXPECT_EQ(l[Placed::cmdClose].left, 12120 - 1320 - 400);
    for (Placed frame : {Placed::fraReport, Placed::fraChart, Placed::fraSummary}) {
        EXPECT_EQ(l[frame], (TwipRect{150, 315, 11520, 8055}));
    }
    // Chart tab: the bottom row 100 above the frame's bottom, the option frames 100 from its
    // right edge, the charts over the rest.
    EXPECT_EQ(l[Placed::cmbChartType], (TwipRect{100, 8055 - 390 - 100, 1800, 390}));
    EXPECT_EQ(l[Placed::cmdCopyChart].top, 8055 - 405 - 100);
    EXPECT_EQ(l[Placed::fraBuiltinChartOptions],
              (TwipRect{11520 - 5200 - 100, 8055 - 480 - 100, 5200, 480}));
    EXPECT_EQ(l[Placed::fraChartColors],
              (TwipRect{11520 - 4600 - 100, 8055 - 480 - 100, 4600, 480}));
    EXPECT_EQ(l[Placed::XChart1], (TwipRect{50, 100, 11420, 8055 - 480 - 400}));
    EXPECT_EQ(l[Placed::OLE1], l[Placed::XChart1]);
    // Report tab.
    EXPECT_EQ(l[Placed::fraReportFooter],
              (TwipRect{11520 - 2400 - 100, 8055 - 450 - 100, 2400, 450}));
    EXPECT_EQ(l[Placed::cmdExport], (TwipRect{100, 8055 - 405 - 100, 1320, 405}));
    EXPECT_EQ(l[Placed::cmdSave].top, 8055 - 405 - 100);
    EXPECT_EQ(l[Placed::WebBrowser1], (TwipRect{10, 100, 11500, 8055 - 450 - 350}));
}

struct TinyWindow {
    const char* name;
    int width;
    int height;
};

class ResizeTooSmall : public ::testing::TestWithParam<TinyWindow> {};

// Sizes that come out negative are skipped (the control keeps the size it had); positions are
// still set, negative or not, and the other statements still run.
TEST_P(ResizeTooSmall, SkipsOnlyTheNegativeSizes) {
    ResultLayout before = designed();
    ResizeResultWindow(before, 12120, 9405);
    ResultLayout l = before;
    const TinyWindow w = GetParam();
    ResizeResultWindow(l, w.width, w.height);

    EXPECT_EQ(l[Placed::fraFooter].width, w.width);
    EXPECT_EQ(l[Placed::fraFooter].top, w.height - 600 - 350);
    EXPECT_EQ(l[Placed::cmdClose].left, w.width - 1320 - 400);
    if (w.width - 300 < 0) {
        EXPECT_EQ(l[Placed::ctlTabs1].width, before[Placed::ctlTabs1].width);
    } else {
        EXPECT_EQ(l[Placed::ctlTabs1].width, w.width - 300);
    }
    if (w.height - 600 - 400 < 0) {
        EXPECT_EQ(l[Placed::ctlTabs1].height, before[Placed::ctlTabs1].height);
    }
    for (const TwipRect& box : l.boxes) {
        EXPECT_GE(box.width, 0);
        EXPECT_GE(box.height, 0);
    }
    // The frames follow the tab strip as it now is, and the charts follow the frame.
    const int frameWidth = l[Placed::ctlTabs1].width - 300;
    EXPECT_EQ(l[Placed::fraChart].width,
              frameWidth >= 0 ? frameWidth : before[Placed::fraChart].width);
    const int chartWidth = l[Placed::fraChart].width - 100;
    EXPECT_EQ(l[Placed::XChart1].width,
              chartWidth >= 0 ? chartWidth : before[Placed::XChart1].width);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ResizeTooSmall,
                         ::testing::Values(TinyWindow{"Minimised", 0, 0},
                                           TinyWindow{"OnePixel", 15, 15},
                                           TinyWindow{"NarrowButTall", 200, 9405},
                                           TinyWindow{"WideButFlat", 12120, 900},
                                           TinyWindow{"JustTooShortForTheChart", 12120, 2300}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ResizeResultWindow, GrowingAfterATinySizeRestoresTheLayout) {
    ResultLayout direct = designed();
    ResizeResultWindow(direct, 12120, 9405);

    ResultLayout l = designed();
    ResizeResultWindow(l, 12120, 9405);
    ResizeResultWindow(l, 30, 30);
    ResizeResultWindow(l, 5000, 400);
    ResizeResultWindow(l, 12120, 9405);
    EXPECT_EQ(l, direct);
}

TEST(OuterWindowTwips, AddsTheDesignFrameToTheClientArea) {
    EXPECT_EQ(outerWindowTwips(QSize(800, 600), 15, 15), QSize(12120, 9405));
    EXPECT_EQ(outerWindowTwips(QSize(0, 0), 15, 15),
              QSize(kDesignFrameWidthTwips, kDesignFrameHeightTwips));
    // 120 dpi: 12 twips a pixel.
    EXPECT_EQ(outerWindowTwips(QSize(100, 50), 12, 12), QSize(1320, 1005));
}

}  // namespace
TEST(FitIntoScreen, BringsTheWindowOntoTheAvailableArea) {
    const QRect area(0, 30, 1280, 770);
    struct Row {
        const char* name;
        QRect window;
        QSize minimum;
        QRect expected;
    };
    const Row rows[] = {
        {"AlreadyInside", {100, 100, 800, 600}, {}, {100, 100, 800, 600}},
        {"PastTheRightEdge", {900, 100, 800, 600}, {}, {480, 100, 800, 600}},
        {"AboveThePanel", {100, 0, 800, 600}, {}, {100, 30, 800, 600}},
        {"TallerThanTheArea", {100, 100, 800, 2000}, {}, {100, 30, 800, 770}},
        {"MinimumLargerThanTheArea", {100, 100, 800, 600}, {400, 900}, {100, 30, 800, 900}},
        {"FarAwayNegative", {-5000, -5000, 300, 200}, {}, {0, 30, 300, 200}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(fitIntoScreen(row.window, area, row.minimum), row.expected) << row.name;
    }
}

}  // namespace kestrova
