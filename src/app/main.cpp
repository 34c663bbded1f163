// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// kestrova: the main window, and with it the whole program; with --tray the tray item, with
// --show-usage the result window of a kept check.

#include "app/main_window.h"
#include "controls/qt_dialogs.h"
#include "platform/program_folder.h"
#include "platform/settings_store.h"
#include "settings/main_settings.h"
#include "tray/tray_availability.h"
#include "tray/tray_item.h"

#include <unistd.h>
#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// How long `kestrova --tray` waits for a panel: one started with the session may come up
// before the panel does.
constexpr int kPanelWaitSeconds = 120;

struct Options {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help and exit.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Show the version and exit.")};
    QCommandLineOption tray{
        QStringLiteral("tray"),
        QStringLiteral("Show the month in the panel instead of the window: a gauge of the "
                       "allowance used, the figures of the last check as its tool tip, and a "
                       "menu to check now, show the usage or open Kestrova. One per session.")};
    QCommandLineOption showUsage{
        QStringLiteral("show-usage"),
        QStringLiteral("Show the result window of a check kept in Kestrova's folder "
                       "(last-check-KIND-USER.json) instead of the main window."),
        QStringLiteral("FILE")};

    void addTo(QCommandLineParser& parser) const {
        parser.setApplicationDescription(QStringLiteral(
            "Checks the broadband usage of an ORVO subscriber: logs in to the provider's "
            "self-care portal in an embedded browser, downloads the month's usage log and shows "
            "the usage report, a chart of daily usage and the bill priced against the tariff "
            "plans. Qt's own options (such as -platform or -style) are accepted too."));
        parser.addOptions({help, version, tray, showUsage});
    }
};

// --help and --version answer on a terminal without a display, so they are looked for before
// the window system is started.
bool asksForText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        for (const char* name : {"-h", "--help", "-v", "--version"}) {
            if (std::strcmp(argv[i], name) == 0) {
                return true;
            }
        }
    }
    return false;
}

int printText(int argc, char** argv) {
    QCoreApplication core(argc, argv);
    const QString program = QStringLiteral("kestrova");
    QCommandLineParser parser;
    const Options options;
    options.addTo(parser);
    // Qt's own options are not ours to refuse.
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(options.help)) {
        QString text = parser.helpText();
        const QString usage = QStringLiteral("Usage: ");
        const qsizetype end = text.indexOf(u' ', usage.size());
        if (text.startsWith(usage) && end > 0) {
            text.replace(usage.size(), end - usage.size(), program);
        }
        std::fputs(text.toLocal8Bit().constData(), stdout);
    } else {
        std::printf("%s %s\n", qPrintable(program), KESTROVA_VERSION);
    }
    return 0;
}

// kestrova-check: beside this program when installed, else on the search path.
QString checkProgram() {
    QString beside =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kestrova-check"));
    if (QFileInfo(beside).isExecutable()) {
        return beside;
    }
    const QString found = QStandardPaths::findExecutable(QStringLiteral("kestrova-check"));
    return found.isEmpty() ? QStringLiteral("kestrova-check") : found;
}

int runTray(QApplication& app) {
    QApplication::setQuitOnLastWindowClosed(false);
    // One item per session: a second start (the autostart entry and "Show in the panel")
    // leaves the first.
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) {
        runtime = QDir::tempPath();
    }
    QLockFile lock(runtime + QStringLiteral("/kestrova-tray.lock"));
    if (!lock.tryLock(0)) {
        return 0;
    }
    const kestrova::LoadedSettings stored =
        kestrova::loadMainSettings(kestrova::SettingsStore(), kestrova::MainSettings{});
    kestrova::TrayOptions options;
    options.folder = kestrova::programFolder();
    options.user = stored.values.userNameEdit;
    options.checkProgram = checkProgram();
    options.windowProgram = QCoreApplication::applicationFilePath();

    std::unique_ptr<kestrova::TrayItem> item;
    int waited = 0;
    QTimer panel;
    panel.setInterval(1000);
    const auto tryShow = [&] {
        const kestrova::TrayAvailability tray = kestrova::trayAvailability();
        if (tray.available) {
            panel.stop();
            item = std::make_unique<kestrova::TrayItem>(options);
            QObject::connect(item.get(), &kestrova::TrayItem::quitRequested, &app,
                             &QCoreApplication::quit);
            item->show();
        } else if (++waited > kPanelWaitSeconds) {
            std::fprintf(stderr, "kestrova: %s\n", qPrintable(tray.reason));
            QCoreApplication::exit(1);
        }
    };
    QObject::connect(&panel, &QTimer::timeout, &app, tryShow);
    tryShow();
    if (!item) {
        panel.start();
    }
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (asksForText(argc, argv)) {
        return printText(argc, argv);
    }
    // The browser engine refuses to start its sandbox as root; root users (and CI) would
    // otherwise see an empty portal page.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    // The browser engine keeps its pages out of the accessibility tree on Linux unless told;
    // told, it fills them in only while a screen reader or another assistive tool listens.
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY")) {
        qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(KESTROVA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("example.kestrova.Kestrova"));

    QCommandLineParser parser;
    const Options options;
    options.addTo(parser);
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(options.tray)) {
        return runTray(app);
    }

    // Installed first: the window's load may already have something to say.
    kestrova::QtDialogs qtDialogs;
    kestrova::installDialogs(&qtDialogs);
    kestrova::MainWindow window;
    if (parser.isSet(options.showUsage)) {
        // The result window alone; the program ends when it (or the message saying why it
        // cannot be shown) closes, and the main window, never shown, saves nothing.
        QObject::connect(&window, &kestrova::MainWindow::outputClosed, &app,
                         &QCoreApplication::quit);
        window.showLastCheck(parser.value(options.showUsage));
    } else {
        // The program ends when the window says it has ended, not when it is hidden: a closing
        // window still writes the remembered password into the keyring, whose answer comes
        // through the event loop.
        QApplication::setQuitOnLastWindowClosed(false);
        QObject::connect(&window, &kestrova::MainWindow::programEnded, &app,
                         &QCoreApplication::quit, Qt::QueuedConnection);
        window.show();
    }
    const int result = QApplication::exec();
    kestrova::installDialogs(nullptr);
    return result;
}
