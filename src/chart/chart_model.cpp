// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "chart/chart_model.h"

#include "chart/data_format.h"
#include "platform/property_bag.h"
#include "platform/twips.h"

#include <limits>

namespace kestrova {

namespace {
const std::array<QString, MainMenuEntryCount> kDefaultMenuCaptions = {
    QStringLiteral("&Save as..."), QStringLiteral("&Print"),
    QStringLiteral("&Copy"),       QStringLiteral("Selection &information"),
    QStringLiteral("&Legend"),     QStringLiteral("&Hide")};

bool fitsInt16(std::int32_t v) {
    return v >= std::numeric_limits<std::int16_t>::min() &&
           v <= std::numeric_limits<std::int16_t>::max();
}

// Clears the selection busy flag however the pick ends.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~BusyScope() { m_flag = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& m_flag;
};
}  // namespace

ChartModel::ChartModel() : ChartModel(kestrova::twipsPerPixelX(), kestrova::twipsPerPixelY()) {}

ChartModel::ChartModel(double twipsPerPixelX, double twipsPerPixelY)
    : m_tppx(twipsPerPixelX),
      m_tppy(twipsPerPixelY),
      m_p(ChartProperties::startValues(twipsPerPixelX, twipsPerPixelY)),
      m_savedRightMargin(m_p.marginRight) {
    m_geometry.tppx = m_tppx;
    m_geometry.tppy = m_tppy;
}

void ChartModel::redraw() {
    if (m_host) {
        m_host->drawChart();
    }
}

void ChartModel::notify(const QString& name) {
    if (m_host) {
        m_host->propertyChanged(name);
    }
}

template <class T>
void ChartModel::setRedraw(T& field, const T& value, const QString& name) {
    if (field == value) {
        return;
    }
    field = value;
    redraw();
    notify(name);
}

template <class T>
void ChartModel::setNotify(T& field, const T& value, const QString& name) {
    field = value;
    notify(name);
}

// ---- Items ---------------------------------------------------------------------------------

void ChartModel::addItem(const ChartItemPtr& item) {
    if (!item) {
        return;
    }
    if (m_p.meanOn && !m_items.empty()) {
        m_items.pop_back();
    }
    m_items.push_back(item);
    if (m_p.meanOn) {
        calculateMean();
        if (m_p.meanCaption.isEmpty()) {
            m_p.meanCaption = QStringLiteral("Mean");
        }
        auto mean = std::make_shared<ChartItem>();
        mean->value = m_mean;
        mean->itemId = m_p.meanCaption;
        mean->xAxisDescription = m_p.meanCaption;
        mean->selectedDescription = m_p.meanCaption;
        mean->legendDescription = m_p.meanCaption;
        m_items.push_back(std::move(mean));
    }
}

void ChartModel::clearItems() {
    m_items.clear();
    m_p.selectedColumn = -1;
}

ChartItemPtr ChartModel::item(int column) const {
    if (column < 0 || column >= itemCount()) {
        return nullptr;
    }
    return m_items[std::size_t(column)];
}

bool ChartModel::isMeanColumn(int column) const {
    return m_p.meanOn && !m_items.empty() && column == itemCount() - 1;
}

void ChartModel::calculateMean() {
    if (m_items.empty()) {
        return;
    }
    double sum = 0;
    for (const auto& i : m_items) {
        sum += i->value;
    }
    m_mean = sum / double(m_items.size());
}

// ---- Colours -------------------------------------------------------------------------------

