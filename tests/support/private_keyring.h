// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A desktop keyring of the test's own: a session bus (dbus-daemon) and gnome-keyring's Secret
// Service on it, with a fresh "login" keyring unlocked in a temporary folder. The test process
// talks to it through DBUS_SESSION_BUS_ADDRESS, which must be set before the process first
// uses D-Bus; environment() gives the same to child processes. The bus, and the keyring daemon
// with it, end with the test process, not with the object: the keyring client's D-Bus library
// (GLib's) ends the whole process with SIGTERM when the session bus it holds closes, which would
// kill the tests that come after this one in the same process.

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <sys/prctl.h>
#include <csignal>

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
        // Never deleted (deleting a QProcess ends it): the kernel ends the bus after the test
        // process.
        auto* bus = new QProcess;
        bus->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        bus->start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--session"), QStringLiteral("--nofork"),
                    QStringLiteral("--print-address=1")});
        if (!bus->waitForStarted(10000)) {
            ADD_FAILURE() << "dbus-daemon did not start (package dbus)";
            return;
        }
        while (!bus->canReadLine() && bus->waitForReadyRead(10000)) {
        }
        m_address = QString::fromUtf8(bus->readLine()).trimmed();
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
    QString m_address;
    bool m_started = false;
};

}  // namespace kestrova::testing
