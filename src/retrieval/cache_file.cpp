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
    for (QChar c : text) {
        if (c.unicode() > 0xFF) {
            return false;
        }
    }
    return true;
}

QByteArray fileBytes(const QString& text) {
    return fitsLatin1(text) ? text.toLatin1() : kUtf8Bom + text.toUtf8();
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
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
        !file.commit()) {
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
                         (unbilled ? QStringLiteral("unbilled") : QStringLiteral("billed")) +
                         u'-' + safeNamePart(userId) + kCacheExtension;
    return inProgramFolder(folder, name);
}

QString cacheNameUser(const QString& userId) { return safeNamePart(userId); }

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
