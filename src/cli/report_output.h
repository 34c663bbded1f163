// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What kestrova-report and kestrova-check share once a report has been built: the options
// that price the month and say what to write (--plan, the custom plan, --today,
// --compare-plans, --format, --output, --csv), the month priced by them, and the summary as
// text or as the one JSON document both programs print.

#include "results/forecast.h"
#include "results/summary_report.h"
#include "retrieval/report_page.h"

#include <QCommandLineOption>
#include <QDate>
#include <QJsonObject>
#include <QString>

#include <optional>
#include <vector>

class QCommandLineParser;

namespace kestrova {

class HeadlessResult;
struct RetrievalState;

struct ReportOutputOptions {
    std::optional<PlanChoice> choice;  // none: the month is not priced
    QDate today = QDate::currentDate();
    bool comparePlans = false;
    bool json = false;
    QString outputPath;  // the report page; empty: not written to a file
    QString csvPath;     // the listing; empty: not exported
    // --plan-kind: 0 limited, 1 limited with night unlimited, 2 unlimited; none: the
    // program's default (kestrova-report 0, kestrova-check the stored "PlanType").
    std::optional<PlanKind> planKind;
};

// The shared options on a QCommandLineParser. `planKindDefault` says in --help what the plan
// type is without --plan-kind.
class ReportOutputOptionSet {
public:
    explicit ReportOutputOptionSet(const QString& planKindDefault);
    void addTo(QCommandLineParser& parser) const;
    // Throws Failure with a usage error for a malformed or contradictory value.
    ReportOutputOptions read(const QCommandLineParser& parser) const;

private:
    QCommandLineOption m_output;
    QCommandLineOption m_plan;
    QCommandLineOption m_planCharge;
    QCommandLineOption m_allowance;
    QCommandLineOption m_rate;
    QCommandLineOption m_today;
    QCommandLineOption m_csv;
    QCommandLineOption m_compare;
    QCommandLineOption m_format;
    QCommandLineOption m_planKind;
};

// The month as the built report leaves it, priced as the options ask.
struct PricedMonth {
    SummaryInputs inputs;
    std::optional<MonthSummary> summary;
    std::optional<Forecast> forecast;  // with the summary
    std::vector<PlanCost> ranking;     // with --compare-plans
};

// Throws Failure when the plan cannot price the month.
PricedMonth priceMonth(const HeadlessResult& result, const ReportOutputOptions& options);

// The summary lines: period, records, month total, days, average, then the priced plan with
// the month-end forecast, and the ranking when asked for.
QString summaryText(const RetrievalState& state, const ReportFigures& figures,
                    const PricedMonth& priced, const ReportOutputOptions& options);
// {"month": …, "summary": …, "forecast": …, "comparison": …}.
QJsonObject summaryObject(const RetrievalState& state, const ReportFigures& figures,
                          const PricedMonth& priced, const ReportOutputOptions& options);

// The parser's help, headed "Usage: PROGRAM ..." whatever the running executable is called.
QString helpText(const QCommandLineParser& parser, const QString& program);

// Writes `bytes` to `path` whole or not at all; false with "PATH: reason" in `error`.
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString& error);

}  // namespace kestrova
