// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// kestrova-check's command line in the test's own process: what it refuses before any page is
// loaded, the exit statuses the live checks do not meet, and whole checks on the in-memory
// portal.

#include "cli/check_command.h"

#include "cli/desktop_notifier.h"
#include "platform/password_store.h"
#include "platform/settings_store.h"
#include "settings/main_settings.h"
#include "support/memory_browser.h"
#include "support/memory_portal.h"
#include "support/qt_printers.h"
#include "support/task_runner.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QSettings>

using namespace kestrova;

namespace {

using kestrova::test::q;

struct Outcome {
    std::optional<int> status;
    QString out;
    QString err;
    bool browserMade = false;
};

// Runs the command line to its exit status: given at once, or from the event loop once the
// keyring has been asked.
Outcome run(const QStringList& arguments, const QByteArray& input = {},
            CheckEnvironment environment = {}) {
    QBuffer in;
    in.setData(input);
    in.open(QIODevice::ReadOnly);
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    Outcome r;
    if (!environment.browser) {
        environment.browser = [&r] {
            r.browserMade = true;
            return std::make_unique<MemoryBrowser>();
        };
    }
    CheckCommand command(in, out, err, environment);
    QObject::connect(&command, &CheckCommand::finished, [&r](int status) { r.status = status; });
    if (const std::optional<int> now = command.start(arguments)) {
        r.status = now;
    } else {
        kestrova::testing::spinUntil([&r] { return r.status.has_value(); });
    }
    r.out = QString::fromUtf8(out.data());
    r.err = QString::fromUtf8(err.data());
    return r;
}

class CheckCommandLine : public ::testing::Test {
protected:
    void SetUp() override { QSettings(SettingsStore().fileName(), QSettings::IniFormat).clear(); }
};

TEST_F(CheckCommandLine, ABadCommandLineIsRefusedBeforeAnythingStarts) {
    struct Case {
        QStringList arguments;
        const char* says;
    };
    const QStringList host{q("--host"), q("portal.test"), q("--user"), q("abc")};
    const Case cases[] = {
        {{q("--no-such-option")}, "Unknown option"},
        {host + QStringList{q("extra")}, "unexpected argument \"extra\""},
        {host + QStringList{q("--from"), q("2026-13-01")}, "--from takes a date"},
        {host + QStringList{q("--to"), q("yesterday")}, "--to takes a date"},
        {host + QStringList{q("--from"), q("2026-11-20"), q("--to"), q("2026-11-19")},
         "--from is after --to"},
        {host + QStringList{q("--timeout"), q("0")}, "--timeout takes a whole number"},
        {host + QStringList{q("--plan"), q("30")}, "--plan takes a slot"},
        {host + QStringList{q("--format"), q("xml")}, "--format is text or json"},
        {{q("--user"), q("abc")}, "no portal host"},
        // No --plan and no plan chosen in Kestrova: nothing to forecast the alerts on.
        {host + QStringList{q("--notify")}, "--notify needs a plan"},
    };
    for (const Case& c : cases) {
        const Outcome r = run(c.arguments);
        EXPECT_EQ(r.status, 2) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(q(c.says))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(q("Try 'kestrova-check --help'."))) << r.err.toStdString();
        EXPECT_FALSE(r.browserMade);
    }
}

TEST_F(CheckCommandLine, NoUserIdOrNoPasswordIsExitStatusThree) {
    const Outcome noUser = run({q("--host"), q("portal.test")});
    EXPECT_EQ(noUser.status, 3);
    EXPECT_EQ(noUser.err, q("kestrova-check: no user id: give --user, or type it in Kestrova "
                            "once\n"));
    // Nothing remembered, and an empty first line on standard input.
    for (const QByteArray& input : {QByteArray(), QByteArray("\n"), QByteArray("\r\n")}) {
        const Outcome noPassword = run(
            {q("--host"), q("portal.test"), q("--user"), q("abc"), q("--password-stdin")}, input);
        EXPECT_EQ(noPassword.status, 3);
        EXPECT_TRUE(noPassword.err.startsWith(q("kestrova-check: no password")));
        EXPECT_FALSE(noPassword.browserMade);
    }
}

// Without options the host of the site chosen in Kestrova and the user id kept there are used:
// the check gets as far as asking the keyring for that user's password.
TEST_F(CheckCommandLine, TheStoredSiteAndUserIdStandInForTheOptions) {
    for (const int site : {0, 1}) {
        SCOPED_TRACE(site);
        MainSettings stored;
        stored.userNameEdit = q("stored-user");
        stored.selfcaresite = site;
        SettingsStore store;
        saveMainSettings(store, stored, false);
        store.sync();
        CheckEnvironment environment;
        environment.passwordStore = [] { return std::make_unique<MemoryPasswordStore>(); };
        const Outcome r = run({}, {}, environment);
        EXPECT_EQ(r.status, 3);
        EXPECT_TRUE(
            r.err.startsWith(q("kestrova-check: no password: Kestrova remembers none for "
                               "stored-user;")))
            << r.err.toStdString();
    }
}

