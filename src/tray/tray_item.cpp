// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tray/tray_item.h"

#include "tray/gauge_painter.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QSystemTrayIcon>

namespace kestrova {

namespace {

const QByteArray kCheckPrefix = "kestrova-check: ";

// "logging in as demo" as the tool tip's step: "Logging in as demo".
QString sentence(QString text) {
    if (!text.isEmpty()) {
        text[0] = text[0].toUpper();
    }
    return text;
}

}  // namespace

TrayItem::TrayItem(TrayOptions options, QObject* parent)
    : QObject(parent), m_options(std::move(options)), m_menu(std::make_unique<QMenu>()) {
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    m_checkNow = m_menu->addAction(QStringLiteral("&Check now"), this, &TrayItem::checkNow);
    m_showUsage = m_menu->addAction(QStringLiteral("&Show usage"), this, &TrayItem::showUsage);
    m_open = m_menu->addAction(QStringLiteral("&Open Kestrova"), this, &TrayItem::openWindow);
    m_menu->addSeparator();
    m_quit = m_menu->addAction(QStringLiteral("&Quit"), this, &TrayItem::quitRequested);

    m_icon = new QSystemTrayIcon(this);
    m_icon->setContextMenu(m_menu.get());
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // A click shows the figures in full; the menu is the context menu.
                if (reason == QSystemTrayIcon::Trigger) {
                    if (m_showUsage->isEnabled()) {
                        showUsage();
                    } else {
                        openWindow();
                    }
                }
            });

    m_settle.setSingleShot(true);
    m_settle.setInterval(150);
    connect(&m_settle, &QTimer::timeout, this, &TrayItem::reload);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { m_settle.start(); });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { m_settle.start(); });

    m_check.setProgram(m_options.checkProgram);
    m_check.setArguments({QStringLiteral("--verbose")});
    m_check.setProcessChannelMode(QProcess::SeparateChannels);
    m_check.setStandardOutputFile(QProcess::nullDevice());
    connect(&m_check, &QProcess::readyReadStandardError, this, &TrayItem::readCheckOutput);
    connect(&m_check, &QProcess::finished, this, &TrayItem::checkFinished);
    connect(&m_check, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            m_step.clear();
            const QString why = QStringLiteral("%1 could not be started: %2")
                                    .arg(m_options.checkProgram, m_check.errorString());
            tell(QStringLiteral("Check failed"), why);
            update();
            Q_EMIT checkEnded(false, why);
        }
    });

    reload();
}

TrayItem::~TrayItem() {
    if (m_check.state() != QProcess::NotRunning) {
        m_check.disconnect(this);
        m_check.kill();
        m_check.waitForFinished(5000);
    }
}

void TrayItem::show() {
    m_icon->show();
}

GaugeState TrayItem::gauge() const {
    return gaugeStateOf(m_status);
}

QString TrayItem::toolTip() const {
    QStringList lines = toolTipLines(m_status);
    if (isChecking()) {
        lines << QStringLiteral("Checking now") +
                     (m_step.isEmpty() ? QString() : QStringLiteral(": ") + m_step);
    }
    return lines.join(u'\n');
}

void TrayItem::reload() {
    m_files = chooseLastCheck(m_options.folder, m_options.user);
    m_status = readPanelStatus(m_files);
    watchFiles();
    update();
}

void TrayItem::watchFiles() {
    // The folder shows a document that appears or is renamed into place; the document itself
    // shows a change in place. A rename replaces the file the watcher followed, so it is
    // added again each time.
    if (!m_watcher.directories().contains(m_options.folder)) {
        m_watcher.addPath(m_options.folder);
    }
    for (const QString& path : {m_files.document, m_files.failure}) {
        if (QFileInfo::exists(path) && !m_watcher.files().contains(path)) {
            m_watcher.addPath(path);
        }
    }
}

void TrayItem::update() {
    const bool checking = isChecking();
    m_checkNow->setEnabled(!checking);
    m_showUsage->setEnabled(m_status.hasCheck && m_status.unreadable.isEmpty() &&
                            QFileInfo::exists(m_files.log));
    const QString tip = toolTip();
    const GaugeState gauge = gaugeStateOf(m_status);
    const bool changedGauge =
        gauge.level != m_shownGauge.level || gauge.usedShare != m_shownGauge.usedShare;
    if (changedGauge) {
        m_shownGauge = gauge;
        m_icon->setIcon(gaugeIcon(gauge));
    }
    const bool changedTip = tip != m_shownToolTip;
    if (changedTip) {
        m_shownToolTip = tip;
        m_icon->setToolTip(tip);
    }
    if (changedGauge || changedTip) {
        Q_EMIT changed();
    }
}

void TrayItem::checkNow() {
    if (isChecking()) {
        return;
    }
    m_step.clear();
    m_lastLine.clear();
    m_checkOutput.clear();
    m_check.start();
    update();
}

void TrayItem::readCheckOutput() {
    m_checkOutput += m_check.readAllStandardError();
    qsizetype end = 0;
    while ((end = m_checkOutput.indexOf('\n')) >= 0) {
        QByteArray line = m_checkOutput.left(end).trimmed();
        m_checkOutput.remove(0, end + 1);
        if (line.startsWith(kCheckPrefix)) {
            line.remove(0, kCheckPrefix.size());
        }
        if (line.isEmpty()) {
            continue;
        }
        m_lastLine = QString::fromUtf8(line);
        m_step = sentence(m_lastLine);
    }
    update();
}

void TrayItem::checkFinished(int exitCode, QProcess::ExitStatus status) {
    readCheckOutput();
    const bool succeeded = status == QProcess::NormalExit && exitCode == 0;
    const QString failure =
        succeeded ? QString()
                  : (m_lastLine.isEmpty() ? QStringLiteral("kestrova-check ended with status %1")
                                                .arg(status == QProcess::NormalExit ? exitCode : -1)
                                          : sentence(m_lastLine));
    m_step.clear();
    // kestrova-check has kept the check, or its failure, by now.
    reload();
    if (!succeeded) {
        tell(QStringLiteral("Check failed"), failure);
    }
    Q_EMIT checkEnded(succeeded, failure);
}

bool TrayItem::start(const QString& program, const QStringList& arguments) {
    const bool started = m_options.startDetached ? m_options.startDetached(program, arguments)
                                                 : QProcess::startDetached(program, arguments);
    if (!started) {
        tell(QStringLiteral("Kestrova"), QStringLiteral("%1 could not be started").arg(program));
    }
    return started;
}

void TrayItem::showUsage() {
    start(m_options.windowProgram, {QStringLiteral("--show-usage"), m_files.document});
}

void TrayItem::openWindow() {
    start(m_options.windowProgram, {});
}

void TrayItem::tell(const QString& title, const QString& text) {
    if (QSystemTrayIcon::supportsMessages()) {
        m_icon->showMessage(title, text, QSystemTrayIcon::Warning);
    }
}

}  // namespace kestrova
