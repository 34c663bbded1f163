// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "chart/chart_painter.h"
#include "chart/chart_geometry.h"
#include "chart/chart_model.h"
#include "chart/chart_surface.h"
#include "chart_test_support.h"
#include "support/palettes.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

using namespace kestrova;
using kestrova::test::item;

namespace {

// 400 x 300 pixels at 15 twips per pixel: ScaleWidth 6000, ScaleHeight 4500, plot from x 825
// to 5175 and y 750 to 3675 with the start margins.
constexpr QRgb kBack = 0xFFFFFFFF;

struct Painted {
    QImage image;
    ChartRedraw redraw;
    QRgb at(int x, int y) const { return image.pixel(x, y); }
};

Painted paint(ChartModel& model, QSize size = QSize(400, 300),
              const QPalette& palette = QGuiApplication::palette()) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    model.computeScale();
    ChartCanvas canvas;
    canvas.scaleWidth = size.width() * 15.0;
    canvas.scaleHeight = size.height() * 15.0;
    canvas.centre = canvas.scaleWidth / 2;
    canvas.font = chartFont();
    canvas.palette = palette;
    QPainter painter(&image);
    ChartRedraw redraw = ChartPainter().draw(painter, model, canvas);
    painter.end();
    model.setGeometry(redraw.geometry);
    return {image, redraw};
}

ChartModel plainModel() {
    ChartModel m(15, 15);
    ChartProperties& p = m.storage();
    p.backColor = RGB(255, 255, 255);
    p.barColor = RGB(255, 0, 0);
    p.selectedBarColor = RGB(0, 255, 0);
    p.barShadowColor = RGB(0, 0, 255);
    p.barFillStyle = 0;
    p.axisYOn = false;
    p.axisXOn = false;
    p.contentBorder = false;
    p.chartTitle.clear();
    return m;
}

int count(const QImage& image, const QRect& area, QRgb colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            n += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

QRgb rgb(ColorRef c) {
    return toQColor(c).rgb();
}

// The box round every pixel inside `area` that is not the white background.
QRect inkBounds(const QImage& image, const QRect& area) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) != kBack) {
                box = box.united(QRect(x, y, 1, 1));
            }
        }
    }
    return box;
}

// ---- Columns -------------------------------------------------------------------------------

TEST(ChartPainter, BarFillOutlineShadowStripAndSelection) {
    ChartModel model = plainModel();
    model.addItem(item(50));
    model.storage().selectedColumn = 0;
    Painted p = paint(model);
    // Slot 855..5175 twips; the shadow pulls the right edge to 5145 (343 px): the box ends at
    // 342 and the strip fills 343..344 from 2 pixels under the value end (148) down to 245.
    EXPECT_EQ(p.at(200, 200), rgb(RGB(255, 0, 0))) << "not selectable: drawn as any column";
    EXPECT_EQ(p.at(57, 200), rgb(RGB(0, 255, 0))) << "outline in SelectedBarColor";
    EXPECT_EQ(p.at(200, 148), rgb(RGB(0, 255, 0))) << "top edge at the value end";
    EXPECT_EQ(p.at(344, 245), rgb(RGB(0, 0, 255)));
    EXPECT_EQ(p.at(343, 149), kBack) << "the strip starts 2 pixels inside the value end";
    EXPECT_EQ(p.at(345, 200), kBack);
    EXPECT_EQ(p.at(200, 246), kBack) << "the column sits on the axis";
    EXPECT_FALSE(p.redraw.selectedDrawn);
    // Selected: the colours swap.
    model.storage().selectable = true;
    p = paint(model);
    EXPECT_EQ(p.at(200, 200), rgb(RGB(0, 255, 0)));
    EXPECT_EQ(p.at(57, 200), rgb(RGB(255, 0, 0)));
    EXPECT_TRUE(p.redraw.selectedDrawn);
}

// Hatch lines that run unbroken through the column: rows for a horizontal hatch, columns for a
// vertical one.
enum class Unbroken { None, Rows, Columns };

struct FillRow {
    const char* name;
    int style;
    double minShare;
    double maxShare;
    Unbroken lines = Unbroken::None;
};

std::ostream& operator<<(std::ostream& os, const FillRow& row) {
    return os << row.name;
}

class FillStyles : public ::testing::TestWithParam<FillRow> {};

