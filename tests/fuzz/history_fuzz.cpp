// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The cached months side by side. The input: one byte of choices (whose months, which plan),
// two bytes of days to today, then the plain texts of up to four cache files separated by 0xFF
// bytes, stored scrambled under names of two user ids and of another form. The history lists
// each file of the user id once; the totals are the readable months'; a month is readable only
// when its file reads as the report reads it, and then has its records, days and plans ranked
// cheapest first; across the months no plan is cheaper than the cheapest.

#include "fuzz_folder.h"
#include "fuzz_support.h"

#include "platform/failure.h"
#include "results/history.h"
#include "retrieval/cache_file.h"
#include "retrieval/xor_cipher.h"

#include <QFile>
#include <cstddef>
#include <cstdint>

using namespace kestrova;
using namespace kestrova::fuzz;

namespace {

const char* const kNames[] = {"2026-10-unbilled-demo", "2026-11-billed-demo",
                              "2026-11-unbilled-other", "not-a-month"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const int choices = data[0];
    const QString user = (choices & 1) != 0 ? QStringLiteral("demo") : QString();
    std::optional<PlanChoice> chosen;
    if ((choices & 2) != 0) {
        chosen = (choices & 4) != 0 ? PlanChoice::customPlan({250, double(choices >> 3), 0.2})
                                    : PlanChoice::catalogue((choices >> 3) % kCustomPlanSlot);
    }
    const QDate today = QDate(2026, 10, 1).addDays(data[1] | (data[2] << 8));

    const QDir folder = emptyFolder();
    const QList<QByteArray> texts =
        QByteArray(reinterpret_cast<const char*>(data) + 3, qsizetype(size - 3)).split('\xFF');
    int expected = 0;
    for (qsizetype i = 0; i < texts.size() && i < 4; ++i) {
        QString scrambled = QString::fromLatin1(texts[i]);
        XorCipher().scramble(scrambled, kCacheKey);
        QFile file(folder.filePath(QString::fromLatin1(kNames[i]) + kCacheExtension));
        check(
            file.open(QIODevice::WriteOnly) && file.write(scrambled.toLatin1()) == scrambled.size(),
            "the harness could not write its file");
        expected += user.isEmpty() || QString::fromLatin1(kNames[i]).endsWith(u"-demo") ? 1 : 0;
    }

    const History history = buildHistory(folder.path(), user, chosen, today);
    check(int(history.months.size()) == expected, "not each file of the user id once");
    int readable = 0;
    std::int64_t totalMB = 0;
    for (const HistoryMonth& month : history.months) {
        bool reads = true;
        try {
            (void)readCacheRecords(month.file);
        } catch (const Failure&) {
            reads = false;
        }
        if (!month.readable()) {
            continue;
        }
        check(reads, "a month readable whose file the report refuses");
        ++readable;
        totalMB += month.monthMB;
        check(month.records > 0 && month.days >= 1 && month.days <= month.records,
              "a readable month without records or days");
        check(!month.ranking.empty(), "a readable month without plans");
        for (std::size_t i = 1; i < month.ranking.size(); ++i) {
            check(shownPaise(month.ranking[i - 1].bill.totalAndTax) <=
                      shownPaise(month.ranking[i].bill.totalAndTax),
                  "a month's plans are not cheapest first");
        }
        check(month.cheapest.slot == month.ranking.front().slot, "the cheapest is not first");
        if (chosen) {
            check(month.chosen && month.chosen->slot == chosen->slot, "the chosen plan not priced");
        }
    }
    check(history.readableMonths == readable && history.totalMB == totalMB,
          "the totals are not the readable months'");
    if (const std::optional<std::int64_t> saving = history.savingPaise()) {
        check(*saving >= 0, "a plan cheaper than the cheapest over the months");
    }
    (void)historyText(history);
    (void)historyJson(history);
    return 0;
}
