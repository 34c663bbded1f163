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

namespace kestrova {

void installControlsAccessibility();

// The factory itself (QAccessible::installFactory's form), for the libraries above.
QAccessibleInterface* controlsAccessible(const QString& className, QObject* object);

}  // namespace kestrova
