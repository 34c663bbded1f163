// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/usage_records.h"

#include "platform/failure.h"
#include "platform/html_document.h"
#include "platform/number_format.h"
#include "retrieval/cache_file.h"
#include "retrieval/report_page.h"
#include "retrieval/usage_log.h"

#include <algorithm>

namespace kestrova {

UsageRecords::UsageRecords(const QString& rowText) {
    if (fitsLatin1(rowText)) {
        m_latin1 = rowText.toLatin1();
    } else {
        m_wide = rowText;
    }
}

QString UsageRecords::rowText() const {
    return isLatin1() ? QString::fromLatin1(m_latin1) : m_wide;
}

void UsageRecords::clear() {
    m_latin1.clear();
    m_wide.clear();
}

void UsageRecords::prepend(QByteArray latin1RowText) {
    if (!isLatin1()) {
        m_wide.prepend(QLatin1StringView(latin1RowText));
        return;
    }
    if (!m_latin1.isEmpty()) {
        latin1RowText += m_latin1;
    }
    m_latin1 = std::move(latin1RowText);
}

ReportRows::ReportRows(const UsageRecords& records)
    : m_isOwn(records.isLatin1() && isOwnRowText(QLatin1StringView(records.latin1RowText()))) {
    if (m_isOwn) {
        m_own = records.latin1RowText();
        return;
    }
    // The rows go where a page's listing holds them, so that the parser reads them as the
    // page will: the template's second table, after its headings.
    QString page = reportTemplate();
    page.replace(QStringLiteral("##row##"), records.rowText());
    const HtmlDocument listing(page);
    // From the last row up, the cells read in the order the report reads them, so that a row
    // lacking one fails where it always did; kept oldest first.
    ElementPtr table = listing.elementsByTagName(QStringLiteral("Table")).item(1);
    for (int i = table->rowCount() - 1; i >= 0; --i) {
        ElementPtr row = table->row(i);
        QString date = row->cell(0)->innerText();
        if (!matchesRecordDate(date)) {
            continue;  // titles and headings
        }
        ParsedRecord record;
        record.text[0] = std::move(date);
        for (const int c : {1, 2, 5, 3, 4}) {
            record.text[std::size_t(c)] = row->cell(c)->innerText();
        }
        for (int c = 0; c < 6; ++c) {
            record.markup[std::size_t(c)] = row->cell(c)->innerHTML();
        }
        m_parsed.push_back(std::move(record));
    }
    std::reverse(m_parsed.begin(), m_parsed.end());
}

void RecordCursor::seek(qsizetype at) {
    if (m_isOwn) {
        m_own.seek(at);
    } else {
        m_next = at;
    }
}

bool RecordCursor::read() {
    if (m_isOwn) {
        return m_own.nextAccepted(m_fields);
    }
    if (m_next >= qsizetype(m_parsed.size())) {
        return false;
    }
    m_record = &m_parsed[std::size_t(m_next++)];
    return true;
}

QStringView RecordCursor::date() {
    return m_isOwn ? cellTextOf(m_fields[0], m_scratch[0]) : QStringView(m_record->text[0]);
}

QStringView RecordCursor::time() {
    return m_isOwn ? cellTextOf(m_fields[1], m_scratch[1]) : QStringView(m_record->text[1]);
}

QStringView RecordCursor::duration() {
    return m_isOwn ? cellTextOf(m_fields[2], m_scratch[2]) : QStringView(m_record->text[2]);
}

QDate RecordCursor::day() {
    const QStringView f = date();
    const QDate d(f.left(4).toInt(), f.mid(5, 2).toInt(), f.mid(8, 2).toInt());
    if (!d.isValid()) {
        throw Failure(QStringLiteral("Type mismatch: \"%1\" is not a date").arg(f.toString()));
    }
    return d;
}

Megabytes RecordCursor::total(const QLocale& locale) {
    // A cache file edited or damaged so that its records pass for row text still sums no
    // figure the portal never wrote.
    const QStringView text = totalText();
    if (!isPortalFigure(text)) {
        throw Failure(QStringLiteral("Type mismatch: ") + badFigureText(5, text));
    }
    return Megabytes::fromDecimal(requireNumber(text, locale));
}

QStringView RecordCursor::cellText(std::size_t field) {
    return m_isOwn ? cellTextOf(m_fields[field], m_scratch[4]) : QStringView(m_record->text[field]);
}

NightSplit RecordCursor::nightSplit() {
    return kestrova::nightSplit(time(), duration());
}

QStringView RecordCursor::totalText() {
    return m_isOwn ? cellTextOf(m_fields[5], m_scratch[3]) : QStringView(m_record->text[5]);
}

}  // namespace kestrova
