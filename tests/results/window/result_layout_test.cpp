// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The resize rules on plain rectangles: a size too small for a control leaves it as it was
// while everything else still moves, and growing again gives the layout back. Where each
// control goes is seen on the window itself (main_window_test: nothing overlaps or is cut).

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
    l[Placed::TabStrip] = {90, 45, 0, 0};
    l[Placed::FooterGroup] = {0, 0, 0, 600};
    l[Placed::CloseButton] = {0, 90, 1320, 405};
    for (Placed frame : {Placed::ReportGroup, Placed::ChartGroup, Placed::SummaryGroup}) {
        l[frame] = {150, 315, 0, 0};
    }
    l[Placed::ChartTypeCombo] = {100, 0, 1800, 390};
    l[Placed::CopyChartButton] = {2020, 0, 1320, 405};
    l[Placed::BuiltinChartOptionsGroup] = {0, 0, 5200, 480};
    l[Placed::ChartColorsGroup] = {0, 0, 4600, 480};
    l[Placed::XChart] = {50, 100, 0, 0};
    l[Placed::OfficeChartHost] = {50, 100, 0, 0};
    l[Placed::ReportFooterGroup] = {0, 0, 2400, 450};
    l[Placed::ExportButton] = {100, 0, 1320, 405};
    l[Placed::SaveButton] = {1540, 0, 1500, 405};
    l[Placed::WebBrowser] = {10, 100, 0, 0};
    return l;
}

struct TinyWindow {
    const char* name;
    int width;
    int height;
};

class ResizeTooSmall : public ::testing::TestWithParam<TinyWindow> {};

// Sizes that come out negative are skipped (the control keeps the size it had) while the other
// statements still run; growing again gives the layout back.
TEST_P(ResizeTooSmall, SkipsOnlyTheNegativeSizesAndGrowsBack) {
    ResultLayout before = designed();
    resizeResultWindow(before, 12120, 9405);
    ResultLayout l = before;
    const TinyWindow w = GetParam();
    resizeResultWindow(l, w.width, w.height);

    EXPECT_EQ(l[Placed::FooterGroup].width, w.width);
    EXPECT_EQ(l[Placed::TabStrip].width,
              w.width - 300 < 0 ? before[Placed::TabStrip].width : w.width - 300);
    for (const TwipRect& box : l.boxes) {
        EXPECT_GE(box.width, 0);
        EXPECT_GE(box.height, 0);
    }
    // The frames follow the tab strip as it now is, and the charts follow the frame.
    const int frameWidth = l[Placed::TabStrip].width - 300;
    EXPECT_EQ(l[Placed::ChartGroup].width,
              frameWidth >= 0 ? frameWidth : before[Placed::ChartGroup].width);
    const int chartWidth = l[Placed::ChartGroup].width - 100;
    EXPECT_EQ(l[Placed::XChart].width, chartWidth >= 0 ? chartWidth : before[Placed::XChart].width);

    resizeResultWindow(l, 12120, 9405);
    EXPECT_EQ(l, before);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ResizeTooSmall,
                         ::testing::Values(TinyWindow{"Minimised", 0, 0},
                                           TinyWindow{"OnePixel", 15, 15},
                                           TinyWindow{"NarrowButTall", 200, 9405},
                                           TinyWindow{"WideButFlat", 12120, 900},
                                           TinyWindow{"JustTooShortForTheChart", 12120, 2300}),
                         [](const auto& p) { return std::string(p.param.name); });

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