// (A keyring that remembers nothing is the stored user id's test above.)
TEST_F(CheckCommandLine, NoKeyringIsExitStatusThreeWithTheReason) {
    CheckEnvironment environment;
    environment.passwordStore = [] {
        auto keyring = std::make_unique<MemoryPasswordStore>();
        keyring->unavailable = q("no desktop keyring is running");
        return keyring;
    };
    const Outcome r = run({q("--host"), q("portal.test"), q("--user"), q("abc")}, {}, environment);
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(
        r.err.startsWith(q("kestrova-check: no password: the desktop keyring cannot be "
                           "reached (no desktop keyring is running);")))
        << r.err.toStdString();
    EXPECT_FALSE(r.browserMade);
}

// Shows every notification at once, as a notification service would.
class ShownNotifications : public DesktopNotifier {
public:
    explicit ShownNotifications(QStringList& shown) : m_shown(shown) {}
    void notify(const QString&, const QString& body, std::function<void(bool)> done) override {
        m_shown << body;
        QMetaObject::invokeMethod(
            qApp, [done] { done(true); }, Qt::QueuedConnection);
    }

private:
    QStringList& m_shown;
};

struct WholeCheck {
    const char* name;
    QStringList arguments;
    int status;
    const char* out;  // in what it prints
    const char* err;  // in what it says on standard error
    QStringList alerts;
};

void PrintTo(const WholeCheck& c, std::ostream* os) {
    *os << c.name;
}

class CheckOnThePortal : public CheckCommandLine,
                         public ::testing::WithParamInterface<WholeCheck> {};

TEST_P(CheckOnThePortal, EndsWithItsStatusAndSaysWhy) {
    const WholeCheck& c = GetParam();
    QStringList alerts;
    CheckEnvironment environment;
    environment.second = std::chrono::milliseconds(20);
    environment.browser = [] {
        auto browser = std::make_unique<MemoryBrowser>();
        kestrova::testing::memory_portal::script(*browser);
        return browser;
    };
    environment.notifier = [&alerts] { return std::make_unique<ShownNotifications>(alerts); };
    const QStringList user{q("--host"),           q("portal.test"), q("--user"), q("abc"),
                           q("--password-stdin"), q("--verbose"),   q("--to"),   q("2013-04-17")};
    const Outcome r = run(user + c.arguments, "secret\n", environment);
    EXPECT_EQ(r.status, c.status) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(q(c.out))) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(q(c.err))) << r.err.toStdString();
    EXPECT_EQ(alerts, c.alerts);
}

INSTANTIATE_TEST_SUITE_P(
    InMemory, CheckOnThePortal,
    ::testing::Values(
        WholeCheck{"PrintsTheMonthAndSaysEachStep",
                   {q("--from"), q("2013-04-01")},
                   0,
                   "Month total: 15.000 MB (0.015 GB)\n",
                   "kestrova-check: fetching the usage log\n",
                   {}},
        // A custom plan of 1 MB: the month's usage passed it on its first day.
        WholeCheck{"NotifiesAnAllowanceThatRanOut",
                   {q("--from"), q("2013-04-01"), q("--notify"), q("--plan-charge"), q("100"),
                    q("--allowance"), q("1"), q("--rate"), q("0"), q("--format"), q("json")},
                   0,
                   "\"allowanceRunsOut\": \"2013-04-02\"",
                   "",
                   {q("1500 % of 1 MB used; it ran out on 2 Apr")}},
        WholeCheck{"NamesADayThePortalDoesNotOffer",
                   {q("--from"), q("2013-04-05")},
                   5,
                   "",
                   "(the portal's usage page does not offer 05 in aaab.BBUsageView.ddkFromDay)",
                   {}}),
    [](const auto& row) { return std::string(row.param.name); });

// Scripts act on the statuses the manual page lists; the live checks meet the others.
TEST(CheckExitStatus, ATimedOutPageAndACancelledCheckHaveTheirStatus) {
    EXPECT_EQ(checkExitStatus(GrabProblem::PageTimeout), 4);
    EXPECT_EQ(checkExitStatus(GrabProblem::Cancelled), 1);
}

// The options themselves are held against the manual page by the packaging tests.
TEST(CheckCommandHelp, HelpNamesTheCommandAndThePlanKindsDefault) {
    const Outcome help = run({q("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith(q("Usage: kestrova-check [options]")))
        << help.out.toStdString();
    EXPECT_TRUE(help.out.simplified().contains(
        q("2 unlimited (default: the \"Plan type\" chosen in Kestrova, else 0)")));
}

}  // namespace
