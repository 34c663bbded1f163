// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The download grab's records merged into the month's cache file. The input: one byte of
// choices (billing, user id), then the plain text of the cache file already there, a 0xFF
// byte, and the records text. A file that is not row text is never written over; a merged file
// holds what it held and every new record of its month once, in date and time order; the same
// records merged again change nothing.

#include "fuzz_folder.h"
#include "fuzz_support.h"

#include "retrieval/cache_file.h"
#include "retrieval/cache_merge.h"
#include "retrieval/xor_cipher.h"

#include <QFile>
#include <cstddef>
#include <cstdint>
#include <set>

using namespace kestrova;
using namespace kestrova::fuzz;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool inOrder(const CachedRow& a, const CachedRow& b) {
    const int byDate = a.date.left(10).compare(b.date.left(10));
    return byDate != 0 ? byDate < 0 : a.time.compare(b.time) <= 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const bool unbilled = (data[0] & 1) != 0;
    const QString user = (data[0] & 2) != 0 ? QStringLiteral("demo") : QStringLiteral("a/b\\c");
    const QByteArray rest(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    const qsizetype split = rest.indexOf('\xFF');
    const QByteArray held = split < 0 ? QByteArray() : rest.left(split);
    const UsageRecords records(split < 0 ? rest : rest.mid(split + 1));

    const QDir folder = emptyFolder();
    const std::optional<std::vector<CachedRow>> fetched =
        splitRowText(QLatin1StringView(records.latin1RowText()));
    QString month = QStringLiteral("2026-11");
    if (fetched) {
        for (const CachedRow& row : *fetched) {
            if (!recordMonth(row.date).isEmpty()) {
                month = recordMonth(row.date);
                break;
            }
        }
    }
    const QString file = cacheFileName(folder.path(), month, unbilled, user);
    if (split >= 0) {
        QByteArray scrambled = held;
        xorWithKey(scrambled.data(), scrambled.size(), kCacheKey);
        QFile stored(file);
        check(stored.open(QIODevice::WriteOnly) && stored.write(scrambled) == scrambled.size(),
              "the harness could not write its file");
    }
    const QByteArray before = bytesOf(file);

    const CacheMerge merge = mergeIntoCache(folder.path(), records, unbilled, user);
    (void)describeCacheProblems(merge);
    if (!fetched) {
        check(!merge.problems.empty() && merge.written.isEmpty(),
              "records that are no row text merged");
    }
    const std::optional<std::vector<CachedRow>> heldRows = splitRowText(QLatin1StringView(held));
    if (split >= 0 && !heldRows) {
        check(bytesOf(file) == before, "a file that is no row text written over");
    }
    for (const QString& written : merge.written) {
        const QByteArray text = readCacheText(written);
        const std::optional<std::vector<CachedRow>> rows = splitRowText(QLatin1StringView(text));
        check(rows.has_value(), "a merged file that is no row text");
        std::set<QLatin1StringView> present;
        for (std::size_t i = 0; i < rows->size(); ++i) {
            check(i == 0 || inOrder((*rows)[i - 1], (*rows)[i]), "a merged file out of order");
            present.insert((*rows)[i].text);
        }
        for (const CachedRow& row : *fetched) {
            const QString rowMonth = recordMonth(row.date);
            if (!rowMonth.isEmpty() &&
                cacheFileName(folder.path(), rowMonth, unbilled, user) == written) {
                check(present.count(row.text) == 1, "a new record missing from its month");
            }
        }
        if (written == file && heldRows) {
            for (const CachedRow& row : *heldRows) {
                check(present.count(row.text) == 1, "a held record lost by the merge");
            }
        }
    }

    // The same records again: every file as it was.
    QList<QByteArray> after;
    for (const QString& written : merge.written) {
        after << bytesOf(written);
    }
    const CacheMerge again = mergeIntoCache(folder.path(), records, unbilled, user);
    check(again.written.isEmpty(), "the same records merged twice changed a file");
    for (qsizetype i = 0; i < merge.written.size(); ++i) {
        check(bytesOf(merge.written[i]) == after[i], "a merged file changed by the same records");
    }
    return 0;
}
