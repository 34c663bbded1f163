// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/megabytes.h"
#include "retrieval/row_text.h"
#include "retrieval/usage_record.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <array>
#include <vector>

namespace kestrova {

// The usage records of a report as row text, in the order a grab collects them: the record
// read last first. Row text is what the cache files keep byte for byte and what the page's
// listing is written from, so the records are held as they came and read once per report
// (ReportRows). The program's row text never holds a character beyond Latin-1 (toRowText
// escapes them), and neither does a cache file, so it is held one byte per character: a
// million records take some 120 MB rather than 240. Text beyond Latin-1 (only ever given by
// hand) is held as it stands.
class UsageRecords {
public:
    UsageRecords() = default;
    explicit UsageRecords(QByteArray latin1RowText) : m_latin1(std::move(latin1RowText)) {}
    explicit UsageRecords(const QString& rowText);

    // As the cache files hold them.
    QString rowText() const;
    bool isLatin1() const { return m_wide.isEmpty(); }
    // The row text, one byte per character, while isLatin1().
    const QByteArray& latin1RowText() const { return m_latin1; }
    bool isEmpty() const { return m_latin1.isEmpty() && m_wide.isEmpty(); }
    void clear();
    // Records read after these go in front of them.
    void prepend(QByteArray latin1RowText);

private:
    QByteArray m_latin1;
    QString m_wide;  // only when the text does not fit Latin-1; m_latin1 is then empty
};

// The records made readable for a report. The program's own row text (OwnRowText) is read as
// it stands; any other text (a cache file of an earlier version, or edited by hand) is read
// once by the HTML parser as a page's listing, into each cell's mark-up as the page then
// holds it and the texts the report reads.
class ReportRows {
public:
    // A record of text that is not own row text, as the parser read its row: each cell's
    // mark-up and its reader's text.
    struct ParsedRecord {
        std::array<QString, 6> markup;
        std::array<QString, 6> text;
    };

    ReportRows() = default;
    // Throws Failure where the parser's listing has a record row without its six cells.
    explicit ReportRows(const UsageRecords& records);

    bool isOwn() const { return m_isOwn; }

private:
    friend class RecordCursor;
    QByteArray m_own;
    std::vector<ParsedRecord> m_parsed;  // oldest first
    bool m_isOwn = true;
};

// Reads the records of ReportRows one at a time, in the order of their row text, and goes
// back to where a record started.
class RecordCursor {
public:
    explicit RecordCursor(const ReportRows& rows)
        : m_own(QLatin1StringView(rows.m_own)), m_parsed(rows.m_parsed), m_isOwn(rows.m_isOwn) {}

    // Where the next record starts: a position in the own row text, or a parsed record's index.
    qsizetype position() const { return m_isOwn ? m_own.position() : m_next; }
    void seek(qsizetype at);
    bool read();

    bool isOwn() const { return m_isOwn; }
    // The record just read as the report computes with it, from its cells' text:
    // - the Date cell's text; a record's begins "YYYY-MM-DD" (matchesRecordDate), any other
    //   row is a title;
    QStringView date();
    // - the day it names; throws Failure ("Type mismatch") for a day the calendar lacks;
    QDate day();
    // - the Total (MB) cell; throws Failure ("Type mismatch") for a figure the portal never
    //   writes;
    Megabytes total(const QLocale& locale);
    // - its session against the free night window, from its Time and Duration cells.
    NightSplit nightSplit();
    // A field of own row text as written (escaped), for writeCellMarkup.
    QLatin1StringView ownField(std::size_t field) const { return m_fields[field]; }
    // A parsed record's cell mark-up.
    const QString& markup(std::size_t field) const { return m_record->markup[field]; }
    // A field's text as its cell in the page reads (innerText), for the exported listing.
    QStringView cellText(std::size_t field);

private:
    OwnRowText m_own;
    const std::vector<ReportRows::ParsedRecord>& m_parsed;
    const bool m_isOwn;
    qsizetype m_next = 0;
    OwnRowText::Fields m_fields;
    const ReportRows::ParsedRecord* m_record = nullptr;
    QString m_scratch[5];

    QStringView time();
    QStringView duration();
    QStringView totalText();
};

}  // namespace kestrova
