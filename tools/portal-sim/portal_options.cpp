// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "portal_options.h"

#include <charconv>

namespace kestrova::portal {

namespace {

std::optional<int> parseInt(const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || rest != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

ParsedOptions parseOptions(const std::vector<std::string>& arguments) {
    ParsedOptions parsed;
    PortalOptions& o = parsed.options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> inlineValue;
        if (const std::size_t equals = name.find('=');
            name.starts_with("--") && equals != std::string::npos) {
            inlineValue = name.substr(equals + 1);
            name.resize(equals);
        }
        auto value = [&]() -> std::optional<std::string> {
            if (inlineValue) {
                return inlineValue;
            }
            if (i + 1 < arguments.size()) {
                return arguments[++i];
            }
            parsed.error = name + " needs a value";
            return std::nullopt;
        };
        auto flag = [&](bool& target) {
            if (inlineValue) {
                parsed.error = name + " takes no value";
                return;
            }
            target = true;
        };
        auto number = [&](int& target, int low, int high) {
            const std::optional<std::string> text = value();
            if (!text) {
                return;
            }
            const std::optional<int> n = parseInt(*text, low, high);
            if (!n) {
                parsed.error = name + " must be a whole number from " + std::to_string(low) +
                               " to " + std::to_string(high) + ", not \"" + *text + '"';
                return;
            }
            target = *n;
        };

        if (name == "--help" || name == "-h") {
            parsed.help = true;
        } else if (name == "--port") {
            number(o.port, 0, 65535);
        } else if (name == "--user") {
            if (const auto text = value()) {
                o.user = *text;
                if (o.user.empty()) {
                    parsed.error = "--user must not be empty";
                }
            }
        } else if (name == "--password") {
            if (const auto text = value()) {
                o.password = *text;
            }
        } else if (name == "--any-user") {
            flag(o.anyUser);
        } else if (name == "--delay-ms") {
            number(o.delayMs, 0, 600000);
        } else if (name == "--omit") {
            if (const auto text = value()) {
                o.omit.insert(*text);
            }
        } else if (name == "--drop-session-before-download") {
            flag(o.dropSessionBeforeDownload);
        } else if (name == "--fail-download") {
            flag(o.failDownload);
        } else if (name == "--download-link") {
            if (const auto text = value()) {
                o.downloadLink = *text;
            }
        } else if (name == "--huge-log") {
            number(o.hugeLogMb, 1, 4096);
        } else if (name == "--endless-log") {
            flag(o.endlessLog);
        } else if (name == "--reset-download-after") {
            number(o.resetAfterKb, 1, 1048576);
        } else if (name == "--today") {
            if (const auto text = value()) {
                o.today = parseIsoDate(*text);
                if (!o.today) {
                    parsed.error = "--today must be a date as YYYY-MM-DD, not \"" + *text + '"';
                }
            }
        } else if (name == "--sessions-per-day") {
            number(o.sessionsPerDay, 1, 1000);
        } else if (name == "--page-size") {
            number(o.pageSize, 1, 1000);
        } else if (name == "--verbose") {
            flag(o.verbose);
        } else {
            parsed.error = "unknown option \"" + arguments[i] + "\" (see --help)";
        }
        if (!parsed.error.empty()) {
            break;
        }
    }
    return parsed;
}

std::string helpText() {
    return R"(Usage: portal-sim [options]

A stand-in for the provider's selfcare portal, for the demo and the end-to-end tests.
It listens on 127.0.0.1 only and prints "listening on 127.0.0.1:PORT" as its first line.
SIGINT and SIGTERM stop it (exit status 0).

Options:
  --port N           port to listen on; 0 (the default) lets the system choose one
  --user ID          the user id that may log in (default "demo")
  --password TEXT    the password that logs in (default "demo")
  --any-user         every non-empty user id logs in with the password; each user id
                     has its own usage data
  --today YYYY-MM-DD the portal's today (default: the local date); there is no usage
                     after it
  --page-size N      entries per page of the usage table (default 10)
  --sessions-per-day N
                     every day has exactly N sessions (a heavy user's month, for
                     benchmarks; default: 0 to 6, varying by day)
  --delay-ms N       wait N milliseconds before every response
  --omit ID          leave the element with this id (or form name) out of every page;
                     may be given more than once
  --drop-session-before-download
                     the download ends the session, so it gets the login page
  --fail-download    the download answers 500 with no body
  --download-link URL
                     the usage view's download link is URL (file:///etc/passwd, another
                     host), whatever the chosen period
  --huge-log MB      the download is a log of MB megabytes of records, its length told
  --endless-log      the download sends records without end, no length told
  --reset-download-after KB
                     the download tells a length of twice KB kilobytes, sends KB of them
                     and closes the connection
  --verbose          print one line per request on standard error
  --help             print this text

Log in: the login form posts user id and password; a wrong pair shows the login page
again, a right one sets the session cookie and shows the top page. Every page but the
login page needs the session cookie and shows the login page without it.

Pages:
  /                    login page: logonuidfield, logonpassfield, uidPasswordLogon, and
                       frame 0 /frames/notice (no session needed), so the page completes
                       twice: the frame, then the page
  POST /login          log in; redirects to /home
  /home                top page: welcome_message, frames 0 to 2
  /frames/header, /frames/menu, /frames/work
                       frames 0, 1 and 2 of the top page; /frames/work holds frame 0
                       /frames/title and frame 1 /nav, the navigation view
  /nav                 link aaab.NavigationView.ToolBarLinkToAction3 -> /nav/services
  /nav/services        link aaab.NavigationView.LinkToAction38 -> /nav/usage
  /nav/usage           the six drop-downs aaab.BBUsageView.ddkFromDay ... ddkToYear (this
                       month from its first day to today) and the link "View Usage
                       Details" (id aaab.BBUsageView.ViewUsageDetails)
  /nav/usage?show=1&aaab.BBUsageView.ddkFromDay=DD&... (all six)
                       the same view for the chosen period, with the download link
                       aaab.BBUsageView.ToolBarLinkToURL
  /usage.csv?from=YYYY-MM-DD&to=YYYY-MM-DD
                       the usage log of the period, newest first:
                       Date,Time,Duration,Download (MB),Upload (MB),Total (MB), CR LF lines
  /usage/unbilled?page=N
                       the usage table of this month up to today, page N from 0
                       (form SWEForm2_0)
  /usage/billed?month=YYYY-MM&page=N
                       the usage table of a past month, the last one by default
                       (form SWEForm1_0)
                       A month or page without usage shows the "not available" page.
)";
}

}  // namespace kestrova::portal