TEST_P(FillStyles, ShareOfTheColumnCoveredByTheFill) {
    const FillRow& row = GetParam();
    ChartModel model = plainModel();
    model.storage().barShadow = false;
    model.storage().barFillStyle = std::int16_t(row.style);
    model.addItem(item(80));
    const Painted p = paint(model);
    const QRect inner(80, 120, 200, 100);
    const double share =
        count(p.image, inner, rgb(RGB(255, 0, 0))) / double(inner.width() * inner.height());
    EXPECT_GE(share, row.minShare);
    EXPECT_LE(share, row.maxShare);
    if (row.lines == Unbroken::None) {
        return;
    }
    const bool rows = row.lines == Unbroken::Rows;
    int lines = 0;
    for (int a = 0; a < (rows ? inner.height() : inner.width()); ++a) {
        const QPoint first = rows ? inner.topLeft() + QPoint(0, a) : inner.topLeft() + QPoint(a, 0);
        const QRgb expected = p.at(first.x(), first.y());
        lines += expected == rgb(RGB(255, 0, 0)) ? 1 : 0;
        for (int b = 1; b < (rows ? inner.width() : inner.height()); ++b) {
            const QPoint at = first + (rows ? QPoint(b, 0) : QPoint(0, b));
            ASSERT_EQ(p.at(at.x(), at.y()), expected) << "a hatch line broken at " << a;
        }
    }
    EXPECT_GT(lines, 5);
}

INSTANTIATE_TEST_SUITE_P(ChartPainter, FillStyles,
                         ::testing::Values(FillRow{"Solid", 0, 1.0, 1.0},
                                           FillRow{"Transparent", 1, 0.0, 0.0},
                                           FillRow{"Horizontal", 2, 0.05, 0.3, Unbroken::Rows},
                                           FillRow{"Vertical", 3, 0.05, 0.3, Unbroken::Columns},
                                           FillRow{"Cross", 6, 0.1, 0.5},
                                           FillRow{"DiagonalCross", 7, 0.1, 0.5},
                                           FillRow{"UnknownDrawsNothing", 12, 0.0, 0.0}),
                         [](const auto& row) { return std::string(row.param.name); });

// ---- Value grid ----------------------------------------------------------------------------

// maxY is always labelled; with a step that does not divide the range its label stood on the
// label of the line just below it. Labels never overlap now, and both ends keep theirs.
TEST(ChartPainter, ValueLabelsNeverStandOnEachOther) {
    ChartModel model = plainModel();
    ChartProperties& pr = model.storage();
    pr.axisYOn = true;
    pr.maxY = 1550;
    pr.intersectMajor = 500;
    pr.intersectMinor = 100;
    pr.majorGridColor = RGB(0, 0, 0);
    pr.minorGridColor = RGB(200, 200, 200);
    pr.axisItemsYColor = RGB(0, 0, 0);
    const Painted p = paint(model);
    // Rows with label ink left of the axis, in runs: one run per label.
    std::vector<std::pair<int, int>> runs;
    for (int y = 0; y < 300; ++y) {
        if (inkBounds(p.image, QRect(0, y, 52, 1)).isValid()) {
            if (!runs.empty() && runs.back().second == y - 1) {
                runs.back().second = y;
            } else {
                runs.emplace_back(y, y);
            }
        }
    }
    // 0, 500, 1000 and 1550; 1500, six pixels below 1550, would have overlapped it.
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_LE(runs.front().first, 50 + 4) << "1550 at the top";
    EXPECT_GE(runs.back().second, 245 - 4) << "0 at the bottom";
}

TEST(ChartPainter, WideRangeGridStillPlacesTheMajorLinesAndNoneWithoutTheAxis) {
    ChartModel model = plainModel();
    ChartProperties& pr = model.storage();
    pr.axisYOn = true;
    pr.maxY = 60000;
    pr.intersectMajor = 30000;
    pr.intersectMinor = 0.4f;  // rounds to 0: no minor lines at all
    pr.majorGridColor = RGB(0, 0, 0);
    pr.minorGridColor = RGB(0, 0, 255);
    const Painted p = paint(model);
    EXPECT_EQ(p.at(200, 148), rgb(RGB(0, 0, 0))) << "30000 halfway up";
    EXPECT_EQ(count(p.image, QRect(57, 50, 290, 196), rgb(RGB(0, 0, 255))), 0);
    pr.axisYOn = false;
    EXPECT_EQ(count(paint(model).image, QRect(57, 50, 290, 196), kBack), 290 * 196)
        << "no grid without the Y axis";
}

