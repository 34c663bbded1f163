// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/qt_dialogs.h"

#include "platform/colour_ref.h"
#include "platform/settings_store.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

namespace kestrova {

namespace {
QMessageBox::Icon iconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsOf(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MessageButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton buttonOf(MessageAnswer answer) {
    switch (answer) {
        case MessageAnswer::Cancel:
            return QMessageBox::Cancel;
        case MessageAnswer::Yes:
            return QMessageBox::Yes;
        case MessageAnswer::No:
            return QMessageBox::No;
        case MessageAnswer::Ok:
            break;
    }
    return QMessageBox::Ok;
}

MessageAnswer answerOf(int button, MessageButtons buttons) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        default:
            // Closed with Escape or the title bar: the box's way out.
            return buttons == MessageButtons::Ok      ? MessageAnswer::Ok
                   : buttons == MessageButtons::YesNo ? MessageAnswer::No
                                                      : MessageAnswer::Cancel;
    }
}

QMessageBox* makeBox(const Message& message, QWidget* owner) {
    auto* box = new QMessageBox(owner);
    box->setIcon(iconOf(message.icon));
    box->setText(message.text);
    // What a message says (an address, a file name, a failure) can be copied out of it.
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->setWindowTitle(message.title.isEmpty() ? QtDialogs::programTitle() : message.title);
    box->setStandardButtons(buttonsOf(message.buttons));
    const QMessageBox::StandardButton preferred = buttonOf(message.defaultAnswer);
    if (box->standardButtons() & preferred) {
        box->setDefaultButton(preferred);
    }
    return box;
}
}  // namespace

QWidget* QtDialogs::owner() const {
    return m_owner ? m_owner.data() : QApplication::activeWindow();
}

void QtDialogs::show(const Message& message) {
    QMessageBox* box = makeBox(message, owner());
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (!box->parentWidget()) {
        box->setWindowModality(Qt::ApplicationModal);
    }
    m_lastShown = box;
    box->open();
}

MessageAnswer QtDialogs::ask(const Message& message) {
    QMessageBox* box = makeBox(message, owner());
    const QPointer<QMessageBox> guard(box);
    const int result = box->exec();
    MessageAnswer answer = answerOf(result, message.buttons);
    delete guard.data();
    return answer;
}

QString QtDialogs::startFolder(const QString& requested) {
    if (!requested.isEmpty()) {
        return requested;
    }
    QString last = SettingsStore().get(kLastSaveFolderKey, QString());
    if (!last.isEmpty() && QFileInfo(last).isDir()) {
        return last;
    }
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) {
        return documents;
    }
    return QDir::homePath();
}

std::optional<QString> QtDialogs::saveFileName(const SaveFileRequest& request) {
    QFileDialog dialog(owner(), request.title, startFolder(request.initialDirectory),
                       request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The program asks its own overwrite question; the dialog asking too made two.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.defaultName.isEmpty()) {
        dialog.selectFile(request.defaultName);
    }
    // Wide enough that the window manager has room for the whole title beside its buttons.
    const int titleWidth = dialog.fontMetrics().horizontalAdvance(request.title) + kTitleButtonRoom;
    if (dialog.width() < titleWidth) {
        dialog.resize(titleWidth, dialog.height());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    SettingsStore store;
    store.save(kLastSaveFolderKey, QFileInfo(chosen).absolutePath());
    store.sync();
    return chosen;
}

std::optional<std::uint32_t> QtDialogs::chooseColor(const ColorRequest& request) {
    // The custom colours are the dialog's shared table; they are the request's for this call.
    for (int i = 0; i < int(request.customColors.size()); ++i) {
        QColorDialog::setCustomColor(i, toQColor(request.customColors[std::size_t(i)] & 0xFFFFFFu));
    }
    QColorDialog dialog(owner());
    if (request.flags & 1u) {
        dialog.setCurrentColor(toQColor(request.initial & 0xFFFFFFu));
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return fromQColor(dialog.selectedColor());
}

}  // namespace kestrova
