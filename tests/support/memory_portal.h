// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The provider's portal scripted on the in-memory browser, at http://portal.test: the log-in
// page, the frames of the portal once logged in, the usage page with its date drop-downs
// (April 2013) and the log it offers.

#include "support/memory_browser.h"
#include "support/qt_printers.h"

#include <functional>
#include <initializer_list>
#include <vector>

namespace kestrova::testing::memory_portal {

using kestrova::test::q;

inline QUrl at(const char* path) {
    return QUrl(q("http://portal.test") + q(path));
}

inline MemoryPage page(const char* path, const QString& body, std::vector<MemoryPage> frames = {}) {
    return MemoryPage{at(path), u"<html><head></head><body>" + body + u"</body></html>",
                      std::move(frames)};
}

inline const QByteArray kLog =
    "Date,Time,Duration,Download (MB),Upload (MB),Total (MB)\r\n"
    "2013-04-17,10:20:33,00:12:00,12.5,1.25,13.75\r\n"
    "2013-04-02,09:00:00,00:01:00,1,0.5,1.5\r\n";

// A drop-down of the usage view with `chosen` selected.
inline QString select(const char* id, const char* chosen,
                      std::initializer_list<const char*> values) {
    QString html = u"<select id=\"aaab.BBUsageView." + q(id) + u"\">";
    for (const char* v : values) {
        html += u"<option value=\"" + q(v) + u'"' +
                (qstrcmp(v, chosen) == 0 ? q(" selected") : QString()) + u'>' + q(v) + u"</option>";
    }
    return html + u"</select>";
}

inline QString usageView(bool withLog, const QString& logLink = q("/usage.csv")) {
    QString body =
        select("ddkFromDay", "01", {"01", "02"}) + select("ddkFromMonth", "04", {"03", "04"}) +
        select("ddkFromYear", "2013", {"2012", "2013"}) + select("ddkToDay", "17", {"16", "17"}) +
        select("ddkToMonth", "04", {"03", "04"}) + select("ddkToYear", "2013", {"2012", "2013"}) +
        q("<a id=\"details\" href=\"/nav/details\">View Usage Details</a>");
    if (withLog) {
        body += u"<a id=\"aaab.BBUsageView.ToolBarLinkToURL\" href=\"" + logLink + u"\">log</a>";
    }
    return body;
}

// The portal's shape: the navigation view is frame 1 of frame 2.
inline MemoryPage portalTop(const QString& navigation) {
    return page("/home", q("<div id=\"welcome_message\">Welcome</div>"),
                {page("/header", q("h")), page("/menu", q("m")),
                 page("/work", q("w"), {page("/title", q("t")), page("/nav", navigation)})});
}

inline MemoryPage loginPage() {
    return page("/",
                q("<input id=\"logonuidfield\"><input id=\"logonpassfield\" "
                  "type=\"password\"><input id=\"uidPasswordLogon\" type=\"submit\">"),
                {page("/notice", q("notice"))});
}

// The whole portal on `browser`: any user id and password log in, and `typed` hears them.
inline void script(MemoryBrowser& browser,
                   std::function<void(const QString& user, const QString& password)> typed = {}) {
    browser.addRoute(at("/"), loginPage());
    browser.setClickReaction(q("uidPasswordLogon"), [typed](MemoryBrowser& b, const MemoryClick&) {
        const auto login = b.documentAt({});
        if (typed) {
            typed(login->elementById(q("logonuidfield"))->value(),
                  login->elementById(q("logonpassfield"))->value());
        }
        b.load({}, portalTop(q("<a id=\"aaab.NavigationView.ToolBarLinkToAction3\" "
                               "href=\"/nav/services\">Services</a>")));
    });
    browser.addRoute(at("/nav/services"),
                     page("/nav/services", q("<a id=\"aaab.NavigationView.LinkToAction38\" "
                                             "href=\"/nav/usage\">Usage</a>")));
    browser.addRoute(at("/nav/usage"), page("/nav/usage", usageView(false)));
    browser.addRoute(at("/nav/details"), page("/nav/details", usageView(true)));
    browser.setDownload(at("/usage.csv"), kLog);
}

}  // namespace kestrova::testing::memory_portal
