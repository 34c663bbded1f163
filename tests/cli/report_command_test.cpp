// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/report_command.h"

#include "support/file_faults.h"
#include "support/json_schema.h"
#include "support/qt_printers.h"

#include "platform/html_document.h"
#include "platform/settings_store.h"
#include "retrieval/cache_file.h"
#include "retrieval/xor_cipher.h"
#include "sample_log.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>

using namespace kestrova;

namespace {

using kestrova::test::JsonSchema;
using kestrova::test::printedJson;
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
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(ReportCommand, OutputFileAndCacheFileGiveTheSameReport) {
    const Outcome first = run({q("-o"), path(q("a.htm")), q("--cache-out"),
                               path(q("2026-11-unbilled-demo.cache2")), path(q("usage.htm"))});
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.isEmpty());
    EXPECT_TRUE(first.err.contains(q("Report written to ")));
    const Outcome fromCache =
        run({q("--output"), path(q("b.htm")), q("--period"), q("period 01-11-2026 TO 30-11-2026"),
             path(q("2026-11-unbilled-demo.cache2"))});
    ASSERT_EQ(fromCache.status, 0) << fromCache.err.toStdString();
    QFile a(path(q("a.htm")));
    QFile b(path(q("b.htm")));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    HtmlDocument pa(QString::fromLatin1(a.readAll()));
    HtmlDocument pb(QString::fromLatin1(b.readAll()));
    ElementPtr la = pa.elementsByTagName(q("table")).item(1);
    ElementPtr lb = pb.elementsByTagName(q("table")).item(1);
    ASSERT_EQ(la->rowCount(), lb->rowCount());
    for (int i = 1; i < la->rowCount(); ++i) {  // row 0 names the period
        ASSERT_EQ(la->row(i)->outerHTML(), lb->row(i)->outerHTML()) << "row " << i;
    }
}

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

namespace {
// 1200 MB, the last record on the 15th of April (a 30-day month).
const QByteArray kAprilLog =
    "Date,Time,Duration,Download (MB),Upload (MB),Total (MB)\r\n"
    "2026-04-15,10:00:00,01:00:00,500,100,600\r\n"
    "2026-04-01,10:00:00,01:00:00,500,100,600.4\r\n";
}  // namespace

// Without a chosen plan: every catalogue plan, cheapest first.
TEST_F(ReportCommand, RanksEveryPlanCheapestFirst) {
    write(q("april.htm"), kAprilLog);
    const Outcome r = run({q("--summary"), q("--compare-plans"), q("--today"), q("2026-05-02"),
                           path(q("april.htm"))});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString out = QString::fromUtf8(r.out);
    const QStringList ranked =
        out.section(q("Plans ranked by total + tax:\n"), 1).trimmed().split(u'\n');
    ASSERT_EQ(ranked.size(), 29);  // the custom plan only with custom figures
    EXPECT_TRUE(ranked.front().contains(q("Rs. 333.99"))) << ranked.front().toStdString();
    EXPECT_TRUE(ranked.back().contains(q("15000")));
}

TEST_F(ReportCommand, JsonPricesCustomFiguresAnAllowanceOfZeroAsOneMegabyte) {
    write(q("april.htm"), kAprilLog);
    const Outcome r = run({q("--summary"), q("--format"), q("json"), q("--plan-charge"), q("100"),
                           q("--allowance"), q("0"), q("--rate"), q("1"), q("--compare-plans"),
                           q("--today"), q("2026-04-15"), path(q("april.htm"))});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject root = printedJson(r.out, JsonSchema::Report);
    EXPECT_EQ(root[q("month")][q("records")].toInt(), 2);
    // A number like every other figure: 1200.4 MB over two days.
    EXPECT_EQ(root[q("month")][q("averagePerDay")], QJsonValue(600.2));
    EXPECT_TRUE(root[q("summary")][q("plan")][q("custom")].toBool());
    EXPECT_EQ(root[q("summary")][q("plan")][q("allowanceMB")].toDouble(), 1.0);
    EXPECT_EQ(root[q("comparison")][q("plans")].toArray().size(), 30);
    // The custom line takes part in the forecast's ranking too. 1 MB at 1 a MB beyond it: on
    // the 15th of 30 days 2400 MB are projected, 2399 over.
    EXPECT_EQ(root[q("forecast")][q("ranking")].toArray().size(), 30);
    EXPECT_NEAR(root[q("forecast")][q("bill")][q("total")].toDouble(), 2499, 1e-9);
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
    EXPECT_TRUE(QString::fromUtf8(help.out).contains(q("--output <PATH>")));
    EXPECT_TRUE(
        QString::fromUtf8(help.out).simplified().contains(q("forecast for the month's end")));
}

