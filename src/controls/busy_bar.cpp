// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/busy_bar.h"

#include <QStyleOptionProgressBar>
#include <QStylePainter>
#include <QTimerEvent>

namespace kestrova {

namespace {

// The block is a quarter of the groove; it crosses the groove in this many steps and comes back.
constexpr int kBlockParts = 4;
constexpr int kStepsAcross = 8;

}  // namespace

BusyBar::BusyBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 0);
    setTextVisible(false);
}

void BusyBar::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionProgressBar option;
    initStyleOption(&option);
    // Without the style object the style starts no animation of its own, and a full bar
    // draws no moving stripes either: the block below is the only motion.
    option.styleObject = nullptr;
    option.rect = style()->subElementRect(QStyle::SE_ProgressBarGroove, &option, this);
    painter.drawControl(QStyle::CE_ProgressBarGroove, option);

    const QRect contents = style()->subElementRect(QStyle::SE_ProgressBarContents, &option, this);
    const int block = std::max(1, contents.width() / kBlockParts);
    const int phase = m_steps % (2 * kStepsAcross);
    const int position = phase <= kStepsAcross ? phase : 2 * kStepsAcross - phase;
    const int left = contents.left() + (contents.width() - block) * position / kStepsAcross;
    option.rect = contents;
    option.minimum = 0;
    option.maximum = 1;
    option.progress = 1;
    painter.setClipRect(QRect(left, contents.top(), block, contents.height()));
    painter.drawControl(QStyle::CE_ProgressBarContents, option);
}

void BusyBar::showEvent(QShowEvent* event) {
    QProgressBar::showEvent(event);
    m_steps = 0;
    m_timer.start(kStepMilliseconds, this);
}

void BusyBar::hideEvent(QHideEvent* event) {
    m_timer.stop();
    QProgressBar::hideEvent(event);
}

void BusyBar::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_timer.timerId()) {
        QProgressBar::timerEvent(event);
        return;
    }
    ++m_steps;
    update();
}

}  // namespace kestrova
