// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The plan choice and the typed custom-plan figures as the settings store keeps them, the
// three numeric edit boxes that hold those figures, and the check of every value the result
// window stores.

#include "platform/settings_store.h"

#include <QLocale>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace kestrova {

enum class PlanEditBox { PlanChargeEdit, BandWidthLimitEdit, RsPerMBEdit };

// What an edit box holds: its settings key, its digits and the value it is designed with.
struct EditBoxDesign {
    QString key;  // "nebPlanCharge", ...
    int integerSize = 5;
    int decimalSize = 0;
    double designValue = 0;

    // The largest value the box holds: integerSize nines, decimalSize nines after the point.
    double upperLimit() const;
};

const EditBoxDesign& editBoxDesign(PlanEditBox box);

// The value as the box holds it once assigned (rounded to its decimals), or nullopt when it
// lies outside 0 to the box's upper limit.
std::optional<double> editBoxValue(PlanEditBox box, double value);
// The box's text for a value: its decimals, "." as the point ("250", "0.20").
QString editBoxText(PlanEditBox box, double value);

// The stored settings of the Summary tab; the defaults are what a fresh window shows.
struct PlanSettings {
    int planIndex = -1;  // list index of plansCombo; -1 nothing selected
    double planChargeEdit = 250;
    double bandWidthLimitEdit = 1024;
    double rsPerMBEdit = 0.2;

    double value(PlanEditBox box) const;
    void setValue(PlanEditBox box, double value);
};

// "Plan3" as a list index; a text that is not a whole number or lies outside -1 to
// entryCount - 1 gives -1. Each reader notes a stored value it could not use in `problems`
// when given one.
int readPlanIndex(const SettingsStore& store, int entryCount,
                  std::vector<SettingProblem>* problems = nullptr);
// An edit box's key; a text that is not a number, or a number the box cannot hold (however
// many digits it has), gives the box's design value.
double readEditBoxSetting(const SettingsStore& store, PlanEditBox box,
                          const QLocale& locale = QLocale(),
                          std::vector<SettingProblem>* problems = nullptr);
PlanSettings readPlanSettings(const SettingsStore& store, int entryCount,
                              const QLocale& locale = QLocale(),
                              std::vector<SettingProblem>* problems = nullptr);

// The result window's size and place, in twips, under "frmResult.Height", "frmResult.Width",
// "frmResult.Left" and "frmResult.Top".
struct WindowPlace {
    double height = 0;
    double width = 0;
    double left = 0;
    double top = 0;
};
// The stored place when all four keys hold a measure within any screen, else nothing; each
// stored value that is not such a measure is noted in `problems` when given.
std::optional<WindowPlace> readResultPlace(const SettingsStore& store,
                                           std::vector<SettingProblem>* problems = nullptr);
// Each measure as a whole number of twips.
void writeResultPlace(SettingsStore& store, const WindowPlace& place);
// Every value the result window stores that it cannot use as it stands (the plan, the three
// boxes, a place or size beyond any screen); each then gets its default.
std::vector<SettingProblem> resultSettingProblems(const SettingsStore& store, int entryCount,
                                                  const QLocale& locale = QLocale());
// "Plan3" in decimal, then the three boxes in the locale's default text form, in that order.
void writePlanSettings(SettingsStore& store, const PlanSettings& settings,
                       const QLocale& locale = QLocale());

}  // namespace kestrova
