// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The main window's resize rules as a plain function on the controls' rectangles, in twips,
// so that the widget and the tests run the same statements.

#include "platform/twips.h"

#include <QSize>

namespace kestrova {

// Positions are relative to each control's parent: ctlTabs1 to the window, fraPassword and
// fraUseCacheData to ctlTabs1, ctlPasswordVersion to fraPassword, fraLoginInfo and
// fraProcessing to ctlPasswordVersion, WebBrowser1 to fraProcessing.
struct MainLayout {
    TwipRect ctlTabs1;
    TwipRect fraPassword;
    TwipRect ctlPasswordVersion;
    TwipRect fraLoginInfo;
    TwipRect fraUseCacheData;
    TwipRect fraProcessing;
    TwipRect WebBrowser1;
    friend bool operator==(const MainLayout&, const MainLayout&) = default;
};

// The resize statements for a window whose inner area is `width` x `height` twips, in their
// order. A statement that would give a control a negative width or height is skipped (the
// control keeps what it had, and later statements read that); every other statement runs.
void ResizeMainWindow(MainLayout& layout, int width, int height);

// The fixed-size frame fraLoginInfo after the rules. It has a natural size, its design size or
// larger where its contents ask for more at the user's font. On a page with room for it, it
// has that size where the rules centred it; on a smaller page (a window below the design
// size) it is fitted to the page, a small margin inside it, and its contents scroll. Its page
// is ctlPasswordVersion below its tabs. (fraUseCacheData fills its page by the rules.)
void FitFixedFrames(MainLayout& layout, QSize loginInfoNatural);
inline constexpr int kPageMarginTwips = 45;

}  // namespace kestrova
