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

// Column shapes and overlays selected by chartType's bits: flag values, named as Qt names its
// flags.
// NOLINTBEGIN(readability-identifier-naming)
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
// NOLINTEND(readability-identifier-naming)

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
    ColorRef backColor = kSystemWindow;
    ColorRef foreColor = kSystemWindowText;  // no public property; persisted as "ForeColor"
    ColorRef barColor = 0x00FF00;
    ColorRef selectedBarColor = 0x00FFFF;
    ColorRef barShadowColor = 0;
    ColorRef barSymbolColor = 0x00FF00;
    ColorRef lineColor = 0x00FF00;
    ColorRef meanColor = 0;
    ColorRef majorGridColor = 0xFFFFFF;
    ColorRef minorGridColor = 0;
    ColorRef chartTitleColor = kSystemWindowText;
    ColorRef chartSubTitleColor = kSystemWindowText;
    ColorRef axisLabelXColor = kSystemWindowText;
    ColorRef axisLabelYColor = kSystemWindowText;
    ColorRef axisItemsXColor = kSystemWindowText;
    ColorRef axisItemsYColor = kSystemWindowText;
    ColorRef legendBackColor = kSystemWindow;
    ColorRef legendForeColor = kSystemWindowText;
    ColorRef infoBackColor = kSystemInfoBack;
    ColorRef infoForeColor = kSystemInfoText;

    // Texts.
    QString chartTitle = kChartControlName;
    QString chartSubTitle;
    QString axisLabelX;
    QString axisLabelY;
    QString dataFormat;
    QString meanCaption;
    QString legendCaption = kDefaultLegendCaption;
    QString infoItems;
    QString menuItems;
    QString customMenuItems;
    QString saveAsCaption;
    QChar barSymbol = u'*';  // always exactly one character

    // Layout and scale. Margins are kept in twips (set from the pixel start values on creation).
    float marginTop = 0;
    float marginBottom = 0;
    float marginLeft = 0;
    float marginRight = 0;
    double maxY = 100;
    double minY = 0;
    float intersectMajor = 10;
    float intersectMinor = 2;
    std::int16_t barWidthPercentage = 100;
    std::int16_t lineWidth = 1;
    bool contentBorder = true;
    bool axisXOn = true;
    bool axisYOn = true;
    bool majorGridOn = true;
    bool minorGridOn = true;

    // Behaviour and style.
    std::int32_t chartType = ChartTypeBits::Bar;
    bool autoRedraw = true;
    std::int16_t barFillStyle = 6;
    std::int16_t lineStyle = 0;
    bool barShadow = true;
    bool colorBars = false;
    bool meanOn = false;
    QImage picture;
    bool pictureTile = false;
    QImage barPicture;
    bool barPictureTile = false;
    bool selectable = false;
    bool hotTracking = false;
    std::int16_t selectedColumn = -1;
    bool selectionInformation = false;
    std::int32_t menuType = 0;
    std::int32_t legendPrintMode = 1;
    std::int32_t printerFit = 0;
    std::int32_t printerOrientation = 2;

    // The start values of a newly placed control on a screen with these twips per pixel.
    static ChartProperties startValues(double twipsPerPixelX, double twipsPerPixelY);
};

// Reads every key of the stored set (matched without regard to case) straight into `props`,
// without setter rules; a missing or unreadable key gives its "if missing" value.
void readChartProperties(const PropertyBag& bag, ChartProperties& props);
// Writes every property under its key, defaults included; margins as twips.
void writeChartProperties(const ChartProperties& props, PropertyBag& bag);

}  // namespace kestrova
