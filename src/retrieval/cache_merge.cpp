// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/cache_merge.h"

#include "platform/failure.h"
#include "retrieval/cache_file.h"

#include <QFileInfo>

#include <algorithm>
#include <map>
#include <set>

namespace kestrova {

namespace {

const QStringView kRowOpen = u"<TR>";
const QStringView kRowClose = u"</TR>";
const QStringView kCellOpen = u"<TD>";
const QStringView kCellClose = u"</TD>";

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Records sort by their date and time fields, as the portal writes them (zero-padded, so text
// order is time order); records of one moment keep the order they came in.
bool earlier(const CachedRow& a, const CachedRow& b) {
    const int byDate = a.date.left(10).compare(b.date.left(10));
    return byDate != 0 ? byDate < 0 : a.time.compare(b.time) < 0;
}

}  // namespace

bool visitRowText(QLatin1StringView text, const std::function<void(const CachedRow&)>& visit,
                  std::size_t* rowsBefore) {
    std::size_t count = 0;
    const auto notRowText = [&] {
        if (rowsBefore != nullptr) {
            *rowsBefore = count;
        }
        return false;
    };
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype start = at;
        if (!text.mid(at).startsWith(kRowOpen)) {
            return notRowText();
        }
        at += kRowOpen.size();
        CachedRow row;
        for (QLatin1StringView& field : row.fields) {
            if (!text.mid(at).startsWith(kCellOpen)) {
                return notRowText();
            }
            at += kCellOpen.size();
            // Fields are escaped text: no mark-up inside a cell.
            const qsizetype end = text.indexOf(u'<', at);
            if (end < 0 || !text.mid(end).startsWith(kCellClose)) {
                return notRowText();
            }
            field = text.mid(at, end - at);
            at = end + kCellClose.size();
        }
        row.date = row.fields[0];
        row.time = row.fields[1];
        if (!text.mid(at).startsWith(kRowClose)) {
            return notRowText();
        }
        at += kRowClose.size();
        row.text = text.mid(start, at - start);
        visit(row);
        ++count;
    }
    return true;
}

std::optional<std::vector<CachedRow>> splitRowText(QLatin1StringView text,
                                                   std::size_t* rowsBefore) {
    std::vector<CachedRow> rows;
    if (!visitRowText(
            text, [&rows](const CachedRow& row) { rows.push_back(row); }, rowsBefore)) {
        return std::nullopt;
    }
    return rows;
}

namespace {

template <typename View>
QString monthOf(View date) {
    if (date.size() < 10 || date[4] != u'-' || date[7] != u'-') {
        return {};
    }
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (!isDigit(date[i])) {
            return {};
        }
    }
    return date.left(7).toString();
}

}  // namespace

QString recordMonth(QStringView date) {
    return monthOf(date);
}

QString recordMonth(QLatin1StringView date) {
    return monthOf(date);
}

CacheMerge mergeIntoCache(const QString& folder, const UsageRecords& records, bool unbilled,
                          const QString& userId) {
    CacheMerge merge;
    const std::optional<std::vector<CachedRow>> fetched =
        records.isLatin1() ? splitRowText(QLatin1StringView(records.latin1RowText()))
                           : std::nullopt;
    if (!fetched) {
        merge.problems.push_back({folder, QStringLiteral("the records are not in row text")});
        return merge;
    }
    std::map<QString, std::vector<CachedRow>> byMonth;
    for (const CachedRow& row : *fetched) {
        const QString month = recordMonth(row.date);
        if (!month.isEmpty()) {
            byMonth[month].push_back(row);
        }
    }

    for (const auto& [month, rows] : byMonth) {
        const QString file = cacheFileName(folder, month, unbilled, userId);
        QByteArray held;
        if (QFileInfo::exists(file)) {
            try {
                held = readCacheText(file);
            } catch (const Failure& failure) {
                merge.problems.push_back({file, failure.description()});
                continue;
            }
        }
        const std::optional<std::vector<CachedRow>> heldRows =
            splitRowText(QLatin1StringView(held));
        if (!heldRows) {
            merge.problems.push_back(
                {file, QStringLiteral("it cannot be read as a cache file (another key, or "
                                      "damaged), so it was left as it was")});
            continue;
        }
        std::set<QLatin1StringView> present;
        for (const CachedRow& row : *heldRows) {
            present.insert(row.text);
        }
        std::vector<CachedRow> merged = *heldRows;
        const std::size_t before = merged.size();
        for (const CachedRow& row : rows) {
            if (present.insert(row.text).second) {
                merged.push_back(row);
            }
        }
        if (merged.size() == before && QFileInfo::exists(file)) {
            merge.unchanged << file;
            continue;
        }
        std::stable_sort(merged.begin(), merged.end(), earlier);
        QByteArray text;
        text.reserve(held.size() + records.latin1RowText().size());
        for (const CachedRow& row : merged) {
            text.append(row.text.data(), row.text.size());
        }
        QString error;
        if (writeCacheText(file, std::move(text), error)) {
            merge.written << file;
        } else {
            merge.problems.push_back({file, error});
        }
    }
    return merge;
}

QString describeCacheProblems(const CacheMerge& merge) {
    QStringList lines;
    for (const CacheMerge::Problem& problem : merge.problems) {
        lines << (problem.reason.startsWith(problem.file) ? problem.reason
                                                          : problem.file + u": " + problem.reason);
    }
    return lines.join(u'\n');
}

}  // namespace kestrova
