// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// result-window-screens FOLDER [--scale N]: pictures of the program's two windows for a person
// to look at, offscreen. The main window (its "Login Info", "Processing" and "Use Cache Data"
// pages, on the in-memory browser) and the result window with the bundled sample month (the
// real report builder, the browser engine's report view, the office chart of chart type 2):
// every page and tab, under a light and a dark palette (the Fusion style), at the first-start
// size and at the window's minimum size, and at the minimum size with a font 1.25 times as
// large. Without --scale the harness runs itself twice, at scale 1 and at QT_SCALE_FACTOR=2,
// on a 1280x800 screen. Names: <window>-<page>-<scale>x-<light|dark>[-min|-min-font125].png.
// A test harness, built with the tests but not run by ctest.

#include "support/month_on_screen.h"

#include "app/main_window.h"
#include "controls/tab_strip.h"
#include "grab/grab_host.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/settings_store.h"
#include "results/window/chart_tab.h"
#include "results/window/forecast_frame.h"
#include "results/window/report_tab.h"
#include "results/window/summary_page.h"
#include "results/window/web_report_view.h"
#include "support/memory_browser.h"
#include "support/palettes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QScrollArea>
#include <QSettings>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

using namespace kestrova;
using namespace kestrova::testing;

namespace {

// Lets the window settle (layouts, the engine's compositor) for a moment; a harness may spin.
void settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

class Pictures {
public:
    Pictures(QString folder, int scale) : m_folder(std::move(folder)), m_scale(scale) {}

    bool ok() const { return m_ok; }

    void save(QWidget& window, const QString& name, int ms = 300) {
        settle(ms);
        const QString path =
            QDir(m_folder).filePath(name.arg(QStringLiteral("%1x").arg(m_scale)) + u".png");
        if (!window.grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            m_ok = false;
            return;
        }
        std::printf("%s  %dx%d (minimum %dx%d)\n", qPrintable(path), window.width(),
                    window.height(), window.minimumWidth(), window.minimumHeight());
    }

private:
    QString m_folder;
    int m_scale;
    bool m_ok = true;
};

// Each window starts as on a first start: no size or place kept from the last picture.
void forgetSettings() {
    QSettings(SettingsStore().fileName(), QSettings::IniFormat).clear();
}

std::unique_ptr<MainWindow> mainWindow() {
    forgetSettings();
    // A plan chosen on the Summary tab, so the history shows its bills.
    SettingsStore().save(QStringLiteral("Plan3"), QStringLiteral("3"));
    MainWindowOptions options;
    options.portalBrowser = [] {
        return PortalBrowser{std::make_unique<MemoryBrowser>(), nullptr};
    };
    options.result.reportView = [](QWidget* p) { return new ReportView(p); };
    options.openUrl = [](const QUrl&) { return true; };
    auto w = std::make_unique<MainWindow>(std::move(options));
    w->show();
    return w;
}

// Each page of the main window: "Login Info", "Processing", "Use Cache Data".
void mainPages(Pictures& pictures, MainWindow& w, const QString& variant) {
    w.tabStrip()->setSelectedTab(1);
    w.portalTabs()->setSelectedTab(1);
    pictures.save(w, QStringLiteral("main-login-%1") + variant);
    w.portalTabs()->setSelectedTab(2);
    pictures.save(w, QStringLiteral("main-processing-%1") + variant);
    // A grab stopped with one of the longest things the page has to say.
    GrabHost& host = w;
    host.grabStopped(GrabStop{
        GrabProblem::PageTimeout,
        Message{QStringLiteral("The portal at selfcare-north.orvo.example did not send the "
                               "usage page within 60 seconds (\"/nav/usage\" did not come). "
                               "It may be busy: try again later."),
                {},
                MessageIcon::Warning}});
    pictures.save(w, QStringLiteral("main-processing-stopped-%1") + variant);
    w.portalTabs()->setSelectedTab(1);
    w.tabStrip()->setSelectedTab(2);
    pictures.save(w, QStringLiteral("main-cache-%1") + variant);
    w.tabStrip()->setSelectedTab(1);
}

std::unique_ptr<MonthOnScreen> resultWindow(PlanKind planKind = PlanKind::Limited) {
    forgetSettings();
    ResultWindowOptions options;
    options.reportView = [](QWidget* p) { return new WebReportView(p); };
    options.officeChart = createOfficeChart;
    // The last recorded day is "today", so the summary shows its "today" fields too.
    options.clock = [] { return QDate(2026, 11, 30); };
    auto month = std::make_unique<MonthOnScreen>(std::move(options), planKind);
    ResultWindow& window = *month->window;
    QEventLoop loaded;
    QObject::connect(window.reportGroup()->webBrowser(), &ReportView::pageShown, &loaded,
                     [&](bool) { loaded.quit(); });
    window.show();
    QTimer::singleShot(15000, &loaded, &QEventLoop::quit);
    window.reportGroup()->showReport();
    loaded.exec();
    return month;
}

// Each tab of the result window: the report, both chart types, the summary with a plan.
void resultTabs(Pictures& pictures, ResultWindow& w, const QString& variant) {
    w.tabStrip()->setSelectedTab(1);
    pictures.save(w, QStringLiteral("result-report-%1") + variant, 600);
    w.tabStrip()->setSelectedTab(2);
    w.chartGroup()->chartTypeCombo()->setCurrentIndex(0);
    pictures.save(w, QStringLiteral("result-chart1-%1") + variant);
    w.chartGroup()->chartTypeCombo()->setCurrentIndex(1);
    pictures.save(w, QStringLiteral("result-chart2-%1") + variant, 500);
    // With the average column and the values on the bars.
    w.chartGroup()->showAverageInChartCheck()->setChecked(true);
    w.chartGroup()->displayDailyTotalinChartCheck()->setChecked(true);
    pictures.save(w, QStringLiteral("result-chart2-average-total-%1") + variant, 500);
    w.chartGroup()->showAverageInChartCheck()->setChecked(false);
    w.chartGroup()->displayDailyTotalinChartCheck()->setChecked(false);
    w.chartGroup()->chartTypeCombo()->setCurrentIndex(0);
    w.tabStrip()->setSelectedTab(3);
    w.summaryGroup()->plansCombo()->setCurrentIndex(1);
    pictures.save(w, QStringLiteral("result-summary-%1") + variant);
    // A plan the month stays within (61440 MB), so the forecast's daily budget is a figure.
    SummaryTabFrame& summary = *w.summaryGroup();
    summary.plansCombo()->setCurrentIndex(summary.logic().plansCombo().indexOfSlot(18));
    if (auto* scroll = summary.findChild<QScrollArea*>()) {
        scroll->ensureWidgetVisible(summary.forecastGroup());
    }
    pictures.save(w, QStringLiteral("result-summary-budget-%1") + variant);
    w.tabStrip()->setSelectedTab(1);
}

void shrink(QWidget& w) {
    w.resize(w.minimumSize());
}

int runAtScale(const QString& folder, int scale, int argc, char** argv) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
    registerReportScheme();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrova"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QDir().mkpath(folder);
    RecordingDialogs messages;
    ScopedDialogs seam(messages);
    // The sample month in the cache list of the "Use Cache Data" page.
    QDir().mkpath(programFolder());
    QFile::copy(QStringLiteral(KESTROVA_SOURCE_DIR) +
                    QStringLiteral("/samples/2026-11-unbilled-demo.cache2"),
                inProgramFolder(programFolder(), QStringLiteral("2026-11-unbilled-demo.cache2")));

