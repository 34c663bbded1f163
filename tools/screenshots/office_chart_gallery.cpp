// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The office chart in the result window's dress: a month of usage with the "Avg" column, with
// and without the values on the columns, and with the "Free" series stacked on top. With
// --screenshots <folder> it saves each chart as a PNG and quits.

#include "results/office_chart/qt_office_chart.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <cmath>
#include <memory>
#include <vector>

using namespace kestrova;

namespace {

constexpr ColorRef kChartColorNonFree = 9671679;
constexpr ColorRef kChartColorFree = 11599792;

// The main window's text with the average column: header "\t01\t02…\tAvg", then the series.
QString monthText(bool withFree) {
    QString header;
    QString usage = QStringLiteral("Usage");
    QString free = QStringLiteral("Free");
    double usageSum = 0;
    double freeSum = 0;
    for (int day = 1; day <= 31; ++day) {
        const double u =
            std::round((180 + 160 * std::sin(day * 0.7) + 9.0 * (day % 7)) * 100) / 100;
        const double f = std::round((40 + 35 * std::cos(day * 1.3)) * 100) / 100;
        usageSum += u;
        freeSum += f;
        header += u'\t' + QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0'));
        usage += u'\t' + QString::number(u, 'f', 2);
        free += u'\t' + QString::number(f, 'f', 2);
    }
    QString text = header + QStringLiteral("\tAvg\r\n") + usage + u'\t' +
                   QString::number(usageSum / 31, 'f', 2);
    if (withFree) {
        text += QStringLiteral("\r\n") + free + u'\t' + QString::number(freeSum / 31, 'f', 2);
    }
    return text;
}

// Set up as the result window sets up its chart of type 2.
std::unique_ptr<QtOfficeChart> resultWindowChart(QWidget* parent, bool withFree, bool values,
                                                 QSize size) {
    auto chart = std::make_unique<QtOfficeChart>(parent);
    chart->setHasLegend(false);
    chart->setChartType(52);
    chart->setHasTitle(true);
    chart->setTickLabelFontSize(1, 1, 5);
    chart->setTickLabelFontSize(2, 1, 5);
    chart->setHasDataTable(true);
    chart->setChartTitleText(QStringLiteral("ORVO Broadband Usage Chart for Mar 2024"));
    chart->setDataText(monthText(withFree));
    chart->redraw();
    chart->setSeriesColor(QStringLiteral("Usage"), kChartColorNonFree);
    if (withFree) {
        chart->setSeriesColor(QStringLiteral("Free"), kChartColorFree);
        chart->setHasLegend(true);
    }
    chart->setHasDataTable(values);
    chart->setChartTitleFontSize(8);
    chart->setDataTableFontSize(9);
    chart->setTickLabelFontSize(2, 1, 10);
    chart->setTickLabelFontSize(1, 1, 10);
    chart->setApplicationSize(size.width(), size.height());
    chart->setSize(size.width(), size.height());
    return chart;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption screenshots(QStringLiteral("screenshots"),
                                         QStringLiteral("Save each chart as a PNG in <folder>."),
                                         QStringLiteral("folder"));
    parser.addOption(screenshots);
    const QCommandLineOption windowShot(
        QStringLiteral("window-shot"),
        QStringLiteral("Show the window, save it as <file> once it has been laid out, and quit."),
        QStringLiteral("file"));
    parser.addOption(windowShot);
    parser.process(app);

    QTabWidget tabs;
    struct Page {
        QString name;
        bool withFree;
        bool values;
        QSize size = QSize(760, 420);
    };
    const std::vector<Page> pages = {{QStringLiteral("usage"), false, false},
                                     {QStringLiteral("usage-values"), false, true},
                                     {QStringLiteral("usage-free-values"), true, true},
                                     {QStringLiteral("small-values"), false, true, QSize(480, 270)},
                                     {QStringLiteral("empty"), false, false}};
    std::vector<std::unique_ptr<QtOfficeChart>> charts;
    for (const Page& page : pages) {
        auto* holder = new QWidget;
        holder->resize(page.size);
        charts.push_back(resultWindowChart(holder, page.withFree, page.values, page.size));
        if (page.name == QStringLiteral("empty")) {
            charts.back()->setDataText(QString());
            charts.back()->redraw();
        }
        tabs.addTab(holder, page.name);
    }
    tabs.resize(780, 460);

    if (parser.isSet(screenshots)) {
        const QDir folder(parser.value(screenshots));
        folder.mkpath(QStringLiteral("."));
        for (std::size_t i = 0; i < pages.size(); ++i) {
            charts[i]->picture().save(
                folder.filePath(QStringLiteral("office-chart-%1.png").arg(pages[i].name)));
        }
        return 0;
    }
    tabs.show();
    if (parser.isSet(windowShot)) {
        // Through the event loop, as the result window shows it.
        QTimer::singleShot(500, &tabs, [&] {
            tabs.grab().save(parser.value(windowShot));
            QCoreApplication::quit();
        });
    }
    return QApplication::exec();
}
