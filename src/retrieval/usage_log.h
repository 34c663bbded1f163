// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/document.h"
#include "retrieval/report_target.h"
#include "retrieval/retrieval_state.h"

#include <QString>
#include <QStringList>

namespace kestrova {

class ReportBuilder;

// The downloaded usage log split into records: the row texts in file order, the earliest and
// latest record dates (the "YYYY-MM-DD" of records whose date field has that form), and the
// 1-based line number of the first line with fewer than six fields (0 when there is none;
// the rows before it are kept).
struct ParsedUsageLog {
    QStringList rows;
    QString earliest;
    QString latest;
    int badLine = 0;
    QString badLineText;
};
ParsedUsageLog parseUsageLog(const QString& text);

// The same records as one text in the order mstrRecords holds them: the row text of the last
// record read first (what ParseUsageFile puts in front of mstrRecords), without a string per
// record. Dates and the first bad line as parseUsageLog gives them.
struct UsageLogRecords {
    QString records;
    int count = 0;
    QString earliest;
    QString latest;
    int badLine = 0;
    QString badLineText;
};
UsageLogRecords readUsageLogRecords(const QString& text);

// Whether a downloaded text is a usage log at all: its first line is a header of at least six
// comma-separated names, not mark-up (as the portal's log-in page is).
bool looksLikeUsageLog(const QString& text);

// The period text of the download grab for two "YYYY-MM-DD" dates:
// "period 01-04-2013 TO 17-04-2013".
QString downloadPeriodText(const QString& fromDate, const QString& toDate);

// Reading usage records from the portal: the downloaded log, or the portal's own usage table
// page by page, merged with the cache file. Both end in the report builder's GrabbingFinished.
class UsageExtraction {
public:
    UsageExtraction(RetrievalState& state, RetrievalHost& host, ReportBuilder& report)
        : m_state(state), m_host(host), m_report(report) {}

    // Adds the log's records to mstrRecords, newest read first in front, and builds the
    // skeleton; a malformed line shows "Error retrieving data from site" and builds nothing.
    void ParseUsageFile(const QString& text);

    // Reads one page of the usage table: clicks to the next page and returns, or finishes
    // (cache merge, GrabbingFinished).
    void GrabUsagePage(Document& objDoc);
    void StartGrab(Document& objDoc);

    static ElementPtr GetSummaryTable(const ElementList& colTables, int Index);

    // The records text put in front of mstrRecords, rows given in reading order.
    void addInFront(const QStringList& rowsInReadingOrder);
    // Records text already in that order (readUsageLogRecords) put in front of mstrRecords.
    void addRecordsInFront(QString records);

private:
    RetrievalState& m_state;
    RetrievalHost& m_host;
    ReportBuilder& m_report;
};

}  // namespace kestrova
