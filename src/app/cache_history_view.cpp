// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/cache_history_view.h"

#include "platform/number_format.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QLocale>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace kestrova {

namespace {

QTableWidgetItem* cell(const QString& text, Qt::Alignment alignment = Qt::AlignLeft) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

// "Nov 2026" for "2026-11"; the period itself for a name of another form.
QString monthLabel(const HistoryMonth& month) {
    const QDate first = QDate::fromString(month.month + QStringLiteral("-01"), u"yyyy-MM-dd");
    return first.isValid() ? QLocale().toString(first, QStringLiteral("MMM yyyy")) : month.period;
}

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128;
}

}  // namespace

CacheHistoryView::CacheHistoryView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CacheHistoryView"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);

    m_table = new QTableWidget(0, ColumnCount, this);
    m_table->setObjectName(QStringLiteral("tblHistory"));
    m_table->setAccessibleName(QStringLiteral("Cached months"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Period"), QStringLiteral("User ID"),
                                        QStringLiteral("Records"), QStringLiteral("Days"),
                                        QStringLiteral("Total MB"), QStringLiteral("Bill"),
                                        QStringLiteral("Cheapest plan")});
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    // Every column as wide as its texts: in a narrow window the table scrolls sideways rather
    // than cutting the cheapest plan short.
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(m_table, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (!m_filling && row >= 0 && row < m_items.size()) {
            Q_EMIT itemChosen(m_items[row]);
        }
    });
    connect(m_table, &QTableWidget::cellActivated, this, [this](int row) {
        if (row >= 0 && row < m_items.size()) {
            Q_EMIT itemActivated(m_items[row]);
        }
    });
    column->addWidget(m_table, 3);

    m_chart = new QChart;
    m_chartView = new QChartView(m_chart, this);
    m_chartView->setObjectName(QStringLiteral("chtHistory"));
    m_chartView->setAccessibleName(QStringLiteral("Monthly totals"));
    m_chartView->setRenderHint(QPainter::Antialiasing);
    m_chartView->setMinimumHeight(140);
    column->addWidget(m_chartView, 4);

    m_totals = new QLabel(this);
    m_totals->setObjectName(QStringLiteral("lblHistoryTotals"));
    m_totals->setWordWrap(true);
    m_totals->setTextFormat(Qt::PlainText);
    m_totals->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(m_totals);
    applyChartTheme();
}

void CacheHistoryView::showHistory(const History& history, std::optional<double> allowanceMB) {
    m_filling = true;
    m_items.clear();
    m_table->clearContents();
    m_table->setRowCount(int(history.months.size()));
    const Qt::Alignment right = Qt::AlignRight;
    for (int row = 0; row < int(history.months.size()); ++row) {
        const HistoryMonth& m = history.months[std::size_t(row)];
        m_items << m.item;
        m_table->setItem(row, Period, cell(m.period));
        m_table->setItem(row, User, cell(m.user));
        if (!m.readable()) {
            QTableWidgetItem* problem = cell(m.problem);
            problem->setToolTip(m.file + u": " + m.problem);
            problem->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
            m_table->setItem(row, Records, problem);
            m_table->setSpan(row, Records, 1, ColumnCount - Records);
            continue;
        }
        m_table->setSpan(row, Records, 1, 1);
        m_table->setItem(row, Records, cell(QString::number(m.records), right));
        m_table->setItem(row, Days, cell(QString::number(m.days), right));
        m_table->setItem(row, TotalMB, cell(formatNumber(double(m.monthMB), 3), right));
        m_table->setItem(row, Bill,
                         cell(m.chosen ? m.chosen->totalAndTaxText : QStringLiteral("-"), right));
        QTableWidgetItem* cheapest =
            cell(m.cheapest.name + QStringLiteral(", ") + m.cheapest.totalAndTaxText);
        cheapest->setToolTip(m.cheapest.entryText);
        m_table->setItem(row, Cheapest, cheapest);
    }
    // One user id on every row says nothing a column is needed for: its room goes to the
    // others.
    bool oneUser = true;
    for (const HistoryMonth& m : history.months) {
        oneUser = oneUser && m.user == history.months.front().user;
    }
    m_table->setColumnHidden(User, oneUser && !history.months.empty());
    m_table->resizeColumnsToContents();
    m_filling = false;

    QStringList text;
    if (history.months.empty()) {
        text << QStringLiteral("No cached months yet: tick \"Enable Cache\" and check your usage.");
    } else if (history.readableMonths == 0) {
        text << QStringLiteral("None of the cached months can be read.");
    } else {
        text << QStringLiteral("%1 month(s), %2 MB in all, %3 MB a month on average.")
                    .arg(history.readableMonths)
                    .arg(formatNumber(double(history.totalMB), 3),
                         formatNumber(history.averageMB, 3));
        if (history.cheapest) {
            text << QStringLiteral("Cheapest over these months: %1, %2.")
                        .arg(history.cheapest->name, rupeesText(history.cheapest->paise));
        }
        if (history.chosen && history.cheapest) {
            text << (history.chosen->slot == history.cheapest->slot
                         ? QStringLiteral("That is your plan.")
                         : QStringLiteral("Your plan, %1, cost %2: %3 more.")
                               .arg(history.chosen->name, rupeesText(history.chosen->paise),
                                    rupeesText(*history.savingPaise())));
        } else if (!history.chosen) {
            text << QStringLiteral(
                "Choose your plan on the Summary tab of a report to see "
                "your bills here.");
        }
    }
    m_totals->setText(text.join(u' '));
    fillChart(history, allowanceMB);
}

