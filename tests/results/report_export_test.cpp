// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/report_export.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace kestrova;

namespace {

TEST(askSaveFileName, AppendsTheExtensionUnlessTheNameHoldsItAnywhere) {
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("/tmp/report"), QStringLiteral("/tmp/report.csv")},
        {QStringLiteral("/tmp/report.csv"), QStringLiteral("/tmp/report.csv")},
        {QStringLiteral("/tmp/report.csv.bak"), QStringLiteral("/tmp/report.csv.bak")},
        {QStringLiteral("/tmp/report.CSV"), QStringLiteral("/tmp/report.CSV.csv")},
        {QStringLiteral("/tmp/april.txt"), QStringLiteral("/tmp/april.txt.csv")},
        {QStringLiteral("/tmp/a") + QChar(u'\0') + QStringLiteral("junk"),
         QStringLiteral("/tmp/a.csv")},
    };
    for (const auto& [chosen, expected] : rows) {
        EXPECT_EQ(withExtension(chosen, QStringLiteral("csv")), expected);
    }
}

}  // namespace
