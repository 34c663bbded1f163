// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Runs a coroutine to its end from a test body: the test's event loop is the only one
// running (no loop nested inside a browser callback), and it is left as soon as the task
// ends. A task that does not end in time ends the test program: its suspended frame still
// refers to the test's locals, and whatever it waits on (a timer, a signal, a posted call, a
// transfer) may resume it in a later test's event loop, so neither this test nor the next can
// go on. ctest runs each test case in a process of its own, so there it ends only that case.

#include <gtest/gtest.h>

#include <QCoroTask>
#include <QCoroTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>

namespace kestrova::testing {

namespace detail {

template <typename T>
QCoro::Task<> collect(QCoro::Task<T>& task, std::optional<T>& value, std::exception_ptr& error,
                      bool& done, QEventLoop& loop) {
    try {
        value.emplace(co_await task);
    } catch (...) {
        error = std::current_exception();
    }
    done = true;
    loop.quit();
}

inline QCoro::Task<> collectVoid(QCoro::Task<>& task, std::exception_ptr& error, bool& done,
                                 QEventLoop& loop) {
    try {
        co_await task;
    } catch (...) {
        error = std::current_exception();
    }
    done = true;
    loop.quit();
}

inline void runLoop(bool& done, QEventLoop& loop, std::chrono::milliseconds limit) {
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(limit);
    if (!done) {
        loop.exec();
    }
    if (!done) {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::fprintf(stderr, "%s%s%sThe awaited task did not end within %lld ms\n",
                     test ? test->test_suite_name() : "", test ? "." : "",
                     test ? (std::string(test->name()) + ": ").c_str() : "",
                     static_cast<long long>(limit.count()));
        std::fflush(stderr);
        std::abort();
    }
}

}  // namespace detail

template <typename T>
T await(QCoro::Task<T> task, std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    QEventLoop loop;
    bool done = false;
    std::optional<T> value;
    std::exception_ptr error;
    QCoro::Task<> runner = detail::collect(task, value, error, done, loop);
    detail::runLoop(done, loop, limit);
    if (error) {
        std::rethrow_exception(error);
    }
    return std::move(*value);
}

inline void await(QCoro::Task<> task, std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    QEventLoop loop;
    bool done = false;
    std::exception_ptr error;
    QCoro::Task<> runner = detail::collectVoid(task, error, done, loop);
    detail::runLoop(done, loop, limit);
    if (error) {
        std::rethrow_exception(error);
    }
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
bool spinUntil(Predicate done, std::chrono::milliseconds limit) {
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
