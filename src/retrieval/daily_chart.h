// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/megabytes.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kestrova {

// One series of the usage chart: a value per day, each kept to the hundredth of a megabyte the
// chart shows, and the average per day.
struct DailySeries {
    QString name;  // "Usage" or "Free"
    // One per day of the chart. A series with fewer runs short: its average moves up into
    // the first column it lacks, in the chart data text as in its cells.
    std::vector<Megabytes> days;
    Megabytes average;

    // Cell i (from 0) of the series in the chart's columns (the days, then "Avg"): a day's
    // value, or the average right after the last day; none beyond.
    std::optional<Megabytes> cell(std::size_t i) const;
    // A cell as the chart data text writes it: a day's value with two decimals, the average in
    // default text.
    QString cellText(std::size_t i) const;

    friend bool operator==(const DailySeries&, const DailySeries&) = default;
};

// The usage chart of a report: the day columns, the oldest first, and the series over them.
// The report builds it; the built-in chart draws it, and the chart data texts are written
// from it.
struct DailyChart {
    QStringList dayLabels;  // the day of the month, "01" to "31"
    std::vector<DailySeries> series;

    // The chart data text: the header line (an empty cell, then the day labels and, with the
    // average, "Avg") and one line per series, cells split by a tab, lines by CR LF.
    QString text(bool withAverage) const;

    friend bool operator==(const DailyChart&, const DailyChart&) = default;
};

// A day's value as the chart keeps it: rounded to the hundredth, halves away from zero.
Megabytes chartValue(Megabytes value);

}  // namespace kestrova
