// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/month_report.h"

#include "platform/dialogs.h"
#include "retrieval/retrieval_state.h"

namespace kestrova {

void buildMonthReport(const UsageRecords& records, const QString& period, MonthReport& report,
                      PlanKind planKind) {
    RecordingDialogs messages;
    const ScopedDialogs seam(messages);
    RetrievalState state;
    state.records = records;
    state.monthYear = period;
    state.planKind = planKind;
    HeadlessHost host;
    ReportBuilder builder(state, host, report.result);
    builder.grabbingFinished();
    builder.writeOutput();
    report.figures = builder.figures();
    report.failures = messages.texts();
}

}  // namespace kestrova
