// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// An X server of the test's own (Xvfb on a display it picks itself), for running the real
// program as a person does: its windows found by title, typed into with xdotool, and closed
// the way a window manager closes them (a WM_DELETE_WINDOW message, what Alt+F4 sends).

#include <gtest/gtest.h>

#include <sys/prctl.h>
#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <optional>

namespace kestrova::testing {

// Sends `window` on `display` the WM_DELETE_WINDOW message (x_display.cpp: Xlib's names stay
// out of the tests).
bool requestWindowClose(const QString& display, unsigned long window);

class XDisplay {
public:
    XDisplay() {
        m_server.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        // -displayfd: the server picks a free display and says which once it is ready.
        m_server.start(
            QStringLiteral("Xvfb"),
            {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
             QStringLiteral("0"), QStringLiteral("1280x800x24"), QStringLiteral("-nolisten"),
             QStringLiteral("tcp")});
        if (!m_server.waitForStarted(10000)) {
            ADD_FAILURE() << "Xvfb did not start (package xvfb)";
            return;
        }
        while (!m_server.canReadLine() && m_server.waitForReadyRead(20000)) {
        }
        const QString number = QString::fromLatin1(m_server.readLine()).trimmed();
        if (number.isEmpty()) {
            ADD_FAILURE() << "Xvfb gave no display";
            return;
        }
        m_name = u':' + number;
    }

    ~XDisplay() {
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            m_server.waitForFinished(5000);
        }
    }

    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    bool ready() const { return !m_name.isEmpty(); }
    QString name() const { return m_name; }

    // `base` with this display for Qt's X11 platform.
    QProcessEnvironment environment(QProcessEnvironment base) const {
        base.insert(QStringLiteral("DISPLAY"), m_name);
        base.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        base.remove(QStringLiteral("WAYLAND_DISPLAY"));
        return base;
    }

    // xdotool with `arguments` on this display; its standard output, or nothing when it fails
    // or takes longer than `timeoutMs`.
    std::optional<QString> xdotool(const QStringList& arguments, int timeoutMs = 60000) const {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_name);
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral("xdotool"), arguments);
        if (!tool.waitForStarted(10000)) {
            ADD_FAILURE() << "xdotool did not start (package xdotool)";
            return std::nullopt;
        }
        if (!tool.waitForFinished(timeoutMs)) {
            tool.kill();
            tool.waitForFinished(1000);
            return std::nullopt;
        }
        if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
            return std::nullopt;
        }
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }

    // The shown top-level window titled exactly `title`, once it is there; 0 when it does not
    // come within the time.
    unsigned long waitForWindow(const QString& title) const {
        const std::optional<QString> found = xdotool(
            {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
             QStringLiteral("--name"), u'^' + title + u'$'});
        return found ? found->section(u'\n', 0, 0).toULong() : 0;
    }

    // Asks the window to close, as a window manager does.
    bool requestClose(unsigned long window) const { return requestWindowClose(m_name, window); }

private:
    QProcess m_server;
    QString m_name;
};

}  // namespace kestrova::testing
