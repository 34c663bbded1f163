// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/window/colour_box.h"

#include "results/window/accessibility.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace kestrova {

namespace {

bool isPressKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
           event->key() == Qt::Key_Enter;
}

bool isMenuKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Menu ||
           (event->key() == Qt::Key_F10 && (event->modifiers() & Qt::ShiftModifier));
}

void drawFocus(QWidget* widget, QPainter& painter, const QRect& rect) {
    QStyleOptionFocusRect option;
    option.initFrom(widget);
    // Shown from the start, not only once the keyboard has moved the focus: a window opens
    // with its focus somewhere, and the user has to see where.
    option.state |= QStyle::State_KeyboardFocusChange;
    option.rect = rect;
    widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, widget);
}

}  // namespace

ColourBox::ColourBox(QWidget* parent) : QFrame(parent) {
    installResultWindowAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void ColourBox::setBackColor(ColorRef color) {
    if (m_backColor == color) {
        return;
    }
    m_backColor = color;
    update();
    announceValueChange(this);
}

QSize ColourBox::sizeHint() const {
    return {22, 18};
}

void ColourBox::draw(QPainter& painter, QSize size) const {
    const QRect outer(QPoint(0, 0), size);
    painter.fillRect(outer, palette().color(QPalette::Mid));
    painter.fillRect(outer.adjusted(1, 1, -1, -1), toQColor(m_backColor, palette()));
}

void ColourBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    draw(painter, size());
    if (hasFocus()) {
        drawFocus(this, painter, rect().adjusted(2, 2, -2, -2));
    }
}

void ColourBox::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ColourBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click) {
        Q_EMIT clicked();
    }
}

void ColourBox::keyPressEvent(QKeyEvent* event) {
    if (isPressKey(event)) {
        event->accept();
        Q_EMIT clicked();
        return;
    }
    QFrame::keyPressEvent(event);
}

RowColourLabel::RowColourLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    installResultWindowAccessibility();
    setAutoFillBackground(true);
    setAlignment(Qt::AlignCenter);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setMargin(2);
    applyColours();
}

void RowColourLabel::setForeColor(ColorRef color) {
    if (m_foreColor == color) {
        return;
    }
    m_foreColor = color;
    applyColours();
}

void RowColourLabel::setBackColor(ColorRef color) {
    if (m_backColor == color) {
        return;
    }
    m_backColor = color;
    applyColours();
}

void RowColourLabel::applyColours() {
    // System colours resolve through the application's palette, not the label's own (which
    // already holds the label's colours).
    const QPalette base = parentWidget() ? parentWidget()->palette() : QPalette();
    QPalette p = palette();
    p.setColor(QPalette::WindowText, toQColor(m_foreColor, base));
    p.setColor(QPalette::Window, toQColor(m_backColor, base));
    setPalette(p);
    update();
    announceValueChange(this);
}

void RowColourLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ParentChange) {
        applyColours();
    }
    QLabel::changeEvent(event);
}

void RowColourLabel::mousePressEvent(QMouseEvent* event) {
    int button = 0;
    switch (event->button()) {
        case Qt::LeftButton:
            button = kLeftButton;
            break;
        case Qt::RightButton:
            button = kRightButton;
            break;
        case Qt::MiddleButton:
            button = kMiddleButton;
            break;
        default:
            break;
    }
    event->accept();
    if (button != 0) {
        Q_EMIT mouseDown(button);
    }
}

void RowColourLabel::keyPressEvent(QKeyEvent* event) {
    if (isPressKey(event)) {
        event->accept();
        Q_EMIT mouseDown(kLeftButton);
        return;
    }
    if (isMenuKey(event)) {
        event->accept();
        Q_EMIT mouseDown(kRightButton);
        return;
    }
    QLabel::keyPressEvent(event);
}

void RowColourLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        drawFocus(this, painter, rect().adjusted(2, 2, -2, -2));
    }
}

}  // namespace kestrova