// ---- Scale ---------------------------------------------------------------------------------

struct ScaleRow {
    const char* name;
    double minY, maxY;
    float major, minor;
    int mode, span;
    float wantMajor, wantMinor;
};

std::ostream& operator<<(std::ostream& os, const ScaleRow& row) {
    return os << row.name;
}

class Scale : public ::testing::TestWithParam<ScaleRow> {};

TEST_P(Scale, ModeSpanAndSteps) {
    const ScaleRow& r = GetParam();
    ChartProperties p;
    p.minY = r.minY;
    p.maxY = r.maxY;
    p.intersectMajor = r.major;
    p.intersectMinor = r.minor;
    ChartScale scale;
    computeScale(p, scale);
    EXPECT_EQ(scale.axisMode, r.mode);
    EXPECT_EQ(scale.valueSpan, r.span);
    EXPECT_FLOAT_EQ(p.intersectMajor, r.wantMajor);
    EXPECT_FLOAT_EQ(p.intersectMinor, r.wantMinor);
}

INSTANTIATE_TEST_SUITE_P(
    ChartPainter, Scale,
    ::testing::Values(ScaleRow{"AutomaticStepsTenAndTwo", 0, 100, 0, 0, 2, 100, 10, 2},
                      ScaleRow{"MixedSignsIsModeZero", -50, 50, 10, 2, 0, 100, 10, 2},
                      ScaleRow{"BothNegativeIsModeOne", -100, -10, 10, 2, 1, 90, 10, 2},
                      ScaleRow{"SpanNeverZero", 0.2, 0.4, 10, 2, 2, 1, 10, 2},
                      ScaleRow{"HalfSpanRoundsToEven", 0, 2.5, 1, 1, 2, 2, 1, 1},
                      ScaleRow{"RangeBeyond16BitsKept", 0, 60000, 10, 2, 2, 60000, 10, 2},
                      ScaleRow{"MinorFromAGivenMajor", 0, 100, 20, 0, 2, 100, 20, 4}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ChartPainter, NegativeColumnsHangBelowZeroOrFromTheTop) {
    ChartModel model = plainModel();
    model.storage().minY = -50;
    model.storage().maxY = 50;
    model.addItem(item(20));
    model.addItem(item(-20));
    paint(model);
    const ChartGeometry& g = model.geometry();
    const double zero = g.plotBottom - g.unitHeight * 50;
    EXPECT_DOUBLE_EQ(g.extents[0].bottom, zero);
    EXPECT_DOUBLE_EQ(g.extents[0].top, zero - 20 * g.unitHeight);
    EXPECT_DOUBLE_EQ(g.extents[1].top, zero);
    EXPECT_DOUBLE_EQ(g.extents[1].bottom, zero + 20 * g.unitHeight);

    // Both ends negative: the columns hang from the top of the plot.
    model.storage().minY = -100;
    model.storage().maxY = -10;
    model.clearItems();
    model.addItem(item(-40));
    const Painted p = paint(model);
    EXPECT_DOUBLE_EQ(g.extents[0].top, 750);
    EXPECT_DOUBLE_EQ(g.extents[0].bottom, 750 + 30 * g.unitHeight);
    EXPECT_EQ(p.at(200, 52), rgb(RGB(255, 0, 0)));
}

// ---- Overlays, colours, labels -------------------------------------------------------------

TEST(ChartPainter, LineOnlyDrawsNoShapesAndUsesTheLineColourForTheLegend) {
    ChartModel model = plainModel();
    model.storage().chartType = ChartTypeBits::Line;
    model.storage().lineColor = RGB(0, 0, 255);
    model.storage().selectable = true;
    model.addItem(item(20));
    model.addItem(item(80));
    const Painted p = paint(model);
    EXPECT_EQ(count(p.image, QRect(0, 0, 400, 300), rgb(RGB(255, 0, 0))), 0);
    ASSERT_EQ(p.redraw.legend.size(), 2u);
    EXPECT_EQ(p.redraw.legend[0].swatch, RGB(0, 0, 255));
    EXPECT_GT(count(p.image, QRect(57, 50, 290, 196), rgb(RGB(0, 0, 255))), 100);
    EXPECT_EQ(model.columnAt(200 * 15, 200 * 15), -1) << "no shape, nothing to pick";
}

// Once, a label wider than its column ran into the next one: at the result window's smallest
// width the chart's "30" and "Avg" touched. Such a label now stands upright under its column,
// so between two neighbouring columns there is always a line of pixels free of label ink.
TEST(ChartPainter, NoItemLabelRunsIntoItsNeighbour) {
    for (const int width : {420, 500, 640, 900}) {
        SCOPED_TRACE(width);
        ChartModel model = plainModel();
        model.storage().axisXOn = true;
        model.storage().axisItemsXColor = RGB(0, 0, 0);
        model.storage().majorGridColor = RGB(255, 255, 255);
        for (int day = 1; day <= 30; ++day) {
            model.addItem(item(50, QStringLiteral("%1").arg(day, 2, 10, QChar(u'0'))));
        }
        model.addItem(item(50, QStringLiteral("Avg")));
        const Painted p = paint(model, QSize(width, 300));
        const ChartGeometry& g = model.geometry();
        const auto centre = [&](int c) {
            return int((g.columnRect(c).left() + g.columnWidth / 2) / 15);
        };
        // Under the axis and its ticks, down to the picture's bottom.
        const int top = int(g.plotBottom / 15) + 4;
        const auto inkFree = [&](int x) {
            for (int y = top; y < p.image.height(); ++y) {
                if (p.image.pixel(x, y) != kBack) {
                    return false;
                }
            }
            return true;
        };
        for (int c = 0; c + 1 < model.itemCount(); ++c) {
            bool apart = false;
            for (int x = centre(c) + 1; x < centre(c + 1) && !apart; ++x) {
                apart = inkFree(x);
            }
            EXPECT_TRUE(apart) << "labels " << c << " and " << c + 1 << " touch";
        }
    }
}

TEST(ChartPainter, EmptyListStillDrawsTheFrameAndTheUprightYTitle) {
    ChartModel model = plainModel();
    ChartProperties& pr = model.storage();
    pr.contentBorder = true;
    pr.majorGridColor = RGB(0, 128, 0);
    pr.axisLabelY = QStringLiteral("Megabytes");
    pr.axisLabelYColor = RGB(128, 0, 128);
    const Painted p = paint(model);
    EXPECT_EQ(p.at(55, 150), rgb(RGB(0, 128, 0))) << "frame on the left margin";
    EXPECT_EQ(p.at(200, 245), rgb(RGB(0, 128, 0))) << "frame on the plot bottom";
    // The Y title stands upright beside the value labels, centred on half the height.
    const QRect yTitle = inkBounds(p.image, QRect(0, 0, 50, 300));
    ASSERT_TRUE(yTitle.isValid());
    EXPECT_GT(yTitle.height(), 3 * yTitle.width());
    EXPECT_NEAR(yTitle.center().y(), 150, 3);
    EXPECT_TRUE(p.redraw.geometry.extents.empty());
}

TEST(ChartPainter, PictureIsStretchedOverThePlotArea) {
    ChartModel model = plainModel();
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 255, 0));
    picture.setPixel(0, 1, qRgb(0, 0, 255));
    picture.setPixel(1, 1, qRgb(255, 255, 0));
    model.storage().picture = picture;
    const Painted p = paint(model);
    EXPECT_EQ(p.at(60, 55), qRgb(255, 0, 0));
    EXPECT_EQ(p.at(340, 55), qRgb(0, 255, 0));
    EXPECT_EQ(p.at(60, 240), qRgb(0, 0, 255));
    EXPECT_EQ(p.at(340, 240), qRgb(255, 255, 0));
    EXPECT_EQ(p.at(40, 55), kBack);
}

