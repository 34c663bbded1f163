// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a screen reader learns of the result window's drawn widgets: each colour box and row
// colour label is a button, named by its caption, whose value is the colour it shows; the
// Summary tab's usage bar is a progress bar whose value is the share of the allowance used.
// Installed once, when the first of them is made.

#include "platform/colour_ref.h"

class QAccessibleInterface;
class QObject;
class QString;
class QWidget;

namespace kestrova {

void installResultWindowAccessibility();
QAccessibleInterface* resultWindowAccessible(const QString& className, QObject* object);
// "#FF9393 (red 255, green 147, blue 147)".
QString colourDescription(const QColor& colour);
// Tells a screen reader that `widget`'s value (a colour, the share used) changed.
void announceValueChange(QWidget* widget);

}  // namespace kestrova
