// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/cache_file.h"

#include "platform/dialogs.h"
#include "platform/failure.h"
#include "platform/program_folder.h"
#include "retrieval/cache_merge.h"
#include "retrieval/row_text.h"
#include "retrieval/usage_log.h"
#include "retrieval/xor_cipher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <unistd.h>

namespace kestrova {

namespace {
const QByteArray kUtf8Bom("\xEF\xBB\xBF", 3);

QString safeNamePart(QString part) {
    for (QChar& c : part) {
        if (c == u'/' || c == u'\\' || c.unicode() == 0) {
            c = u'_';
        }
    }
    return part;
}
}  // namespace

bool fitsLatin1(const QString& text) {
    // A page of a million records is some 160 million characters: a block at a time, with a
    // loop the compiler can turn into vector instructions.
    const auto* data = reinterpret_cast<const char16_t*>(text.constData());
    constexpr qsizetype kBlock = 4096;
    for (qsizetype at = 0; at < text.size(); at += kBlock) {
        const qsizetype end = std::min(text.size(), at + kBlock);
        char16_t bits = 0;
        for (qsizetype k = at; k < end; ++k) {
            bits |= data[k];
        }
        if (bits > 0xFF) {
            return false;
        }
    }
    return true;
}

QByteArray fileBytes(const QString& text) {
    return fitsLatin1(text) ? text.toLatin1() : kUtf8Bom + text.toUtf8();
}

bool writeAll(QIODevice& device, const QByteArray& bytes) {
    const char* at = bytes.constData();
    qint64 left = bytes.size();
    // A short write is no failure yet: the next one either goes on or says why it cannot.
    while (left > 0) {
        const qint64 written = device.write(at, left);
        if (written <= 0) {
            return false;
        }
        at += written;
        left -= written;
    }
    return true;
}

QString textOfFileBytes(const QByteArray& bytes) {
    const bool utf8 = startsWithByteOrderMark(bytes);
    return textOfFilePiece(QByteArrayView(bytes).sliced(utf8 ? kByteOrderMarkSize : 0), utf8);
}

QString textOfFilePiece(QByteArrayView piece, bool utf8) {
    return utf8 ? QString::fromUtf8(piece) : QString::fromLatin1(piece);
}

bool startsWithByteOrderMark(const QByteArray& bytes) {
    return bytes.startsWith(kUtf8Bom);
}

QString megabytesText(qint64 bytes) {
    return QStringLiteral("%1 MB").arg(bytes >> 20);
}

namespace {

// Opens the file for reading; false for an empty name or a missing file. Throws Failure when
// it cannot be read or is larger than a cache file or a usage log can be.
bool openToRead(QFile& file, bool cacheFile) {
    const QString fileName = file.fileName();
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile()) {
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw Failure(file.errorString());
    }
    // Read whole, a file costs a few times its size: a huge one is refused before.
    const qint64 limit = cacheFile ? kCacheFileLimit : kUsageLogLimit;
    if (file.size() > limit) {
        throw Failure(QStringLiteral("%1 is larger than %2, more than %3 holds; it was not read")
                          .arg(fileName, megabytesText(limit),
                               cacheFile ? QStringLiteral("a month's cache file")
                                         : QStringLiteral("a month's usage log")));
    }
    return true;
}

void requireRead(const QFile& file) {
    if (file.error() != QFileDevice::NoError) {
        throw Failure(file.errorString());
    }
}

}  // namespace

QByteArray readFileBytes(const QString& fileName, bool cacheFile) {
    QFile file(fileName);
    if (!openToRead(file, cacheFile)) {
        return QByteArray();
    }
    QByteArray bytes = file.readAll();
    requireRead(file);
    return bytes;
}

QString readFileData(const QString& fileName, bool unscramble) {
    if (!unscramble) {
        return textOfFileBytes(readFileBytes(fileName, false));
    }
    return QString::fromLatin1(readCacheText(fileName));
}

QByteArray readCacheText(const QString& fileName) {
    QByteArray text = readFileBytes(fileName, true);
    xorWithKey(text.data(), text.size(), kCacheKey);
    return text;
}

UsageRecords readCacheRecords(const QString& fileName) {
    QByteArray text = readCacheText(fileName);
    // The rows are checked as they come, without a list of them; a damaged row anywhere is
    // told before a figure that is no portal figure.
    std::size_t before = 0;
    std::size_t index = 0;
    QString badFigure;
    QString cells[4];
    const bool rowText = visitRowText(
        QLatin1StringView(text),
        [&](const CachedRow& row) {
            ++index;
            if (!badFigure.isEmpty()) {
                return;
            }
            // The fields as the report reads them: references resolved, white space trimmed.
            const QStringView date = cellTextOf(row.fields[0], cells[0]);
            const QStringView figures[] = {cellTextOf(row.fields[3], cells[1]),
                                           cellTextOf(row.fields[4], cells[2]),
                                           cellTextOf(row.fields[5], cells[3])};
            const int field = badFigureField(date, figures[0], figures[1], figures[2]);
            if (field >= 0) {
                badFigure = QStringLiteral("record %1 (%2): %3")
                                .arg(index)
                                .arg(date.left(10).toString(),
                                     badFigureText(field, field == 0 ? date : figures[field - 3]));
            }
        },
        &before);
    if (!rowText) {
        throw Failure(QStringLiteral("the cache file is damaged at record %1, or scrambled with "
                                     "another key")
                          .arg(before + 1));
    }
    if (!badFigure.isEmpty()) {
        throw Failure(badFigure);
    }
    return UsageRecords(std::move(text));
}

