// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The JSON document of one check, as kestrova-check prints it and as the last check is kept
// for the panel: the month's own figures, the Summary and the forecast when the month is
// priced, and what was checked (where, who, which period, when). The window's check makes the
// same document, so every front end keeps the same shape.

#include "results/forecast.h"
#include "results/summary_report.h"

#include <QDate>
#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <optional>

namespace kestrova {

struct ReportFigures;
struct RetrievalState;

// {"period", "records", "monthMB", "monthGB", "days", "averagePerDay", "planKind", "chargedMB",
//  "freeMB", "mixedRecords"}: the report's month line.
QJsonObject monthJson(const RetrievalState& state, const ReportFigures& figures);

// What one check was.
struct CheckFacts {
    QString host;  // the portal host logged in to
    QString user;  // the portal user id
    QDate from;    // the period chosen on the portal's page
    QDate to;
    bool billed = false;  // billed usage rather than unbilled
    QString log;          // the usage log it downloaded
    QDateTime checkedAt;  // when it ended
};

// {"host", "user", "from", "to", "log", "kind", "checkedAt"}: "kind" is "billed" or
// "unbilled", "checkedAt" the local time with its offset ("2026-11-14T07:30:00+05:30").
QJsonObject checkJson(const CheckFacts& facts);

// The period "period 03-04-2013 TO 12-04-2013" the portal's drop-downs give, as two dates;
// nothing for any other text.
std::optional<std::pair<QDate, QDate>> portalPeriod(const QString& monthYear);

// The whole document: {"schemaVersion", "month", "summary", "forecast", "check"}; the summary
// and the forecast only when the month was priced.
QJsonObject checkDocument(const RetrievalState& state, const ReportFigures& figures,
                          const std::optional<MonthSummary>& summary,
                          const std::optional<Forecast>& forecast, const CheckFacts& facts);

}  // namespace kestrova
