// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/cache_file.h"

#include "support/qt_printers.h"

#include "platform/dialogs.h"
#include "platform/failure.h"
#include "retrieval/row_text.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

using namespace kestrova;

namespace {

using kestrova::test::q;
using kestrova::test::readFile;
using kestrova::test::writeFile;

const QString kRecords =
    toRowText({q("2013-04-17"), q("10:20:33"), q("00:12:00"), q("12.5"), q("1.25"), q("13.75\r")}) +
    toRowText({q("2013-04-18"), q("01:00:00"), q("00:01:00"), q("0.5"), q("0"), q("0.5")});

}  // namespace

class CacheFile : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(q(name)); }
    QTemporaryDir dir;
    RecordingDialogs messages;
    ScopedDialogs seam{messages};
};

TEST_F(CacheFile, MissingEmptyAndUnnamedFilesReadAsEmptyText) {
    EXPECT_EQ(readFileData(path("absent.cache2"), true), QString());
    EXPECT_EQ(readFileData(QString(), true), QString());
    ASSERT_TRUE(writeFile(path("empty.cache2"), QByteArray()));
    EXPECT_EQ(readFileData(path("empty.cache2"), true), QString());
    EXPECT_EQ(readFileData(dir.path(), false), QString());  // a folder is no file
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(CacheFile, PlainTextKeepsOneBytePerCharacterUnlessItCannot) {
    ASSERT_TRUE(saveFileData(path("report.htm"), q("caf\u00e9"), false));
    EXPECT_EQ(readFile(path("report.htm")), QByteArray("caf\xe9"));
    EXPECT_EQ(readFileData(path("report.htm"), false), q("caf\u00e9"));
    const QString wide = QString::fromUtf8("\xe2\x82\xac 5, \xe0\xa4\x95");
    ASSERT_TRUE(saveFileData(path("wide.csv"), wide, false));
    EXPECT_TRUE(readFile(path("wide.csv")).startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(readFileData(path("wide.csv"), false), wide);
    // A scrambled file could not unscramble such text again: refused, and said so.
    EXPECT_FALSE(saveFileData(path("wide.cache2"), wide, true));
    EXPECT_EQ(messages.messages.size(), 1u);
    EXPECT_FALSE(QFile::exists(path("wide.cache2")));
}

// A write that the device refuses half-way (files may not grow beyond 4 KiB for a moment):
// a text the writer could hold in a buffer meets the refusal only when it reaches the disk,
// a longer one at once. Either way the old file stays and the system's reason is shown.
class CacheFileFailedWrite : public CacheFile, public ::testing::WithParamInterface<int> {};

TEST_P(CacheFileFailedWrite, KeepsTheOldFileAndSaysWhy) {
    ASSERT_TRUE(saveFileData(path("keep.cache2"), kRecords, true));
    const QByteArray before = readFile(path("keep.cache2"));
    const QString text = kRecords.repeated(GetParam());
    ASSERT_GT(text.size(), 4096);

    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = saveFileData(path("keep.cache2"), text, true);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);

    EXPECT_FALSE(written);
    EXPECT_EQ(readFile(path("keep.cache2")), before);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, path("keep.cache2") + q(": File too large"));
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{q("keep.cache2")});
}

INSTANTIATE_TEST_SUITE_P(Sizes, CacheFileFailedWrite, ::testing::Values(40, 200),
                         [](const auto& row) {
                             return row.param == 40 ? std::string("WithinTheWritersBuffer")
                                                    : std::string("BeyondTheWritersBuffer");
                         });

TEST_F(CacheFile, NamesStayInsideTheFolder) {
    EXPECT_EQ(cacheFileName(q("/data/k"), q("2013-04"), true, q("abc")),
              q("/data/k/2013-04-unbilled-abc.cache2"));
    EXPECT_EQ(cacheFileName(q("/"), q("2013-04"), false, q("abc")),
              q("/2013-04-billed-abc.cache2"));
    EXPECT_EQ(cacheFileName(q("/data/k/"), q("2013-04"), false, q("../../etc/x")),
              q("/data/k/2013-04-billed-.._.._etc_x.cache2"));
}

TEST(CacheItemPeriod, KeepsTheTextUpToItsLastDash) {
    EXPECT_EQ(cacheItemPeriod(q("2013-04-billed-abc")), q("2013-04-billed"));
    EXPECT_EQ(cacheItemPeriod(q("2013-04-unbilled-ab-c")), q("2013-04-unbilled-ab"));
    EXPECT_EQ(cacheItemPeriod(q("nodash")), q("nodash"));
}

TEST_F(CacheFile, ListsCacheFilesInNameOrderAndSelectsTheLast) {
    for (const char* n : {"2013-05-billed-abc.cache2", "2013-04-unbilled-abc.cache2", "usage.htm",
                          "2013-04-billed-abc.cache2.bak"}) {
        ASSERT_TRUE(writeFile(path(n), "x"));
    }
    QDir().mkpath(path("2013-06-billed-x.cache2"));  // a folder, not a cache file
    const CacheFileList list = loadCacheFileList(dir.path());
    EXPECT_EQ(list.items, (QStringList{q("2013-04-unbilled-abc"), q("2013-05-billed-abc")}));
    EXPECT_EQ(list.selected, 1);
    QTemporaryDir empty;
    EXPECT_EQ(loadCacheFileList(empty.path()).selected, -1);
    EXPECT_THROW(loadCacheFileList(path("no-such-folder")), Failure);
}

// The cache reader takes only row text with portal figures; a damaged row anywhere in the file
// is told before a bad figure in an earlier record.
TEST_F(CacheFile, ReadingRecordsRefusesDamageBeforeABadFigure) {
    const QString badTotal =
        toRowText({q("2013-04-19"), q("01:00:00"), q("00:01:00"), q("0"), q("0"), q("-1")});
    const struct {
        const char* name;
        QString text;
        const char* failure;  // empty: the text reads back as it is
    } cases[] = {
        {"own records", kRecords, ""},
        {"a bad figure, then own records", kRecords + badTotal + kRecords,
         "record 3 (2013-04-19): the Total (MB) field \"-1\" is not a figure the portal writes"},
        {"a bad figure, then a damaged row", kRecords + badTotal + q("<TR><TD>x</TD></TR>"),
         "the cache file is damaged at record 4, or scrambled with another key"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        ASSERT_TRUE(writeFileData(path("r.cache2"), c.text, true, error)) << error.toStdString();
        try {
            EXPECT_EQ(readCacheRecords(path("r.cache2")).rowText(), c.text);
            EXPECT_STREQ(c.failure, "");
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.description(), q(c.failure));
        }
    }
}
