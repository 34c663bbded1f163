// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Typed reading and writing of a control's stored properties. Values are texts: numbers with
// "." as decimal point, Booleans "True"/"False" (also read: -1, 0, 1), colours as the decimal
// value of the 32-bit reference, fonts as StdFont::toText. A missing key, or a text that does
// not hold a value of the key's type, gives the caller's default.

#include "controls/std_font.h"
#include "platform/colour_ref.h"
#include "platform/property_bag.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace kestrova {

std::optional<bool> storedBool(const QString& text);
std::optional<std::int64_t> storedInteger(const QString& text);
std::optional<double> storedNumber(const QString& text);
// A colour reference from its decimal text, signed (-2147483632) or unsigned (2147483664).
std::optional<ColorRef> storedColor(const QString& text);

QString storedBoolText(bool value);
// Shortest text that reads back as the same double.
QString storedNumberText(double value);
QString storedColorText(ColorRef value);

bool readBool(const PropertyBag& bag, const QString& key, bool defaultValue);
int readInt(const PropertyBag& bag, const QString& key, int defaultValue);
double readDouble(const PropertyBag& bag, const QString& key, double defaultValue);
ColorRef readColor(const PropertyBag& bag, const QString& key, ColorRef defaultValue);
StdFont readFont(const PropertyBag& bag, const QString& key, const StdFont& defaultValue);

void writeBool(PropertyBag& bag, const QString& key, bool value);
void writeInt(PropertyBag& bag, const QString& key, int value);
void writeDouble(PropertyBag& bag, const QString& key, double value);
void writeColor(PropertyBag& bag, const QString& key, ColorRef value);
void writeFont(PropertyBag& bag, const QString& key, const StdFont& value);

}  // namespace kestrova
