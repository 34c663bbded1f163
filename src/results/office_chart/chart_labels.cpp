// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/office_chart/chart_labels.h"

#include "platform/number_format.h"

#include <algorithm>

namespace kestrova {

namespace {

constexpr double kGap = 2;          // pixels kept between a label and its part's ends
constexpr double kCategoryGap = 6;  // pixels between the plot and the category labels

}  // namespace

double ColumnFrame::columnCentre(qsizetype category, qsizetype categoryCount) const {
    return plotArea.left() + (double(category) + 0.5) * plotArea.width() / double(categoryCount);
}

double ColumnFrame::columnWidth(qsizetype categoryCount) const {
    return plotArea.width() / double(categoryCount) * barWidth;
}

double ColumnFrame::yOf(double value) const {
    const double span = maxValue - minValue;
    if (!(span > 0)) {
        return plotArea.bottom();
    }
    return plotArea.bottom() - (value - minValue) / span * plotArea.height();
}

std::vector<ValueLabel> placeValueLabels(const OfficeChartData& data, const ColumnFrame& frame,
                                         const TextSize& textSize, const QLocale& locale) {
    const qsizetype count = data.categories.size();
    std::vector<ValueLabel> labels;
    if (count == 0 || !frame.plotArea.isValid()) {
        return labels;
    }

    std::vector<QSizeF> sizes;
    bool upright = true;
    const double columnWidth = frame.columnWidth(count);
    for (qsizetype c = 0; c < count; ++c) {
        for (std::size_t s = 0; s < data.series.size(); ++s) {
            const double value = data.series[s].values[std::size_t(c)];
            if (value == 0) {
                continue;
            }
            ValueLabel label;
            label.series = s;
            label.category = c;
            label.text = formatNumber(value, 2, locale);
            sizes.push_back(textSize(label.text));
            upright = upright && sizes.back().width() <= columnWidth;
            labels.push_back(std::move(label));
        }
    }

    // The parts of each column stack as the chart stacks them: positive values upwards from 0,
    // negative ones downwards, in series order.
    std::vector<double> above(std::size_t(count), 0.0);
    std::vector<double> below(std::size_t(count), 0.0);
    std::vector<std::size_t> topPart(std::size_t(count), labels.size());
    std::vector<std::pair<double, double>> parts;  // value range of each label's part
    parts.reserve(labels.size());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const ValueLabel& label = labels[i];
        const auto c = std::size_t(label.category);
        const double value = data.series[label.series].values[c];
        double& end = value > 0 ? above[c] : below[c];
        parts.emplace_back(end, end + value);
        end += value;
        if (value > 0) {
            topPart[c] = i;
        }
    }

    for (std::size_t i = 0; i < labels.size(); ++i) {
        ValueLabel& label = labels[i];
        label.angle = upright ? 0.0 : -90.0;
        const double length = upright ? sizes[i].height() : sizes[i].width();
        const double x = frame.columnCentre(label.category, count);
        const double y1 = frame.yOf(parts[i].first);
        const double y2 = frame.yOf(parts[i].second);
        if (length + 2 * kGap <= std::abs(y1 - y2)) {
            label.centre = QPointF(x, (y1 + y2) / 2);
            continue;
        }
        const double top = std::min(y1, y2) - kGap - length;
        if (topPart[std::size_t(label.category)] == i && top >= frame.plotArea.top()) {
            label.centre = QPointF(x, top + length / 2);
        } else {
            label.shown = false;
            label.centre = QPointF(x, (y1 + y2) / 2);
        }
    }
    return labels;
}

CategoryLabels placeCategoryLabels(const QStringList& categories, const ColumnFrame& frame,
                                   const TextSize& textSize) {
    CategoryLabels placed;
    const qsizetype count = categories.size();
    if (count == 0 || !frame.plotArea.isValid()) {
        return placed;
    }
    std::vector<QSizeF> sizes;
    sizes.reserve(std::size_t(count));
    double widest = 0;
    double tallest = 0;
    for (const QString& text : categories) {
        sizes.push_back(textSize(text));
        widest = std::max(widest, sizes.back().width());
        tallest = std::max(tallest, sizes.back().height());
    }
    // Labels that fill their categories would read as one run of digits ("010203…"): an upright
    // label leaves a quarter of its height free beside it.
    const bool upright = widest + tallest / 4 <= frame.plotArea.width() / double(count);
    const double top = frame.plotArea.bottom() + kCategoryGap;
    for (qsizetype c = 0; c < count; ++c) {
        CategoryLabel label;
        label.text = categories[c];
        label.angle = upright ? 0.0 : -90.0;
        const QSizeF& size = sizes[std::size_t(c)];
        const double length = upright ? size.height() : size.width();
        label.centre = QPointF(frame.columnCentre(c, count), top + length / 2);
        placed.labels.push_back(std::move(label));
    }
    placed.depth = kCategoryGap + (upright ? tallest : widest);
    return placed;
}

}  // namespace kestrova
