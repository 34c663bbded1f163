// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "portal_pages.h"

#include <cstdio>

namespace kestrova::portal {

namespace {

std::string page(std::string_view title, std::string_view body) {
    std::string html = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>";
    html += htmlEscape(title);
    html += "</title></head>\n<body>\n";
    html += body;
    html += "</body></html>\n";
    return html;
}

std::string padded(int value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

std::string dayMonthYear(Date date) {
    return padded(int(unsigned(date.day())), 2) + '-' + padded(int(unsigned(date.month())), 2) +
           '-' + padded(int(date.year()), 4);
}

}  // namespace

std::string_view formName(Billing billing) {
    return billing == Billing::Unbilled ? "SWEForm2_0" : "SWEForm1_0";
}

std::string htmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Pages::login(std::string_view message) const {
    // The program fills the form only at the second document complete after it navigates:
    // the notice frame completes first, then the login page.
    std::string body =
        "<h1>ORVO selfcare</h1>\n"
        "<iframe name=\"notice\" src=\"/frames/notice\" width=\"100%\" "
        "height=\"48\"></iframe>\n";
    if (!message.empty()) {
        body += "<p id=\"logonmessage\">" + htmlEscape(message) + "</p>\n";
    }
    body += "<form name=\"logonForm\" method=\"post\" action=\"/login\">\n";
    if (shown("logonuidfield")) {
        body +=
            "<label>User id <input type=\"text\" id=\"logonuidfield\" name=\"logonuidfield\">"
            "</label><br>\n";
    }
    if (shown("logonpassfield")) {
        body +=
            "<label>Password <input type=\"password\" id=\"logonpassfield\" "
            "name=\"logonpassfield\"></label><br>\n";
    }
    if (shown("uidPasswordLogon")) {
        body +=
            "<input type=\"submit\" id=\"uidPasswordLogon\" name=\"uidPasswordLogon\" "
            "value=\"Log on\">\n";
    }
    body += "</form>\n";
    return page("Log on", body);
}

std::string Pages::top(std::string_view userId) const {
    std::string body;
    if (shown("welcome_message")) {
        body += "<div id=\"welcome_message\">Welcome, " + htmlEscape(userId) + "</div>\n";
    }
    // The program counts frames: the navigation lives in frame 2's frame 1.
    body +=
        "<iframe name=\"header\" src=\"/frames/header\" width=\"100%\" height=\"40\"></iframe>\n"
        "<iframe name=\"menu\" src=\"/frames/menu\" width=\"100%\" height=\"40\"></iframe>\n"
        "<iframe name=\"work\" src=\"/frames/work\" width=\"100%\" height=\"640\"></iframe>\n";
    return page("ORVO selfcare", body);
}

std::string Pages::noticeFrame() const {
    return page("Notice", "Selfcare is available around the clock.\n");
}

std::string Pages::headerFrame() const {
    return page("Header", "<b>ORVO</b> selfcare portal\n");
}

std::string Pages::menuFrame() const {
    return page("Menu", "<span>Account</span> | <span>Services</span> | <span>Help</span>\n");
}

std::string Pages::workFrame() const {
    return page("Work area",
                "<iframe name=\"title\" src=\"/frames/title\" width=\"100%\" height=\"48\">"
                "</iframe>\n"
                "<iframe name=\"nav\" src=\"/nav\" width=\"100%\" height=\"540\"></iframe>\n");
}

std::string Pages::titleFrame() const {
    return page("Title", "My account\n");
}

std::string Pages::navigation() const {
    std::string body = "<h2>My account</h2>\n";
    if (shown("aaab.NavigationView.ToolBarLinkToAction3")) {
        body +=
            "<a id=\"aaab.NavigationView.ToolBarLinkToAction3\" href=\"/nav/services\">"
            "My services</a>\n";
    }
    return page("Navigation", body);
}

std::string Pages::services() const {
    std::string body = "<h2>My services</h2>\n";
    if (shown("aaab.NavigationView.LinkToAction38")) {
        body +=
            "<a id=\"aaab.NavigationView.LinkToAction38\" href=\"/nav/usage\">"
            "Broadband usage</a>\n";
    }
    return page("Services", body);
}

std::string Pages::select(std::string_view name, int first, int last, int width, int chosen) const {
    if (!shown(name)) {
        return {};
    }
    std::string html =
        "<select id=\"" + std::string(name) + "\" name=\"" + std::string(name) + "\">";
    for (int v = first; v <= last; ++v) {
        const std::string text = padded(v, width);
        html += "<option value=\"";
        html += text;
        html += v == chosen ? "\" selected>" : "\">";
        html += text;
        html += "</option>";
    }
    return html + "</select>";
}

std::string Pages::usageView(const UsageViewState& state) const {
    std::string body =
        "<h2>Broadband usage</h2>\n"
        "<form id=\"usageForm\" name=\"usageForm\" method=\"get\" "
        "action=\"/nav/usage\">\n<input type=\"hidden\" name=\"show\" value=\"1\">\n"
        "<table>\n<tr><td>From</td><td>";
    body += select(kFromDay, 1, 31, 2, int(unsigned(state.from.day()))) + "</td><td>";
    body += select(kFromMonth, 1, 12, 2, int(unsigned(state.from.month()))) + "</td><td>";
    body += select(kFromYear, state.firstYear, state.lastYear, 4, int(state.from.year()));
    body += "</td></tr>\n<tr><td>To</td><td>";
    body += select(kToDay, 1, 31, 2, int(unsigned(state.to.day()))) + "</td><td>";
    body += select(kToMonth, 1, 12, 2, int(unsigned(state.to.month()))) + "</td><td>";
    body += select(kToYear, state.firstYear, state.lastYear, 4, int(state.to.year()));
    body += "</td></tr>\n</table>\n";
    if (shown("aaab.BBUsageView.ViewUsageDetails")) {
        body +=
            "<a id=\"aaab.BBUsageView.ViewUsageDetails\" href=\"/nav/usage\" "
            "onclick=\"document.getElementById('usageForm').submit(); return false;\">"
            "View Usage Details</a>\n";
    }
    body += "</form>\n";
    if (!state.error.empty()) {
        body += "<p class=\"error\">" + htmlEscape(state.error) + "</p>\n";
    }
    if (state.showDetails) {
        body += "<p>Usage from " + dayMonthYear(state.from) + " to " + dayMonthYear(state.to) +
                ": " + std::to_string(state.sessions) + " sessions.</p>\n";
        if (shown("aaab.BBUsageView.ToolBarLinkToURL")) {
            body += R"(<a id="aaab.BBUsageView.ToolBarLinkToURL" href=")" +
                    htmlEscape(state.downloadHref) + "\">Download usage log</a>\n";
        }
    }
    return page("Broadband usage", body);
}

std::string Pages::usageTable(const UsageTablePage& p) const {
    const std::string_view form = formName(p.billing);
    std::string body;
    if (!shown(form)) {
        return page(p.title, "<p>" + htmlEscape(p.title) + "</p>\n");
    }
    auto link = [](std::string_view href, std::string_view text) {
        return href.empty() ? "<span>" + std::string(text) + "</span>"
                            : "<a href=\"" + htmlEscape(href) + "\">" + std::string(text) + "</a>";
    };
    // The program walks this nesting by child, row and cell index; see the paths in the tests.
    body += "<form name=\"" + std::string(form) + "\" id=\"" + std::string(form) +
            "\" method=\"get\">\n<div class=\"applet\">\n<div class=\"title\">" +
            htmlEscape(p.title) + "</div>\n";
    body += "<table class=\"toolbar\"><tr><td>" + link(p.previousHref, "Previous") + "</td><td>" +
            std::to_string(p.totalEntries) + " entries</td><td>";
    body += "<table class=\"pager\"><tr><td>" + link(p.page > 0 ? p.previousHref : "", "First") +
            "</td><td>" + link(p.previousHref, "&lt;") + "</td><td>Page " +
            std::to_string(p.page + 1) + " of " + std::to_string(p.pageCount) + "</td><td>" +
            (p.entries.empty() ? std::string()
                               : "Entries " + std::to_string(p.firstEntry + 1) + " to " +
                                     std::to_string(p.firstEntry + p.entries.size())) +
            "</td><td>";
    body += p.nextHref.empty() ? "<span class=\"disabled\">Next</span>"
                               : "<a href=\"" + htmlEscape(p.nextHref) + "\">Next</a>";
    body += "</td></tr></table></td></tr></table>\n";
    body +=
        "<table class=\"frame\"><tr><td><table class=\"list\" border=\"1\">\n"
        "<tr><th>Session start</th><th>Time</th><th>Duration</th><th>Download (MB)</th>"
        "<th>Upload (MB)</th><th>Total (MB)</th></tr>\n";
    for (const UsageRecord& r : p.entries) {
        const auto fields = r.fields();
        body += "<tr><td>" + r.tableStartText() + "</td>";
        for (std::size_t i = 1; i < fields.size(); ++i) {
            body += "<td>" + fields[i] + "</td>";
        }
        body += "</tr>\n";
    }
    body +=
        "</table></td></tr></table>\n</div>\n"
        "<input type=\"hidden\" name=\"page\" value=\"" +
        std::to_string(p.page) +
        "\">\n"
        "</form>\n";
    return page(p.title, body);
}

std::string Pages::notAvailable() const {
    return page("Usage details",
                "<p class=\"message\">" + std::string(kNotAvailableText) + "</p>\n");
}

}  // namespace kestrova::portal
