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
#include <algorithm>
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
    // Without --period a cache file's period comes from its name.
    const Outcome named = run({q("--summary"), path(q("2026-11-unbilled-demo.cache2"))});
    EXPECT_TRUE(QString::fromUtf8(named.out).startsWith(q("Period: 2026-11-unbilled\n")));
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
        BadInput{"ShortLine", "short.htm",
                 "Date,Time,Duration,Down,Up,Total\r\n2026-11-01,1,2,3,4,5\r\n2026-11-02,1,2\r\n",
                 "Error retrieving data from site (line 3 has fewer than six fields)"},
        BadInput{"LoginPageInsteadOfALog", "page.htm",
                 "<html>\n<body>\n<form>login</form></body></html>", "line 2"},
        BadInput{"CacheOfAnotherKey", "garbage.cache2", "\x13\x37 not a scrambled row text",
                 "the cache file is damaged at record 1, or scrambled with another key"},
        BadInput{"NotANumber", "nan.htm", "h\n2026-11-01,10:00:00,00:01:00,1,1,lots\n",
                 "(line 2: the Total (MB) field \"lots\" is not a figure the portal writes)"},
        BadInput{"ANegativeTotal", "negative.htm",
                 "Date,Time,Duration,Download (MB),Upload (MB),Total (MB)\r\n"
                 "2026-11-01,10:00:00,00:01:00,1,1,-49900\r\n",
                 "(line 2: the Total (MB) field \"-49900\" is not a figure the portal writes)"},
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

TEST_F(ReportCommand, PricesTheMonthAgainstAPlan) {
    write(q("april.htm"), kAprilLog);
    const Outcome r = run(
        {q("--summary"), q("--plan"), q("0"), q("--today"), q("2026-05-02"), path(q("april.htm"))});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = QString::fromUtf8(r.out).split(u'\n');
    EXPECT_TRUE(lines.contains(q("Metered Bandwidth : 1200.000 MB")));
    EXPECT_TRUE(lines.contains(q("Excess Bandwidth : 176.000 MB")));
    EXPECT_TRUE(lines.contains(q("Total + Tax : Rs. 333.99")));
    EXPECT_FALSE(lines.contains(q("Usage Today* : 600.00 MB")));  // the 15th is not today
}

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

TEST_F(ReportCommand, JsonForScriptsAndTheCsvExport) {
    write(q("april.htm"), kAprilLog);
    const Outcome r =
        run({q("--summary"), q("--format"), q("json"), q("--plan-charge"), q("100"),
             q("--allowance"), q("0"), q("--rate"), q("1"), q("--compare-plans"), q("--today"),
             q("2026-04-15"), q("--csv"), path(q("april.csv")), path(q("april.htm"))});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject root = printedJson(r.out, JsonSchema::Report);
    EXPECT_EQ(root[q("schemaVersion")].toInt(), 1);
    EXPECT_EQ(root[q("month")][q("records")].toInt(), 2);
    // A number like every other figure: 1200.4 MB over two days.
    EXPECT_EQ(root[q("month")][q("averagePerDay")], QJsonValue(600.2));
    EXPECT_TRUE(root[q("summary")][q("plan")][q("custom")].toBool());
    // An allowance of 0 counts as 1 MB.
    EXPECT_EQ(root[q("summary")][q("plan")][q("allowanceMB")].toDouble(), 1.0);
    EXPECT_EQ(root[q("comparison")][q("plans")].toArray().size(), 30);
    // The custom line takes part in the forecast's ranking too. 1 MB at 1 a MB beyond it: on
    // the 15th of 30 days 2400 MB are projected, 2399 over.
    EXPECT_EQ(root[q("forecast")][q("ranking")].toArray().size(), 30);
    EXPECT_FALSE(root[q("forecast")][q("monthComplete")].toBool());
    EXPECT_NEAR(root[q("forecast")][q("bill")][q("total")].toDouble(), 2499, 1e-9);
    QFile exported(path(q("april.csv")));
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_EQ(exported.readAll(),
              QByteArray("Date, Time, Duration, Download (MB), Upload (MB), Total (MB)\r\n"
                         "2026-04-15, 10:00:00, 01:00:00, 500, 100, 600\r\n"
                         "2026-04-01, 10:00:00, 01:00:00, 500, 100, 600.4\r\n"));
}

