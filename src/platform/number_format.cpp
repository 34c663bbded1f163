// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/number_format.h"

#include "platform/failure.h"

#include <cmath>

namespace kestrova {

namespace {

constexpr int kMaxScale = 18;
constexpr int kMaxDigits = 36;  // what fits a signed 128-bit integer with room to spare

constexpr Int128 kInt128Max = (Int128(1) << 126) - 1 + (Int128(1) << 126);

[[noreturn]] void overflow() {
    throw Failure(QStringLiteral("Overflow"));
}

// v * 10^n, or nothing when that leaves the 128-bit range: a total of some 36 digits shown
// with four decimals does not fit, and signed overflow must never happen.
std::optional<Int128> timesPow10(Int128 v, int n) {
    for (int k = 0; k < n; ++k) {
        if (v > kInt128Max / 10 || v < -(kInt128Max / 10)) {
            return std::nullopt;
        }
        v *= 10;
    }
    return v;
}

Int128 pow10(int n) {
    const auto p = timesPow10(1, n);
    if (!p) {
        overflow();
    }
    return *p;
}

Int128 roundScaled(const Decimal& d, int decimals, bool tiesToEven) {
    if (decimals >= d.scale) {
        const auto scaled = timesPow10(d.scaled, decimals - d.scale);
        if (!scaled) {
            overflow();
        }
        return *scaled;
    }
    const Int128 div = pow10(d.scale - decimals);
    const bool negative = d.scaled < 0;
    const Int128 magnitude = negative ? -d.scaled : d.scaled;
    Int128 q = magnitude / div;
    const Int128 r = magnitude % div;
    const Int128 twice = r * 2;
    bool up = false;
    if (twice > div || (twice == div && d.dropped)) {
        up = true;
    } else if (twice == div) {
        up = tiesToEven ? (q % 2 != 0) : true;
    }
    if (up) {
        ++q;
    }
    return negative ? -q : q;
}

QString digitsOf(Int128 v) {
    if (v == 0) {
        return QStringLiteral("0");
    }
    QString s;
    while (v > 0) {
        s.prepend(QChar(u'0' + int(v % 10)));
        v /= 10;
    }
    return s;
}

// sign, integer digits, point, `decimals` digits, from the digits of a value scaled by
// 10^decimals.
QString layout(bool negative, QString digits, int decimals, const QLocale& locale) {
    if (digits.size() <= decimals) {
        digits = QString(decimals - digits.size() + 1, u'0') + digits;
    }
    QString out = negative ? QStringLiteral("-") : QString();
    out += QStringView(digits).left(digits.size() - decimals);
    if (decimals > 0) {
        out += locale.decimalPoint();
        out += QStringView(digits).right(decimals);
    }
    return out;
}

}  // namespace

Int128 Decimal::roundedTiesToEven(int decimals) const {
    return roundScaled(*this, decimals, true);
}
Int128 Decimal::roundedHalfAway(int decimals) const {
    return roundScaled(*this, decimals, false);
}

double Decimal::toDouble() const {
    return double(scaled) / std::pow(10.0, scale);
}

std::optional<Decimal> parseDecimalText(QStringView text) {
    text = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    Decimal d;
    int digits = 0;
    bool anyDigit = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            anyDigit = true;
            if (point && d.scale >= kMaxScale) {
                d.dropped = d.dropped || c != u'0';
                continue;
            }
            if (digits > 0 || c != u'0') {
                ++digits;
            }
            if (digits > kMaxDigits) {
                return std::nullopt;
            }
            d.scaled = d.scaled * 10 + (c - u'0');
            if (point) {
                ++d.scale;
            }
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool expNegative = false;
        if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
            expNegative = text[i] == u'-';
            ++i;
        }
        int exponent = 0;
        bool expDigit = false;
        for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
            expDigit = true;
            if (exponent <= kMaxDigits + kMaxScale) {
                exponent = exponent * 10 + (text[i].unicode() - u'0');
            }
        }
        if (!expDigit || (!expNegative && exponent > kMaxDigits)) {
            return std::nullopt;
        }
        if (expNegative && exponent > kMaxDigits + kMaxScale) {
            // Every digit lies beyond the 18th decimal: a tiny value such as 1.6e-124 is a
            // zero with dropped digits, not a text without a number.
            d.dropped = d.dropped || d.scaled != 0;
            d.scaled = 0;
            d.scale = kMaxScale;
        } else if (expNegative) {
            d.scale += exponent;
            while (d.scale > kMaxScale) {
                d.dropped = d.dropped || d.scaled % 10 != 0;
                d.scaled /= 10;
                --d.scale;
            }
        } else {
            while (exponent > 0 && d.scale > 0) {
                --d.scale;
                --exponent;
            }
            if (digits + exponent > kMaxDigits) {
                return std::nullopt;
            }
            d.scaled *= pow10(exponent);
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    if (negative) {
        d.scaled = -d.scaled;
    }
    return d;
}

Decimal decimalFromDouble(double value) {
    if (!std::isfinite(value)) {
        overflow();
    }
    const QString text = QString::number(value, 'g', 17);
    // Shortest text that reads back as the same double, so 0.1 stays 0.1.
    for (int precision = 1; precision <= 17; ++precision) {
        const QString candidate = QString::number(value, 'g', precision);
        if (candidate.toDouble() == value) {
            if (auto d = parseDecimalText(candidate)) {
                return *d;
            }
            break;
        }
    }
    if (auto d = parseDecimalText(text)) {
        return *d;
    }
    overflow();
}

std::optional<Decimal> readNumber(QStringView text, const QLocale& locale) {
    if (auto d = parseDecimalText(text)) {
        return d;
    }
    bool ok = false;
    const double v = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v)) {
        return std::nullopt;
    }
    return decimalFromDouble(v);
}

Decimal requireNumber(QStringView text, const QLocale& locale) {
    if (auto d = readNumber(text, locale)) {
        return *d;
    }
    throw Failure(QStringLiteral("Type mismatch: %1 is not a number").arg(quotedForMessage(text)));
}

QString formatNumber(const Decimal& value, int decimals, const QLocale& locale) {
    const bool negative = value.scaled < 0;
    if (decimals >= value.scale) {
        // Nothing to round: the digits and as many zeros as are missing, however large the
        // number (a box's value of 1.5e34 shown with eight decimals still fits the text).
        QString digits = digitsOf(negative ? -value.scaled : value.scaled);
        if (value.scaled != 0) {
            digits += QString(decimals - value.scale, u'0');
        }
        return layout(negative, digits, decimals, locale);
    }
    const Int128 rounded = value.roundedHalfAway(decimals);
    return layout(rounded < 0, digitsOf(rounded < 0 ? -rounded : rounded), decimals, locale);
}

QString formatNumber(double value, int decimals, const QLocale& locale) {
    if (!std::isfinite(value)) {
        return QString::number(value);
    }
    // Through 15 significant digits first, as a reader of the figure would: 2.675 shows 2.68.
    const auto d = parseDecimalText(QString::number(value, 'g', 15));
    if (!d) {
        return QString::number(value, 'f', decimals);
    }
    return formatNumber(*d, decimals, locale);
}

QString defaultText(double value, const QLocale& locale) {
    if (!std::isfinite(value)) {
        return QString::number(value);
    }
    QString s = QString::number(value, 'g', 15);
    if (s.contains(u'e')) {
        return s.replace(u'.', locale.decimalPoint());
    }
    return s.replace(u'.', locale.decimalPoint());
}

}  // namespace kestrova
