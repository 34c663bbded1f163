// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/usage_log.h"

#include "platform/dialogs.h"
#include "platform/failure.h"
#include "retrieval/cache_file.h"
#include "retrieval/report_page.h"
#include "retrieval/row_text.h"

#include <algorithm>
#include <array>

namespace kestrova {

namespace {

QStringView trimBlanks(QStringView s) {
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && s[from] == u' ') {
        ++from;
    }
    while (to > from && s[to - 1] == u' ') {
        --to;
    }
    return s.sliced(from, to - from);
}

// Where a walk through a log's lines stands between pieces of it.
struct LogWalk {
    int lineNumber = 0;
    QString earliest;
    QString latest;
    bool ended = false;  // at a bad line
};

// Goes through the log's record lines in file order: the header line and blank lines are
// skipped, every other line gives its first six comma-separated fields to `record`; a line
// with fewer fields ends the walk. The log may come in pieces, each but the last ending with
// its line's '\n'. The bad line goes into `log`, the dates into `walk`.
template <typename Log, typename OnRecord>
void walkLogLines(QStringView all, bool lastPiece, LogWalk& walk, Log& log, OnRecord& record) {
    qsizetype start = 0;
    while (!walk.ended && start <= all.size()) {
        qsizetype end = all.indexOf(u'\n', start);
        if (end < 0) {
            if (!lastPiece) {
                return;
            }
            end = all.size();
        }
        const int lineNumber = ++walk.lineNumber;
        const QStringView line = all.sliced(start, end - start);
        start = end + 1;
        if (lineNumber == 1) {
            continue;  // the header line
        }
        // Blanks only: a carriage return at the end stays part of the last field. A line that
        // holds nothing else (a blank line of a CR LF file) is blank all the same.
        const QStringView trimmed = trimBlanks(line);
        if (trimmed.isEmpty() ||
            trimBlanks(trimmed.chopped(trimmed.endsWith(u'\r') ? 1 : 0)).isEmpty()) {
            continue;
        }
        // The first six comma-separated fields; the rest of the line is not read.
        std::array<QStringView, 6> fields;
        std::size_t count = 0;
        qsizetype from = 0;
        while (count < fields.size()) {
            const qsizetype comma = trimmed.indexOf(u',', from);
            if (comma < 0) {
                fields[count++] = trimmed.sliced(from);
                break;
            }
            fields[count++] = trimmed.sliced(from, comma - from);
            from = comma + 1;
        }
        if (count < fields.size()) {
            log.badLine = lineNumber;
            log.badLineText = line.toString();
            log.problem = QStringLiteral("line %1 has fewer than six fields").arg(lineNumber);
            walk.ended = true;
            return;
        }
        if (const int field = badFigureField(fields[0], fields[3], fields[4], fields[5]);
            field >= 0) {
            log.badLine = lineNumber;
            log.badLineText = line.toString();
            log.badField = field;
            log.problem = QStringLiteral("line %1: %2")
                              .arg(lineNumber)
                              .arg(badFigureText(field, fields[std::size_t(field)]));
            walk.ended = true;
            return;
        }
        record(fields);
        if (matchesRecordDate(fields[0])) {
            const QStringView date = fields[0].left(10);
            if (walk.earliest.isEmpty() || date < QStringView(walk.earliest)) {
                walk.earliest = date.toString();
            }
            if (walk.latest.isEmpty() || date > QStringView(walk.latest)) {
                walk.latest = date.toString();
            }
        }
    }
}

}  // namespace

QStringView trimmedCellSpace(QStringView text) {
    const auto blank = [](QChar c) {
        return c == u' ' || c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r';
    };
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && blank(text[from])) {
        ++from;
    }
    while (to > from && blank(text[to - 1])) {
        --to;
    }
    return text.sliced(from, to - from);
}

