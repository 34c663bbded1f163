// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// LinkLabel: a caption that works as a link (plansLabel, websiteLabel, the cache's "?"). It is one
// stop in the tab order with a visible focus frame; Enter or Space opens it as a click does,
// and linkActivated(link) tells what was opened. QLabel's own keyboard links made a tab stop
// that showed nothing until a second key moved onto the link.

#include <QLabel>

namespace kestrova {

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    // `text` is shown underlined as the link to `link` (its escaping is done here).
    LinkLabel(const QString& text, const QString& link, QWidget* parent = nullptr);

    QString linkText() const { return m_text; }
    QString link() const { return m_link; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString m_text;
    QString m_link;
};

}  // namespace kestrova
