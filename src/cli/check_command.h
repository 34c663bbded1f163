// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// kestrova-check: the check command's download grab without a window. The grab's own state
// machine logs in to the portal in the live browser (offscreen), walks to the usage page,
// picks the period on the portal's page as a subscriber would (the six date drop-downs, then
// "View Usage Details"), downloads the usage log into the program's folder and prints the
// report's figures as kestrova-report does.
//
// Exit status: 0 done; 2 bad command line; 3 no credentials, or the portal refused them;
// 4 the host cannot be reached, or a page did not load within the limit; 5 the portal's pages
// are not as expected, or the period has no data; 6 the download failed; 1 anything else.
// Each failure is one line "kestrova-check: ..." on standard error. The password is never
// written anywhere or printed.

#include "grab/grab_host.h"

#include <QCoroTask>
#include <QObject>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QIODevice;

namespace kestrova {

class Browser;
class PasswordStore;
class DesktopNotifier;
struct CheckOptions;

namespace check_status {
inline constexpr int kDone = 0;
inline constexpr int kOther = 1;
inline constexpr int kUsage = 2;
inline constexpr int kCredentials = 3;
inline constexpr int kUnreachable = 4;
inline constexpr int kPortal = 5;
inline constexpr int kDownload = 6;
}  // namespace check_status

// The exit status for a grab that stopped for `problem`.
int checkExitStatus(GrabProblem problem);

// What a test may put in place of the real thing.
struct CheckEnvironment {
    // None: the live browser on the browser engine.
    std::function<std::unique_ptr<Browser>()> browser;
    // The length of the grab's "second" (its pauses between looks at the portal).
    std::chrono::milliseconds second{1000};
    // Where the remembered password is read. None: the desktop keyring.
    std::function<std::unique_ptr<PasswordStore>()> passwordStore;
    // --notify's notifications. None: the freedesktop notification service.
    std::function<std::unique_ptr<DesktopNotifier>()> notifier;
};

class CheckCommand : public QObject {
    Q_OBJECT

public:
    // `in` gives the password with --password-stdin; `out` the summary; `err` the failures.
    CheckCommand(QIODevice& in, QIODevice& out, QIODevice& err, CheckEnvironment environment = {});
    ~CheckCommand() override;

    // Reads the arguments (without the program name) and starts the check. Gives the exit
    // status when it is known at once (help, version, a bad command line, no credentials);
    // otherwise nothing, and finished() follows from the event loop.
    std::optional<int> start(const QStringList& arguments);

Q_SIGNALS:
    void finished(int status);

private:
    class Run;
    void begin(CheckOptions options);
    QCoro::Task<> startWithRememberedPassword(CheckOptions options);
    std::unique_ptr<Run> m_run;
    QIODevice& m_in;
    QIODevice& m_out;
    QIODevice& m_err;
    CheckEnvironment m_environment;
};

}  // namespace kestrova