void ChartModel::setBackColor(ColorRef v) {
    setRedraw(m_p.backColor, v, QStringLiteral("BackColor"));
}
void ChartModel::setBarColor(ColorRef v) {
    setRedraw(m_p.barColor, v, QStringLiteral("BarColor"));
}
void ChartModel::setSelectedBarColor(ColorRef v) {
    setNotify(m_p.selectedBarColor, v, QStringLiteral("SelectedBarColor"));
}
void ChartModel::setBarShadowColor(ColorRef v) {
    setRedraw(m_p.barShadowColor, v, QStringLiteral("BarShadowColor"));
}
void ChartModel::setBarSymbolColor(ColorRef v) {
    setRedraw(m_p.barSymbolColor, v, QStringLiteral("BarSymbolColor"));
}
void ChartModel::setLineColor(ColorRef v) {
    setRedraw(m_p.lineColor, v, QStringLiteral("LineColor"));
}
void ChartModel::setMeanColor(ColorRef v) {
    setRedraw(m_p.meanColor, v, QStringLiteral("MeanColor"));
}
void ChartModel::setMajorGridColor(ColorRef v) {
    setRedraw(m_p.majorGridColor, v, QStringLiteral("MajorGridColor"));
}
void ChartModel::setMinorGridColor(ColorRef v) {
    setRedraw(m_p.minorGridColor, v, QStringLiteral("MinorGridColor"));
}
void ChartModel::setChartTitleColor(ColorRef v) {
    setRedraw(m_p.chartTitleColor, v, QStringLiteral("ChartTitleColor"));
}
void ChartModel::setChartSubTitleColor(ColorRef v) {
    setRedraw(m_p.chartSubTitleColor, v, QStringLiteral("ChartSubTitleColor"));
}
void ChartModel::setAxisLabelXColor(ColorRef v) {
    setRedraw(m_p.axisLabelXColor, v, QStringLiteral("AxisLabelXColor"));
}
void ChartModel::setAxisLabelYColor(ColorRef v) {
    setRedraw(m_p.axisLabelYColor, v, QStringLiteral("AxisLabelYColor"));
}
void ChartModel::setAxisItemsXColor(ColorRef v) {
    setRedraw(m_p.axisItemsXColor, v, QStringLiteral("AxisItemsXColor"));
}
void ChartModel::setAxisItemsYColor(ColorRef v) {
    setRedraw(m_p.axisItemsYColor, v, QStringLiteral("AxisItemsYColor"));
}
void ChartModel::setLegendBackColor(ColorRef v) {
    setRedraw(m_p.legendBackColor, v, QStringLiteral("LegendBackColor"));
}
void ChartModel::setLegendForeColor(ColorRef v) {
    setRedraw(m_p.legendForeColor, v, QStringLiteral("LegendForeColor"));
}
void ChartModel::setInfoBackColor(ColorRef v) {
    setRedraw(m_p.infoBackColor, v, QStringLiteral("InfoBackColor"));
}
void ChartModel::setInfoForeColor(ColorRef v) {
    setRedraw(m_p.infoForeColor, v, QStringLiteral("InfoForeColor"));
}

// ---- Texts ---------------------------------------------------------------------------------

void ChartModel::setChartTitle(const QString& v) {
    setRedraw(m_p.chartTitle, v, QStringLiteral("ChartTitle"));
}
void ChartModel::setChartSubTitle(const QString& v) {
    setRedraw(m_p.chartSubTitle, v, QStringLiteral("ChartSubTitle"));
}
void ChartModel::setAxisLabelX(const QString& v) {
    setRedraw(m_p.axisLabelX, v, QStringLiteral("AxisLabelX"));
}
void ChartModel::setAxisLabelY(const QString& v) {
    setRedraw(m_p.axisLabelY, v, QStringLiteral("AxisLabelY"));
}
void ChartModel::setDataFormat(const QString& v) {
    setNotify(m_p.dataFormat, v, QStringLiteral("DataFormat"));
}
void ChartModel::setMeanCaption(const QString& v) {
    setRedraw(m_p.meanCaption, v, QStringLiteral("MeanCaption"));
}

void ChartModel::setLegendCaption(const QString& v) {
    m_p.legendCaption = v;
    normalizeLegendCaption();
}

void ChartModel::normalizeLegendCaption() {
    if (m_p.legendCaption.isEmpty()) {
        m_p.legendCaption = kDefaultLegendCaption;
    }
}

void ChartModel::setInfoItems(const QString& v) {
    setNotify(m_p.infoItems, v, QStringLiteral("InfoItems"));
}

void ChartModel::setMenuItems(const QString& v) {
    m_p.menuItems = v;
    if (m_host) {
        m_host->buildMainMenu();
    } else {
        buildMainMenuCaptions();
    }
    notify(QStringLiteral("MenuItems"));
}

