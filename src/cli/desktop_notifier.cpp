// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/desktop_notifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>
#include <QVariantMap>

namespace kestrova {

FreedesktopNotifier::FreedesktopNotifier(QDBusConnection bus, std::chrono::milliseconds timeout)
    : m_bus(std::move(bus)), m_timeout(timeout) {}

void FreedesktopNotifier::notify(const QString& summary, const QString& body,
                                 std::function<void(bool shown)> done) {
    if (!m_bus.isConnected()) {
        // Still from the event loop, as a reply would come. No context object: the call holds
        // all it uses, so there is no object whose end should cancel it.
        auto failed = [done = std::move(done)] { done(false); };
        QTimer::singleShot(0, std::move(failed));  // clazy:exclude=connect-3arg-lambda
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QVariantMap hints{
        {QStringLiteral("desktop-entry"), QStringLiteral("example.kestrova.Kestrova")}};
    // app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout (-1: the
    // server's default).
    call << QStringLiteral("Kestrova") << 0u << QStringLiteral("kestrova") << summary << body
         << QStringList() << hints << -1;
    // The call is not awaited in a nested loop: the check ends from its own event loop.
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, int(m_timeout.count())));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [done = std::move(done)](QDBusPendingCallWatcher* finished) {
                         const QDBusPendingReply<uint> reply = *finished;
                         finished->deleteLater();
                         done(!reply.isError());
                     });
}

}  // namespace kestrova
