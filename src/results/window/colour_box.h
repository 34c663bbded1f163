// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The small colour widgets of the result window: ColourBox, a picture box that shows a colour
// and is clicked to change it (builtInChartColorBox, chartColorBox), and RowColourLabel, a
// label that shows a text and a background colour and reports which mouse button pressed it
// (setColorLabel). Both take the keyboard too: Space or Enter is the left button, the menu key
// or Shift+F10 the right one.

#include "platform/colour_ref.h"

#include <QFrame>
#include <QLabel>

namespace kestrova {

class ColourBox : public QFrame {
    Q_OBJECT
public:
    explicit ColourBox(QWidget* parent = nullptr);

    // Default: system colour 15, button face.
    ColorRef backColor() const { return m_backColor; }
    void setBackColor(ColorRef color);

    void draw(QPainter& painter, QSize size) const;
    QSize sizeHint() const override;

Q_SIGNALS:
    // A left-button click inside the box, or Space / Enter while it has the focus.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    ColorRef m_backColor = 0x8000000Fu;
    bool m_pressed = false;
};

class RowColourLabel : public QLabel {
    Q_OBJECT
public:
    // The platform's button numbers.
    static constexpr int kLeftButton = 1;
    static constexpr int kRightButton = 2;
    static constexpr int kMiddleButton = 4;

    explicit RowColourLabel(const QString& caption, QWidget* parent = nullptr);

    ColorRef foreColor() const { return m_foreColor; }
    void setForeColor(ColorRef color);
    ColorRef backColor() const { return m_backColor; }
    void setBackColor(ColorRef color);

Q_SIGNALS:
    // Button: 1 left, 2 right, 4 middle.
    void mouseDown(int button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyColours();

    ColorRef m_foreColor = 0x80000012u;
    ColorRef m_backColor = 0x8000000Fu;
};

}  // namespace kestrova
