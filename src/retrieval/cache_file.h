// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "retrieval/usage_records.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QIODevice;

namespace kestrova {

// The key the cache files are scrambled with.
inline const QString kCacheKey = QStringLiteral("KLTW57pxqzv");
inline const QString kCacheExtension = QStringLiteral(".cache2");

// The largest usage log read or downloaded: a month's log is a few MB, and the million
// records the program is built for some 55 MB.
inline constexpr qint64 kUsageLogLimit = qint64(64) << 20;
// The largest cache file read: the row text of a million records is some 115 MB.
inline constexpr qint64 kCacheFileLimit = qint64(192) << 20;
// "64 MB".
QString megabytesText(qint64 bytes);

// The whole file as text, unscrambled with the cache key when asked; the empty text for an
// empty name or a missing file. Files hold one byte per character (Latin-1); a file that
// starts with a UTF-8 byte order mark is read as UTF-8. Throws Failure when the file exists
// but cannot be read, or is larger than a cache file (unscramble) or a usage log can be.
QString readFileData(const QString& fileName, bool unscramble);
// The same file's bytes as they stand (nothing unscrambled, nothing decoded), with the same
// checks; for a reader that decodes a huge file a piece at a time.
QByteArray readFileBytes(const QString& fileName, bool cacheFile);

// A cache file's text unscrambled, one byte per character (half what it takes as a QString),
// with readFileData's checks.
QByteArray readCacheText(const QString& fileName);
// A cache file's records for a report: its text as readFileData(fileName, true) reads it, when
// every record in it is row text and every figure one the portal writes. Throws Failure naming
// the first record that is not ("record 12 cannot be read: ..."), so a damaged file is never
// read short or with a made-up figure. An empty file has no records.
UsageRecords readCacheRecords(const QString& fileName);

// Replaces the file with the text (a copy of it, scrambled with the cache key when scramble).
// The new content is written beside the file and renamed over it, so a failed write leaves
// the old file as it was. A failure is shown through the dialogs seam (the system's
// description, no icon) and gives false.
bool saveFileData(const QString& fileName, const QString& data, bool scramble);
// The same write of bytes as they are.
bool saveFileBytes(const QString& fileName, const QByteArray& bytes);
// The same write, saying nothing: false with the reason in `error`.
bool writeFileData(const QString& fileName, const QString& data, bool scramble, QString& error);
// The records' row text as a cache file, written as writeFileData does.
bool writeCacheRecords(const QString& fileName, const UsageRecords& records, QString& error);
// The same of row text one byte per character.
bool writeCacheText(const QString& fileName, QByteArray latin1RowText, QString& error);

// Replaces the file with what `write` puts on the device it is given (false when a write
// failed): the data go beside the file and are renamed over it only once every write has
// reached the disk. Otherwise false with "FILE: the system's reason" in `error`, the old file
// as it was and nothing new left behind.
bool replaceFile(const QString& fileName, const std::function<bool(QIODevice&)>& write,
                 QString& error);
// Writes all of `bytes`, taking a device's short writes as they come; false when a write
// fails (the device's error then says why).
bool writeAll(QIODevice& device, const QByteArray& bytes);

// Bytes of a text as the files hold them: one byte per character when every character fits,
// otherwise UTF-8 after a byte order mark (so no character is ever lost).
QByteArray fileBytes(const QString& text);
bool fitsLatin1(const QString& text);
QString textOfFileBytes(const QByteArray& bytes);
// A piece of a file's bytes as text: UTF-8 when the file starts with a byte order mark (the
// piece then does not hold it), else one byte per character. A piece that ends after a '\n'
// is read as it would be within the whole file.
QString textOfFilePiece(QByteArrayView piece, bool utf8);
bool startsWithByteOrderMark(const QByteArray& bytes);
inline constexpr qsizetype kByteOrderMarkSize = 3;

// folder/period-billing-user.cache2; path separators in the period or the user id become "_",
// so the name always stays inside the folder.
QString cacheFileName(const QString& folder, const QString& monthYear, bool unbilled,
                      const QString& userId);

// A cache item's name read back: "2026-11-unbilled-demo" gives month "2026-11", unbilled,
// user "demo" (the user id as the name holds it). Nothing for a name of another form.
struct CacheItemName {
    QString month;
    bool unbilled = true;
    QString user;
};
std::optional<CacheItemName> readCacheItemName(const QString& item);
// The user id as a cache file's name holds it (path separators made "_").
QString cacheNameUser(const QString& userId);

// The report period of a cache item (its name without ".cache2"): the text up to its last "-"
// ("2013-04-billed-abc" gives "2013-04-billed"); an item without "-" is its own period.
QString cacheItemPeriod(const QString& item);

// The cache items of the folder: the names of its "*.cache2" files without the extension, in
// name order (chronological, as the names begin with the year and month). Throws Failure with
// the system's reason when the folder is missing or cannot be read.
QStringList listCacheFiles(const QString& folder);

// The drop-down's content after loadCacheFileList: the items and the one to select (the
// last, or -1 when there is none).
struct CacheFileList {
    QStringList items;
    int selected = -1;
};
// Throws Failure when the folder cannot be listed.
CacheFileList loadCacheFileList(const QString& folder);

}  // namespace kestrova
