// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/number_format.h"

#include <QLocale>
#include <QString>
#include <compare>
#include <cstdint>

namespace kestrova {

// A megabyte figure as the program sums it: a 64-bit count of ten-thousandths of a megabyte,
// so a month of usage adds up exactly, with no binary rounding drift.
class Megabytes {
public:
    constexpr Megabytes() = default;
    static constexpr Megabytes fromTenThousandths(std::int64_t units) { return Megabytes(units); }
    // Throws Failure ("Overflow") beyond about 9.2e14 MB, as the sums below do.
    static Megabytes fromWhole(std::int64_t mb);
    // Rounded to four decimals, ties to even; throws Failure when it does not fit.
    static Megabytes fromDecimal(const Decimal& value);
    static Megabytes fromDouble(double value);
    // readNumber() of the text; throws Failure ("Type mismatch") when it holds no number.
    static Megabytes fromText(QStringView text, const QLocale& locale = QLocale());

    constexpr std::int64_t tenThousandths() const { return m_units; }
    double toDouble() const { return double(m_units) / 10000.0; }
    Decimal toDecimal() const { return Decimal{m_units, 4, false}; }

    // Whole megabytes, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
    std::int64_t roundedToWhole() const;

    // A sum that leaves the 64-bit range throws Failure ("Overflow"), the failure a total too
    // large to read gives; it never wraps round.
    Megabytes& operator+=(Megabytes other);
    friend Megabytes operator+(Megabytes a, Megabytes b) { return a += b; }
    friend Megabytes operator-(Megabytes a, Megabytes b);
    // NOLINTNEXTLINE(modernize-use-nullptr): the check misreads the defaulted comparison.
    friend constexpr auto operator<=>(Megabytes, Megabytes) = default;

    // The default text: no thousands separator, up to four decimals, no trailing zeros.
    QString defaultText(const QLocale& locale = QLocale()) const;

private:
    constexpr explicit Megabytes(std::int64_t units) : m_units(units) {}
    std::int64_t m_units = 0;
};

}  // namespace kestrova
