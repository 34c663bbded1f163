// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "chart/data_format.h"

#include "platform/number_format.h"

#include <QStringList>
#include <cmath>
#include <optional>
#include <vector>

namespace kestrova {

namespace {

enum class TokenKind { Digit, Point, Comma, Percent, Literal };

struct Token {
    TokenKind kind = TokenKind::Literal;
    QString text;  // the placeholder character, or the literal text
};

QStringList splitSections(const QString& picture) {
    QStringList sections;
    QString current;
    bool quoted = false;
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const QChar c = picture[i];
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && c == u'\\' && i + 1 < picture.size()) {
            current += c;
            current += picture[++i];
            continue;
        } else if (!quoted && c == u';') {
            sections << current;
            current.clear();
            continue;
        }
        current += c;
    }
    sections << current;
    return sections;
}

std::vector<Token> tokenize(const QString& section) {
    std::vector<Token> tokens;
    auto literal = [&tokens](const QString& text) {
        if (!tokens.empty() && tokens.back().kind == TokenKind::Literal) {
            tokens.back().text += text;
        } else {
            tokens.push_back({TokenKind::Literal, text});
        }
    };
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (c == u'"') {
            const qsizetype end = section.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? section.size() : end;
            literal(section.mid(i + 1, stop - i - 1));
            i = stop;
        } else if (c == u'\\' && i + 1 < section.size()) {
            literal(QString(section[++i]));
        } else if (c == u'0' || c == u'#') {
            tokens.push_back({TokenKind::Digit, QString(c)});
        } else if (c == u'.') {
            tokens.push_back({TokenKind::Point, QString(c)});
        } else if (c == u',') {
            tokens.push_back({TokenKind::Comma, QString(c)});
        } else if (c == u'%') {
            tokens.push_back({TokenKind::Percent, QString(c)});
        } else {
            literal(QString(c));
        }
    }
    return tokens;
}

QString groupDigits(const QString& digits, const QString& separator) {
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) {
            out += separator;
        }
        out += digits[i];
    }
    return out;
}

// Fixed-point digits are shown up to this magnitude; beyond it the general form shows the value.
constexpr double kLargestFixed = 1e20;

// Formats |value| through one section's tokens; nothing when the value, scaled by the
// section's "%" signs, is too large for fixed-point digits.
std::optional<QString> formatSection(double magnitude, const std::vector<Token>& tokens,
                                     const QLocale& locale) {
    qsizetype point = -1;
    int percents = 0;
    for (qsizetype i = 0; i < qsizetype(tokens.size()); ++i) {
        if (tokens[std::size_t(i)].kind == TokenKind::Point && point < 0) {
            point = i;
        }
        percents += tokens[std::size_t(i)].kind == TokenKind::Percent ? 1 : 0;
    }
    const qsizetype intEnd = point < 0 ? qsizetype(tokens.size()) : point;

    std::vector<qsizetype> intPlaces;
    std::vector<qsizetype> decPlaces;
    int minInt = 0;
    int minDec = 0;
    bool grouping = false;
    for (qsizetype i = 0; i < qsizetype(tokens.size()); ++i) {
        const Token& t = tokens[std::size_t(i)];
        if (t.kind == TokenKind::Digit) {
            if (i < intEnd) {
                intPlaces.push_back(i);
            } else {
                decPlaces.push_back(i);
                if (t.text == u"0") {
                    minDec = int(decPlaces.size());
                }
            }
        } else if (t.kind == TokenKind::Comma && i < intEnd && !intPlaces.empty()) {
            grouping = true;
        }
    }
    // A "0" forces a digit in its place and in every integer place to its right.
    for (qsizetype k = 0; k < qsizetype(intPlaces.size()); ++k) {
        if (tokens[std::size_t(intPlaces[std::size_t(k)])].text == u"0") {
            minInt = int(intPlaces.size()) - int(k);
            break;
        }
    }
    if (intPlaces.empty() && decPlaces.empty()) {
        QString out;
        for (const Token& t : tokens) {
            out += t.text;
        }
        return out;
    }

    const int decimals = std::min<int>(int(decPlaces.size()), 15);
    double scaled = magnitude;
    for (int i = 0; i < percents && scaled <= kLargestFixed; ++i) {
        scaled *= 100;
    }
    if (!(scaled <= kLargestFixed)) {
        return std::nullopt;
    }
    const Decimal exact = decimalFromDouble(scaled);
    Int128 units = exact.roundedHalfAway(decimals);
    QString digits;
    if (units == 0) {
        digits = QStringLiteral("0");
    }
    while (units > 0) {
        digits.prepend(QChar(u'0' + int(units % 10)));
        units /= 10;
    }
    while (digits.size() <= decimals) {
        digits.prepend(u'0');
    }
    QString intDigits = digits.left(digits.size() - decimals);
    QString decDigits = digits.right(decimals);
    while (intDigits.startsWith(u'0')) {
        intDigits.remove(0, 1);
    }
    while (intDigits.size() < minInt) {
        intDigits.prepend(u'0');
    }
    while (decDigits.size() > minDec && decDigits.endsWith(u'0')) {
        decDigits.chop(1);
    }

    // Which text each integer placeholder shows: right-aligned, the leftmost one takes the
    // digits that are left over; with grouping the whole integer part goes to the first.
    std::vector<QString> intText(intPlaces.size());
    if (!intPlaces.empty()) {
        if (grouping) {
            intText[0] = groupDigits(intDigits, locale.groupSeparator());
        } else {
            qsizetype remaining = intDigits.size();
            for (qsizetype k = qsizetype(intPlaces.size()) - 1; k >= 0 && remaining > 0; --k) {
                const qsizetype take = k == 0 ? remaining : 1;
                intText[std::size_t(k)] = intDigits.mid(remaining - take, take);
                remaining -= take;
            }
        }
    }

    QString out;
    std::size_t nextInt = 0;
    std::size_t nextDec = 0;
    for (qsizetype i = 0; i < qsizetype(tokens.size()); ++i) {
        const Token& t = tokens[std::size_t(i)];
        switch (t.kind) {
            case TokenKind::Digit:
                if (i < intEnd) {
                    out += intText[nextInt++];
                } else {
                    if (nextDec < std::size_t(decDigits.size())) {
                        out += decDigits[qsizetype(nextDec)];
                    }
                    ++nextDec;
                }
                break;
            case TokenKind::Point:
                if (i == point) {
                    out += locale.decimalPoint();
                } else {
                    out += t.text;
                }
                break;
            case TokenKind::Comma:
                if (!(grouping && i < intEnd)) {
                    out += t.text;
                }
                break;
            case TokenKind::Percent:
            case TokenKind::Literal:
                out += t.text;
                break;
        }
    }
    return out;
}

