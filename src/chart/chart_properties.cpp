#include "chart/chart_properties.h"

#include "platform/property_bag.h"

#include <QBuffer>
#include <QByteArray>
#include <charconv>
#include <cmath>
#include <limits>

namespace kestrova {

ChartProperties ChartProperties::startValues(double twipsPerPixelX, double twipsPerPixelY) {
    ChartProperties p;
    p.MarginTop = float(kStartMarginTop * twipsPerPixelY);
    p.MarginBottom = float(kStartMarginBottom * twipsPerPixelY);
    p.MarginLeft = float(kStartMarginLeft * twipsPerPixelX);
    p.MarginRight = float(kStartMarginRight * twipsPerPixelX);
    return p;
}

namespace {

// Shortest text that reads back to the same number, always with "." as decimal point.
template <class T>
QString numberText(T value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, int(result.ptr - buffer));
}

QString boolText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

// Colours are written as unsigned decimals; the signed form (system colours as negative
// 32-bit numbers) is read as well.
QString colourText(ColorRef value) { return QString::number(value); }

std::optional<qint64> integerValue(const PropertyBag& bag, const QString& key) {
    const auto text = bag.find(key);
    if (!text) {
        return std::nullopt;
    }
    bool ok = false;
    const qint64 v = text->trimmed().toLongLong(&ok);
    if (ok) {
        return v;
    }
    // A stored "10.0" still means 10.
    const double d = text->trimmed().toDouble(&ok);
    if (ok && std::isfinite(d) && d == std::nearbyint(d) && std::fabs(d) < 9.0e15) {
        return qint64(d);
    }
    return std::nullopt;
}

void readColour(const PropertyBag& bag, const QString& key, ColorRef missing, ColorRef& out) {
    const auto v = integerValue(bag, key);
    out = v && *v >= std::numeric_limits<std::int32_t>::min() &&
                  *v <= qint64(std::numeric_limits<std::uint32_t>::max())
              ? ColorRef(std::uint32_t(*v))
              : missing;
}

template <class T>
void readInteger(const PropertyBag& bag, const QString& key, T missing, T& out) {
    const auto v = integerValue(bag, key);
    out = v && *v >= std::numeric_limits<T>::min() && *v <= std::numeric_limits<T>::max()
              ? T(*v)
              : missing;
}

template <class T>
void readReal(const PropertyBag& bag, const QString& key, T missing, T& out) {
    const auto text = bag.find(key);
    bool ok = false;
    const double v = text ? text->trimmed().toDouble(&ok) : 0.0;
    out = ok && std::isfinite(v) && std::fabs(v) <= double(std::numeric_limits<T>::max())
              ? T(v)
              : missing;
}

void readBool(const PropertyBag& bag, const QString& key, bool missing, bool& out) {
    const auto text = bag.find(key);
    if (!text) {
        out = missing;
        return;
    }
    const QString t = text->trimmed();
    if (t.compare(u"True", Qt::CaseInsensitive) == 0) {
        out = true;
    } else if (t.compare(u"False", Qt::CaseInsensitive) == 0) {
        out = false;
    } else if (const auto v = integerValue(bag, key)) {
        out = *v != 0;
    } else {
        out = missing;
    }
}

void readText(const PropertyBag& bag, const QString& key, const QString& missing, QString& out) {
    out = bag.read(key, missing);
}

// Pictures are kept as PNG data in base 64; an empty value is "no picture".
QString pictureText(const QImage& image) {
    if (image.isNull()) {
        return {};
    }
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QString::fromLatin1(data.toBase64());
}

void readPicture(const PropertyBag& bag, const QString& key, QImage& out) {
    const QString text = bag.read(key);
    out = text.isEmpty() ? QImage() : QImage::fromData(QByteArray::fromBase64(text.toLatin1()));
}

}  // namespace

