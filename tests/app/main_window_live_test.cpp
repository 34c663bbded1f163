// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The whole program offscreen against portal-sim: the main window as the program makes it (the
// browser engine's portal browser and report view), its north host pointed at the portal
// through a deployment file in XDG_CONFIG_DIRS. The test plays the subscriber: types the
// password, clicks "Check Bandwidth Usage", picks the dates on the portal's page and clicks
// "View Usage Details"; then it reads the check kept for the panel and closes the result window.

#include "app/main_window.h"
#include "grab/usage_check.h"
#include "support/expected_report.h"
#include "support/grab_fixture.h"

#include "support/portal_process.h"
#include "support/qt_printers.h"
#include "support/task_runner.h"

#include "controls/tab_strip.h"
#include "platform/browser.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/settings_store.h"
#include "results/last_check.h"
#include "retrieval/cache_file.h"
#include "support/json_schema.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace kestrova {
namespace {

using namespace std::chrono_literals;
using testing::day;
using testing::navigationPath;
using testing::PortalProcess;
using testing::recordsText;
using testing::spinUntil;

using kestrova::test::q;
class WholeProgram : public ::testing::Test {
protected:
    void SetUp() override {
        portal = std::make_unique<PortalProcess>(QStringList{q("--today"), q("2013-04-17")});
        ASSERT_GT(portal->port(), 0);
        ASSERT_TRUE(deploymentDir.isValid());
        QDir().mkpath(deploymentDir.filePath(q("Kestrova")));
        QFile ini(deploymentDir.filePath(q("Kestrova/kestrova.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(
            QStringLiteral("[Deployment]\nNorthHost=127.0.0.1:%1\n").arg(portal->port()).toUtf8());
        ini.close();
        oldDirs = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_DIRS", deploymentDir.path().toLocal8Bit());

        QSettings(SettingsStore().fileName(), QSettings::IniFormat).clear();
        SettingsStore store;
        store.save(q("txtUserName"), q("demo"));
        store.save(q("Selfcaresite"), q("0"));
        store.save(q("Plan3"), q("0"));  // the Summary prices the month on BBG 250
        store.sync();
    }

    void TearDown() override { qputenv("XDG_CONFIG_DIRS", oldDirs); }

    void playTheSubscriber(MainWindow& w) {
        ASSERT_TRUE(spinUntil([&] { return w.messageLabel()->isVisible(); }, 90s))
            << "no date prompt; " << messages.texts().join(u'|').toStdString();
        EXPECT_EQ(w.messageLabel()->text(),
                  q("Select From and To dates and click \"View Usage Details\" link"));
        testing::choosePeriod(w.portalBrowser().documentOf(FrameHandle(navigationPath())), "03",
                              "12");
    }

    RecordingDialogs messages;
    ScopedDialogs seam{messages};
    std::unique_ptr<PortalProcess> portal;
    QTemporaryDir deploymentDir;
    QByteArray oldDirs;
};

TEST_F(WholeProgram, FromTheButtonToTheResultWindowAndBack) {
    MainWindow w;
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.selfcaresiteCombo()->currentText(),
              QStringLiteral("127.0.0.1:%1").arg(portal->port()));
    EXPECT_EQ(w.userNameEdit()->text(), q("demo"));
    QTest::keyClicks(w.passwordEdit(), q("demo"));
    w.enableCacheCheck()->setChecked(true);
    QTest::mouseClick(w.calculateButton(), Qt::LeftButton);
    EXPECT_EQ(w.portalTabs()->selectedTab(), 2);
    EXPECT_TRUE(w.webBrowser()->isVisible());

    playTheSubscriber(w);
    ResultWindow& result = w.resultWindow();
    ASSERT_TRUE(spinUntil([&] { return result.isVisible(); }, 90s))
        << messages.texts().join(u'|').toStdString();
    EXPECT_TRUE(messages.messages.empty()) << messages.texts().join(u'|').toStdString();

    const auto expected = portal::usageRecords("demo", day(2013, 4, 3), day(2013, 4, 12));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(w.state().monthYear, q("period 03-04-2013 TO 12-04-2013"));
    EXPECT_EQ(w.state().records.rowText(), recordsText(expected));
    // The check is kept for the panel: the window's figures, the period picked on the portal.
    const LastCheckFiles last = lastCheckFiles(programFolder(), q("demo"), false);
    QFile kept(last.document);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    const QJsonObject document = test::printedJson(kept.readAll(), test::JsonSchema::Check);
    EXPECT_EQ(document[q("check")][q("from")].toString(), q("2013-04-03"));
    EXPECT_EQ(document[q("check")][q("to")].toString(), q("2013-04-12"));
    EXPECT_EQ(document[q("check")][q("host")].toString(),
              QStringLiteral("127.0.0.1:%1").arg(portal->port()));
    EXPECT_EQ(document[q("month")][q("records")].toInt(), int(expected.size()));
    // Priced as the Summary tab shows it.
    EXPECT_EQ(document[q("summary")][q("plan")][q("name")].toString(), q("BBG 250"));
    EXPECT_GT(result.totalUsage(), 0);
    EXPECT_EQ(document[q("forecast")][q("usedMB")].toDouble(), double(result.totalUsage()));
    EXPECT_EQ(readFileData(last.log, false),
              readFileData(inProgramFolder(programFolder(), q("usage.htm")), false));

    QTest::mouseClick(result.closeButton(), Qt::LeftButton);
    ASSERT_TRUE(spinUntil([&] { return !w.isShowingOutput(); }, 10s));
    EXPECT_FALSE(result.isVisible());
    EXPECT_EQ(w.portalTabs()->selectedTab(), 1);
    EXPECT_FALSE(w.messageLabel()->isVisible());
    EXPECT_TRUE(messages.messages.empty()) << messages.texts().join(u'|').toStdString();
}

}  // namespace
}  // namespace kestrova