QString scientific(double value, const QLocale& locale) {
    const std::vector<Token> mantissaTokens = tokenize(QStringLiteral("0.00"));
    if (value == 0) {
        return *formatSection(0, mantissaTokens, locale) + u"E+00";
    }
    int exponent = int(std::floor(std::log10(std::fabs(value))));
    // In two steps below 1e-300, where 10^exponent alone would underflow to zero.
    double mantissa = exponent < -300 ? std::fabs(value) * 1e300 / std::pow(10.0, exponent + 300)
                                      : std::fabs(value) / std::pow(10.0, exponent);
    QString m = formatSection(mantissa, mantissaTokens, locale).value_or(QString());
    if (m.startsWith(u"10")) {  // 9.999 rounds up to the next power of ten
        ++exponent;
        mantissa /= 10;
        m = formatSection(mantissa, mantissaTokens, locale).value_or(QString());
    }
    const QString e = QString::number(std::abs(exponent)).rightJustified(2, u'0');
    return (value < 0 ? QStringLiteral("-") : QString()) + m + (exponent < 0 ? u"E-" : u"E+") + e;
}

}  // namespace

QString formatChartValue(double value, const QString& picture, const QLocale& locale) {
    const QString named = picture.trimmed();
    // Beyond 1e20 the fixed-point digits would not fit; the general form still shows it.
    if (named.isEmpty() || named.compare(u"General Number", Qt::CaseInsensitive) == 0 ||
        !std::isfinite(value) || std::fabs(value) > kLargestFixed) {
        return defaultText(value, locale);
    }
    if (named.compare(u"Scientific", Qt::CaseInsensitive) == 0) {
        return scientific(value, locale);
    }
    QString pattern = picture;
    if (named.compare(u"Fixed", Qt::CaseInsensitive) == 0) {
        pattern = QStringLiteral("0.00");
    } else if (named.compare(u"Standard", Qt::CaseInsensitive) == 0) {
        pattern = QStringLiteral("#,##0.00");
    } else if (named.compare(u"Percent", Qt::CaseInsensitive) == 0) {
        pattern = QStringLiteral("0.00%");
    }

    const QStringList sections = splitSections(pattern);
    if (value == 0 && sections.size() >= 3 && !sections[2].isEmpty()) {
        return formatSection(0, tokenize(sections[2]), locale).value_or(QString());
    }
    if (value < 0 && sections.size() >= 2 && !sections[1].isEmpty()) {
        return formatSection(-value, tokenize(sections[1]), locale)
            .value_or(defaultText(value, locale));
    }
    const std::optional<QString> shown =
        formatSection(std::fabs(value), tokenize(sections[0]), locale);
    if (!shown) {
        // Its "%" signs took the value beyond fixed-point digits: the general form, as above.
        return defaultText(value, locale);
    }
    const QString& text = *shown;
    if (value >= 0) {
        return text;
    }
    // No minus for a value that the picture shows as zero.
    for (QChar c : text) {
        if (c.isDigit() && c != u'0') {
            return u'-' + text;
        }
    }
    return text;
}

}  // namespace kestrova
