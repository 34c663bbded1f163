// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "results/check_document.h"
#include "results/last_check.h"
#include "retrieval/report_page.h"
#include "retrieval/retrieval_state.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QDateTime>

namespace kestrova::test {

// kestrova-check as the daily timer runs it for "demo": a log in `folder`, and a check of
// `usedMB` by 10 April 2013 on the first catalogue plan renamed into place beside it.
inline void keepCheck(const QString& folder, int usedMB) {
    const QString log = folder + QStringLiteral("/usage.htm");
    ASSERT_TRUE(writeFile(log, "Date,Time\n"));
    const SummaryInputs inputs{usedMB, usedMB, QDate(2013, 4, 10), 30};
    const PlanChoice plan = PlanChoice::catalogue(0);
    QString why;
    ASSERT_TRUE(keepLastCheck(
        folder,
        checkDocument(
            RetrievalState{}, ReportFigures{}, summarizeMonth(inputs, plan, QDate(2013, 4, 10)),
            forecastMonth(inputs, plan, {}, QDate(2013, 4, 10)),
            CheckFacts{QStringLiteral("portal.test"), QStringLiteral("demo"), QDate(2013, 4, 1),
                       QDate(2013, 4, 10), false, log, QDateTime::currentDateTime()}),
        log, why))
        << why.toStdString();
}

}  // namespace kestrova::test
