// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The last check of each user id and billing kind, kept in the program's folder for the panel
// and for scripts. Every successful check (the window's and kestrova-check's) replaces it
// whole; a failed check leaves it as it was and keeps its reason and time beside it, until
// the next successful check.

#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <optional>

namespace kestrova {

// The files of one user id's last check of one billing kind in the folder ("unbilled" or
// "billed"; the user id as the cache files' names hold it):
struct LastCheckFiles {
    QString document;  // last-check-unbilled-USER.json: the check's JSON document
    QString failure;   // last-check-unbilled-USER.failed.json: a later check's failure
    QString log;       // last-check-unbilled-USER.usage.htm: the usage log it read
};
LastCheckFiles lastCheckFiles(const QString& folder, const QString& user, bool billed);
// The files that go with a document's path ("….json").
LastCheckFiles lastCheckFilesOf(const QString& documentPath);
// The documents in the folder (not the failures), in name order.
QStringList lastCheckDocuments(const QString& folder);

struct CheckFailure {
    QString user;
    bool billed = false;
    QString reason;  // one line
    QDateTime failedAt;
};

// Keeps a successful check: its usage log copied, then its document (its "check" object names
// the user id and the kind), then a failure kept since the check before removed. Each file is
// written beside its place and renamed over it, so a reader sees the old file or the new one,
// never a part. False with the reason in `error`; the files written before it stay.
bool keepLastCheck(const QString& folder, const QJsonObject& document, const QString& logPath,
                   QString& error);
// Keeps a failed check beside the last check, which stays as it was.
bool keepCheckFailure(const QString& folder, const CheckFailure& failure, QString& error);

// {"schemaVersion", "user", "kind", "reason", "failedAt"}.
QJsonObject failureJson(const CheckFailure& failure);
// The failure kept in `path`; nothing when there is none or it cannot be read as one.
std::optional<CheckFailure> readCheckFailure(const QString& path);

}  // namespace kestrova
