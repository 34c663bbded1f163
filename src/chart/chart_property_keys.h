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
    visit(QStringLiteral("BackColor"), p.BackColor, ColorRef(0xFFFFFF));
    visit(QStringLiteral("ForeColor"), p.ForeColor, ColorRef(0));
    visit(QStringLiteral("BarColor"), p.BarColor, ColorRef(0xFF0000));
    visit(QStringLiteral("SelectedBarColor"), p.SelectedBarColor, ColorRef(0xFFFF00));
    visit(QStringLiteral("BarShadowColor"), p.BarShadowColor, ColorRef(0));
    visit(QStringLiteral("BarSymbolColor"), p.BarSymbolColor, ColorRef(0xFF));
    visit(QStringLiteral("LineColor"), p.LineColor, ColorRef(0xFF));
    visit(QStringLiteral("MeanColor"), p.MeanColor, ColorRef(0xFFFF00));
    visit(QStringLiteral("MajorGridColor"), p.MajorGridColor, ColorRef(0));
    visit(QStringLiteral("MinorGridColor"), p.MinorGridColor, ColorRef(0));
    visit(QStringLiteral("ChartTitleColor"), p.ChartTitleColor, ColorRef(0));
    visit(QStringLiteral("ChartSubTitleColor"), p.ChartSubTitleColor, ColorRef(0));
    visit(QStringLiteral("XAxisLabelColor"), p.AxisLabelXColor, ColorRef(0));
    visit(QStringLiteral("YAxisLabelColor"), p.AxisLabelYColor, ColorRef(0));
    visit(QStringLiteral("XAxisItemsColor"), p.AxisItemsXColor, ColorRef(0));
    visit(QStringLiteral("YAxisItemsColor"), p.AxisItemsYColor, ColorRef(0));
    visit(QStringLiteral("LegendBackColor"), p.LegendBackColor, ColorRef(0xFFFFFF));
    visit(QStringLiteral("LegendForeColor"), p.LegendForeColor, ColorRef(0));
    visit(QStringLiteral("InfoBackColor"), p.InfoBackColor, ColorRef(0));
    visit(QStringLiteral("InfoForeColor"), p.InfoForeColor, ColorRef(0));

    visit(QStringLiteral("uChartTitle"), p.ChartTitle, kChartControlName);
    visit(QStringLiteral("uChartSubTitle"), p.ChartSubTitle, kKeepCurrent);
    visit(QStringLiteral("uXAxisLabel"), p.AxisLabelX, kKeepCurrent);
    visit(QStringLiteral("uYAxisLabel"), p.AxisLabelY, kKeepCurrent);
    visit(QStringLiteral("DataFormat"), p.DataFormat, QString());
    visit(QStringLiteral("MeanCaption"), p.MeanCaption, QString());
    visit(QStringLiteral("LegendCaption"), p.LegendCaption, QString());
    visit(QStringLiteral("InfoItems"), p.InfoItems, QString());
    visit(QStringLiteral("MenuItems"), p.MenuItems, QString());
    visit(QStringLiteral("CustomMenuItems"), p.CustomMenuItems, QString());
    visit(QStringLiteral("SaveAsCaption"), p.SaveAsCaption, QString());
    visit(QStringLiteral("BarSymbol"), p.BarSymbol, QChar(u'*'));

    visit(QStringLiteral("uTopMargin"), p.MarginTop, 55.0f);
    visit(QStringLiteral("uBottomMargin"), p.MarginBottom, 55.0f);
    visit(QStringLiteral("uLeftMargin"), p.MarginLeft, 55.0f);
    visit(QStringLiteral("uRightMargin"), p.MarginRight, 55.0f);
    visit(QStringLiteral("uMaxYValue"), p.MaxY, 100.0);
    visit(QStringLiteral("MinY"), p.MinY, 0.0);
    visit(QStringLiteral("uIntersectMajor"), p.IntersectMajor, 10.0f);
    visit(QStringLiteral("uIntersectMinor"), p.IntersectMinor, 2.0f);
    visit(QStringLiteral("BarWidthPercentage"), p.BarWidthPercentage, std::int16_t(100));
    visit(QStringLiteral("LineWidth"), p.LineWidth, std::int16_t(1));
    visit(QStringLiteral("uContentBorder"), p.ContentBorder, true);
    visit(QStringLiteral("uAxisXOn"), p.AxisXOn, kKeepCurrent);
    visit(QStringLiteral("uAxisYOn"), p.AxisYOn, kKeepCurrent);
    visit(QStringLiteral("MajorGridOn"), p.MajorGridOn, true);
    visit(QStringLiteral("MinorGridOn"), p.MinorGridOn, true);

    visit(QStringLiteral("ChartType"), p.ChartType, std::int32_t(0));
    visit(QStringLiteral("AutoRedraw"), p.AutoRedraw, true);
    visit(QStringLiteral("BarFillStyle"), p.BarFillStyle, std::int16_t(0));
    visit(QStringLiteral("LineStyle"), p.LineStyle, std::int16_t(0));
    visit(QStringLiteral("BarShadow"), p.BarShadow, true);
    visit(QStringLiteral("uColorBars"), p.ColorBars, false);
    visit(QStringLiteral("MeanOn"), p.MeanOn, false);
    visit(QStringLiteral("Picture"), p.Picture, QImage());
    visit(QStringLiteral("PictureTile"), p.PictureTile, false);
    visit(QStringLiteral("BarPicture"), p.BarPicture, QImage());
    visit(QStringLiteral("BarPictureTile"), p.BarPictureTile, false);
    visit(QStringLiteral("uSelectable"), p.Selectable, false);
    visit(QStringLiteral("uHotTracking"), p.HotTracking, false);
    visit(QStringLiteral("uSelectedColumn"), p.SelectedColumn, std::int16_t(-1));
    visit(QStringLiteral("uDisplayDescript"), p.SelectionInformation, false);
    visit(QStringLiteral("MenuType"), p.MenuType, std::int32_t(0));
    visit(QStringLiteral("LegendPrintMode"), p.LegendPrintMode, std::int32_t(1));
    visit(QStringLiteral("PrinterFit"), p.PrinterFit, std::int32_t(0));
    visit(QStringLiteral("PrinterOrientation"), p.PrinterOrientation, std::int32_t(0));
}

}  // namespace kestrova
