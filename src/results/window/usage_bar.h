// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The Summary tab's usage bar (usageBarBox): the whole allowance, the part used drawn over it
// from the left, and the excess in the same scale below it, each a frame the tab sizes. To a
// screen reader it is one progress bar whose value is the share of the allowance used.

#include <QWidget>

namespace kestrova {

class UsageBar : public QWidget {
    Q_OBJECT
public:
    explicit UsageBar(QWidget* parent = nullptr);

    // The share of the allowance used in percent (above 100 beyond it; 0 for no allowance) and
    // as the tab shows it ("87%").
    void setUsed(double percent, const QString& shown);
    double usedPercent() const { return m_percent; }
    QString usedText() const { return m_shown; }

private:
    double m_percent = 0;
    QString m_shown;
};

}  // namespace kestrova
