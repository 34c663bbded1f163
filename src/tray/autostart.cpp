// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tray/autostart.h"

#include "retrieval/cache_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

#include <algorithm>
#include <utility>

namespace kestrova {

namespace {

// An Exec argument as the desktop entry format quotes it; "%" is always doubled there.
QString execArgument(QString argument) {
    argument.replace(u'%', QStringLiteral("%%"));
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (std::none_of(argument.cbegin(), argument.cend(),
                     [](QChar c) { return reserved.contains(c); })) {
        return argument;
    }
    QString quoted;
    for (const QChar c : std::as_const(argument)) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') {
            quoted += u'\\';
        }
        quoted += c;
    }
    return u'"' + quoted + u'"';
}

}  // namespace

QString autostartFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/kestrova-tray.desktop");
}

QString autostartEntry(const QString& program) {
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("kestrova"));
    const bool found = !onPath.isEmpty() && QFileInfo(onPath).canonicalFilePath() ==
                                                QFileInfo(program).canonicalFilePath();
    const QString exec = found ? QStringLiteral("kestrova") : execArgument(program);
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Kestrova in the panel\n"
               "Comment=The month's broadband usage, daily budget and bill in the panel\n"
               "Exec=%1 --tray\n"
               "Icon=kestrova\n"
               "Terminal=false\n"
               "NoDisplay=true\n"
               "X-GNOME-Autostart-enabled=true\n")
        .arg(exec);
}

bool autostartEnabled() {
    QFile file(autostartFile());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return false;
    }
    QTextStream in(&file);
    bool inEntry = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == u"[Desktop Entry]";
            continue;
        }
        if (inEntry &&
            (line.compare(u"Hidden=true", Qt::CaseInsensitive) == 0 ||
             line.compare(u"X-GNOME-Autostart-enabled=false", Qt::CaseInsensitive) == 0)) {
            return false;
        }
    }
    return true;
}

bool setAutostart(bool enabled, const QString& program, QString& error) {
    const QString path = autostartFile();
    if (!enabled) {
        if (QFile::exists(path) && !QFile::remove(path)) {
            error = path + QStringLiteral(": cannot be removed");
            return false;
        }
        return true;
    }
    if (!QDir().mkpath(QFileInfo(path).path())) {
        error = QFileInfo(path).path() + QStringLiteral(": cannot be made");
        return false;
    }
    const QByteArray bytes = autostartEntry(program).toUtf8();
    return replaceFile(
        path, [&](QIODevice& device) { return writeAll(device, bytes); }, error);
}

}  // namespace kestrova
