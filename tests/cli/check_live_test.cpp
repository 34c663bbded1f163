// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// kestrova-check as a user runs it: the executable, on the browser engine offscreen, against
// portal-sim on a free loopback port, with its own settings and data folders.

#include "cli/fake_notifications.h"
#include "platform/keyring/keyring_password_store.h"
#include "platform/settings_store.h"
#include "results/last_check.h"
#include "retrieval/cache_file.h"
#include "settings/main_settings.h"
#include "support/json_schema.h"
#include "support/portal_process.h"
#include "support/private_keyring.h"
#include "support/qt_printers.h"
#include "support/task_runner.h"
#include "usage_data.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

namespace kestrova {
namespace {

using testing::PortalProcess;

using kestrova::test::JsonSchema;
using kestrova::test::printedJson;
using kestrova::test::q;
using kestrova::test::readFile;

// The portal's password: nothing the check writes or prints may hold it.
const char* kPassword = "s3cret-Pass";

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

class CheckLive : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(home.isValid()); }

    void startPortal(QStringList arguments = {}) {
        portal = std::make_unique<PortalProcess>(
            QStringList{q("--today"), q("2013-04-17"), q("--password"), q(kPassword)} + arguments);
        ASSERT_GT(portal->port(), 0);
    }
    QString portalHost() const { return QStringLiteral("127.0.0.1:%1").arg(portal->port()); }

    QProcessEnvironment environment() const {
        QProcessEnvironment env = keyringEnvironment.isEmpty()
                                      ? QProcessEnvironment::systemEnvironment()
                                      : keyringEnvironment;
        env.insert(q("XDG_CONFIG_HOME"), home.filePath(q("config")));
        env.insert(q("XDG_DATA_HOME"), home.filePath(q("data")));
        env.insert(q("XDG_CONFIG_DIRS"), home.filePath(q("etc")));
        env.remove(q("QT_QPA_PLATFORM"));  // the check needs none
        env.remove(q("DISPLAY"));
        if (!busAddress.isEmpty()) {
            env.insert(q("DBUS_SESSION_BUS_ADDRESS"), busAddress);
            env.insert(q("LC_ALL"), q("C"));  // the alert's month names
        }
        return env;
    }

    Outcome run(const QString& program, const QStringList& arguments,
                const QByteArray& input = {}) {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForStarted(10000));
        process.write(input);
        process.closeWriteChannel();
        if (busAddress.isEmpty()) {
            EXPECT_TRUE(process.waitForFinished(180000)) << program.toStdString();
        } else {
            // The test's own notification service answers from this event loop.
            EXPECT_TRUE(testing::spinUntil([&] { return process.state() == QProcess::NotRunning; },
                                           std::chrono::seconds(180)))
                << program.toStdString();
        }
        Outcome r;
        r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        r.out = QString::fromUtf8(process.readAllStandardOutput());
        r.err = QString::fromUtf8(process.readAllStandardError());
        return r;
    }

    Outcome check(const QStringList& arguments, const QByteArray& password = kPassword) {
        return run(q(KESTROVA_CHECK_EXE),
                   QStringList{q("--host"), portalHost(), q("--user"), q("demo"),
                               q("--password-stdin"), q("--today"), q("2013-04-17")} +
                       arguments,
                   password + '\n');
    }

    QString dataFolder() const { return home.filePath(q("data/kestrova")); }

    // Every file the check could have written holds no trace of the password.
    void expectNoPasswordIn(const Outcome& r) {
        EXPECT_FALSE(r.out.contains(q(kPassword)));
        EXPECT_FALSE(r.err.contains(q(kPassword)));
        QDirIterator files(home.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile f(files.next());
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_FALSE(f.readAll().contains(kPassword)) << f.fileName().toStdString();
        }
    }

    QTemporaryDir home;
    std::unique_ptr<PortalProcess> portal;
    QProcessEnvironment keyringEnvironment;  // set: the check finds a keyring of the test's
    // The session bus the check is given; empty: the test's own environment's.
    QString busAddress;
};

