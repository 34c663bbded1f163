// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a user sees wrong in a window's layout: a control cut off by what it stands in, a
// caption cut short, two controls on top of each other, a control over a tab strip's tabs.
// Controls are the named widgets that show something or take input; plain frames and pages
// only hold them. What a scroll area holds is checked inside its contents (it scrolls), and
// the insides of the drawn and composite controls (the chart, the report view, drop-downs,
// edit boxes) are theirs.

#include "controls/tab_strip.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QWidget>
#include <functional>

namespace kestrova::testing {

inline QString nameOf(const QWidget* w) {
    return w->objectName() + u" (" + QString::fromLatin1(w->metaObject()->className()) + u')';
}

// Plain holders of controls.
inline bool isContainer(const QWidget* w) {
    const QByteArray cls = w->metaObject()->className();
    return cls == "QWidget" || cls == "QFrame" || cls == "QScrollArea" || cls.endsWith("TabFrame");
}

// Widgets whose own children are their business (drawn or composite controls).
inline bool ownsItsInside(const QWidget* w) {
    const QByteArray cls = w->metaObject()->className();
    return qobject_cast<const QComboBox*>(w) || qobject_cast<const QLineEdit*>(w) ||
           cls == "kestrova::XChart" || cls == "kestrova::NumericEdit" ||
           cls == "kestrova::OfficeChartView" || cls.contains("ReportView") ||
           (qobject_cast<const QAbstractScrollArea*>(w) && !qobject_cast<const QScrollArea*>(w));
}

// The widget a control is clipped to: its scroll area's contents, or the window.
inline const QWidget* clipRoot(const QWidget* w, const QWidget* window) {
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget()) {
        if (p->parentWidget() && p->parentWidget()->objectName() == u"qt_scrollarea_viewport") {
            return p;
        }
    }
    return window;
}

inline QList<const QWidget*> controlsOf(const QWidget* window) {
    QList<const QWidget*> out;
    std::function<void(const QWidget*)> walk = [&](const QWidget* parent) {
        for (const QObject* child : parent->children()) {
            const auto* w = qobject_cast<const QWidget*>(child);
            if (!w || w->isWindow() || !w->isVisibleTo(window)) {
                continue;
            }
            const bool named = !w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_");
            if (named && !isContainer(w)) {
                out << w;
            }
            if (!ownsItsInside(w)) {
                walk(w);
            }
        }
    };
    walk(window);
    return out;
}

inline QStringList layoutProblems(const QWidget* window) {
    QStringList problems;
    const QList<const QWidget*> controls = controlsOf(window);
    for (const QWidget* c : controls) {
        // Every ancestor up to the clip root shows all of the control.
        const QWidget* root = clipRoot(c, window);
        QRect r = c->rect();
        const QWidget* at = c;
        while (at != root) {
            r.translate(at->pos());
            at = at->parentWidget();
            if (!at->rect().contains(r)) {
                problems << nameOf(c) + u" is cut off by " + nameOf(at);
                break;
            }
        }
        // Its caption fits it.
        QSize needed;
        if (const auto* label = qobject_cast<const QLabel*>(c)) {
            if (!label->text().isEmpty() && label->pixmap().isNull()) {
                needed = label->wordWrap() ? QSize(0, label->heightForWidth(label->width()))
                                           : label->minimumSizeHint();
            }
        } else if (qobject_cast<const QAbstractButton*>(c)) {
            needed = c->sizeHint();
        } else if (const auto* box = qobject_cast<const QGroupBox*>(c);
                   box && !box->title().isEmpty()) {
            needed = QSize(box->fontMetrics().horizontalAdvance(box->title()) + 8, 0);
        } else if (const auto* edit = qobject_cast<const QLineEdit*>(c)) {
            // A box that only shows a figure shows all of it.
            const QMargins margins = edit->textMargins();
            const int frame =
                edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
            // Qt's line edit keeps 2 pixels beside its text inside the frame.
            const int text = edit->isReadOnly()
                                 ? edit->fontMetrics().horizontalAdvance(edit->text()) + 2 * frame +
                                       4 + margins.left() + margins.right()
                                 : 0;
            needed = QSize(text, c->minimumSizeHint().height());
        } else if (qobject_cast<const QComboBox*>(c)) {
            needed = c->minimumSizeHint();
        }
        if (c->width() < needed.width() || c->height() < needed.height()) {
            problems << nameOf(c) + QStringLiteral(" is %1x%2, its contents ask for %3x%4")
                                        .arg(c->width())
                                        .arg(c->height())
                                        .arg(needed.width())
                                        .arg(needed.height());
        }
        // Controls of a tab strip's pages stay off its tabs.
        for (const QWidget* p = c->parentWidget(); p && p != window; p = p->parentWidget()) {
            if (const auto* tabs = qobject_cast<const TabStrip*>(p)) {
                const QRect inTabs(c->mapTo(tabs, QPoint(0, 0)), c->size());
                for (int i = 1; i <= tabs->tabCount(); ++i) {
                    if (inTabs.intersects(tabs->tabRect(i).toQRect())) {
                        problems << nameOf(c) + u" covers a tab of " + nameOf(tabs);
                    }
                }
            }
        }
    }
    // Pages may scroll up and down in a small window, but not sideways: a line of a page is
    // read across.
    for (const QScrollArea* area : window->findChildren<QScrollArea*>()) {
        if (area->isVisibleTo(window) && area->horizontalScrollBar()->isVisibleTo(window)) {
            problems << nameOf(area) + u" scrolls sideways";
        }
    }
    // No two controls on top of each other (one inside the other is its own).
    for (qsizetype i = 0; i < controls.size(); ++i) {
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            const QWidget* a = controls[i];
            const QWidget* b = controls[j];
            if (a->isAncestorOf(b) || b->isAncestorOf(a) ||
                clipRoot(a, window) != clipRoot(b, window)) {
                continue;
            }
            const QRect ra(a->mapTo(window, QPoint(0, 0)), a->size());
            const QRect rb(b->mapTo(window, QPoint(0, 0)), b->size());
            if (ra.intersects(rb)) {
                problems << nameOf(a) + u" overlaps " + nameOf(b);
            }
        }
    }
    return problems;
}

}  // namespace kestrova::testing
