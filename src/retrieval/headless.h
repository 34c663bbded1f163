// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The main window's and the result window's side of the report builder without any window:
// for the command-line tools and the tests.

#include "retrieval/cache_file.h"
#include "retrieval/report_target.h"

namespace kestrova {

class HeadlessResult : public ReportTarget {
public:
    void setReportPage(QByteArray bytes) override { page = std::move(bytes); }
    bool takesPageWriter() const override { return streamPage; }
    void setPageWriter(std::function<bool(QIODevice&)> writer) override {
        pageWriter = std::move(writer);
    }
    void setListingExport(std::function<QString()> listing) override {
        listingExport = std::move(listing);
    }
    // The finished page as a saved report's file holds it, from whichever form holds it.
    QByteArray pageBytes() const;
    QString pageMarkup() const { return textOfFileBytes(pageBytes()); }
    // The exported listing of the last report; throws Failure before any report.
    QString listingText() const;
    // Puts the page's bytes on the device; false when a write fails.
    bool writePage(QIODevice& device) const;
    ReportOutcome outcome() const override { return m_outcome; }
    void applyOutcome(const ReportOutcome& outcome) override { m_outcome = outcome; }
    bool graphInitialised() const override { return false; }
    bool officeChartRunning() const override { return false; }
    void setOfficeChartData(const QString&) override {}
    void setInbuiltChartInitialised(bool initialised) override {
        inbuiltChartInitialised = initialised;
    }
    void updateGraphControl() override { ++chartUpdates; }
    void createSummary() override { ++summaries; }

    // The page is not held but written where writePage() is asked to, from the report's
    // records (the builder and the state must still be there then).
    bool streamPage = false;
    QByteArray page;
    std::function<bool(QIODevice&)> pageWriter;
    std::function<QString()> listingExport;
    bool inbuiltChartInitialised = false;
    int chartUpdates = 0;
    int summaries = 0;

private:
    ReportOutcome m_outcome;
};

class HeadlessHost : public RetrievalHost {
public:
    explicit HeadlessHost(QString programFolder = QString()) : m_folder(std::move(programFolder)) {}

    void processPendingEvents() override;
    void startResumeTimer() override { timerEnabled = true; }
    void setBusy(bool isBusy) override { busy = isBusy; }
    QString folder() const override { return m_folder; }

    bool timerEnabled = false;
    bool busy = false;

private:
    QString m_folder;
};

}  // namespace kestrova
