// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What kestrova-report and kestrova-check write, byte for byte: every page, listing, cache
// file, text and JSON document for a set of inputs (the samples, logs and cache files as the
// portal and every version of the program wrote them, and the fuzzing step's inputs that the
// programs take). Each run's outputs are kept in tests/cli/golden/NAME/; a mismatch is written
// beside its file as FILE-FAILED.EXT, and a change made on purpose is checked in by moving that
// file over the kept one.

#include "support/json_schema.h"
#include "support/portal_process.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <vector>

namespace kestrova {
namespace {

using kestrova::test::q;

const QString kGolden = QStringLiteral(KESTROVA_SOURCE_DIR "/tests/cli/golden");
const QString kInputs = kGolden + QStringLiteral("/inputs");

#ifdef KESTROVA_GOLDEN_CHECK
constexpr bool kCheck = true;  // kestrova-check against portal-sim
#else
constexpr bool kCheck = false;  // kestrova-report
#endif

struct GoldenRun {
    const char* name;
    // "@IN/" is the inputs folder, "@OUT/" the run's own folder; every "@OUT/" file is kept.
    std::vector<const char*> arguments;
    int status = 0;
    // What else the run writes besides its standard output and error, relative to its folder.
    std::vector<const char*> files = {};
    // Where its standard output is kept when other tests read it too, relative to the golden
    // folder; none: NAME/stdout.
    const char* sharedStdout = nullptr;
};

// A test's name from the run's: "sample-log" gives sample_log.
std::string testName(const ::testing::TestParamInfo<GoldenRun>& info) {
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

// "page.htm" fails as "page-FAILED.htm", "stdout" as "stdout-FAILED".
QString failedName(const QString& kept) {
    const QFileInfo info(kept);
    const QString suffix = info.completeSuffix();
    return info.path() + u'/' + info.baseName() + q("-FAILED") +
           (suffix.isEmpty() ? QString() : u'.' + suffix);
}

// Compares `made` with the kept file; on a mismatch writes it beside the kept one.
void expectKept(const QString& kept, const QByteArray& made) {
    const QString failed = failedName(kept);
    QFile::remove(failed);
    const QByteArray want = test::readFile(kept);
    if (made == want && (QFileInfo::exists(kept) || made.isEmpty())) {
        return;
    }
    QDir().mkpath(QFileInfo(kept).path());
    ASSERT_TRUE(test::writeFile(failed, made)) << failed.toStdString();
    const qsizetype common = std::min(made.size(), want.size());
    qsizetype at = 0;
    while (at < common && made[at] == want[at]) {
        ++at;
    }
    ADD_FAILURE() << kept.toStdString() << " differs from byte " << at << " on (" << made.size()
                  << " bytes made, " << want.size() << " kept); what was made is "
                  << failed.toStdString();
}

class Golden : public ::testing::TestWithParam<GoldenRun> {
protected:
    // The run's outputs with what differs from run to run put in words: its folders, the
    // portal's port and when the check ran.
    QByteArray steady(QByteArray bytes) const {
        bytes.replace(m_home.path().toUtf8(), "@OUT");
        bytes.replace(kInputs.toUtf8(), "@IN");
        if (m_portal) {
            bytes.replace(QStringLiteral("127.0.0.1:%1").arg(m_portal->port()).toUtf8(),
                          "127.0.0.1:PORT");
            static const QRegularExpression checkedAt(QStringLiteral("\"checkedAt\": \"[^\"]*\""));
            bytes =
                QString::fromUtf8(bytes).replace(checkedAt, q("\"checkedAt\": \"@TIME\"")).toUtf8();
        }
        return bytes;
    }

    QTemporaryDir m_home;
    std::unique_ptr<testing::PortalProcess> m_portal;
};

TEST_P(Golden, OutputsAreTheKeptOnes) {
    ASSERT_TRUE(m_home.isValid());
    const GoldenRun& run = GetParam();
    QStringList files;
    for (const char* file : run.files) {
        files << q(file);
    }
    QStringList arguments;
    for (const char* argument : run.arguments) {
        if (q(argument).startsWith(q("@OUT/"))) {
            files << q(argument).mid(5);
        }
        arguments << q(argument)
                         .replace(q("@IN/"), kInputs + u'/')
                         .replace(q("@OUT/"), m_home.path() + u'/');
    }
    QString program = q(KESTROVA_REPORT_EXE);
    QByteArray input;
    if (kCheck) {
        m_portal = std::make_unique<testing::PortalProcess>(
            QStringList{q("--today"), q("2013-04-17"), q("--password"), q("golden")});
        ASSERT_GT(m_portal->port(), 0);
        program = q(KESTROVA_CHECK_EXE);
        arguments =
            QStringList{q("--host"),           QStringLiteral("127.0.0.1:%1").arg(m_portal->port()),
                        q("--user"),           q("demo"),
                        q("--password-stdin"), q("--today"),
                        q("2013-04-17")} +
            arguments;
        input = "golden\n";
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(q("LC_ALL"), q("C.UTF-8"));
    env.insert(q("TZ"), q("UTC"));
    env.insert(q("XDG_CONFIG_HOME"), m_home.filePath(q("config")));
    env.insert(q("XDG_DATA_HOME"), m_home.filePath(q("data")));
    env.insert(q("XDG_CONFIG_DIRS"), m_home.filePath(q("etc")));
    env.remove(q("DISPLAY"));
    env.remove(q("QT_QPA_PLATFORM"));
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(m_home.path());
    process.start(program, arguments);
    ASSERT_TRUE(process.waitForStarted(10000));
    process.write(input);
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(180000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    const QByteArray err = process.readAllStandardError();
    EXPECT_EQ(process.exitCode(), run.status) << err.toStdString();

    const QString kept = kGolden + u'/' + q(run.name) + u'/';
    const QString keptStdout = run.sharedStdout != nullptr
                                   ? QString(kGolden + u'/' + q(run.sharedStdout))
                                   : QString(kept + q("stdout"));
    const QByteArray out = process.readAllStandardOutput();
    // Every kept document also has the shape its schema publishes.
    if (arguments.contains(q("json")) && run.status == 0) {
        test::printedJson(out, kCheck                               ? test::JsonSchema::Check
                               : arguments.contains(q("--history")) ? test::JsonSchema::History
                                                                    : test::JsonSchema::Report);
    }
    expectKept(keptStdout, steady(out));
    expectKept(kept + q("stderr"), steady(err));
    for (const QString& file : files) {
        const QString made = m_home.path() + u'/' + file;
        EXPECT_TRUE(QFileInfo::exists(made)) << file.toStdString();
        expectKept(kept + QFileInfo(file).fileName(), steady(test::readFile(made)));
    }
}

#ifndef KESTROVA_GOLDEN_CHECK
// The samples, priced and exported every way the command line offers.
const GoldenRun kSampleRuns[] = {
    // The bundled month's page, which the windows' tests read too.
    {"sample-page",
     {KESTROVA_SOURCE_DIR "/samples/usage.htm", "--period", "November 2026"},
     0,
     {},
     "usage-2026-11.htm"},
    {"sample-log",
     {KESTROVA_SOURCE_DIR "/samples/usage.htm", "--summary", "--plan", "3", "--compare-plans",
      "--today", "2026-11-30", "--csv", "@OUT/listing.csv", "--cache-out", "@OUT/kept.cache2"}},
    {"sample-cache-night-json",
     {KESTROVA_SOURCE_DIR "/samples/2026-11-unbilled-demo.cache2", "--summary", "--format", "json",
      "--plan-kind", "1", "--plan", "5", "--compare-plans", "--today", "2026-11-20", "--output",
      "@OUT/page.htm"}},
};
INSTANTIATE_TEST_SUITE_P(Samples, Golden, ::testing::ValuesIn(kSampleRuns), testName);

// The three plan kinds over sessions before, inside, across and after the free night hours.
const GoldenRun kPlanKindRuns[] = {
    {"night-kind",
     {"@IN/night-log.csv", "--plan-kind", "1", "--plan", "3", "--today", "2026-10-05", "--csv",
      "@OUT/listing.csv"}},
    {"unlimited-kind-json",
     {"@IN/night-log.csv", "--plan-kind", "2", "--summary", "--format", "json", "--plan", "7",
      "--today", "2026-10-20", "--output", "@OUT/page.htm"}},
    {"custom-plan",
     {"@IN/night-log.csv", "--summary", "--plan", "29", "--plan-charge", "300", "--allowance",
      "1000", "--rate", "0.5", "--today", "2026-10-31", "--compare-plans"}},
    // Custom figures with an allowance of 0, which prices as one megabyte, mid-month.
    {"custom-zero-allowance-json",
     {"@IN/april-log.csv", "--summary", "--format", "json", "--plan-charge", "100", "--allowance",
      "0", "--rate", "1", "--compare-plans", "--today", "2026-04-15"}},
};
INSTANTIATE_TEST_SUITE_P(PlanKinds, Golden, ::testing::ValuesIn(kPlanKindRuns), testName);

// Fields that need escaping, rows an earlier version wrote unescaped, and inputs of the fuzzing
// step: control characters, NUL characters, carriage returns, a byte order mark.
const GoldenRun kTextRuns[] = {
    {"escaped-fields",
     {"@IN/escapes-log.csv", "--period", "Okt <2026> & Caf\u00e9 \u2603", "--output",
      "@OUT/page.htm", "--csv", "@OUT/listing.csv", "--cache-out", "@OUT/kept.cache2"}},
    {"unescaped-rows",
     {"@IN/history/2026-10-unbilled-demo.cache2", "--csv", "@OUT/listing.csv", "--cache-out",
      "@OUT/kept.cache2"}},
    {"unescaped-rows-page",
     {"@IN/history/2026-10-unbilled-demo.cache2", "--plan-kind", "1", "--output", "@OUT/page.htm"}},
    // Rows edited by hand: references of every kind, a title row, control and NUL characters,
    // blanks and line breaks around the figures.
    {"edited-cache-night",
     {"@IN/2026-05-unbilled-edited.cache2", "--plan-kind", "1", "--summary", "--output",
      "@OUT/page.htm", "--csv", "@OUT/listing.csv"}},
    {"own-rows-night-json",
     {"@IN/history/2026-09-unbilled-demo.cache2", "--plan-kind", "1", "--summary", "--format",
      "json", "--output", "@OUT/page.htm", "--csv", "@OUT/listing.csv"}},
    {"fuzz-control-chars",
     {"@IN/fuzz-control-chars.log", "--log", "--plan-kind", "1", "--csv", "@OUT/listing.csv",
      "--cache-out", "@OUT/kept.cache2"}},
    {"fuzz-control-in-duration", {"@IN/fuzz-control-in-duration.log", "--log"}},
    {"fuzz-byte-order-mark",
     {"@IN/fuzz-byte-order-mark.log", "--log", "--csv", "@OUT/listing.csv"}},
    {"fuzz-carriage-returns",
     {"@IN/fuzz-carriage-returns.log", "--log", "--summary", "--cache-out", "@OUT/kept.cache2"}},
};
INSTANTIATE_TEST_SUITE_P(Texts, Golden, ::testing::ValuesIn(kTextRuns), testName);

// The cached months side by side, and what each command says of input it refuses.
const GoldenRun kHistoryAndFailureRuns[] = {
    {"history-text", {"--history", "@IN/history", "--plan", "3", "--today", "2026-12-01"}},
    {"history-json",
     {"--history", "@IN/history", "--format", "json", "--plan-kind", "1", "--user", "demo",
      "--plan", "0", "--today", "2026-12-01"}},
    {"short-line", {"@IN/short-line.csv"}, 1},
    {"figure-not-the-portals", {"@IN/bad-figure.csv"}, 1},
    {"fuzz-nul-in-date", {"@IN/fuzz-nul-in-date.log", "--log"}, 1},
    {"day-that-does-not-exist", {"@IN/2026-02-unbilled-baddate.cache2"}, 1},
    {"month-beyond-counting", {"@IN/2026-03-unbilled-overflow.cache2"}, 1},
    {"damaged-cache", {"@IN/history/2026-08-unbilled-demo.cache2"}, 1},
};
INSTANTIATE_TEST_SUITE_P(HistoryAndFailures, Golden, ::testing::ValuesIn(kHistoryAndFailureRuns),
                         testName);
#else
// kestrova-check against portal-sim: its document, page, listing, the month's cache file and
// the last check it keeps.
const GoldenRun kCheckRuns[] = {
    {"check-json",
     {"--from", "2013-04-03", "--to", "2013-04-12", "--plan", "0", "--compare-plans", "--format",
      "json", "--output", "@OUT/page.htm", "--csv", "@OUT/listing.csv", "--cache"},
     0,
     {"data/kestrova/2013-04-unbilled-demo.cache2", "data/kestrova/usage.htm",
      "data/kestrova/last-check-unbilled-demo.json"}},
    {"check-night-billed",
     {"--from", "2013-03-28", "--to", "2013-04-05", "--plan-kind", "1", "--billed", "--plan", "3",
      "--cache"},
     0,
     {"data/kestrova/2013-03-billed-demo.cache2", "data/kestrova/2013-04-billed-demo.cache2"}},
};
INSTANTIATE_TEST_SUITE_P(Check, Golden, ::testing::ValuesIn(kCheckRuns), testName);
#endif

}  // namespace
}  // namespace kestrova
