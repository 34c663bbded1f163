// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/accessibility.h"

#include "controls/link_label.h"
#include "controls/tab_strip.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGridLayout>
#include <QPointer>
#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

namespace kestrova {

namespace {

// The widgets of the strip that no tab shows: listed after the tabs, so nothing inside the
// strip is out of a screen reader's reach.
QList<QWidget*> untabbedChildren(const TabStrip& tabs) {
    QList<QWidget*> pages;
    for (int k = 1; k <= tabs.tabCount(); ++k) {
        if (QWidget* page = tabs.tabPage(k)) {
            pages << page;
        }
    }
    QList<QWidget*> out;
    for (QObject* child : tabs.children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && !w->isWindow() && !pages.contains(w)) {
            out << w;
        }
    }
    return out;
}

// One tab of the strip (1-based), a child of the strip's interface. Its one child is the page
// the tab shows, as page tabs hold their content in other toolkits' trees.
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabAccessible(TabStrip* tabs, int index) : m_tabs(tabs), m_index(index) {}

    bool isValid() const override { return live() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        TabStrip* tabs = m_tabs.data();
        return tabs ? tabs->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return m_tabs ? QAccessible::queryAccessibleInterface(m_tabs.data()) : nullptr;
    }
    QAccessibleInterface* child(int index) const override {
        QWidget* page = index == 0 ? this->page() : nullptr;
        return page ? QAccessible::queryAccessibleInterface(page) : nullptr;
    }
    int childCount() const override { return page() ? 1 : 0; }
    int indexOfChild(const QAccessibleInterface* child) const override {
        QWidget* page = this->page();
        return page && child && child->object() == page ? 0 : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAccessibleInterface* page = child(0);
        return page && page->rect().contains(x, y) ? page : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        TabStrip* tabs = live();
        if (!tabs) {
            return QString();
        }
        switch (t) {
            case QAccessible::Name:
                return tabs->tabCaption(m_index);
            case QAccessible::Description:
                return QStringLiteral("Tab %1 of %2").arg(m_index).arg(tabs->tabCount());
            default:
                return QString();
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        TabStrip* tabs = live();
        if (!tabs) {
            return QRect();
        }
        const QRect r = tabs->tabRect(m_index).toQRect();
        return QRect(tabs->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override {
        QAccessible::State s;
        TabStrip* tabs = live();
        if (!tabs) {
            s.invalid = true;
            return s;
        }
        s.selectable = true;
        s.focusable = true;
        s.selected = m_index == tabs->selectedTab();
        s.focused = s.selected && tabs->hasFocus();
        s.invisible = !tabs->isVisible();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        TabStrip* tabs = live();
        if (tabs && name == pressAction()) {
            tabs->setSelectedTab(m_index);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    // The strip while it lives and still has this tab; read once per use, as the pointer may
    // clear between two reads.
    TabStrip* live() const {
        TabStrip* tabs = m_tabs.data();
        return tabs && m_index <= tabs->tabCount() ? tabs : nullptr;
    }
    QWidget* page() const {
        TabStrip* tabs = live();
        return tabs ? tabs->tabPage(m_index) : nullptr;
    }

    QPointer<TabStrip> m_tabs;
    int m_index;
};

class TabStripAccessible : public QAccessibleWidget {
public:
    explicit TabStripAccessible(TabStrip* tabs)
        : QAccessibleWidget(tabs, QAccessible::PageTabList) {}
    ~TabStripAccessible() override {
        for (const auto& [index, id] : m_children) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    TabStrip* tabs() const { return static_cast<TabStrip*>(widget()); }

    // The tabs, then whatever the strip holds that no tab shows.
    int childCount() const override {
        return tabs()->tabCount() + int(untabbedChildren(*tabs()).size());
    }
    QAccessibleInterface* child(int index) const override {
        const int tabCount = tabs()->tabCount();
        if (index < 0 || index >= childCount()) {
            return nullptr;
        }
        if (index >= tabCount) {
            return QAccessible::queryAccessibleInterface(
                untabbedChildren(*tabs()).at(index - tabCount));
        }
        // One interface per tab for as long as the strip lives, as screen readers keep them.
        const auto found = m_children.find(index);
        if (found != m_children.end()) {
            return QAccessible::accessibleInterface(found->second);
        }
        auto* tab = new TabAccessible(tabs(), index + 1);
        m_children[index] = QAccessible::registerAccessibleInterface(tab);
        return tab;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (const auto& [index, id] : m_children) {
            if (QAccessible::accessibleInterface(id) == child) {
                return index;
            }
        }
        const QList<QWidget*> others = untabbedChildren(*tabs());
        for (qsizetype i = 0; child && i < others.size(); ++i) {
            if (child->object() == others.at(i)) {
                return tabs()->tabCount() + int(i);
            }
        }
        return -1;
    }
    // A point on a tab finds the tab; a point on the page finds the selected tab, whose page
    // it is.
    QAccessibleInterface* childAt(int x, int y) const override {
        const int tab = tabs()->tabAt(tabs()->mapFromGlobal(QPoint(x, y)));
        if (tab > 0) {
            return child(tab - 1);
        }
        QWidget* page = tabs()->tabPage(tabs()->selectedTab());
        if (page && page->isVisible() &&
            QRect(page->mapToGlobal(QPoint(0, 0)), page->size()).contains(x, y)) {
            return child(tabs()->selectedTab() - 1);
        }
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return tabs()->hasFocus() ? child(tabs()->selectedTab() - 1) : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            return tabs()->caption();  // the page shown
        }
        return QAccessibleWidget::text(t);
    }

private:
    mutable std::map<int, QAccessible::Id> m_children;
};

// A page of the strip: its parent is the tab that shows it.
class TabPageAccessible : public QAccessibleWidget {
public:
    explicit TabPageAccessible(QWidget* page) : QAccessibleWidget(page, QAccessible::Pane) {}

    QAccessibleInterface* parent() const override {
        auto* tabs = qobject_cast<TabStrip*>(widget()->parentWidget());
        QAccessibleInterface* strip = tabs ? QAccessible::queryAccessibleInterface(tabs) : nullptr;
        if (!strip) {
            return QAccessibleWidget::parent();
        }
        for (int k = 1; k <= tabs->tabCount(); ++k) {
            if (tabs->tabPage(k) == widget()) {
                return strip->child(k - 1);
            }
        }
        return strip;
    }
};

class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(LinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {
        addControllingSignal(QStringLiteral("linkActivated(QString)"));
    }
    LinkLabel* link() const { return static_cast<LinkLabel*>(widget()); }
    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name:
                return link()->linkText();
            case QAccessible::Description:
                return link()->toolTip();
            default:
                return QAccessibleWidget::text(t);
        }
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction()) {
            Q_EMIT link()->linkActivated(link()->link());
        }
    }
};

}  // namespace

QAccessibleInterface* controlsAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("kestrova::TabStrip")) {
        return new TabStripAccessible(static_cast<TabStrip*>(object));
    }
    // Asked first with the most derived class's name: a frame in a strip, whatever its class,
    // is a page.
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && className == QLatin1String(object->metaObject()->className()) &&
        qobject_cast<TabStrip*>(widget->parentWidget()) && !widget->isWindow() &&
        static_cast<TabStrip*>(widget->parentWidget())->frames().contains(widget)) {
        return new TabPageAccessible(widget);
    }
    if (className == QLatin1String("kestrova::LinkLabel")) {
        return new LinkAccessible(static_cast<LinkLabel*>(object));
    }
    return nullptr;
}

