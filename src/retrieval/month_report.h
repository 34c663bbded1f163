// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The report of a records text made without any window, as kestrova-report makes it from a
// cache file: for the figures of many months at once (the history).

#include "retrieval/headless.h"
#include "retrieval/report_page.h"

#include <QString>
#include <QStringList>

namespace kestrova {

struct MonthReport {
    ReportFigures figures;
    HeadlessResult result;  // the result window's values, and the finished page
    QStringList failures;   // what the report builder reported; empty when it went through
};

// Builds the report of `records` for `period`, its records classified and charged
// by `planKind`.
void buildMonthReport(const UsageRecords& records, const QString& period, MonthReport& report,
                      PlanKind planKind = PlanKind::Limited);

}  // namespace kestrova
