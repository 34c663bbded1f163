// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/cache_file.h"

#include "controls/xor_cipher.h"
#include "platform/dialogs.h"
#include "platform/failure.h"
#include "platform/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>

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
    const char16_t* data = reinterpret_cast<const char16_t*>(text.constData());
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

bool writeFileBytes(QIODevice& device, const QString& text) {
    const bool latin1 = fitsLatin1(text);
    if (!latin1 && device.write(kUtf8Bom) != kUtf8Bom.size()) {
        return false;
    }
    // Pieces end between characters, never inside a surrogate pair.
    constexpr qsizetype kPiece = 1 << 19;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype length = std::min(kPiece, text.size() - at);
        if (at + length < text.size() && text[at + length - 1].isHighSurrogate()) {
            --length;
        }
        const QStringView piece = QStringView(text).sliced(at, length);
        const QByteArray bytes = latin1 ? piece.toLatin1() : piece.toUtf8();
        if (device.write(bytes) != bytes.size()) {
            return false;
        }
        at += length;
    }
    return true;
}

QString textOfFileBytes(const QByteArray& bytes) {
    if (bytes.startsWith(kUtf8Bom)) {
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    }
    return QString::fromLatin1(bytes);
}

QString ReadFileData(const QString& fileName, bool unscramble) {
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile()) {
        return QString();
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Failure(file.errorString());
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw Failure(file.errorString());
    }
    QString text = unscramble ? QString::fromLatin1(bytes) : textOfFileBytes(bytes);
    if (unscramble) {
        ClsAsmXor().EnDeCrypt(text, kCacheKey);
    }
    return text;
}

bool writeFileData(const QString& fileName, const QString& data, bool scramble, QString& error) {
    QString text = data;
    if (scramble) {
        // Row text never holds characters beyond Latin-1, and scrambling keeps that.
        ClsAsmXor().EnDeCrypt(text, kCacheKey);
        if (!fitsLatin1(text)) {
            // A scrambled file must keep one byte per character to unscramble again.
            error = QStringLiteral("%1: the text holds characters that a cache file cannot keep")
                        .arg(fileName);
            return false;
        }
    }
    const QByteArray bytes = scramble ? text.toLatin1() : fileBytes(text);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        error = reason.isEmpty() ? QStringLiteral("%1 could not be written").arg(fileName)
                                 : QStringLiteral("%1: %2").arg(fileName, reason);
        return false;
    }
    return true;
}

bool SaveFileData(const QString& strFileName, const QString& strFileData, bool blnEnc) {
    QString error;
    if (!writeFileData(strFileName, strFileData, blnEnc, error)) {
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
    QStringList items;
    const QStringList names = dir.entryList({u'*' + kCacheExtension}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        items << name.left(name.size() - kCacheExtension.size());
    }
    return items;
}

CacheFileList LoadCacheFileList(const QString& folder) {
    CacheFileList list;
    list.items = listCacheFiles(folder);
    list.selected = int(list.items.size()) - 1;
    return list;
}

}  // namespace kestrova
