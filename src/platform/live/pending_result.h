// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The result of a browser-engine callback, awaited by one coroutine. The callback (or a
// timeout, or the browser's end) settles it; the awaiting coroutine is then resumed from the
// event loop, never inside the engine's own callback.

#include "platform/failure.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <coroutine>
#include <optional>
#include <utility>

namespace kestrova::live {

template <typename T>
class PendingResult {
public:
    bool isSettled() const { return m_settled; }

    // The first settlement wins; later ones (a late callback after a timeout) are dropped.
    void finish(T value) {
        if (!m_settled) {
            m_value = std::move(value);
            settle();
        }
    }
    void fail(QString description) {
        if (!m_settled) {
            m_error = std::move(description);
            settle();
        }
    }

    // Awaited through a shared_ptr that the awaiting coroutine holds, so the result outlives
    // every callback that may still settle it.
    auto operator co_await() {
        struct Awaiter {
            PendingResult* result;
            bool await_ready() const noexcept { return result->m_settled; }
            void await_suspend(std::coroutine_handle<> waiter) noexcept {
                result->m_waiter = waiter;
            }
            T await_resume() {
                if (result->m_error) {
                    throw Failure(*result->m_error);
                }
                return std::move(*result->m_value);
            }
        };
        return Awaiter{this};
    }

private:
    void settle() {
        m_settled = true;
        if (const std::coroutine_handle<> waiter = std::exchange(m_waiter, {})) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [waiter] { waiter.resume(); }, Qt::QueuedConnection);
        }
    }

    bool m_settled = false;
    std::optional<T> m_value;
    std::optional<QString> m_error;
    std::coroutine_handle<> m_waiter;
};

}  // namespace kestrova::live
