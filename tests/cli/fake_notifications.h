// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A session bus of the test's own (dbus-daemon from Debian's dbus-daemon package, with no
// service files, so nothing is started on demand), and a notification service on it that
// records what it is sent.

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>

#include <vector>

namespace kestrova::testing {

class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // Empty when dbus-daemon is missing or did not start.
    QString address() const { return m_address; }
    // A connection of the test's own to it, under a name no other connection uses.
    QDBusConnection connect(const QString& name) const;

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
};

// org.freedesktop.Notifications at /org/freedesktop/Notifications.
class FakeNotifications : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Sent {
        QString appName;
        QString appIcon;
        QString summary;
        QString body;
        QVariantMap hints;
    };

    // Takes the service's name on `bus`; registered() tells whether it could.
    explicit FakeNotifications(QDBusConnection bus);
    ~FakeNotifications() override;
    bool registered() const { return m_registered; }

    std::vector<Sent> sent;
    // False: calls are taken but never answered (a service that hangs).
    bool answer = true;

public Q_SLOTS:
    uint Notify(const QString& app_name, uint replaces_id, const QString& app_icon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int expire_timeout);

private:
    QDBusConnection m_bus;
    bool m_registered = false;
};

}  // namespace kestrova::testing
