// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/report_command.h"

#include "support/file_faults.h"
#include "support/qt_printers.h"

#include "platform/settings_store.h"
#include "retrieval/cache_file.h"
#include "sample_log.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace kestrova;

namespace {

using kestrova::test::q;

struct Outcome {
    int status = -1;
    QByteArray out;
    QString err;
};

Outcome run(const QStringList& arguments) {
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    Outcome r;
    r.status = runReportCommand(arguments, out, err);
    r.out = out.data();
    r.err = QString::fromUtf8(err.data());
    return r;
}

class ReportCommand : public ::testing::Test {
protected:
    void SetUp() override {
        SampleLogOptions options;
        options.records = 60;
        options.lastDay = QDate(2026, 11, 30);
        write(q("usage.htm"), makeSampleUsageLog(options).toLatin1());
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const QByteArray& data) const {
        ASSERT_TRUE(test::writeFile(path(name), data));
    }
    QTemporaryDir dir;
};

struct BadInput {
    const char* name;
    const char* file;
    QByteArray content;
    const char* says;
    bool exists = true;
    qint64 size = 0;  // > 0: the file is made that long (its rest sparse)
};

class ReportCommandBadInput : public ReportCommand,
                              public ::testing::WithParamInterface<BadInput> {};

TEST_P(ReportCommandBadInput, SaysWhatIsWrongAndWritesNoOutput) {
    const BadInput& c = GetParam();
    if (c.exists) {
        write(q(c.file), c.content);
    }
    if (c.size > 0) {
        ASSERT_TRUE(QFile::resize(path(q(c.file)), c.size));
    }
    const Outcome r = run({q("-o"), path(q("out.htm")), path(q(c.file))});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.startsWith(q("kestrova-report: ") + path(q(c.file)) + q(": ")))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(q(c.says))) << r.err.toStdString();
    EXPECT_EQ(r.err.count(u'\n'), 1);
    EXPECT_FALSE(QFile::exists(path(q("out.htm"))));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReportCommandBadInput,
    ::testing::Values(
        BadInput{"MissingFile", "absent.htm", {}, "no such file", false},
        BadInput{"EmptyFile", "empty.htm", {}, "not a usage log"},
        BadInput{"ZeroBytes", "zeros.htm", QByteArray(4096, '\0'), "not a usage log"},
        BadInput{"LoginPageInsteadOfALog", "page.htm",
                 "<html>\n<body>\n<form>login</form></body></html>", "line 2"},
        BadInput{
            "ADayTheCalendarLacks", "day36.htm",
            "h\n2026-11-01,10:00:00,00:01:00,1,1,2\n2026-11-36\xff/1,07:00:00,02:00:00,1,1,2\n",
            "(line 3: the Date field \"2026-11-36\" is not a day of the calendar)"},
        BadInput{"LargerThanAnyLog", "huge.htm",
                 "Date,Time,Duration,Download (MB),Upload (MB),Total (MB)\r\n",
                 "is larger than 64 MB, more than a month's usage log holds", true, 65 << 20}),
    [](const auto& row) { return std::string(row.param.name); });

// The kept outputs rank beside a chosen plan; without one every catalogue plan is ranked.
TEST_F(ReportCommand, RanksEveryPlanWithoutAChosenOne) {
    const Outcome r = run({q("--summary"), q("--compare-plans"), path(q("usage.htm"))});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString ranked = QString::fromUtf8(r.out).section(q("Plans ranked by total + tax:\n"), 1);
    EXPECT_EQ(ranked.trimmed().split(u'\n').size(), 29) << r.out.toStdString();
}

TEST_F(ReportCommand, UsageErrorsAMissingFolderAndHelp) {
    EXPECT_EQ(run({q("--plan"), q("30"), path(q("usage.htm"))}).status, 2);
    EXPECT_EQ(run({q("--plan"), q("3"), q("--rate"), q("1"), path(q("usage.htm"))}).status, 2);
    EXPECT_EQ(run({q("--today"), q("tomorrow"), path(q("usage.htm"))}).status, 2);
    EXPECT_EQ(run({q("--format"), q("xml"), path(q("usage.htm"))}).status, 2);
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({q("a"), q("b")}).status, 2);
    EXPECT_EQ(run({q("--no-such-option"), q("a")}).status, 2);
    EXPECT_EQ(run({q("--log"), q("--cache"), path(q("usage.htm"))}).status, 2);
    for (const char* bad : {"3", "-1", "night"}) {
        const Outcome r = run({q("--plan-kind"), q(bad), path(q("usage.htm"))});
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_TRUE(r.err.contains(q("--plan-kind is 0, 1 or 2"))) << r.err.toStdString();
    }
    EXPECT_EQ(run({q("--history"), q("a"), q("b")}).status, 2);
    const Outcome missing = run({q("--history"), path(q("nowhere"))});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.endsWith(q("nowhere: no such folder\n"))) << missing.err.toStdString();
    const Outcome help = run({q("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: kestrova-report [options] FILE | --history [FOLDER]"))
        << "the help names the command, not the executable that runs it, and both its forms";
    EXPECT_TRUE(QString::fromUtf8(help.out).simplified().contains(q("2 unlimited (default: 0)")));
}

