// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Runs a coroutine to its end from a test body: the test's event loop is the only one
// running (no loop nested inside a browser callback), and it is left as soon as the task
// ends. A task that does not end in time fails the test it belongs to and ends that test's
// body with an exception; the other tests of the program go on. What the unfinished task
// reports later lands in state it owns, never in the test's stack.

#include <gtest/gtest.h>

#include <QCoroTask>
#include <QCoroTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace kestrova::testing {

// Thrown by await() at its deadline, after the test has been marked failed.
class AwaitTimedOut : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace detail {

template <typename T>
struct AwaitState {
    using Stored = std::conditional_t<std::is_void_v<T>, std::monostate, T>;
    std::optional<Stored> value;
    std::exception_ptr error;
    QPointer<QEventLoop> loop;
};

// Owns both the awaited task and the state it fills, so that a task still running after its
// test gave up on it writes into memory that is still there.
template <typename T>
QCoro::Task<> collect(QCoro::Task<T> task, std::shared_ptr<AwaitState<T>> state) {
    try {
        if constexpr (std::is_void_v<T>) {
            co_await std::move(task);
            state->value.emplace();
        } else {
            state->value.emplace(co_await std::move(task));
        }
    } catch (...) {
        state->error = std::current_exception();
    }
    if (state->loop) {
        state->loop->quit();
    }
}

template <typename T>
typename AwaitState<T>::Stored run(QCoro::Task<T> task, std::chrono::milliseconds limit) {
    auto state = std::make_shared<AwaitState<T>>();
    QEventLoop loop;
    state->loop = &loop;
    QCoro::Task<> runner = collect(std::move(task), state);
    if (!state->value && !state->error) {
        QTimer::singleShot(limit, &loop, &QEventLoop::quit);
        loop.exec();
    }
    state->loop = nullptr;
    if (state->error) {
        std::rethrow_exception(state->error);
    }
    if (!state->value) {
        const std::string message =
            "The awaited task did not end within " + std::to_string(limit.count()) + " ms";
        // Marked here as well as thrown, so that a test which catches every exception still
        // fails.
        ADD_FAILURE() << message;
        throw AwaitTimedOut(message);
    }
    return std::move(*state->value);
}

}  // namespace detail

template <typename T>
T await(QCoro::Task<T> task, std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    return detail::run(std::move(task), limit);
}

inline void await(QCoro::Task<> task, std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    detail::run(std::move(task), limit);
}

// Runs what is already queued on the event loop (posted events, zero-timers, queued signals)
// and returns: a marker queued behind them ends the turn. Nothing that was queued before can
// still be waiting afterwards, which is what a test needs to show that something never happens.
inline void runQueued() {
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until `done` holds; false after `limit`.
template <typename Predicate>
bool spinUntil(Predicate done, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limit.count()) {
            return false;
        }
        // A short sleep between looks at the condition, in the event loop so it can change.
        QEventLoop loop;
        QTimer::singleShot(std::chrono::milliseconds(5), &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

}  // namespace kestrova::testing
