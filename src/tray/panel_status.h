// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the panel says about the month: read from the last check that kestrova-check (the
// daily timer) or the window kept, and from a failure kept beside it since. Plain values for
// the tray item's tool tip and its gauge; a document that is damaged, hostile or of another
// shape gives the reason it cannot be read instead of figures.

#include "results/last_check.h"

#include <QDate>
#include <QDateTime>
#include <QJsonObject>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

namespace kestrova {

// The gauge's colour: what the forecast says of the allowance.
enum class GaugeLevel {
    Unknown,        // no check, no plan to measure against, or nothing readable
    LastsTheMonth,  // "Lasts the month"
    RunsOut,        // "Runs out about" a day of this month
    RanOut,         // "Ran out on" a day already passed
    Unlimited,      // nothing to run out
};

struct PanelStatus {
    bool hasCheck = false;
    // Why the last check's document cannot be read; empty when it can (or there is none).
    QString unreadable;

    QString user;
    bool billed = false;
    QDateTime checkedAt;
    double monthMB = 0;  // the month's total

    // With a plan (the check priced the month):
    bool priced = false;
    GaugeLevel level = GaugeLevel::Unknown;
    double usedMB = 0;  // as the plan counts it
    double allowanceMB = 0;
    int usedPercent = 0;
    QDate lastUsedDate;  // the day the month's records reach: day d of the month
    bool monthComplete = false;
    QDate allowanceDate;  // RunsOut: about when; RanOut: when
    std::optional<double> dailyBudgetMB;
    double projectedTotalAndTax = 0;
    QString cheapestName;
    double cheapestTotalAndTax = 0;

    // A check that failed after the last successful one.
    std::optional<CheckFailure> failure;

    // The share of the allowance used, for the gauge: 0 to 1 (more is drawn as 1).
    double usedShare() const;
};

// The status a check's document gives (a failure aside).
PanelStatus panelStatusOf(const QJsonObject& document);
// The last check of `files`, with its failure when that is newer. No document: hasCheck is
// false (a failure may still be there).
PanelStatus readPanelStatus(const LastCheckFiles& files);

// Which last check the panel follows in `folder`: `user`'s unbilled usage, as the daily check
// fetches it, when it has one; else the newest of any user id and kind; else `user`'s (not
// there yet).
LastCheckFiles chooseLastCheck(const QString& folder, const QString& user);

// The tool tip's lines: who, used of the allowance, day d of D and the outlook, the daily
// budget, the projected Total + Tax, the cheapest plan at this pace, when it was checked, and
// a later failure. The same text is the item's accessible description.
QStringList toolTipLines(const PanelStatus& status, const QLocale& locale = QLocale());

}  // namespace kestrova
