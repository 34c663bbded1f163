// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a screen reader learns of the chart: a chart named by its title, whose value is the
// selected column's day and description, with one child per column (its label as name, its
// description as value, pressed to select it). Installed once, when the first chart is made.

class QAccessibleInterface;
class QObject;
class QString;

namespace kestrova {

class XChart;

void installChartAccessibility();
QAccessibleInterface* chartAccessible(const QString& className, QObject* object);
// Tells a screen reader that the selected column (the chart's value) changed.
void announceSelectedColumn(XChart& chart);

}  // namespace kestrova
