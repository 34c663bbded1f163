// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The command line of portal-sim.

#include "usage_data.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kestrova::portal {

struct PortalOptions {
    int port = 0;  // 0: the system chooses a free port
    std::string user = "demo";
    std::string password = "demo";
    bool anyUser = false;        // every non-empty user id logs in with `password`
    int delayMs = 0;             // waited before every response
    std::set<std::string> omit;  // ids (and form names) left out of every page
    bool dropSessionBeforeDownload = false;
    bool failDownload = false;
    std::string downloadLink;   // not empty: the usage view's download link, whatever it is
    int hugeLogMb = 0;          // > 0: the download is a log of this many MB, its length told
    bool endlessLog = false;    // the download sends log lines without end, no length told
    int resetAfterKb = 0;       // > 0: the download tells twice this many KB, breaks off after
    std::optional<Date> today;  // the portal's "today"; the local date when unset
    int pageSize = 10;          // entries per page of the usage table
    int sessionsPerDay = 0;     // > 0: every day has exactly that many sessions
    bool verbose = false;       // one line per request on standard error
};

struct ParsedOptions {
    PortalOptions options;
    bool help = false;
    std::string error;  // empty when the command line was understood
};

// `arguments` without the program name.
ParsedOptions parseOptions(const std::vector<std::string>& arguments);

std::string helpText();

}  // namespace kestrova::portal
