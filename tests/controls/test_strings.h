// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>
#include <initializer_list>

// A QStringList from ASCII literals (the build refuses implicit conversions from char*).
inline QStringList strings(std::initializer_list<const char*> items) {
    QStringList out;
    for (const char* s : items) {
        out << QString::fromLatin1(s);
    }
    return out;
}

#include <gtest/gtest.h>

#include <string>

#include <concepts>
#include <ostream>

// GoogleTest prints texts as text.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// Table rows print as their name (also in the test names ctest lists).
template <typename Row>
requires requires(const Row& r) {
    { r.name } -> std::convertible_to<const char*>;
}
std::ostream& operator<<(std::ostream& os, const Row& row) {
    return os << row.name;
}

// Names a parameterised case after its row's `name`.
struct ByName {
    template <typename T>
    std::string operator()(const ::testing::TestParamInfo<T>& row) const {
        return std::string(row.param.name);
    }
};
