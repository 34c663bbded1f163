// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The stored state behind XChart's public properties, with the start values of a newly placed
// control, and its persistence in a stored form's property bag.

#include "platform/colour_ref.h"

#include <QImage>
#include <QString>
#include <cstdint>

namespace kestrova {

class PropertyBag;

// Column shapes and overlays selected by ChartType's bits.
namespace ChartTypeBits {
constexpr std::int32_t Bar = 1;
constexpr std::int32_t Symbol = 2;
constexpr std::int32_t Line = 4;
constexpr std::int32_t Ellipse = 8;
constexpr std::int32_t Triangle = 16;
constexpr std::int32_t Diamond = 32;
constexpr std::int32_t Trapezoid = 64;
constexpr std::int32_t AnyShape = Bar | Ellipse | Triangle | Diamond | Trapezoid;
}  // namespace ChartTypeBits

constexpr ColorRef kSystemWindow = 0x80000005u;
constexpr ColorRef kSystemWindowText = 0x80000008u;
constexpr ColorRef kSystemButtonFace = 0x8000000Fu;
constexpr ColorRef kSystemInfoText = 0x80000017u;
constexpr ColorRef kSystemInfoBack = 0x80000018u;

inline const QString kChartControlName = QStringLiteral("XChart");
inline const QString kDefaultMenuItems =
    QStringLiteral("&Save as...|&Print|&Copy|Selection &information|&Legend|&Hide");
inline const QString kDefaultInfoItems = QStringLiteral("Value|Description|Mean");
inline const QString kDefaultLegendCaption = QStringLiteral("Display legend");

// Start values of the margins, in pixels; the storage keeps twips.
constexpr int kStartMarginTop = 50;
constexpr int kStartMarginBottom = 55;
constexpr int kStartMarginLeft = 55;
constexpr int kStartMarginRight = 55;

struct ChartProperties {
    // Colours (32-bit colour references).
    ColorRef BackColor = kSystemWindow;
    ColorRef ForeColor = kSystemWindowText;  // no public property; persisted as "ForeColor"
    ColorRef BarColor = 0x00FF00;
    ColorRef SelectedBarColor = 0x00FFFF;
    ColorRef BarShadowColor = 0;
    ColorRef BarSymbolColor = 0x00FF00;
    ColorRef LineColor = 0x00FF00;
    ColorRef MeanColor = 0;
    ColorRef MajorGridColor = 0xFFFFFF;
    ColorRef MinorGridColor = 0;
    ColorRef ChartTitleColor = kSystemWindowText;
    ColorRef ChartSubTitleColor = kSystemWindowText;
    ColorRef AxisLabelXColor = kSystemWindowText;
    ColorRef AxisLabelYColor = kSystemWindowText;
    ColorRef AxisItemsXColor = kSystemWindowText;
    ColorRef AxisItemsYColor = kSystemWindowText;
    ColorRef LegendBackColor = kSystemWindow;
    ColorRef LegendForeColor = kSystemWindowText;
    ColorRef InfoBackColor = kSystemInfoBack;
    ColorRef InfoForeColor = kSystemInfoText;

    // Texts.
    QString ChartTitle = kChartControlName;
    QString ChartSubTitle;
    QString AxisLabelX;
    QString AxisLabelY;
    QString DataFormat;
    QString MeanCaption;
    QString LegendCaption = kDefaultLegendCaption;
    QString InfoItems;
    QString MenuItems;
    QString CustomMenuItems;
    QString SaveAsCaption;
    QChar BarSymbol = u'*';  // always exactly one character

    // Layout and scale. Margins are kept in twips (set from the pixel start values on creation).
    float MarginTop = 0;
    float MarginBottom = 0;
    float MarginLeft = 0;
    float MarginRight = 0;
    double MaxY = 100;
    double MinY = 0;
    float IntersectMajor = 10;
    float IntersectMinor = 2;
    std::int16_t BarWidthPercentage = 100;
    std::int16_t LineWidth = 1;
    bool ContentBorder = true;
    bool AxisXOn = true;
    bool AxisYOn = true;
    bool MajorGridOn = true;
    bool MinorGridOn = true;

    // Behaviour and style.
    std::int32_t ChartType = ChartTypeBits::Bar;
    bool AutoRedraw = true;
    std::int16_t BarFillStyle = 6;
    std::int16_t LineStyle = 0;
    bool BarShadow = true;
    bool ColorBars = false;
    bool MeanOn = false;
    QImage Picture;
    bool PictureTile = false;
    QImage BarPicture;
    bool BarPictureTile = false;
    bool Selectable = false;
    bool HotTracking = false;
    std::int16_t SelectedColumn = -1;
    bool SelectionInformation = false;
    std::int32_t MenuType = 0;
    std::int32_t LegendPrintMode = 1;
    std::int32_t PrinterFit = 0;
    std::int32_t PrinterOrientation = 2;

    // The start values of a newly placed control on a screen with these twips per pixel.
    static ChartProperties startValues(double twipsPerPixelX, double twipsPerPixelY);
};

// Reads every key of the stored set (matched without regard to case) straight into `props`,
// without setter rules; a missing or unreadable key gives its "if missing" value.
void readChartProperties(const PropertyBag& bag, ChartProperties& props);
// Writes every property under its key, defaults included; margins as twips.
void writeChartProperties(const ChartProperties& props, PropertyBag& bag);

}  // namespace kestrova
