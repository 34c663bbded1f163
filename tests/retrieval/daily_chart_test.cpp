// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/daily_chart.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace kestrova;
using kestrova::test::q;

namespace {

Megabytes mb(const char* text) {
    return Megabytes::fromText(q(text), QLocale::c());
}

TEST(ChartValue, KeepsTheHundredthTheChartShowsHalvesAwayFromZero) {
    const struct {
        const char* value;
        const char* kept;
    } rows[] = {
        {"1.005", "1.01"},
        {"1.0049", "1"},
        {"-1.005", "-1.01"},
        {"2.675", "2.68"},
        {"0.0050", "0.01"},
        {"0.0049", "0"},
        {"12.5", "12.5"},
        {"0", "0"},
        // The ends of the range stay inside it.
        {"922337203685477.5807", "922337203685477.58"},
        {"-922337203685477.5808", "-922337203685477.58"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(chartValue(mb(row.value)), mb(row.kept)) << row.value;
    }
}

TEST(DailyChart, ASeriesWithoutDaysPutsItsAverageInTheFirstColumn) {
    const DailyChart chart{{q("17")}, {{q("Usage"), {mb("0")}, mb("0")}, {QString(), {}, mb("2")}}};
    EXPECT_EQ(chart.text(false), q("\t17\r\nUsage\t0.00\r\n"));
    EXPECT_EQ(chart.text(true), q("\t17\tAvg\r\nUsage\t0.00\t0\r\n\t2"));
    const DailySeries& leftOut = chart.series[1];
    EXPECT_EQ(leftOut.cell(0), mb("2"));
    EXPECT_EQ(leftOut.cell(1), std::nullopt);
    EXPECT_EQ(leftOut.cellText(1), QString());
}

TEST(DailyChart, WithoutDaysOrSeriesIsTheHeaderAlone) {
    EXPECT_EQ(DailyChart().text(false), QString());
    EXPECT_EQ(DailyChart().text(true), q("\tAvg"));
}

TEST(DailyChart, WritesTheLocalesDecimalSeparator) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const DailyChart chart{{q("01")}, {{q("Usage"), {mb("1234.5")}, mb("1234.5")}}};
    const QString text = chart.text(true);
    QLocale::setDefault(before);
    EXPECT_EQ(text, q("\t01\tAvg\r\nUsage\t1234,50\t1234,5"));
}

}  // namespace
