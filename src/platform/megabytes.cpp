// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/megabytes.h"

#include "platform/failure.h"

#include <limits>

namespace kestrova {

Megabytes Megabytes::fromDecimal(const Decimal& value) {
    const Int128 units = value.roundedTiesToEven(4);
    if (units > std::numeric_limits<std::int64_t>::max() ||
        units < std::numeric_limits<std::int64_t>::min()) {
        throw Failure(QStringLiteral("Overflow"));
    }
    return Megabytes(std::int64_t(units));
}

Megabytes Megabytes::fromWhole(std::int64_t mb) {
    std::int64_t units = 0;
    if (__builtin_mul_overflow(mb, std::int64_t(10000), &units)) {
        throw Failure(QStringLiteral("Overflow"));
    }
    return Megabytes(units);
}

Megabytes& Megabytes::operator+=(Megabytes other) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(m_units, other.m_units, &sum)) {
        throw Failure(QStringLiteral("Overflow"));
    }
    m_units = sum;
    return *this;
}

Megabytes operator-(Megabytes a, Megabytes b) {
    std::int64_t difference = 0;
    if (__builtin_sub_overflow(a.m_units, b.m_units, &difference)) {
        throw Failure(QStringLiteral("Overflow"));
    }
    return Megabytes(difference);
}

Megabytes Megabytes::fromDouble(double value) {
    return fromDecimal(decimalFromDouble(value));
}

Megabytes Megabytes::fromText(QStringView text, const QLocale& locale) {
    return fromDecimal(requireNumber(text, locale));
}

std::int64_t Megabytes::roundedToWhole() const {
    return std::int64_t(toDecimal().roundedTiesToEven(0));
}

QString Megabytes::defaultText(const QLocale& locale) const {
    QString s = formatNumber(toDecimal(), 4, QLocale::c());
    while (s.endsWith(u'0')) {
        s.chop(1);
    }
    if (s.endsWith(u'.')) {
        s.chop(1);
    }
    return s.replace(u'.', locale.decimalPoint());
}

}  // namespace kestrova
