// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A heavy month's grab (100 sessions a day: 3,000 records) in the main window, offscreen,
// against portal-sim on loopback. Each run logs in, waits for the date prompt, picks the month
// on the portal's page, and then times, from the click on "View Usage Details": the log's
// download, reading it into records, the Timer1 pause, the report, the result window's opening
// and the report view showing the page. Prints each run and the range of each step.
//
//   build/bench/grab/grab_bench [RUNS [SESSIONS_PER_DAY]]      (default 5 runs, 100 a day)

#include "app/main_window.h"
#include "grab/usage_check.h"
#include "platform/browser.h"
#include "platform/dialogs.h"
#include "results/window/report_tab.h"
#include "results/window/report_view.h"

#include <QApplication>
#include <QComboBox>
#include <QCoroTask>
#include <QCoroTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

using namespace kestrova;
using namespace std::chrono_literals;

namespace {

const char* const kSteps[] = {"download",      "read log",    "timer1", "report",
                              "result window", "report view", "total"};

struct Stop {
    QString why;
};

QCoro::Task<> until(std::function<bool()> done, std::chrono::milliseconds limit, QString what) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limit.count()) {
            throw Stop{QStringLiteral("gave up waiting for ") + what};
        }
        co_await QCoro::sleepFor(5ms);
    }
}

FramePath navigationFrame() {
    FramePath path;
    path.push_back(2);
    path.push_back(1);
    return path;
}

QCoro::Task<> pickNovember(Browser& browser) {
    const LiveDocument nav = browser.documentOf(FrameHandle(navigationFrame()));
    const std::pair<const char*, const char*> picks[] = {
        {"ddkFromDay", "01"}, {"ddkFromMonth", "11"}, {"ddkFromYear", "2026"},
        {"ddkToDay", "30"},   {"ddkToMonth", "11"},   {"ddkToYear", "2026"}};
    for (const auto& [id, value] : picks) {
        const LiveElement box = co_await nav.requiredElement(QStringLiteral("aaab.BBUsageView.") +
                                                             QString::fromLatin1(id));
        co_await box.setValue(QString::fromLatin1(value));
    }
}

class ShowWatcher : public QObject {
public:
    explicit ShowWatcher(std::function<void()> onShow) : m_onShow(std::move(onShow)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            m_onShow();
        }
        return false;
    }

private:
    std::function<void()> m_onShow;
};

// Milliseconds of each step, in kSteps' order.
using Run = std::vector<double>;