void ChartModel::setCustomMenuItems(const QString& v) {
    m_p.customMenuItems = v;
    if (m_host) {
        m_host->buildCustomMenu();
    } else {
        buildCustomMenuCaptions();
    }
    notify(QStringLiteral("CustomMenuItems"));
}

void ChartModel::setSaveAsCaption(const QString& v) {
    setNotify(m_p.saveAsCaption, v, QStringLiteral("SaveAsCaption"));
}

void ChartModel::setBarSymbol(const QString& v) {
    setRedraw(m_p.barSymbol, v.isEmpty() ? QChar(u' ') : v.front(), QStringLiteral("BarSymbol"));
}

// ---- Layout and scale ----------------------------------------------------------------------

int ChartModel::marginPixels(float twips, double factor) const {
    return int(roundHalfEven(double(twips) / factor));
}

void ChartModel::setMargin(float& field, int pixels, double factor, const QString& name) {
    field = float(pixels * factor);
    redraw();
    notify(name);
}

int ChartModel::marginTop() const {
    return marginPixels(m_p.marginTop, m_tppy);
}
int ChartModel::marginBottom() const {
    return marginPixels(m_p.marginBottom, m_tppy);
}
int ChartModel::marginLeft() const {
    return marginPixels(m_p.marginLeft, m_tppx);
}
int ChartModel::marginRight() const {
    return marginPixels(m_p.marginRight, m_tppx);
}

void ChartModel::setMarginTop(int pixels) {
    setMargin(m_p.marginTop, pixels, m_tppy, QStringLiteral("MarginTop"));
}
void ChartModel::setMarginBottom(int pixels) {
    setMargin(m_p.marginBottom, pixels, m_tppy, QStringLiteral("MarginBottom"));
}
void ChartModel::setMarginLeft(int pixels) {
    setMargin(m_p.marginLeft, pixels, m_tppx, QStringLiteral("MarginLeft"));
}
void ChartModel::setMarginRight(int pixels) {
    m_savedRightMargin = float(pixels * m_tppx);
    setMargin(m_p.marginRight, pixels, m_tppx, QStringLiteral("MarginRight"));
}

void ChartModel::setMaxY(double v) {
    if (!(v > m_p.minY)) {
        return;
    }
    m_p.maxY = v;
    redraw();
    notify(QStringLiteral("MaxY"));
}

void ChartModel::setMinY(double v) {
    if (!(v < m_p.maxY)) {
        return;
    }
    m_p.minY = v;
    redraw();
    notify(QStringLiteral("MinY"));
}

void ChartModel::setIntersectMajor(float v) {
    setRedraw(m_p.intersectMajor, v, QStringLiteral("IntersectMajor"));
}
void ChartModel::setIntersectMinor(float v) {
    setRedraw(m_p.intersectMinor, v, QStringLiteral("IntersectMinor"));
}

void ChartModel::setBarWidthPercentage(int v) {
    if (v < 1 || v > 100) {
        return;
    }
    setRedraw(m_p.barWidthPercentage, std::int16_t(v), QStringLiteral("BarWidthPercentage"));
}

void ChartModel::setLineWidth(int v) {
    if (v < 1 || v > 9) {
        return;
    }
    setRedraw(m_p.lineWidth, std::int16_t(v), QStringLiteral("LineWidth"));
}

void ChartModel::setContentBorder(bool v) {
    setRedraw(m_p.contentBorder, v, QStringLiteral("ContentBorder"));
}
void ChartModel::setAxisXOn(bool v) {
    setRedraw(m_p.axisXOn, v, QStringLiteral("AxisXOn"));
}
void ChartModel::setAxisYOn(bool v) {
    setRedraw(m_p.axisYOn, v, QStringLiteral("AxisYOn"));
}
void ChartModel::setMajorGridOn(bool v) {
    setRedraw(m_p.majorGridOn, v, QStringLiteral("MajorGridOn"));
}
void ChartModel::setMinorGridOn(bool v) {
    setRedraw(m_p.minorGridOn, v, QStringLiteral("MinorGridOn"));
}

// ---- Behaviour and style -------------------------------------------------------------------

