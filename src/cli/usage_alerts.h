// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// kestrova-check --notify: which alert a check raises, given the month's forecast and what was
// already raised for that month and user id, and where that is remembered.

#include "results/forecast.h"

#include <QLocale>
#include <QString>
#include <functional>
#include <optional>

namespace kestrova {

class DesktopNotifier;
class SettingsStore;

// What was raised for one user id in one usage month. Each level is raised once a month.
struct NotifiedAlerts {
    QString month;            // "2026-11"; empty: nothing raised yet
    bool nearlyUsed = false;  // 80 % of the allowance used
    bool used = false;        // the allowance passed (more than 100 % used)
    bool runsOut = false;     // the forecast said the allowance runs out before the month ends

    friend bool operator==(const NotifiedAlerts&, const NotifiedAlerts&) = default;
};

struct AlertDecision {
    // The notification's text; empty when there is nothing new to tell.
    QString text;
    // What is remembered once the text has been shown.
    NotifiedAlerts notified;
};

// The alert for the forecast's month: raised when a level is reached that was not raised in
// that month yet (a new month starts afresh), and then one text giving every figure, such as
// "82 % of 1024 MB used; at this pace it runs out about 24 Dec; daily budget 14.15 MB" (no
// budget once the allowance has run out or the month is over). Unlimited plans raise nothing.
AlertDecision decideAlert(const Forecast& forecast, const NotifiedAlerts& before,
                          const QLocale& locale = QLocale());

// kestrova-check --notify after a check: decides with what the settings store remembers for
// `userId`, shows the alert through `notifier` and remembers it once shown. `done` runs once
// with the alert's text when no notification service showed it (for standard error; it is
// raised again next time), else with nothing; at once when there is nothing to raise.
void raiseAlert(const Forecast& forecast, const QString& userId, DesktopNotifier& notifier,
                std::function<void(const QString& unshown)> done);

// The settings store's section that keeps what was raised, one key per user id.
QString alertSection();
// What was raised for `userId`; a damaged value reads as nothing raised.
NotifiedAlerts readNotifiedAlerts(const SettingsStore& store, const QString& userId);
void writeNotifiedAlerts(SettingsStore& store, const QString& userId,
                         const NotifiedAlerts& notified);

}  // namespace kestrova
