// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QString>
#include <cstdint>

namespace kestrova {

// A usage log as the portal's download gives it, made up deterministically from a seed: the
// header line, then `records` sessions, newest first, a few to a dozen a day going back from
// `lastDay`, at varied times (some through the night hours), lines ended by CR LF.
struct SampleLogOptions {
    int records = 200;
    QDate lastDay = QDate(2026, 11, 30);
    std::uint32_t seed = 1;
    int maxSessionsPerDay = 12;
};

QString makeSampleUsageLog(const SampleLogOptions& options);

}  // namespace kestrova
