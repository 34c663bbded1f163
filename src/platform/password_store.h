// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Where a remembered password is kept: the desktop keyring (Secret Service), never a file of
// the program's. The keyring answers asynchronously; every call is a coroutine to co_await.

#include <QCoroTask>
#include <QString>

#include <map>

namespace kestrova {

struct SecretAnswer {
    enum class Outcome {
        Done,         // read, written or removed
        NotFound,     // nothing kept for that user id
        Unavailable,  // no keyring: no session bus, no Secret Service, access refused
    };
    Outcome outcome = Outcome::Done;
    QString password;  // read: the password kept
    QString reason;    // Unavailable: why, in words for the user

    bool done() const { return outcome == Outcome::Done; }
};

class PasswordStore {
public:
    virtual ~PasswordStore() = default;
    virtual QCoro::Task<SecretAnswer> read(QString userId) = 0;
    virtual QCoro::Task<SecretAnswer> write(QString userId, QString password) = 0;
    // Removing what is not there is done too.
    virtual QCoro::Task<SecretAnswer> remove(QString userId) = 0;
};

// A keyring in memory, for tests; `unavailable` makes every call fail as a missing keyring.
class MemoryPasswordStore : public PasswordStore {
public:
    QCoro::Task<SecretAnswer> read(QString userId) override;
    QCoro::Task<SecretAnswer> write(QString userId, QString password) override;
    QCoro::Task<SecretAnswer> remove(QString userId) override;

    std::map<QString, QString> kept;
    QString unavailable;  // non-empty: the reason every call gives
    int calls = 0;
};

}  // namespace kestrova
