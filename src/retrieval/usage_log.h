// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "retrieval/report_target.h"
#include "retrieval/retrieval_state.h"
#include "retrieval/usage_records.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace kestrova {

class ReportBuilder;

// Whether a megabyte field (Download, Upload or Total) holds a figure as the portal writes
// it: digits, with at most one point and digits after it; blanks, tabs and the line's
// carriage return around. No sign, no exponent, no grouping, at most 9 digits before the
// point (a month of a gigabit line stays below 400 million MB) and 9 after.
bool isPortalFigure(QStringView field);
// The names of the three megabyte fields, by field index 3 to 5 ("Total (MB)").
QString figureFieldName(int field);
// A cell's text without the white space the report drops at its ends.
QStringView trimmedCellSpace(QStringView text);
// The day of a record's Date field as the report reads it (first ten characters, blanks and
// NUL characters left out); an invalid date for one the calendar lacks ("2026-11-36"), and
// nothing for a field that is no record's date (a title line).
std::optional<QDate> recordDayOf(QStringView dateField);
// The index (3 to 5) of the first megabyte field of a record that is no portal figure, 0 when
// the record's date is no day of the calendar, or -1.
// Records are the rows whose date field matchesRecordDate(); other rows are never read as
// figures.
int badFigureField(QStringView date, QStringView download, QStringView upload, QStringView total);
// "the Total (MB) field "-49900" is not a figure the portal writes".
QString badFigureText(int field, QStringView text);

// The downloaded usage log read into records, in the order the records hold them: the last
// record read first (what parseUsageFile puts in front of the records); the earliest and latest
// record dates (the "YYYY-MM-DD" of records whose date field has that form), and the 1-based line
// number of the first line that is no record: fewer than six fields, or a record whose megabyte
// figure the portal never writes (0 when there is none; the rows before it are kept).
// `problem` says what is wrong with it ("line 3 has fewer than six fields").
struct UsageLogRecords {
    UsageRecords records;
    int count = 0;  // the rows read
    QString earliest;
    QString latest;
    int badLine = 0;
    QString badLineText;
    int badField = -1;  // the bad field (0: the date, 3 to 5: a figure); -1: too few fields
    QString problem;
};
UsageLogRecords readUsageLogRecords(const QString& text);
// The same from a log file's bytes (readFileBytes), read a few megabytes at a time.
UsageLogRecords readUsageLogFile(const QByteArray& bytes);

// Whether a downloaded text is a usage log at all: its first line is a header of at least six
// comma-separated names, not mark-up (as the portal's log-in page is).
bool looksLikeUsageLog(const QString& text);

// The period text of the download grab for two "YYYY-MM-DD" dates:
// "period 01-04-2013 TO 17-04-2013".
QString downloadPeriodText(const QString& fromDate, const QString& toDate);

// Reading the downloaded usage log into the records; ends in the report builder's
// grabbingFinished.
class UsageExtraction {
public:
    UsageExtraction(RetrievalState& state, ReportBuilder& report)
        : m_state(state), m_report(report) {}

    // Adds the log's records to records, newest read first in front, and hands them to the
    // report builder; a line with fewer than six fields shows "Error retrieving data from site" and
    // builds nothing, as does a figure the portal never writes (the message then names the
    // line and the field).
    void parseUsageFile(const QString& text);

    // Records in that order (readUsageLogRecords) put in front of records.
    void addRecordsInFront(const UsageRecords& records);

private:
    RetrievalState& m_state;
    ReportBuilder& m_report;
};

}  // namespace kestrova
