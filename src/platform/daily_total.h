// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/megabytes.h"

#include <QDate>

namespace kestrova {

// One day of the usage report: its date and the sum of its records' totals.
struct DailyTotal {
    QDate date;
    Megabytes total;

    friend bool operator==(const DailyTotal&, const DailyTotal&) = default;
};

}  // namespace kestrova
