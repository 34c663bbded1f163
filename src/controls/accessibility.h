// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a screen reader learns of this library's drawn controls: the tab strip as a list of
// page tabs (each named by its caption, the selected one marked, pressed to select it) and the
// link label as a link. Installed once, the first time one of the controls is made.

class QAccessibleInterface;
class QObject;
class QString;
class QWidget;

namespace kestrova {

void installControlsAccessibility();

// The factory itself (QAccessible::installFactory's form), for the libraries above.
QAccessibleInterface* controlsAccessible(const QString& className, QObject* object);

// Puts the widgets laid out in `container` in the order a reader meets them on the screen: a
// grid's cells row by row and left to right, a box's items in turn, nested layouts in their
// place. A screen reader reads children in their order, which is otherwise the order they were
// made in (a field before its caption). Children outside the layout stay in front of them.
void placeInReadingOrder(QWidget* container);

}  // namespace kestrova
