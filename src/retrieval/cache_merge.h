// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The download grab's records kept in the cache files: one file per calendar month of the
// records, named and scrambled as every cache file is, holding the month's records once each,
// oldest first. A file that is not a cache file of ours (another key, damaged, foreign) is never
// written over.

#include "retrieval/usage_records.h"

#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace kestrova {

// One record of row text, as views into the Latin-1 text it was split from (a cache file's
// text, or the records of a grab).
struct CachedRow {
    QLatin1StringView text;                   // "<TR><TD>…</TD>…</TR>"
    QLatin1StringView date;                   // the first field
    QLatin1StringView time;                   // the second field
    std::array<QLatin1StringView, 6> fields;  // all six, as written (escaped)
};

// The text as the program's row text: every row "<TR>", six "<TD>" field "</TD>", "</TR>", with
// nothing between or around the rows. Nothing when the text is anything else (a file scrambled
// with another key, a damaged or foreign file); `rowsBefore` then tells how many whole rows
// came before the first that is not row text. The empty text is no rows.
std::optional<std::vector<CachedRow>> splitRowText(QLatin1StringView text,
                                                   std::size_t* rowsBefore = nullptr);
// The same rows handed to `visit` one at a time, without a list of them (a month's cache file
// holds a million): false where splitRowText gives nothing, after the rows before.
bool visitRowText(QLatin1StringView text, const std::function<void(const CachedRow&)>& visit,
                  std::size_t* rowsBefore = nullptr);

// "YYYY-MM" of a record whose date field begins "YYYY-MM-DD"; empty for any other record.
QString recordMonth(QStringView date);
QString recordMonth(QLatin1StringView date);

struct CacheMerge {
    struct Problem {
        QString file;
        QString reason;
    };
    QStringList written;            // files created or given new records
    QStringList unchanged;          // files that held every record already
    std::vector<Problem> problems;  // files left as they were, and why
};

// Merges `records` (row text) into the cache files of `folder` for the user id and billing
// option: per month, only records not already held (by their row text) are added, and the
// file is kept in date and time order; a month with nothing new is not written at all. Each
// write replaces the file whole or not at all.
CacheMerge mergeIntoCache(const QString& folder, const UsageRecords& records, bool unbilled,
                          const QString& userId);

// One line for the subscriber per problem: "FILE: REASON".
QString describeCacheProblems(const CacheMerge& merge);

}  // namespace kestrova
