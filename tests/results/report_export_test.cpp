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

TEST(askSaveFileName, AsksWithTheFixedTitleAndFilter) {
    RecordingDialogs recorder;
    ScopedDialogs scope(recorder);
    recorder.fileNames = {QStringLiteral("/tmp/out"), std::nullopt};
    EXPECT_EQ(askSaveFileName(QString(), QString(), QStringLiteral("htm")),
              QStringLiteral("/tmp/out.htm"));
    EXPECT_EQ(askSaveFileName(QStringLiteral("/tmp"), QStringLiteral("x"), QStringLiteral("csv")),
              QString());
    ASSERT_EQ(recorder.saveRequests.size(), 2u);
    EXPECT_EQ(recorder.saveRequests[0].title, QStringLiteral("Enter Filename to save"));
    EXPECT_EQ(recorder.saveRequests[0].filter, QStringLiteral("Output file (*.htm)"));
    EXPECT_EQ(recorder.saveRequests[1].filter, QStringLiteral("Output file (*.csv)"));
    EXPECT_EQ(recorder.saveRequests[1].initialDirectory, QStringLiteral("/tmp"));
    EXPECT_EQ(recorder.saveRequests[1].defaultName, QStringLiteral("x"));
}

}  // namespace
