// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A cache file. The input is the file's plain text: scrambled with the cache key and stored
// as a .cache2 file, it must read back as it was, and its records are made into the report
// page. (saveFileData is left to the unit tests: its flush to disk would slow every input.) The
// same bytes read as an unscrambled file give the text that textOfFileBytes gives.

#include "fuzz_support.h"

#include "platform/failure.h"
#include "retrieval/cache_file.h"
#include "retrieval/cache_merge.h"
#include "retrieval/row_text.h"
#include "retrieval/xor_cipher.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

using namespace kestrova;
using namespace kestrova::fuzz;

namespace {

QString cachePath() {
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("2026-11-unbilled-fuzz.cache2"));
}

void store(const QByteArray& bytes) {
    QFile file(cachePath());
    check(
        file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
        "the harness could not write its file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString plain = QString::fromLatin1(bytes);

    QString scrambled = plain;
    XorCipher().scramble(scrambled, kCacheKey);
    check(fitsLatin1(scrambled), "scrambling left Latin-1");
    store(scrambled.toLatin1());
    const QString read = readFileData(cachePath(), true);
    check(read == plain, "a scrambled file did not read back");

    store(bytes);
    check(readFileData(cachePath(), false) == textOfFileBytes(bytes),
          "an unscrambled file read otherwise than its bytes");

    ReportRun run;
    run.state.records = UsageRecords(read);
    run.report.grabbingFinished();
    run.report.writeOutput();
    run.checkOutcome();

    // A file the cache reader takes is read whole: every record of it in the report.
    store(scrambled.toLatin1());
    bool taken = true;
    try {
        check(readCacheRecords(cachePath()).rowText() == plain,
              "the cache reader changed the text");
    } catch (const Failure&) {
        taken = false;
    }
    if (taken && run.messages.messages.empty()) {
        // A scrambled file is Latin-1 whatever it holds.
        const QByteArray latin1 = plain.toLatin1();
        int records = 0;
        QString scratch;
        visitRowText(QLatin1StringView(latin1), [&](const CachedRow& row) {
            records += matchesRecordDate(cellTextOf(row.date, scratch)) ? 1 : 0;
        });
        check(run.report.figures().records == records, "a cache file read short");
    }
    return 0;
}