bool isPortalFigure(QStringView field) {
    field = trimmedCellSpace(field);
    const qsizetype from = 0;
    const qsizetype to = field.size();
    constexpr qsizetype kMaxDigits = 9;
    qsizetype whole = 0;
    while (from + whole < to && field[from + whole] >= u'0' && field[from + whole] <= u'9') {
        ++whole;
    }
    if (whole == 0 || whole > kMaxDigits) {
        return false;
    }
    qsizetype at = from + whole;
    if (at == to) {
        return true;
    }
    if (field[at] != u'.') {
        return false;
    }
    ++at;
    const qsizetype decimals = to - at;
    if (decimals == 0 || decimals > kMaxDigits) {
        return false;
    }
    for (; at < to; ++at) {
        if (field[at] < u'0' || field[at] > u'9') {
            return false;
        }
    }
    return true;
}

QString figureFieldName(int field) {
    switch (field) {
        case 3:
            return QStringLiteral("Download (MB)");
        case 4:
            return QStringLiteral("Upload (MB)");
        default:
            break;
    }
    return QStringLiteral("Total (MB)");
}

std::optional<QDate> recordDayOf(QStringView dateField) {
    // As the report reads the cell: a page's text holds no NUL characters.
    QString withoutNuls;
    if (dateField.contains(QChar(0))) {
        withoutNuls = dateField.toString();
        withoutNuls.remove(QChar(0));
        dateField = withoutNuls;
    }
    const QStringView date = trimmedCellSpace(dateField);
    if (!matchesRecordDate(date)) {
        return std::nullopt;
    }
    return QDate(date.left(4).toInt(), date.mid(5, 2).toInt(), date.mid(8, 2).toInt());
}

int badFigureField(QStringView date, QStringView download, QStringView upload, QStringView total) {
    const std::optional<QDate> day = recordDayOf(date);
    if (!day) {
        return -1;
    }
    // A day the calendar lacks ("2013-04-36") is named here, with its line, rather than
    // failing the report.
    if (!day->isValid()) {
        return 0;
    }
    const QStringView figures[] = {download, upload, total};
    for (int i = 0; i < 3; ++i) {
        if (!isPortalFigure(figures[i])) {
            return 3 + i;
        }
    }
    return -1;
}

QString badFigureText(int field, QStringView text) {
    if (field == 0) {
        return QStringLiteral("the Date field %1 is not a day of the calendar")
            .arg(quotedForMessage(trimmedCellSpace(text).left(10)));
    }
    return QStringLiteral("the %1 field %2 is not a figure the portal writes")
        .arg(figureFieldName(field), quotedForMessage(trimmedCellSpace(text)));
}

namespace {

// Collects the rows of the log that `pieces` hands out (pieces(walkPiece) calls walkPiece(text,
// lastPiece) for each piece in file order, and stops when it returns false). `capacity` is
// what the usual log's rows take at most: a row is at most 64 characters longer than its line
// unless a field needs escaping.
template <typename Pieces>
UsageLogRecords collectRows(qsizetype capacity, Pieces pieces) {
    UsageLogRecords log;
    // Each row goes in front of the rows before it, written backwards from the end of the
    // buffer: no string per record, no reversing afterwards. Pages of it never written are
    // never taken from the system.
    QByteArray records;
    records.resize(capacity);
    qsizetype front = capacity;  // the rows so far fill [front, capacity)
    QString row;
    auto record = [&](const std::array<QStringView, 6>& fields) {
        // toRowText's form; a field holding anything to escape takes toRowText itself.
        qsizetype length = 63;
        bool plain = true;
        for (QStringView field : fields) {
            length += field.size();
            for (QChar ch : field) {
                const char16_t c = ch.unicode();
                plain = plain && c <= 0xFF && c != u'&' && c != u'<' && c != u'>' && c != u'"' &&
                        c != u'\'' && c != 0xA0;
            }
        }
        if (!plain) {
            row = toRowText(fields);
            length = row.size();
        }
        if (front < length) {
            const qsizetype larger = std::max(capacity * 2, capacity + length);
            QByteArray moved;
            moved.resize(larger);
            std::copy_n(records.constData() + front, capacity - front,
                        moved.data() + (larger - (capacity - front)));
            front += larger - capacity;
            capacity = larger;
            records = std::move(moved);
        }
        front -= length;
        // Row text is Latin-1: a plain field holds nothing beyond it, and toRowText escapes
        // what does.
        char* out = records.data() + front;
        auto put = [&out](QStringView piece) {
            out = std::copy(piece.utf16(), piece.utf16() + piece.size(), out);
        };
        if (plain) {
            put(u"<TR>");
            for (QStringView field : fields) {
                put(u"<TD>");
                put(field);
                put(u"</TD>");
            }
            put(u"</TR>");
        } else {
            put(row);
        }
        ++log.count;
    };
    LogWalk walk;
    pieces([&](QStringView text, bool lastPiece) {
        walkLogLines(text, lastPiece, walk, log, record);
        return !walk.ended;
    });
    log.earliest = walk.earliest;
    log.latest = walk.latest;
    // Qt drops the unused front by moving where the text starts, not the characters.
    records.remove(0, front);
    log.records = UsageRecords(std::move(records));
    return log;
}

}  // namespace

