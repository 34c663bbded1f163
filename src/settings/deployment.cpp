// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/deployment.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace kestrova {

QString Deployment::obtainedFromLine() const {
    if (!obtainedFrom.isEmpty()) {
        return obtainedFrom;
    }
    return QStringLiteral("Get the latest version of Kestrova from ") + homePage;
}

QStringList Deployment::systemFiles() {
    // The per-user folder comes first in the generic list; deployment is not the user's to
    // change, and the user's own settings file of the same name lives there.
    QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    folders.removeAll(user);
    QStringList files;
    for (const QString& folder : folders) {
        files << QDir(folder).filePath(QStringLiteral("Kestrova/kestrova.ini"));
    }
    return files;
}

Deployment Deployment::load() {
    return read(systemFiles());
}

Deployment Deployment::read(const QStringList& iniFiles) {
    Deployment d;
    const std::pair<const char*, QString Deployment::*> keys[] = {
        {"NorthHost", &Deployment::northHost},
        {"WestHost", &Deployment::westHost},
        {"PlansPage", &Deployment::plansPage},
        {"PostpaidPlansPage", &Deployment::postpaidPlansPage},
        {"HomePage", &Deployment::homePage},
        {"ObtainedFrom", &Deployment::obtainedFrom},
    };
    bool taken[std::size(keys)] = {};
    for (const QString& file : iniFiles) {
        if (!QFileInfo(file).isFile()) {
            continue;
        }
        QSettings ini(file, QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("Deployment"));
        for (std::size_t i = 0; i < std::size(keys); ++i) {
            if (taken[i]) {
                continue;
            }
            const QString value =
                ini.value(QString::fromLatin1(keys[i].first)).toString().trimmed();
            if (!value.isEmpty()) {
                d.*(keys[i].second) = value;
                taken[i] = true;
            }
        }
    }
    return d;
}

}  // namespace kestrova
