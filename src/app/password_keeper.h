// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What "Remember password" asks of the keyring, one call after another. A password is kept
// once the portal has accepted it (or when the window closes with the box ticked) and removed
// when the box is unticked. The keyring answers asynchronously: busy() and settled() let the
// program end only once the calls asked for have been answered.

#include "platform/password_store.h"

#include <QCoroTask>
#include <QObject>
#include <QString>

#include <deque>
#include <map>
#include <optional>

namespace kestrova {

class PasswordKeeper : public QObject {
    Q_OBJECT

public:
    // `store` must outlive the keeper.
    explicit PasswordKeeper(PasswordStore& store, QObject* parent = nullptr);

    // Keeps `password` for `userId`. Nothing is asked when that is what was last asked for
    // (or found in the keyring), nor for an empty user id.
    void keep(const QString& userId, const QString& password);
    // Removes what the keyring keeps for `userId`.
    void forget(const QString& userId);
    // The keyring was found to hold `password` for `userId` (read at start).
    void noteKept(const QString& userId, const QString& password);

    // Whether calls are still waiting for the keyring's answer.
    bool busy() const { return m_running || !m_queue.empty(); }

Q_SIGNALS:
    // A call failed: the keyring cannot keep a password (`reason` in words for the user).
    void unavailable(const QString& reason);
    // Every call asked for has been answered.
    void settled();

private:
    struct Call {
        QString userId;
        std::optional<QString> password;  // none: remove
    };
    void ask(Call call);
    QCoro::Task<> run();

    PasswordStore& m_store;
    std::deque<Call> m_queue;
    bool m_running = false;
    // What was last asked for (or found) per user id; none: removed. A call that failed is
    // forgotten here, so the next one asks again.
    std::map<QString, std::optional<QString>> m_asked;
};

}  // namespace kestrova
