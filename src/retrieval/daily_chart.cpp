// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/daily_chart.h"

#include "platform/number_format.h"

namespace kestrova {

std::optional<Megabytes> DailySeries::cell(std::size_t i) const {
    if (i < days.size()) {
        return days[i];
    }
    if (i == days.size()) {
        return average;
    }
    return std::nullopt;
}

QString DailySeries::cellText(std::size_t i) const {
    if (i < days.size()) {
        return formatNumber(days[i].toDecimal(), 2);
    }
    return i == days.size() ? average.defaultText() : QString();
}

QString DailyChart::text(bool withAverage) const {
    QString text;
    for (const QString& label : dayLabels) {
        text += u'\t' + label;
    }
    if (withAverage) {
        text += QStringLiteral("\tAvg");
    }
    for (const DailySeries& s : series) {
        text += QStringLiteral("\r\n") + s.name;
        for (std::size_t i = 0; i < s.days.size(); ++i) {
            text += u'\t' + s.cellText(i);
        }
        if (withAverage) {
            text += u'\t' + s.cellText(s.days.size());
        }
    }
    return text;
}

Megabytes chartValue(Megabytes value) {
    // Within the 64-bit range whatever the value: the last two of the four decimals go.
    return Megabytes::fromTenThousandths(std::int64_t(value.toDecimal().roundedHalfAway(2)) * 100);
}

}  // namespace kestrova
