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

void ResizeMainWindow(MainLayout& l, int W, int H) {
    setWidth(l.ctlTabs1, W - 250);
    setHeight(l.ctlTabs1, H - 750);
    setWidth(l.fraPassword, W - 400);
    setHeight(l.fraPassword, H - 1200);
    setWidth(l.ctlPasswordVersion, l.fraPassword.width - 125);
    setHeight(l.ctlPasswordVersion, l.ctlTabs1.height - 750);
    l.fraLoginInfo.left = (l.ctlPasswordVersion.width - l.fraLoginInfo.width) / 2;
    // The cache page holds the history of the cached months too: it takes the whole page, as
    // the login details do.
    l.fraUseCacheData = l.fraPassword;
    setWidth(l.fraProcessing, l.fraPassword.width - 300);
    setWidth(l.WebBrowser1, l.fraProcessing.width - 200);
    setHeight(l.fraProcessing, l.fraPassword.height - 700);
    setHeight(l.WebBrowser1, l.fraProcessing.height - 600);
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

void FitFixedFrames(MainLayout& l, QSize loginInfoNatural) {
    fitFrame(l.fraLoginInfo, loginInfoNatural, l.ctlPasswordVersion.width,
             l.ctlPasswordVersion.width, l.ctlPasswordVersion.height);
}

}  // namespace kestrova
