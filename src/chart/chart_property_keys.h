// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The stored set of the chart's properties, listed once: each key with the member it holds and
// the value a missing or unreadable key gives. Reading and writing both walk this list, so a key
// cannot be written under one spelling and read under another.

#include "chart/chart_properties.h"

#include <QChar>
#include <QImage>
#include <QString>
#include <type_traits>

namespace kestrova {

// The "if missing" value of a key whose absence leaves the member as it is.
struct KeepCurrent {};
inline constexpr KeepCurrent kKeepCurrent{};

// Calls `visit(key, member, ifMissing)` for every stored property, in the order they are
// written. `Props` is ChartProperties or const ChartProperties; the member's type (ColorRef,
// QString, QChar, float, double, int16, int32, bool, QImage) says how its value is stored.
template <class Props, class Visit>
requires std::is_same_v<std::remove_const_t<Props>, ChartProperties>
void visitChartProperties(Props& p, Visit&& visit) {
    visit(QStringLiteral("BackColor"), p.backColor, ColorRef(0xFFFFFF));
    visit(QStringLiteral("ForeColor"), p.foreColor, ColorRef(0));
    visit(QStringLiteral("BarColor"), p.barColor, ColorRef(0xFF0000));
    visit(QStringLiteral("SelectedBarColor"), p.selectedBarColor, ColorRef(0xFFFF00));
    visit(QStringLiteral("BarShadowColor"), p.barShadowColor, ColorRef(0));
    visit(QStringLiteral("BarSymbolColor"), p.barSymbolColor, ColorRef(0xFF));
    visit(QStringLiteral("LineColor"), p.lineColor, ColorRef(0xFF));
    visit(QStringLiteral("MeanColor"), p.meanColor, ColorRef(0xFFFF00));
    visit(QStringLiteral("MajorGridColor"), p.majorGridColor, ColorRef(0));
    visit(QStringLiteral("MinorGridColor"), p.minorGridColor, ColorRef(0));
    visit(QStringLiteral("ChartTitleColor"), p.chartTitleColor, ColorRef(0));
    visit(QStringLiteral("ChartSubTitleColor"), p.chartSubTitleColor, ColorRef(0));
    visit(QStringLiteral("XAxisLabelColor"), p.axisLabelXColor, ColorRef(0));
    visit(QStringLiteral("YAxisLabelColor"), p.axisLabelYColor, ColorRef(0));
    visit(QStringLiteral("XAxisItemsColor"), p.axisItemsXColor, ColorRef(0));
    visit(QStringLiteral("YAxisItemsColor"), p.axisItemsYColor, ColorRef(0));
    visit(QStringLiteral("LegendBackColor"), p.legendBackColor, ColorRef(0xFFFFFF));
    visit(QStringLiteral("LegendForeColor"), p.legendForeColor, ColorRef(0));
    visit(QStringLiteral("InfoBackColor"), p.infoBackColor, ColorRef(0));
    visit(QStringLiteral("InfoForeColor"), p.infoForeColor, ColorRef(0));

    visit(QStringLiteral("uChartTitle"), p.chartTitle, kChartControlName);
    visit(QStringLiteral("uChartSubTitle"), p.chartSubTitle, kKeepCurrent);
    visit(QStringLiteral("uXAxisLabel"), p.axisLabelX, kKeepCurrent);
    visit(QStringLiteral("uYAxisLabel"), p.axisLabelY, kKeepCurrent);
    visit(QStringLiteral("DataFormat"), p.dataFormat, QString());
    visit(QStringLiteral("MeanCaption"), p.meanCaption, QString());
    visit(QStringLiteral("LegendCaption"), p.legendCaption, QString());
    visit(QStringLiteral("InfoItems"), p.infoItems, QString());
    visit(QStringLiteral("MenuItems"), p.menuItems, QString());
    visit(QStringLiteral("CustomMenuItems"), p.customMenuItems, QString());
    visit(QStringLiteral("SaveAsCaption"), p.saveAsCaption, QString());
    visit(QStringLiteral("BarSymbol"), p.barSymbol, QChar(u'*'));

    visit(QStringLiteral("uTopMargin"), p.marginTop, 55.0f);
    visit(QStringLiteral("uBottomMargin"), p.marginBottom, 55.0f);
    visit(QStringLiteral("uLeftMargin"), p.marginLeft, 55.0f);
    visit(QStringLiteral("uRightMargin"), p.marginRight, 55.0f);
    visit(QStringLiteral("uMaxYValue"), p.maxY, 100.0);
    visit(QStringLiteral("MinY"), p.minY, 0.0);
    visit(QStringLiteral("uIntersectMajor"), p.intersectMajor, 10.0f);
    visit(QStringLiteral("uIntersectMinor"), p.intersectMinor, 2.0f);
    visit(QStringLiteral("BarWidthPercentage"), p.barWidthPercentage, std::int16_t(100));
    visit(QStringLiteral("LineWidth"), p.lineWidth, std::int16_t(1));
    visit(QStringLiteral("uContentBorder"), p.contentBorder, true);
    visit(QStringLiteral("uAxisXOn"), p.axisXOn, kKeepCurrent);
    visit(QStringLiteral("uAxisYOn"), p.axisYOn, kKeepCurrent);
    visit(QStringLiteral("MajorGridOn"), p.majorGridOn, true);
    visit(QStringLiteral("MinorGridOn"), p.minorGridOn, true);

    visit(QStringLiteral("ChartType"), p.chartType, std::int32_t(0));
    visit(QStringLiteral("AutoRedraw"), p.autoRedraw, true);
    visit(QStringLiteral("BarFillStyle"), p.barFillStyle, std::int16_t(0));
    visit(QStringLiteral("LineStyle"), p.lineStyle, std::int16_t(0));
    visit(QStringLiteral("BarShadow"), p.barShadow, true);
    visit(QStringLiteral("uColorBars"), p.colorBars, false);
    visit(QStringLiteral("MeanOn"), p.meanOn, false);
    visit(QStringLiteral("Picture"), p.picture, QImage());
    visit(QStringLiteral("PictureTile"), p.pictureTile, false);
    visit(QStringLiteral("BarPicture"), p.barPicture, QImage());
    visit(QStringLiteral("BarPictureTile"), p.barPictureTile, false);
    visit(QStringLiteral("uSelectable"), p.selectable, false);
    visit(QStringLiteral("uHotTracking"), p.hotTracking, false);
    visit(QStringLiteral("uSelectedColumn"), p.selectedColumn, std::int16_t(-1));
    visit(QStringLiteral("uDisplayDescript"), p.selectionInformation, false);
    visit(QStringLiteral("MenuType"), p.menuType, std::int32_t(0));
    visit(QStringLiteral("LegendPrintMode"), p.legendPrintMode, std::int32_t(1));
    visit(QStringLiteral("PrinterFit"), p.printerFit, std::int32_t(0));
    visit(QStringLiteral("PrinterOrientation"), p.printerOrientation, std::int32_t(0));
}

}  // namespace kestrova
