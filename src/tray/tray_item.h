// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The tray item of `kestrova --tray`: the gauge of the allowance used, the month's figures as
// its tool tip, and the menu "Check now", "Show usage", "Open Kestrova" and "Quit". It follows
// the last check that the daily timer (kestrova-check) or the window keeps in the program's
// folder, so it is current without checking by itself. "Check now" runs kestrova-check with
// the settings and the remembered password, as the daily timer does, and shows its steps and
// a failure; the windows are programs of their own, so the item stays small in the panel.

#include "tray/gauge_painter.h"
#include "tray/panel_status.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace kestrova {

struct TrayOptions {
    QString folder;         // the program's folder
    QString user;           // the user id Kestrova keeps: its unbilled usage is followed first
    QString checkProgram;   // kestrova-check
    QString windowProgram;  // kestrova
    // Starts a window program on its own; false when it could not be started. None:
    // QProcess::startDetached.
    std::function<bool(const QString& program, const QStringList& arguments)> startDetached;
};

class TrayItem : public QObject {
    Q_OBJECT

public:
    explicit TrayItem(TrayOptions options, QObject* parent = nullptr);
    ~TrayItem() override;

    void show();

    QSystemTrayIcon& icon() const { return *m_icon; }
    QMenu& menu() const { return *m_menu; }
    QAction* checkNowAction() const { return m_checkNow; }
    QAction* showUsageAction() const { return m_showUsage; }
    QAction* openAction() const { return m_open; }
    QAction* quitAction() const { return m_quit; }

    const PanelStatus& status() const { return m_status; }
    GaugeState gauge() const;
    // The tool tip as shown: the figures, and the step of a check under way.
    QString toolTip() const;
    bool isChecking() const { return m_check.state() != QProcess::NotRunning; }

    // Reads the last check again (the watcher does it when the files change).
    void reload();
    // "Check now": kestrova-check with the stored settings; nothing while one runs.
    void checkNow();
    // "Show usage": the result window of the last check, as a program of its own.
    void showUsage();
    // "Open Kestrova": the main window, as a program of its own.
    void openWindow();

Q_SIGNALS:
    // The figures or the check's step changed (the tool tip and the icon are set by then).
    void changed();
    // "Quit" was chosen.
    void quitRequested();
    // A check that was started has ended; `failure` is its last line when it failed.
    void checkEnded(bool succeeded, const QString& failure);

private:
    void update();
    void watchFiles();
    void readCheckOutput();
    void checkFinished(int exitCode, QProcess::ExitStatus status);
    bool start(const QString& program, const QStringList& arguments);
    void tell(const QString& title, const QString& text);

    TrayOptions m_options;
    LastCheckFiles m_files;
    PanelStatus m_status;
    QString m_shownToolTip;
    GaugeState m_shownGauge{GaugeLevel::Unknown, -1};
    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon* m_icon = nullptr;
    QAction* m_checkNow = nullptr;
    QAction* m_showUsage = nullptr;
    QAction* m_open = nullptr;
    QAction* m_quit = nullptr;
    QFileSystemWatcher m_watcher;
    // Changes come in bursts (a file written beside its place, then renamed over it).
    QTimer m_settle;
    QProcess m_check;
    QByteArray m_checkOutput;  // standard error not yet read up to a line's end
    QString m_step;            // what the running check is doing
    QString m_lastLine;        // its last line
};

}  // namespace kestrova
