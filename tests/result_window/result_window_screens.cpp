// result-window-screens FOLDER: opens the result window with the bundled sample month (the
// real report builder, the browser engine's report view), offscreen, and writes a picture of
// each tab to FOLDER: report.png, chart-type1.png, chart-type2.png (the label shown when no
// office chart object can be made), summary.png, summary-available.png, summary-custom.png, small.png and
// report-again.png. A test
// harness, built with the tests but not run by ctest.

#include "month_on_screen.h"

#include "controls/tab_strip.h"
#include "platform/dialogs.h"
#include "results/window/chart_tab.h"
#include "results/window/report_tab.h"
#include "results/window/summary_page.h"
#include "results/window/web_report_view.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

using namespace kestrova;
using namespace kestrova::testing;

namespace {

// Lets the window settle (layouts, the engine's compositor) for a moment; a harness may spin.
void settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(QWidget& window, const QString& folder, const QString& name) {
    settle(300);
    const QString path = QDir(folder).filePath(name);
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    registerReportScheme();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrova"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    RecordingDialogs messages;
    ScopedDialogs seam(messages);

    ResultWindowOptions options;
    options.reportView = [](QWidget* p) { return new WebReportView(p); };
    // The last recorded day is "today", so the summary shows its "today" fields too.
    options.clock = [] { return QDate(2026, 11, 30); };
    MonthOnScreen month(std::move(options));
    frmResult& window = *month.window;

    QEventLoop loaded;
    QObject::connect(window.fraReport()->WebBrowser1(), &ReportView::pageShown, &loaded,
                     [&](bool) { loaded.quit(); });
    window.open();
    // WriteOutput already handed the page over; wait for the engine unless it is done.
    QTimer::singleShot(15000, &loaded, &QEventLoop::quit);
    window.fraReport()->showDocument();
    loaded.exec();

    bool ok = save(window, folder, QStringLiteral("report.png"));
    window.ctlTabs1()->setSelectedTab(2);
    ok = save(window, folder, QStringLiteral("chart-type1.png")) && ok;
    window.fraChart()->cmbChartType()->setCurrentIndex(1);
    ok = save(window, folder, QStringLiteral("chart-type2.png")) && ok;
    window.fraChart()->cmbChartType()->setCurrentIndex(0);
    window.ctlTabs1()->setSelectedTab(3);
    window.fraSummary()->cmbPlans()->setCurrentIndex(1);
    ok = save(window, folder, QStringLiteral("summary.png")) && ok;
    window.fraSummary()->cmbPlans()->setCurrentIndex(24);
    ok = save(window, folder, QStringLiteral("summary-available.png")) && ok;
    window.fraSummary()->cmbPlans()->setCurrentIndex(window.fraSummary()->cmbPlans()->count() - 1);
    ok = save(window, folder, QStringLiteral("summary-custom.png")) && ok;
    window.resize(560, 420);
    ok = save(window, folder, QStringLiteral("small.png")) && ok;
    window.resize(800, 600);
    window.ctlTabs1()->setSelectedTab(1);
    ok = save(window, folder, QStringLiteral("report-again.png")) && ok;
    for (const QString& text : messages.texts()) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    window.done(0);
    return ok ? 0 : 1;
}
