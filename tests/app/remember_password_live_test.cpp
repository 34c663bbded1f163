// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// "Remember password" through the whole program as a subscriber meets it: the real kestrova on
// an X server of the test's own with a desktop keyring of its own (gnome-keyring on a private
// session bus), the password typed into the window, the window closed as a window manager
// closes it; then this process, a second one, asks the keyring what it holds.

#include "platform/keyring/keyring_password_store.h"
#include "platform/settings_store.h"
#include "settings/main_settings.h"

#include "support/private_keyring.h"
#include "support/qt_printers.h"
#include "support/task_runner.h"
#include "support/x_display.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>

namespace kestrova {
namespace {

using kestrova::test::q;
using testing::await;
using Outcome = SecretAnswer::Outcome;

// ASCII only: xdotool types it on any keyboard map.
const QString kPassword = QStringLiteral("s3cret pw;42");

class RememberPassword : public ::testing::Test {
protected:
    // One keyring and one X server for the tests of a run: a process talks to one session
    // bus all its life.
    static void SetUpTestSuite() {
        keyring = new testing::PrivateKeyring;
        display = new testing::XDisplay;
    }
    static void TearDownTestSuite() {
        delete display;
        delete keyring;
    }

    void SetUp() override {
        ASSERT_TRUE(keyring->ready());
        ASSERT_TRUE(display->ready());
        QSettings(SettingsStore().fileName(), QSettings::IniFormat).clear();
        ASSERT_TRUE(await(KeyringPasswordStore().remove(q("demo"))).done());
    }

    void TearDown() override {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
    }

    // The settings a subscriber's earlier session left: the user id and the box.
    static void storeSettings(bool remember) {
        SettingsStore store;
        store.save(q("txtUserName"), q("demo"));
        store.save(q("chkSavePassword"), remember ? q("1") : q("0"));
        store.sync();
    }

    // Starts the program and returns its main window once it is shown (0 when it is not).
    unsigned long start() {
        program.setProcessEnvironment(display->environment(keyring->environment()));
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QStringLiteral(KESTROVA_EXE), {});
        if (!program.waitForStarted(10000)) {
            ADD_FAILURE() << "kestrova did not start";
            return 0;
        }
        return display->waitForWindow(q("Kestrova 1.0"));
    }

    // Closes the window as a window manager does; true once the program has ended well.
    bool closeAndWait(unsigned long window) {
        if (!display->requestClose(window)) {
            ADD_FAILURE() << "the close request could not be sent";
            return false;
        }
        return program.waitForFinished(30000) && program.exitStatus() == QProcess::NormalExit &&
               program.exitCode() == 0;
    }

    static bool settingsFileHolds(const QString& text) {
        QFile file(SettingsStore().fileName());
        return file.open(QIODevice::ReadOnly) && file.readAll().contains(text.toUtf8());
    }

    static inline testing::PrivateKeyring* keyring = nullptr;
    static inline testing::XDisplay* display = nullptr;
    QProcess program;
};

TEST_F(RememberPassword, ATypedPasswordIsInTheKeyringOnceTheWindowHasClosed) {
    storeSettings(true);
    const unsigned long window = start();
    ASSERT_NE(window, 0u) << "no window titled \"Kestrova 1.0\"";
    // The user id is filled in: the focus starts in the password box.
    const QString id = QString::number(window);
    ASSERT_TRUE(display->xdotool({q("windowfocus"), q("--sync"), id}));
    ASSERT_TRUE(display->xdotool({q("type"), q("--delay"), q("30"), kPassword}));
    ASSERT_TRUE(closeAndWait(window));

    const SecretAnswer kept = await(KeyringPasswordStore().read(q("demo")));
    ASSERT_EQ(kept.outcome, Outcome::Done) << kept.reason.toStdString();
    EXPECT_EQ(kept.password, kPassword);
    EXPECT_FALSE(settingsFileHolds(kPassword));
    EXPECT_FALSE(settingsFileHolds(scramblePassword(kPassword)));
    EXPECT_EQ(SettingsStore().get(q("chkSavePassword"), QString()), q("1"));
}

TEST_F(RememberPassword, UntickedTheKeptPasswordIsRemovedOnceTheWindowHasClosed) {
    ASSERT_TRUE(await(KeyringPasswordStore().write(q("demo"), kPassword)).done());
    storeSettings(false);
    const unsigned long window = start();
    ASSERT_NE(window, 0u) << "no window titled \"Kestrova 1.0\"";
    ASSERT_TRUE(closeAndWait(window));
    EXPECT_EQ(await(KeyringPasswordStore().read(q("demo"))).outcome, Outcome::NotFound);
}

}  // namespace
}  // namespace kestrova
