#pragma once

// The check command and the grab: from "Check Bandwidth Usage" to the report builder. On the
// "Login Details" page the grab logs in to the portal in the browser, walks its navigation
// frame to the usage page, waits while the subscriber picks the dates there, downloads the
// usage log and reads it; on the "Use Cache Data" page the report comes from a cache file.
//
// The grab is a state machine advanced by the browser's document-complete notifications. Each
// notification runs a handler coroutine; a handler waiting (Wait) or awaiting the page lets
// further notifications run their own handlers meanwhile, which may change the state the
// waiting handler tests after its wait. Nothing spins a nested event loop.

#include "app/grab_host.h"
#include "platform/browser.h"
#include "retrieval/retrieval_state.h"

#include <QCoroTask>
#include <QDate>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>

namespace kestrova {

class ReportBuilder;
class UsageExtraction;

class UsageCheck : public QObject {
    Q_OBJECT

public:
    UsageCheck(RetrievalState& state, GrabHost& host, Browser& browser,
               UsageExtraction& extraction, ReportBuilder& report, QObject* parent = nullptr);

    // "Check Bandwidth Usage" (and "Show Usage" on the cache page).
    void cmdCalculate_Click();

    // The grab's state: -1 idle, 0 started, 1 login page expected, 2 logged in, 3 portal
    // navigation under way.
    std::int32_t mlngGrabState = -1;

    // Timer1: one-shot, 100 ms, disabled at start; its tick builds the report outside the
    // notification that ended the grab.
    void enableTimer1() { m_timer1.start(); }
    bool timer1Enabled() const { return m_timer1.isActive(); }
    // Resumes after the result window has closed, then selects "Login Info".
    QCoro::Task<> Timer1_Timer();

    // Waits `seconds` on a monotonic timer while the event loop runs on. Tests shorten the
    // second.
    QCoro::Task<> Wait(int seconds);
    void setSecond(std::chrono::milliseconds second) { m_second = second; }

    // "01/" + month + "/" + year of `today`.
    static QString GetFromDate(const QDate& today);
    // The last day of the month of `today` as dd/MM/yyyy.
    static QString GetToDate(const QDate& today);
    // The full month name of the period's first two "-"-separated parts read as year and
    // month; empty when they are not.
    static QString GetMonth(const QString& monthYear);

    // The handler of the browser's document-complete notification.
    QCoro::Task<> WebBrowser1_DocumentComplete(FrameHandle pDisp, QUrl URL);

Q_SIGNALS:
    // A handler invocation ended (for tests and the demo's automation).
    void handlerEnded();

private:
    QCoro::Task<> usageWalk();
    QCoro::Task<LiveDocument> navigationFrame();
    QCoro::Task<bool> hasElement(const LiveDocument& document, const QString& id);
    QCoro::Task<LiveElement> element(const LiveDocument& document, const QString& id);
    void readDownloadedLog(const QString& fileName, const DownloadResult& download);

    RetrievalState& m_state;
    GrabHost& m_host;
    Browser& m_browser;
    UsageExtraction& m_extraction;
    ReportBuilder& m_report;
    QTimer m_timer1;
    std::chrono::milliseconds m_second{1000};
    // Counts the grabs started. A walk belongs to the grab that was current when it began and
    // ends once another has started, even if that one has logged in again by the time the
    // walk's wait is over (the state alone would let both walks download and count the
    // records twice).
    std::uint64_t m_grab = 0;
};

}  // namespace kestrova
