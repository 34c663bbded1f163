// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/tab_strip.h"

#include "controls/accessibility.h"
#include "controls/key_codes.h"
#include "controls/stored_properties.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QChildEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLCDNumber>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolBox>
#include <algorithm>

namespace kestrova {

namespace {
const QString kTabWide = QStringLiteral("TABWIDE");
const QString kTabHigh = QStringLiteral("TABHIGH");
const QString kTabCount = QStringLiteral("TABCOUNT");
const QString kTabSelected = QStringLiteral("TABSELECTED");
const QString kTabStyle = QStringLiteral("TABSTYLE");
const QString kCaptionStyle = QStringLiteral("CAPTIONSTYLE");
const QString kFocusRect = QStringLiteral("FOCUSRECT");
const QString kTabCaption = QStringLiteral("TABCAPTION");
const QString kTabFrame = QStringLiteral("TABFRAME");
const QString kTabFont = QStringLiteral("TABFONT");
const QString kTabFontActive = QStringLiteral("TABFONTACTIVE");
const QString kTabColor = QStringLiteral("TABCOLOR");
const QString kTabColorActive = QStringLiteral("TABCOLORACTIVE");
const QString kTextColor = QStringLiteral("TEXTCOLOR");
const QString kTextColorActive = QStringLiteral("TEXTCOLORACTIVE");
const QString kShowFrameBorder = QStringLiteral("ShowFrameBorder");

QString perTabKey(const QString& word, int tab) {
    return word + QString::number(tab);
}

bool isFrame(const QWidget* w) {
    if (qobject_cast<const QGroupBox*>(w)) {
        return true;
    }
    return qobject_cast<const QFrame*>(w) && !qobject_cast<const QLabel*>(w) &&
           !qobject_cast<const QAbstractScrollArea*>(w) && !qobject_cast<const QSplitter*>(w) &&
           !qobject_cast<const QStackedWidget*>(w) && !qobject_cast<const QToolBox*>(w) &&
           !qobject_cast<const QLCDNumber*>(w);
}
}  // namespace

ctlTabs::ctlTabs(QWidget* parent) : QWidget(parent) {
    installControlsAccessibility();
    m_state.TabFont = StdFont::fromQFont(font());
    m_state.TabFontActive = m_state.TabFont;
    m_state.TabFontActive.setBold(!m_state.TabFont.Bold());
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ctlTabs::setColor(ColorRef TabStripState::*member, ColorRef color, const QString& key) {
    if (m_state.*member == color) {
        return;
    }
    m_state.*member = color;
    Q_EMIT propertyChanged(key);
    DrawTabs();
}

void ctlTabs::setInt(int TabStripState::*member, int value, const QString& key) {
    if (m_state.*member == value) {
        return;
    }
    m_state.*member = value;
    Q_EMIT propertyChanged(key);
    DrawTabs();
}

void ctlTabs::setTextColor(ColorRef color) {
    setColor(&TabStripState::TextColor, color, kTextColor);
}
void ctlTabs::setTextColorActive(ColorRef color) {
    setColor(&TabStripState::TextColorActive, color, kTextColorActive);
}
void ctlTabs::setTabColor(ColorRef color) {
    setColor(&TabStripState::TabColor, color, kTabColor);
}
void ctlTabs::setTabColorActive(ColorRef color) {
    setColor(&TabStripState::TabColorActive, color, kTabColorActive);
}

void ctlTabs::setTabFont(const StdFont& font) {
    if (m_state.TabFont == font) {
        return;
    }
    CopyFont(font, m_state.TabFont);
    Q_EMIT propertyChanged(kTabFont);
    DrawTabs();
}

void ctlTabs::setTabFontActive(const StdFont& font) {
    if (m_state.TabFontActive == font) {
        return;
    }
    CopyFont(font, m_state.TabFontActive);
    Q_EMIT propertyChanged(kTabFontActive);
    DrawTabs();
}

QString ctlTabs::tabCaption(int k) const {
    return k >= 1 && k <= m_state.captions.size() ? m_state.captions[k - 1] : QString();
}

QString ctlTabs::tabFrameName(int k) const {
    return k >= 1 && k <= m_state.frames.size() ? m_state.frames[k - 1] : QString();
}

QString ctlTabs::Caption() const {
    return tabCaption(m_state.SelectedTab);
}

void ctlTabs::setCaption(const QString& caption) {
    const int k = m_state.SelectedTab;
    if (m_state.captions[k - 1] == caption) {
        return;
    }
    m_state.captions[k - 1] = caption;
    Q_EMIT propertyChanged(perTabKey(kTabCaption, k));
    DrawTabs();
}

QString ctlTabs::TabFrame() const {
    return tabFrameName(m_state.SelectedTab);
}

void ctlTabs::setTabFrame(const QString& frame) {
    const int k = m_state.SelectedTab;
    if (m_state.frames[k - 1] == frame) {
        return;
    }
    m_state.frames[k - 1] = frame;
    Q_EMIT propertyChanged(perTabKey(kTabFrame, k));
    DrawTabs();
}

void ctlTabs::setStyle(int style) {
    if (style < 0 || style > 7) {
        return;
    }
    setInt(&TabStripState::Style, style, kTabStyle);
}

void ctlTabs::setCaptionAlignment(int alignment) {
    if (alignment < 0 || alignment > 8) {
        return;
    }
    setInt(&TabStripState::CaptionAlignment, alignment, kCaptionStyle);
}

void ctlTabs::setTabsWidth(int width) {
    setInt(&TabStripState::TabsWidth, width, kTabWide);
}
void ctlTabs::setTabsHeight(int height) {
    setInt(&TabStripState::TabsHeight, height, kTabHigh);
}

void ctlTabs::setTabs(int count) {
    if (count < 1 || count == m_state.Tabs) {
        return;
    }
    const int previous = m_state.SelectedTab;
    m_state.Tabs = count;
    m_state.captions.resize(count);
    m_state.frames.resize(count);
    const bool moved = m_state.SelectedTab > count;
    if (moved) {
        m_state.SelectedTab = count;
    }
    Q_EMIT propertyChanged(kTabCount);
    DrawTabs();
    if (moved) {
        Q_EMIT propertyChanged(kTabSelected);
        Q_EMIT TabClick(previous, count);
    }
}

void ctlTabs::setSelectedTab(int tab) {
    const int old = m_state.SelectedTab;
    m_state.SelectedTab = std::clamp(tab, 1, m_state.Tabs);
    Q_EMIT propertyChanged(kTabSelected);
    DrawTabs();
    if (old != m_state.SelectedTab && QAccessible::isActive()) {
        QAccessibleEvent selected(this, QAccessible::Selection);
        selected.setChild(m_state.SelectedTab - 1);
        QAccessible::updateAccessibility(&selected);
        announceFocusedTab();
    }
    Q_EMIT TabClick(old, m_state.SelectedTab);
}

void ctlTabs::announceFocusedTab() {
    // A screen reader follows the focus: with the strip focused, that is the selected tab.
    if (hasFocus() && QAccessible::isActive()) {
        QAccessibleEvent focused(this, QAccessible::Focus);
        focused.setChild(m_state.SelectedTab - 1);
        QAccessible::updateAccessibility(&focused);
    }
}

void ctlTabs::setUseFocusRect(bool use) {
    if (m_state.UseFocusRect == use) {
        return;
    }
    m_state.UseFocusRect = use;
    Q_EMIT propertyChanged(kFocusRect);
    DrawTabs();
}

void ctlTabs::setShowFrameBorder(bool show) {
    if (m_state.ShowFrameBorder == show) {
        return;
    }
    m_state.ShowFrameBorder = show;
    Q_EMIT propertyChanged(kShowFrameBorder);
}

void ctlTabs::ReadProperties(const PropertyBag& bag) {
    TabStripState s;
    s.TabsWidth = readInt(bag, kTabWide, 70);
    s.TabsHeight = readInt(bag, kTabHigh, 20);
    // A stored form written by hand may hold counts the setters would refuse; they fall back to
    // the defaults so that a tab is always selected.
    s.Tabs = readInt(bag, kTabCount, 2);
    if (s.Tabs < 1) {
        s.Tabs = 2;
    }
    s.SelectedTab = std::clamp(readInt(bag, kTabSelected, 1), 1, s.Tabs);
    s.Style = readInt(bag, kTabStyle, 0);
    if (s.Style < 0 || s.Style > 7) {
        s.Style = 0;
    }
    s.CaptionAlignment = readInt(bag, kCaptionStyle, 4);
    if (s.CaptionAlignment < 0 || s.CaptionAlignment > 8) {
        s.CaptionAlignment = 4;
    }
    s.UseFocusRect = readBool(bag, kFocusRect, false);
    s.captions.clear();
    s.frames.clear();
    for (int i = 1; i <= s.Tabs; ++i) {
        s.captions << bag.read(perTabKey(kTabCaption, i));
        s.frames << bag.read(perTabKey(kTabFrame, i));
    }
    const StdFont own = StdFont::fromQFont(font());
    CopyFont(readFont(bag, kTabFont, own), s.TabFont);
    CopyFont(readFont(bag, kTabFontActive, own), s.TabFontActive);
    const TabStripState defaults;
    s.TabColor = readColor(bag, kTabColor, defaults.TabColor);
    s.TabColorActive = readColor(bag, kTabColorActive, defaults.TabColorActive);
    s.TextColor = readColor(bag, kTextColor, defaults.TextColor);
    s.TextColorActive = readColor(bag, kTextColorActive, defaults.TextColorActive);
    m_state = s;
    DrawTabs();
    m_state.ShowFrameBorder = readBool(bag, kShowFrameBorder, false);
}

PropertyBag ctlTabs::WriteProperties() const {
    PropertyBag bag;
    writeInt(bag, kTabWide, m_state.TabsWidth);
    writeInt(bag, kTabHigh, m_state.TabsHeight);
    writeInt(bag, kTabCount, m_state.Tabs);
    writeInt(bag, kTabSelected, m_state.SelectedTab);
    writeInt(bag, kTabStyle, m_state.Style);
    writeInt(bag, kCaptionStyle, m_state.CaptionAlignment);
    writeBool(bag, kFocusRect, m_state.UseFocusRect);
    for (int i = 1; i <= m_state.Tabs; ++i) {
        if (!tabCaption(i).isEmpty()) {
            bag.write(perTabKey(kTabCaption, i), tabCaption(i));
        }
        if (!tabFrameName(i).isEmpty()) {
            bag.write(perTabKey(kTabFrame, i), tabFrameName(i));
        }
    }
    writeFont(bag, kTabFont, m_state.TabFont);
    writeFont(bag, kTabFontActive, m_state.TabFontActive);
    writeColor(bag, kTabColor, m_state.TabColor);
    writeColor(bag, kTabColorActive, m_state.TabColorActive);
    writeColor(bag, kTextColor, m_state.TextColor);
    writeColor(bag, kTextColorActive, m_state.TextColorActive);
    if (m_state.ShowFrameBorder) {
        writeBool(bag, kShowFrameBorder, true);
    }
    return bag;
}

EdgeRect ctlTabs::tabRect(int i) const {
    return kestrova::tabRect(m_state, size(), i);
}

int ctlTabs::tabAt(QPoint point) const {
    return kestrova::tabAt(m_state, size(), point);
}

QColor ctlTabs::ambientBackColor() const {
    const QWidget* host = parentWidget();
    return host ? host->palette().color(host->backgroundRole()) : palette().color(QPalette::Window);
}

void ctlTabs::draw(QPainter& painter, QSize size) const {
    drawTabStrip(painter, m_state, size, palette(), {ambientBackColor(), m_hasFocus});
}

QList<QWidget*> ctlTabs::frames() const {
    QList<QWidget*> out;
    for (QObject* child : children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && !w->isWindow() && isFrame(w)) {
            out << w;
        }
    }
    return out;
}

QWidget* ctlTabs::tabPage(int k) const {
    const QString name = tabFrameName(k);
    if (name.isEmpty()) {
        return nullptr;
    }
    for (QWidget* frame : frames()) {
        if (frame->objectName() == name) {
            return frame;
        }
    }
    return nullptr;
}

void ctlTabs::DrawTabs() {
    update();
    switchFrames();
}

void ctlTabs::switchFrames() {
    const QString selected = TabFrame();
    for (QWidget* frame : frames()) {
        if (!selected.isEmpty() && frame->objectName() == selected) {
            frame->show();
            frame->raise();
        } else {
            frame->hide();
        }
    }
}

void ctlTabs::applyFrameBorders() {
    for (QWidget* frame : frames()) {
        if (auto* box = qobject_cast<QGroupBox*>(frame)) {
            box->setFlat(!m_state.ShowFrameBorder);
        } else if (auto* f = qobject_cast<QFrame*>(frame)) {
            f->setFrameStyle(m_state.ShowFrameBorder ? (QFrame::Box | QFrame::Plain)
                                                     : int(QFrame::NoFrame));
        }
    }
}

void ctlTabs::setMousePointer(int pointer) {
    if (m_mousePointer == pointer) {
        return;
    }
    m_mousePointer = pointer;
    if (pointer == kCustomPointer) {
        setCursor(Qt::PointingHandCursor);
    } else {
        unsetCursor();
    }
}

void ctlTabs::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    draw(painter, size());
}