TEST_F(ReportCommand, ThePlanKindChargesTheNightUnlimitedPlans) {
    // 2000 MB, 1500 of them at night (03:00 for an hour) and 500 at midday; on "BBG FN Combo
    // 500" (1536 MB free) only the night kind keeps it within the allowance.
    write(q("night.htm"),
          "Date,Time,Duration,Download (MB),Upload (MB),Total (MB)\r\n"
          "2026-04-15,12:00:00,01:00:00,400,100,500\r\n"
          "2026-04-14,03:00:00,01:00:00,1400,100,1500\r\n");
    const auto json = [&](const char* kind) {
        QStringList arguments{q("--summary"), q("--format"), q("json"),      q("--plan"),
                              q("3"),         q("--today"),  q("2026-05-02")};
        if (kind) {
            arguments << q("--plan-kind") << q(kind);
        }
        const Outcome r = run(arguments << path(q("night.htm")));
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        return printedJson(r.out, JsonSchema::Report);
    };
    const QJsonObject night = json("1");
    EXPECT_EQ(night[q("month")][q("planKind")].toInt(), 1);
    EXPECT_EQ(night[q("month")][q("chargedMB")].toDouble(), 500);
    EXPECT_EQ(night[q("month")][q("freeMB")].toDouble(), 1500);
    EXPECT_EQ(night[q("month")][q("mixedRecords")].toInt(), 0);
    EXPECT_EQ(night[q("summary")][q("bill")][q("totalAndTax")].toDouble(), 551.5);

    for (const char* kind : {"0", static_cast<const char*>(nullptr)}) {
        const QJsonObject limited = json(kind);
        EXPECT_EQ(limited[q("month")][q("planKind")].toInt(), 0);
        EXPECT_EQ(limited[q("month")][q("chargedMB")].toDouble(), 2000);
        EXPECT_EQ(limited[q("month")][q("freeMB")].toDouble(), 0);
        // 464 MB beyond the allowance at 0.20: 653.8584 to the paisa.
        EXPECT_EQ(limited[q("summary")][q("bill")][q("totalAndTax")].toDouble(), 653.86);
    }
}

