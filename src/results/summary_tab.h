// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The Summary tab without its widgets: the plan table, the plan list, the three edit boxes, the
// month's usage and the figures of the last run. The result window forwards its events here
// (list Click, edit box Change, load, unload) and paints figures() into its labels.

#include "platform/daily_total.h"
#include "results/forecast.h"
#include "results/plan_catalogue.h"
#include "results/plan_settings.h"
#include "results/summary.h"

#include <QDate>
#include <QLocale>
#include <functional>
#include <optional>
#include <vector>

namespace kestrova {

class SettingsStore;

class SummaryTab {
public:
    // Today's date, as the system clock gives it unless a test or a script fixes it.
    using Clock = std::function<QDate()>;

    explicit SummaryTab(Clock clock = {}, const QLocale& locale = QLocale());

    // Window load: each edit box from its settings key, then loadCombo.
    void load(const SettingsStore& store);
    // Rebuilds plans from the catalogue, refills plansCombo and selects the stored "Plan3"
    // (a stored index that is no entry selects nothing); the selection runs createSummary.
    void loadCombo(const SettingsStore& store);
    // The same with the list index given (-1 to count - 1).
    void loadCombo(int listIndex);
    // Window unload: "Plan3" and the three edit box values.
    void save(SettingsStore& store) const;
    PlanSettings settings() const;

    // plansCombo Click: select the entry (-1: none) and run createSummary.
    void selectListIndex(int index);
    // An edit box's new value (rounded to its decimals as the box shows it); a change of its
    // text runs createSummary.
    void setEditBoxValue(PlanEditBox box, double value);
    double editBoxValue(PlanEditBox box) const { return m_editBoxes.value(box); }

    // The main window's hand-over of a new month; it calls createSummary itself afterwards.
    void setInputs(const SummaryInputs& inputs) { m_inputs = inputs; }
    const SummaryInputs& inputs() const { return m_inputs; }
    // The report's daily totals, for the day the forecast says the allowance ran out.
    void setDailyTotals(std::vector<DailyTotal> days) { m_dailyTotals = std::move(days); }
    const std::vector<DailyTotal>& dailyTotals() const { return m_dailyTotals; }

    // Nothing at all while no plan is selected (returns false, every label untouched). For the
    // custom entry the edit boxes' values are copied into the custom record first; an allowance
    // of 0 turns the allowance box to 1. A failure shows its description in a plain message
    // box, leaves what was already set and returns false.
    bool createSummary();

    const SummaryFigures& figures() const { return m_figures; }
    // The month-end forecast for the selected plan (the custom line with the edit boxes'
    // figures, and then ranked with them); none while no plan is selected or when the month
    // cannot be priced.
    std::optional<Forecast> forecast() const;
    // The selected plan as the Summary prices it (the custom line with the edit boxes'
    // figures); none while no plan is selected.
    std::optional<PlanChoice> planChoice() const;
    // The Summary of the month on that plan, for the check's document; none while no plan is
    // selected or when the month cannot be priced.
    std::optional<MonthSummary> monthSummary() const;
    const PlanTable& plans() const { return m_plans; }
    const PlanList& plansCombo() const { return m_list; }

private:
    Clock m_clock;
    QLocale m_locale;
    PlanTable m_plans;
    PlanList m_list;
    PlanSettings m_editBoxes;  // planIndex unused here: the list holds the index
    SummaryInputs m_inputs;
    std::vector<DailyTotal> m_dailyTotals;
    SummaryFigures m_figures;
};

}  // namespace kestrova
