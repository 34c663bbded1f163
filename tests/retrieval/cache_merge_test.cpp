// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The download grab's records merged into the month's cache files.

#include "retrieval/cache_merge.h"

#include "support/qt_printers.h"

#include "retrieval/cache_file.h"
#include "retrieval/row_text.h"
#include "retrieval/xor_cipher.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <csignal>

using namespace kestrova;

namespace {

using kestrova::test::q;

// One record of row text: date, time and total; the other fields follow from them.
QString row(const char* date, const char* time, const char* total = "1.5") {
    return toRowText({q(date), q(time), q("00:10:00"), q("1"), q("0.5"), q(total)});
}

class CacheMergeTest : public ::testing::Test {
protected:
    QString file(const char* month) const {
        return cacheFileName(dir.path(), q(month), true, q("demo"));
    }
    CacheMerge merge(const QString& records) {
        return mergeIntoCache(dir.path(), UsageRecords(records), true, q("demo"));
    }
    QTemporaryDir dir;
};

TEST(SplitRowText, OwnRowTextSplitsAnythingElseIsNotACacheFile) {
    const QByteArray two =
        (row("2026-11-02", "10:00:00") + row("2026-11-01", "09:00:00")).toLatin1();
    const auto rows = splitRowText(QLatin1StringView(two));
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 2u);
    EXPECT_EQ((*rows)[0].date, u"2026-11-02");
    EXPECT_EQ((*rows)[1].time, u"09:00:00");
    EXPECT_EQ((*rows)[1].text, row("2026-11-01", "09:00:00"));
    EXPECT_TRUE(splitRowText(QLatin1StringView()).has_value());
    EXPECT_TRUE(splitRowText(QLatin1StringView())->empty());

    // Escaped fields are still one field each.
    const QByteArray escaped =
        toRowText({q("2026-11-01"), q("<b>&"), q("\""), q("4"), q("5"), q("6")}).toLatin1();
    EXPECT_TRUE(splitRowText(QLatin1StringView(escaped)));
    const char* foreign[] = {
        "garbage",
        "<TR><TD>2026-11-01</TD></TR>",                                      // too few cells
        "<TR><TD>a</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>f</TD>",  // no row end
        "<html><body><table><tr><td>1</td></tr></table></body></html>",
        " <TR><TD>a</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>f</TD></TR>",
    };
    for (const char* text : foreign) {
        EXPECT_FALSE(splitRowText(QLatin1StringView(text))) << text;
    }
    // Another key's scrambling reads as garbage.
    QByteArray unscrambled = two;
    xorWithKey(unscrambled.data(), unscrambled.size(), q("another key"));
    xorWithKey(unscrambled.data(), unscrambled.size(), kCacheKey);
    EXPECT_FALSE(splitRowText(QLatin1StringView(unscrambled)));
}

TEST(RecordMonth, OnlyDatesOfTheLogsFormHaveAMonth) {
    EXPECT_EQ(recordMonth(u"2026-11-30"), q("2026-11"));
    EXPECT_EQ(recordMonth(u"2026-11-30 10:20"), q("2026-11"));
    EXPECT_EQ(recordMonth(u"30-11-2026"), QString());
    EXPECT_EQ(recordMonth(u"2026-1x-30"), QString());
    EXPECT_EQ(recordMonth(u"Total"), QString());
}

TEST_F(CacheMergeTest, OverlappingPeriodsAddOnlyTheNewRecordsInDateAndTimeOrder) {
    merge(row("2026-11-03", "10:00:00") + row("2026-11-05", "10:00:00"));
    // A later, longer period: the days before, between and after, and the ones held.
    merge(row("2026-11-01", "10:00:00") + row("2026-11-03", "10:00:00") +
          row("2026-11-04", "23:59:59") + row("2026-11-05", "10:00:00") +
          row("2026-11-06", "00:00:01"));
    EXPECT_EQ(readFileData(file("2026-11"), true),
              row("2026-11-01", "10:00:00") + row("2026-11-03", "10:00:00") +
                  row("2026-11-04", "23:59:59") + row("2026-11-05", "10:00:00") +
                  row("2026-11-06", "00:00:01"));
}

TEST_F(CacheMergeTest, AHandMadeCacheFileKeepsItsRecordsAndGetsTheNewOnes) {
    // Written earlier by the page grab or by hand: held records in their own order.
    const QString held = row("2026-11-02", "10:00:00", "7") + row("2026-11-01", "11:00:00", "3");
    ASSERT_TRUE(saveFileData(file("2026-11"), held, true));
    merge(row("2026-11-02", "10:00:00", "7") + row("2026-11-03", "12:00:00"));
    EXPECT_EQ(readFileData(file("2026-11"), true), row("2026-11-01", "11:00:00", "3") +
                                                       row("2026-11-02", "10:00:00", "7") +
                                                       row("2026-11-03", "12:00:00"));
}

TEST_F(CacheMergeTest, AFileThatIsNotOursIsNeverWrittenOver) {
    struct Case {
        const char* name;
        QByteArray content;
    };
    QString otherKey = row("2026-11-01", "10:00:00");
    XorCipher().scramble(otherKey, q("some other key"));
    const Case cases[] = {
        {"another key", otherKey.toLatin1()},
        {"truncated",
         [] {
             QString t = row("2026-11-01", "10:00:00");
             XorCipher().scramble(t, kCacheKey);
             return t.toLatin1().left(20);
         }()},
        {"not a cache at all", QByteArrayLiteral("PK\x03\x04 a zip file, say")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(test::writeFile(file("2026-11"), c.content));
        const CacheMerge result =
            merge(row("2026-11-05", "10:00:00") + row("2026-12-01", "10:00:00"));
        ASSERT_EQ(result.problems.size(), 1u);
        EXPECT_EQ(result.problems[0].file, file("2026-11"));
        EXPECT_TRUE(result.problems[0].reason.contains(q("left as it was")));
        EXPECT_EQ(test::readFile(file("2026-11")), c.content);
        // The other month is still kept.
        EXPECT_EQ(result.written, QStringList{file("2026-12")});
        QFile::remove(file("2026-12"));
    }
}

TEST_F(CacheMergeTest, AFailedWriteKeepsTheOldFile) {
    merge(row("2026-11-01", "10:00:00"));
    const QByteArray before = test::readFile(file("2026-11"));
    ASSERT_FALSE(before.isEmpty());
    QString many;
    for (int day = 2; day <= 28; ++day) {
        for (int hour = 10; hour < 20; ++hour) {
            many += row(
                QStringLiteral("2026-11-%1").arg(day, 2, 10, QChar(u'0')).toLatin1().constData(),
                QStringLiteral("%1:00:00").arg(hour).toLatin1().constData());
        }
    }
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const CacheMerge result = merge(many);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
    ASSERT_EQ(result.problems.size(), 1u);
    EXPECT_TRUE(result.written.isEmpty());
    EXPECT_EQ(test::readFile(file("2026-11")), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    EXPECT_FALSE(describeCacheProblems(result).isEmpty());
}

}  // namespace