TEST_F(ReportCommand, ThePricedSummaryEndsWithTheForecast) {
    write(q("april.htm"), kAprilLog);
    const QStringList month{q("--summary"), q("--plan"), q("0"), path(q("april.htm"))};
    // On the 15th: 1200 * 30 / 15 = 2400 MB; 600.4 on the 1st and 600 on the 15th pass 1024
    // on the 15th.
    const Outcome r = run(month + QStringList{q("--today"), q("2026-04-15")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString out = QString::fromUtf8(r.out);
    EXPECT_TRUE(
        out.endsWith(q("Summary valid only if report generated is only for one month.\n"
                       "\n"
                       "Forecast\n"
                       "Month : day 15 of 30\n"
                       "Projected usage : 2400.000 MB\n"
                       "Allowance : Ran out on 15 Apr\n"
                       "Daily budget : Ran out\n"
                       "Projected Total : Rs. 662.80\n"
                       "Tax (10.30%) : Rs. 68.27\n"
                       "Projected Total + Tax : Rs. 731.07\n"
                       "Cheapest at this pace : BB Home UL 499   Rs. 550.40\n"
                       "Saves Rs. 180.67 against the selected plan\n")))
        << out.toStdString();

    // Once the month is over the forecast is the month itself.
    const Outcome json =
        run(month + QStringList{q("--today"), q("2026-05-02"), q("--format"), q("json")});
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    const QJsonObject forecast =
        printedJson(json.out, JsonSchema::Report)[q("forecast")].toObject();
    EXPECT_TRUE(forecast[q("monthComplete")].toBool());
    EXPECT_DOUBLE_EQ(forecast[q("projectedMB")].toDouble(), 1200);
    EXPECT_TRUE(forecast[q("ranOut")].toBool());
    EXPECT_EQ(forecast[q("allowanceRunsOut")].toString(), q("2026-04-15"));
    EXPECT_EQ(forecast[q("bill")][q("totalAndTax")].toDouble(), 333.99);
    EXPECT_EQ(forecast[q("daysLeft")].toInt(), 0);
    EXPECT_TRUE(forecast[q("dailyBudgetMB")].isNull());  // no day of the month is left
    EXPECT_EQ(forecast[q("cheapest")][q("slot")].toInt(), 0);
    EXPECT_EQ(forecast[q("ranking")].toArray().size(), 29);

    // Nothing priced, no forecast.
    const Outcome plain = run({q("--summary"), q("--format"), q("json"), path(q("april.htm"))});
    EXPECT_FALSE(printedJson(plain.out, JsonSchema::Report).contains(q("forecast")));
    const Outcome text = run({q("--summary"), path(q("april.htm"))});
    EXPECT_FALSE(QString::fromUtf8(text.out).contains(q("Forecast")));
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

// The report page of the bundled sample month, byte for byte as kestrova-report writes it. On
// a mismatch the page made is written beside the golden file as NAME-FAILED.htm, to compare;
// a page changed on purpose is checked in by moving that file over the golden one.
TEST(ReportCommandGolden, SampleMonthPageIsTheGoldenPage) {
    const QDir golden(q(KESTROVA_SOURCE_DIR "/tests/cli/golden"));
    const QString name = q("usage-2026-11");
    const QString expectedPath = golden.filePath(name + q(".htm"));
    const QString failedPath = golden.filePath(name + q("-FAILED.htm"));
    QFile::remove(failedPath);

    const Outcome r =
        run({q("--period"), q("November 2026"), q(KESTROVA_SOURCE_DIR "/samples/usage.htm")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    ASSERT_FALSE(r.out.isEmpty());

    QFile expected(expectedPath);
    const QByteArray want = expected.open(QIODevice::ReadOnly) ? expected.readAll() : QByteArray();
    if (r.out != want) {
        QDir().mkpath(golden.path());
        QFile failed(failedPath);
        ASSERT_TRUE(failed.open(QIODevice::WriteOnly)) << failed.errorString().toStdString();
        failed.write(r.out);
        const qsizetype common = std::min(r.out.size(), want.size());
        qsizetype at = 0;
        while (at < common && r.out[at] == want[at]) {
            ++at;
        }
        ADD_FAILURE() << "the page differs from " << expectedPath.toStdString() << " from byte "
                      << at << " on (" << r.out.size() << " bytes made, " << want.size()
                      << " expected); the page made is " << failedPath.toStdString();
    }
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
            "the cache file is damaged at record 118, or scrambled with another key"},
        DamagedCache{"NothingButZeroBytes",
                     [](QByteArray& text) { text = QByteArray(text.size(), '\0'); },
                     "the cache file is damaged at record 1, or scrambled with another key"}),
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

// The bundled November through the command as a subscriber runs it. Once, its month total was
// 19755 MB in the summary, the JSON and the history while the Summary billed 19756 MB (each
// record's total rounded before the sum), and the history billed the chosen night plan on the
// night split whatever --plan-kind said (Rs. 3830.72 where the Summary says Rs. 4570.83).
TEST(ReportCommandSample, EveryMonthTotalAndBillIsTheSummarys) {
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::copy(q(KESTROVA_SOURCE_DIR "/samples/2026-11-unbilled-demo.cache2"),
                            folder.filePath(q("2026-11-unbilled-demo.cache2"))));
    const QString cache = folder.filePath(q("2026-11-unbilled-demo.cache2"));
    const QStringList priced = {q("--plan"), q("3"), q("--today"), q("2026-11-30")};

    const Outcome text = run(QStringList{q("--summary"), cache} + priced);
    ASSERT_EQ(text.status, 0) << text.err.toStdString();
    const QString summary = QString::fromUtf8(text.out);
    EXPECT_TRUE(summary.contains(q("\nMonth total: 19756.000 MB (19.293 GB)\n")));
    EXPECT_TRUE(summary.contains(q("\nMetered Bandwidth : 19756.000 MB\n")));
    EXPECT_TRUE(summary.contains(q("\nTotal + Tax : Rs. 4570.83\n")));

    const Outcome json = run(QStringList{q("--summary"), q("--format"), q("json"), cache} + priced);
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(json.out)[q("month")][q("monthMB")].toDouble(), 19756);

    struct Case {
        const char* planKind;
        double bill;
    };
    for (const Case& c : {Case{"0", 4570.83}, Case{"1", 3830.72}}) {
        SCOPED_TRACE(c.planKind);
        const Outcome history = run(QStringList{q("--history"), folder.path(), q("--format"),
                                                q("json"), q("--plan-kind"), q(c.planKind)} +
                                    priced);
        ASSERT_EQ(history.status, 0) << history.err.toStdString();
        const QJsonObject month =
            QJsonDocument::fromJson(history.out)[q("months")].toArray().at(0).toObject();
        EXPECT_EQ(month[q("monthMB")].toDouble(), 19756);
        EXPECT_NEAR(month[q("bill")][q("totalAndTax")].toDouble(), c.bill, 0.005);
    }
}
