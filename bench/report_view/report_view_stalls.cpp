// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Hands a report page to the report view and records how long the event loop was kept from
// running: a 10 ms timer notes every gap between its ticks, from the moment the page is handed
// over until the view says it is shown, and for a while after (layout and painting). A page
// shown in parts is then moved to its second and to its last part, measured the same way.
//
//   report-view-stalls [--after-ms N] [--repeat N] [--records-per-part N] PAGE.htm
//
// Prints one line per showing: how long handing it over took, the time until it was shown,
// the longest gap, and how many gaps were longer than 100 ms.

#include "results/window/web_report_view.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <QWebEnginePage>
#include <cstdio>
#include <vector>

using namespace kestrova;

namespace {

struct Showing {
    QString what;
    qint64 handOverMs = 0;  // how long showPage itself took
    qint64 shownMs = -1;    // until pageShown, -1 when it never came
    bool ok = false;
    qint64 longestGapMs = 0;
    int gapsOver100 = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    registerReportScheme();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("PAGE"), QStringLiteral("A report page file."));
    const QCommandLineOption after(QStringLiteral("after-ms"),
                                   QStringLiteral("How long to keep watching once the page is "
                                                  "shown (default 3000)."),
                                   QStringLiteral("N"), QStringLiteral("3000"));
    const QCommandLineOption repeat(QStringLiteral("repeat"),
                                    QStringLiteral("How many times to show the page (default 1)."),
                                    QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption timeout(QStringLiteral("timeout-ms"),
                                     QStringLiteral("How long to wait for a page to show "
                                                    "(default 600000)."),
                                     QStringLiteral("N"), QStringLiteral("600000"));
    const QCommandLineOption perPart(QStringLiteral("records-per-part"),
                                     QStringLiteral("Records in a part of a large report "
                                                    "(default: the view's own)."),
                                     QStringLiteral("N"));
    parser.addOptions({after, repeat, timeout, perPart});
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        parser.showHelp(2);
    }
    QFile file(parser.positionalArguments().front());
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "report-view-stalls: %s\n", qPrintable(file.errorString()));
        return 2;
    }
    // The page as the program holds it; a page the program wrote is Latin-1 or UTF-8 after a
    // byte order mark.
    const QByteArray bytes = file.readAll();
    const QString page = bytes.startsWith("\xEF\xBB\xBF") ? QString::fromUtf8(bytes.mid(3))
                                                          : QString::fromLatin1(bytes);
    const int afterMs = parser.value(after).toInt();
    const int times = std::max(1, parser.value(repeat).toInt());
    const int timeoutMs = parser.value(timeout).toInt();

    WebReportView view;
    if (parser.isSet(perPart)) {
        view.setRecordsPerPart(parser.value(perPart).toInt());
    }
    view.resize(1000, 700);
    view.show();

    QObject::connect(view.page(), &QWebEnginePage::renderProcessTerminated,
                     [](QWebEnginePage::RenderProcessTerminationStatus status, int code) {
                         std::printf("the page's renderer ended (status %d, exit code %d)\n",
                                     int(status), code);
                     });

    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = 0;
    Showing* current = nullptr;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        const qint64 gap = now - lastTick;
        lastTick = now;
        if (current) {
            current->longestGapMs = std::max(current->longestGapMs, gap);
            current->gapsOver100 += gap > 100 ? 1 : 0;
        }
    });
    ticker.start();

    // The steps: the page (again with --repeat), then for a page in parts its second and its
    // last part.
    std::vector<Showing> showings;
    // Every other repeat shows a page one blank longer, made here, outside the measurement.
    const QString other = times > 1 ? page + QStringLiteral(" ") : QString();
    std::vector<std::function<void()>> steps;
    for (int i = 0; i < times; ++i) {
        steps.push_back([&view, &page, &other, i] { view.showPage(i % 2 == 0 ? page : other); });
    }
    std::size_t index = 0;
    qint64 started = 0;
    QTimer watchEnd;
    watchEnd.setSingleShot(true);
    std::function<void()> next;
    QObject::connect(&view, &ReportView::pageShown, [&](bool ok) {
        if (!current || current->shownMs >= 0) {
            return;
        }
        current->ok = ok;
        current->shownMs = clock.elapsed() - started;
        watchEnd.start(afterMs);
    });
    QObject::connect(&watchEnd, &QTimer::timeout, [&] {
        const bool pagesDone = index + 1 == steps.size() && steps.size() == std::size_t(times);
        if (pagesDone && view.partCount() > 1) {
            steps.push_back([&view] { view.showPart(1); });
            steps.push_back([&view] { view.showPart(view.partCount() - 1); });
        }
        ++index;
        next();
    });
    showings.reserve(std::size_t(times) + 2);
    next = [&] {
        if (index >= steps.size()) {
            app.quit();
            return;
        }
        showings.push_back(Showing{});
        current = &showings.back();
        const int part = index == std::size_t(times) ? 2 : view.partCount();
        current->what = index < std::size_t(times)
                            ? QStringLiteral("the page")
                            : QStringLiteral("part %1 of %2").arg(part).arg(view.partCount());
        // Start measuring from a settled loop: the first gap counts from here.
        lastTick = clock.elapsed();
        started = lastTick;
        steps[index]();
        current->handOverMs = clock.elapsed() - started;
        watchEnd.start(timeoutMs);  // a page that never shows ends the watch too
    };
    // Let the engine start and show its blank page before the first measurement.
    QTimer::singleShot(1500, [&] { next(); });
    app.exec();

    std::printf("page: %lld characters\n", static_cast<long long>(page.size()));
    int failures = 0;
    std::printf("shown in %d part(s) of up to %d records\n", view.partCount(),
                view.recordsPerPart());
    for (std::size_t i = 0; i < showings.size(); ++i) {
        const Showing& s = showings[i];
        std::printf(
            "%s: handed over in %lld ms, shown after %lld ms (%s), longest stall "
            "%lld ms, stalls over 100 ms: %d\n",
            qPrintable(s.what), static_cast<long long>(s.handOverMs),
            static_cast<long long>(s.shownMs), s.ok ? "ok" : "NOT ok",
            static_cast<long long>(s.longestGapMs), s.gapsOver100);
        failures += s.ok ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
