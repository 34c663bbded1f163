// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A folder of the harness's own for the files an input makes, emptied before each input: in
// memory (/dev/shm) where there is one, so the writer's sync to disk costs nothing.

#include <QDir>
#include <QTemporaryDir>

namespace kestrova::fuzz {

inline QDir emptyFolder() {
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/kestrova-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/kestrova-fuzz-XXXXXX"));
    QDir folder(dir.path());
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
        folder.remove(name);
    }
    return folder;
}

}  // namespace kestrova::fuzz
