// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// XChart's behaviour without a screen: the properties with their setter rules, the item list
// with its mean item, the selection, the menu captions and the geometry of the last redraw.
// The widget is the model's host: it redraws when a setter asks, tells its own host about
// changed properties and raises the events.

#include "chart/chart_geometry.h"
#include "chart/chart_item.h"
#include "chart/chart_properties.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace kestrova {

class PropertyBag;

class ChartModelHost {
public:
    virtual ~ChartModelHost() = default;
    // A full redraw (DrawChart): asked for by the redrawing setters.
    virtual void DrawChart() = 0;
    // A persisted property changed (the property's name).
    virtual void propertyChanged(const QString& name) = 0;
    // A column was selected by the mouse or through SelectedColumn; never the mean item.
    virtual void itemClick(const ChartItemPtr& item) = 0;
    // The menu captions were rebuilt (MenuItems, MenuType, CustomMenuItems).
    virtual void BuildMainMenu() = 0;
    virtual void BuildCustomMenu() = 0;
};

// Entries of the main pop-up menu whose captions come from MenuItems, in its order.
enum MainMenuEntry {
    MenuSaveAs = 0,
    MenuPrint,
    MenuCopy,
    MenuSelectionInfo,
    MenuViewLegend,
    MenuLegendHide,
    MainMenuEntryCount
};
constexpr int kCustomMenuEntries = 8;

struct ChartMenuState {
    // The design captions until BuildMainMenu runs.
    std::array<QString, MainMenuEntryCount> captions = {
        QStringLiteral("Save As"),        QStringLiteral("Print"),
        QStringLiteral("Copy"),           QStringLiteral("Selection information"),
        QStringLiteral("Display Legend"), QStringLiteral("Hide")};
    bool selectionInfoChecked = false;
    bool viewLegendChecked = false;
    std::array<QString, kCustomMenuEntries> customCaptions = {
        QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
        QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8")};
    std::array<bool, kCustomMenuEntries> customVisible{};
    bool customSeparatorVisible = false;
};

class ChartModel {
public:
    // The twips-per-pixel factors convert the margins; by default the screen's.
    ChartModel();
    ChartModel(double twipsPerPixelX, double twipsPerPixelY);

    void setHost(ChartModelHost* host) { m_host = host; }
    double twipsPerPixelX() const { return m_tppx; }
    double twipsPerPixelY() const { return m_tppy; }

    // Stored state, for direct assignment where no setter rule applies (loading, the menu's
    // check marks) and for the painter.
    const ChartProperties& properties() const { return m_p; }
    ChartProperties& storage() { return m_p; }

    // --- Items -----------------------------------------------------------------------------
    // Appends the item; while MeanOn, the mean item moves behind it. A null item is ignored.
    void AddItem(const ChartItemPtr& item);
    // A new empty list and no selection (the widget redraws).
    void clearItems();
    const std::vector<ChartItemPtr>& items() const { return m_items; }
    int itemCount() const { return int(m_items.size()); }
    ChartItemPtr item(int column) const;
    // The last column is the mean item only while MeanOn is True.
    bool isMeanColumn(int column) const;
    void CalculateMean();
    double meanValue() const { return m_mean; }

    // --- Colours ---------------------------------------------------------------------------
    ColorRef BackColor() const { return m_p.BackColor; }
    void setBackColor(ColorRef v);
    ColorRef BarColor() const { return m_p.BarColor; }
    void setBarColor(ColorRef v);
    ColorRef SelectedBarColor() const { return m_p.SelectedBarColor; }
    void setSelectedBarColor(ColorRef v);  // notifies, no redraw
    ColorRef BarShadowColor() const { return m_p.BarShadowColor; }
    void setBarShadowColor(ColorRef v);
    ColorRef BarSymbolColor() const { return m_p.BarSymbolColor; }
    void setBarSymbolColor(ColorRef v);
    ColorRef LineColor() const { return m_p.LineColor; }
    void setLineColor(ColorRef v);
    ColorRef MeanColor() const { return m_p.MeanColor; }
    void setMeanColor(ColorRef v);
    ColorRef MajorGridColor() const { return m_p.MajorGridColor; }
    void setMajorGridColor(ColorRef v);
    ColorRef MinorGridColor() const { return m_p.MinorGridColor; }
    void setMinorGridColor(ColorRef v);
    ColorRef ChartTitleColor() const { return m_p.ChartTitleColor; }
    void setChartTitleColor(ColorRef v);
    ColorRef ChartSubTitleColor() const { return m_p.ChartSubTitleColor; }
    void setChartSubTitleColor(ColorRef v);
    ColorRef AxisLabelXColor() const { return m_p.AxisLabelXColor; }
    void setAxisLabelXColor(ColorRef v);
    ColorRef AxisLabelYColor() const { return m_p.AxisLabelYColor; }
    void setAxisLabelYColor(ColorRef v);
    ColorRef AxisItemsXColor() const { return m_p.AxisItemsXColor; }
    void setAxisItemsXColor(ColorRef v);
    ColorRef AxisItemsYColor() const { return m_p.AxisItemsYColor; }
    void setAxisItemsYColor(ColorRef v);
    ColorRef LegendBackColor() const { return m_p.LegendBackColor; }
    void setLegendBackColor(ColorRef v);
    ColorRef LegendForeColor() const { return m_p.LegendForeColor; }
    void setLegendForeColor(ColorRef v);
    ColorRef InfoBackColor() const { return m_p.InfoBackColor; }
    void setInfoBackColor(ColorRef v);
    ColorRef InfoForeColor() const { return m_p.InfoForeColor; }
    void setInfoForeColor(ColorRef v);

