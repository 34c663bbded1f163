// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Key events as the controls report them to their hosts: a key code (the platform's virtual
// key numbers: 8 Backspace, 13 Enter, 37 to 40 Left, Up, Right, Down, 46 Delete, 65 to 90 the
// letters...), a shift state (1 Shift, 2 Ctrl, 4 Alt) and, for keys that type a character, its
// character code.

#include <Qt>

class QKeyEvent;

namespace kestrova {

enum KeyCode : int {
    vbKeyBack = 8,
    vbKeyTab = 9,
    vbKeyReturn = 13,
    vbKeyShift = 16,
    vbKeyControl = 17,
    vbKeyMenu = 18,
    vbKeyEscape = 27,
    vbKeySpace = 32,
    vbKeyPageUp = 33,
    vbKeyPageDown = 34,
    vbKeyEnd = 35,
    vbKeyHome = 36,
    vbKeyLeft = 37,
    vbKeyUp = 38,
    vbKeyRight = 39,
    vbKeyDown = 40,
    vbKeyInsert = 45,
    vbKeyDelete = 46,
};

// 0 for a key without a code.
int keyCodeOf(const QKeyEvent& event);
int shiftStateOf(Qt::KeyboardModifiers modifiers);
// The character code a key press types: its first UTF-16 unit, 8 for Backspace and 13 for Enter
// even when the event carries no text, 1 to 26 for Ctrl with a letter; 0 when it types nothing.
int keyAsciiOf(const QKeyEvent& event);

}  // namespace kestrova
