// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The dialogs seam on Qt's own dialogs: message boxes, the save-file dialog and the colour
// dialog. The application installs one with installDialogs(&qtDialogs).

#include "platform/dialogs.h"

#include <QMessageBox>
#include <QPointer>

class QWidget;

namespace kestrova {

class QtDialogs : public Dialogs {
public:
    // Dialogs open over `owner`, or over the active window when there is no owner.
    explicit QtDialogs(QWidget* owner = nullptr) : m_owner(owner) {}

    // A window-modal box opened with open(): returns at once, no nested event loop. The box
    // deletes itself when closed.
    void show(const Message& message) override;
    MessageAnswer ask(const Message& message) override;
    // Opens in the request's folder; without one, in the folder a file was last chosen in
    // (kept in the settings store), and the first time in the user's Documents folder. The
    // dialog asks no overwrite question of its own: the program asks it.
    std::optional<QString> saveFileName(const SaveFileRequest& request) override;
    std::optional<std::uint32_t> chooseColor(const ColorRequest& request) override;

    // The box show() opened last, while it is open.
    QMessageBox* lastShown() const { return m_lastShown; }
    static QString programTitle() { return QStringLiteral("Kestrova"); }
    // The folder a save-file dialog opens in for `requested` (empty: none asked for).
    static QString startFolder(const QString& requested);

    // Settings key of the folder a file was last chosen in.
    static inline const QString kLastSaveFolderKey = QStringLiteral("LastSaveFolder");
    // Room the window manager takes beside a dialog's title (its buttons), in pixels.
    static constexpr int kTitleButtonRoom = 160;

private:
    QWidget* owner() const;

    QPointer<QWidget> m_owner;
    QPointer<QMessageBox> m_lastShown;
};

}  // namespace kestrova
