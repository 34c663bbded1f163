// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Redraw times of the chart: the picture alone (ChartPainter into an image) and the control's
// whole drawChart (picture, legend rows, information box), for 31 and 1000 columns at maxY
// 1000 and 60000. The value grid visits every integer of the range.

#include "chart/chart_model.h"
#include "chart/chart_painter.h"
#include "chart/xchart.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

using namespace kestrova;

namespace {

ChartItemPtr item(int n, double maxY) {
    auto i = std::make_shared<ChartItem>();
    i->itemId = QString::number(n);
    i->xAxisDescription = QString::number(n);
    i->legendDescription = QStringLiteral("Total:%1 MB (NF:%1 MB  + F:0.00 MB)").arg(n);
    i->value = std::fmod(n * 7919.0, maxY);
    return i;
}

void configure(ChartModel& m, int columns, double maxY) {
    m.setAutoRedraw(false);
    for (int n = 1; n <= columns; ++n) {
        m.addItem(item(n, maxY));
    }
    m.setMaxY(maxY);
    m.setBarFillStyle(0);
    m.setMajorGridColor(0);
    m.setMinorGridColor(RGB(220, 220, 220));
    m.setBarShadow(false);
    m.setSelectable(true);
    m.setBarWidthPercentage(80);
    m.setChartTitle(QStringLiteral("ORVO Broadband Usage Chart for Mar 2024"));
    m.setAxisLabelX(QStringLiteral("Days"));
    m.setAxisLabelY(QStringLiteral("Megabytes"));
    m.setAutoRedraw(true);
}

void BM_PaintRedraw(benchmark::State& state) {
    const int columns = int(state.range(0));
    const double maxY = double(state.range(1));
    ChartModel model(15, 15);
    configure(model, columns, maxY);
    QImage image(900, 560, QImage::Format_RGB32);
    ChartCanvas canvas;
    canvas.scaleWidth = image.width() * 15.0;
    canvas.scaleHeight = image.height() * 15.0;
    canvas.centre = canvas.scaleWidth / 2;
    canvas.font = chartFont();
    for (auto _ : state) {
        model.computeScale();
        QPainter painter(&image);
        ChartRedraw redraw = ChartPainter().draw(painter, model, canvas);
        benchmark::DoNotOptimize(redraw.geometry.unitHeight);
    }
}

void BM_XChartDrawChart(benchmark::State& state) {
    const int columns = int(state.range(0));
    const double maxY = double(state.range(1));
    XChart chart;
    chart.resize(900, 560);
    configure(chart.model(), columns, maxY);
    chart.drawChart();
    for (auto _ : state) {
        chart.drawChart();
        benchmark::DoNotOptimize(chart.image().constBits());
    }
}

void arguments(benchmark::internal::Benchmark* b) {
    for (const int columns : {31, 1000}) {
        for (const int maxY : {1000, 60000}) {
            b->Args({columns, maxY});
        }
    }
    b->ArgNames({"columns", "MaxY"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_PaintRedraw)->Apply(arguments);
BENCHMARK(BM_XChartDrawChart)->Apply(arguments);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