void readChartProperties(const PropertyBag& bag, ChartProperties& p) {
    readColour(bag, QStringLiteral("BackColor"), 0xFFFFFF, p.BackColor);
    readColour(bag, QStringLiteral("ForeColor"), 0, p.ForeColor);
    readColour(bag, QStringLiteral("BarColor"), 0xFF0000, p.BarColor);
    readColour(bag, QStringLiteral("SelectedBarColor"), 0xFFFF00, p.SelectedBarColor);
    readColour(bag, QStringLiteral("BarShadowColor"), 0, p.BarShadowColor);
    readColour(bag, QStringLiteral("BarSymbolColor"), 0xFF, p.BarSymbolColor);
    readColour(bag, QStringLiteral("LineColor"), 0xFF, p.LineColor);
    readColour(bag, QStringLiteral("MeanColor"), 0xFFFF00, p.MeanColor);
    readColour(bag, QStringLiteral("MajorGridColor"), 0, p.MajorGridColor);
    readColour(bag, QStringLiteral("MinorGridColor"), 0, p.MinorGridColor);
    readColour(bag, QStringLiteral("ChartTitleColor"), 0, p.ChartTitleColor);
    readColour(bag, QStringLiteral("ChartSubTitleColor"), 0, p.ChartSubTitleColor);
    readColour(bag, QStringLiteral("XAxisLabelColor"), 0, p.AxisLabelXColor);
    readColour(bag, QStringLiteral("YAxisLabelColor"), 0, p.AxisLabelYColor);
    readColour(bag, QStringLiteral("XAxisItemsColor"), 0, p.AxisItemsXColor);
    readColour(bag, QStringLiteral("YAxisItemsColor"), 0, p.AxisItemsYColor);
    readColour(bag, QStringLiteral("LegendBackColor"), 0xFFFFFF, p.LegendBackColor);
    readColour(bag, QStringLiteral("LegendForeColor"), 0, p.LegendForeColor);
    readColour(bag, QStringLiteral("InfoBackColor"), 0, p.InfoBackColor);
    readColour(bag, QStringLiteral("InfoForeColor"), 0, p.InfoForeColor);

    readText(bag, QStringLiteral("uChartTitle"), kChartControlName, p.ChartTitle);
    readText(bag, QStringLiteral("uChartSubTitle"), p.ChartSubTitle, p.ChartSubTitle);
    readText(bag, QStringLiteral("uXAxisLabel"), p.AxisLabelX, p.AxisLabelX);
    readText(bag, QStringLiteral("uYAxisLabel"), p.AxisLabelY, p.AxisLabelY);
    readText(bag, QStringLiteral("DataFormat"), QString(), p.DataFormat);
    readText(bag, QStringLiteral("MeanCaption"), QString(), p.MeanCaption);
    readText(bag, QStringLiteral("LegendCaption"), QString(), p.LegendCaption);
    readText(bag, QStringLiteral("InfoItems"), QString(), p.InfoItems);
    readText(bag, QStringLiteral("MenuItems"), QString(), p.MenuItems);
    readText(bag, QStringLiteral("CustomMenuItems"), QString(), p.CustomMenuItems);
    readText(bag, QStringLiteral("SaveAsCaption"), QString(), p.SaveAsCaption);
    const QString symbol = bag.read(QStringLiteral("BarSymbol"), QStringLiteral("*"));
    p.BarSymbol = symbol.isEmpty() ? QChar(u' ') : symbol.front();

    readReal(bag, QStringLiteral("uTopMargin"), 55.0f, p.MarginTop);
    readReal(bag, QStringLiteral("uBottomMargin"), 55.0f, p.MarginBottom);
    readReal(bag, QStringLiteral("uLeftMargin"), 55.0f, p.MarginLeft);
    readReal(bag, QStringLiteral("uRightMargin"), 55.0f, p.MarginRight);
    readReal(bag, QStringLiteral("uMaxYValue"), 100.0, p.MaxY);
    readReal(bag, QStringLiteral("MinY"), 0.0, p.MinY);
    readReal(bag, QStringLiteral("uIntersectMajor"), 10.0f, p.IntersectMajor);
    readReal(bag, QStringLiteral("uIntersectMinor"), 2.0f, p.IntersectMinor);
    readInteger<std::int16_t>(bag, QStringLiteral("BarWidthPercentage"), 100, p.BarWidthPercentage);
    readInteger<std::int16_t>(bag, QStringLiteral("LineWidth"), 1, p.LineWidth);
    readBool(bag, QStringLiteral("uContentBorder"), true, p.ContentBorder);
    readBool(bag, QStringLiteral("uAxisXOn"), p.AxisXOn, p.AxisXOn);
    readBool(bag, QStringLiteral("uAxisYOn"), p.AxisYOn, p.AxisYOn);
    readBool(bag, QStringLiteral("MajorGridOn"), true, p.MajorGridOn);
    readBool(bag, QStringLiteral("MinorGridOn"), true, p.MinorGridOn);

    readInteger<std::int32_t>(bag, QStringLiteral("ChartType"), 0, p.ChartType);
    readBool(bag, QStringLiteral("AutoRedraw"), true, p.AutoRedraw);
    readInteger<std::int16_t>(bag, QStringLiteral("BarFillStyle"), 0, p.BarFillStyle);
    readInteger<std::int16_t>(bag, QStringLiteral("LineStyle"), 0, p.LineStyle);
    readBool(bag, QStringLiteral("BarShadow"), true, p.BarShadow);
    readBool(bag, QStringLiteral("uColorBars"), false, p.ColorBars);
    readBool(bag, QStringLiteral("MeanOn"), false, p.MeanOn);
    readPicture(bag, QStringLiteral("Picture"), p.Picture);
    readBool(bag, QStringLiteral("PictureTile"), false, p.PictureTile);
    readPicture(bag, QStringLiteral("BarPicture"), p.BarPicture);
    readBool(bag, QStringLiteral("BarPictureTile"), false, p.BarPictureTile);
    readBool(bag, QStringLiteral("uSelectable"), false, p.Selectable);
    readBool(bag, QStringLiteral("uHotTracking"), false, p.HotTracking);
    readInteger<std::int16_t>(bag, QStringLiteral("uSelectedColumn"), -1, p.SelectedColumn);
    readBool(bag, QStringLiteral("uDisplayDescript"), false, p.SelectionInformation);
    readInteger<std::int32_t>(bag, QStringLiteral("MenuType"), 0, p.MenuType);
    readInteger<std::int32_t>(bag, QStringLiteral("LegendPrintMode"), 1, p.LegendPrintMode);
    readInteger<std::int32_t>(bag, QStringLiteral("PrinterFit"), 0, p.PrinterFit);
    readInteger<std::int32_t>(bag, QStringLiteral("PrinterOrientation"), 0, p.PrinterOrientation);
}

