// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A window as a screen reader walks it: from the window's accessible interface down by
// children. What the walk cannot reach a screen reader cannot find; a child that names another
// parent than the one it was reached from sends a screen reader elsewhere on the way back up.

#include <QAbstractItemView>
#include <QAccessible>
#include <QSet>
#include <QStringList>
#include <QWidget>

namespace kestrova::testing {

struct AccessibleWalk {
    QSet<QObject*> reached;
    // "role name: parent is X, reached from Y" for each child that names another parent.
    QStringList wrongParents;
};

inline void walkAccessible(QAccessibleInterface* node, AccessibleWalk& walk, int depth = 0) {
    if (!node || depth > 60) {
        return;
    }
    if (QObject* object = node->object()) {
        walk.reached.insert(object);
    }
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child) {
            continue;
        }
        if (child->parent() != node) {
            walk.wrongParents << QStringLiteral("%1 %2: parent is %3, reached from %4")
                                     .arg(int(child->role()))
                                     .arg(child->text(QAccessible::Name),
                                          child->parent() ? child->parent()->text(QAccessible::Name)
                                                          : QStringLiteral("none"),
                                          node->text(QAccessible::Name));
        }
        walkAccessible(child, walk, depth + 1);
    }
}

inline AccessibleWalk walkWindow(QWidget* window) {
    AccessibleWalk walk;
    walkAccessible(QAccessible::queryAccessibleInterface(window), walk);
    return walk;
}

// The visible widgets of `window` (not the window itself, nor other windows) that the walk
// did not reach, by object name. Inside an item view and inside the controls named in
// `presenters` (class names) the walk meets what the control presents (cells, columns, a
// bar's value) instead of the widgets it draws them with.
inline QStringList unreachedWidgets(QWidget* window, const AccessibleWalk& walk,
                                    const QStringList& presenters = {}) {
    auto presented = [&](const QWidget* widget) {
        for (const QWidget* up = widget->parentWidget(); up && up != window;
             up = up->parentWidget()) {
            if (qobject_cast<const QAbstractItemView*>(up) ||
                presenters.contains(QString::fromLatin1(up->metaObject()->className()))) {
                return true;
            }
        }
        return false;
    };
    QStringList out;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->window() != window || !widget->isVisible() || walk.reached.contains(widget) ||
            presented(widget)) {
            continue;
        }
        out << (widget->objectName().isEmpty()
                    ? QString::fromLatin1(widget->metaObject()->className())
                    : widget->objectName());
    }
    return out;
}

}  // namespace kestrova::testing