namespace {

// The sample month's cache file, unscrambled, changed, and scrambled again.
QByteArray damagedSampleCache(const std::function<void(QByteArray&)>& damage) {
    QFile sample(q(KESTROVA_SOURCE_DIR "/samples/2026-11-unbilled-demo.cache2"));
    EXPECT_TRUE(sample.open(QIODevice::ReadOnly));
    QString text = QString::fromLatin1(sample.readAll());
    XorCipher().scramble(text, kCacheKey);
    QByteArray plain = text.toLatin1();
    damage(plain);
    text = QString::fromLatin1(plain);
    XorCipher().scramble(text, kCacheKey);
    return text.toLatin1();
}

struct DamagedCache {
    const char* name;
    std::function<void(QByteArray&)> damage;
    const char* says;
};

class ReportCommandDamagedCache : public ::testing::TestWithParam<DamagedCache> {};

// A cache file with a record that cannot be read is reported, never read short or with a
// figure the portal never wrote; the history lists it as unreadable and leaves it out.
TEST_P(ReportCommandDamagedCache, IsReportedNotReadShort) {
    QTemporaryDir folder;
    const QString file = folder.filePath(q("2026-11-unbilled-demo.cache2"));
    {
        QFile damaged(file);
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write(damagedSampleCache(GetParam().damage));
    }
    const Outcome report = run({q("--summary"), file});
    EXPECT_EQ(report.status, 1);
    EXPECT_EQ(report.err, q("kestrova-report: ") + file + q(": ") + q(GetParam().says) + u'\n');
    EXPECT_TRUE(report.out.isEmpty());

    const Outcome history = run({q("--history"), folder.path(), q("--plan"), q("0")});
    ASSERT_EQ(history.status, 0) << history.err.toStdString();
    const QString shown = QString::fromUtf8(history.out);
    EXPECT_TRUE(shown.contains(q("cannot be read: ") + q(GetParam().says).left(20)))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains(q("Months: 0\n"))) << shown.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReportCommandDamagedCache,
    ::testing::Values(
        DamagedCache{"AnExponentInATotal",
                     [](QByteArray& text) { text.replace("134.2905", "134.29e5"); },
                     "record 120 (2026-11-18): the Total (MB) field \"134.29e5\" is not a "
                     "figure the portal writes"},
        DamagedCache{
            "ABrokenCellTag",
            [](QByteArray& text) { text.replace(text.indexOf("<TD>2026-11-18"), 4, "<\x01D>"); },
            "the cache file is damaged at record 118, or scrambled with another key"}),
    [](const auto& row) { return std::string(row.param.name); });

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
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        ASSERT_EQ(old.write(before), before.size());
    }
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
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), before);
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

// The history prices the chosen plan under the plan kind it is given: once, it billed the
// chosen night plan on the night split whatever --plan-kind said (Rs. 3830.72 for the bundled
// November where the Summary says Rs. 4570.83 under the limited kind).
TEST(ReportCommandSample, TheHistoryBillsUnderThePlanKindGiven) {
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::copy(q(KESTROVA_SOURCE_DIR "/samples/2026-11-unbilled-demo.cache2"),
                            folder.filePath(q("2026-11-unbilled-demo.cache2"))));
    struct Case {
        const char* planKind;
        double bill;
    };
    for (const Case& c : {Case{"0", 4570.83}, Case{"1", 3830.72}}) {
        SCOPED_TRACE(c.planKind);
        const Outcome history =
            run({q("--history"), folder.path(), q("--format"), q("json"), q("--plan-kind"),
                 q(c.planKind), q("--plan"), q("3"), q("--today"), q("2026-11-30")});
        ASSERT_EQ(history.status, 0) << history.err.toStdString();
        const QJsonObject month =
            QJsonDocument::fromJson(history.out)[q("months")].toArray().at(0).toObject();
        EXPECT_EQ(month[q("monthMB")].toDouble(), 19756);
        EXPECT_NEAR(month[q("bill")][q("totalAndTax")].toDouble(), c.bill, 0.005);
    }
}