void CacheHistoryView::fillChart(const History& history, std::optional<double> allowanceMB) {
    // A new chart each time: axes taken out of a chart in use could leave their labels drawn.
    QChart* old = m_chart;
    m_chart = new QChart;
    m_chart->legend()->hide();
    m_chart->setMargins(QMargins(4, 4, 4, 4));
    m_chart->setBackgroundRoundness(0);
    m_chartView->setChart(m_chart);
    delete old;
    auto* totals = new QBarSet(QStringLiteral("Total MB"));
    QStringList labels;
    double largest = 0;
    for (const HistoryMonth& m : history.months) {
        if (!m.readable()) {
            continue;
        }
        *totals << double(m.monthMB);
        labels << monthLabel(m);
        largest = std::max(largest, double(m.monthMB));
    }
    auto* bars = new QBarSeries;
    bars->append(totals);
    m_chart->addSeries(bars);
    auto* x = new QBarCategoryAxis;
    x->append(labels);
    auto* y = new QValueAxis;
    y->setLabelFormat(QStringLiteral("%.0f"));
    y->setTitleText(QStringLiteral("MB"));
    m_chart->addAxis(x, Qt::AlignBottom);
    m_chart->addAxis(y, Qt::AlignLeft);
    bars->attachAxis(x);
    bars->attachAxis(y);
    if (allowanceMB && *allowanceMB > 0 && !labels.isEmpty()) {
        auto* allowance = new QLineSeries;
        allowance->setName(QStringLiteral("Allowance"));
        allowance->append(-0.5, *allowanceMB);
        allowance->append(double(labels.size()) - 0.5, *allowanceMB);
        m_chart->addSeries(allowance);
        allowance->attachAxis(x);
        allowance->attachAxis(y);
        largest = std::max(largest, *allowanceMB);
    }
    y->setRange(0, largest > 0 ? largest * 1.1 : 1);
    y->applyNiceNumbers();
    m_chart->setTitle(labels.isEmpty() ? QString() : QStringLiteral("Monthly totals"));
    applyChartTheme();
}

void CacheHistoryView::selectItem(const QString& item) {
    const qsizetype row = m_items.indexOf(item);
    m_filling = true;
    if (row >= 0) {
        m_table->setCurrentCell(int(row), 0);
    } else {
        m_table->clearSelection();
    }
    m_filling = false;
}

void CacheHistoryView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        applyChartTheme();
    }
}

// The chart follows the window's palette, so its text stays readable under a dark theme.
void CacheHistoryView::applyChartTheme() {
    const QPalette& p = palette();
    m_chart->setBackgroundBrush(p.color(QPalette::Base));
    m_chart->setTitleBrush(p.color(QPalette::Text));
    const QColor bar = p.color(QPalette::Highlight);
    const QColor line = isDark(p) ? QColor(255, 170, 60) : QColor(200, 60, 20);
    for (QAbstractSeries* series : m_chart->series()) {
        if (auto* bars = qobject_cast<QBarSeries*>(series)) {
            for (QBarSet* set : bars->barSets()) {
                set->setColor(bar);
                set->setBorderColor(bar.darker(120));
            }
        } else if (auto* lineSeries = qobject_cast<QLineSeries*>(series)) {
            QPen pen(line);
            pen.setWidth(2);
            pen.setStyle(Qt::DashLine);
            lineSeries->setPen(pen);
        }
    }
    for (QAbstractAxis* axis : m_chart->axes()) {
        axis->setLabelsBrush(p.color(QPalette::Text));
        axis->setTitleBrush(p.color(QPalette::Text));
        axis->setLinePenColor(p.color(QPalette::Mid));
        axis->setGridLineColor(p.color(QPalette::Midlight));
    }
}

}  // namespace kestrova
