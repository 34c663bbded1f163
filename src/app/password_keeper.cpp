// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/password_keeper.h"

#include <QPointer>

namespace kestrova {

PasswordKeeper::PasswordKeeper(PasswordStore& store, QObject* parent)
    : QObject(parent), m_store(store) {}

void PasswordKeeper::keep(const QString& userId, const QString& password) {
    ask(Call{userId, password});
}

void PasswordKeeper::forget(const QString& userId) {
    ask(Call{userId, std::nullopt});
}

void PasswordKeeper::noteKept(const QString& userId, const QString& password) {
    m_asked[userId] = password;
}

void PasswordKeeper::ask(Call call) {
    if (call.userId.trimmed().isEmpty()) {
        return;
    }
    const auto asked = m_asked.find(call.userId);
    if (asked != m_asked.end() && asked->second == call.password) {
        return;
    }
    m_asked[call.userId] = call.password;
    m_queue.push_back(std::move(call));
    if (!m_running) {
        run();
    }
}

QCoro::Task<> PasswordKeeper::run() {
    const QPointer<PasswordKeeper> self(this);
    m_running = true;
    // One call at a time, in the order asked: a removal never overtakes the write before it.
    while (!m_queue.empty()) {
        const Call call = m_queue.front();
        m_queue.pop_front();
        // Not one conditional expression: g++ 12 destroys the result of a co_await in one
        // of its branches twice.
        SecretAnswer answer;
        if (call.password) {
            answer = co_await m_store.write(call.userId, *call.password);
        } else {
            answer = co_await m_store.remove(call.userId);
        }
        if (!self) {
            co_return;
        }
        if (!answer.done()) {
            m_asked.erase(call.userId);
            Q_EMIT unavailable(answer.reason);
        }
    }
    m_running = false;
    Q_EMIT settled();
}

}  // namespace kestrova
