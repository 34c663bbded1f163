// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/fake_notifications.h"

#include <QDBusConnectionInterface>
#include <QFile>
#include <QStandardPaths>

#include <sys/prctl.h>
#include <csignal>

namespace kestrova::testing {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

}  // namespace

PrivateBus::PrivateBus() {
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty() || !m_dir.isValid()) {
        return;
    }
    QFile config(m_dir.filePath(QStringLiteral("session.conf")));
    if (!config.open(QIODevice::WriteOnly)) {
        return;
    }
    config.write(QStringLiteral(
                     "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                     "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                     "<busconfig>\n"
                     "  <type>session</type>\n"
                     "  <listen>unix:path=%1</listen>\n"
                     "  <auth>EXTERNAL</auth>\n"
                     "  <policy context=\"default\">\n"
                     "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                     "    <allow eavesdrop=\"true\"/>\n"
                     "    <allow own=\"*\"/>\n"
                     "  </policy>\n"
                     "</busconfig>\n")
                     .arg(m_dir.filePath(QStringLiteral("bus")))
                     .toUtf8());
    config.close();
    // A test that ends abruptly must not leave the daemon running.
    m_daemon.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_daemon.start(daemon, {QStringLiteral("--config-file=") + config.fileName(),
                            QStringLiteral("--nofork"), QStringLiteral("--print-address")});
    if (!m_daemon.waitForStarted(10000)) {
        return;
    }
    while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(10000)) {
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
}

PrivateBus::~PrivateBus() {
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(10000)) {
            m_daemon.kill();
            m_daemon.waitForFinished(1000);
        }
    }
}

QDBusConnection PrivateBus::connect(const QString& name) const {
    return QDBusConnection::connectToBus(m_address, name);
}

FakeNotifications::FakeNotifications(QDBusConnection bus) : m_bus(std::move(bus)) {
    m_registered = m_bus.isConnected() &&
                   m_bus.registerObject(kPath, this, QDBusConnection::ExportAllSlots) &&
                   m_bus.registerService(kService);
}

FakeNotifications::~FakeNotifications() {
    if (m_registered) {
        m_bus.unregisterService(kService);
        m_bus.unregisterObject(kPath);
    }
}

uint FakeNotifications::Notify(const QString& app_name, uint, const QString& app_icon,
                               const QString& summary, const QString& body, const QStringList&,
                               const QVariantMap& hints, int) {
    sent.push_back({app_name, app_icon, summary, body, hints});
    if (!answer) {
        setDelayedReply(true);
    }
    return uint(sent.size());
}

}  // namespace kestrova::testing
