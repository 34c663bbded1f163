// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The remembered password on a real desktop keyring (gnome-keyring's Secret Service on a
// session bus of the test's own), and without any keyring.

#include "platform/keyring/keyring_password_store.h"

#include "support/private_keyring.h"
#include "support/qt_printers.h"
#include "support/task_runner.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using testing::await;
using Outcome = SecretAnswer::Outcome;

using kestrova::test::q;

TEST(Keyring, KeepsReadsAndRemovesAPasswordPerUserId) {
    testing::PrivateKeyring keyring;
    ASSERT_TRUE(keyring.ready());
    KeyringPasswordStore store;
    EXPECT_EQ(await(store.read(q("demo"))).outcome, Outcome::NotFound);
    ASSERT_TRUE(await(store.write(q("demo"), q("pässwörd, \"quoted\" ; = \t"))).done());
    ASSERT_TRUE(await(store.write(q("other"), q("another"))).done());
    const SecretAnswer read = await(store.read(q("demo")));
    ASSERT_TRUE(read.done()) << read.reason.toStdString();
    EXPECT_EQ(read.password, q("pässwörd, \"quoted\" ; = \t"));
    // A second write replaces the first.
    ASSERT_TRUE(await(store.write(q("demo"), q("new"))).done());
    EXPECT_EQ(await(store.read(q("demo"))).password, q("new"));

    EXPECT_TRUE(await(store.remove(q("demo"))).done());
    EXPECT_EQ(await(store.read(q("demo"))).outcome, Outcome::NotFound);
    EXPECT_TRUE(await(store.remove(q("demo"))).done());  // nothing there is removed too
    EXPECT_EQ(await(store.read(q("other"))).password, q("another"));
    // Entries of another program's name are apart.
    EXPECT_EQ(await(KeyringPasswordStore(q("Another program")).read(q("other"))).outcome,
              Outcome::NotFound);
}

TEST(Keyring, NoSessionBusMeansNoKeyringWithAReason) {
    QTemporaryDir emptyRuntime;
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qunsetenv("DISPLAY");
    qputenv("XDG_RUNTIME_DIR", emptyRuntime.path().toUtf8());
    KeyringPasswordStore store;
    for (const SecretAnswer& answer :
         {await(store.read(q("demo"))), await(store.write(q("demo"), q("pw")))}) {
        EXPECT_EQ(answer.outcome, Outcome::Unavailable);
        EXPECT_FALSE(answer.reason.isEmpty());
    }
}

}  // namespace
}  // namespace kestrova
