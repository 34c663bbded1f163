#pragma once

#include "platform/daily_total.h"

#include <QDate>
#include <QString>
#include <cstdint>
#include <vector>

namespace kestrova {

class Document;

// What the report builder writes into: the result window implements it (the command-line
// tools use HeadlessResult).
class ReportTarget {
public:
    virtual ~ReportTarget() = default;

    // The document of the report browser; the finished page is written here.
    virtual Document& reportDocument() = 0;
    // Called once the page is complete (rows, daily totals, style rules), before the chart
    // and the summary are fed.
    virtual void reportReady() {}

    // A target that wants the finished page as mark-up says so: it is then handed the page
    // (the document element's outer HTML, as a saved report holds it) before reportReady(),
    // and reportDocument() is left alone whenever the page can be built without a document.
    virtual bool takesPageMarkup() const { return false; }
    virtual void setReportPage(QString page) { Q_UNUSED(page); }

    virtual QDate lastUsedDate() const = 0;  // mdtLastUsedDate
    virtual void setLastUsedDate(const QDate& date) = 0;
    virtual void setTotalUsage(std::int32_t mb) = 0;    // mlngTotalUsage
    virtual void setChargedUsage(std::int32_t mb) = 0;  // mlngChargedUsage
    // What the night-unlimited plans charge whatever the report's plan kind, for pricing
    // those plans in comparisons.
    virtual void setNightChargedUsage(std::int32_t mb) { Q_UNUSED(mb); }
    virtual void setLastDayUsage(std::int32_t mb) = 0;  // mlngLastDayUsage
    virtual void setAverageCaption(const QString& caption) = 0;  // lblAverage
    // Each day's total, oldest first (the forecast finds the day the allowance ran out).
    virtual void setDailyTotals(const std::vector<DailyTotal>&) {}

    // The office chart object: created (mblnGraphInitialised) and its server running.
    virtual bool graphInitialised() const = 0;
    virtual bool officeChartRunning() const = 0;
    // Gives the office chart object its data text and makes it update.
    virtual void setOfficeChartData(const QString& dataText) = 0;

    virtual void setInbuiltChartInitialised(bool initialised) = 0;
    virtual void UpdateGraphControl() = 0;
    virtual void CreateSummary() = 0;
};

// What the usage retrieval needs of the main window besides its fields.
class RetrievalHost {
public:
    virtual ~RetrievalHost() = default;
    // The hidden browser that receives the report skeleton.
    virtual Document& wbTemp() = 0;
    virtual void processPendingEvents() = 0;
    // Starts the one-shot 100 ms timer whose tick builds the report (ShowOutput).
    virtual void enableTimer1() = 0;
    // The hourglass while the report is built.
    virtual void setBusy(bool busy) = 0;
    // The program's folder (cache files).
    virtual QString folder() const = 0;
};

}  // namespace kestrova
