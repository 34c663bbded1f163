// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// kestrova-demo-driver FOLDER: the whole program run without a screen, for the demo. It opens
// Kestrova's main window in this process, plays the subscriber through the window's public
// interface (the password typed, "Check Bandwidth Usage" clicked, this month's dates picked on
// the portal's page and "View Usage Details" clicked), and writes into FOLDER:
//   main-login-info.png, main-processing.png, main-use-cache-data.png  the main window's pages
//   report.htm                          the report page as the result window shows it
//   result-report.png, result-chart.png, result-summary.png  the result window's tabs
//   summary.txt                         the month and the Summary tab on the "BBG 250" plan
// The portal host, the user id and the folders come from the environment as for the program
// itself (scripts/demo prepares them): the deployment file in XDG_CONFIG_DIRS, the settings in
// XDG_CONFIG_HOME. The password is "demo" unless KESTROVA_DEMO_PASSWORD says otherwise.

#include "app/main_window.h"
#include "controls/tab_strip.h"
#include "grab/usage_check.h"
#include "platform/browser.h"
#include "platform/dialogs.h"
#include "platform/failure.h"
#include "results/summary_report.h"
#include "results/window/report_tab.h"
#include "results/window/report_view.h"
#include "results/window/summary_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoroTask>
#include <QCoroTimer>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTimer>

#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <functional>

using namespace kestrova;
using namespace std::chrono_literals;

namespace {

struct Stop {
    QString why;
};

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// Lets the event loop run (layouts, the browser engine's compositor).
QCoro::Task<> settle(std::chrono::milliseconds time) {
    co_await QCoro::sleepFor(time);
}

QCoro::Task<> until(std::function<bool()> done, std::chrono::milliseconds limit, QString what,
                    const RecordingDialogs& messages) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limit.count()) {
            throw Stop{QStringLiteral("gave up waiting for ") + what + QStringLiteral("; ") +
                       (messages.texts().isEmpty()
                            ? QStringLiteral("no message was shown")
                            : QStringLiteral("messages: ") + messages.texts().join(u" | "))};
        }
        co_await QCoro::sleepFor(50ms);
    }
}

void save(QWidget& window, const QString& folder, const QString& name) {
    const QString path = QDir(folder).filePath(name);
    if (!window.grab().save(path)) {
        throw Stop{QStringLiteral("cannot write ") + path};
    }
    say(QStringLiteral("  ") + path);
}

void writeText(const QString& path, const QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0) {
        throw Stop{QStringLiteral("cannot write ") + path};
    }
    say(QStringLiteral("  ") + path);
}

FramePath navigationFrame() {
    FramePath path;
    path.push_back(2);
    path.push_back(1);
    return path;
}

QCoro::Task<> pickThisMonth(Browser& browser, QDate today) {
    const LiveDocument nav = browser.documentOf(FrameHandle(navigationFrame()));
    const QString two = QStringLiteral("%1");
    const std::pair<const char*, QString> picks[] = {
        {"ddkFromDay", QStringLiteral("01")},
        {"ddkFromMonth", two.arg(today.month(), 2, 10, QChar(u'0'))},
        {"ddkFromYear", QString::number(today.year())},
        {"ddkToDay", two.arg(today.day(), 2, 10, QChar(u'0'))},
        {"ddkToMonth", two.arg(today.month(), 2, 10, QChar(u'0'))},
        {"ddkToYear", QString::number(today.year())}};
    for (const auto& [id, value] : picks) {
        const LiveElement box = co_await nav.requiredElement(QStringLiteral("aaab.BBUsageView.") +
                                                             QString::fromLatin1(id));
        co_await box.setValue(value);
    }
    co_await (co_await nav.requiredElement(QStringLiteral("aaab.BBUsageView.ViewUsageDetails")))
        .click();
}

QString monthSummary(ResultWindow& result, const RetrievalState& state) {
    QString text = QStringLiteral("Period: ") + state.monthYear + u'\n';
    text += QStringLiteral("Average per day: ") + result.averageLabel()->text() + u'\n';
    text += QStringLiteral("Total usage: %1 MB\n").arg(result.totalUsage());
    text += QStringLiteral("Last day's usage: %1 MB\n\n").arg(result.lastDayUsage());
    const MonthSummary priced = summarizeMonth(result.summaryGroup()->logic().inputs(),
                                               PlanChoice::catalogue(0), QDate::currentDate());
    return text + priced.lines.join(u'\n') + u'\n';
}

