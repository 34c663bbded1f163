// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The Summary tab without a window, for the command line: the month priced against one plan
// (the tab's captions and texts, one line each, and the bill), every catalogue plan ranked by
// what the month would cost on it, and JSON forms of both for scripts.

#include "platform/megabytes.h"
#include "results/plan_settings.h"
#include "results/summary.h"

#include <QDate>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace kestrova {

class HeadlessResult;
struct ReportOutcome;
class SettingsStore;

// Figures for the custom line, as typed into its three edit boxes (rounded to the boxes'
// decimals as they show them).
struct CustomPlanFigures {
    double planCharge = 250;    // rupees, 0 to 99999, whole
    double allowanceMB = 1024;  // 0 to 9999999999, whole; 0 counts as 1
    double rsPerMB = 0.2;       // 0 to 9.99, two decimals
};

// A catalogue slot (0 to 29); for slot 29, the custom line, the figures given or the edit
// boxes' design values.
struct PlanChoice {
    int slot = 0;
    std::optional<CustomPlanFigures> custom;

    static PlanChoice catalogue(int slot) { return {slot, std::nullopt}; }
    static PlanChoice customPlan(const CustomPlanFigures& figures) {
        return {kCustomPlanSlot, figures};
    }
};

// The figures a report found (those it left in a result without a window), as the Summary
// takes them.
SummaryInputs summaryInputsOf(const HeadlessResult& result);
SummaryInputs summaryInputsOf(const ReportOutcome& outcome);

// The plan chosen on the Summary tab, as the settings store keeps it ("Plan3" and the custom
// figures); nothing while no plan is chosen there. A stored value that cannot be used gets its
// default and is noted in `problems` when given.
std::optional<PlanChoice> storedPlanChoice(const SettingsStore& store,
                                           std::vector<SettingProblem>* problems = nullptr);

struct MonthSummary {
    int slot = 0;
    QString entryText;  // the plan's list entry
    PlanRecord plan;    // as priced (custom figures copied in, allowance 0 made 1)
    SummaryInputs inputs;
    QDate today;
    QLocale locale;  // the one the texts are shown in
    SummaryFigures figures;
    Bill bill;
    // The tab's visible captions and texts in the tab's order: the plan, the usage, the shown
    // frame, the bill, the notes.
    QStringList lines;
};

// Throws Failure for a slot outside 0 to 29 or custom figures the edit boxes cannot hold.
MonthSummary summarizeMonth(const SummaryInputs& inputs, const PlanChoice& choice, QDate today,
                            const QLocale& locale = QLocale());

struct PlanCost {
    int rank = 0;  // 1 for the cheapest
    int slot = 0;
    QString name;       // the plan name, trimmed
    QString entryText;  // its list entry
    Bill bill;
    QString totalAndTaxText;  // "Rs. 333.99"
};

// Every catalogue plan, cheapest first by total + tax; equal costs keep catalogue order. The
// custom line takes part only when its figures are given.
std::vector<PlanCost> comparePlans(const SummaryInputs& inputs,
                                   const std::optional<CustomPlanFigures>& custom, QDate today,
                                   const QLocale& locale = QLocale());
// Sorts costs given in catalogue order cheapest first by total + tax (equal costs keep their
// order) and numbers their ranks from 1.
void rankByTotalAndTax(std::vector<PlanCost>& costs);
// Rupees as the Summary tab shows them (two decimals), in paise.
std::int64_t shownPaise(double rupees);
// What the cheapest plan saves against the selected plan, in paise: the difference of the two
// "Total + Tax" amounts as they are shown, so the three figures on the tab add up.
std::int64_t savingInPaise(const Bill& selected, const PlanCost& cheapest);

// One line per plan: rank, total + tax, list entry.
QStringList comparisonLines(const std::vector<PlanCost>& costs);

// The shape of the JSON documents the programs print, as "schemaVersion"; the JSON Schemas of
// data/schema describe it. A document gains fields within a version; a field that changes its
// meaning or type, or goes, makes the next one.
inline constexpr int kJsonSchemaVersion = 1;
// Figures for the JSON documents, rounded as the Summary shows them: rupees to the paisa,
// megabytes to three decimals.
double jsonRupees(double rupees);
double jsonMegabytes(double megabytes);
double jsonMegabytes(const Megabytes& megabytes);

// {"planCharge", "excessAmount", "total", "tax", "totalAndTax"}.
QJsonObject billJson(const Bill& bill);
QJsonDocument summaryJson(const MonthSummary& summary);
QJsonDocument comparisonJson(const SummaryInputs& inputs, QDate today,
                             const std::vector<PlanCost>& costs);

}  // namespace kestrova
