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

TabStrip::TabStrip(QWidget* parent) : QWidget(parent) {
    installControlsAccessibility();
    m_state.tabFont = StdFont::fromQFont(font());
    m_state.tabFontActive = m_state.tabFont;
    m_state.tabFontActive.setBold(!m_state.tabFont.bold());
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TabStrip::setColor(ColorRef TabStripState::*member, ColorRef color, const QString& key) {
    if (m_state.*member == color) {
        return;
    }
    m_state.*member = color;
    Q_EMIT propertyChanged(key);
    drawTabs();
}

void TabStrip::setInt(int TabStripState::*member, int value, const QString& key) {
    if (m_state.*member == value) {
        return;
    }
    m_state.*member = value;
    Q_EMIT propertyChanged(key);
    drawTabs();
}

void TabStrip::setTextColor(ColorRef color) {
    setColor(&TabStripState::textColor, color, kTextColor);
}
void TabStrip::setTextColorActive(ColorRef color) {
    setColor(&TabStripState::textColorActive, color, kTextColorActive);
}
void TabStrip::setTabColor(ColorRef color) {
    setColor(&TabStripState::tabColor, color, kTabColor);
}
void TabStrip::setTabColorActive(ColorRef color) {
    setColor(&TabStripState::tabColorActive, color, kTabColorActive);
}

void TabStrip::setTabFont(const StdFont& font) {
    if (m_state.tabFont == font) {
        return;
    }
    copyFont(font, m_state.tabFont);
    Q_EMIT propertyChanged(kTabFont);
    drawTabs();
}

void TabStrip::setTabFontActive(const StdFont& font) {
    if (m_state.tabFontActive == font) {
        return;
    }
    copyFont(font, m_state.tabFontActive);
    Q_EMIT propertyChanged(kTabFontActive);
    drawTabs();
}

QString TabStrip::tabCaption(int k) const {
    return k >= 1 && k <= m_state.captions.size() ? m_state.captions[k - 1] : QString();
}

QString TabStrip::tabFrameName(int k) const {
    return k >= 1 && k <= m_state.frames.size() ? m_state.frames[k - 1] : QString();
}

QString TabStrip::caption() const {
    return tabCaption(m_state.selectedTab);
}

void TabStrip::setCaption(const QString& caption) {
    const int k = m_state.selectedTab;
    if (m_state.captions[k - 1] == caption) {
        return;
    }
    m_state.captions[k - 1] = caption;
    Q_EMIT propertyChanged(perTabKey(kTabCaption, k));
    drawTabs();
}

QString TabStrip::tabFrame() const {
    return tabFrameName(m_state.selectedTab);
}

void TabStrip::setTabFrame(const QString& frame) {
    const int k = m_state.selectedTab;
    if (m_state.frames[k - 1] == frame) {
        return;
    }
    m_state.frames[k - 1] = frame;
    Q_EMIT propertyChanged(perTabKey(kTabFrame, k));
    drawTabs();
}

void TabStrip::setTabStyle(int style) {
    if (style < 0 || style > 7) {
        return;
    }
    setInt(&TabStripState::tabStyle, style, kTabStyle);
}

void TabStrip::setCaptionAlignment(int alignment) {
    if (alignment < 0 || alignment > 8) {
        return;
    }
    setInt(&TabStripState::captionAlignment, alignment, kCaptionStyle);
}

void TabStrip::setTabsWidth(int width) {
    setInt(&TabStripState::tabsWidth, width, kTabWide);
}
void TabStrip::setTabsHeight(int height) {
    setInt(&TabStripState::tabsHeight, height, kTabHigh);
}

void TabStrip::setTabCount(int count) {
    if (count < 1 || count == m_state.tabCount) {
        return;
    }
    const int previous = m_state.selectedTab;
    m_state.tabCount = count;
    m_state.captions.resize(count);
    m_state.frames.resize(count);
    const bool moved = m_state.selectedTab > count;
    if (moved) {
        m_state.selectedTab = count;
    }
    Q_EMIT propertyChanged(kTabCount);
    drawTabs();
    if (moved) {
        Q_EMIT propertyChanged(kTabSelected);
        Q_EMIT tabClicked(previous, count);
    }
}

void TabStrip::setSelectedTab(int tab) {
    const int old = m_state.selectedTab;
    m_state.selectedTab = std::clamp(tab, 1, m_state.tabCount);
    Q_EMIT propertyChanged(kTabSelected);
    drawTabs();
    if (old != m_state.selectedTab && QAccessible::isActive()) {
        QAccessibleEvent selected(this, QAccessible::Selection);
        selected.setChild(m_state.selectedTab - 1);
        QAccessible::updateAccessibility(&selected);
        announceFocusedTab();
    }
    Q_EMIT tabClicked(old, m_state.selectedTab);
}

void TabStrip::announceFocusedTab() {
    // A screen reader follows the focus: with the strip focused, that is the selected tab.
    if (hasFocus() && QAccessible::isActive()) {
        QAccessibleEvent focused(this, QAccessible::Focus);
        focused.setChild(m_state.selectedTab - 1);
        QAccessible::updateAccessibility(&focused);
    }
}

void TabStrip::setUseFocusRect(bool use) {
    if (m_state.useFocusRect == use) {
        return;
    }
    m_state.useFocusRect = use;
    Q_EMIT propertyChanged(kFocusRect);
    drawTabs();
}

void TabStrip::setShowFrameBorder(bool show) {
    if (m_state.showFrameBorder == show) {
        return;
    }
    m_state.showFrameBorder = show;
    Q_EMIT propertyChanged(kShowFrameBorder);
}

void TabStrip::readProperties(const PropertyBag& bag) {
    TabStripState s;
    s.tabsWidth = readInt(bag, kTabWide, 70);
    s.tabsHeight = readInt(bag, kTabHigh, 20);
    // A stored form written by hand may hold counts the setters would refuse; they fall back to
    // the defaults so that a tab is always selected.
    s.tabCount = readInt(bag, kTabCount, 2);
    if (s.tabCount < 1) {
        s.tabCount = 2;
    }
    s.selectedTab = std::clamp(readInt(bag, kTabSelected, 1), 1, s.tabCount);
    s.tabStyle = readInt(bag, kTabStyle, 0);
    if (s.tabStyle < 0 || s.tabStyle > 7) {
        s.tabStyle = 0;
    }
    s.captionAlignment = readInt(bag, kCaptionStyle, 4);
    if (s.captionAlignment < 0 || s.captionAlignment > 8) {
        s.captionAlignment = 4;
    }
    s.useFocusRect = readBool(bag, kFocusRect, false);
    s.captions.clear();
    s.frames.clear();
    for (int i = 1; i <= s.tabCount; ++i) {
        s.captions << bag.read(perTabKey(kTabCaption, i));
        s.frames << bag.read(perTabKey(kTabFrame, i));
    }
    const StdFont own = StdFont::fromQFont(font());
    copyFont(readFont(bag, kTabFont, own), s.tabFont);
    copyFont(readFont(bag, kTabFontActive, own), s.tabFontActive);
    const TabStripState defaults;
    s.tabColor = readColor(bag, kTabColor, defaults.tabColor);
    s.tabColorActive = readColor(bag, kTabColorActive, defaults.tabColorActive);
    s.textColor = readColor(bag, kTextColor, defaults.textColor);
    s.textColorActive = readColor(bag, kTextColorActive, defaults.textColorActive);
    m_state = s;
    drawTabs();
    m_state.showFrameBorder = readBool(bag, kShowFrameBorder, false);
}

PropertyBag TabStrip::writeProperties() const {
    PropertyBag bag;
    writeInt(bag, kTabWide, m_state.tabsWidth);
    writeInt(bag, kTabHigh, m_state.tabsHeight);
    writeInt(bag, kTabCount, m_state.tabCount);
    writeInt(bag, kTabSelected, m_state.selectedTab);
    writeInt(bag, kTabStyle, m_state.tabStyle);
    writeInt(bag, kCaptionStyle, m_state.captionAlignment);
    writeBool(bag, kFocusRect, m_state.useFocusRect);
    for (int i = 1; i <= m_state.tabCount; ++i) {
        if (!tabCaption(i).isEmpty()) {
            bag.write(perTabKey(kTabCaption, i), tabCaption(i));
        }
        if (!tabFrameName(i).isEmpty()) {
            bag.write(perTabKey(kTabFrame, i), tabFrameName(i));
        }
    }
    writeFont(bag, kTabFont, m_state.tabFont);
    writeFont(bag, kTabFontActive, m_state.tabFontActive);
    writeColor(bag, kTabColor, m_state.tabColor);
    writeColor(bag, kTabColorActive, m_state.tabColorActive);
    writeColor(bag, kTextColor, m_state.textColor);
    writeColor(bag, kTextColorActive, m_state.textColorActive);
    if (m_state.showFrameBorder) {
        writeBool(bag, kShowFrameBorder, true);
    }
    return bag;
}

EdgeRect TabStrip::tabRect(int i) const {
    return kestrova::tabRect(m_state, size(), i);
}

int TabStrip::tabAt(QPoint point) const {
    return kestrova::tabAt(m_state, size(), point);
}

QColor TabStrip::ambientBackColor() const {
    const QWidget* host = parentWidget();
    return host ? host->palette().color(host->backgroundRole()) : palette().color(QPalette::Window);
}

void TabStrip::draw(QPainter& painter, QSize size) const {
    drawTabStrip(painter, m_state, size, palette(), {ambientBackColor(), m_hasFocus});
}

QList<QWidget*> TabStrip::frames() const {
    QList<QWidget*> out;
    for (QObject* child : children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && !w->isWindow() && isFrame(w)) {
            out << w;
        }
    }
    return out;
}