// ---- Hit testing on the painted geometry ---------------------------------------------------

// The chart's own mouse tests pick across the columns, above them and beyond them.
TEST(ChartPainter, PickReadsTheDrawnExtents) {
    ChartModel model = plainModel();
    model.storage().selectable = true;
    model.addItem(item(50));
    paint(model);
    // Column 0 spans x 55..345 and rows 148..245.
    EXPECT_EQ(model.columnAt(100 * 15, 200 * 15), 0);
    EXPECT_EQ(model.columnAt(40 * 15, 240 * 15), -1) << "left of the plot";
    EXPECT_EQ(model.columnAt(100 * 15, 260 * 15), -1) << "under the plot";
    model.clearItems();
    paint(model);
    EXPECT_EQ(model.columnAt(100 * 15, 200 * 15), -1) << "a cleared list leaves nothing to pick";
}

TEST(ChartPainter, ValuesFarOutsideTheRangeAreClippedNotOverflowed) {
    ChartModel model = plainModel();
    model.storage().chartType = ChartTypeBits::Bar | ChartTypeBits::Symbol | ChartTypeBits::Line;
    model.addItem(item(1e12));
    model.addItem(item(-1e15));
    model.addItem(item(50));
    const Painted p = paint(model);
    EXPECT_EQ(p.at(80, 60), rgb(RGB(255, 0, 0))) << "the tall column fills the plot to the top";
    EXPECT_EQ(p.at(300, 200), rgb(RGB(255, 0, 0))) << "the columns after it are drawn as usual";
    EXPECT_EQ(p.at(200, 270), rgb(RGB(255, 0, 0))) << "the negative one runs off the bottom";
}

