#include "retrieval/usage_log.h"

#include "platform/dialogs.h"
#include "platform/failure.h"
#include "retrieval/cache_file.h"
#include "retrieval/report_page.h"
#include "retrieval/row_text.h"

#include <QFileInfo>
#include <array>

namespace kestrova {

namespace {

const QString kNotAvailableText = QStringLiteral(
    "The usage details are currently not available,please try after some time or contact call "
    "center representative");

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

}  // namespace

ParsedUsageLog parseUsageLog(const QString& text) {
    ParsedUsageLog log;
    const QStringView all(text);
    log.rows.reserve(all.count(u'\n'));
    QStringView earliest;
    QStringView latest;
    auto keepDates = [&] {
        log.earliest = earliest.toString();
        log.latest = latest.toString();
    };
    qsizetype start = 0;
    int lineNumber = 0;
    while (start <= all.size()) {
        qsizetype end = all.indexOf(u'\n', start);
        if (end < 0) {
            end = all.size();
        }
        ++lineNumber;
        const QStringView line = all.sliced(start, end - start);
        start = end + 1;
        if (lineNumber == 1) {
            continue;  // the header line
        }
        // Blanks only: a carriage return at the end stays part of the last field. A line that
        // holds nothing else (a blank line of a CR LF file) is blank all the same.
        const QStringView trimmed = trimBlanks(line);
        if (trimmed.isEmpty() || trimBlanks(trimmed.chopped(trimmed.endsWith(u'\r') ? 1 : 0))
                                     .isEmpty()) {
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
            keepDates();
            return log;
        }
        log.rows << RowText(fields);
        if (matchesRecordDate(fields[0])) {
            const QStringView date = fields[0].left(10);
            if (earliest.isEmpty() || date < earliest) {
                earliest = date;
            }
            if (latest.isEmpty() || date > latest) {
                latest = date;
            }
        }
    }
    keepDates();
    return log;
}

bool looksLikeUsageLog(const QString& text) {
    QStringView first = QStringView(text).left(text.indexOf(u'\n') < 0 ? text.size()
                                                                      : text.indexOf(u'\n'));
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

void UsageExtraction::addInFront(const QStringList& rowsInReadingOrder) {
    if (rowsInReadingOrder.isEmpty()) {
        return;
    }
    // Each record read goes in front of those held: collect once, reversed, in linear time.
    qsizetype size = m_state.mstrRecords.size();
    for (const QString& r : rowsInReadingOrder) {
        size += r.size();
    }
    QString records;
    records.reserve(size);
    for (auto it = rowsInReadingOrder.crbegin(); it != rowsInReadingOrder.crend(); ++it) {
        records += *it;
    }
    records += m_state.mstrRecords;
    m_state.mstrRecords = std::move(records);
}

void UsageExtraction::ParseUsageFile(const QString& text) {
    const ParsedUsageLog log = parseUsageLog(text);
    addInFront(log.rows);
    if (log.badLine != 0) {
        dialogs().show(Message{QStringLiteral("Error retrieving data from site")});
        return;
    }
    m_report.GrabbingFinished();
}

void UsageExtraction::GrabUsagePage(Document& objDoc) {
    QStringList read;
    try {
        if (objDoc.documentElement()->innerText().contains(kNotAvailableText)) {
            dialogs().show(Message{QStringLiteral("Data for selected month not available"),
                                   QStringLiteral("Not available"), MessageIcon::Information});
            return;
        }
        const QString formName = m_state.unbilledSelected ? QStringLiteral("SWEForm2_0")
                                                          : QStringLiteral("SWEForm1_0");
        ElementPtr form = objDoc.elementsByName(formName).item(0);
        ElementPtr logTable = form->child(0)->child(2)->row(0)->cell(0)->child(0);

        if (m_state.mstrMonthYear.isEmpty() && logTable->rowCount() > 1) {
            const QString first = logTable->row(1)->cell(0)->innerText();
            if (first.contains(u'-')) {
                const QStringList parts = first.section(u' ', 0, 0).split(u'-');
                if (parts.size() < 3) {
                    throw Failure(QStringLiteral("Subscript out of range"));
                }
                m_state.mstrMonthYear = parts[2].trimmed() + u'-' + parts[1].trimmed();
            }
        }
        if (m_state.mstrCacheFile.isEmpty() && m_state.mblnCachingEnabled) {
            m_state.mstrCacheFile =
                cacheFileName(m_host.folder(), m_state.mstrMonthYear, m_state.unbilledSelected,
                              m_state.mstrUserName);
        }
        if (m_state.mblnCachingEnabled && m_state.mstrCachedData.isEmpty() &&
            QFileInfo::exists(m_state.mstrCacheFile)) {
            m_state.mstrCachedData = ReadFileData(m_state.mstrCacheFile, true);
        }

        bool caughtUp = false;
        const int rows = logTable->rowCount();
        for (int r = 1; r < rows; ++r) {
            ElementPtr row = logTable->row(r);
            QStringList fields;
            for (int c = 0; c < 6; ++c) {
                fields << row->cell(c)->innerText();
            }
            const QString rowText = RowText(fields);
            if (m_state.mblnCachingEnabled && m_state.mstrCachedData.contains(rowText)) {
                caughtUp = true;
                break;
            }
            read << rowText;
        }

        ElementPtr pager = form->child(0)->child(1)->row(0)->cell(2)->child(0);
        if (!caughtUp) {
            ElementPtr next = pager->row(0)->cell(4)->child(0);
            if (next->tagName().toUpper() == u"A") {
                addInFront(read);
                read.clear();
                next->click();
                return;
            }
        }
        addInFront(read);
        read.clear();
        if (m_state.mblnCachingEnabled) {
            m_state.mstrRecords = m_state.mstrCachedData + m_state.mstrRecords;
            SaveFileData(m_state.mstrCacheFile, m_state.mstrRecords, true);
        }
        m_report.GrabbingFinished();
    } catch (const Failure&) {
        addInFront(read);
        dialogs().show(Message{QStringLiteral("Error retrieving data from site")});
    }
}

void UsageExtraction::StartGrab(Document& objDoc) {
    try {
        GrabUsagePage(objDoc);
    } catch (const std::exception&) {
        dialogs().show(Message{QStringLiteral("Error retrieving log pages"), QString(),
                               MessageIcon::Information});
    }
}

ElementPtr UsageExtraction::GetSummaryTable(const ElementList& colTables, int Index) {
    return colTables.item(Index)->row(1)->cell(0)->child(0)->child(0);
}

}  // namespace kestrova
