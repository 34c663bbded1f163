// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/window/accessibility.h"

#include "results/window/colour_box.h"
#include "results/window/usage_bar.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMetaObject>
#include <QPointer>
#include <algorithm>
#include <mutex>

namespace kestrova {

namespace {

// The colour prompt is modal: run inside the assistive technology's call, it would hold that
// call's answer until the prompt closed, and a screen reader gives up waiting. Pressed as a
// button is, a moment later.
template <typename Press>
void pressLater(QWidget* widget, Press press) {
    QMetaObject::invokeMethod(
        widget,
        [control = QPointer<QWidget>(widget), press] {
            if (control) {
                press();
            }
        },
        Qt::QueuedConnection);
}

class ColourBoxAccessible : public QAccessibleWidget {
public:
    explicit ColourBoxAccessible(ColourBox* box) : QAccessibleWidget(box, QAccessible::Button) {}
    ColourBox* box() const { return static_cast<ColourBox*>(widget()); }
    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Value:
                return colourDescription(toQColor(box()->backColor(), box()->palette()));
            case QAccessible::Description:
                return box()->toolTip();
            default:
                return QAccessibleWidget::text(t);
        }
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction()) {
            ColourBox* const target = box();
            pressLater(target, [target] { Q_EMIT target->clicked(); });
        }
    }
};

// Pressed, it sets the text colour; its menu action sets the background (the mouse's left and
// right buttons).
class RowColourAccessible : public QAccessibleWidget {
public:
    explicit RowColourAccessible(RowColourLabel* label)
        : QAccessibleWidget(label, QAccessible::Button) {}
    RowColourLabel* label() const { return static_cast<RowColourLabel*>(widget()); }
    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name:
                return label()->accessibleName().isEmpty() ? label()->text()
                                                           : label()->accessibleName();
            case QAccessible::Value: {
                const QPalette p = label()->palette();
                return QStringLiteral("text %1 on %2")
                    .arg(colourDescription(p.color(QPalette::WindowText)),
                         colourDescription(p.color(QPalette::Window)));
            }
            case QAccessible::Description:
                return label()->toolTip();
            default:
                return QAccessibleWidget::text(t);
        }
    }
    QStringList actionNames() const override { return {pressAction(), showMenuAction()}; }
    QString localizedActionDescription(const QString& name) const override {
        if (name == pressAction()) {
            return QStringLiteral("Set the text colour");
        }
        if (name == showMenuAction()) {
            return QStringLiteral("Set the background colour");
        }
        return QAccessibleWidget::localizedActionDescription(name);
    }
    void doAction(const QString& name) override {
        if (name == pressAction() || name == showMenuAction()) {
            RowColourLabel* const target = label();
            const int button =
                name == pressAction() ? RowColourLabel::kLeftButton : RowColourLabel::kRightButton;
            pressLater(target, [target, button] { Q_EMIT target->mouseDown(button); });
        }
    }
};

class UsageBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit UsageBarAccessible(UsageBar* bar) : QAccessibleWidget(bar, QAccessible::ProgressBar) {}
    UsageBar* bar() const { return static_cast<UsageBar*>(widget()); }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }
    // The frames inside draw the bar; they are no controls of their own.
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name:
                return bar()->accessibleName().isEmpty() ? QStringLiteral("Quota used")
                                                         : bar()->accessibleName();
            case QAccessible::Value:
                return bar()->usedText();
            default:
                return QAccessibleWidget::text(t);
        }
    }
    QVariant currentValue() const override { return bar()->usedPercent(); }
    void setCurrentValue(const QVariant&) override {}
    // Beyond the allowance the bar is full and its value above 100.
    QVariant maximumValue() const override { return std::max(100.0, bar()->usedPercent()); }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return 1.0; }
};

}  // namespace

QString colourDescription(const QColor& colour) {
    const QColor c = colour.toRgb();
    return QStringLiteral("%1 (red %2, green %3, blue %4)")
        .arg(c.name().toUpper())
        .arg(c.red())
        .arg(c.green())
        .arg(c.blue());
}

QAccessibleInterface* resultWindowAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("kestrova::ColourBox")) {
        return new ColourBoxAccessible(static_cast<ColourBox*>(object));
    }
    if (className == QLatin1String("kestrova::RowColourLabel")) {
        return new RowColourAccessible(static_cast<RowColourLabel*>(object));
    }
    if (className == QLatin1String("kestrova::UsageBar")) {
        return new UsageBarAccessible(static_cast<UsageBar*>(object));
    }
    return nullptr;
}

void installResultWindowAccessibility() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(resultWindowAccessible); });
}

void announceValueChange(QWidget* widget) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleInterface* self = QAccessible::queryAccessibleInterface(widget);
    QAccessibleValueChangeEvent changed(widget, self ? self->text(QAccessible::Value) : QString());
    QAccessible::updateAccessibility(&changed);
}

}  // namespace kestrova
