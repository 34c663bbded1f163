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
    KeyBack = 8,
    KeyTab = 9,
    KeyReturn = 13,
    KeyShift = 16,
    KeyControl = 17,
    KeyMenu = 18,
    KeyEscape = 27,
    KeySpace = 32,
    KeyPageUp = 33,
    KeyPageDown = 34,
    KeyEnd = 35,
    KeyHome = 36,
    KeyLeft = 37,
    KeyUp = 38,
    KeyRight = 39,
    KeyDown = 40,
    KeyInsert = 45,
    KeyDelete = 46,
};

// 0 for a key without a code.
int keyCodeOf(const QKeyEvent& event);
int shiftStateOf(Qt::KeyboardModifiers modifiers);
// The character code a key press types: its first UTF-16 unit, 8 for Backspace and 13 for Enter
// even when the event carries no text, 1 to 26 for Ctrl with a letter; 0 when it types nothing.
int keyAsciiOf(const QKeyEvent& event);

}  // namespace kestrova
