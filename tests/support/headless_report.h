// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The report builder wired as kestrova-report wires it, without a window: the main window's
// and the result window's sides headless, messages recorded instead of shown.

#include "platform/dialogs.h"
#include "retrieval/headless.h"
#include "retrieval/report_page.h"
#include "retrieval/retrieval_state.h"
#include "retrieval/usage_log.h"

namespace kestrova::test {

struct HeadlessReport {
    RecordingDialogs messages;
    ScopedDialogs seam{messages};
    RetrievalState state;
    HeadlessHost host;
    HeadlessResult result;
    ReportBuilder report{state, host, result};
    UsageExtraction extraction{state, report};
};

}  // namespace kestrova::test
