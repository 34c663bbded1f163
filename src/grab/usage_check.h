// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

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
//
// The grab never ends without saying why: no user id or password, a refused log-in, a host
// that cannot be reached, a page that does not come within the page limit, a page without
// what the walk needs, a failed download each stop it through GrabHost::grabStopped. Only the
// subscriber's own choice of dates in the window is waited for without a limit.

#include "grab/grab_host.h"
#include "platform/browser.h"
#include "retrieval/retrieval_state.h"

#include <QCoroTask>
#include <QDate>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <memory>

namespace kestrova {

class ReportBuilder;
class UsageExtraction;

// Where a grab stands; the portal's page notifications move it on.
enum class GrabState {
    Idle = -1,          // no grab
    Started = 0,        // the portal's first page is on its way
    LogInPageExpected,  // the next top-level page is the log-in form
    LoggedIn,           // the form is sent or the portal welcomed the user
    Navigating,         // the usage walk clicked and waits for the page
};

class UsageCheck : public QObject {
    Q_OBJECT

public:
    UsageCheck(RetrievalState& state, GrabHost& host, Browser& browser, UsageExtraction& extraction,
               ReportBuilder& report, QObject* parent = nullptr);

    // "Check Bandwidth Usage" (and "Show Usage" on the cache page).
    void checkUsage();
    // Stops a grab that is running (its walk ends at its next test, the portal page is left)
    // and goes back to "Login Info". Nothing happens when no grab runs.
    void cancelGrab();
    // Whether a grab from the log-in page is under way: started and neither stopped nor
    // handed to the report yet.
    bool isGrabbing() const { return m_running; }

    // How long the grab waits for the portal before it gives up (default 60 s), counted from
    // the last sign that the portal is working on the page: a frame's load starting or
    // finishing. A portal that answers every request within the limit is waited for however
    // many requests a page takes. The subscriber's own choice of dates is not limited in the
    // window.
    void setPageLimit(std::chrono::milliseconds limit) { m_pageLimit = limit; }
    std::chrono::milliseconds pageLimit() const { return m_pageLimit; }

    GrabState grabState = GrabState::Idle;

    // Timer1: one-shot, 100 ms, disabled at start; its tick builds the report outside the
    // notification that ended the grab.
    void startResumeTimer() { m_resumeTimer.start(); }
    bool resumeTimerActive() const { return m_resumeTimer.isActive(); }
    // Resumes after the result window has closed, then selects "Login Info".
    QCoro::Task<> resumeAfterResult();

    // Waits `seconds` on a monotonic timer while the event loop runs on; ends early once a
    // document-complete notification has been handled meanwhile, so the grab goes on as soon
    // as the portal's page is there. Tests shorten the second.
    QCoro::Task<> waitSeconds(int seconds);
    void setSecond(std::chrono::milliseconds second) { m_second = second; }

    // "01/" + month + "/" + year of `today`.
    static QString getFromDate(const QDate& today);
    // The last day of the month of `today` as dd/MM/yyyy.
    static QString getToDate(const QDate& today);
    // The full month name of the period's first two "-"-separated parts read as year and
    // month; empty when they are not.
    static QString getMonth(const QString& monthYear);

    // The handler of the browser's document-complete notification.
    QCoro::Task<> onPageLoaded(FrameHandle frame, QUrl url);
    // How many invocations of that handler are under way (suspended in a wait or a browser
    // call); tests wait for none before they end, so no handler is left waiting.
    int handlersRunning() const { return *m_handlersRunning; }

Q_SIGNALS:
    // A handler invocation ended (for tests and the demo's automation).
    void handlerEnded();
    // The usage log has been downloaded, and then read into records (for the benchmark's
    // timing of a grab's steps).
    void logFetched();
    void logRead();

private:
    // How a wait for the portal ended.
    enum class PageWait { Arrived, GrabEnded, NoPage, NotOnPage };

    QCoro::Task<> usageWalk();
    // Waits, `seconds` at a time, until the navigation frame holds `id`. Ends early when the
    // grab ends or the state leaves 2. When `limited`: NoPage when the page limit has passed
    // since the last sign of progress and no document has completed since the notification
    // count was `notificationsBefore` (taken before the click that asked for the page);
    // NotOnPage when pages came but none held `id`, either at the limit or once every load
    // started has finished and the settling time has passed (`settled` then tells which).
    QCoro::Task<PageWait> waitForElement(QString id, int seconds, bool limited,
                                         std::uint64_t notificationsBefore,
                                         bool* settled = nullptr);
    void onLoadFailed(const QUrl& url, const QString& reason);
    // A frame's (or the top level's) load has started: the portal is working on the page.
    void onNavigationStarted(const QUrl& url, bool topLevel);
    // A load started or finished, or the grab asked for a page: the page limit starts again.
    void noteProgress();
    // Whether every load started has finished: the page is there as the portal sent it.
    bool pageSettled() const { return m_lastCompletion > m_lastStart; }
    // What a timeout names: the loads that had not finished, or nothing.
    QString stillLoading() const;
    void onWatchdog();
    // Ends the running grab with `stop`. Unless `keepState`, the state goes idle (-1) so the
    // pages still to come are left alone.
    void stopGrab(const GrabStop& stop, bool keepState = false);
    void startWatchdog();
    QString portalHost() const;
    QCoro::Task<LiveDocument> navigationFrame();
    QCoro::Task<bool> hasElement(const LiveDocument& document, const QString& id);
    QCoro::Task<LiveElement> element(const LiveDocument& document, const QString& id);
    void readDownloadedLog(const QString& fileName, const DownloadResult& download);
    // Stops the grab (or, after it, tells the subscriber): no usage log came, and why.
    void logNotFetched(const QString& why);

    // Shared with the invocations, which may outlive the check.
    std::shared_ptr<int> m_handlersRunning = std::make_shared<int>(0);
    RetrievalState& m_state;
    GrabHost& m_host;
    Browser& m_browser;
    UsageExtraction& m_extraction;
    ReportBuilder& m_report;
    QTimer m_resumeTimer;
    std::chrono::milliseconds m_second{1000};
    std::chrono::milliseconds m_pageLimit{60000};
    // Limits the wait for the log-in page and for the answer to the log-in form; the walk
    // limits its own waits.
    QTimer m_watchdog;
    bool m_running = false;
    // The log-in form was sent and no page has greeted the user since; what it was sent with.
    bool m_submitted = false;
    QString m_sentUser;
    QString m_sentPassword;
    // Notifications handled so far: a wait ends early when this moves.
    std::uint64_t m_notifications = 0;
    // The last sign of progress, and the order of the last load started and finished.
    QElapsedTimer m_progress;
    std::uint64_t m_loadEvents = 0;
    std::uint64_t m_lastStart = 0;
    std::uint64_t m_lastCompletion = 0;
    // The addresses (path and query) of the loads started and not finished, oldest first.
    QStringList m_loading;
    // Counts the grabs started. A walk belongs to the grab that was current when it began and
    // ends once another has started, even if that one has logged in again by the time the
    // walk's wait is over (the state alone would let both walks download and count the
    // records twice).
    std::uint64_t m_grab = 0;
};

}  // namespace kestrova
