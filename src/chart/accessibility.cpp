// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "chart/accessibility.h"

#include "chart/xchart.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <algorithm>
#include <map>
#include <mutex>

namespace kestrova {

namespace {

QString oneLine(const QString& text) {
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return line.simplified();
}

// What a column says: its description, or its value where it has none.
QString columnValue(const XChart& chart, int column) {
    const ChartItemPtr item = chart.model().item(column);
    if (!item) {
        return QString();
    }
    return item->legendDescription.isEmpty() ? QString::number(item->value)
                                             : oneLine(item->legendDescription);
}

class ColumnAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ColumnAccessible(XChart* chart, int column) : m_chart(chart), m_column(column) {}

    bool isValid() const override { return live() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        XChart* chart = m_chart.data();
        return chart ? chart->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return m_chart ? QAccessible::queryAccessibleInterface(m_chart.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        XChart* chart = live();
        if (!chart) {
            return QString();
        }
        switch (t) {
            case QAccessible::Name: {
                const ChartItemPtr item = chart->model().item(m_column);
                return item ? oneLine(item->xAxisDescription) : QString();
            }
            // The value as the description too: the desktop's bridge passes descriptions to
            // screen readers, not the texts of values.
            case QAccessible::Value:
            case QAccessible::Description:
                return columnValue(*chart, m_column);
            default:
                return QString();
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        XChart* chart = live();
        if (!chart) {
            return QRect();
        }
        const QRect pixels = chart->columnRect(m_column);
        return QRect(chart->mapToGlobal(pixels.topLeft()), pixels.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        XChart* chart = live();
        if (!chart) {
            s.invalid = true;
            return s;
        }
        s.selectable = chart->model().selectable();
        s.selected = chart->model().selectedColumn() == m_column;
        s.focusable = s.selectable;
        s.focused = s.selected && chart->hasFocus();
        s.invisible = !chart->isVisible();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override {
        XChart* chart = live();
        return chart && chart->model().selectable() ? QStringList{pressAction()} : QStringList();
    }
    void doAction(const QString& name) override {
        XChart* chart = live();
        if (chart && name == pressAction() && chart->model().selectable()) {
            chart->model().setSelectedColumn(m_column);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    // The chart while it lives and still has this column; read once per use, as the pointer
    // may clear between two reads.
    XChart* live() const {
        XChart* chart = m_chart.data();
        return chart && m_column < chart->model().itemCount() ? chart : nullptr;
    }

    QPointer<XChart> m_chart;
    int m_column;
};

// The chart's value is the selected column's figure (0 with none selected), up to the top of
// its scale.
class ChartAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ChartAccessible(XChart* chart) : QAccessibleWidget(chart, QAccessible::Chart) {}
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }
    QVariant currentValue() const override {
        const ChartModel& m = chart()->model();
        const ChartItemPtr item = m.item(m.selectedColumn());
        return item ? item->value : 0.0;
    }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override {
        return std::max(chart()->model().maxY(), currentValue().toDouble());
    }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return 0.0; }
    QAccessibleInterface* focusChild() const override {
        const int column = chart()->model().selectedColumn();
        return chart()->hasFocus() && column >= 0 ? child(column) : nullptr;
    }
    ~ChartAccessible() override {
        for (const auto& [column, id] : m_columns) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    XChart* chart() const { return static_cast<XChart*>(widget()); }

    int childCount() const override { return chart()->model().itemCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) {
            return nullptr;
        }
        const auto found = m_columns.find(index);
        if (found != m_columns.end()) {
            return QAccessible::accessibleInterface(found->second);
        }
        auto* column = new ColumnAccessible(chart(), index);
        m_columns[index] = QAccessible::registerAccessibleInterface(column);
        return column;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (const auto& [column, id] : m_columns) {
            if (QAccessible::accessibleInterface(id) == child) {
                return column;
            }
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint at = chart()->mapFromGlobal(QPoint(x, y));
        const ChartModel& m = chart()->model();
        const int column = m.columnAt(at.x() * m.twipsPerPixelX(), at.y() * m.twipsPerPixelY());
        return column >= 0 ? child(column) : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        const ChartModel& m = chart()->model();
        switch (t) {
            case QAccessible::Name:
                return chart()->accessibleName().isEmpty() ? oneLine(m.chartTitle())
                                                           : chart()->accessibleName();
            case QAccessible::Value: {
                const int column = m.selectedColumn();
                const ChartItemPtr item = m.item(column);
                return item ? oneLine(item->xAxisDescription) + QStringLiteral(": ") +
                                  columnValue(*chart(), column)
                            : QString();
            }
            case QAccessible::Description:
                return QStringLiteral("%1 columns; the arrow keys pick a column").arg(childCount());
            default:
                return QAccessibleWidget::text(t);
        }
    }

private:
    mutable std::map<int, QAccessible::Id> m_columns;
};

}  // namespace

QAccessibleInterface* chartAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("kestrova::XChart")) {
        return new ChartAccessible(static_cast<XChart*>(object));
    }
    return nullptr;
}

void installChartAccessibility() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(chartAccessible); });
}

void announceSelectedColumn(XChart& chart) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleInterface* self = QAccessible::queryAccessibleInterface(&chart);
    QAccessibleValueChangeEvent changed(&chart, self ? self->text(QAccessible::Value) : QString());
    QAccessible::updateAccessibility(&changed);
    const int column = chart.model().selectedColumn();
    if (column >= 0) {
        QAccessibleEvent selected(&chart, QAccessible::Selection);
        selected.setChild(column);
        QAccessible::updateAccessibility(&selected);
        // A screen reader speaks what has the focus: the column the arrow keys moved to, with
        // its day and figure.
        if (chart.hasFocus()) {
            QAccessibleEvent focused(&chart, QAccessible::Focus);
            focused.setChild(column);
            QAccessible::updateAccessibility(&focused);
        }
    }
}

}  // namespace kestrova