UsageLogRecords readUsageLogRecords(const QString& text) {
    const qsizetype lines = QStringView(text).count(u'\n') + 1;
    return collectRows(text.size() + lines * 64,
                       [&text](const auto& walkPiece) { walkPiece(QStringView(text), true); });
}

UsageLogRecords readUsageLogFile(const QByteArray& bytes) {
    // Read a few megabytes at a time, so that the whole log is never held as text beside its
    // rows. A piece ends after a '\n', which no UTF-8 sequence holds.
    const bool utf8 = startsWithByteOrderMark(bytes);
    const qsizetype lines = bytes.count('\n') + 1;
    return collectRows(bytes.size() + lines * 64, [&](const auto& walkPiece) {
        constexpr qsizetype kPiece = qsizetype(4) << 20;
        qsizetype at = utf8 ? kByteOrderMarkSize : 0;
        for (;;) {
            qsizetype cut = bytes.size();
            if (bytes.size() - at > kPiece) {
                const qsizetype lineEnd = bytes.indexOf('\n', at + kPiece);
                if (lineEnd >= 0) {
                    cut = lineEnd + 1;
                }
            }
            const bool lastPiece = cut == bytes.size();
            const QByteArrayView piece(bytes.constData() + at, cut - at);
            const QString text = textOfFilePiece(piece, utf8);
            if (!walkPiece(QStringView(text), lastPiece) || lastPiece) {
                return;
            }
            at = cut;
        }
    });
}

bool looksLikeUsageLog(const QString& text) {
    QStringView first =
        QStringView(text).left(text.indexOf(u'\n') < 0 ? text.size() : text.indexOf(u'\n'));
    if (first.endsWith(u'\r')) {
        first.chop(1);
    }
    return !first.contains(u'<') && first.count(u',') >= 5 && !first.trimmed().isEmpty();
}

QString downloadPeriodText(const QString& fromDate, const QString& toDate) {
    auto dmy = [](const QString& ymd) {
        return QStringLiteral("%1-%2-%3").arg(ymd.mid(8, 2), ymd.mid(5, 2), ymd.left(4));
    };
    return QStringLiteral("period %1 TO %2").arg(dmy(fromDate), dmy(toDate));
}

void UsageExtraction::addRecordsInFront(const UsageRecords& records) {
    m_state.records.prepend(records);
}

void UsageExtraction::parseUsageFile(const QString& text) {
    UsageLogRecords log = readUsageLogRecords(text);
    addRecordsInFront(log.records);
    if (log.badLine != 0) {
        QString message = QStringLiteral("Error retrieving data from site");
        if (log.badField >= 0) {
            // A figure the portal never writes (a damaged log): which one, and where.
            message +=
                QStringLiteral("\n\n") + log.problem.front().toUpper() + log.problem.mid(1) + u'.';
        }
        dialogs().show(Message{message});
        return;
    }
    m_report.grabbingFinished();
}

}  // namespace kestrova