    Pictures pictures(folder, scale);
    const QFont designFont = QApplication::font();
    for (const bool dark : {false, true}) {
        QApplication::setPalette(dark ? darkPalette() : lightPalette());
        const QString scheme = dark ? QStringLiteral("-dark") : QStringLiteral("-light");
        {
            auto w = mainWindow();
            mainPages(pictures, *w, scheme);
            shrink(*w);
            mainPages(pictures, *w, scheme + u"-min");
            w->close();
        }
        {
            auto month = resultWindow();
            resultTabs(pictures, *month->window, scheme);
            shrink(*month->window);
            resultTabs(pictures, *month->window, scheme + u"-min");
            month->window->done(0);
        }
        {
            // The night-unlimited plan type: rows free, mixed and charged, the free-usage
            // controls and the Free chart line.
            auto month = resultWindow(PlanKind::NightUnlimited);
            resultTabs(pictures, *month->window, scheme + u"-night");
            month->window->done(0);
        }
        {
            // The night-unlimited box ticked and free usage shown, as an earlier check on that
            // plan type left them, while the plan type charges everything: no Free series.
            auto month = resultWindow();
            month->state.display.nightUnlimitedPlan = true;
            month->state.display.excludeFree = false;
            month->window->prepareToShow();
            ResultWindow& w = *month->window;
            w.tabStrip()->setSelectedTab(2);
            w.chartGroup()->chartTypeCombo()->setCurrentIndex(1);
            pictures.save(w, QStringLiteral("result-chart2-nightbox-%1") + scheme, 500);
            w.chartGroup()->displayDailyTotalinChartCheck()->setChecked(true);
            w.chartGroup()->displayDailyTotalinChartCheck()->setChecked(false);
            pictures.save(w, QStringLiteral("result-chart2-nightbox-toggled-%1") + scheme, 500);
            month->window->done(0);
        }
        {
            // The unlimited plan type: all usage free, drawn in the Free chart line.
            auto month = resultWindow(PlanKind::Unlimited);
            resultTabs(pictures, *month->window, scheme + u"-unlimited");
            month->window->done(0);
        }
    }
    // A font 1.25 times as large, as a desktop's larger text setting gives it.
    QApplication::setPalette(lightPalette());
    QFont larger = designFont;
    larger.setPointSizeF(designFont.pointSizeF() * 1.25);
    QApplication::setFont(larger);
    {
        auto w = mainWindow();
        shrink(*w);
        mainPages(pictures, *w, QStringLiteral("-light-min-font125"));
        w->close();
    }
    {
        auto month = resultWindow();
        shrink(*month->window);
        resultTabs(pictures, *month->window, QStringLiteral("-light-min-font125"));
        month->window->done(0);
    }
    for (const QString& text : messages.texts()) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    return pictures.ok() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [--scale N]\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        // A screen of the smallest size the program is made for.
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + KESTROVA_SOURCE_DIR +
                                       "/tests/support/screen-1280x800.json");
    }
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (argc >= 4 && QByteArray(argv[2]) == "--scale") {
        return runAtScale(folder, QByteArray(argv[3]).toInt(), argc, argv);
    }
    int result = 0;
    for (const char* scale : {"1", "2"}) {
        const int code =
            QProcess::execute(QString::fromLocal8Bit(argv[0]),
                              {folder, QStringLiteral("--scale"), QString::fromLatin1(scale)});
        result = result != 0 ? result : code;
    }
    return result;
}
