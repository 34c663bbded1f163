// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Whether the desktop has a panel that can show the tray item: a StatusNotifierWatcher on the
// session bus with a host registered (the StatusNotifierItem way), or an XEmbed system tray on
// the X display. Asked without QSystemTrayIcon, which decides the way once per process and
// keeps that answer: asked too early it would never use a watcher that starts later.

#include <QDBusConnection>
#include <QString>

namespace kestrova {

struct TrayAvailability {
    bool available = false;
    QString reason;  // why not, for the option that needs a panel
};

// The watcher on `bus` and a host registered with it.
bool statusNotifierHostOn(const QDBusConnection& bus);
// An XEmbed tray owns the display's system tray selection (false off X11).
bool xembedTrayPresent();

TrayAvailability trayAvailability(const QDBusConnection& bus = QDBusConnection::sessionBus());

}  // namespace kestrova
