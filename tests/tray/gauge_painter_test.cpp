// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The tray item's gauge as pictures: drawn by its icon at each panel size (16, 22, 32 and 64
// pixels) and at twice the scale, each colour where it belongs, and readable on a light and on
// a dark panel.

#include "tray/gauge_painter.h"

#include "support/palettes.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QPixmap>

#include <cmath>
#include <numbers>

namespace kestrova {
namespace {

enum class Role { Rim, Disc, Level };

// A point of the gauge: clockwise from twelve o'clock, and how far out from the middle as a
// share of the wedge's radius (the wedge lies inside the rim and a gap of its width).
struct Probe {
    double degrees;
    double out;
    Role role;
};

struct GaugeCase {
    const char* name;
    GaugeState state;
    std::vector<Probe> probes;
};

void PrintTo(const GaugeCase& c, std::ostream* os) {
    *os << c.name;
}

const GaugeCase kCases[] = {
    {"HalfUsedLastingFillsTheRightHalfGreen",
     {GaugeLevel::LastsTheMonth, 0.5},
     {{90, 0.6, Role::Level}, {270, 0.6, Role::Disc}}},
    {"ThreeQuartersRunningOutFillsToNineOClockAmber",
     {GaugeLevel::RunsOut, 0.75},
     {{180, 0.6, Role::Level}, {240, 0.6, Role::Level}, {315, 0.6, Role::Disc}}},
    {"RanOutIsAFullRedDiscWhateverTheShare",
     {GaugeLevel::RanOut, 0.3},
     {{90, 0.6, Role::Level}, {270, 0.6, Role::Level}}},
    {"NothingUsedYetIsAnEmptyDisc", {GaugeLevel::LastsTheMonth, 0}, {{90, 0.6, Role::Disc}}},
    {"UnlimitedIsAGreenRingRoundTheDisc",
     {GaugeLevel::Unlimited, 0.4},
     {{90, 0.85, Role::Level}, {270, 0.85, Role::Level}, {0, 0, Role::Disc}}},
    {"NoCheckIsAGreyBar", {GaugeLevel::Unknown, 0}, {{0, 0, Role::Level}, {0, 0.8, Role::Disc}}},
};

struct Panel {
    const char* name;
    QColor colour;
};
const Panel kPanels[] = {{"light", testing::lightPalette().color(QPalette::Window)},
                         {"dark", testing::darkPalette().color(QPalette::Window)}};

QColor expected(Role role, GaugeLevel level) {
    switch (role) {
        case Role::Rim:
            return GaugePainter::rimColour();
        case Role::Disc:
            return GaugePainter::discColour();
        case Role::Level:
            break;
    }
    return GaugePainter::levelColour(level);
}

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) <= 24 && std::abs(a.green() - b.green()) <= 24 &&
           std::abs(a.blue() - b.blue()) <= 24;
}

// The icon over a panel's colour, as the panel shows it.
QImage onPanel(const QImage& icon, QColor panel) {
    QImage shown(icon.size(), QImage::Format_ARGB32_Premultiplied);
    shown.fill(panel);
    QPainter p(&shown);
    p.drawImage(0, 0, icon);
    return shown;
}

class Gauge : public ::testing::TestWithParam<std::tuple<GaugeCase, int, int>> {};

TEST_P(Gauge, IsDrawnAtTheSizeAskedForWithEachColourWhereItBelongs) {
    const auto& [c, logical, scale] = GetParam();
    const QPixmap pixmap = gaugeIcon(c.state).pixmap(QSize(logical, logical), qreal(scale));
    const QImage icon = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    const int side = logical * scale;
    // Drawn for this size, not another size's picture scaled.
    ASSERT_EQ(icon.size(), QSize(side, side));
    EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), scale);

    // Round: the corners are the panel's own.
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(side - 1, 0), QPoint(0, side - 1), QPoint(side - 1, side - 1)}) {
        EXPECT_EQ(qAlpha(icon.pixel(corner)), 0) << "a corner is painted";
    }
    // The rim: a whole device pixel or more at twelve o'clock, opaque.
    const QRgb rim = icon.pixel(side / 2, 0);
    EXPECT_TRUE(qAlpha(rim) >= 230 && near(QColor::fromRgb(rim), GaugePainter::rimColour()))
        << "no rim at the top edge";

    const double rimWidth = std::max(1.0, std::round(side / 16.0));
    const double wedgeRadius = side / 2.0 - 2 * rimWidth;
    for (const Probe& probe : c.probes) {
        const double angle = probe.degrees * std::numbers::pi / 180;
        const double x = side / 2.0 + std::sin(angle) * probe.out * wedgeRadius;
        const double y = side / 2.0 - std::cos(angle) * probe.out * wedgeRadius;
        const QRgb pixel =
            icon.pixel(std::clamp(int(x), 0, side - 1), std::clamp(int(y), 0, side - 1));
        const QColor want = expected(probe.role, c.state.level);
        EXPECT_TRUE(qAlpha(pixel) == 255 && near(QColor::fromRgb(pixel), want))
            << "at " << probe.degrees << " degrees, " << probe.out
            << " out: " << QColor::fromRgba(pixel).name(QColor::HexArgb).toStdString()
            << " instead of " << want.name().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(SizesAndScales, Gauge,
                         ::testing::Combine(::testing::ValuesIn(kCases),
                                            ::testing::Values(16, 22, 32, 64),
                                            ::testing::Values(1, 2)),
                         [](const ::testing::TestParamInfo<Gauge::ParamType>& row) {
                             return std::string(std::get<0>(row.param).name) + "_" +
                                    std::to_string(std::get<1>(row.param)) + "px_" +
                                    std::to_string(std::get<2>(row.param)) + "x";
                         });

// On any panel, light or dark, the gauge's outline stands out (its rim on a dark one, its disc
// on a light one), and each colour of the wedge stands out from the disc it is drawn on.
TEST(GaugeColours, ReadOnLightAndDarkPanels) {
    for (const Panel& panel : kPanels) {
        SCOPED_TRACE(panel.name);
        for (const int side : {16, 22}) {
            const QImage shown =
                onPanel(GaugePainter({GaugeLevel::LastsTheMonth, 0}).image(side), panel.colour);
            const QColor rim = QColor::fromRgb(shown.pixel(side / 2, 0));
            const QColor disc = QColor::fromRgb(shown.pixel(side / 2, side / 2));
            EXPECT_GE(std::max(contrastRatio(rim, panel.colour), contrastRatio(disc, panel.colour)),
                      3.0)
                << side << " px: the gauge melts into the panel";
        }
    }
    for (const GaugeLevel level :
         {GaugeLevel::LastsTheMonth, GaugeLevel::RunsOut, GaugeLevel::RanOut, GaugeLevel::Unlimited,
          GaugeLevel::Unknown}) {
        EXPECT_GE(contrastRatio(GaugePainter::levelColour(level), GaugePainter::discColour()), 3.0)
            << GaugePainter::levelColour(level).name().toStdString();
    }
    // Three levels, three colours.
    EXPECT_NE(GaugePainter::levelColour(GaugeLevel::LastsTheMonth),
              GaugePainter::levelColour(GaugeLevel::RunsOut));
    EXPECT_NE(GaugePainter::levelColour(GaugeLevel::RunsOut),
              GaugePainter::levelColour(GaugeLevel::RanOut));
}

}  // namespace
}  // namespace kestrova
