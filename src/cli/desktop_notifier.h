// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Desktop notifications for kestrova-check: a small interface, and the freedesktop
// notification service (org.freedesktop.Notifications) on the session bus behind it.

#include <QDBusConnection>
#include <QString>

#include <chrono>
#include <functional>

namespace kestrova {

class DesktopNotifier {
public:
    virtual ~DesktopNotifier() = default;
    // Shows `body` under `summary`. `done` runs once, from the event loop, with true when a
    // notification service took it and false when there is none or it refused.
    virtual void notify(const QString& summary, const QString& body,
                        std::function<void(bool shown)> done) = 0;
};

// Notify on org.freedesktop.Notifications over `bus`, awaited without blocking the event loop.
class FreedesktopNotifier : public DesktopNotifier {
public:
    explicit FreedesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus(),
                                 std::chrono::milliseconds timeout = std::chrono::seconds(10));
    void notify(const QString& summary, const QString& body,
                std::function<void(bool shown)> done) override;

private:
    QDBusConnection m_bus;
    std::chrono::milliseconds m_timeout;
};

}  // namespace kestrova
