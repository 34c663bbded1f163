// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The main window's resize rules as a plain function on the controls' rectangles, in twips,
// so that the widget and the tests run the same statements.

#include "platform/twips.h"

#include <QSize>

namespace kestrova {

// Positions are relative to each control's parent: tabStrip to the window, passwordGroup and
// useCacheDataGroup to tabStrip, portalTabs to passwordGroup, loginInfoGroup and
// processingGroup to portalTabs, webBrowser to processingGroup.
struct MainLayout {
    TwipRect tabStrip;
    TwipRect passwordGroup;
    TwipRect portalTabs;
    TwipRect loginInfoGroup;
    TwipRect useCacheDataGroup;
    TwipRect processingGroup;
    TwipRect webBrowser;
    friend bool operator==(const MainLayout&, const MainLayout&) = default;
};

// The resize statements for a window whose inner area is `width` x `height` twips, in their
// order. A statement that would give a control a negative width or height is skipped (the
// control keeps what it had, and later statements read that); every other statement runs.
void resizeMainWindow(MainLayout& layout, int width, int height);

// The fixed-size frame loginInfoGroup after the rules. It has a natural size, its design size or
// larger where its contents ask for more at the user's font. On a page with room for it, it
// has that size where the rules centred it; on a smaller page (a window below the design
// size) it is fitted to the page, a small margin inside it, and its contents scroll. Its page
// is portalTabs below its tabs. (useCacheDataGroup fills its page by the rules.)
void fitFixedFrames(MainLayout& layout, QSize loginInfoNatural);
inline constexpr int kPageMarginTwips = 45;

}  // namespace kestrova
