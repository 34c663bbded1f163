// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The one seam through which the program shows message boxes and the platform's dialogs.
// The application installs Qt dialogs; tests and the command-line tools install a recorder
// that answers at once and never blocks.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace kestrova {

enum class MessageIcon { None, Information, Question, Warning, Critical };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct Message {
    Message() = default;
    Message(QString messageText, QString messageTitle = QString(),
            MessageIcon messageIcon = MessageIcon::None,
            MessageButtons messageButtons = MessageButtons::Ok,
            MessageAnswer defaultButton = MessageAnswer::Ok)
        : text(std::move(messageText)),
          title(std::move(messageTitle)),
          icon(messageIcon),
          buttons(messageButtons),
          defaultAnswer(defaultButton) {}

    QString text;
    QString title;  // empty: the program's own title
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    MessageAnswer defaultAnswer = MessageAnswer::Ok;

    friend bool operator==(const Message&, const Message&) = default;
};

struct SaveFileRequest {
    QString title;
    QString initialDirectory;
    QString defaultName;
    QString filter;  // "Output file (*.csv)"
};

struct ColorRequest {
    std::uint32_t initial = 0;  // packed 0x00BBGGRR
    std::uint32_t flags = 0;    // 1: start from `initial`
    std::array<std::uint32_t, 16> customColors{};
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows an OK-only message and returns at once: nothing waits for it to be closed.
    virtual void show(const Message& message) = 0;
    // Asks and returns the answer.
    virtual MessageAnswer ask(const Message& message) = 0;
    // The chosen file name, or nullopt when the user cancels.
    virtual std::optional<QString> saveFileName(const SaveFileRequest& request) = 0;
    // The chosen colour (packed 0x00BBGGRR), or nullopt when the user cancels.
    virtual std::optional<std::uint32_t> chooseColor(const ColorRequest& request) = 0;
};

// The installed seam; a RecordingDialogs until the application installs its own.
Dialogs& dialogs();
// Installs `seam` (not owned) and returns the one it replaces; nullptr restores the default.
Dialogs* installDialogs(Dialogs* seam);

// Records every request and answers from queues (the default answer when a queue is empty).
class RecordingDialogs : public Dialogs {
public:
    void show(const Message& message) override;
    MessageAnswer ask(const Message& message) override;
    std::optional<QString> saveFileName(const SaveFileRequest& request) override;
    std::optional<std::uint32_t> chooseColor(const ColorRequest& request) override;

    std::vector<Message> messages;  // shown and asked, in order
    std::vector<SaveFileRequest> saveRequests;
    std::vector<ColorRequest> colorRequests;
    std::deque<MessageAnswer> answers;
    std::deque<std::optional<QString>> fileNames;
    std::deque<std::optional<std::uint32_t>> colors;

    QStringList texts() const;
};

// Installs a seam for the lifetime of a scope (tests).
class ScopedDialogs {
public:
    explicit ScopedDialogs(Dialogs& seam) : m_previous(installDialogs(&seam)) {}
    ~ScopedDialogs() { installDialogs(m_previous); }
    ScopedDialogs(const ScopedDialogs&) = delete;
    ScopedDialogs& operator=(const ScopedDialogs&) = delete;

private:
    Dialogs* m_previous;
};

}  // namespace kestrova
