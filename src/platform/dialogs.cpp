// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/dialogs.h"

namespace kestrova {

namespace {
RecordingDialogs& fallback() {
    static RecordingDialogs seam;
    return seam;
}
Dialogs* g_installed = nullptr;
}  // namespace

Dialogs& dialogs() {
    return g_installed ? *g_installed : fallback();
}

Dialogs* installDialogs(Dialogs* seam) {
    Dialogs* previous = g_installed;
    g_installed = seam;
    return previous;
}

void RecordingDialogs::show(const Message& message) {
    messages.push_back(message);
}

MessageAnswer RecordingDialogs::ask(const Message& message) {
    messages.push_back(message);
    if (answers.empty()) {
        return message.defaultAnswer;
    }
    const MessageAnswer a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<QString> RecordingDialogs::saveFileName(const SaveFileRequest& request) {
    saveRequests.push_back(request);
    if (fileNames.empty()) {
        return std::nullopt;
    }
    const bool chosen = fileNames.front().has_value();
    const QString name = chosen ? *fileNames.front() : QString();
    fileNames.pop_front();
    if (!chosen) {
        return std::nullopt;
    }
    return name;
}

std::optional<std::uint32_t> RecordingDialogs::chooseColor(const ColorRequest& request) {
    colorRequests.push_back(request);
    if (colors.empty()) {
        return std::nullopt;
    }
    auto c = colors.front();
    colors.pop_front();
    return c;
}

QStringList RecordingDialogs::texts() const {
    QStringList out;
    for (const Message& m : messages) {
        out << m.text;
    }
    return out;
}

}  // namespace kestrova