TEST_F(CheckLive, TheSettingsKestrovaKeepsAreEnough) {
    startPortal();
    QDir().mkpath(home.filePath(q("etc/Kestrova")));
    ASSERT_TRUE(
        test::writeFile(home.filePath(q("etc/Kestrova/kestrova.ini")),
                        QStringLiteral("[Deployment]\nNorthHost=%1\n").arg(portalHost()).toUtf8()));
    // The settings as the main window writes them, in the check's settings folder, and the
    // password in a desktop keyring of the test's own.
    testing::PrivateKeyring keyring;
    ASSERT_TRUE(keyring.ready());
    ASSERT_TRUE(testing::await(KeyringPasswordStore().write(q("demo"), q(kPassword))).done());
    keyringEnvironment = keyring.environment();
    QString written;
    {
        MainSettings stored;
        stored.userNameEdit = q("demo");
        stored.savePasswordCheck = 1;
        stored.selfcaresite = 0;
        stored.planType = 1;  // limited with night unlimited
        SettingsStore store(q("kestrova"));
        saveMainSettings(store, stored, false);
        store.sync();
        written = store.fileName();
    }
    QDir().mkpath(home.filePath(q("config/Kestrova")));
    ASSERT_TRUE(QFile::copy(written, home.filePath(q("config/Kestrova/kestrova.ini"))));
    const Outcome r = run(q(KESTROVA_CHECK_EXE), {q("--today"), q("2013-04-17")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(q("Period: period 01-04-2013 TO 17-04-2013\n")))
        << r.out.toStdString();
    EXPECT_TRUE(QFile::exists(dataFolder() + q("/usage.htm")));
    // The stored plan type charges the month; --plan-kind stands in for it.
    EXPECT_TRUE(r.out.contains(q("\nCharged (outside 02:00-08:00): "))) << r.out.toStdString();
    const Outcome limited =
        run(q(KESTROVA_CHECK_EXE), {q("--today"), q("2013-04-17"), q("--plan-kind"), q("0")});
    ASSERT_EQ(limited.status, 0) << limited.err.toStdString();
    EXPECT_FALSE(limited.out.contains(q("Charged (outside"))) << limited.out.toStdString();
}

TEST_F(CheckLive, EachFailureHasItsStatusAndOneLine) {
    struct Case {
        QStringList portal;   // portal-sim's switches
        QStringList options;  // kestrova-check's
        QByteArray password;
        int status;
        const char* says;
    };
    const QByteArray right = kPassword;
    const Case cases[] = {
        {{}, {}, "not the password", 3, "The portal did not accept the user id and password."},
        {{q("--omit"), q("aaab.NavigationView.LinkToAction38")},
         {q("--timeout"), q("8")},
         right,
         5,
         "has no \"aaab.NavigationView.LinkToAction38\" after 4 seconds"},
        {{}, {q("--from"), q("2009-01-01")}, right, 5, "does not offer 2009"},
        {{},
         {q("--from"), q("2013-04-20"), q("--to"), q("2013-04-25")},
         right,
         5,
         "the portal has no usage from 2013-04-20 to 2013-04-25"},
        {{q("--drop-session-before-download")},
         {},
         right,
         6,
         "the portal sent a page instead of the usage log"},
        {{q("--fail-download")}, {}, right, 6, "the usage log could not be downloaded"},
    };
    // The last successful check, which no failure replaces: each keeps its reason beside it.
    startPortal();
    ASSERT_EQ(check({q("--from"), q("2013-04-01"), q("--to"), q("2013-04-12")}).status, 0);
    const LastCheckFiles last = lastCheckFiles(dataFolder(), q("demo"), false);
    const QByteArray kept = readFile(last.document);
    const QByteArray keptLog = readFile(last.log);
    EXPECT_EQ(printedJson(kept, JsonSchema::Check)[q("check")][q("to")].toString(),
              q("2013-04-12"));
    EXPECT_TRUE(keptLog.startsWith("Date,")) << keptLog.left(80).toStdString();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        startPortal(c.portal);
        const Outcome r = check(c.options, c.password);
        EXPECT_EQ(r.status, c.status) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(q("kestrova-check: "))) << r.err.toStdString();
        EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(q(c.says))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        expectNoPasswordIn(r);
        EXPECT_EQ(readFile(last.document), kept);
        EXPECT_EQ(readFile(last.log), keptLog);
        const std::optional<CheckFailure> failure = readCheckFailure(last.failure);
        ASSERT_TRUE(failure.has_value());
        EXPECT_TRUE(failure->reason.contains(q(c.says))) << failure->reason.toStdString();
        test::expectMatchesDefinition(QJsonDocument::fromJson(readFile(last.failure)).object(),
                                      JsonSchema::Check, "failure");
    }

    // A port nothing listens on.
    const Outcome closed =
        run(q(KESTROVA_CHECK_EXE),
            {q("--host"), QStringLiteral("127.0.0.1:%1").arg(testing::closedPort()), q("--user"),
             q("demo"), q("--password-stdin")},
            "pass\n");
    EXPECT_EQ(closed.status, 4) << closed.err.toStdString();
    EXPECT_TRUE(closed.err.contains(q("the connection was refused"))) << closed.err.toStdString();
}

