// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes a made-up usage log, for the bundled sample and for trying the report out.

#include "sample_log.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes a made-up ORVO usage log."));
    parser.addHelpOption();
    QCommandLineOption records(QStringLiteral("records"), QStringLiteral("Number of sessions."),
                               QStringLiteral("N"), QStringLiteral("200"));
    QCommandLineOption lastDay(QStringLiteral("last-day"),
                               QStringLiteral("Day of the newest session."),
                               QStringLiteral("YYYY-MM-DD"), QStringLiteral("2026-11-30"));
    QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Random seed."),
                            QStringLiteral("S"), QStringLiteral("1"));
    parser.addOptions({records, lastDay, seed});
    parser.process(app);
    kestrova::SampleLogOptions options;
    options.records = parser.value(records).toInt();
    options.lastDay = QDate::fromString(parser.value(lastDay), u"yyyy-MM-dd");
    options.seed = parser.value(seed).toUInt();
    if (options.records < 0 || !options.lastDay.isValid()) {
        std::fputs("kestrova-sample-log: bad --records or --last-day\n", stderr);
        return 2;
    }
    const QByteArray bytes = kestrova::makeSampleUsageLog(options).toLatin1();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    return 0;
}
