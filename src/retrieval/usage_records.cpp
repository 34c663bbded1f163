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

#include <QLocale>
#include <algorithm>
#include <limits>

namespace kestrova {

namespace {

// A Total (MB) cell that is no figure the portal writes, and one that is but that the
// user's locale does not read as a number.
constexpr std::int64_t kNoFigure = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kNoNumber = kNoFigure + 1;

// Reads each record's values from its cells' text as the page reads them.
class ValueReader {
public:
    // False for a title row.
    bool read(QStringView date, QStringView time, QStringView duration, QStringView total,
              UsageRecord::Values& values);

private:
    const QLocale m_locale;  // as requireNumber() reads with
    // The records of a day come one after the other: its date is worked out once.
    char16_t m_lastDate[10] = {};
    std::int32_t m_lastDay = 0;
};

bool ValueReader::read(QStringView date, QStringView time, QStringView duration, QStringView total,
                       UsageRecord::Values& values) {
    if (!matchesRecordDate(date)) {
        return false;
    }
    if (!std::equal(m_lastDate, m_lastDate + 10, date.utf16())) {
        // matchesRecordDate() let through digits only where these are read.
        const auto digits = [&date](qsizetype from, qsizetype count) {
            int number = 0;
            for (qsizetype i = from; i < from + count; ++i) {
                number = number * 10 + (date[i].unicode() - u'0');
            }
            return number;
        };
        const QDate day(digits(0, 4), digits(5, 2), digits(8, 2));
        m_lastDay = day.isValid() ? std::int32_t(day.toJulianDay()) : 0;
        std::copy_n(date.utf16(), 10, m_lastDate);
    }
    values.day = m_lastDay;
    values.startSeconds = sessionSeconds(time);
    values.durationSeconds = sessionSeconds(duration);
    if (!isPortalFigure(total)) {
        values.total = kNoFigure;
    } else if (const std::optional<Decimal> number = readNumber(total, m_locale)) {
        values.total = Megabytes::fromDecimal(*number).tenThousandths();
    } else {
        values.total = kNoNumber;
    }
    return true;
}

}  // namespace

UsageRecord::UsageRecord(const Values& values, const UsageRecords& records) : m_values(values) {
    if (!records.m_table->own) {
        m_parsed = &records.m_table->parsed[std::size_t(values.at)];
        return;
    }
    m_text = QLatin1StringView(records.m_latin1);
}

const OwnRowText::Fields& UsageRecord::fields() const {
    if (!m_split) {
        OwnRowText row(m_text);
        row.seek(qsizetype(m_values.at));
        row.nextAccepted(m_fields);
        m_split = true;
    }
    return m_fields;
}

QDate UsageRecord::day() const {
    if (m_values.day == 0) {
        QString scratch;
        throw Failure(QStringLiteral("Type mismatch: \"%1\" is not a date")
                          .arg(cellText(0, scratch).toString()));
    }
    return QDate::fromJulianDay(m_values.day);
}

Megabytes UsageRecord::total() const {
    if (m_values.total == kNoFigure) {
        // A cache file edited or damaged so that its records pass for row text still sums no
        // figure the portal never wrote.
        QString scratch;
        throw Failure(QStringLiteral("Type mismatch: ") + badFigureText(5, cellText(5, scratch)));
    }
    if (m_values.total == kNoNumber) {
        // Says why; read again, should the locale have changed since the records were read.
        QString scratch;
        return Megabytes::fromDecimal(requireNumber(cellText(5, scratch), QLocale()));
    }
    return Megabytes::fromTenThousandths(m_values.total);
}

NightSplit UsageRecord::nightSplit() const {
    return kestrova::nightSplit(m_values.startSeconds, m_values.durationSeconds);
}

const QString& UsageRecord::markup(std::size_t field) const {
    return (*m_parsed)[field];
}

QStringView UsageRecord::cellText(std::size_t field, QString& scratch) const {
    return m_parsed == nullptr ? cellTextOf(fields()[field], scratch)
                               : QStringView((*m_parsed)[6 + field]);
}

UsageRecords::UsageRecords(QByteArray latin1RowText) : m_latin1(std::move(latin1RowText)) {
    auto table = std::make_shared<Table>();
    if (!readOwn(QLatin1StringView(m_latin1), *table)) {
        readParsed(QString::fromLatin1(m_latin1), *table);
    }
    m_table = std::move(table);
}

UsageRecords::UsageRecords(const QString& rowText) {
    if (fitsLatin1(rowText)) {
        *this = UsageRecords(rowText.toLatin1());
        return;
    }
    m_wide = rowText;
    auto table = std::make_shared<Table>();
    readParsed(m_wide, *table);
    m_table = std::move(table);
}

bool UsageRecords::readOwn(QLatin1StringView text, Table& table) {
    // No own row is shorter than its six empty cells.
    table.values.reserve(std::size_t(text.size() / 63 + 1));
    OwnRowText rows(text);
    OwnRowText::Fields fields;
    QString scratch[4];
    ValueReader reader;
    UsageRecord::Values values;
    values.at = 0;
    while (rows.next(fields)) {
        if (reader.read(cellTextOf(fields[0], scratch[0]), cellTextOf(fields[1], scratch[1]),
                        cellTextOf(fields[2], scratch[2]), cellTextOf(fields[5], scratch[3]),
                        values)) {
            table.values.push_back(values);
        }
        values.at = rows.position();
    }
    if (rows.failed()) {
        table.values = {};
        return false;
    }
    return true;
}

void UsageRecords::readParsed(const QString& rowText, Table& table) {
    table.own = false;
    // The rows go where a page's listing holds them, so that the parser reads them as the
    // page will: the template's second table, after its headings.
    QString page = reportTemplate();
    page.replace(QStringLiteral("##row##"), rowText);
    try {
        const HtmlDocument listing(page);
        // From the last row up, the cells read in the order the report read them, so that a
        // row lacking one fails where it always did; kept in the order of the text.
        ElementPtr rows = listing.elementsByTagName(QStringLiteral("Table")).item(1);
        for (int i = rows->rowCount() - 1; i >= 0; --i) {
            ElementPtr row = rows->row(i);
            QString date = row->cell(0)->innerText();
            if (!matchesRecordDate(date)) {
                continue;  // titles and headings
            }
            std::array<QString, 12> cells;
            cells[6] = std::move(date);
            for (const int c : {1, 2, 5, 3, 4}) {
                cells[6 + std::size_t(c)] = row->cell(c)->innerText();
            }
            for (std::size_t c = 0; c < 6; ++c) {
                cells[c] = row->cell(int(c))->innerHTML();
            }
            table.parsed.push_back(std::move(cells));
        }
    } catch (const Failure& failure) {
        table.parsed.clear();
        table.failure = failure.description();
        return;
    }
    std::reverse(table.parsed.begin(), table.parsed.end());
    table.values.resize(table.parsed.size());
    ValueReader reader;
    for (std::size_t r = 0; r < table.parsed.size(); ++r) {
        const std::array<QString, 12>& cells = table.parsed[r];
        table.values[r].at = std::int64_t(r);
        reader.read(cells[6], cells[7], cells[8], cells[11], table.values[r]);
    }
}

qsizetype UsageRecords::size() const {
    return m_table ? qsizetype(m_table->values.size()) : 0;
}

UsageRecord UsageRecords::at(qsizetype index) const {
    requireReadable();
    return UsageRecord(m_table->values[std::size_t(index)], *this);
}

void UsageRecords::requireReadable() const {
    if (m_table && !m_table->failure.isEmpty()) {
        throw Failure(m_table->failure);
    }
}

bool UsageRecords::isOwn() const {
    return !m_table || m_table->own;
}

QString UsageRecords::rowText() const {
    return isLatin1() ? QString::fromLatin1(m_latin1) : m_wide;
}

void UsageRecords::clear() {
    m_latin1.clear();
    m_wide.clear();
    m_table.reset();
}

void UsageRecords::prepend(const UsageRecords& front) {
    if (front.isEmpty()) {
        return;
    }
    if (isEmpty()) {
        *this = front;
        return;
    }
    if (!isLatin1() || !front.isLatin1() || !m_table->own || !front.m_table->own) {
        // Either part is read by the parser: read the whole as one listing, as a page would.
        *this = UsageRecords(front.rowText() + rowText());
        return;
    }
    // Own row text before own row text is own row text: the values move by the front's length.
    auto table = std::make_shared<Table>();
    table->values.reserve(front.m_table->values.size() + m_table->values.size());
    table->values = front.m_table->values;
    const auto shift = std::int64_t(front.m_latin1.size());
    for (UsageRecord::Values values : m_table->values) {
        values.at += shift;
        table->values.push_back(values);
    }
    m_latin1.prepend(front.m_latin1);
    m_table = std::move(table);
}

}  // namespace kestrova