// A stored custom figure beyond any number, which once aborted the command, gets its default
// and is told on standard error.
TEST(ReportCommandHistory, AStoredFigureNoBoxCanHoldIsToldAndTheHistoryComes) {
    QTemporaryDir folder;
    {
        SettingsStore store;
        store.save(q("nebRsPerMB"), q("1e36"));
        store.sync();
    }
    const Outcome r = run({q("--history"), folder.path()});
    SettingsStore().remove(q("nebRsPerMB"));
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, q("kestrova-report: The stored setting \"nebRsPerMB\" (\"1e36\") could not "
                       "be read; its default is used instead.\n"));
    EXPECT_TRUE(QString::fromUtf8(r.out).contains(q("Months: 0\n")));
}

TEST(ReportCommandHistory, AFolderThatCannotBeReadIsAnError) {
    QTemporaryDir folder;
    ASSERT_TRUE(saveFileData(folder.filePath(q("2026-10-unbilled-demo.cache2")),
                             q("<TR><TD>2026-10-01</TD><TD>10:00:00</TD><TD>1</TD><TD>1</TD>"
                               "<TD>1</TD><TD>1000</TD></TR>"),
                             true));
    ASSERT_TRUE(QFile::setPermissions(folder.path(), QFileDevice::WriteOwner));
    Outcome r;
    {
        const kestrova::testing::ObeyingFilePermissions asAUser;
        r = run({q("--history"), folder.path()});
    }
    QFile::setPermissions(folder.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, q("kestrova-report: ") + folder.path() + q(": ") + folder.path() +
                         q(": Permission denied\n"));
    EXPECT_TRUE(r.out.isEmpty());
}

// What a full disk does to each file the command writes: the old file stays whole, no new
// one is left, and the run fails with the system's reason.
struct FullDiskOutput {
    const char* name;
    const char* option;  // nullptr: standard output
};

class ReportCommandFullDisk : public ::testing::TestWithParam<FullDiskOutput> {};

TEST_P(ReportCommandFullDisk, KeepsTheOldFileAndFails) {
    kestrova::testing::ScopedTmpfs disk("12k");
    if (!disk.mounted()) {
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    }
    const QString target = disk.filePath(q("out"));
    const QByteArray before(3000, 'x');
    ASSERT_TRUE(test::writeFile(target, before));
    QProcess process;
    QStringList arguments{q(KESTROVA_SOURCE_DIR "/samples/usage.htm")};
    if (GetParam().option != nullptr) {
        arguments << q("--summary") << q(GetParam().option) << target;
        process.setStandardOutputFile(QProcess::nullDevice());
    } else {
        process.setStandardOutputFile(disk.filePath(q("page.htm")));
    }
    process.start(q(KESTROVA_REPORT_EXE), arguments);
    ASSERT_TRUE(process.waitForFinished(30000));
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_EQ(process.exitCode(), 1) << err.toStdString();
    const QString where = GetParam().option != nullptr ? target : q("standard output");
    EXPECT_TRUE(err.endsWith(q("kestrova-report: ") + where + q(": No space left on device\n")))
        << err.toStdString();
    EXPECT_EQ(test::readFile(target), before);
    QStringList left = QDir(disk.path()).entryList(QDir::Files | QDir::Hidden);
    left.removeAll(q("page.htm"));
    EXPECT_EQ(left, QStringList{q("out")});
}

INSTANTIATE_TEST_SUITE_P(Outputs, ReportCommandFullDisk,
                         ::testing::Values(FullDiskOutput{"Csv", "--csv"},
                                           FullDiskOutput{"CacheOut", "--cache-out"},
                                           FullDiskOutput{"Page", "--output"},
                                           FullDiskOutput{"StandardOutput", nullptr}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
