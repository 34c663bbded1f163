// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A desktop keyring of the test's own: a session bus (dbus-daemon) and gnome-keyring's Secret
// Service on it, with a fresh "login" keyring unlocked in a temporary folder. The test process
// talks to it through DBUS_SESSION_BUS_ADDRESS, which must be set before the process first
// uses D-Bus; environment() gives the same to child processes. The keyring daemon ends with
// the bus when the object goes.

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace kestrova::testing {

class PrivateKeyring {
public:
    PrivateKeyring() {
        if (!m_home.isValid()) {
            ADD_FAILURE() << "no temporary folder";
            return;
        }
        QDir(m_home.path()).mkpath(QStringLiteral("data"));
        QDir(m_home.path()).mkpath(QStringLiteral("run"));
        QFile::setPermissions(m_home.filePath(QStringLiteral("run")), QFileDevice::ReadOwner |
                                                                          QFileDevice::WriteOwner |
                                                                          QFileDevice::ExeOwner);
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--session"), QStringLiteral("--nofork"),
                     QStringLiteral("--print-address=1")});
        if (!m_bus.waitForStarted(10000)) {
            ADD_FAILURE() << "dbus-daemon did not start (package dbus)";
            return;
        }
        while (!m_bus.canReadLine() && m_bus.waitForReadyRead(10000)) {
        }
        m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
        if (m_address.isEmpty()) {
            ADD_FAILURE() << "dbus-daemon gave no address";
            return;
        }
        // The login keyring, created and unlocked with the password on standard input, then
        // its Secret Service.
        run({QStringLiteral("--login")}, "keyring-password");
        run({QStringLiteral("--start"), QStringLiteral("--components=secrets")}, {});
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
    }

    ~PrivateKeyring() {
        if (m_bus.state() != QProcess::NotRunning) {
            m_bus.terminate();
            m_bus.waitForFinished(5000);
        }
    }

    PrivateKeyring(const PrivateKeyring&) = delete;
    PrivateKeyring& operator=(const PrivateKeyring&) = delete;

    bool ready() const { return !m_address.isEmpty() && m_started; }
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.filePath(QStringLiteral("run")));
        return env;
    }

private:
    void run(const QStringList& arguments, const QByteArray& input) {
        QProcess keyring;
        keyring.setProcessEnvironment(environment());
        keyring.setProcessChannelMode(QProcess::MergedChannels);
        keyring.start(QStringLiteral("gnome-keyring-daemon"), arguments);
        if (!keyring.waitForStarted(10000)) {
            ADD_FAILURE() << "gnome-keyring-daemon did not start (package gnome-keyring)";
            return;
        }
        keyring.write(input);
        keyring.closeWriteChannel();
        if (!keyring.waitForFinished(20000) || keyring.exitCode() != 0) {
            ADD_FAILURE() << "gnome-keyring-daemon " << arguments.join(u' ').toStdString() << ": "
                          << keyring.readAll().toStdString();
            return;
        }
        m_started = true;
    }

    QTemporaryDir m_home;
    QProcess m_bus;
    QString m_address;
    bool m_started = false;
};

}  // namespace kestrova::testing