bool writeCacheRecords(const QString& fileName, const UsageRecords& records, QString& error) {
    // Text beyond Latin-1 is refused as any text written scrambled is.
    return records.isLatin1() ? writeCacheText(fileName, records.latin1RowText(), error)
                              : writeFileData(fileName, records.rowText(), true, error);
}

bool writeCacheText(const QString& fileName, QByteArray latin1RowText, QString& error) {
    xorWithKey(latin1RowText.data(), latin1RowText.size(), kCacheKey);
    return replaceFile(
        fileName, [&latin1RowText](QIODevice& device) { return writeAll(device, latin1RowText); },
        error);
}

bool writeFileData(const QString& fileName, const QString& data, bool scramble, QString& error) {
    if (scramble) {
        if (!fitsLatin1(data)) {
            // A scrambled file must keep one byte per character to unscramble again.
            error = QStringLiteral("%1: the text holds characters that a cache file cannot keep")
                        .arg(fileName);
            return false;
        }
        return writeCacheText(fileName, data.toLatin1(), error);
    }
    const QByteArray bytes = fileBytes(data);
    return replaceFile(
        fileName, [&bytes](QIODevice& device) { return writeAll(device, bytes); }, error);
}

bool replaceFile(const QString& fileName, const std::function<bool(QIODevice&)>& write,
                 QString& error) {
    QSaveFile file(fileName);
    const auto failed = [&](QString reason) {
        file.cancelWriting();
        if (reason.isEmpty() || reason == u"Unknown error") {
            reason = QStringLiteral("the file could not be written");
        }
        error = QStringLiteral("%1: %2").arg(fileName, reason);
        return false;
    };
    // Unbuffered: each write reaches the system at once, so a full disk fails the write that
    // meets it. A buffered device would meet it only in the flush inside commit(), which
    // then still renames the cut file over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return failed(file.errorString());
    }
    if (!write(file)) {
        return failed(file.errorString());
    }
    // A file system that keeps the data back (a network disk, a full one) says so here.
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != ENOTSUP) {
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    }
    if (!file.commit()) {
        const QString reason = file.errorString();
        return failed(reason);
    }
    return true;
}

bool saveFileData(const QString& fileName, const QString& data, bool scramble) {
    QString error;
    if (!writeFileData(fileName, data, scramble, error)) {
        dialogs().show(Message{error});
        return false;
    }
    return true;
}

bool saveFileBytes(const QString& fileName, const QByteArray& bytes) {
    QString error;
    if (!replaceFile(
            fileName, [&bytes](QIODevice& device) { return writeAll(device, bytes); }, error)) {
        dialogs().show(Message{error});
        return false;
    }
    return true;
}

QString cacheFileName(const QString& folder, const QString& monthYear, bool unbilled,
                      const QString& userId) {
    const QString name = safeNamePart(monthYear) + u'-' +
                         (unbilled ? QStringLiteral("unbilled") : QStringLiteral("billed")) + u'-' +
                         safeNamePart(userId) + kCacheExtension;
    return inProgramFolder(folder, name);
}

QString cacheNameUser(const QString& userId) {
    return safeNamePart(userId);
}

std::optional<CacheItemName> readCacheItemName(const QString& item) {
    static const QRegularExpression form(
        QStringLiteral("^(\\d{4}-\\d{2})-(billed|unbilled)-(.*)$"));
    const QRegularExpressionMatch match = form.match(item);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return CacheItemName{match.captured(1), match.captured(2) == u"unbilled", match.captured(3)};
}

QString cacheItemPeriod(const QString& item) {
    const qsizetype dash = item.lastIndexOf(u'-');
    return dash < 0 ? item : item.left(dash);
}

QStringList listCacheFiles(const QString& folder) {
    QDir dir(folder);
    if (!dir.exists()) {
        throw Failure(QStringLiteral("Path not found: %1").arg(folder));
    }
    // QDir lists a folder it may not read as an empty one: a folder of no months.
    if (DIR* listing = ::opendir(QFile::encodeName(folder).constData())) {
        ::closedir(listing);
    } else {
        throw Failure(
            QStringLiteral("%1: %2").arg(folder, QString::fromLocal8Bit(std::strerror(errno))));
    }
    QStringList items;
    const QStringList names = dir.entryList({u'*' + kCacheExtension}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        items << name.left(name.size() - kCacheExtension.size());
    }
    return items;
}

CacheFileList loadCacheFileList(const QString& folder) {
    CacheFileList list;
    list.items = listCacheFiles(folder);
    list.selected = int(list.items.size()) - 1;
    return list;
}

}  // namespace kestrova