QWidget* TabStrip::tabPage(int k) const {
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

void TabStrip::drawTabs() {
    update();
    switchFrames();
}

void TabStrip::switchFrames() {
    const QString selected = tabFrame();
    for (QWidget* frame : frames()) {
        if (!selected.isEmpty() && frame->objectName() == selected) {
            frame->show();
            frame->raise();
        } else {
            frame->hide();
        }
    }
}

void TabStrip::applyFrameBorders() {
    for (QWidget* frame : frames()) {
        if (auto* box = qobject_cast<QGroupBox*>(frame)) {
            box->setFlat(!m_state.showFrameBorder);
        } else if (auto* f = qobject_cast<QFrame*>(frame)) {
            f->setFrameStyle(m_state.showFrameBorder ? (QFrame::Box | QFrame::Plain)
                                                     : int(QFrame::NoFrame));
        }
    }
}

void TabStrip::setMousePointer(int pointer) {
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

void TabStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    draw(painter, size());
}

void TabStrip::mousePressEvent(QMouseEvent* event) {
    const int tab = tabAt(event->position().toPoint());
    if (tab > 0) {
        setSelectedTab(tab);
    }
    event->accept();
}

void TabStrip::mouseMoveEvent(QMouseEvent* event) {
    setMousePointer(tabAt(event->position().toPoint()) > 0 ? kCustomPointer : kDefaultPointer);
    QWidget::mouseMoveEvent(event);
}

void TabStrip::keyPressEvent(QKeyEvent* event) {
    switch (keyCodeOf(*event)) {
        case KeyLeft:
        case KeyUp:
            setSelectedTab(m_state.selectedTab - 1);
            break;
        case KeyRight:
        case KeyDown:
            setSelectedTab(m_state.selectedTab + 1);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void TabStrip::focusInEvent(QFocusEvent* event) {
    m_hasFocus = true;
    if (m_state.useFocusRect) {
        update();
    }
    QWidget::focusInEvent(event);
}

void TabStrip::focusOutEvent(QFocusEvent* event) {
    m_hasFocus = false;
    if (m_state.useFocusRect) {
        update();
    }
    QWidget::focusOutEvent(event);
}

void TabStrip::showEvent(QShowEvent* event) {
    applyFrameBorders();
    switchFrames();
    QWidget::showEvent(event);
}

void TabStrip::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange) {
        update();
    }
    QWidget::changeEvent(event);
}

void TabStrip::childEvent(QChildEvent* event) {
    // A frame added by the host has no name yet; sort the pages once it has one.
    if (event->added() && event->child()->isWidgetType()) {
        QMetaObject::invokeMethod(this, &TabStrip::switchFrames, Qt::QueuedConnection);
    }
    QWidget::childEvent(event);
}

}  // namespace kestrova
