// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/report_export.h"

namespace kestrova {

SaveFileRequest saveFileRequest(const QString& initialDir, const QString& defaultName,
                                const QString& ext) {
    SaveFileRequest request;
    request.title = QStringLiteral("Enter Filename to save");
    request.initialDirectory = initialDir;
    request.defaultName = defaultName;
    request.filter = QStringLiteral("Output file (*.") + ext + u')';
    return request;
}

QString withExtension(const QString& chosen, const QString& ext) {
    QString name = chosen;
    const qsizetype nul = name.indexOf(QChar(u'\0'));
    if (nul >= 0) {
        name.truncate(nul);
    }
    const QString suffix = u'.' + ext;
    if (!name.contains(suffix)) {
        name += suffix;
    }
    return name;
}

QString suggestedFileName(const QDate& lastUsed, const QString& ext) {
    const QString stem =
        lastUsed.isValid() ? QStringLiteral("usage-") + lastUsed.toString(QStringLiteral("yyyy-MM"))
                           : QStringLiteral("usage");
    return stem + u'.' + ext;
}

QString askSaveFileName(const QString& initialDir, const QString& defaultName, const QString& ext) {
    const std::optional<QString> chosen =
        dialogs().saveFileName(saveFileRequest(initialDir, defaultName, ext));
    if (!chosen) {
        return QString();
    }
    return withExtension(*chosen, ext);
}

}  // namespace kestrova
