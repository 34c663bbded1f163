// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// portal-sim as a child of the test, on a free loopback port; stopped with SIGTERM when the
// object goes.

#include <gtest/gtest.h>

#include <QProcess>

#include <sys/prctl.h>
#include <QRegularExpression>
#include <QTcpServer>
#include <QUrl>
#include <csignal>

namespace kestrova::testing {

// A loopback port that nothing listens on (it was free a moment ago).
inline int closedPort() {
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0)) {
        return 0;
    }
    const int port = server.serverPort();
    server.close();
    return port;
}

class PortalProcess {
public:
    explicit PortalProcess(QStringList arguments = {}) {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // A test that ends abruptly (a timed-out walk aborts) must not leave the portal running.
        m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_process.start(QStringLiteral(PORTAL_SIM_EXECUTABLE), arguments);
        if (!m_process.waitForStarted(10000)) {
            ADD_FAILURE() << "portal-sim did not start";
            return;
        }
        while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
        }
        const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)$")).match(line);
        if (!match.hasMatch()) {
            ADD_FAILURE() << "portal-sim said: " << line.toStdString();
            return;
        }
        m_port = match.captured(1).toInt();
    }

    ~PortalProcess() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(10000)) {
                m_process.kill();
                m_process.waitForFinished(1000);
            }
        }
    }

    PortalProcess(const PortalProcess&) = delete;
    PortalProcess& operator=(const PortalProcess&) = delete;

    int port() const { return m_port; }
    QUrl url(const QString& path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path));
    }

private:
    QProcess m_process;
    int m_port = 0;
};

}  // namespace kestrova::testing
