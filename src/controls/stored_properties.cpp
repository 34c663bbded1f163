// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/stored_properties.h"

#include "platform/number_format.h"

#include <QLocale>
#include <limits>

namespace kestrova {

std::optional<bool> storedBool(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(u"True", Qt::CaseInsensitive) == 0 || t == u"-1" || t == u"1") {
        return true;
    }
    if (t.compare(u"False", Qt::CaseInsensitive) == 0 || t == u"0") {
        return false;
    }
    return std::nullopt;
}

std::optional<std::int64_t> storedInteger(const QString& text) {
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok) {
        return std::nullopt;
    }
    return std::int64_t(v);
}

std::optional<double> storedNumber(const QString& text) {
    const auto d = parseDecimalText(text);
    if (!d) {
        return std::nullopt;
    }
    return d->toDouble();
}

std::optional<ColorRef> storedColor(const QString& text) {
    const auto v = storedInteger(text);
    if (!v || *v < std::numeric_limits<std::int32_t>::min() ||
        *v > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    return ColorRef(std::uint32_t(*v));
}

QString storedBoolText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString storedNumberText(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString storedColorText(ColorRef value) {
    return QString::number(value);
}

bool readBool(const PropertyBag& bag, const QString& key, bool defaultValue) {
    const auto text = bag.find(key);
    return text ? storedBool(*text).value_or(defaultValue) : defaultValue;
}

int readInt(const PropertyBag& bag, const QString& key, int defaultValue) {
    const auto text = bag.find(key);
    if (!text) {
        return defaultValue;
    }
    const auto v = storedInteger(*text);
    if (!v || *v < std::numeric_limits<int>::min() || *v > std::numeric_limits<int>::max()) {
        return defaultValue;
    }
    return int(*v);
}

double readDouble(const PropertyBag& bag, const QString& key, double defaultValue) {
    const auto text = bag.find(key);
    return text ? storedNumber(*text).value_or(defaultValue) : defaultValue;
}

ColorRef readColor(const PropertyBag& bag, const QString& key, ColorRef defaultValue) {
    const auto text = bag.find(key);
    return text ? storedColor(*text).value_or(defaultValue) : defaultValue;
}

StdFont readFont(const PropertyBag& bag, const QString& key, const StdFont& defaultValue) {
    const auto text = bag.find(key);
    return text ? StdFont::fromText(*text).value_or(defaultValue) : defaultValue;
}

void writeBool(PropertyBag& bag, const QString& key, bool value) {
    bag.write(key, storedBoolText(value));
}

void writeInt(PropertyBag& bag, const QString& key, int value) {
    bag.write(key, QString::number(value));
}

void writeDouble(PropertyBag& bag, const QString& key, double value) {
    bag.write(key, storedNumberText(value));
}

void writeColor(PropertyBag& bag, const QString& key, ColorRef value) {
    bag.write(key, storedColorText(value));
}

void writeFont(PropertyBag& bag, const QString& key, const StdFont& value) {
    bag.write(key, value.toText());
}

}  // namespace kestrova
