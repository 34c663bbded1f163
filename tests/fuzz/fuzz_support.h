// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the harnesses share: the report run the program makes of a records text, and a way to
// end the run loudly when a check fails (libFuzzer keeps the input as a finding).

#include "platform/dialogs.h"
#include "retrieval/headless.h"
#include "retrieval/report_page.h"
#include "retrieval/usage_log.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

namespace kestrova::fuzz {

[[noreturn]] inline void fail(const QString& what) {
    std::fprintf(stderr, "check failed: %s\n", what.toLocal8Bit().constData());
    std::abort();
}

inline void check(bool holds, const char* what) {
    if (!holds) {
        fail(QString::fromLatin1(what));
    }
}

// The report of a records text as the cache page and the grab make it: grabbingFinished, then
// writeOutput. A bad record ends in one shown message, never in an escaping exception.
struct ReportRun {
    RecordingDialogs messages;
    ScopedDialogs seam{messages};
    RetrievalState state;
    HeadlessHost host;
    HeadlessResult result;
    ReportBuilder report{state, host, result};
    UsageExtraction extraction{state, report};

    void checkOutcome() const {
        check(!host.busy, "the report left the window busy");
        check(messages.messages.size() <= 1, "more than one message for one report");
        if (messages.messages.empty() && result.summaries > 0) {
            check(report.figures().records >= 0, "a negative record count");
        }
    }
};

}  // namespace kestrova::fuzz
