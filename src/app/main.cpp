// kestrova: the main window, and with it the whole program.

#include "app/frm_main.h"
#include "controls/qt_dialogs.h"

#include <unistd.h>
#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

namespace {

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
    parser.setApplicationDescription(QStringLiteral(
        "Checks the broadband usage of an ORVO subscriber: logs in to the provider's self-care "
        "portal in an embedded browser, downloads the month's usage log and shows the usage "
        "report, a chart of daily usage and the bill priced against the tariff plans. Qt's own "
        "options (such as -platform or -style) are accepted too."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOptions({help, version});
    // Qt's own options are not ours to refuse.
    parser.parse(core.arguments());
    if (parser.isSet(help)) {
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
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(KESTROVA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("example.kestrova.Kestrova"));

    // Installed first: the window's load may already have something to say.
    kestrova::QtDialogs qtDialogs;
    kestrova::installDialogs(&qtDialogs);
    kestrova::frmMain window;
    // The program ends when the window says it has ended, not when it is hidden: a closing
    // window still writes the remembered password into the keyring, whose answer comes
    // through the event loop.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&window, &kestrova::frmMain::programEnded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    const int result = QApplication::exec();
    kestrova::installDialogs(nullptr);
    return result;
}