// A download link to anywhere but the portal, a log larger than any month's (told or not),
// a transfer broken off: each is refused with status 6, and nothing of it is left in the
// program's folder.
TEST_F(CheckLive, ALogNotFromThePortalOrBeyondItsLimitLeavesNothingBehind) {
    struct Case {
        QStringList portal;
        const char* says;
    };
    const Case cases[] = {
        {{q("--download-link"), q("file:///etc/passwd")},
         "the portal's download link leads to \"file:///etc/passwd\", not to the portal at"},
        {{q("--download-link"), q("http://127.0.0.2/usage.csv")},
         "the portal's download link leads to \"http://127.0.0.2/usage.csv\""},
        {{q("--huge-log"), q("80")}, "(the file is larger than 64 MB)"},
        {{q("--endless-log")}, "(the file is larger than 64 MB)"},
        {{q("--reset-download-after"), q("200")}, "the usage log could not be downloaded"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        startPortal(c.portal);
        const Outcome r = check({q("--cache")});
        EXPECT_EQ(r.status, 6) << r.err.toStdString();
        EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(q(c.says))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        // Only the failure, kept for the panel.
        EXPECT_EQ(QDir(dataFolder()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{q("last-check-unbilled-demo.failed.json")});
    }
}

// Checks running at the same time each read the log they downloaded themselves.
TEST_F(CheckLive, ChecksAtTheSameTimeEachGetTheirReport) {
    startPortal();
    std::vector<std::unique_ptr<QProcess>> checks;
    for (int i = 0; i < 4; ++i) {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment());
        process->start(q(KESTROVA_CHECK_EXE),
                       {q("--host"), portalHost(), q("--user"), q("demo"), q("--password-stdin"),
                        q("--today"), q("2013-04-17"), q("--cache")});
        ASSERT_TRUE(process->waitForStarted(10000));
        process->write(QByteArray(kPassword) + '\n');
        process->closeWriteChannel();
        checks.push_back(std::move(process));
    }
    for (const auto& process : checks) {
        ASSERT_TRUE(process->waitForFinished(180000));
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
    }
    const auto expected = portal::usageRecords(
        "demo", portal::Date{std::chrono::year(2013), std::chrono::month(4), std::chrono::day(1)},
        portal::Date{std::chrono::year(2013), std::chrono::month(4), std::chrono::day(17)});
    const QString held =
        readCacheRecords(dataFolder() + q("/2013-04-unbilled-demo.cache2")).rowText();
    EXPECT_EQ(held.count(q("<TR>")), int(expected.size()));
    EXPECT_EQ(QDir(dataFolder()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{q("2013-04-unbilled-demo.cache2"), q("last-check-unbilled-demo.json"),
                           q("last-check-unbilled-demo.usage.htm"), q("usage.htm")}));
}

TEST_F(CheckLive, NotifiesEachAlertOnceAMonthAndSaysItWithoutANotificationService) {
    testing::PrivateBus bus;
    if (bus.address().isEmpty()) {
        GTEST_SKIP() << "no dbus-daemon to run a private session bus";
    }
    busAddress = bus.address();
    startPortal();
    auto service = std::make_unique<testing::FakeNotifications>(bus.connect(q("notifications")));
    ASSERT_TRUE(service->registered());
    // A custom plan of 1 MB: any usage passes it.
    const QStringList options{q("--notify"),  q("--plan-charge"), q("100"),        q("--allowance"),
                              q("1"),         q("--rate"),        q("0"),          q("--format"),
                              q("json"),      q("--from"),        q("2013-04-01"), q("--to"),
                              q("2013-04-12")};

    const Outcome first = check(options);
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    EXPECT_TRUE(first.err.isEmpty()) << first.err.toStdString();
    // The alert gives the document's own figures.
    const QJsonObject json = printedJson(first.out.toUtf8(), JsonSchema::Check);
    const QString percent =
        json[q("summary")][q("labels")][q("txtPercentage")][q("kept")].toString();
    const QDate ranOut =
        QDate::fromString(json[q("forecast")][q("allowanceRunsOut")].toString(), Qt::ISODate);
    ASSERT_TRUE(ranOut.isValid());
    ASSERT_TRUE(json[q("forecast")][q("ranOut")].toBool());
    const QString alert =
        QStringLiteral("%1 % of 1 MB used; it ran out on %2 Apr").arg(percent).arg(ranOut.day());
    ASSERT_EQ(service->sent.size(), 1u);
    EXPECT_EQ(service->sent[0].body, alert);
    // Named as the desktop shows and groups it.
    EXPECT_EQ(service->sent[0].appName, q("Kestrova"));
    EXPECT_EQ(service->sent[0].appIcon, q("kestrova"));
    EXPECT_EQ(service->sent[0].summary, q("Broadband usage"));
    EXPECT_EQ(service->sent[0].hints.value(q("desktop-entry")).toString(),
              q("example.kestrova.Kestrova"));

    // Raised already this month.
    const Outcome second = check(options);
    EXPECT_EQ(second.status, 0) << second.err.toStdString();
    EXPECT_TRUE(second.err.isEmpty()) << second.err.toStdString();
    EXPECT_EQ(service->sent.size(), 1u);

    // Forgotten, and no service on the bus: the same line on standard error, the status
    // unchanged, and nothing remembered, so that a later check raises it again.
    {
        QSettings settings(home.filePath(q("config/Kestrova/kestrova.ini")), QSettings::IniFormat);
        ASSERT_TRUE(settings.childGroups().contains(q("CheckAlerts")));
        settings.remove(q("CheckAlerts"));
    }
    service.reset();
    const Outcome unseen = check(options);
    EXPECT_EQ(unseen.status, 0) << unseen.err.toStdString();
    EXPECT_EQ(unseen.err, u"kestrova-check: " + alert + u'\n');
    service = std::make_unique<testing::FakeNotifications>(bus.connect(q("notifications-again")));
    ASSERT_TRUE(service->registered());
    const Outcome again = check(options);
    EXPECT_EQ(again.status, 0) << again.err.toStdString();
    ASSERT_EQ(service->sent.size(), 1u);
    EXPECT_EQ(service->sent[0].body, alert);
    expectNoPasswordIn(again);
}

}  // namespace
}  // namespace kestrova
