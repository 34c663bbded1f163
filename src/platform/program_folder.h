// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace kestrova {

// The program's own folder: cache files, the downloaded log "usage.htm", the "charteditable"
// marker. The per-user data folder, created on first use. Tests move it with XDG_DATA_HOME.
QString programFolder();

// folder + "/" + name, with no second separator when the folder already ends in one.
QString inProgramFolder(const QString& folder, const QString& name);

}  // namespace kestrova
