// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// "Show in the panel": an XDG autostart entry that starts the tray item with the session,
// $XDG_CONFIG_HOME/autostart/kestrova-tray.desktop (~/.config/autostart by default).

#include <QString>

namespace kestrova {

QString autostartFile();

// The entry for `program` (the kestrova executable): "Exec=kestrova --tray" when that is the
// kestrova the search path finds, else the program's own path, quoted as the desktop entry
// format wants.
QString autostartEntry(const QString& program);

// Whether the entry is there and not turned off (Hidden=true, or the session's
// X-GNOME-Autostart-enabled=false).
bool autostartEnabled();

// Writes the entry for `program`, or removes it. False with the reason in `error`.
bool setAutostart(bool enabled, const QString& program, QString& error);

}  // namespace kestrova
