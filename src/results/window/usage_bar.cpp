// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/window/usage_bar.h"

#include "results/window/accessibility.h"

namespace kestrova {

UsageBar::UsageBar(QWidget* parent) : QWidget(parent) {
    installResultWindowAccessibility();
}

void UsageBar::setUsed(double percent, const QString& shown) {
    if (m_percent == percent && m_shown == shown) {
        return;
    }
    m_percent = percent;
    m_shown = shown;
    announceValueChange(this);
}

}  // namespace kestrova
