// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The cached months side by side: for each cache file of the program's folder (of one user id,
// or of all), the month's records, days with usage and total, its bill on the chosen plan and
// the plan that would have been cheapest; across the months, the total, the average and the
// plan that would have cost least over all of them together.

#include "results/summary_report.h"
#include "retrieval/retrieval_state.h"

#include <QDate>
#include <QJsonObject>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace kestrova {

struct HistoryMonth {
    QString item;  // the file's name without ".cache2"
    QString file;
    QString period;  // "2026-11-unbilled", as the cache page gives it
    QString month;   // "2026-11"; empty for a name of another form
    QString user;    // as the name holds it
    // Empty when the month could be read; else why not (it takes no part in the totals).
    QString problem;
    int records = 0;
    int days = 0;
    std::int64_t monthMB = 0;  // the report's month total (rounded to whole MB once)
    SummaryInputs inputs;
    // The bill on the chosen plan, as the Summary tab shows it for the month under the plan
    // type the history was built for.
    std::optional<PlanCost> chosen;
    // Every plan on this month, cheapest first, each priced on what it charges (the night
    // plans on the night split), whatever the plan type.
    PlanCost cheapest;
    std::vector<PlanCost> ranking;

    bool readable() const { return problem.isEmpty(); }
};

// A plan's cost over all the readable months: the sum of each month's total + tax as shown
// (to the paisa).
struct PlanOverMonths {
    int slot = 0;
    QString name;
    QString entryText;
    std::int64_t paise = 0;

    double rupees() const { return double(paise) / 100.0; }
};

struct History {
    std::vector<HistoryMonth> months;  // in name order (oldest first), unreadable ones too
    int readableMonths = 0;
    std::int64_t totalMB = 0;
    double averageMB = 0;  // per readable month
    std::optional<PlanOverMonths> cheapest;
    std::optional<PlanOverMonths> chosen;
    // chosen - cheapest, when both are known.
    std::optional<std::int64_t> savingPaise() const;
};

// `userId` empty: every user id. `chosen`: the plan the bills are priced on (the result
// window's), or none; `planKind` the plan type the months' records are charged by (the main
// window's "Plan type": 0 limited, 1 with night unlimited, 2 unlimited). Months are priced
// with `today` as the Summary takes it. A file that cannot be read is listed with its reason;
// throws Failure only when the folder cannot be listed.
History buildHistory(const QString& folder, const QString& userId,
                     const std::optional<PlanChoice>& chosen, QDate today,
                     PlanKind planKind = PlanKind::Limited);

// The history as kestrova-report --history prints it: one line per month, then the totals.
QString historyText(const History& history);
// {"months": [...], "overall": {...}}.
QJsonObject historyJson(const History& history);

// "Rs. 1234.50" for an amount in paise.
QString rupeesText(std::int64_t paise);

}  // namespace kestrova
