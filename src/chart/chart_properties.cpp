// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "chart/chart_properties.h"

#include "chart/chart_property_keys.h"
#include "platform/property_bag.h"

#include <QBuffer>
#include <QByteArray>
#include <charconv>
#include <cmath>
#include <limits>

namespace kestrova {

ChartProperties ChartProperties::startValues(double twipsPerPixelX, double twipsPerPixelY) {
    ChartProperties p;
    p.marginTop = float(kStartMarginTop * twipsPerPixelY);
    p.marginBottom = float(kStartMarginBottom * twipsPerPixelY);
    p.marginLeft = float(kStartMarginLeft * twipsPerPixelX);
    p.marginRight = float(kStartMarginRight * twipsPerPixelX);
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
QString colourText(ColorRef value) {
    return QString::number(value);
}

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
    out = v && *v >= std::numeric_limits<T>::min() && *v <= std::numeric_limits<T>::max() ? T(*v)
                                                                                          : missing;
}

template <class T>
void readReal(const PropertyBag& bag, const QString& key, T missing, T& out) {
    const auto text = bag.find(key);
    bool ok = false;
    const double v = text ? text->trimmed().toDouble(&ok) : 0.0;
    out = ok && std::isfinite(v) && std::fabs(v) <= double(std::numeric_limits<T>::max()) ? T(v)
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

namespace {

// Reads one key into its member by the member's type.
struct PropertyReader {
    const PropertyBag& bag;

    template <class T>
    void operator()(const QString& key, T& out, KeepCurrent) const {
        const T current = out;
        (*this)(key, out, current);
    }
    void operator()(const QString& key, ColorRef& out, ColorRef missing) const {
        readColour(bag, key, missing, out);
    }
    void operator()(const QString& key, QString& out, const QString& missing) const {
        readText(bag, key, missing, out);
    }
    void operator()(const QString& key, QChar& out, QChar missing) const {
        const QString symbol = bag.read(key, QString(missing));
        out = symbol.isEmpty() ? QChar(u' ') : symbol.front();
    }
    void operator()(const QString& key, float& out, float missing) const {
        readReal(bag, key, missing, out);
    }
    void operator()(const QString& key, double& out, double missing) const {
        readReal(bag, key, missing, out);
    }
    void operator()(const QString& key, std::int16_t& out, std::int16_t missing) const {
        readInteger(bag, key, missing, out);
    }
    void operator()(const QString& key, std::int32_t& out, std::int32_t missing) const {
        readInteger(bag, key, missing, out);
    }
    void operator()(const QString& key, bool& out, bool missing) const {
        readBool(bag, key, missing, out);
    }
    void operator()(const QString& key, QImage& out, const QImage&) const {
        readPicture(bag, key, out);
    }
};

QString storedText(ColorRef value) {
    return colourText(value);
}
QString storedText(const QString& value) {
    return value;
}
QString storedText(QChar value) {
    return QString(value);
}
QString storedText(float value) {
    return numberText(value);
}
QString storedText(double value) {
    return numberText(value);
}
QString storedText(std::int16_t value) {
    return QString::number(value);
}
QString storedText(std::int32_t value) {
    return QString::number(value);
}
QString storedText(bool value) {
    return boolText(value);
}
QString storedText(const QImage& value) {
    return pictureText(value);
}

}  // namespace

void readChartProperties(const PropertyBag& bag, ChartProperties& p) {
    visitChartProperties(p, PropertyReader{bag});
}

void writeChartProperties(const ChartProperties& p, PropertyBag& bag) {
    visitChartProperties(p, [&bag](const QString& key, const auto& value, const auto&) {
        bag.write(key, storedText(value));
    });
}

}  // namespace kestrova