    // --- Texts -----------------------------------------------------------------------------
    QString ChartTitle() const { return m_p.ChartTitle; }
    void setChartTitle(const QString& v);
    QString ChartSubTitle() const { return m_p.ChartSubTitle; }
    void setChartSubTitle(const QString& v);
    QString AxisLabelX() const { return m_p.AxisLabelX; }
    void setAxisLabelX(const QString& v);
    QString AxisLabelY() const { return m_p.AxisLabelY; }
    void setAxisLabelY(const QString& v);
    // Format picture of the values in the information box and the printed legend; empty:
    // general number format. Notifies, no redraw.
    QString DataFormat() const { return m_p.DataFormat; }
    void setDataFormat(const QString& v);
    QString MeanCaption() const { return m_p.MeanCaption; }
    void setMeanCaption(const QString& v);
    // Silent; an empty caption becomes "Display legend".
    QString LegendCaption() const { return m_p.LegendCaption; }
    void setLegendCaption(const QString& v);
    void NormalizeLegendCaption();
    // "value|description|mean" labels of the information box; empty: "Value|Description|Mean".
    QString InfoItems() const { return m_p.InfoItems; }
    void setInfoItems(const QString& v);
    // Six "|"-separated captions: save, print, copy, selection information, show and hide
    // legend. Rebuilds the menu.
    QString MenuItems() const { return m_p.MenuItems; }
    void setMenuItems(const QString& v);
    // Up to eight "|"-separated captions of custom menu entries. Rebuilds them.
    QString CustomMenuItems() const { return m_p.CustomMenuItems; }
    void setCustomMenuItems(const QString& v);
    QString SaveAsCaption() const { return m_p.SaveAsCaption; }
    void setSaveAsCaption(const QString& v);
    // Kept as its first character; an empty text stores a blank.
    QString BarSymbol() const { return QString(m_p.BarSymbol); }
    void setBarSymbol(const QString& v);

    // --- Layout and scale ------------------------------------------------------------------
    // Margins in pixels (start 50, 55, 55, 55), kept as twips; always redraw.
    int MarginTop() const;
    void setMarginTop(int pixels);
    int MarginBottom() const;
    void setMarginBottom(int pixels);
    int MarginLeft() const;
    void setMarginLeft(int pixels);
    int MarginRight() const;
    void setMarginRight(int pixels);  // also the saved right margin
    // Accepted only while MaxY > MinY stays true; always redraw then. Start 100 and 0.
    double MaxY() const { return m_p.MaxY; }
    void setMaxY(double v);
    double MinY() const { return m_p.MinY; }
    void setMinY(double v);
    // Value steps of the major and minor grid lines; 0 = automatic. Start 10 and 2.
    float IntersectMajor() const { return m_p.IntersectMajor; }
    void setIntersectMajor(float v);
    float IntersectMinor() const { return m_p.IntersectMinor; }
    void setIntersectMinor(float v);
    // 1..100, start 100; others ignored.
    int BarWidthPercentage() const { return m_p.BarWidthPercentage; }
    void setBarWidthPercentage(int v);
    // 1..9 pixels, start 1; others ignored.
    int LineWidth() const { return m_p.LineWidth; }
    void setLineWidth(int v);
    bool ContentBorder() const { return m_p.ContentBorder; }
    void setContentBorder(bool v);
    bool AxisXOn() const { return m_p.AxisXOn; }
    void setAxisXOn(bool v);
    bool AxisYOn() const { return m_p.AxisYOn; }
    void setAxisYOn(bool v);
    bool MajorGridOn() const { return m_p.MajorGridOn; }
    void setMajorGridOn(bool v);
    bool MinorGridOn() const { return m_p.MinorGridOn; }
    void setMinorGridOn(bool v);

