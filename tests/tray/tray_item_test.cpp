// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The tray item without a panel: it follows the last check as the daily timer and the window
// replace it, says the steps and the failure of "Check now" (kestrova-check, played here by a
// script of the test's own), and starts the windows as programs of their own.

#include "tray/tray_item.h"

#include "kept_check.h"
#include "support/qt_printers.h"
#include "support/task_runner.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>

namespace kestrova {
namespace {

using namespace std::chrono_literals;
using kestrova::test::q;
using testing::spinUntil;

class Tray : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void keepCheck(int usedMB) { test::keepCheck(dir.path(), usedMB); }

    // A kestrova-check of the test's own: `script` runs in sh.
    QString checkScript(const QByteArray& script) {
        const QString path = dir.filePath(q("kestrova-check"));
        EXPECT_TRUE(test::writeFile(path, "#!/bin/sh\n" + script));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    std::unique_ptr<TrayItem> item(const QString& checkProgram = q("/nonexistent/kestrova-check")) {
        TrayOptions options;
        options.folder = dir.path();
        options.user = q("demo");
        options.checkProgram = checkProgram;
        options.windowProgram = q("/opt/kestrova/bin/kestrova");
        options.startDetached = [this](const QString& program, const QStringList& arguments) {
            started << (QStringList{program} + arguments).join(u' ');
            return true;
        };
        return std::make_unique<TrayItem>(std::move(options));
    }

    QTemporaryDir dir;
    QStringList started;
};

TEST_F(Tray, FollowsTheLastCheckAsItIsReplaced) {
    const auto tray = item();
    EXPECT_EQ(tray->toolTip(), q("Kestrova\nNo check yet: choose \"Check now\""));
    EXPECT_FALSE(tray->showUsageAction()->isEnabled());
    EXPECT_EQ(tray->gauge().level, GaugeLevel::Unknown);

    keepCheck(300);
    ASSERT_TRUE(spinUntil([&] { return tray->toolTip().contains(q("Used 300 MB")); }, 10s))
        << tray->toolTip().toStdString();
    EXPECT_EQ(tray->gauge().level, GaugeLevel::LastsTheMonth);
    EXPECT_TRUE(tray->showUsageAction()->isEnabled());

    // (The tray run on a session bus follows a second check renamed into place.)
    QString why;
    ASSERT_TRUE(keepCheckFailure(dir.path(),
                                 {q("demo"), false, q("the portal cannot be reached"),
                                  QDateTime::currentDateTime().addSecs(5)},
                                 why));
    ASSERT_TRUE(spinUntil(
        [&] { return tray->toolTip().contains(q("Last check failed: the portal cannot be")); },
        10s))
        << tray->toolTip().toStdString();
    // The figures of the last check stay.
    EXPECT_TRUE(tray->toolTip().contains(q("Used 300 MB"))) << tray->toolTip().toStdString();

    tray->showUsageAction()->trigger();
    tray->openAction()->trigger();
    EXPECT_EQ(started, (QStringList{q("/opt/kestrova/bin/kestrova --show-usage ") +
                                        dir.filePath(q("last-check-unbilled-demo.json")),
                                    q("/opt/kestrova/bin/kestrova")}));
    QSignalSpy quit(tray.get(), &TrayItem::quitRequested);
    tray->quitAction()->trigger();
    EXPECT_EQ(quit.count(), 1);
}

TEST_F(Tray, CheckNowSaysItsStepsThenItsFailure) {
    const QString go = dir.filePath(q("go"));
    const auto tray = item(checkScript(
        "echo 'kestrova-check: logging in as demo' >&2\n"
        "while [ ! -e '" +
        go.toUtf8() +
        "' ]; do sleep 0.05; done\n"
        "echo 'kestrova-check: The portal did not accept the user id and password.' >&2\n"
        "exit 3\n"));
    QSignalSpy ended(tray.get(), &TrayItem::checkEnded);
    tray->checkNowAction()->trigger();
    ASSERT_TRUE(spinUntil(
        [&] { return tray->toolTip().endsWith(q("Checking now: Logging in as demo")); }, 10s))
        << tray->toolTip().toStdString();
    EXPECT_FALSE(tray->checkNowAction()->isEnabled());
    tray->checkNow();  // one at a time

    QFile(go).open(QIODevice::WriteOnly);
    ASSERT_TRUE(spinUntil([&] { return ended.count() == 1; }, 10s));
    EXPECT_FALSE(ended[0][0].toBool());
    EXPECT_EQ(ended[0][1].toString(), q("The portal did not accept the user id and password."));
    EXPECT_TRUE(tray->checkNowAction()->isEnabled());
    EXPECT_FALSE(tray->toolTip().contains(q("Checking now")));
}

}  // namespace
}  // namespace kestrova
