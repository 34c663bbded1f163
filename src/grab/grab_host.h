// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/browser.h"
#include "platform/dialogs.h"

#include <QCoroTask>
#include <QString>

namespace kestrova {

// Where a grab is, for the "Processing" page (and kestrova-check's progress).
enum class GrabStep {
    Connecting,        // the portal's log-in page is loading
    LoggingIn,         // the log-in form was sent
    OpeningUsagePage,  // the walk through the navigation frame
    WaitingForDates,   // the usage page is open: the From and To dates are being chosen
    FetchingLog,       // the usage log is downloading
};

// Why a grab stopped without a report.
enum class GrabProblem {
    NoCredentials,   // no user id or no password to log in with
    LoginRefused,    // the portal showed its log-in page again after the form was sent
    Unreachable,     // the host cannot be reached, or the portal's page failed to load
    PageTimeout,     // a page of the portal did not come within the limit
    PortalChanged,   // the pages load but lack what the walk needs, or have no data
    DownloadFailed,  // no usage log came (a failed transfer, a page instead of the log)
    Cancelled,       // the subscriber stopped it
};

struct GrabStop {
    GrabStop() = default;
    GrabStop(GrabProblem why, Message told, QString what = QString())
        : problem(why), message(std::move(told)), detail(std::move(what)) {}

    GrabProblem problem = GrabProblem::PortalChanged;
    Message message;  // what the subscriber is told; empty text for Cancelled
    QString detail;   // what exactly failed, where the message is a fixed text
};

// The pages of the main window's tab strip, numbered as the strip numbers its tabs.
enum class MainPage { LogIn = 1, CacheData = 2 };

// What the check command and the grab need of the main window besides its fields.
class GrabHost {
public:
    virtual ~GrabHost() = default;

    // The selected page of tabStrip: "Login Details" or "Use Cache Data".
    virtual MainPage selectedMainPage() const = 0;
    virtual QString userName() const = 0;  // userNameEdit
    virtual QString password() const = 0;  // passwordEdit
    // selfcaresiteCombo: the selected item (-1 for none) and its text; the two portal hosts.
    virtual int selfcareSiteIndex() const = 0;
    virtual QString selfcareSiteText() const = 0;
    virtual QString northHost() const = 0;
    virtual QString westHost() const = 0;
    virtual void focusSelfcareSite() = 0;
    virtual void focusUserName() {}
    virtual void focusPassword() {}
    // cacheFilesCombo: the selected item (-1 for none) and its text.
    virtual int cacheFileIndex() const = 0;
    virtual QString cacheFileText() const = 0;
    virtual void focusCacheFiles() = 0;
    // portalTabs: page 1 "Login Info", page 2 "Processing".
    virtual void selectLoginInfoPage() = 0;
    virtual void selectProcessingPage() = 0;
    // messageLabel on the "Processing" page.
    virtual void setMessageCaption(const QString& caption) = 0;
    virtual void setMessageVisible(bool visible) = 0;
    // The result window's report browser to "about:blank".
    virtual void blankReport() = 0;
    virtual void processPendingEvents() = 0;
    // The program's folder.
    virtual QString folder() const = 0;
    // Builds the report and shows the result window (run from the tick of Timer1); the task
    // ends once the result window has been closed.
    virtual QCoro::Task<> showOutput() = 0;

    // The grab has reached `step`.
    virtual void grabProgress(GrabStep step) { Q_UNUSED(step); }
    // The portal answered the log-in form sent with `userId` and `password`: it greeted the
    // user (`accepted`) or showed its log-in page again.
    virtual void loginAnswered(const QString& userId, const QString& password, bool accepted) {
        Q_UNUSED(userId);
        Q_UNUSED(password);
        Q_UNUSED(accepted);
    }
    // The grab has stopped without a report. The window shows the message (none for
    // Cancelled); kestrova-check turns the problem into its exit status.
    virtual void grabStopped(const GrabStop& stop) {
        if (!stop.message.text.isEmpty()) {
            dialogs().show(stop.message);
        }
    }
    // The plan kind of a check (planTypeCombo): 0 limited, 1 limited with night unlimited,
    // 2 unlimited. The report classifies and charges the records by it.
    virtual int planKind() const { return 0; }
    // "Enable Cache": a finished download grab keeps its records in the month's cache files.
    virtual bool cacheEnabled() const { return false; }
    // Some of the records could not be kept in the cache (the report goes on): `text` names
    // each file left as it was and why.
    virtual void cacheNotKept(const QString& text) {
        dialogs().show(Message{QStringLiteral("Some usage records could not be kept in the "
                                              "cache:\n\n") +
                                   text,
                               {},
                               MessageIcon::Warning});
    }
    // The usage page with its date drop-downs is open in `navigation`. The window leaves the
    // dates to the subscriber, who may take as long as it takes (false); kestrova-check picks
    // them and clicks "View Usage Details" itself (true: the grab then waits for the usage
    // details only up to its page limit). A Failure thrown here stops the grab as a portal
    // that is not as expected.
    virtual QCoro::Task<bool> chooseDates(LiveDocument navigation) {
        Q_UNUSED(navigation);
        co_return false;
    }
};

}  // namespace kestrova
