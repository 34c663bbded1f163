// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/last_check.h"

#include "platform/program_folder.h"
#include "results/summary_report.h"
#include "retrieval/cache_file.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

namespace kestrova {

namespace {

const QString kPrefix = QStringLiteral("last-check-");
const QString kFailureSuffix = QStringLiteral(".failed.json");

// The largest file read back as a failure: it holds one line.
constexpr qint64 kFailureLimit = qint64(64) * 1024;

QString kindWord(bool billed) {
    return billed ? QStringLiteral("billed") : QStringLiteral("unbilled");
}

// The program's one writer: a full disk never leaves half a document in place of the last.
bool writeWhole(const QString& path, const QByteArray& bytes, QString& error) {
    return replaceFile(
        path, [&](QIODevice& device) { return writeAll(device, bytes); }, error);
}

}  // namespace

LastCheckFiles lastCheckFiles(const QString& folder, const QString& user, bool billed) {
    return lastCheckFilesOf(inProgramFolder(
        folder, kPrefix + kindWord(billed) + u'-' + cacheNameUser(user) + QStringLiteral(".json")));
}

LastCheckFiles lastCheckFilesOf(const QString& documentPath) {
    const QString json = QStringLiteral(".json");
    const QString stem =
        documentPath.endsWith(json) ? documentPath.chopped(json.size()) : documentPath;
    return {documentPath, stem + kFailureSuffix, stem + QStringLiteral(".usage.htm")};
}

QStringList lastCheckDocuments(const QString& folder) {
    QStringList documents;
    const QStringList names = QDir(folder).entryList({kPrefix + QStringLiteral("*.json")},
                                                     QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : names) {
        if (!name.endsWith(kFailureSuffix)) {
            documents << inProgramFolder(folder, name);
        }
    }
    return documents;
}

bool keepLastCheck(const QString& folder, const QJsonObject& document, const QString& logPath,
                   QString& error) {
    const QJsonObject check = document.value(QStringLiteral("check")).toObject();
    const QString user = check.value(QStringLiteral("user")).toString();
    if (user.isEmpty()) {
        error = QStringLiteral("the check names no user id");
        return false;
    }
    const LastCheckFiles files =
        lastCheckFiles(folder, user, check.value(QStringLiteral("kind")).toString() == u"billed");
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly)) {
        error = logPath + QStringLiteral(": ") + log.errorString();
        return false;
    }
    if (!writeWhole(files.log, log.readAll(), error) ||
        !writeWhole(files.document, QJsonDocument(document).toJson(QJsonDocument::Indented),
                    error)) {
        return false;
    }
    // The failure is older than this check now; a stale one left behind still reads as older
    // than the document.
    QFile::remove(files.failure);
    return true;
}

QJsonObject failureJson(const CheckFailure& failure) {
    return QJsonObject{
        {QStringLiteral("schemaVersion"), kJsonSchemaVersion},
        {QStringLiteral("user"), failure.user},
        {QStringLiteral("kind"), kindWord(failure.billed)},
        {QStringLiteral("reason"), failure.reason},
        {QStringLiteral("failedAt"),
         failure.failedAt.toOffsetFromUtc(failure.failedAt.offsetFromUtc()).toString(Qt::ISODate)}};
}

bool keepCheckFailure(const QString& folder, const CheckFailure& failure, QString& error) {
    if (failure.user.isEmpty()) {
        error = QStringLiteral("the check names no user id");
        return false;
    }
    return writeWhole(lastCheckFiles(folder, failure.user, failure.billed).failure,
                      QJsonDocument(failureJson(failure)).toJson(QJsonDocument::Indented), error);
}

std::optional<CheckFailure> readCheckFailure(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kFailureLimit) {
        return std::nullopt;
    }
    const QJsonObject o = QJsonDocument::fromJson(file.readAll()).object();
    CheckFailure failure;
    failure.user = o.value(QStringLiteral("user")).toString();
    failure.billed = o.value(QStringLiteral("kind")).toString() == u"billed";
    failure.reason = o.value(QStringLiteral("reason")).toString().simplified();
    failure.failedAt =
        QDateTime::fromString(o.value(QStringLiteral("failedAt")).toString(), Qt::ISODate);
    if (failure.reason.isEmpty() || !failure.failedAt.isValid()) {
        return std::nullopt;
    }
    return failure;
}

}  // namespace kestrova