namespace {

void collectLaidOut(QLayout* layout, QList<QWidget*>& out);

void collectItem(QLayoutItem* item, QList<QWidget*>& out) {
    if (QWidget* widget = item->widget()) {
        out << widget;
    } else if (QLayout* inner = item->layout()) {
        collectLaidOut(inner, out);
    }
}

void collectLaidOut(QLayout* layout, QList<QWidget*>& out) {
    auto* grid = qobject_cast<QGridLayout*>(layout);
    if (!grid) {
        for (int i = 0; i < layout->count(); ++i) {
            collectItem(layout->itemAt(i), out);
        }
        return;
    }
    struct Cell {
        int row = 0;
        int column = 0;
        QLayoutItem* item = nullptr;
    };
    std::vector<Cell> cells;
    for (int i = 0; i < grid->count(); ++i) {
        Cell cell;
        int rowSpan = 0;
        int columnSpan = 0;
        grid->getItemPosition(i, &cell.row, &cell.column, &rowSpan, &columnSpan);
        cell.item = grid->itemAt(i);
        cells.push_back(cell);
    }
    // Items sharing a cell (one shown at a time) keep the order they were added in.
    std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    for (const Cell& cell : cells) {
        collectItem(cell.item, out);
    }
}

}  // namespace

void placeInReadingOrder(QWidget* container) {
    if (!container->layout()) {
        return;
    }
    QList<QWidget*> order;
    collectLaidOut(container->layout(), order);
    // Raising a widget moves it to the end of its parent's children; laid-out widgets do not
    // overlap, so nothing changes on the screen.
    for (QWidget* widget : order) {
        if (widget->parentWidget() == container) {
            widget->raise();
        }
    }
}

void installControlsAccessibility() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(controlsAccessible); });
}

}  // namespace kestrova
