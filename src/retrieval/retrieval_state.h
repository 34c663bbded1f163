// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/colour_ref.h"
#include "retrieval/daily_chart.h"

#include <QString>
#include <optional>

namespace kestrova {

// The display settings the main window loads at start and saves at close; the report and the
// result window read them.
struct DisplaySettings {
    bool mblnExcludeFree = true;
    bool mblnExcludeNonFree = false;
    bool mblnExcludeMixed = false;
    ColorRef mlngColorFree = 0;
    ColorRef mlngColorBackFree = 14811105;
    ColorRef mlngColorMixed = 16711680;
    ColorRef mlngColorBackMixed = 15790305;
    ColorRef mlngColorNonFree = 0;
    ColorRef mlngColorBackNonFree = 15395583;
    ColorRef mlngChartColorFree = 11599792;
    ColorRef mlngChartColorNonFree = 9671679;
    ColorRef mlngInbuiltChartColor = 9671679;
    int mbytChartType = 0;  // 1: the office chart object
    bool mblnShowTotalValue = false;
    bool mblnShowAverage = false;
    bool mblnNightUnlimitedPlan = false;
};

// How records are classified: 0 limited bandwidth, 1 limited with night unlimited,
// 2 unlimited. The check command sets 0 and nothing sets another kind.
enum PlanKind : int { kLimitedPlan = 0, kNightUnlimitedPlan = 1, kUnlimitedPlan = 2 };

// The main window's fields that the usage retrieval reads and writes. The main window owns one.
struct RetrievalState {
    QString mstrRecords;     // collected usage rows, in row text
    QString mstrMonthYear;   // the report's period
    QString mstrUserName;    // the user id at the start of the grab
    QString mstrCacheFile;   // cache file of a page grab
    QString mstrCachedData;  // its unscrambled text
    bool mblnCachingEnabled = false;
    bool unbilledSelected = true;     // optBilledType(0) "Unbilled usage", else "Billed usage"
    QString mstrReportTemplate;       // kept from GrabbingFinished to WriteOutput
    std::optional<DailyChart> chart;  // the report's chart, which the built-in chart draws
    QString mstrGraphData;            // its chart data text without the "Avg" column
    QString mstrGraphDataWithAverage;
    int planKind = kLimitedPlan;
    DisplaySettings display;
};

}  // namespace kestrova
