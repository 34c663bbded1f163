// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The daily check's systemd user units as the install step leaves them: beside the installed
// kestrova-check and its manual page, daily and persistent, enabled by nobody, and accepted by
// systemd-analyze.

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

using kestrova::test::q;
using kestrova::test::readFile;
using kestrova::test::writeFile;

// The units' keys, read as systemd reads them (one key per line, in sections).
QMap<QString, QString> unitKeys(const QString& path) {
    QMap<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return keys;
    }
    QString section;
    for (const QString& raw : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) {
            continue;
        }
        if (line.startsWith(u'[')) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        keys.insert(section + u'/' + line.left(equals), line.mid(equals + 1));
    }
    return keys;
}

class CheckUnits : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(prefix.isValid());
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(q(KESTROVA_CMAKE_COMMAND),
                      {q("--install"), q(KESTROVA_BINARY_DIR), q("--prefix"), prefix.path(),
                       q("--component"), q("check")});
        ASSERT_TRUE(install.waitForFinished(120000));
        ASSERT_EQ(install.exitCode(), 0) << install.readAll().toStdString();
    }
    QString unit(const char* name) const {
        return prefix.filePath(q("lib/systemd/user/") + q(name));
    }

    QTemporaryDir prefix;
};

TEST_F(CheckUnits, AreInstalledBesideTheCheckDailyPersistentAndNotEnabled) {
    const QString check = prefix.filePath(q("bin/kestrova-check"));
    ASSERT_TRUE(QFileInfo(check).isExecutable());

    const QMap<QString, QString> service = unitKeys(unit("kestrova-check.service"));
    EXPECT_EQ(service.value(q("Service/Type")), q("oneshot"));
    // The installed program, wherever the prefix is, with the alerts on.
    EXPECT_EQ(service.value(q("Service/ExecStart")), check + q(" --notify"));
    EXPECT_FALSE(service.contains(q("Install/WantedBy")));  // started by its timer only

    const QMap<QString, QString> timer = unitKeys(unit("kestrova-check.timer"));
    EXPECT_EQ(timer.value(q("Timer/OnCalendar")), q("daily"));
    EXPECT_EQ(timer.value(q("Timer/Persistent")), q("true"));
    EXPECT_EQ(timer.value(q("Install/WantedBy")), q("timers.target"));

    // Enabling is the user's choice: no unit is linked into a target's wants.
    EXPECT_FALSE(QFileInfo::exists(prefix.filePath(q("lib/systemd/user/timers.target.wants"))));
}

TEST_F(CheckUnits, PassSystemdsOwnCheck) {
    const QString analyze = QStandardPaths::findExecutable(q("systemd-analyze"));
    if (analyze.isEmpty()) {
        GTEST_SKIP() << "systemd-analyze is not installed";
    }
    // The user manager's checks, without a user session: a runtime folder of the test's own.
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    QProcess verify;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(q("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(q("SYSTEMD_LOG_COLOR"), q("0"));
    // The units' Documentation= names the manual page installed beside them.
    env.insert(q("MANPATH"), prefix.filePath(q("share/man")));
    verify.setProcessEnvironment(env);
    verify.start(analyze, {q("--user"), q("verify"), unit("kestrova-check.service"),
                           unit("kestrova-check.timer")});
    ASSERT_TRUE(verify.waitForFinished(60000));
    const QString said =
        QString::fromUtf8(verify.readAllStandardError() + verify.readAllStandardOutput());
    EXPECT_EQ(verify.exitCode(), 0) << said.toStdString();
    // Unknown keys and doubtful values are only warnings; none is wanted.
    EXPECT_TRUE(said.trimmed().isEmpty()) << said.toStdString();
}

}  // namespace

namespace {

// The README's crontab line, without its schedule: what cron hands to the shell.
QString readmeCronCommand() {
    for (const QString& line :
         QString::fromUtf8(readFile(q(KESTROVA_SOURCE_DIR "/README.md"))).split(u'\n')) {
        if (line.startsWith(q("30 7 * * * ")) && line.contains(q("kestrova-check"))) {
            return line.mid(11);
        }
    }
    return {};
}

}  // namespace

// Once, the README's cron line ran the check without the session bus (so the keyring could
// not be reached) and emptied yesterday's JSON before the check had anything to say. The line
// as written now tells the check where the bus is and replaces the JSON only on success.
TEST(CheckCron, TheReadmesLineReachesTheBusAndKeepsTheLastGoodJson) {
    const QString command = readmeCronCommand();
    ASSERT_FALSE(command.isEmpty()) << "no crontab line for kestrova-check in the README";
    QTemporaryDir home;
    QDir(home.path()).mkpath(q(".local/share/kestrova"));
    QDir(home.path()).mkpath(q("bin"));
    const QString json = home.filePath(q(".local/share/kestrova/today.json"));
    // A stand-in for the check: says where it was told the bus is, then succeeds or fails.
    const QString check = home.filePath(q("bin/kestrova-check"));
    ASSERT_TRUE(writeFile(check,
                          "#!/bin/sh\n"
                          "printf '{\"bus\": \"%s\"}\\n' \"$DBUS_SESSION_BUS_ADDRESS\"\n"
                          "exit $(cat \"$HOME/status\")\n"));
    QFile::setPermissions(check, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const auto runAsCron = [&](int status) {
        EXPECT_TRUE(writeFile(home.filePath(q("status")), QByteArray::number(status)));
        // cron's own small environment: no session bus, a plain PATH.
        QProcessEnvironment env;
        env.insert(q("HOME"), home.path());
        env.insert(q("PATH"), home.filePath(q("bin")) + q(":/usr/bin:/bin"));
        QProcess shell;
        shell.setProcessEnvironment(env);
        shell.start(q("/bin/sh"), {q("-c"), command});
        EXPECT_TRUE(shell.waitForFinished(30000));
        return readFile(json);
    };
    const QByteArray bus = "unix:path=/run/user/" + QByteArray::number(::getuid()) + "/bus";
    EXPECT_EQ(runAsCron(0), "{\"bus\": \"" + bus + "\"}\n");
    // A failing check (no keyring, no portal) leaves the last good figures.
    EXPECT_EQ(runAsCron(3), "{\"bus\": \"" + bus + "\"}\n");
}
