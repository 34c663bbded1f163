// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/cache_file.h"
#include "retrieval/usage_log.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

// A log read from its file a few megabytes at a time gives what the whole text gives: lines
// cut at a piece's end, line numbers and dates carried over, UTF-8 decoded the same.
struct LogFileCase {
    const char* name;
    bool utf8;           // after a byte order mark, with characters beyond Latin-1
    const char* ending;  // of each line
    int badLineAt;       // 0: none; else a line with too few fields there
};

class UsageLogFile : public ::testing::TestWithParam<LogFileCase> {};

TEST_P(UsageLogFile, ReadInPiecesGivesTheWholeTextsRecords) {
    const LogFileCase& c = GetParam();
    QByteArray bytes = c.utf8 ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    bytes += "Date,Time,Duration,Download (MB),Upload (MB),Total (MB)\n";
    // About 5 MB: two pieces, each cut in the middle of some line.
    for (int line = 2; bytes.size() < (5 << 20); ++line) {
        if (line == c.badLineAt) {
            bytes += "2026-11-01,too,few";
        } else {
            const int day = 30 - line % 30;
            bytes += QStringLiteral("2026-11-%1,12:00:%2%4,00:10:00,%3.5,0.1,%3.6")
                         .arg(day, 2, 10, QChar(u'0'))
                         .arg(line % 60, 2, 10, QChar(u'0'))
                         .arg(line % 977)
                         .arg(c.utf8 ? QStringLiteral("\u20ac") : QString())
                         .toUtf8();
        }
        bytes += c.ending;
    }
    const UsageLogRecords whole = readUsageLogRecords(textOfFileBytes(bytes));
    const UsageLogRecords pieces = readUsageLogFile(bytes);
    EXPECT_EQ(pieces.count, whole.count);
    EXPECT_TRUE(pieces.records.latin1RowText() == whole.records.latin1RowText());
    EXPECT_EQ(pieces.earliest, whole.earliest);
    EXPECT_EQ(pieces.latest, whole.latest);
    EXPECT_EQ(pieces.badLine, whole.badLine);
    EXPECT_EQ(pieces.badLineText, whole.badLineText);
    EXPECT_EQ(pieces.badLine, c.badLineAt);
    EXPECT_GT(whole.count, 50000);
}

INSTANTIATE_TEST_SUITE_P(
    Logs, UsageLogFile,
    ::testing::Values(LogFileCase{"Latin1", false, "\n", 0},
                      LogFileCase{"Utf8WithByteOrderMark", true, "\n", 0},
                      LogFileCase{"CarriageReturns", false, "\r\n", 0},
                      // Lines after the first piece keep their numbers in the message.
                      LogFileCase{"BadLineInTheLastPiece", true, "\n", 90000}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace kestrova