void writeChartProperties(const ChartProperties& p, PropertyBag& bag) {
    bag.write(QStringLiteral("BackColor"), colourText(p.BackColor));
    bag.write(QStringLiteral("ForeColor"), colourText(p.ForeColor));
    bag.write(QStringLiteral("BarColor"), colourText(p.BarColor));
    bag.write(QStringLiteral("SelectedBarColor"), colourText(p.SelectedBarColor));
    bag.write(QStringLiteral("BarShadowColor"), colourText(p.BarShadowColor));
    bag.write(QStringLiteral("BarSymbolColor"), colourText(p.BarSymbolColor));
    bag.write(QStringLiteral("LineColor"), colourText(p.LineColor));
    bag.write(QStringLiteral("MeanColor"), colourText(p.MeanColor));
    bag.write(QStringLiteral("MajorGridColor"), colourText(p.MajorGridColor));
    bag.write(QStringLiteral("MinorGridColor"), colourText(p.MinorGridColor));
    bag.write(QStringLiteral("ChartTitleColor"), colourText(p.ChartTitleColor));
    bag.write(QStringLiteral("ChartSubTitleColor"), colourText(p.ChartSubTitleColor));
    bag.write(QStringLiteral("XAxisLabelColor"), colourText(p.AxisLabelXColor));
    bag.write(QStringLiteral("YAxisLabelColor"), colourText(p.AxisLabelYColor));
    bag.write(QStringLiteral("XAxisItemsColor"), colourText(p.AxisItemsXColor));
    bag.write(QStringLiteral("YAxisItemsColor"), colourText(p.AxisItemsYColor));
    bag.write(QStringLiteral("LegendBackColor"), colourText(p.LegendBackColor));
    bag.write(QStringLiteral("LegendForeColor"), colourText(p.LegendForeColor));
    bag.write(QStringLiteral("InfoBackColor"), colourText(p.InfoBackColor));
    bag.write(QStringLiteral("InfoForeColor"), colourText(p.InfoForeColor));

    bag.write(QStringLiteral("uChartTitle"), p.ChartTitle);
    bag.write(QStringLiteral("uChartSubTitle"), p.ChartSubTitle);
    bag.write(QStringLiteral("uXAxisLabel"), p.AxisLabelX);
    bag.write(QStringLiteral("uYAxisLabel"), p.AxisLabelY);
    bag.write(QStringLiteral("DataFormat"), p.DataFormat);
    bag.write(QStringLiteral("MeanCaption"), p.MeanCaption);
    bag.write(QStringLiteral("LegendCaption"), p.LegendCaption);
    bag.write(QStringLiteral("InfoItems"), p.InfoItems);
    bag.write(QStringLiteral("MenuItems"), p.MenuItems);
    bag.write(QStringLiteral("CustomMenuItems"), p.CustomMenuItems);
    bag.write(QStringLiteral("SaveAsCaption"), p.SaveAsCaption);
    bag.write(QStringLiteral("BarSymbol"), QString(p.BarSymbol));

    bag.write(QStringLiteral("uTopMargin"), numberText(p.MarginTop));
    bag.write(QStringLiteral("uBottomMargin"), numberText(p.MarginBottom));
    bag.write(QStringLiteral("uLeftMargin"), numberText(p.MarginLeft));
    bag.write(QStringLiteral("uRightMargin"), numberText(p.MarginRight));
    bag.write(QStringLiteral("uMaxYValue"), numberText(p.MaxY));
    bag.write(QStringLiteral("MinY"), numberText(p.MinY));
    bag.write(QStringLiteral("uIntersectMajor"), numberText(p.IntersectMajor));
    bag.write(QStringLiteral("uIntersectMinor"), numberText(p.IntersectMinor));
    bag.write(QStringLiteral("BarWidthPercentage"), QString::number(p.BarWidthPercentage));
    bag.write(QStringLiteral("LineWidth"), QString::number(p.LineWidth));
    bag.write(QStringLiteral("uContentBorder"), boolText(p.ContentBorder));
    bag.write(QStringLiteral("uAxisXOn"), boolText(p.AxisXOn));
    bag.write(QStringLiteral("uAxisYOn"), boolText(p.AxisYOn));
    bag.write(QStringLiteral("MajorGridOn"), boolText(p.MajorGridOn));
    bag.write(QStringLiteral("MinorGridOn"), boolText(p.MinorGridOn));

    bag.write(QStringLiteral("ChartType"), QString::number(p.ChartType));
    bag.write(QStringLiteral("AutoRedraw"), boolText(p.AutoRedraw));
    bag.write(QStringLiteral("BarFillStyle"), QString::number(p.BarFillStyle));
    bag.write(QStringLiteral("LineStyle"), QString::number(p.LineStyle));
    bag.write(QStringLiteral("BarShadow"), boolText(p.BarShadow));
    bag.write(QStringLiteral("uColorBars"), boolText(p.ColorBars));
    bag.write(QStringLiteral("MeanOn"), boolText(p.MeanOn));
    bag.write(QStringLiteral("Picture"), pictureText(p.Picture));
    bag.write(QStringLiteral("PictureTile"), boolText(p.PictureTile));
    bag.write(QStringLiteral("BarPicture"), pictureText(p.BarPicture));
    bag.write(QStringLiteral("BarPictureTile"), boolText(p.BarPictureTile));
    bag.write(QStringLiteral("uSelectable"), boolText(p.Selectable));
    bag.write(QStringLiteral("uHotTracking"), boolText(p.HotTracking));
    bag.write(QStringLiteral("uSelectedColumn"), QString::number(p.SelectedColumn));
    bag.write(QStringLiteral("uDisplayDescript"), boolText(p.SelectionInformation));
    bag.write(QStringLiteral("MenuType"), QString::number(p.MenuType));
    bag.write(QStringLiteral("LegendPrintMode"), QString::number(p.LegendPrintMode));
    bag.write(QStringLiteral("PrinterFit"), QString::number(p.PrinterFit));
    bag.write(QStringLiteral("PrinterOrientation"), QString::number(p.PrinterOrientation));
}

}  // namespace kestrova
