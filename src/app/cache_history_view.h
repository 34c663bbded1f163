// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The history of the cached months on the "Use Cache Data" page: a table with one row per
// month (period, user id, records, days with usage, total, the bill on the chosen plan and the
// cheapest plan), a column chart of the monthly totals with the chosen plan's allowance as a
// line, and the totals across the months with the plan that would have cost least over all of
// them.

#include "results/history.h"

#include <QWidget>

class QChart;
class QChartView;
class QLabel;
class QTableWidget;

namespace kestrova {

class CacheHistoryView : public QWidget {
    Q_OBJECT

public:
    enum Column { Period, User, Records, Days, TotalMB, Bill, Cheapest, ColumnCount };

    explicit CacheHistoryView(QWidget* parent = nullptr);

    // Shows `history`; `allowanceMB` is the chosen plan's allowance (no line when it has
    // none or is unlimited).
    void showHistory(const History& history, std::optional<double> allowanceMB);
    // Selects the row of a cache item (nothing when it is not listed).
    void selectItem(const QString& item);

    QTableWidget* table() const { return m_table; }
    QChartView* chartView() const { return m_chartView; }
    QLabel* totals() const { return m_totals; }
    // The item of each row, in row order.
    const QStringList& items() const { return m_items; }

Q_SIGNALS:
    // A row was selected by the subscriber.
    void itemChosen(const QString& item);
    // A row was double-clicked or Enter was pressed on it: its report is wanted.
    void itemActivated(const QString& item);

protected:
    void changeEvent(QEvent* event) override;

private:
    void fillChart(const History& history, std::optional<double> allowanceMB);
    void applyChartTheme();

    QTableWidget* m_table = nullptr;
    QChartView* m_chartView = nullptr;
    QChart* m_chart = nullptr;
    QLabel* m_totals = nullptr;
    QStringList m_items;
    bool m_filling = false;
};

}  // namespace kestrova
