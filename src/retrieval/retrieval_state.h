// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/colour_ref.h"
#include "retrieval/daily_chart.h"
#include "retrieval/usage_records.h"

#include <QString>
#include <optional>

namespace kestrova {

// The result window's charts by their stored "ChartType" number: what users call "chart type 1"
// is the program's own bar chart, "chart type 2" the office chart.
enum class ResultChart : int { BuiltIn = 0, Office = 1 };

// The display settings the main window loads at start and saves at close; the report and the
// result window read them.
struct DisplaySettings {
    bool excludeFree = true;
    bool excludeNonFree = false;
    bool excludeMixed = false;
    ColorRef colorFree = 0;
    ColorRef colorBackFree = 14811105;
    ColorRef colorMixed = 16711680;
    ColorRef colorBackMixed = 15790305;
    ColorRef colorNonFree = 0;
    ColorRef colorBackNonFree = 15395583;
    ColorRef chartColorFree = 11599792;
    ColorRef chartColorNonFree = 9671679;
    ColorRef inbuiltChartColor = 9671679;
    int chartType = int(ResultChart::BuiltIn);  // the stored number, kept as read
    bool showTotalValue = false;
    bool showAverage = false;
    bool nightUnlimitedPlan = false;
};

// How records are classified, by the subscriber's "Plan type". The numbers are what settings,
// `--plan-kind` and a check's JSON hold.
enum class PlanKind : int { Limited = 0, NightUnlimited = 1, Unlimited = 2 };

// The kind a stored or given number names; none for any other number.
constexpr std::optional<PlanKind> planKindOf(qint64 number) {
    if (number < 0 || number > 2) {
        return std::nullopt;
    }
    return static_cast<PlanKind>(number);
}
constexpr int planKindNumber(PlanKind kind) {
    return static_cast<int>(kind);
}

// The main window's fields that the usage retrieval reads and writes. The main window owns one.
struct RetrievalState {
    UsageRecords records;  // the collected usage records
    QString monthYear;     // the report's period
    QString userName;      // the user id at the start of the grab
    bool cachingEnabled = false;
    bool unbilledSelected = true;     // billedTypeOption(0) "Unbilled usage", else "Billed usage"
    QString reportTemplate;           // kept from grabbingFinished to writeOutput
    std::optional<DailyChart> chart;  // the report's chart, which both chart types draw
    PlanKind planKind = PlanKind::Limited;
    DisplaySettings display;
};

// The chart data text of the report's chart the office chart takes, with or without the "Avg"
// column; empty while there is no report.
inline QString chartDataText(const RetrievalState& state, bool withAverage) {
    return state.chart ? state.chart->text(withAverage) : QString();
}

}  // namespace kestrova