    // --- Behaviour and style ---------------------------------------------------------------
    // Bit set (ChartTypeBits), start 1 (bar).
    std::int32_t ChartType() const { return m_p.ChartType; }
    void setChartType(std::int32_t v);
    bool AutoRedraw() const { return m_p.AutoRedraw; }
    void setAutoRedraw(bool v);
    // 0 solid, 1 none, 2 horizontal, 3 vertical, 4 upward diagonal, 5 downward diagonal,
    // 6 cross (start), 7 diagonal cross. Values beyond 16 bits are ignored.
    std::int32_t BarFillStyle() const { return m_p.BarFillStyle; }
    void setBarFillStyle(std::int32_t v);
    // Pen style of the line overlay: 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot,
    // 5 invisible, 6 inside solid.
    std::int32_t LineStyle() const { return m_p.LineStyle; }
    void setLineStyle(std::int32_t v);
    bool BarShadow() const { return m_p.BarShadow; }
    void setBarShadow(bool v);
    bool ColorBars() const { return m_p.ColorBars; }
    void setColorBars(bool v);
    bool MeanOn() const { return m_p.MeanOn; }
    void setMeanOn(bool v);
    // Plot-area background; always stores and redraws, no notification.
    QImage Picture() const { return m_p.Picture; }
    void setPicture(const QImage& v);
    bool PictureTile() const { return m_p.PictureTile; }
    void setPictureTile(bool v);
    QImage BarPicture() const { return m_p.BarPicture; }
    void setBarPicture(const QImage& v);
    bool BarPictureTile() const { return m_p.BarPictureTile; }
    void setBarPictureTile(bool v);
    bool Selectable() const { return m_p.Selectable; }
    void setSelectable(bool v);
    bool HotTracking() const { return m_p.HotTracking; }
    void setHotTracking(bool v);
    // -1 = none. Selecting an ordinary column raises ItemClick with its item; the mean column
    // ends as -1 without an event; a column outside the list is kept without an event.
    std::int32_t SelectedColumn() const { return m_p.SelectedColumn; }
    void setSelectedColumn(std::int32_t column);
    bool SelectionInformation() const { return m_p.SelectionInformation; }
    void setSelectionInformation(bool v);
    // 0: the right button opens the pop-up menu; other values: no pop-up menu.
    std::int32_t MenuType() const { return m_p.MenuType; }
    void setMenuType(std::int32_t v);
    // 1: the legend prints on the chart's page, 2: as a separate document.
    std::int32_t LegendPrintMode() const { return m_p.LegendPrintMode; }
    void setLegendPrintMode(std::int32_t v);
    // 1: the chart is scaled to the page; other values: printed at its screen size.
    std::int32_t PrinterFit() const { return m_p.PrinterFit; }
    void setPrinterFit(std::int32_t v);
    // 1 portrait, 2 landscape; others ignored.
    std::int32_t PrinterOrientation() const { return m_p.PrinterOrientation; }
    void setPrinterOrientation(std::int32_t v);

    // --- Persistence -----------------------------------------------------------------------
    // Loading assigns storage directly: no setter rules, redraws or notifications.
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // --- Redraw state ----------------------------------------------------------------------
    void ComputeScale();
    const ChartScale& scale() const { return m_scale; }
    const ChartGeometry& geometry() const { return m_geometry; }
    void setGeometry(ChartGeometry geometry) { m_geometry = std::move(geometry); }

    // --- Selection -------------------------------------------------------------------------
    // The column at (x, y) in twips, or -1: only drawn shapes of a selectable chart are hit.
    int Pick(double x, double y) const;
    // A left press (or a move handled as one) at (x, y): selects the picked column, and for a
    // new column redraws and raises ItemClick (not for the mean item). Returns the column.
    int pressAt(double x, double y);
    // A left press on legend row `row` of a selectable chart: selects it without an event.
    bool selectFromLegend(int row);
    int lastPickedColumn() const { return m_lastPicked; }
    bool selectionBusy() const { return m_busy; }
    // The information box's text for `column`, or nullopt when the box stays hidden.
    std::optional<QString> selectionInfoText(int column);

    // --- Menus -----------------------------------------------------------------------------
    const ChartMenuState& menu() const { return m_menu; }
    ChartMenuState& menuState() { return m_menu; }
    // BuildMainMenu's and BuildCustomMenu's captions (the host adds what it shows).
    void buildMainMenuCaptions();
    void buildCustomMenuCaptions();

    // --- Legend ----------------------------------------------------------------------------
    bool legendShown() const { return m_legendShown; }
    // ShowLegend's flag and margin arithmetic: showing adds the panel's inner width to the
    // right margin, hiding subtracts its outer width (both in twips).
    void applyShowLegend(bool hidden, double innerWidthTwips, double outerWidthTwips);
    float savedRightMargin() const { return m_savedRightMargin; }
    void restoreRightMargin() { m_p.MarginRight = m_savedRightMargin; }

private:
    void redraw();
    void notify(const QString& name);
    template <class T>
    void setRedraw(T& field, const T& value, const QString& name);
    template <class T>
    void setNotify(T& field, const T& value, const QString& name);
    void setMargin(float& field, int pixels, double factor, const QString& name);
    int marginPixels(float twips, double factor) const;

    ChartModelHost* m_host = nullptr;
    double m_tppx = 15;
    double m_tppy = 15;
    ChartProperties m_p;
    std::vector<ChartItemPtr> m_items;
    double m_mean = 0;
    int m_lastPicked = -1;
    bool m_busy = false;
    bool m_legendShown = false;
    float m_savedRightMargin = 0;
    ChartScale m_scale;
    ChartGeometry m_geometry;
    ChartMenuState m_menu;
};

}  // namespace kestrova