QCoro::Task<> drive(MainWindow& w, const QString& folder, const RecordingDialogs& messages) {
    const QString password = qEnvironmentVariableIsSet("KESTROVA_DEMO_PASSWORD")
                                 ? qEnvironmentVariable("KESTROVA_DEMO_PASSWORD")
                                 : QStringLiteral("demo");
    int pagesShown = 0;
    QObject::connect(w.resultWindow().reportGroup()->webBrowser(), &ReportView::pageShown,
                     [&pagesShown](bool) { ++pagesShown; });

    w.show();
    co_await settle(700ms);
    if (w.selfcaresiteCombo()->currentIndex() < 0) {
        w.selfcaresiteCombo()->setCurrentIndex(0);
    }
    say(QStringLiteral("Logging in to http://%1/ as \"%2\"")
            .arg(w.selfcaresiteCombo()->currentText(), w.userNameEdit()->text()));
    w.passwordEdit()->clear();
    QTest::keyClicks(w.passwordEdit(), password);
    // This month's records go into the cache, beside the months already there.
    w.enableCacheCheck()->setChecked(true);
    save(w, folder, QStringLiteral("main-login-info.png"));

    QTest::mouseClick(w.calculateButton(), Qt::LeftButton);
    co_await until([&] { return w.messageLabel()->isVisible(); }, 90s,
                   QStringLiteral("the portal's usage page"), messages);
    co_await settle(1000ms);
    save(w, folder, QStringLiteral("main-processing.png"));

    const QDate today = QDate::currentDate();
    say(QStringLiteral("Choosing %1 to %2 on the portal page and clicking \"View Usage Details\"")
            .arg(QDate(today.year(), today.month(), 1).toString(Qt::ISODate),
                 today.toString(Qt::ISODate)));
    co_await pickThisMonth(w.portalBrowser(), today);

    ResultWindow& result = w.resultWindow();
    co_await until([&] { return result.isVisible() && pagesShown > 0; }, 120s,
                   QStringLiteral("the result window"), messages);
    co_await settle(1000ms);
    say(QStringLiteral("The result window is open:"));
    writeText(QDir(folder).filePath(QStringLiteral("report.htm")),
              result.reportGroup()->webBrowser()->shownPage());
    result.summaryGroup()->plansCombo()->setCurrentIndex(0);
    save(result, folder, QStringLiteral("result-report.png"));
    result.tabStrip()->setSelectedTab(2);
    co_await settle(500ms);
    save(result, folder, QStringLiteral("result-chart.png"));
    result.tabStrip()->setSelectedTab(3);
    co_await settle(300ms);
    save(result, folder, QStringLiteral("result-summary.png"));
    writeText(QDir(folder).filePath(QStringLiteral("summary.txt")),
              monthSummary(result, w.state()));
    result.tabStrip()->setSelectedTab(1);

    QTest::mouseClick(result.closeButton(), Qt::LeftButton);
    co_await until([&] { return !w.isShowingOutput() && w.portalTabs()->selectedTab() == 1; }, 10s,
                   QStringLiteral("the result window to close"), messages);
    w.tabStrip()->setSelectedTab(2);
    co_await settle(300ms);
    // The whole history in the picture: the window grows until the page needs no scrolling.
    const QSize designed = w.size();
    if (const auto* scroll =
            w.findChild<QScrollArea*>(QStringLiteral("fraUseCacheDataContentsScroll"))) {
        const int missing = scroll->widget()->sizeHint().height() - scroll->viewport()->height();
        if (missing > 0) {
            w.resize(designed.width(), designed.height() + missing);
            co_await settle(300ms);
        }
    }
    save(w, folder, QStringLiteral("main-use-cache-data.png"));
    w.resize(designed);
    w.tabStrip()->setSelectedTab(1);
    QTest::mouseClick(w.closeButton(), Qt::LeftButton);
}

}  // namespace

int main(int argc, char** argv) {
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QApplication app(argc, argv);
    // The program's own settings file, not one named after this driver.
    QApplication::setApplicationName(QStringLiteral("kestrova"));
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 2;
    }

    RecordingDialogs messages;
    ScopedDialogs seam(messages);
    MainWindow window;
    int status = 1;
    auto run = [&]() -> QCoro::Task<> {
        try {
            co_await drive(window, folder, messages);
            status = messages.messages.empty() ? 0 : 1;
        } catch (const Stop& stop) {
            std::fprintf(stderr, "demo: %s\n", qPrintable(stop.why));
        } catch (const Failure& failure) {
            std::fprintf(stderr, "demo: %s\n", qPrintable(failure.description()));
        }
        for (const QString& text : messages.texts()) {
            std::fprintf(stderr, "demo: the program said: %s\n", qPrintable(text));
        }
        QCoreApplication::exit(status);
    };
    QTimer::singleShot(0, &app, [&] { run(); });
    return QApplication::exec();
}
