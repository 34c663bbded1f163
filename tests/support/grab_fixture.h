// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The main window's side of the check command and the grab, for tests: a host that records
// what the grab asks of the window, and the report builder's host with Timer1 wired to the
// check.

#include "grab/grab_host.h"
#include "grab/usage_check.h"
#include "platform/dialogs.h"

#include "support/task_runner.h"

#include "retrieval/headless.h"
#include "retrieval/report_page.h"
#include "retrieval/usage_log.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <functional>
#include <utility>
#include <vector>

namespace kestrova::testing {

class FakeHost : public GrabHost {
public:
    MainPage selectedMainPage() const override { return mainPage; }
    QString userName() const override { return user; }
    QString password() const override { return pass; }
    int selfcareSiteIndex() const override { return 0; }
    QString selfcareSiteText() const override { return site; }
    QString northHost() const override { return QStringLiteral("north.portal.test"); }
    QString westHost() const override { return QStringLiteral("west.portal.test"); }
    void focusSelfcareSite() override { focused = QStringLiteral("cmbSelfcaresite"); }
    void focusUserName() override { focused = QStringLiteral("txtUserName"); }
    void focusPassword() override { focused = QStringLiteral("txtPassword"); }
    int cacheFileIndex() const override { return cacheIndex; }
    QString cacheFileText() const override { return cacheItem; }
    void focusCacheFiles() override { focused = QStringLiteral("cmbCacheFiles"); }
    void selectLoginInfoPage() override { innerPage = 1; }
    void selectProcessingPage() override { innerPage = 2; }
    void setMessageCaption(const QString& caption) override { message = caption; }
    void setMessageVisible(bool visible) override { messageVisible = visible; }
    void blankReport() override {}
    void processPendingEvents() override { QCoreApplication::processEvents(); }
    QString folder() const override { return dir.path(); }
    void grabProgress(GrabStep step) override { steps.push_back(step); }
    bool cacheEnabled() const override { return cache; }
    int planKind() const override { return kind; }
    void cacheNotKept(const QString& text) override { notKept << text; }
    void grabStopped(const GrabStop& stop) override {
        stops.push_back(stop);
        GrabHost::grabStopped(stop);
    }
    QCoro::Task<bool> chooseDates(LiveDocument navigation) override {
        if (!dateChooser) {
            co_return false;
        }
        co_await dateChooser(navigation);
        co_return true;
    }
    QCoro::Task<> showOutput() override {
        ++outputs;
        if (report) {
            report->writeOutput();
        }
        co_return;
    }

    QTemporaryDir dir;
    QString site = QStringLiteral("portal.test");
    MainPage mainPage = MainPage::LogIn;
    QString user = QStringLiteral("abc");
    QString pass = QStringLiteral("secret");
    int cacheIndex = -1;
    int kind = 0;
    QString cacheItem;
    QString focused;
    int innerPage = 1;
    QString message;
    bool messageVisible = false;
    int outputs = 0;
    ReportBuilder* report = nullptr;
    std::vector<GrabStep> steps;
    bool cache = false;
    QStringList notKept;
    std::vector<GrabStop> stops;
    // Set: the host picks the dates itself, as kestrova-check does.
    std::function<QCoro::Task<>(LiveDocument)> dateChooser;
};

// The report builder's side of the main window, with Timer1 wired to the check.
class Retrieval : public HeadlessHost {
public:
    void startResumeTimer() override {
        HeadlessHost::startResumeTimer();
        if (check) {
            check->startResumeTimer();
        }
    }
    UsageCheck* check = nullptr;
};

// The navigation frame: frame 1 of frame 2.
inline FramePath navigationPath() {
    return FramePath{2, 1};
}

// The subscriber, on the portal's navigation frame: picks days of April 2013 and asks for the
// details.
inline void choosePeriod(const LiveDocument& nav, const char* fromDay, const char* toDay) {
    const std::pair<const char*, const char*> picks[] = {
        {"ddkFromDay", fromDay}, {"ddkFromMonth", "04"}, {"ddkFromYear", "2013"},
        {"ddkToDay", toDay},     {"ddkToMonth", "04"},   {"ddkToYear", "2013"}};
    const QString prefix = QStringLiteral("aaab.BBUsageView.");
    for (const auto& [id, value] : picks) {
        await(
            await(nav.requiredElement(prefix + QLatin1String(id))).setValue(QLatin1String(value)));
    }
    await(await(nav.requiredElement(prefix + QStringLiteral("ViewUsageDetails"))).click());
}

// The grab with the report builder behind it on browser B, wired as the main window wires
// them, with the dialogs answered by the test.
template <typename B>
class GrabRig {
public:
    GrabRig() {
        retrieval.check = &check;
        host.report = &report;
    }
    GrabRig(const GrabRig&) = delete;
    GrabRig& operator=(const GrabRig&) = delete;

    void choosePeriod(const char* fromDay, const char* toDay) {
        testing::choosePeriod(browser.documentOf(FrameHandle(navigationPath())), fromDay, toDay);
    }

    RecordingDialogs messages;
    ScopedDialogs seam{messages};
    RetrievalState state;
    FakeHost host;
    Retrieval retrieval;
    HeadlessResult result;
    ReportBuilder report{state, retrieval, result};
    UsageExtraction extraction{state, report};
    B browser;
    UsageCheck check{state, host, browser, extraction, report};
};

}  // namespace kestrova::testing
