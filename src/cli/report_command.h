// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIODevice>
#include <QStringList>

namespace kestrova {

// kestrova-report: the usage report page of a downloaded usage log or a cache file, made by
// the program's own report code without a screen. `arguments` excludes the program name.
// Returns the exit status: 0 done, 1 bad input, 2 wrong usage.
int runReportCommand(const QStringList& arguments, QIODevice& out, QIODevice& err);

}  // namespace kestrova
