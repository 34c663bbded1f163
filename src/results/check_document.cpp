// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/check_document.h"

#include "platform/number_format.h"
#include "retrieval/report_page.h"
#include "retrieval/retrieval_state.h"

#include <QRegularExpression>

namespace kestrova {

QJsonObject monthJson(const RetrievalState& state, const ReportFigures& figures) {
    const auto mb = double(figures.monthSumMB);
    // The average as the month's line shows it, in the locale it was written in.
    const std::optional<Decimal> average =
        figures.averageCaption.isEmpty() ? std::nullopt : readNumber(figures.averageCaption);
    return QJsonObject{{QStringLiteral("period"), state.monthYear},
                       {QStringLiteral("records"), figures.records},
                       {QStringLiteral("monthMB"), jsonMegabytes(mb)},
                       {QStringLiteral("monthGB"), jsonMegabytes(mb / 1024.0)},
                       {QStringLiteral("days"), figures.days},
                       {QStringLiteral("averagePerDay"),
                        average ? QJsonValue(jsonMegabytes(average->toDouble())) : QJsonValue()},
                       {QStringLiteral("planKind"), planKindNumber(state.planKind)},
                       {QStringLiteral("chargedMB"), jsonMegabytes(figures.chargedMB)},
                       {QStringLiteral("freeMB"), jsonMegabytes(figures.freeMB)},
                       {QStringLiteral("mixedRecords"), figures.mixedRecords}};
}

QJsonObject checkJson(const CheckFacts& facts) {
    return QJsonObject{
        {QStringLiteral("host"), facts.host},
        {QStringLiteral("user"), facts.user},
        {QStringLiteral("from"), facts.from.toString(Qt::ISODate)},
        {QStringLiteral("to"), facts.to.toString(Qt::ISODate)},
        {QStringLiteral("log"), facts.log},
        {QStringLiteral("kind"),
         facts.billed ? QStringLiteral("billed") : QStringLiteral("unbilled")},
        {QStringLiteral("checkedAt"),
         facts.checkedAt.toOffsetFromUtc(facts.checkedAt.offsetFromUtc()).toString(Qt::ISODate)}};
}

std::optional<std::pair<QDate, QDate>> portalPeriod(const QString& monthYear) {
    static const QRegularExpression pattern(QStringLiteral(
        "^period (\\d{1,2})-(\\d{1,2})-(\\d{4}) TO (\\d{1,2})-(\\d{1,2})-(\\d{4})$"));
    const QRegularExpressionMatch m = pattern.match(monthYear);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    const auto date = [&m](int first) {
        return QDate(m.captured(first + 2).toInt(), m.captured(first + 1).toInt(),
                     m.captured(first).toInt());
    };
    const QDate from = date(1);
    const QDate to = date(4);
    if (!from.isValid() || !to.isValid()) {
        return std::nullopt;
    }
    return std::pair{from, to};
}

QJsonObject checkDocument(const RetrievalState& state, const ReportFigures& figures,
                          const std::optional<MonthSummary>& summary,
                          const std::optional<Forecast>& forecast, const CheckFacts& facts) {
    QJsonObject root{{QStringLiteral("schemaVersion"), kJsonSchemaVersion},
                     {QStringLiteral("month"), monthJson(state, figures)}};
    if (summary && forecast) {
        root.insert(QStringLiteral("summary"), summaryJson(*summary).object());
        root.insert(QStringLiteral("forecast"), forecastJson(*forecast));
    }
    root.insert(QStringLiteral("check"), checkJson(facts));
    return root;
}

}  // namespace kestrova
