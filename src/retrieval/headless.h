#pragma once

// The main window's and the result window's side of the report builder without any window:
// for the command-line tools and the tests.

#include "platform/html_document.h"
#include "retrieval/report_target.h"

namespace kestrova {

class HeadlessResult : public ReportTarget {
public:
    Document& reportDocument() override { return report; }
    bool takesPageMarkup() const override { return markupOnly; }
    void setReportPage(QString html) override { page = std::move(html); }
    // The finished page's mark-up, from whichever form holds it.
    QString pageMarkup() const { return markupOnly ? page : report.outerHTML(); }
    QDate lastUsedDate() const override { return mdtLastUsedDate; }
    void setLastUsedDate(const QDate& date) override { mdtLastUsedDate = date; }
    void setTotalUsage(std::int32_t mb) override { mlngTotalUsage = mb; }
    void setChargedUsage(std::int32_t mb) override { mlngChargedUsage = mb; }
    void setNightChargedUsage(std::int32_t mb) override { nightChargedUsage = mb; }
    void setLastDayUsage(std::int32_t mb) override { mlngLastDayUsage = mb; }
    void setAverageCaption(const QString& caption) override { averageCaption = caption; }
    void setDailyTotals(const std::vector<DailyTotal>& days) override { dailyTotals = days; }
    bool graphInitialised() const override { return false; }
    bool officeChartRunning() const override { return false; }
    void setOfficeChartData(const QString&) override {}
    void setInbuiltChartInitialised(bool initialised) override {
        mblnInbuiltChartInitialised = initialised;
    }
    void UpdateGraphControl() override { ++chartUpdates; }
    void CreateSummary() override { ++summaries; }

    HtmlDocument report;
    // The page as mark-up only (the command line writes it to a file): no document is built
    // for it where none is needed, and `report` is then left as it was.
    bool markupOnly = false;
    QString page;
    QDate mdtLastUsedDate;
    std::int32_t mlngTotalUsage = 0;
    std::int32_t mlngChargedUsage = 0;
    std::int32_t nightChargedUsage = 0;
    std::int32_t mlngLastDayUsage = 0;
    QString averageCaption;
    std::vector<DailyTotal> dailyTotals;
    bool mblnInbuiltChartInitialised = false;
    int chartUpdates = 0;
    int summaries = 0;
};

class HeadlessHost : public RetrievalHost {
public:
    explicit HeadlessHost(QString programFolder = QString()) : m_folder(std::move(programFolder)) {}

    Document& wbTemp() override { return temp; }
    void processPendingEvents() override;
    void enableTimer1() override { timerEnabled = true; }
    void setBusy(bool isBusy) override { busy = isBusy; }
    QString folder() const override { return m_folder; }
    void setFolder(const QString& programFolder) { m_folder = programFolder; }

    HtmlDocument temp;
    bool timerEnabled = false;
    bool busy = false;

private:
    QString m_folder;
};

}  // namespace kestrova
