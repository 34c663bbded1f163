// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/password_store.h"

namespace kestrova {

namespace {
SecretAnswer unavailableAnswer(const QString& reason) {
    return SecretAnswer{SecretAnswer::Outcome::Unavailable, {}, reason};
}
}  // namespace

QCoro::Task<SecretAnswer> MemoryPasswordStore::read(QString userId) {
    ++calls;
    if (!unavailable.isEmpty()) {
        co_return unavailableAnswer(unavailable);
    }
    const auto found = kept.find(userId);
    if (found == kept.end()) {
        co_return SecretAnswer{SecretAnswer::Outcome::NotFound, {}, {}};
    }
    co_return SecretAnswer{SecretAnswer::Outcome::Done, found->second, {}};
}

QCoro::Task<SecretAnswer> MemoryPasswordStore::write(QString userId, QString password) {
    ++calls;
    if (!unavailable.isEmpty()) {
        co_return unavailableAnswer(unavailable);
    }
    kept[userId] = password;
    co_return SecretAnswer{};
}

QCoro::Task<SecretAnswer> MemoryPasswordStore::remove(QString userId) {
    ++calls;
    if (!unavailable.isEmpty()) {
        co_return unavailableAnswer(unavailable);
    }
    kept.erase(userId);
    co_return SecretAnswer{};
}

}  // namespace kestrova