QCoro::Task<Run> oneGrab(MainWindow& w) {
    QTest::mouseClick(w.calculateButton(), Qt::LeftButton);
    co_await until([&] { return w.messageLabel()->isVisible(); }, 120s,
                   QStringLiteral("the date prompt"));
    co_await QCoro::sleepFor(300ms);
    co_await pickNovember(w.portalBrowser());

    QElapsedTimer clock;
    std::map<int, qint64> at;  // step index -> ms after the click
    const auto mark = [&](int step) { at.emplace(step, clock.nsecsElapsed() / 1000); };
    UsageCheck& check = w.usageCheck();
    const auto c1 = QObject::connect(&check, &UsageCheck::logFetched, [&] { mark(0); });
    const auto c2 = QObject::connect(&check, &UsageCheck::logRead, [&] { mark(1); });
    const auto c2b = QObject::connect(&w, &MainWindow::outputStarted, [&] { mark(2); });
    const auto c3 = QObject::connect(&w, &MainWindow::outputWritten, [&] { mark(3); });
    ResultWindow& result = w.resultWindow();
    ReportView* view = result.reportGroup()->webBrowser();
    const auto c4 = QObject::connect(view, &ReportView::pageShown, [&](bool) { mark(5); });
    // The portal's page with the download link has loaded in the navigation frame.
    const auto c5 = QObject::connect(&w.portalBrowser(), &Browser::documentComplete,
                                     [&](const FrameHandle& frame, const QUrl&) {
                                         if (frame == FrameHandle(navigationFrame())) {
                                             mark(6);
                                         }
                                     });
    // Shown: the result window has opened.
    ShowWatcher shown([&] { mark(4); });
    result.installEventFilter(&shown);

    const LiveDocument nav = w.portalBrowser().documentOf(FrameHandle(navigationFrame()));
    const LiveElement details =
        co_await nav.requiredElement(QStringLiteral("aaab.BBUsageView.ViewUsageDetails"));
    clock.start();
    co_await details.click();
    co_await until([&] { return result.isVisible() && at.count(5) > 0; }, 120s,
                   QStringLiteral("the result window with its report"));
    QObject::disconnect(c1);
    QObject::disconnect(c2);
    QObject::disconnect(c2b);
    QObject::disconnect(c3);
    QObject::disconnect(c4);
    QObject::disconnect(c5);
    std::printf("  (the details page came after %.0f ms)\n", double(at[6]) / 1000);
    const auto ms = [&](int step) { return double(at[step]) / 1000; };
    Run run;
    run.push_back(ms(0));          // the download
    run.push_back(ms(1) - ms(0));  // the log read into records, the skeleton written
    run.push_back(ms(2) - ms(1));  // Timer1's pause before showOutput
    run.push_back(ms(3) - ms(2));  // writeOutput: the report and the result window's figures
    run.push_back(ms(4) - ms(3));  // the result window opened
    run.push_back(ms(5) - ms(4));  // the report view showing the page
    run.push_back(ms(5));
    QTest::mouseClick(result.closeButton(), Qt::LeftButton);
    co_await until([&] { return !w.isShowingOutput(); }, 10s,
                   QStringLiteral("the window to close"));
    co_return run;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int perDay = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100;
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CONFIG_DIRS", home.filePath(QStringLiteral("etc")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (::geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrova"));

    QProcess portal;
    portal.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    portal.start(QStringLiteral(PORTAL_SIM_EXECUTABLE),
                 {QStringLiteral("--sessions-per-day"), QString::number(perDay),
                  QStringLiteral("--today"), QStringLiteral("2026-11-30")});
    portal.waitForStarted();
    while (!portal.canReadLine() && portal.waitForReadyRead(10000)) {
    }
    const QString line = QString::fromUtf8(portal.readLine()).trimmed();
    const QString host = line.section(u' ', 2);
    QDir().mkpath(home.filePath(QStringLiteral("etc/Kestrova")));
    QFile ini(home.filePath(QStringLiteral("etc/Kestrova/kestrova.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write(QStringLiteral("[Deployment]\nNorthHost=%1\n").arg(host).toUtf8());
    ini.close();

    RecordingDialogs messages;
    ScopedDialogs seam(messages);
    MainWindow window;
    window.resize(1000, 800);
    window.show();
    window.selfcaresiteCombo()->setCurrentIndex(0);
    window.userNameEdit()->setText(QStringLiteral("demo"));
    window.passwordEdit()->setText(QStringLiteral("demo"));

    std::vector<Run> done;
    int status = 0;
    auto drive = [&]() -> QCoro::Task<> {
        try {
            for (int i = 0; i <= runs; ++i) {
                const Run run = co_await oneGrab(window);
                if (i == 0) {
                    continue;  // the first warms the browser engine and the caches
                }
                done.push_back(run);
                std::printf("run %d:", i);
                for (std::size_t s = 0; s < run.size(); ++s) {
                    std::printf("  %s %.0f ms", kSteps[s], run[s]);
                }
                std::printf("\n");
                std::fflush(stdout);
            }
        } catch (const Stop& stop) {
            std::fprintf(stderr, "grab_bench: %s; messages: %s\n", qPrintable(stop.why),
                         qPrintable(messages.texts().join(u" | ")));
            status = 1;
        }
        QCoreApplication::exit(status);
    };
    QTimer::singleShot(0, [&] { drive(); });
    QApplication::exec();
    portal.terminate();
    portal.waitForFinished(5000);
    if (!done.empty()) {
        std::printf("over %zu runs (ms, min..max, median):\n", done.size());
        for (std::size_t s = 0; s < std::size(kSteps); ++s) {
            std::vector<double> v;
            for (const Run& r : done) {
                v.push_back(r[s]);
            }
            std::sort(v.begin(), v.end());
            std::printf("  %-14s %6.0f .. %6.0f   %6.0f\n", kSteps[s], v.front(), v.back(),
                        v[v.size() / 2]);
        }
    }
    return status;
}
