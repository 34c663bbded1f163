// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Deployment values: compiled-in defaults, overridden by the system-scope files of the XDG
// configuration folders.

#include "settings/deployment.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace kestrova {
namespace {

using kestrova::test::q;

void writeIni(const QString& folder, const QByteArray& text) {
    QDir().mkpath(folder + q("/Kestrova"));
    ASSERT_TRUE(test::writeFile(folder + q("/Kestrova/kestrova.ini"), text));
}

// Sets XDG_CONFIG_DIRS for the test and puts it back afterwards.
class ConfigDirs {
public:
    explicit ConfigDirs(const QString& value) : m_old(qgetenv("XDG_CONFIG_DIRS")) {
        qputenv("XDG_CONFIG_DIRS", value.toLocal8Bit());
    }
    ~ConfigDirs() {
        if (m_old.isEmpty()) {
            qunsetenv("XDG_CONFIG_DIRS");
        } else {
            qputenv("XDG_CONFIG_DIRS", m_old);
        }
    }

private:
    QByteArray m_old;
};

// The user's own settings folder is no deployment file: its keys leave the defaults.
TEST(Deployment, BesideTheUsersOwnSettingsFileTheDefaultsNameTheProvidersTwoHosts) {
    QTemporaryDir empty;
    ConfigDirs dirs(empty.path());
    const QString user = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(user.isEmpty());
    writeIni(user, "[Deployment]\nNorthHost=user.example\n");
    EXPECT_FALSE(Deployment::systemFiles().contains(user + q("/Kestrova/kestrova.ini")));
    const Deployment d = Deployment::load();
    QFile::remove(user + q("/Kestrova/kestrova.ini"));
    EXPECT_EQ(d.northHost, q("selfcare-north.orvo.example"));
    EXPECT_EQ(d.westHost, q("selfcare-west.orvo.example"));
    EXPECT_EQ(d.obtainedFromLine(), q("Get the latest version of Kestrova from ") + d.homePage);
}

TEST(Deployment, AFileInTheConfigurationFoldersOverridesItsKeys) {
    QTemporaryDir first;
    QTemporaryDir second;
    writeIni(first.path(), "[Deployment]\nNorthHost=127.0.0.1:8123\nHomePage=\n");
    writeIni(second.path(),
             "[Deployment]\nNorthHost=later.example\nWestHost=west.example\n"
             "HomePage=https://home.example/\nObtainedFrom=Ask your provider.\n");
    ConfigDirs dirs(first.path() + u':' + second.path());
    const Deployment d = Deployment::load();
    EXPECT_EQ(d.northHost, q("127.0.0.1:8123"));  // the earlier folder wins
    EXPECT_EQ(d.westHost, q("west.example"));
    EXPECT_EQ(d.homePage, q("https://home.example/"));  // a blank value leaves the key open
    EXPECT_EQ(d.obtainedFromLine(), q("Ask your provider."));
    EXPECT_EQ(d.plansPage, Deployment().plansPage);
}

}  // namespace
}  // namespace kestrova