// ---- Contrast ------------------------------------------------------------------------------

// The chart's texts are in system colours (window text) while the result window gives it a
// fixed light background: under a dark palette the title, axis titles and labels were drawn
// white on light grey. Texts now read against the background, and lines show on it, under
// either palette; a background that itself follows the palette takes the grid along.
struct ContrastCase {
    const char* name;
    bool dark;
    ColorRef back;
};

void PrintTo(const ContrastCase& c, std::ostream* os) {
    *os << c.name;
}

class ChartContrast : public ::testing::TestWithParam<ContrastCase> {};

TEST_P(ChartContrast, TextsReadAndGridLinesShowOnTheBackground) {
    const ContrastCase& c = GetParam();
    const QPalette palette =
        c.dark ? kestrova::testing::darkPalette() : kestrova::testing::lightPalette();
    ChartModel model(15, 15);
    ChartProperties& pr = model.storage();
    pr.backColor = c.back;
    pr.chartTitle = QStringLiteral("ORVO Broadband Usage Chart");
    pr.axisLabelX = QStringLiteral("Days");
    pr.axisLabelY = QStringLiteral("Megabytes");
    pr.maxY = 100;
    pr.intersectMajor = 20;
    pr.intersectMinor = 5;
    pr.majorGridColor = RGB(255, 255, 255);
    pr.minorGridColor = RGB(0, 0, 0);
    pr.barFillStyle = 0;
    for (int day = 1; day <= 5; ++day) {
        model.addItem(item(day * 15.0, QStringLiteral("%1").arg(day, 2, 10, QChar(u'0'))));
    }
    const Painted p = paint(model, QSize(400, 300), palette);
    const QColor back = toQColor(c.back, palette);
    const std::pair<const char*, QRect> texts[] = {
        {"title", QRect(0, 0, 400, 40)},
        {"value labels", QRect(14, 52, 40, 190)},
        {"axis title Y", QRect(0, 100, 13, 100)},
        {"day labels", QRect(60, 247, 280, 20)},
        {"axis title X", QRect(150, 275, 100, 25)},
    };
    for (const auto& [what, area] : texts) {
        EXPECT_GE(kestrova::testing::strongestContrast(p.image, area, back), kTextContrast) << what;
    }
    // Grid rows: the white major line at 60 (row 128) and the black minor line at 90 (row 70)
    // stand out where the background follows the palette.
    if (isSystemColor(c.back)) {
        for (const int row : {128, 70}) {
            EXPECT_GE(contrastRatio(QColor::fromRgb(p.at(200, row)), back), kLineContrast)
                << "grid row " << row;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Palettes, ChartContrast,
    ::testing::Values(ContrastCase{"LightPaletteFixedBack", false, RGB(240, 240, 240)},
                      ContrastCase{"DarkPaletteFixedBack", true, RGB(240, 240, 240)},
                      ContrastCase{"LightPaletteWindowBack", false, 0x80000005u},
                      ContrastCase{"DarkPaletteWindowBack", true, 0x80000005u}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