void ChartModel::setChartType(std::int32_t v) {
    setRedraw(m_p.chartType, v, QStringLiteral("ChartType"));
}
void ChartModel::setAutoRedraw(bool v) {
    setRedraw(m_p.autoRedraw, v, QStringLiteral("AutoRedraw"));
}

void ChartModel::setBarFillStyle(std::int32_t v) {
    if (!fitsInt16(v)) {
        return;
    }
    setRedraw(m_p.barFillStyle, std::int16_t(v), QStringLiteral("BarFillStyle"));
}

void ChartModel::setLineStyle(std::int32_t v) {
    if (!fitsInt16(v)) {
        return;
    }
    setRedraw(m_p.lineStyle, std::int16_t(v), QStringLiteral("LineStyle"));
}

void ChartModel::setBarShadow(bool v) {
    setRedraw(m_p.barShadow, v, QStringLiteral("BarShadow"));
}
void ChartModel::setColorBars(bool v) {
    setRedraw(m_p.colorBars, v, QStringLiteral("ColorBars"));
}
void ChartModel::setMeanOn(bool v) {
    setRedraw(m_p.meanOn, v, QStringLiteral("MeanOn"));
}

void ChartModel::setPicture(const QImage& v) {
    m_p.picture = v;
    redraw();
}
void ChartModel::setPictureTile(bool v) {
    setRedraw(m_p.pictureTile, v, QStringLiteral("PictureTile"));
}
void ChartModel::setBarPicture(const QImage& v) {
    m_p.barPicture = v;
    redraw();
}
void ChartModel::setBarPictureTile(bool v) {
    setRedraw(m_p.barPictureTile, v, QStringLiteral("BarPictureTile"));
}
void ChartModel::setSelectable(bool v) {
    setRedraw(m_p.selectable, v, QStringLiteral("Selectable"));
}
void ChartModel::setHotTracking(bool v) {
    setRedraw(m_p.hotTracking, v, QStringLiteral("HotTracking"));
}

void ChartModel::setSelectedColumn(std::int32_t column) {
    if (column == m_p.selectedColumn || !fitsInt16(column)) {
        return;
    }
    // The mean item is never selected: go straight to "no selection", so the picture never
    // shows the mean column highlighted while selectedColumn reads -1.
    if (isMeanColumn(column)) {
        column = -1;
        if (m_p.selectedColumn == -1) {
            return;
        }
    }
    m_p.selectedColumn = std::int16_t(column);
    redraw();
    notify(QStringLiteral("SelectedColumn"));
    if (const ChartItemPtr picked = item(column); picked && m_host) {
        m_host->itemClick(picked);
    }
}

void ChartModel::setSelectionInformation(bool v) {
    setRedraw(m_p.selectionInformation, v, QStringLiteral("SelectionInformation"));
}

void ChartModel::setMenuType(std::int32_t v) {
    if (v == m_p.menuType) {
        return;
    }
    m_p.menuType = v;
    if (m_host) {
        m_host->buildMainMenu();
    } else {
        buildMainMenuCaptions();
    }
    notify(QStringLiteral("MenuType"));
}

void ChartModel::setLegendPrintMode(std::int32_t v) {
    setNotify(m_p.legendPrintMode, v, QStringLiteral("LegendPrintMode"));
}
void ChartModel::setPrinterFit(std::int32_t v) {
    setNotify(m_p.printerFit, v, QStringLiteral("PrinterFit"));
}
void ChartModel::setPrinterOrientation(std::int32_t v) {
    if (v != 1 && v != 2) {
        return;
    }
    setNotify(m_p.printerOrientation, v, QStringLiteral("PrinterOrientation"));
}

// ---- Persistence ---------------------------------------------------------------------------

void ChartModel::readProperties(const PropertyBag& bag) {
    readChartProperties(bag, m_p);
    m_lastPicked = -1;
    m_savedRightMargin = m_p.marginRight;
}

void ChartModel::writeProperties(PropertyBag& bag) const {
    writeChartProperties(m_p, bag);
}

// ---- Redraw state and selection ------------------------------------------------------------

void ChartModel::computeScale() {
    kestrova::computeScale(m_p, m_scale);
}

