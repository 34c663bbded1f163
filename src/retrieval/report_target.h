// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/daily_total.h"

#include <QByteArray>
#include <QDate>
#include <QIODevice>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace kestrova {

// What a report finds besides its page: the month's usage in whole MB, the newest record's day
// and that day's usage, the average per day and the daily totals.
struct ReportOutcome {
    QDate mdtLastUsedDate;  // 1 Jan 2000 for a report without records
    std::int32_t totalUsage = 0;
    std::int32_t chargedUsage = 0;
    // What the night-unlimited plans charge whatever the report's plan kind, for pricing
    // those plans in comparisons.
    std::int32_t nightChargedUsage = 0;
    std::int32_t lastDayUsage = 0;  // -1 when no day was counted
    // averageLabel's text; a report without days leaves it as it was.
    QString averageCaption;
    // Each day's total, oldest first (the forecast finds the day the allowance ran out).
    std::vector<DailyTotal> dailyTotals;
};

// What the report builder writes into: the result window implements it (the command-line
// tools use HeadlessResult).
class ReportTarget {
public:
    virtual ~ReportTarget() = default;

    // Called once the page is complete (rows, daily totals, style rules), before the chart
    // and the summary are fed.
    virtual void reportReady() {}

    // The finished page, handed over before reportReady() as the bytes of a saved report's
    // file: the document element's outer HTML one byte per character, or UTF-8 after a byte
    // order mark when a character does not fit.
    // NOLINTNEXTLINE(performance-unnecessary-value-param): a sink; the targets move it in.
    virtual void setReportPage(QByteArray page) = 0;
    // A target may take, instead of the bytes, a writer that puts those same bytes on a device
    // when called (false when a write fails). A page of a million rows is then never held
    // whole. The writer reads the report's records: it is good while the builder and its
    // state live.
    virtual bool takesPageWriter() const { return false; }
    // NOLINTNEXTLINE(performance-unnecessary-value-param): a sink; the targets move it in.
    virtual void setPageWriter(std::function<bool(QIODevice&)> writer) { Q_UNUSED(writer); }
    // What the Export command writes, handed over with the page: a function that writes the
    // listing's text from the report's records when asked (see ReportBuilder). It keeps the
    // records it needs, so it is good for as long as the target keeps it.
    // NOLINTNEXTLINE(performance-unnecessary-value-param): a sink; the targets move it in.
    virtual void setListingExport(std::function<QString()> listing) = 0;

    // The outcome as the target holds it now. A report starts from it and changes what it
    // finds, so one that fails part way leaves the rest as it was.
    virtual ReportOutcome outcome() const = 0;
    // Takes the report's outcome in one piece: before reportReady(), or, for a report that
    // fails, with what it had found by then.
    virtual void applyOutcome(const ReportOutcome& outcome) = 0;

    // The office chart object: created (graphInitialised) and its server running.
    virtual bool graphInitialised() const = 0;
    virtual bool officeChartRunning() const = 0;
    // Gives the office chart object its data text and makes it update.
    virtual void setOfficeChartData(const QString& dataText) = 0;

    virtual void setInbuiltChartInitialised(bool initialised) = 0;
    virtual void updateGraphControl() = 0;
    virtual void createSummary() = 0;
};

// What the usage retrieval needs of the main window besides its fields.
class RetrievalHost {
public:
    virtual ~RetrievalHost() = default;
    virtual void processPendingEvents() = 0;
    // Starts the one-shot 100 ms timer whose tick builds the report (showOutput).
    virtual void startResumeTimer() = 0;
    // The hourglass while the report is built.
    virtual void setBusy(bool busy) = 0;
    // The program's folder (cache files).
    virtual QString folder() const = 0;
};

}  // namespace kestrova
