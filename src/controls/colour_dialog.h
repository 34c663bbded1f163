// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// CommonDialog: the platform's colour dialog behind a small object. Set color and flags
// (1: start from color), call showColor, read color and apiReturn. The file-dialog values are
// only stored; this object shows no file dialog.

#include "platform/colour_ref.h"
#include "platform/failure.h"

#include <QString>
#include <cstdint>

class QObject;

namespace kestrova {

// An error raised to the caller with a number, as the platform's error objects carry one.
class CommonDialogError : public Failure {
public:
    CommonDialogError(std::int32_t number, QString description)
        : Failure(std::move(description)), m_number(number) {}
    std::int32_t number() const noexcept { return m_number; }

private:
    std::int32_t m_number;
};

class CommonDialog {
public:
    // The error showColor raises for a cancelled dialog while cancelError is set.
    static constexpr std::int32_t kCancelPressed = std::int32_t(0x8004037Eu);  // -2147220610
    static constexpr ColorRef kCustomColorWhite = 0xFFFFFFu;
    static constexpr int kShowColorAction = 3;

    // Shows the modal colour dialog (through the dialogs seam). Confirmed: apiReturn 1 and the
    // chosen colour in color. Cancelled: apiReturn 0, color unchanged, and CommonDialogError
    // ("Cancel Pressed", kCancelPressed) when cancelError is set. Every call starts with 16
    // white custom colours.
    void showColor();

    ColorRef color() const { return m_color; }
    void setColor(ColorRef color) { m_color = color; }
    std::int32_t flags() const { return m_flags; }
    void setFlags(std::int32_t flags) { m_flags = flags; }
    bool cancelError() const { return m_cancelError; }
    void setCancelError(bool raise) { m_cancelError = raise; }
    int action() const { return m_action; }
    std::int32_t apiReturn() const { return m_apiReturn; }
    std::int32_t extendedError() const { return m_extendedError; }

    // Stored only.
    QString filter() const { return QString(); }
    int filterIndex() const { return m_filterIndex; }
    void setFilterIndex(int index) { m_filterIndex = index; }
    QString defaultExt() const { return m_defaultExt; }
    void setDefaultExt(const QString& ext) { m_defaultExt = ext; }
    QString dialogTitle() const { return m_dialogTitle; }
    void setDialogTitle(const QString& title) { m_dialogTitle = title; }
    QString initDir() const { return m_initDir; }
    void setInitDir(const QString& dir) { m_initDir = dir; }
    QString fileTitle() const { return m_fileTitle; }
    void setFileTitle(const QString& title) { m_fileTitle = title; }
    std::int32_t maxFileSize() const { return m_maxFileSize; }
    void setMaxFileSize(std::int32_t size) { m_maxFileSize = size; }
    std::int32_t max() const { return m_max; }
    void setMax(std::int32_t max) { m_max = max; }
    std::int32_t min() const { return m_min; }
    void setMin(std::int32_t min) { m_min = min; }
    std::intptr_t hdc() const { return m_hdc; }
    void setHdc(std::intptr_t hdc) { m_hdc = hdc; }
    // A plain reference holder; nothing reads it.
    QObject* object() const { return m_object; }
    void setObject(QObject* object) { m_object = object; }

private:
    ColorRef m_color = 0;
    std::int32_t m_flags = 0;
    bool m_cancelError = false;
    int m_action = 0;
    std::int32_t m_apiReturn = 0;
    std::int32_t m_extendedError = 0;
    int m_filterIndex = 0;
    QString m_defaultExt;
    QString m_dialogTitle;
    QString m_initDir;
    QString m_fileTitle;
    std::int32_t m_maxFileSize = 0;
    std::int32_t m_max = 0;
    std::int32_t m_min = 0;
    std::intptr_t m_hdc = 0;
    QObject* m_object = nullptr;
};

}  // namespace kestrova
