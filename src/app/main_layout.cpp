// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/main_layout.h"

#include <algorithm>

namespace kestrova {

namespace {
void setWidth(TwipRect& r, int width) {
    if (width >= 0) {
        r.width = width;
    }
}
void setHeight(TwipRect& r, int height) {
    if (height >= 0) {
        r.height = height;
    }
}
}  // namespace

void resizeMainWindow(MainLayout& l, int width, int height) {
    setWidth(l.tabStrip, width - 250);
    setHeight(l.tabStrip, height - 750);
    setWidth(l.passwordGroup, width - 400);
    setHeight(l.passwordGroup, height - 1200);
    setWidth(l.portalTabs, l.passwordGroup.width - 125);
    setHeight(l.portalTabs, l.tabStrip.height - 750);
    l.loginInfoGroup.left = (l.portalTabs.width - l.loginInfoGroup.width) / 2;
    // The cache page holds the history of the cached months too: it takes the whole page, as
    // the login details do.
    l.useCacheDataGroup = l.passwordGroup;
    setWidth(l.processingGroup, l.passwordGroup.width - 300);
    setWidth(l.webBrowser, l.processingGroup.width - 200);
    setHeight(l.processingGroup, l.passwordGroup.height - 700);
    setHeight(l.webBrowser, l.processingGroup.height - 600);
}

namespace {
// One frame on its page: its natural width centred on `centreWidth` as the rules centre it,
// then kept inside the page's width and height (less the margin).
void fitFrame(TwipRect& frame, QSize natural, int centreWidth, int pageWidth, int pageHeight) {
    const int room = std::max(0, pageWidth - 2 * kPageMarginTwips);
    frame.width = std::min(natural.width(), room);
    frame.left = std::max(kPageMarginTwips, (centreWidth - frame.width) / 2);
    if (frame.left + frame.width > pageWidth - kPageMarginTwips) {
        frame.left = std::max(0, pageWidth - kPageMarginTwips - frame.width);
    }
    frame.height =
        std::min(natural.height(), std::max(0, pageHeight - frame.top - kPageMarginTwips));
}
}  // namespace

void fitFixedFrames(MainLayout& l, QSize loginInfoNatural) {
    fitFrame(l.loginInfoGroup, loginInfoNatural, l.portalTabs.width, l.portalTabs.width,
             l.portalTabs.height);
}

}  // namespace kestrova
