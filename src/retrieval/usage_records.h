// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/megabytes.h"
#include "retrieval/row_text.h"
#include "retrieval/usage_record.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace kestrova {

class UsageRecords;

// One usage record of UsageRecords as the report computes with it and writes it: its day, its
// total and its session against the free night window, read once when the records were read,
// and its six cells as the page holds them.
class UsageRecord {
public:
    // The day its Date cell names; throws Failure ("Type mismatch") for a day the calendar
    // lacks.
    QDate day() const;
    // Its Total (MB) figure; throws Failure ("Type mismatch") for a figure the portal never
    // writes.
    Megabytes total() const;
    NightSplit nightSplit() const;

    // Whether its cells are the program's own row text (ownField) or mark-up as an HTML parser
    // read it (markup).
    bool isOwn() const { return m_parsed == nullptr; }
    // A field of own row text as written (escaped), for writeCellMarkup.
    QLatin1StringView ownField(std::size_t field) const { return fields()[field]; }
    // A parsed record's cell mark-up.
    const QString& markup(std::size_t field) const;
    // A field's text as its cell in the page reads (innerText); in `scratch` where it has to
    // be worked out.
    QStringView cellText(std::size_t field, QString& scratch) const;

    // What the readers keep of each record (below).
    struct Values;

private:
    friend class UsageRecords;
    UsageRecord(const Values& values, const UsageRecords& records);

    // Own row text is split into its fields only when they are read: the report's figures
    // need the values alone.
    const OwnRowText::Fields& fields() const;

    const Values& m_values;
    QLatin1StringView m_text;
    mutable OwnRowText::Fields m_fields;
    mutable bool m_split = false;
    const std::array<QString, 12>* m_parsed = nullptr;
};

// The usage records of a report, in the order a grab collects them (the record read last
// first), as the log reader and the cache reader give them: each record's values typed, and
// the row text the cache files keep byte for byte and the page's listing is written from.
//
// The program's row text is held one byte per character (toRowText escapes what Latin-1
// lacks): a million records take some 120 MB rather than 240, and 32 MB of values. Any other
// row text (a cache file of an earlier version, or edited by hand) is read once by the HTML
// parser as a page's listing, into each cell's mark-up as the page then holds it and the text
// it reads. Rows whose Date cell does not begin "YYYY-MM-DD" are titles: kept in the text,
// not records.
class UsageRecords {
public:
    UsageRecords() = default;
    // Read the records of the row text; one byte per character.
    explicit UsageRecords(QByteArray latin1RowText);
    explicit UsageRecords(const QString& rowText);

    qsizetype size() const;
    // The record at `index`, in the order of the text. Throws Failure where the parser found a
    // record row without its six cells.
    UsageRecord at(qsizetype index) const;
    // Throws the Failure at() would, so that a report fails before it changes anything.
    void requireReadable() const;

    // Whether the text is the program's own row text, read without the parser.
    bool isOwn() const;
    // As the cache files hold them.
    QString rowText() const;
    bool isLatin1() const { return m_wide.isEmpty(); }
    // The row text, one byte per character, while isLatin1().
    const QByteArray& latin1RowText() const { return m_latin1; }
    bool isEmpty() const { return m_latin1.isEmpty() && m_wide.isEmpty(); }
    void clear();
    // Records read after these go in front of them.
    void prepend(const UsageRecords& front);

private:
    friend class UsageRecord;
    struct Table;

    // False, with nothing read, where the text is not own row text.
    static bool readOwn(QLatin1StringView text, Table& table);
    static void readParsed(const QString& rowText, Table& table);

    QByteArray m_latin1;
    QString m_wide;  // only when the text does not fit Latin-1; m_latin1 is then empty
    // Shared by copies: a report keeps its records while the next are read.
    std::shared_ptr<const Table> m_table;
};

struct UsageRecord::Values {
    std::int64_t at = 0;     // where its own row starts in the text, or its parsed index
    std::int64_t total = 0;  // ten-thousandths of a MB, or kNoFigure
    std::int32_t day = 0;    // Julian day; 0 for a day the calendar lacks
    std::int32_t startSeconds = -1;
    std::int32_t durationSeconds = -1;
};

struct UsageRecords::Table {
    std::vector<UsageRecord::Values> values;  // in the order of the text
    // Of text that is not own row text: each record's six cells' mark-up, then their text.
    std::vector<std::array<QString, 12>> parsed;
    bool own = true;
    QString failure;  // what the parser could not read; nothing is read then
};

}  // namespace kestrova
