// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the office chart draws of a chart data text: its categories and its series with one
// number per category, and the few rules that turn the text into columns the chart can show.

#include <QString>
#include <QStringList>
#include <vector>

namespace kestrova {

struct OfficeChartSeries {
    QString name;
    std::vector<double> values;  // one per category
};

struct OfficeChartData {
    QStringList categories;
    std::vector<OfficeChartSeries> series;
};

// The categories and series of a chart data text. Never fails: an empty text or a header
// alone gives no series; a cell that is missing or holds no number draws as 0; a line without
// a name or values (a trailing line break) is no series.
OfficeChartData officeChartData(const QString& chartDataText);

// Category labels the category axis keeps one by one: it drops a repeated label (the same day
// of two months in one report), so a repeat gets zero-width spaces appended until it differs.
QStringList distinctCategoryLabels(const QStringList& labels);

}  // namespace kestrova
