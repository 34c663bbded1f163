// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/link_label.h"

#include "controls/accessibility.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace kestrova {

LinkLabel::LinkLabel(const QString& text, const QString& link, QWidget* parent)
    : QLabel(parent), m_text(text), m_link(link) {
    installControlsAccessibility();
    setTextFormat(Qt::RichText);
    setText(QStringLiteral("<a href=\"") + link.toHtmlEscaped() + QStringLiteral("\">") +
            text.toHtmlEscaped() + QStringLiteral("</a>"));
    // The mouse opens the link as a browser's would; the keyboard reaches the label itself.
    setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    setFocusPolicy(Qt::StrongFocus);
    // Room for the focus frame around the caption.
    setMargin(2);
    setAccessibleName(text);
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            event->accept();
            Q_EMIT linkActivated(m_link);
            return;
        default:
            QLabel::keyPressEvent(event);
    }
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) {
        return;
    }
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    // Shown from the start, not only once the keyboard has moved the focus: a window opens
    // with its focus somewhere, and the user has to see where.
    option.state |= QStyle::State_KeyboardFocusChange;
    option.rect = contentsRect().adjusted(-1, -1, 1, 1) & rect();
    option.backgroundColor = palette().color(backgroundRole());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void LinkLabel::focusInEvent(QFocusEvent* event) {
    QLabel::focusInEvent(event);
    update();
}

void LinkLabel::focusOutEvent(QFocusEvent* event) {
    QLabel::focusOutEvent(event);
    update();
}

}  // namespace kestrova