void ctlTabs::mousePressEvent(QMouseEvent* event) {
    const int tab = tabAt(event->position().toPoint());
    if (tab > 0) {
        setSelectedTab(tab);
    }
    event->accept();
}

void ctlTabs::mouseMoveEvent(QMouseEvent* event) {
    setMousePointer(tabAt(event->position().toPoint()) > 0 ? kCustomPointer : kDefaultPointer);
    QWidget::mouseMoveEvent(event);
}

void ctlTabs::keyPressEvent(QKeyEvent* event) {
    switch (keyCodeOf(*event)) {
        case vbKeyLeft:
        case vbKeyUp:
            setSelectedTab(m_state.SelectedTab - 1);
            break;
        case vbKeyRight:
        case vbKeyDown:
            setSelectedTab(m_state.SelectedTab + 1);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void ctlTabs::focusInEvent(QFocusEvent* event) {
    m_hasFocus = true;
    if (m_state.UseFocusRect) {
        update();
    }
    QWidget::focusInEvent(event);
}

void ctlTabs::focusOutEvent(QFocusEvent* event) {
    m_hasFocus = false;
    if (m_state.UseFocusRect) {
        update();
    }
    QWidget::focusOutEvent(event);
}

void ctlTabs::showEvent(QShowEvent* event) {
    applyFrameBorders();
    switchFrames();
    QWidget::showEvent(event);
}

void ctlTabs::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange) {
        update();
    }
    QWidget::changeEvent(event);
}

void ctlTabs::childEvent(QChildEvent* event) {
    // A frame added by the host has no name yet; sort the pages once it has one.
    if (event->added() && event->child()->isWidgetType()) {
        QMetaObject::invokeMethod(this, &ctlTabs::switchFrames, Qt::QueuedConnection);
    }
    QWidget::childEvent(event);
}

}  // namespace kestrova
