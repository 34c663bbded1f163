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
    // A full redraw (drawChart): asked for by the redrawing setters.
    virtual void drawChart() = 0;
    // A persisted property changed (the property's name).
    virtual void propertyChanged(const QString& name) = 0;
    // A column was selected by the mouse or through selectedColumn; never the mean item.
    virtual void itemClick(const ChartItemPtr& item) = 0;
    // The menu captions were rebuilt (menuItems, menuType, customMenuItems).
    virtual void buildMainMenu() = 0;
    virtual void buildCustomMenu() = 0;
};

// Entries of the main pop-up menu whose captions come from menuItems, in its order.
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
    // The design captions until buildMainMenu runs.
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
    // Appends the item; while meanOn, the mean item moves behind it. A null item is ignored.
    void addItem(const ChartItemPtr& item);
    // A new empty list and no selection (the widget redraws).
    void clearItems();
    const std::vector<ChartItemPtr>& items() const { return m_items; }
    int itemCount() const { return int(m_items.size()); }
    ChartItemPtr item(int column) const;
    // The last column is the mean item only while meanOn is True.
    bool isMeanColumn(int column) const;
    void calculateMean();
    double meanValue() const { return m_mean; }

    // --- Colours ---------------------------------------------------------------------------
    ColorRef backColor() const { return m_p.backColor; }
    void setBackColor(ColorRef v);
    ColorRef barColor() const { return m_p.barColor; }
    void setBarColor(ColorRef v);
    ColorRef selectedBarColor() const { return m_p.selectedBarColor; }
    void setSelectedBarColor(ColorRef v);  // notifies, no redraw
    ColorRef barShadowColor() const { return m_p.barShadowColor; }
    void setBarShadowColor(ColorRef v);
    ColorRef barSymbolColor() const { return m_p.barSymbolColor; }
    void setBarSymbolColor(ColorRef v);
    ColorRef lineColor() const { return m_p.lineColor; }
    void setLineColor(ColorRef v);
    ColorRef meanColor() const { return m_p.meanColor; }
    void setMeanColor(ColorRef v);
    ColorRef majorGridColor() const { return m_p.majorGridColor; }
    void setMajorGridColor(ColorRef v);
    ColorRef minorGridColor() const { return m_p.minorGridColor; }
    void setMinorGridColor(ColorRef v);
    ColorRef chartTitleColor() const { return m_p.chartTitleColor; }
    void setChartTitleColor(ColorRef v);
    ColorRef chartSubTitleColor() const { return m_p.chartSubTitleColor; }
    void setChartSubTitleColor(ColorRef v);
    ColorRef axisLabelXColor() const { return m_p.axisLabelXColor; }
    void setAxisLabelXColor(ColorRef v);
    ColorRef axisLabelYColor() const { return m_p.axisLabelYColor; }
    void setAxisLabelYColor(ColorRef v);
    ColorRef axisItemsXColor() const { return m_p.axisItemsXColor; }
    void setAxisItemsXColor(ColorRef v);
    ColorRef axisItemsYColor() const { return m_p.axisItemsYColor; }
    void setAxisItemsYColor(ColorRef v);
    ColorRef legendBackColor() const { return m_p.legendBackColor; }
    void setLegendBackColor(ColorRef v);
    ColorRef legendForeColor() const { return m_p.legendForeColor; }
    void setLegendForeColor(ColorRef v);
    ColorRef infoBackColor() const { return m_p.infoBackColor; }
    void setInfoBackColor(ColorRef v);
    ColorRef infoForeColor() const { return m_p.infoForeColor; }
    void setInfoForeColor(ColorRef v);

    // --- Texts -----------------------------------------------------------------------------
    QString chartTitle() const { return m_p.chartTitle; }
    void setChartTitle(const QString& v);
    QString chartSubTitle() const { return m_p.chartSubTitle; }
    void setChartSubTitle(const QString& v);
    QString axisLabelX() const { return m_p.axisLabelX; }
    void setAxisLabelX(const QString& v);
    QString axisLabelY() const { return m_p.axisLabelY; }
    void setAxisLabelY(const QString& v);
    // Format picture of the values in the information box and the printed legend; empty:
    // general number format. Notifies, no redraw.
    QString dataFormat() const { return m_p.dataFormat; }
    void setDataFormat(const QString& v);
    QString meanCaption() const { return m_p.meanCaption; }
    void setMeanCaption(const QString& v);
    // Silent; an empty caption becomes "Display legend".
    QString legendCaption() const { return m_p.legendCaption; }
    void setLegendCaption(const QString& v);
    void normalizeLegendCaption();
    // "value|description|mean" labels of the information box; empty: "Value|Description|Mean".
    QString infoItems() const { return m_p.infoItems; }
    void setInfoItems(const QString& v);
    // Six "|"-separated captions: save, print, copy, selection information, show and hide
    // legend. Rebuilds the menu.
    QString menuItems() const { return m_p.menuItems; }
    void setMenuItems(const QString& v);
    // Up to eight "|"-separated captions of custom menu entries. Rebuilds them.
    QString customMenuItems() const { return m_p.customMenuItems; }
    void setCustomMenuItems(const QString& v);
    QString saveAsCaption() const { return m_p.saveAsCaption; }
    void setSaveAsCaption(const QString& v);
    // Kept as its first character; an empty text stores a blank.
    QString barSymbol() const { return QString(m_p.barSymbol); }
    void setBarSymbol(const QString& v);

    // --- Layout and scale ------------------------------------------------------------------
    // Margins in pixels (start 50, 55, 55, 55), kept as twips; always redraw.
    int marginTop() const;
    void setMarginTop(int pixels);
    int marginBottom() const;
    void setMarginBottom(int pixels);
    int marginLeft() const;
    void setMarginLeft(int pixels);
    int marginRight() const;
    void setMarginRight(int pixels);  // also the saved right margin
    // Accepted only while maxY > minY stays true; always redraw then. Start 100 and 0.
    double maxY() const { return m_p.maxY; }
    void setMaxY(double v);
    double minY() const { return m_p.minY; }
    void setMinY(double v);
    // Value steps of the major and minor grid lines; 0 = automatic. Start 10 and 2.
    float intersectMajor() const { return m_p.intersectMajor; }
    void setIntersectMajor(float v);
    float intersectMinor() const { return m_p.intersectMinor; }
    void setIntersectMinor(float v);
    // 1..100, start 100; others ignored.
    int barWidthPercentage() const { return m_p.barWidthPercentage; }
    void setBarWidthPercentage(int v);
    // 1..9 pixels, start 1; others ignored.
    int lineWidth() const { return m_p.lineWidth; }
    void setLineWidth(int v);
    bool contentBorder() const { return m_p.contentBorder; }
    void setContentBorder(bool v);
    bool axisXOn() const { return m_p.axisXOn; }
    void setAxisXOn(bool v);
    bool axisYOn() const { return m_p.axisYOn; }
    void setAxisYOn(bool v);
    bool majorGridOn() const { return m_p.majorGridOn; }
    void setMajorGridOn(bool v);
    bool minorGridOn() const { return m_p.minorGridOn; }
    void setMinorGridOn(bool v);

    // --- Behaviour and style ---------------------------------------------------------------
    // Bit set (ChartTypeBits), start 1 (bar).
    std::int32_t chartType() const { return m_p.chartType; }
    void setChartType(std::int32_t v);
    bool autoRedraw() const { return m_p.autoRedraw; }
    void setAutoRedraw(bool v);
    // 0 solid, 1 none, 2 horizontal, 3 vertical, 4 upward diagonal, 5 downward diagonal,
    // 6 cross (start), 7 diagonal cross. Values beyond 16 bits are ignored.
    std::int32_t barFillStyle() const { return m_p.barFillStyle; }
    void setBarFillStyle(std::int32_t v);
    // Pen style of the line overlay: 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot,
    // 5 invisible, 6 inside solid.
    std::int32_t lineStyle() const { return m_p.lineStyle; }
    void setLineStyle(std::int32_t v);
    bool barShadow() const { return m_p.barShadow; }
    void setBarShadow(bool v);
    bool colorBars() const { return m_p.colorBars; }
    void setColorBars(bool v);
    bool meanOn() const { return m_p.meanOn; }
    void setMeanOn(bool v);
    // Plot-area background; always stores and redraws, no notification.
    QImage picture() const { return m_p.picture; }
    void setPicture(const QImage& v);
    bool pictureTile() const { return m_p.pictureTile; }
    void setPictureTile(bool v);
    QImage barPicture() const { return m_p.barPicture; }
    void setBarPicture(const QImage& v);
    bool barPictureTile() const { return m_p.barPictureTile; }
    void setBarPictureTile(bool v);
    bool selectable() const { return m_p.selectable; }
    void setSelectable(bool v);
    bool hotTracking() const { return m_p.hotTracking; }
    void setHotTracking(bool v);
    // -1 = none. Selecting an ordinary column raises itemClicked with its item; the mean column
    // ends as -1 without an event; a column outside the list is kept without an event.
    std::int32_t selectedColumn() const { return m_p.selectedColumn; }
    void setSelectedColumn(std::int32_t column);
    bool selectionInformation() const { return m_p.selectionInformation; }
    void setSelectionInformation(bool v);
    // 0: the right button opens the pop-up menu; other values: no pop-up menu.
    std::int32_t menuType() const { return m_p.menuType; }
    void setMenuType(std::int32_t v);
    // 1: the legend prints on the chart's page, 2: as a separate document.
    std::int32_t legendPrintMode() const { return m_p.legendPrintMode; }
    void setLegendPrintMode(std::int32_t v);
    // 1: the chart is scaled to the page; other values: printed at its screen size.
    std::int32_t printerFit() const { return m_p.printerFit; }
    void setPrinterFit(std::int32_t v);
    // 1 portrait, 2 landscape; others ignored.
    std::int32_t printerOrientation() const { return m_p.printerOrientation; }
    void setPrinterOrientation(std::int32_t v);

    // --- Persistence -----------------------------------------------------------------------
    // Loading assigns storage directly: no setter rules, redraws or notifications.
    void readProperties(const PropertyBag& bag);
    void writeProperties(PropertyBag& bag) const;

    // --- Redraw state ----------------------------------------------------------------------
    void computeScale();
    const ChartScale& scale() const { return m_scale; }
    const ChartGeometry& geometry() const { return m_geometry; }
    void setGeometry(ChartGeometry geometry) { m_geometry = std::move(geometry); }

    // --- Selection -------------------------------------------------------------------------
    // The column at (x, y) in twips, or -1: only drawn shapes of a selectable chart are hit.
    int columnAt(double x, double y) const;
    // A left press (or a move handled as one) at (x, y): selects the picked column, and for a
    // new column redraws and raises itemClicked (not for the mean item). Returns the column.
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
    // buildMainMenu's and buildCustomMenu's captions (the host adds what it shows).
    void buildMainMenuCaptions();
    void buildCustomMenuCaptions();

    // --- Legend ----------------------------------------------------------------------------
    bool legendShown() const { return m_legendShown; }
    // showLegend's flag and margin arithmetic: showing adds the panel's inner width to the
    // right margin, hiding subtracts its outer width (both in twips).
    void applyShowLegend(bool hidden, double innerWidthTwips, double outerWidthTwips);
    float savedRightMargin() const { return m_savedRightMargin; }
    void restoreRightMargin() { m_p.marginRight = m_savedRightMargin; }

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
