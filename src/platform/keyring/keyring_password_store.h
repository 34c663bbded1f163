// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The remembered password in the desktop keyring through QtKeychain (Secret Service on Linux),
// under the program's name and the user id. Never falls back to a plain file.

#include "platform/password_store.h"

namespace kestrova {

class KeyringPasswordStore : public PasswordStore {
public:
    // `service`: the name the keyring shows the entries under.
    explicit KeyringPasswordStore(QString service = QStringLiteral("Kestrova"));

    QCoro::Task<SecretAnswer> read(QString userId) override;
    QCoro::Task<SecretAnswer> write(QString userId, QString password) override;
    QCoro::Task<SecretAnswer> remove(QString userId) override;

private:
    QString m_service;
};

}  // namespace kestrova
