// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// kestrova-check: the usage check without a window (see --help).

#include "cli/check_command.h"
#include "cli/output_stream.h"

#include <unistd.h>
#include <QApplication>
#include <QFile>
#include <cstdio>
#include <cstring>

namespace {

// The browser engine and Qt talk on standard error about graphics and sandboxes; a script
// reading the check's own lines should not have to sift them out. With --verbose they stay.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The check never shows a window: no display or window system is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The browser engine refuses to start its sandbox as root.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    bool verbose = false;
    for (int i = 1; i < argc; ++i) {
        verbose = verbose || std::strcmp(argv[i], "--verbose") == 0;
    }
    if (!verbose) {
        qInstallMessageHandler(quietMessages);
    }
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // The main window's settings and folder.
    QApplication::setApplicationName(QStringLiteral("kestrova"));
    QApplication::setApplicationVersion(QStringLiteral(KESTROVA_VERSION));

    QFile in;
    in.open(stdin, QIODevice::ReadOnly);
    kestrova::OutputStream out(STDOUT_FILENO);
    kestrova::OutputStream err(STDERR_FILENO);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    kestrova::CheckCommand command(in, out, err);
    QObject::connect(&command, &kestrova::CheckCommand::finished, &app,
                     [](int status) { QCoreApplication::exit(status); });
    std::optional<int> status = command.start(arguments);
    if (!status) {
        status = QApplication::exec();
    }
    return kestrova::statusAfterOutput(*status, out, err, QStringLiteral("kestrova-check"));
}
