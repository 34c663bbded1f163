// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The Summary tab's figures: what `createSummary` computes from the month's usage and the
// selected plan, as a plain record that the result window paints into its labels.

#include "results/plan_catalogue.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <array>
#include <cstdint>

namespace kestrova {

// The labels of the Summary tab that a run fills, named as the window's controls.
enum class SummaryLabel {
    UsedBandWidthLabel,
    UsedAverageLabel,
    UsedLastDayLabel,
    UsageTodayLabel,
    UsedAverageExclTodayLabel,
    AvailableBandWidthLabel,
    AvailableAverageLabel,
    AvailableDaysLabel,
    AvailableAverageExclTodayLabel,
    ExcessBandwidthLabel,
    ExcessRatePerMBLabel,
    ExcessAmountLabel,
    BillPlanChargeLabel,
    BillExcessChargeLabel,
    BillTotalLabel,
    BillTaxLabel,
    BillTotalAndTaxLabel,
    PercentageEdit,
    // The plan's own figures, read-only beside the list (the edit boxes stand in their place
    // for the custom plan).
    PlanChargeLabel,
    BandWidthLimitLabel,
    RsPerMBLabel,
};
inline constexpr int kSummaryLabelCount = int(SummaryLabel::RsPerMBLabel) + 1;

// The control's name ("lblUsedBandWidth").
QString summaryLabelName(SummaryLabel label);
// The caption beside the label ("Metered Bandwidth :"); the percentage box has its tool tip.
QString summaryLabelCaption(SummaryLabel label);

// The fixed texts of the Summary tab.
struct SummaryTabCaptions {
    QString selectYourPlan = QStringLiteral("Select your plan");
    QString planListHint = QStringLiteral("(Plan charge - Plan name)");
    QString customPlanHint = QStringLiteral(
        "If your plan is not here, choose \"Custom/user entered\" option and enter the values "
        "below");
    QString planCharge = QStringLiteral("Plan Charge :");
    QString bandWidthLimit = QStringLiteral("Bandwidth Limit :");
    QString rsPerMB = QStringLiteral("Rs/Excess MB :");
    QString mbLabel = QStringLiteral("(MB)");
    QString plansLabel = QStringLiteral("ORVO plans");
    QString availableGroup = QStringLiteral("Available Usage");
    QString excessGroup = QStringLiteral("Excess Usage");
    QString excludingToday = QStringLiteral("(Excluding today)");
    QString todayFootnote =
        QStringLiteral("* - These fields are displayed when last recorded day is today.");
    QString validityNote =
        QStringLiteral("Summary valid only if report generated is only for one month.");
    QString percentageEditToolTip = QStringLiteral("Percentage of quota used");
    QString downloadAllowedBoxToolTip = QStringLiteral("Remaining");
    QString excessDownloadBoxToolTip = QStringLiteral("Excess");
};
const SummaryTabCaptions& summaryTabCaptions();

// The month's usage as the main window hands it over.
struct SummaryInputs {
    std::int32_t totalUsage = 0;        // metered usage, whole MB
    std::int32_t chargedUsage = 0;      // the part outside the free night hours, whole MB
    QDate mdtLastUsedDate{2000, 1, 1};  // date of the last usage record
    std::int32_t lastDayUsage = -1;     // usage of that day, whole MB
    // What the night-unlimited plans charge by the night rule whatever the plan kind of the
    // report, whole MB; -1: not known, chargedUsage stands for it.
    std::int32_t nightChargedUsage = -1;
};

// The inputs a comparison of plans prices every plan on: a plan with the night-unlimited
// flag on what the night rule charges (a "what would this plan cost" needs the night split,
// whatever plan kind the subscriber has chosen), every other plan on the total.
SummaryInputs comparisonInputs(const SummaryInputs& inputs);

// A label as a run leaves it: the unformatted value later steps read back (kept, the number's
// general form with "." as the point) and the text it shows. touched tells whether the last run
// set either; what a run does not touch keeps what earlier runs left.
struct LabelFigure {
    QString kept;
    QString shown;
    bool touched = false;
};

// Everything a run decides about the tab. A fresh record is the tab as designed; each run takes
// the previous record and changes only what it sets.
struct SummaryFigures {
    std::array<LabelFigure, kSummaryLabelCount> labels;

    // One of the two frames is shown; excessGroup is moved onto availableGroup's place when shown.
    bool availableGroupVisible = true;
    bool excessGroupVisible = false;
    bool excessGroupAtAvailablePlace = false;
    // Usage bar, as fractions of the full bar downloadAllowedBox. The excess share may exceed 1
    // when more than twice the allowance was used.
    double actualDownloadBoxWidth = 0;
    bool excessDownloadBoxVisible = false;
    double excessDownloadBoxWidth = 0;
    // The caption labels `lbl` with "*" and the three "today" labels.
    bool todayLabelsVisible = false;
    // The three edit boxes and mbLabel in place of PlanChargeLabel, BandWidthLimitLabel,
    // RsPerMBLabel.
    bool customFiguresShown = false;

    LabelFigure& operator[](SummaryLabel label) { return labels[std::size_t(label)]; }
    const LabelFigure& operator[](SummaryLabel label) const { return labels[std::size_t(label)]; }
    QString shown(SummaryLabel label) const { return (*this)[label].shown; }
};

// The bill of a run, read back from the kept values.
struct Bill {
    double planCharge = 0;
    double excessAmount = 0;
    double total = 0;
    double tax = 0;
    double totalAndTax = 0;
};
Bill billOf(const SummaryFigures& figures);

// `createSummary` for a selected plan record, on the figures the last run left: the plan
// labels, the usage figures, the frame and bar, the "today" fields and the bill. `today` is the
// system date; the last recorded day is today when the two dates are equal. An allowance of 0
// counts as 1 MB (for the custom plan the caller also turns its edit box to 1). Throws Failure
// when a plan field holds no number; what was set before the failure stays set.
void createSummary(const SummaryInputs& inputs, const PlanRecord& plan, QDate today,
                   SummaryFigures& figures, const QLocale& locale = QLocale());

// The same run on a fresh tab for `usedMB` as the usage the plan counts (it need not be whole),
// for the bill of a usage other than the month's own. Throws Failure like createSummary.
SummaryFigures priceUsage(const PlanRecord& plan, double usedMB, const QLocale& locale = QLocale());

}  // namespace kestrova
