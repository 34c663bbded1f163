// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/office_chart_data.h"

#include "results/chart_feed.h"

#include <QSet>
#include <algorithm>
#include <cmath>

namespace kestrova {

OfficeChartData officeChartData(const QString& chartDataText) {
    const ChartDataTable table = parseChartData(chartDataText);
    OfficeChartData data;
    data.categories = table.categories;
    for (const ChartSeries& parsed : table.series) {
        const bool hasValue = std::any_of(parsed.values.begin(), parsed.values.end(),
                                          [](const auto& v) { return v.has_value(); });
        if (parsed.name.isEmpty() && !hasValue) {
            continue;
        }
        OfficeChartSeries series;
        series.name = parsed.name;
        series.values.reserve(parsed.values.size());
        for (const auto& value : parsed.values) {
            series.values.push_back(value && std::isfinite(*value) ? *value : 0.0);
        }
        data.series.push_back(std::move(series));
    }
    return data;
}

QStringList distinctCategoryLabels(const QStringList& labels) {
    QStringList distinct;
    distinct.reserve(labels.size());
    QSet<QString> seen;
    for (const QString& label : labels) {
        // The axis also refuses a null text.
        QString unique = label.isNull() ? QStringLiteral("") : label;
        while (seen.contains(unique)) {
            unique += QChar(0x200B);
        }
        seen.insert(unique);
        distinct.push_back(unique);
    }
    return distinct;
}

}  // namespace kestrova
