// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a screen reader learns of the result window's colour widgets: each colour box and row
// colour label is a button, named by its caption, whose value is the colour it shows. Installed
// once, when the first of them is made.

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
// Tells a screen reader that `widget`'s colour (its value) changed.
void announceColourChange(QWidget* widget);

}  // namespace kestrova
