// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Numbers as the program reads and shows them.
//
// Reading: the portal writes numbers with "." as decimal point whatever the user's locale, so a
// text is read that way first and in the user's locale only when that fails. Texts are read
// exactly (as decimals, not through binary floating point), so rounding a total of "2.5" to a
// whole number really sees a half.
//
// Showing: the patterns "0", "0.00" and "0.000" (at least one integer digit, exactly that many
// decimals, halves rounded away from zero, no thousands separator) and the "default text"
// (no thousands separator, no trailing zeros), with the locale's decimal separator.

#include <QLocale>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace kestrova {

__extension__ using Int128 = __int128;

// An exactly read decimal number: scaled / 10^scale, plus whether digits beyond the 18th
// decimal were dropped (they only matter to break a tie when rounding).
struct Decimal {
    Int128 scaled = 0;
    int scale = 0;
    bool dropped = false;

    // Rounded to `decimals` places (0..18), ties to the even neighbour; the result is
    // value * 10^decimals. Throws Failure ("Overflow") when that leaves the 128-bit range
    // (a 36-digit total with four decimals, 9e22 with eighteen).
    Int128 roundedTiesToEven(int decimals) const;
    // Likewise with ties away from zero.
    Int128 roundedHalfAway(int decimals) const;
    double toDouble() const;
};

// "." as decimal point, optional sign, optional exponent, blanks around allowed. At most 36
// digits and a value below 10^36; digits beyond the 18th decimal are dropped (1e-40 reads as
// a zero with dropped digits).
std::optional<Decimal> parseDecimalText(QStringView text);
// The portal's form first, then the locale's (grouping allowed there). Throws Failure
// ("Overflow") for a number of the locale's form beyond what a Decimal holds.
std::optional<Decimal> readNumber(QStringView text, const QLocale& locale = QLocale());
// Like readNumber; throws Failure ("Type mismatch") when the text holds no number.
Decimal requireNumber(QStringView text, const QLocale& locale = QLocale());

// The decimal nearest to value, as its shortest round-trip text gives it. Throws Failure
// ("Overflow") for an infinity, a NaN or a value of 10^36 and beyond.
Decimal decimalFromDouble(double value);

// Pattern "0" with `decimals` zeros after the point: "0.00" is formatNumber(x, 2).
QString formatNumber(double value, int decimals, const QLocale& locale = QLocale());
QString formatNumber(const Decimal& value, int decimals, const QLocale& locale = QLocale());

// The general form of a number: up to 15 significant digits, no trailing zeros.
QString defaultText(double value, const QLocale& locale = QLocale());

}  // namespace kestrova
