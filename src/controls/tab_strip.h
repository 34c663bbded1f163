// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// TabStrip: a container that draws a strip of tabs along one side of a page and, for the
// selected tab, shows the contained frame named for it while hiding the other frames.
//
// Frames are the direct child widgets that are QGroupBox or QFrame (labels and scroll areas,
// which Qt also derives from QFrame, do not count). The host places them inside the page.
// Every property setter tells the host through propertyChanged(key) under the property's
// stored key, so it can save the control's stored form.

#include "controls/tab_strip_geometry.h"
#include "platform/property_bag.h"

#include <QWidget>

namespace kestrova {

class TabStrip : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("TextColor", "Returns/sets the text color of all inactive tabs")
    Q_CLASSINFO("TextColorActive", "Returns/sets the text color of the active tab")
    Q_CLASSINFO("TabColor", "Returns/sets the background color of all inactive tabs")
    Q_CLASSINFO("TabColorActive",
                "Returns/sets the background color of the active tab and the container area of "
                "the control")
    Q_CLASSINFO("TabFont", "Returns/sets the font attributes of all inactive tabs")
    Q_CLASSINFO("TabFontActive", "Returns/sets the font attributes of the active tab")
    Q_CLASSINFO("Caption", "Returns/Sets captions for each tab")
    Q_CLASSINFO("Style", "Returns/sets the position of the tabs on the control")
    Q_CLASSINFO("CaptionAlignment", "Returns/sets the position of captions within the tabs")
    Q_CLASSINFO("TabsWidth", "Returns/sets the width of each tab (in pixels)")
    Q_CLASSINFO("TabsHeight", "Returns/sets the height of each tab (in pixels)")
    Q_CLASSINFO("Tabs", "Returns/sets the number of tabs on the control")
    Q_CLASSINFO("SelectedTab", "Returns/sets the currently selected tab")
    Q_CLASSINFO("UseFocusRect",
                "Returns/sets whether a focus rectangle will be displayed when a tab has the "
                "focus")
    Q_CLASSINFO("ScaleMode", "ScaleMode always returns 1 (Twips) on this control")
    Q_CLASSINFO("TabClick", "Event raised when the user clicks on a tab")

public:
    // Pointer values of mousePointer(): the custom pointer over a tab, the default elsewhere.
    static constexpr int kDefaultPointer = 0;
    static constexpr int kCustomPointer = 99;

    explicit TabStrip(QWidget* parent = nullptr);

    const TabStripState& state() const { return m_state; }

    // The unit of positions of controls placed inside: always 1 (twips).
    int scaleMode() const { return 1; }

    ColorRef textColor() const { return m_state.textColor; }
    void setTextColor(ColorRef color);
    ColorRef textColorActive() const { return m_state.textColorActive; }
    void setTextColorActive(ColorRef color);
    ColorRef tabColor() const { return m_state.tabColor; }
    void setTabColor(ColorRef color);
    ColorRef tabColorActive() const { return m_state.tabColorActive; }
    void setTabColorActive(ColorRef color);

    const StdFont& tabFont() const { return m_state.tabFont; }
    // Copies the font's eight attributes into the control's own font object.
    void setTabFont(const StdFont& font);
    const StdFont& tabFontActive() const { return m_state.tabFontActive; }
    void setTabFontActive(const StdFont& font);

    // Caption and frame name of the selected tab; select tab k first to set tab k's.
    QString caption() const;
    void setCaption(const QString& caption);
    QString tabFrame() const;
    void setTabFrame(const QString& frame);
    // Tab k's caption and frame name (1-based), empty out of range.
    QString tabCaption(int k) const;
    QString tabFrameName(int k) const;

    int tabStyle() const { return m_state.tabStyle; }
    // 0 to 7; other values are ignored.
    void setTabStyle(int style);
    int captionAlignment() const { return m_state.captionAlignment; }
    // 0 to 8; other values are ignored.
    void setCaptionAlignment(int alignment);
    int tabsWidth() const { return m_state.tabsWidth; }
    void setTabsWidth(int width);
    int tabsHeight() const { return m_state.tabsHeight; }
    void setTabsHeight(int height);
    int tabCount() const { return m_state.tabCount; }
    // At least 1 (smaller values are ignored). New tabs get empty captions and frame names; a
    // selection beyond the new count moves to the last tab and raises tabClicked.
    void setTabCount(int count);
    int selectedTab() const { return m_state.selectedTab; }
    // Clamped to 1..tabCount; raises tabClicked(old, new) on every assignment, also an unchanged
    // one.
    void setSelectedTab(int tab);
    bool useFocusRect() const { return m_state.useFocusRect; }
    void setUseFocusRect(bool use);
    bool showFrameBorder() const { return m_state.showFrameBorder; }
    // Takes effect the next time the control is shown.
    void setShowFrameBorder(bool show);

    int mousePointer() const { return m_mousePointer; }

    // Stored properties, read and written in their fixed order under their fixed keys.
    void readProperties(const PropertyBag& bag);
    PropertyBag writeProperties() const;

    // The geometry that painting and the mouse share, for the current size.
    EdgeRect tabRect(int i) const;
    int tabAt(QPoint point) const;
    void draw(QPainter& painter, QSize size) const;
    // The contained frames that take part in the page switching.
    QList<QWidget*> frames() const;
    // The frame shown for tab k (1-based): the contained frame named for it, or nullptr.
    QWidget* tabPage(int k) const;

Q_SIGNALS:
    void tabClicked(int oldTab, int newTab);
    void propertyChanged(const QString& key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void childEvent(QChildEvent* event) override;

private:
    void setColor(ColorRef TabStripState::*member, ColorRef color, const QString& key);
    void setInt(int TabStripState::*member, int value, const QString& key);
    // drawTabs: repaint and switch the frames.
    void drawTabs();
    void switchFrames();
    void applyFrameBorders();
    void setMousePointer(int pointer);
    void announceFocusedTab();
    QColor ambientBackColor() const;

    TabStripState m_state;
    bool m_hasFocus = false;
    int m_mousePointer = kDefaultPointer;
};

}  // namespace kestrova