int ChartModel::columnAt(double x, double y) const {
    if ((m_p.chartType & ChartTypeBits::AnyShape) == 0) {
        return -1;
    }
    if (!m_p.selectable || y < m_p.marginTop || y > m_geometry.scaleHeight - m_p.marginBottom) {
        return -1;
    }
    // Stale extents of columns that no longer exist are never hit.
    const int column = m_geometry.columnAt(x);
    if (column < 0 || column >= itemCount() || std::size_t(column) >= m_geometry.extents.size()) {
        return -1;
    }
    const QRectF rect = m_geometry.columnRect(column);
    return rect.top() <= y && y <= rect.bottom() ? column : -1;
}

int ChartModel::pressAt(double x, double y) {
    const int column = columnAt(x, y);
    if (column < 0 || m_busy || !fitsInt16(column)) {
        return -1;
    }
    BusyScope busy(m_busy);
    m_p.selectedColumn = std::int16_t(column);
    if (column != m_lastPicked) {
        redraw();
        m_lastPicked = column;
        if (!isMeanColumn(column) && m_host) {
            m_host->itemClick(m_items[std::size_t(column)]);
        }
    }
    return column;
}

bool ChartModel::selectFromLegend(int row) {
    if (!m_p.selectable || row < 0 || row >= itemCount() || !fitsInt16(row)) {
        return false;
    }
    m_p.selectedColumn = std::int16_t(row);
    m_lastPicked = row;
    return true;
}

std::optional<QString> ChartModel::selectionInfoText(int column) {
    if (!m_p.selectionInformation || column <= -1) {
        return std::nullopt;
    }
    if (m_p.infoItems.isEmpty()) {
        m_p.infoItems = kDefaultInfoItems;
    }
    const QStringList labels = m_p.infoItems.split(u'|');
    const ChartItemPtr shown = item(column);
    if (!shown) {
        return std::nullopt;
    }
    // A label that the text needs but infoItems lacks ends the routine: the box stays hidden.
    QString text = labels[0] + u": " + formatChartValue(shown->value, m_p.dataFormat);
    if (!shown->selectedDescription.isEmpty()) {
        if (labels.size() < 2) {
            return std::nullopt;
        }
        text += u"\r\n" + labels[1] + u": " + shown->selectedDescription;
    }
    if (m_p.meanOn && column < itemCount() - 1) {
        if (labels.size() < 3) {
            return std::nullopt;
        }
        text += u"\r\n" + labels[2] + u": " + formatChartValue(m_mean, m_p.dataFormat);
    }
    return text;
}

// ---- Menus ---------------------------------------------------------------------------------

void ChartModel::buildMainMenuCaptions() {
    if (m_p.menuItems.isEmpty()) {
        m_p.menuItems = kDefaultMenuItems;
    }
    const QStringList parts = m_p.menuItems.split(u'|');
    for (int i = 0; i < MainMenuEntryCount && i < parts.size(); ++i) {
        m_menu.captions[std::size_t(i)] =
            parts[i].isEmpty() ? kDefaultMenuCaptions[std::size_t(i)] : parts[i];
    }
}

void ChartModel::buildCustomMenuCaptions() {
    m_menu.customVisible.fill(false);
    if (!m_p.customMenuItems.trimmed().isEmpty()) {
        int next = 0;
        for (const QString& part : m_p.customMenuItems.split(u'|')) {
            const QString caption = part.trimmed();
            if (caption.isEmpty()) {
                continue;
            }
            if (next >= kCustomMenuEntries) {
                break;
            }
            m_menu.customCaptions[std::size_t(next)] = caption;
            m_menu.customVisible[std::size_t(next)] = true;
            ++next;
        }
    }
    m_menu.customSeparatorVisible = m_menu.customVisible[0];
}

// ---- Legend --------------------------------------------------------------------------------

void ChartModel::applyShowLegend(bool hidden, double innerWidthTwips, double outerWidthTwips) {
    m_legendShown = !hidden;
    if (m_legendShown) {
        m_p.marginRight = float(m_p.marginRight + innerWidthTwips);
    } else {
        m_p.marginRight = float(m_p.marginRight - outerWidthTwips);
    }
}

}  // namespace kestrova
