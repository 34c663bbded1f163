// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The last check kept in the program's folder: a successful check replaces the document whole
// (a new file renamed over the old, so a reader never sees a part), with the usage log it read
// beside it; a failed check leaves both as they were and keeps its reason and time beside
// them, until the next successful check. Both files have the published shape.

#include "results/last_check.h"

#include "results/check_document.h"
#include "retrieval/report_page.h"
#include "retrieval/retrieval_state.h"
#include "support/json_schema.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace kestrova {
namespace {

using kestrova::test::JsonSchema;
using kestrova::test::q;

QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

ino_t inode(const QString& path) {
    struct stat s {};
    return ::stat(QFile::encodeName(path).constData(), &s) == 0 ? s.st_ino : 0;
}

class LastCheck : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        writeLog("first log");
    }
    void writeLog(const QByteArray& bytes) {
        QFile f(log);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QJsonObject document(int records) const {
        RetrievalState state;
        state.monthYear = q("period 01-04-2013 TO 10-04-2013");
        ReportFigures figures;
        figures.records = records;
        const SummaryInputs inputs{300, 300, QDate(2013, 4, 10), 30};
        const PlanChoice plan = PlanChoice::catalogue(0);
        return checkDocument(
            state, figures, summarizeMonth(inputs, plan, QDate(2013, 4, 10)),
            forecastMonth(inputs, plan, {}, QDate(2013, 4, 10)),
            CheckFacts{q("portal.test"), q("de/mo"), QDate(2013, 4, 1), QDate(2013, 4, 10), false,
                       log, QDateTime(QDate(2013, 4, 10), QTime(7, 30), Qt::OffsetFromUTC, 19800)});
    }

    QTemporaryDir dir;
    QString log = dir.filePath(q("usage.htm"));
    // A user id with a path separator stays inside the folder.
    LastCheckFiles files = lastCheckFiles(dir.path(), q("de/mo"), false);
};

TEST_F(LastCheck, ASuccessReplacesTheFilesWholeAndAFailureLeavesThem) {
    EXPECT_EQ(files.document, dir.filePath(q("last-check-unbilled-de_mo.json")));
    QString why;
    ASSERT_TRUE(keepLastCheck(dir.path(), document(12), log, why)) << why.toStdString();
    const QByteArray first = read(files.document);
    const QJsonObject kept = test::printedJson(first, JsonSchema::Check);
    EXPECT_EQ(kept[q("check")][q("checkedAt")].toString(), q("2013-04-10T07:30:00+05:30"));
    EXPECT_EQ(kept[q("check")][q("kind")].toString(), q("unbilled"));
    EXPECT_EQ(read(files.log), "first log");

    // A failure: the document and the log stay, byte for byte; the failure goes beside them.
    const CheckFailure failure{q("de/mo"), false, q("the portal cannot be reached"),
                               QDateTime(QDate(2013, 4, 11), QTime(7, 30), Qt::UTC)};
    ASSERT_TRUE(keepCheckFailure(dir.path(), failure, why)) << why.toStdString();
    EXPECT_EQ(read(files.document), first);
    EXPECT_EQ(read(files.log), "first log");
    test::expectMatchesDefinition(QJsonDocument::fromJson(read(files.failure)).object(),
                                  JsonSchema::Check, "failure");
    const std::optional<CheckFailure> back = readCheckFailure(files.failure);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->reason, failure.reason);
    EXPECT_EQ(back->failedAt, failure.failedAt);

    // A reader that opened the old document still reads it whole while the next success
    // renames a new one over it; the failure is over.
    QFile reader(files.document);
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
    const ino_t before = inode(files.document);
    writeLog("second log");
    ASSERT_TRUE(keepLastCheck(dir.path(), document(13), log, why)) << why.toStdString();
    EXPECT_NE(inode(files.document), before);
    EXPECT_EQ(reader.readAll(), first);
    EXPECT_EQ(test::printedJson(read(files.document), JsonSchema::Check)[q("month")][q("records")]
                  .toInt(),
              13);
    EXPECT_EQ(read(files.log), "second log");
    EXPECT_FALSE(QFile::exists(files.failure));
    // Nothing half-written is left about.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{q("last-check-unbilled-de_mo.json"),
                           q("last-check-unbilled-de_mo.usage.htm"), q("usage.htm")}));
    EXPECT_EQ(lastCheckDocuments(dir.path()), QStringList{files.document});
}

TEST_F(LastCheck, NothingIsKeptWithoutTheLogOrAUserId) {
    QString why;
    QFile::remove(log);
    EXPECT_FALSE(keepLastCheck(dir.path(), document(12), log, why));
    EXPECT_TRUE(why.contains(q("usage.htm"))) << why.toStdString();
    EXPECT_FALSE(QFile::exists(files.document));
    EXPECT_FALSE(keepCheckFailure(dir.path(), CheckFailure{}, why));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(LastCheck, AFailureFileThatIsNoneReadsAsNone) {
    for (const QByteArray& bytes :
         {QByteArray("not json"), QByteArray("{\"reason\": \"x\"}"),
          QByteArray("{\"reason\": \"\", \"failedAt\": \"2013-04-10T07:30:00Z\"}"),
          QByteArray(100 * 1024, '{')}) {
        QFile f(files.failure);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        EXPECT_FALSE(readCheckFailure(files.failure).has_value()) << bytes.left(40).toStdString();
    }
}

}  // namespace
}  // namespace kestrova
