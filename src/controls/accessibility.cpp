// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/accessibility.h"

#include "controls/link_label.h"
#include "controls/tab_strip.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <map>
#include <mutex>

namespace kestrova {

namespace {

// One tab of the strip (1-based), a child of the strip's interface.
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabAccessible(ctlTabs* tabs, int index) : m_tabs(tabs), m_index(index) {}

    bool isValid() const override { return live() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        ctlTabs* tabs = m_tabs.data();
        return tabs ? tabs->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return m_tabs ? QAccessible::queryAccessibleInterface(m_tabs.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        ctlTabs* tabs = live();
        if (!tabs) {
            return QString();
        }
        switch (t) {
            case QAccessible::Name:
                return tabs->tabCaption(m_index);
            case QAccessible::Description:
                return QStringLiteral("Tab %1 of %2").arg(m_index).arg(tabs->Tabs());
            default:
                return QString();
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        ctlTabs* tabs = live();
        if (!tabs) {
            return QRect();
        }
        const QRect r = tabs->tabRect(m_index).toQRect();
        return QRect(tabs->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override {
        QAccessible::State s;
        ctlTabs* tabs = live();
        if (!tabs) {
            s.invalid = true;
            return s;
        }
        s.selectable = true;
        s.focusable = true;
        s.selected = m_index == tabs->SelectedTab();
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
        ctlTabs* tabs = live();
        if (tabs && name == pressAction()) {
            tabs->setSelectedTab(m_index);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    // The strip while it lives and still has this tab; read once per use, as the pointer may
    // clear between two reads.
    ctlTabs* live() const {
        ctlTabs* tabs = m_tabs.data();
        return tabs && m_index <= tabs->Tabs() ? tabs : nullptr;
    }

    QPointer<ctlTabs> m_tabs;
    int m_index;
};

class TabStripAccessible : public QAccessibleWidget {
public:
    explicit TabStripAccessible(ctlTabs* tabs)
        : QAccessibleWidget(tabs, QAccessible::PageTabList) {}
    ~TabStripAccessible() override {
        for (const auto& [index, id] : m_children) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    ctlTabs* tabs() const { return static_cast<ctlTabs*>(widget()); }

    int childCount() const override { return tabs()->Tabs(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) {
            return nullptr;
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
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int tab = tabs()->tabAt(tabs()->mapFromGlobal(QPoint(x, y)));
        return tab > 0 ? child(tab - 1) : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            return tabs()->Caption();  // the page shown
        }
        return QAccessibleWidget::text(t);
    }

private:
    mutable std::map<int, QAccessible::Id> m_children;
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
    if (className == QLatin1String("kestrova::ctlTabs")) {
        return new TabStripAccessible(static_cast<ctlTabs*>(object));
    }
    if (className == QLatin1String("kestrova::LinkLabel")) {
        return new LinkAccessible(static_cast<LinkLabel*>(object));
    }
    return nullptr;
}

void installControlsAccessibility() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(controlsAccessible); });
}

}  // namespace kestrova
