// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/output_stream.h"
#include "cli/report_command.h"

#include <unistd.h>
#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // Kestrova's own settings and folder (the plan chosen there, the cache files).
    QCoreApplication::setApplicationName(QStringLiteral("kestrova"));
    kestrova::OutputStream out(STDOUT_FILENO);
    kestrova::OutputStream err(STDERR_FILENO);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const int status = kestrova::runReportCommand(arguments, out, err);
    return kestrova::statusAfterOutput(status, out, err, QStringLiteral("kestrova-report"));
}
