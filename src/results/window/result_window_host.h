// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace kestrova {

// What the result window asks of the main window besides its public variables (which it
// reaches through RetrievalState).
class ResultWindowHost {
public:
    virtual ~ResultWindowHost() = default;
    // Rebuilds the report page, the chart data texts and the summary from the report skeleton
    // (after a row colour or an exclusion option changed).
    virtual void writeOutput() = 0;
    // Opens an address with the user's default handler.
    virtual void openLink(const QString& address) = 0;
};

// The result window's public flags that the main window and the window's own handlers share.
struct ResultWindowFlags {
    // The office chart object has been created; cleared when the window unloads.
    bool graphInitialised = false;
    // While set, the chart option check boxes change nothing (the main window sets it while it
    // puts the stored options into them).
    bool disableRefreshing = false;
    // The built-in chart holds the current data; the main window clears it after each grab.
    bool inbuiltChartInitialised = false;
};

}  // namespace kestrova
