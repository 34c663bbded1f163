// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/colour_ref.h"
#include "platform/twips.h"

#include "controls/test_strings.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>
#include <QScreen>

using namespace kestrova;

namespace {
// Every role a system colour can map to, each with its own colour.
QPalette distinctPalette() {
    QPalette p;
    int n = 1;
    for (QPalette::ColorRole role :
         {QPalette::Base, QPalette::Text, QPalette::Button, QPalette::Dark, QPalette::ButtonText,
          QPalette::Light, QPalette::ToolTipText, QPalette::ToolTipBase, QPalette::Window,
          QPalette::Mid, QPalette::Shadow, QPalette::Midlight, QPalette::WindowText}) {
        p.setColor(QPalette::Active, role, QColor(n, 2 * n, 3 * n));
        p.setColor(QPalette::Inactive, role, QColor(n, 2 * n, 3 * n));
        p.setColor(QPalette::Disabled, role, QColor(200 + n, 0, 0));
        ++n;
    }
    return p;
}
}  // namespace

TEST(ColourRef, PackedValuesHaveRedInTheLowByte) {
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x563412u);
    EXPECT_EQ(toQColor(0x563412u), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(toQColor(14811105u), QColor(225, 255, 225));  // the free rows' default background
    EXPECT_EQ(fromQColor(QColor(0x12, 0x34, 0x56)), 0x563412u);
    EXPECT_EQ(fromQColor(QColor(0x12, 0x34, 0x56, 0x80)), 0x563412u);  // alpha dropped
    EXPECT_FALSE(isSystemColor(0x00FFFFFFu));
    EXPECT_TRUE(isSystemColor(0x8000000Fu));
}

struct SystemCase {
    const char* name;
    ColorRef ref;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

class SystemColour : public ::testing::TestWithParam<SystemCase> {};

TEST_P(SystemColour, ResolvesThroughItsPaletteRole) {
    const SystemCase& c = GetParam();
    const QPalette p = distinctPalette();
    EXPECT_EQ(toQColor(c.ref, p), p.color(c.group, c.role));
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, SystemColour,
    ::testing::Values(
        SystemCase{"WindowBackground5", 0x80000005u, QPalette::Active, QPalette::Base},
        SystemCase{"WindowText8", 0x80000008u, QPalette::Active, QPalette::Text},
        SystemCase{"ButtonFace15", 0x8000000Fu, QPalette::Active, QPalette::Button},
        SystemCase{"ButtonShadow16", 0x80000010u, QPalette::Active, QPalette::Dark},
        SystemCase{"GreyText17", 0x80000011u, QPalette::Disabled, QPalette::Text},
        SystemCase{"ButtonText18", 0x80000012u, QPalette::Active, QPalette::ButtonText},
        SystemCase{"ButtonHighlight20", 0x80000014u, QPalette::Active, QPalette::Light},
        SystemCase{"TooltipText23", 0x80000017u, QPalette::Active, QPalette::ToolTipText},
        SystemCase{"TooltipBackground24", 0x80000018u, QPalette::Active, QPalette::ToolTipBase},
        SystemCase{"OtherNumbersGiveTheWindowColour", 0x80000001u, QPalette::Active,
                   QPalette::Window},
        SystemCase{"TheNumberIsTheWholeLowPart", 0x80000105u, QPalette::Active, QPalette::Window}),
    ByName());

TEST(ColourRef, SystemColourWithoutAPaletteUsesTheApplications) {
    EXPECT_EQ(toQColor(0x8000000Fu), QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(fromQColor(toQColor(0x80000005u, distinctPalette())), RGB(1, 2, 3));
}

// Layouts, stored window places and the chart's boxes all round through these two, so a
// change of rounding would move every control by a pixel.
TEST(Twips, ConversionRoundsToTheNearestWholeUnit) {
    struct Case {
        double from;
        double twipsPerPixel;
        int pixels;  // twipsToPixels(from, ...)
        int twips;   // pixelsToTwips(from, ...)
    };
    for (const Case& c : {Case{0, 15, 0, 0}, Case{60, 15, 4, 900}, Case{7, 15, 0, 105},
                          Case{7.5, 15, 1, 113}, Case{22.5, 15, 2, 338}, Case{-7.5, 15, -1, -113},
                          Case{18, 12, 2, 216}, Case{405, 12, 34, 4860}, Case{0.5, 1, 1, 1}}) {
        SCOPED_TRACE(testing::Message() << c.from << " at " << c.twipsPerPixel);
        EXPECT_EQ(twipsToPixels(c.from, c.twipsPerPixel), c.pixels);
        EXPECT_EQ(pixelsToTwips(c.from, c.twipsPerPixel), c.twips);
    }
}

TEST(Twips, PixelRectRoundsEachMeasureOnItsOwn) {
    ASSERT_DOUBLE_EQ(twipsPerPixelX(), 15.0);
    EXPECT_EQ(pixelRect(TwipRect{100, 7, 11420, 8055}), QRect(7, 0, 761, 537));
    EXPECT_EQ(pixelRect(TwipRect{}), QRect(0, 0, 0, 0));
    EXPECT_EQ(twipsX(761), 11415);
    EXPECT_EQ(pixelsY(8055), 537);
}
