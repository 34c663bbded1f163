// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A result window with a month of usage in it, driven as the main window drives it: the usage
// log read into records, the report builder's grabbingFinished and writeOutput (HeadlessHost
// stands for the main window's hidden browser), then showOutput's part on the window.

#include "platform/failure.h"
#include "results/office_chart/office_chart.h"
#include "results/window/result_window.h"
#include "results/window/result_window_host.h"
#include "retrieval/cache_file.h"
#include "retrieval/headless.h"
#include "retrieval/report_page.h"
#include "retrieval/retrieval_state.h"
#include "retrieval/usage_log.h"

#include <QClipboard>
#include <QDate>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>
#include <memory>

namespace kestrova::testing {

// The main window's side of the window's call-backs.
class MainWindowStandIn : public ResultWindowHost {
public:
    void writeOutput() override {
        ++writeOutputs;
        if (builder) {
            builder->writeOutput();
        }
    }
    void openLink(const QString&) override {}

    ReportBuilder* builder = nullptr;
    int writeOutputs = 0;
};

// An office chart object that records what the window asks of it.
class FakeOfficeChart : public OfficeChart {
public:
    explicit FakeOfficeChart(QWidget* parent) : m_widget(new QLabel(parent)) {
        m_widget->setObjectName(QStringLiteral("fakeOfficeChart"));
    }
    ~FakeOfficeChart() override { delete m_widget.data(); }

    QWidget* widget() override { return m_widget; }
    bool isRunning() const override { return true; }
    void setDataText(const QString& text) override { data = text; }
    QString dataText() const override { return data; }
    void redraw() override {
        ++updates;
        m_widget->setText(data);
    }
    void setHasLegend(bool on) override { legend = on; }
    bool hasLegend() const override { return legend; }
    // The chart type and fonts are the object's business; the tests read the rest.
    void setChartType(int) override {}
    void setHasTitle(bool) override {}
    void setChartTitleText(const QString& t) override { title = t; }
    QString chartTitleText() const override { return title; }
    void setChartTitleFontSize(double) override {}
    void setTickLabelFontSize(int, int, double) override {}
    void setHasDataTable(bool on) override { dataTable = on; }
    bool hasDataTable() const override { return dataTable; }
    void setDataTableFontSize(double) override {}
    void setSeriesColor(const QString& seriesName, ColorRef color) override {
        if (!data.contains(u"\r\n" + seriesName + u'\t')) {
            throw Failure(QStringLiteral("No series ") + seriesName);
        }
        seriesColours.emplace_back(seriesName, color);
    }
    void setApplicationSize(int, int) override {}
    void setSize(int width, int height) override { size = {width, height}; }
    void setAutoVerbMenu(bool on) override { autoVerbMenu_ = on; }
    bool autoVerbMenu() const override { return autoVerbMenu_; }
    // Puts a small picture on the clipboard, as the object does, unless told it cannot draw.
    void copyToClipboard() override {
        ++copies;
        if (!cannotDraw) {
            QImage picture(8, 8, QImage::Format_RGB32);
            picture.fill(Qt::darkBlue);
            QGuiApplication::clipboard()->setImage(picture);
        }
    }

    QString data;
    int updates = 0;
    bool legend = true;
    QString title;
    bool dataTable = false;
    std::vector<std::pair<QString, ColorRef>> seriesColours;
    QSize size;
    bool autoVerbMenu_ = false;
    int copies = 0;
    bool cannotDraw = false;

private:
    QPointer<QLabel> m_widget;
};

// The window with the sample month, as the main window leaves it before showing it.
struct MonthOnScreen {
    explicit MonthOnScreen(ResultWindowOptions options = {}, PlanKind planKind = PlanKind::Limited,
                           const QString& logPath = QStringLiteral(KESTROVA_SOURCE_DIR
                                                                   "/samples/usage.htm")) {
        if (!options.reportView) {
            options.reportView = [](QWidget* p) { return new ReportView(p); };
        }
        if (!options.clock) {
            options.clock = [] { return QDate(2026, 12, 20); };
        }
        window = std::make_unique<ResultWindow>(state, host, std::move(options));
        builder = std::make_unique<ReportBuilder>(state, mainHost, *window);
        host.builder = builder.get();
        state.planKind = planKind;
        if (!logPath.isEmpty()) {
            const UsageLogRecords log = readUsageLogRecords(readFileData(logPath, false));
            UsageExtraction extraction(state, *builder);
            extraction.addRecordsInFront(log.records);
            state.monthYear = downloadPeriodText(log.earliest, log.latest);
        }
        builder->grabbingFinished();
        builder->writeOutput();
        window->prepareToShow();
    }

    RetrievalState state;
    HeadlessHost mainHost;
    MainWindowStandIn host;
    std::unique_ptr<ResultWindow> window;
    std::unique_ptr<ReportBuilder> builder;
};

}  // namespace kestrova::testing
