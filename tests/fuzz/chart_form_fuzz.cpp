// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The chart's texts of outside origin. Byte 0 modulo 3 picks what the rest (UTF-8) is:
// 0 a chart data text (tab-separated cells, CR LF lines) for the office chart's readers; 1 a
// stored form, read section by section into the chart's properties and typed values, and
// written again; 2 a value picture, applied to the double in the next 8 bytes. None of them
// may fail with an exception.

#include "chart/chart_properties.h"
#include "chart/data_format.h"
#include "controls/stored_properties.h"
#include "fuzz_support.h"
#include "platform/property_bag.h"
#include "results/chart_feed.h"
#include "results/office_chart_data.h"

#include <QLocale>
#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace kestrova;
using namespace kestrova::fuzz;

namespace {

void chartDataText(const QString& text) {
    const ChartDataTable table = parseChartData(text);
    for (const ChartSeries& series : table.series) {
        check(series.values.size() == std::size_t(table.categories.size()),
              "a series without a value per category");
    }
    const OfficeChartData data = officeChartData(text);
    check(data.series.size() <= table.series.size(), "the office chart made up a series");
    const QStringList labels = distinctCategoryLabels(data.categories);
    check(labels.size() == data.categories.size(), "a category label went missing");
}

void storedForm(const QString& text) {
    const StoredForm form = StoredForm::parse(text);
    const QString written = form.serialize();
    check(StoredForm::parse(written).serialize() == written, "a written form did not read back");
    for (const QString& instance : form.instances()) {
        const PropertyBag bag = form.bag(instance);
        ChartProperties props;
        readChartProperties(bag, props);
        for (const QString& key : bag.keys()) {
            const QString value = bag.read(key);
            (void)storedBool(value);
            (void)storedInteger(value);
            (void)storedNumber(value);
            (void)storedColor(value);
            (void)readFont(bag, key, StdFont());
        }
    }
}

void valuePicture(double value, const QString& picture) {
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)}) {
        (void)formatChartValue(value, picture, locale);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const auto* rest = reinterpret_cast<const char*>(data + 1);
    switch (data[0] % 3) {
        case 0:
            chartDataText(QString::fromUtf8(rest, qsizetype(size - 1)));
            break;
        case 1:
            storedForm(QString::fromUtf8(rest, qsizetype(size - 1)));
            break;
        default: {
            if (size < 9) {
                return 0;
            }
            double value = 0;
            std::memcpy(&value, rest, sizeof value);
            valuePicture(value, QString::fromUtf8(rest + 8, qsizetype(size - 9)));
            break;
        }
    }
    return 0;
}
