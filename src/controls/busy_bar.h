// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// BusyBar: a progress bar with no known end (range 0 to 0, as assistive technology reads it)
// whose block moves a few steps a second. The style's own busy animation repaints at the
// screen's rate, and in a window that also holds a web view every repaint composes the whole
// window again through OpenGL on the GUI thread, which is the browser engine's thread too.
// With software OpenGL (a Wayland session without a GPU) that starved the portal's pages: the
// walk to the usage page took 25 s instead of 1 s.

#include <QBasicTimer>
#include <QProgressBar>

namespace kestrova {

class BusyBar : public QProgressBar {
    Q_OBJECT
public:
    // The time between two steps of the block.
    static constexpr int kStepMilliseconds = 200;

    explicit BusyBar(QWidget* parent = nullptr);

    // How many steps the block has moved since the bar was last shown.
    int steps() const { return m_steps; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    QBasicTimer m_timer;
    int m_steps = 0;
};

}  // namespace kestrova
