// kestrova: the main window, and with it the whole program.

#include "app/frm_main.h"
#include "controls/qt_dialogs.h"

#include <QApplication>
#include <unistd.h>

int main(int argc, char** argv) {
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
    QObject::connect(&window, &kestrova::frmMain::programEnded, &app, &QCoreApplication::quit);
    window.show();
    const int result = QApplication::exec();
    kestrova::installDialogs(nullptr);
    return result;
}
