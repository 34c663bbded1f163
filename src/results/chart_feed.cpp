// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/chart_feed.h"

#include "platform/failure.h"
#include "platform/megabytes.h"
#include "platform/number_format.h"

#include <QLocale>
#include <algorithm>

namespace kestrova {

namespace {

QStringList linesOf(const QString& text) {
    return text.split(QStringLiteral("\r\n"));
}

QStringList cellsOf(const QString& line) {
    return line.split(u'\t');
}

// A cell's value for drawing: read exactly where it fits; a number of the locale's form
// beyond what an exact decimal holds is still a number, drawn as the nearest double.
std::optional<double> drawnValue(const QString& cell) {
    try {
        if (const auto number = readNumber(cell)) {
            return number->toDouble();
        }
    } catch (const Failure&) {
        bool ok = false;
        const double value = QLocale().toDouble(QStringView(cell).trimmed(), &ok);
        if (ok) {
            return value;
        }
    }
    return std::nullopt;
}

}  // namespace

ChartFeed updateGraphControl(const std::optional<DailyChart>& report, const QString& monthYear,
                             ColorRef inbuiltChartColor) {
    ChartFeed feed;
    static const DailyChart none;
    const DailyChart& chart = report ? *report : none;
    QStringList columns = chart.dayLabels;
    if (report) {
        columns.append(QStringLiteral("Avg"));
    }

    // Summed exactly, so a column of 0.1 and 0.2 totals 0.3 and maxY sees a true half.
    Megabytes largest;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        ChartItem item;
        item.itemId = QString::number(i + 1);
        item.selectedDescription = item.itemId;
        item.xAxisDescription = columns[i];
        Megabytes total;
        QString description;
        for (std::size_t s = 0; s < chart.series.size(); ++s) {
            const DailySeries& series = chart.series[s];
            const std::optional<Megabytes> value = series.cell(std::size_t(i));
            if (!value) {
                throw Failure(QStringLiteral("Subscript out of range: the series \"%1\" has no "
                                             "value for \"%2\"")
                                  .arg(series.name, columns[i]));
            }
            total += *value;
            const QString cell = series.cellText(std::size_t(i));
            if (s == 0) {
                description = cell + QStringLiteral(" MB");
            } else {
                description = QStringLiteral("Total:") + total.defaultText() +
                              QStringLiteral(" MB (NF:") + description + QStringLiteral("  + F:") +
                              cell + QStringLiteral(" MB)");
            }
        }
        item.legendDescription = description;
        item.value = total.toDouble();
        largest = std::max(largest, total);
        feed.items.push_back(std::move(item));
    }
    feed.largestTotal = largest.toDouble();

    ChartFeedProperties& p = feed.properties;
    p.chartTitle = QStringLiteral("ORVO Broadband Usage Chart for ") + monthYear;
    p.maxY = maxY(feed.largestTotal);
    p.barColor = inbuiltChartColor;
    const std::int64_t c = inbuiltChartColor;
    p.selectedBarColor = changeColor(getRGB(c, 1), getRGB(c, 2), getRGB(c, 3));
    return feed;
}

double maxY(double largestTotal) {
    const Megabytes lifted = Megabytes::fromDouble(largestTotal) + Megabytes::fromWhole(10);
    // Down to a whole ten.
    const std::int64_t tens = lifted.roundedToWhole() / 10;
    return double(tens * 10);
}

int getRGB(std::int64_t color, int part) {
    if (part < 1 || part > 3 || color < 0 || color > 0xFFFFFF) {
        return -1;
    }
    return int((color >> (8 * (part - 1))) & 0xFF);
}

ColorRef changeColor(int r, int g, int b) {
    const auto shade = [](int component, int upTo) {
        return std::clamp(component <= upTo ? component + 30 : component - 30, 0, 255);
    };
    // Blue from 21 to 29 would go negative when lowered; it is raised like the darker blues.
    return RGB(shade(r, 30), shade(g, 30), shade(b, 29));
}

ChartDataTable parseChartData(const QString& chartDataText) {
    ChartDataTable table;
    const QStringList lines = linesOf(chartDataText);
    table.categories = cellsOf(lines.front()).mid(1);
    for (qsizetype l = 1; l < lines.size(); ++l) {
        const QStringList cells = cellsOf(lines[l]);
        ChartSeries series;
        series.name = cells.front();
        for (qsizetype i = 1; i <= table.categories.size(); ++i) {
            series.values.push_back(i < cells.size() ? drawnValue(cells[i]) : std::nullopt);
        }
        table.series.push_back(std::move(series));
    }
    return table;
}

}  // namespace kestrova
