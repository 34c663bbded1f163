// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The JavaScript the live browser runs in the page, and the reading of its answers. Pure text
// functions, so they are tested without a browser engine.

#include "platform/browser.h"

#include <QString>
#include <QUrl>
#include <QVariant>

#include <optional>

namespace kestrova::live {

// One DOM call as one script for runJavaScript in the top frame. It evaluates to
// {ok: true, value: ...} or {ok: false, error: "..."}; it never throws.
QString domCallScript(const DomCall& call);

// The value of a script's answer; throws Failure with the page's description of what was
// missing, or when the page gave no answer (it navigated away, or its process ended).
QVariant readAnswer(const QVariant& answer, const DomCall& call);

// The user script injected into every frame: when the frame's document has loaded (its load
// event, which comes after the loads of its own frames) it writes `marker` and a JSON report
// {path, url} to the console.
QString completionScript(const QString& marker);

struct CompletionReport {
    FramePath path;
    QUrl url;
};

// The report in a console message, or nothing when the message is not one (another script's
// output, or a forged report without the marker).
std::optional<CompletionReport> readCompletion(const QString& message, const QString& marker);

}  // namespace kestrova::live
