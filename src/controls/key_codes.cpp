// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/key_codes.h"

#include <QKeyEvent>

namespace kestrova {

int keyCodeOf(const QKeyEvent& event) {
    const int key = event.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return key;  // Qt uses the same numbers here
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return 112 + (key - Qt::Key_F1);
    }
    switch (key) {
        case Qt::Key_Backspace:
            return KeyBack;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return KeyTab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return KeyReturn;
        case Qt::Key_Shift:
            return KeyShift;
        case Qt::Key_Control:
            return KeyControl;
        case Qt::Key_Alt:
            return KeyMenu;
        case Qt::Key_Escape:
            return KeyEscape;
        case Qt::Key_Space:
            return KeySpace;
        case Qt::Key_PageUp:
            return KeyPageUp;
        case Qt::Key_PageDown:
            return KeyPageDown;
        case Qt::Key_End:
            return KeyEnd;
        case Qt::Key_Home:
            return KeyHome;
        case Qt::Key_Left:
            return KeyLeft;
        case Qt::Key_Up:
            return KeyUp;
        case Qt::Key_Right:
            return KeyRight;
        case Qt::Key_Down:
            return KeyDown;
        case Qt::Key_Insert:
            return KeyInsert;
        case Qt::Key_Delete:
            return KeyDelete;
        case Qt::Key_Plus:
            return 187;
        case Qt::Key_Comma:
            return 188;
        case Qt::Key_Minus:
            return 189;
        case Qt::Key_Period:
            return 190;
        default:
            return 0;
    }
}

int shiftStateOf(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier) {
        shift |= 1;
    }
    if (modifiers & Qt::ControlModifier) {
        shift |= 2;
    }
    if (modifiers & Qt::AltModifier) {
        shift |= 4;
    }
    return shift;
}

int keyAsciiOf(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Backspace) {
        return 8;
    }
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) {
        return 13;
    }
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (mods & Qt::ControlModifier) {
        // Ctrl with a letter types its control code (Ctrl+V is 22) whatever text the event
        // carries; other Ctrl and Alt combinations type nothing.
        const int key = event.key();
        return !(mods & Qt::AltModifier) && key >= Qt::Key_A && key <= Qt::Key_Z
                   ? key - Qt::Key_A + 1
                   : 0;
    }
    if (mods & Qt::AltModifier) {
        return 0;
    }
    const QString text = event.text();
    if (text.isEmpty() || event.key() == Qt::Key_Delete) {
        return 0;
    }
    return text.at(0).unicode();
}

}  // namespace kestrova
