// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "grab/usage_check.h"

#include "platform/dialogs.h"
#include "platform/failure.h"
#include "platform/program_folder.h"
#include "retrieval/cache_file.h"
#include "retrieval/cache_merge.h"
#include "retrieval/report_page.h"
#include "retrieval/usage_log.h"

#include <QCoroTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QScopeGuard>
#include <QUuid>
#include <cstdio>

namespace kestrova {

namespace {

// Whether a link leads to the portal the grab logged in to: over http or https, to its host
// and port.
bool isPortalAddress(const QUrl& link, const QString& portalHost) {
    const QUrl portal(QStringLiteral("http://") + portalHost + u'/');
    const QString scheme = link.scheme().toLower();
    return link.isValid() && (scheme == u"http" || scheme == u"https") && !link.host().isEmpty() &&
           link.host().compare(portal.host(), Qt::CaseInsensitive) == 0 &&
           link.port(-1) == portal.port(-1);
}

const QString kDataNotAvailable =
    QStringLiteral("Error retrieving bandwidth logs, Data not available for selected month");

const QString kWelcome = QStringLiteral("welcome_message");
const QString kLinkToAction3 = QStringLiteral("aaab.NavigationView.ToolBarLinkToAction3");
const QString kLinkToAction38 = QStringLiteral("aaab.NavigationView.LinkToAction38");
const QString kLinkToUrl = QStringLiteral("aaab.BBUsageView.ToolBarLinkToURL");
const QString kFromDay = QStringLiteral("aaab.BBUsageView.ddkFromDay");
const QString kUserField = QStringLiteral("logonuidfield");
const QString kPasswordField = QStringLiteral("logonpassfield");
const QString kLogOnButton = QStringLiteral("uidPasswordLogon");
const QString kLogInElements[] = {kUserField, kPasswordField, kLogOnButton};

// How long a page that has finished loading without the element the walk waits for is given
// to show it (a script may add it), in the grab's seconds.
constexpr int kSettlingSeconds = 5;

const QString kTypeCredentials = QStringLiteral("Type your user id and password.");

QString seconds(std::chrono::milliseconds limit) {
    const auto s =
        std::chrono::duration_cast<std::chrono::seconds>(limit + std::chrono::milliseconds(999));
    return s.count() == 1 ? QStringLiteral("1 second")
                          : QStringLiteral("%1 seconds").arg(s.count());
}

void information(const QString& text, const QString& title = QString()) {
    dialogs().show(Message{text, title, MessageIcon::Information});
}

// A load's address as a timeout names it: the path and query on the portal, cut to a length
// a message can hold.
QString loadName(const QUrl& url) {
    QString name = url.toString(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
    if (name.isEmpty()) {
        name = QStringLiteral("/");
    }
    constexpr qsizetype kLongest = 60;
    return name.size() > kLongest ? name.left(kLongest - 3) + QStringLiteral("...") : name;
}

}  // namespace

UsageCheck::UsageCheck(RetrievalState& state, GrabHost& host, Browser& browser,
                       UsageExtraction& extraction, ReportBuilder& report, QObject* parent)
    : QObject(parent),
      m_state(state),
      m_host(host),
      m_browser(browser),
      m_extraction(extraction),
      m_report(report) {
    m_resumeTimer.setSingleShot(true);
    m_resumeTimer.setInterval(100);
    connect(&m_resumeTimer, &QTimer::timeout, this, [this] { resumeAfterResult(); });
    // Each notification runs a handler of its own; the task runs on by itself.
    connect(&m_browser, &Browser::documentComplete, this,
            [this](const FrameHandle& frame, const QUrl& url) { onPageLoaded(frame, url); });
    connect(&m_browser, &Browser::loadFailed, this, &UsageCheck::onLoadFailed);
    connect(&m_browser, &Browser::beforeNavigate, this, &UsageCheck::onNavigationStarted);
    m_watchdog.setSingleShot(true);
    connect(&m_watchdog, &QTimer::timeout, this, &UsageCheck::onWatchdog);
}

void UsageCheck::checkUsage() {
    m_state.records.clear();
    m_state.monthYear.clear();
    m_state.userName.clear();
    m_state.chart.reset();
    m_state.cachingEnabled = false;
    m_host.setMessageVisible(false);
    m_host.blankReport();
    // The subscriber's "Plan type"; anything else counts as the plain limited kind.
    m_state.planKind = planKindOf(m_host.planKind()).value_or(PlanKind::Limited);

    switch (m_host.selectedMainPage()) {
        case MainPage::LogIn: {
            if (m_host.selfcareSiteIndex() < 0) {
                information(QStringLiteral("Select '") + m_host.northHost() +
                                QStringLiteral("' for north region and select '") +
                                m_host.westHost() + QStringLiteral("' for west region. "),
                            QStringLiteral("Select selfcare site"));
                m_host.focusSelfcareSite();
                return;
            }
            // Nothing is sent to the portal without both: it would only refuse them.
            const bool noUser = m_host.userName().trimmed().isEmpty();
            if (noUser || m_host.password().isEmpty()) {
                m_host.grabStopped(
                    GrabStop{GrabProblem::NoCredentials,
                             Message{kTypeCredentials, {}, MessageIcon::Information}});
                if (noUser) {
                    m_host.focusUserName();
                } else {
                    m_host.focusPassword();
                }
                return;
            }
            m_host.selectProcessingPage();
            m_state.userName = m_host.userName();
            grabState = GrabState::Started;
            ++m_grab;
            m_running = true;
            m_submitted = false;
            m_loading.clear();
            m_lastStart = m_lastCompletion = 0;
            m_host.grabProgress(GrabStep::Connecting);
            noteProgress();
            startWatchdog();
            m_browser.navigate(
                QUrl(QStringLiteral("http://") + m_host.selfcareSiteText() + QStringLiteral("/")));
            return;
        }
        case MainPage::CacheData: {
            if (m_host.cacheFileIndex() < 0) {
                information(QStringLiteral("Select one cache file to create report"));
                m_host.focusCacheFiles();
                return;
            }
            const QString item = m_host.cacheFileText();
            const QString path = inProgramFolder(m_host.folder(), item + kCacheExtension);
            if (!QFileInfo(path).isFile()) {
                information(QStringLiteral("Selected cache file do not exist"));
                m_host.focusCacheFiles();
                return;
            }
            try {
                m_state.records = readCacheRecords(path);
            } catch (const Failure& failure) {
                dialogs().show(Message{item + kCacheExtension + u": " + failure.description()});
                return;
            }
            m_state.monthYear = cacheItemPeriod(item);
            m_report.grabbingFinished();
            return;
        }
        default:
            return;
    }
}

void UsageCheck::cancelGrab() {
    if (!m_running) {
        return;
    }
    stopGrab(GrabStop{GrabProblem::Cancelled, Message{}});
    // Leaves the portal's page, so nothing of it loads on behind the subscriber's back.
    m_browser.navigate(QUrl(QStringLiteral("about:blank")));
    m_host.setMessageVisible(false);
    m_host.selectLoginInfoPage();
}

void UsageCheck::stopGrab(const GrabStop& stop, bool keepState) {
    m_running = false;
    m_submitted = false;
    m_sentPassword.clear();
    m_watchdog.stop();
    if (!keepState) {
        // Every waiting walk ends at its next test, and later pages are left alone.
        ++m_grab;
        grabState = GrabState::Idle;
    }
    m_host.grabStopped(stop);
}

void UsageCheck::noteProgress() {
    m_progress.start();
    if (m_running && m_watchdog.isActive()) {
        m_watchdog.start();  // the portal is at work: its limit starts again
    }
}

void UsageCheck::onNavigationStarted(const QUrl& url, bool topLevel) {
    if (url.scheme() == u"about") {
        return;  // a blank frame asks nothing of the portal
    }
    if (topLevel) {
        m_loading.clear();  // the new page replaces everything still loading
    }
    m_loading.append(loadName(url));
    m_lastStart = ++m_loadEvents;
    noteProgress();
}

QString UsageCheck::stillLoading() const {
    if (m_loading.isEmpty()) {
        return QString();
    }
    QStringList quoted;
    for (const QString& name : m_loading) {
        quoted << u'"' + name + u'"';
    }
    return QStringLiteral(" (%1 did not come)").arg(quoted.join(QStringLiteral(", ")));
}

void UsageCheck::startWatchdog() {
    m_watchdog.setInterval(m_pageLimit);
    m_watchdog.start();
}

QString UsageCheck::portalHost() const {
    return m_host.selfcareSiteText();
}

void UsageCheck::onLoadFailed(const QUrl& url, const QString& reason) {
    if (!m_running || url.scheme() == u"about") {
        return;
    }
    const QString host = url.authority().isEmpty() ? portalHost() : url.authority();
    stopGrab(GrabStop{
        GrabProblem::Unreachable,
        Message{QStringLiteral("Cannot load the portal's page from %1: %2.\n\nCheck the network "
                               "connection and the portal chosen under \"Selfcare Portal\", "
                               "then try again.")
                    .arg(host, reason),
                {},
                MessageIcon::Warning}});
}

void UsageCheck::onWatchdog() {
    if (!m_running) {
        return;
    }
    const QString what = m_submitted ? QStringLiteral("did not answer the log-in")
                                     : QStringLiteral("did not send its log-in page");
    stopGrab(GrabStop{GrabProblem::PageTimeout,
                      Message{QStringLiteral("The portal at %1 %2 within %3%4. It may be busy: "
                                             "try again later.")
                                  .arg(portalHost(), what, seconds(m_pageLimit), stillLoading()),
                              {},
                              MessageIcon::Warning}});
}

QCoro::Task<> UsageCheck::resumeAfterResult() {
    const QPointer<UsageCheck> self(this);
    m_resumeTimer.stop();
    co_await m_host.showOutput();
    if (self) {
        m_host.selectLoginInfoPage();
    }
}

QCoro::Task<> UsageCheck::waitSeconds(int seconds) {
    const QPointer<UsageCheck> self(this);
    const std::uint64_t before = m_notifications;
    const std::chrono::milliseconds total = m_second * seconds;
    // Short slices: the walk goes on as soon as a page has come, not a whole second later.
    const std::chrono::milliseconds slice = std::min(total, std::chrono::milliseconds(25));
    QElapsedTimer elapsed;
    elapsed.start();
    while (std::chrono::milliseconds(elapsed.elapsed()) < total) {
        co_await QCoro::sleepFor(slice);
        if (!self || m_notifications != before) {
            co_return;
        }
    }
}

QCoro::Task<bool> UsageCheck::hasElement(const LiveDocument& document, const QString& id) {
    const std::optional<LiveElement> found = co_await document.elementById(id);
    co_return found.has_value();
}

QCoro::Task<LiveElement> UsageCheck::element(const LiveDocument& document, const QString& id) {
    co_return co_await document.requiredElement(id);
}

QCoro::Task<LiveDocument> UsageCheck::navigationFrame() {
    const std::optional<LiveDocument> top = co_await m_browser.document();
    if (!top) {
        throw Failure(QStringLiteral("The portal browser shows no page"));
    }
    const LiveDocument work = co_await top->frame(2);
    co_return co_await work.frame(1);
}

QCoro::Task<> UsageCheck::onPageLoaded(FrameHandle frame, QUrl url) {
    const QPointer<UsageCheck> self(this);
    // Counted while the invocation's frame lives, whichever way it ends.
    const std::shared_ptr<int> running = m_handlersRunning;
    ++*running;
    const auto ended = qScopeGuard([running] { --*running; });
    const std::uint64_t grab = m_grab;
    m_loading.removeOne(loadName(url));
    m_lastCompletion = ++m_loadEvents;
    noteProgress();
    try {
        // A page that greets the user means logged in, whatever the state was.
        const std::optional<LiveDocument> top = co_await m_browser.document();
        if (!self) {
            co_return;
        }
        const bool welcomed = top && co_await hasElement(*top, kWelcome);
        if (!self) {
            co_return;
        }
        if (welcomed) {
            grabState = GrabState::LoggedIn;
            if (m_submitted && m_running) {
                m_host.loginAnswered(m_sentUser, m_sentPassword, true);
            }
            m_submitted = false;
            m_sentPassword.clear();
        }
        ++m_notifications;
        const bool fromTopLevel = frame == Browser::topLevel();
        switch (grabState) {
            case GrabState::Started:
                grabState = GrabState::LogInPageExpected;
                break;
            case GrabState::LogInPageExpected:
                if (fromTopLevel) {
                    if (!top) {
                        throw Failure(QStringLiteral("The portal browser shows no page"));
                    }
                    // A log-in page without its form is not a month without data.
                    QString missing;
                    for (const QString& id : kLogInElements) {
                        if (missing.isEmpty() && !co_await hasElement(*top, id)) {
                            missing = id;
                        }
                    }
                    if (!self) {
                        co_return;
                    }
                    if (!missing.isEmpty()) {
                        if (m_running && m_grab == grab) {
                            stopGrab(GrabStop{
                                GrabProblem::PortalChanged,
                                Message{QStringLiteral("Error retrieving bandwidth logs: the "
                                                       "log-in page of the portal at %1 has no "
                                                       "\"%2\". The portal may have changed.")
                                            .arg(portalHost(), missing),
                                        {},
                                        MessageIcon::Warning}});
                        }
                        break;
                    }
                    grabState = GrabState::LoggedIn;
                    const QString user = m_host.userName();
                    const QString password = m_host.password();
                    co_await (co_await element(*top, kUserField)).setValue(user);
                    co_await (co_await element(*top, kPasswordField)).setValue(password);
                    co_await (co_await element(*top, kLogOnButton)).click();
                    if (self && m_running) {
                        m_submitted = true;
                        m_sentUser = user;
                        m_sentPassword = password;
                        m_host.grabProgress(GrabStep::LoggingIn);
                    }
                }
                break;
            case GrabState::LoggedIn:
                if (!fromTopLevel) {
                    break;
                }
                // The log-in page again, after the form was sent: the portal refused the pair.
                if (m_submitted && top && co_await hasElement(*top, kUserField)) {
                    if (self && m_running) {
                        m_host.loginAnswered(m_sentUser, m_sentPassword, false);
                        stopGrab(GrabStop{
                            GrabProblem::LoginRefused,
                            Message{QStringLiteral("The portal did not accept the user id and "
                                                   "password. Check them and try again."),
                                    {},
                                    MessageIcon::Warning}});
                    }
                    break;
                }
                if (self) {
                    co_await usageWalk();
                }
                break;
            default:
                break;
        }
    } catch (const Failure& failure) {
        // A failure of a grab that has been cancelled or restarted meanwhile (its page was
        // left under a waiting call) is nobody's to hear about.
        if (self && m_grab == grab) {
            if (m_running) {
                stopGrab(GrabStop{GrabProblem::PortalChanged,
                                  Message{kDataNotAvailable, {}, MessageIcon::Information},
                                  failure.description()},
                         true);
            } else {
                information(kDataNotAvailable);
            }
        }
    }
    if (self) {
        Q_EMIT handlerEnded();
    }
}

QCoro::Task<UsageCheck::PageWait> UsageCheck::waitForElement(QString id, int seconds, bool limited,
                                                             std::uint64_t notificationsBefore,
                                                             bool* settled) {
    const QPointer<UsageCheck> self(this);
    const std::uint64_t grab = m_grab;
    while (true) {
        co_await waitSeconds(seconds);
        if (!self || m_grab != grab) {
            co_return PageWait::GrabEnded;
        }
        const bool pageCame = m_notifications != notificationsBefore;
        const std::chrono::milliseconds quiet(m_progress.elapsed());
        const bool overLimit = limited && quiet >= m_pageLimit;
        // Everything asked for has come and nothing more is loading: a page without the
        // element is not waited for to the limit.
        const bool hasSettled =
            limited && pageCame && pageSettled() && quiet >= m_second * kSettlingSeconds;
        // Still navigating: no page has completed since the walk's click. A slow portal is waited
        // for (up to the limit) instead of taken for a walk to end.
        if (grabState == GrabState::Navigating) {
            if (overLimit) {
                co_return PageWait::NoPage;
            }
            continue;
        }
        if (grabState != GrabState::LoggedIn) {
            co_return PageWait::GrabEnded;
        }
        if (co_await hasElement(co_await navigationFrame(), id)) {
            co_return PageWait::Arrived;
        }
        if (!self || m_grab != grab) {
            co_return PageWait::GrabEnded;
        }
        if (overLimit || hasSettled) {
            if (settled) {
                *settled = hasSettled;
            }
            co_return pageCame ? PageWait::NotOnPage : PageWait::NoPage;
        }
    }
}

QCoro::Task<> UsageCheck::usageWalk() {
    const QPointer<UsageCheck> self(this);
    const std::uint64_t grab = m_grab;
    // After every wait: still this grab, and still logged in?
    const auto current = [&] { return self && m_grab == grab; };
    const auto goOn = [&] { return current() && grabState == GrabState::LoggedIn; };
    // A wait that did not end with its page: the grab stops and says which page did not come.
    bool settled = false;
    const auto pageMissing = [&](PageWait outcome, const QString& page, const QString& id) {
        if (!current() || !m_running || outcome == PageWait::GrabEnded) {
            return;
        }
        if (outcome == PageWait::NoPage) {
            stopGrab(
                GrabStop{GrabProblem::PageTimeout,
                         Message{QStringLiteral("The portal at %1 did not send %2 within "
                                                "%3%4. It may be busy: try again later.")
                                     .arg(portalHost(), page, seconds(m_pageLimit), stillLoading()),
                                 {},
                                 MessageIcon::Warning}});
            return;
        }
        const QString how =
            settled ? QStringLiteral("has loaded without \"%1\"").arg(id)
                    : QStringLiteral("has no \"%1\" after %2").arg(id, seconds(m_pageLimit));
        stopGrab(GrabStop{GrabProblem::PortalChanged,
                          Message{QStringLiteral("Error retrieving bandwidth logs: %1 of the "
                                                 "portal at %2 %3. The portal may have changed.")
                                      .arg(page, portalHost(), how),
                                  {},
                                  MessageIcon::Warning}});
    };

    m_watchdog.stop();  // from here on the walk limits its own waits
    grabState = GrabState::Navigating;
    if (m_running) {
        m_host.grabProgress(GrabStep::OpeningUsagePage);
    }
    std::uint64_t before = m_notifications;
    noteProgress();  // the click asks for the next page: the limit runs from here
    co_await (co_await element(co_await navigationFrame(), kLinkToAction3)).click();

    // The state comes back to 2 when a notification finds the user still logged in; until
    // then the services page is still on its way.
    PageWait outcome = co_await waitForElement(kLinkToAction38, 1, true, before, &settled);
    if (outcome != PageWait::Arrived) {
        pageMissing(outcome, QStringLiteral("the services page"), kLinkToAction38);
        co_return;
    }
    before = m_notifications;
    noteProgress();
    co_await (co_await element(co_await navigationFrame(), kLinkToAction38)).click();
    outcome = co_await waitForElement(kFromDay, 1, true, before, &settled);
    if (outcome != PageWait::Arrived) {
        pageMissing(outcome, QStringLiteral("the usage page"), kFromDay);
        co_return;
    }
    if (!goOn()) {
        co_return;
    }

    // The subscriber now picks the dates on the portal's page and asks for the details.
    m_host.setMessageCaption(
        QStringLiteral("Select From and To dates and click \"View Usage Details\" link"));
    m_host.setMessageVisible(true);
    if (m_running) {
        m_host.grabProgress(GrabStep::WaitingForDates);
    }
    before = m_notifications;
    noteProgress();
    const bool chosenByHost = co_await m_host.chooseDates(co_await navigationFrame());
    if (!current()) {
        co_return;
    }
    if (!co_await hasElement(co_await navigationFrame(), kLinkToUrl)) {
        // A subscriber may take as long as they like; dates the host chose must bring the
        // details within the limit.
        outcome = co_await waitForElement(kLinkToUrl, 2, chosenByHost, before);
        if (outcome != PageWait::Arrived) {
            if (outcome == PageWait::NotOnPage) {
                // The period's page came without a log: the portal has none for it.
                if (current() && m_running) {
                    stopGrab(GrabStop{GrabProblem::PortalChanged,
                                      Message{kDataNotAvailable, {}, MessageIcon::Information}});
                }
            } else {
                pageMissing(outcome, QStringLiteral("the usage details"), kLinkToUrl);
            }
            co_return;
        }
    }
    if (!current()) {
        co_return;
    }
    m_host.setMessageCaption(QStringLiteral("Fetching log. Please wait..."));
    if (m_running) {
        m_host.grabProgress(GrabStep::FetchingLog);
    }
    m_host.processPendingEvents();

    const LiveDocument navigation = co_await navigationFrame();
    const QString address = co_await (co_await element(navigation, kLinkToUrl)).value();
    if (!current()) {
        co_return;
    }
    // A page may link anywhere (a file of this computer, another site): the log is fetched
    // only from the portal the grab logged in to.
    if (!isPortalAddress(QUrl(address), portalHost())) {
        logNotFetched(QStringLiteral("the portal's download link leads to %1, not to the portal "
                                     "at %2, so it was not followed")
                          .arg(quotedForMessage(address, 80), portalHost()));
        co_return;
    }
    // Never read the previous grab's log as this one's: it goes before the download starts.
    QFile::remove(inProgramFolder(m_host.folder(), QStringLiteral("usage.htm")));
    // Into a file of this grab's own: checks running side by side never read or remove each
    // other's log.
    const QString fileName = inProgramFolder(
        m_host.folder(),
        QStringLiteral(".usage-%1.htm").arg(QUuid::createUuid().toString(QUuid::Id128)));
    m_browser.setDownloadLimit(kUsageLogLimit);
    const DownloadResult download = co_await m_browser.download(QUrl(address), fileName);
    if (!current()) {
        QFile::remove(fileName);
        co_return;  // a new grab has started meanwhile: the log is not its
    }
    Q_EMIT logFetched();

    QString period = QStringLiteral("period ");
    const char* parts[] = {"ddkFromDay", "ddkFromMonth", "ddkFromYear",
                           "ddkToDay",   "ddkToMonth",   "ddkToYear"};
    for (int i = 0; i < 6; ++i) {
        const QString id = QStringLiteral("aaab.BBUsageView.") + QString::fromLatin1(parts[i]);
        const QString v = co_await (co_await element(co_await navigationFrame(), id)).value();
        if (!current()) {
            QFile::remove(fileName);
            co_return;
        }
        period += v + (i == 2 ? QStringLiteral(" TO ") : i == 5 ? QString() : QStringLiteral("-"));
    }
    m_state.monthYear = period;
    readDownloadedLog(fileName, download);
}

void UsageCheck::logNotFetched(const QString& why) {
    const Message message{
        QStringLiteral("Error retrieving bandwidth logs: ") + why, {}, MessageIcon::Warning};
    if (m_running) {
        stopGrab(GrabStop{GrabProblem::DownloadFailed, message}, true);
    } else {
        dialogs().show(message);
    }
}

void UsageCheck::readDownloadedLog(const QString& fileName, const DownloadResult& download) {
    // A failed transfer, or a page instead of a log (the portal's log-in page once the
    // session has expired), is no usage log: say so rather than report on it.
    QString text;
    QString problem;
    if (!download.completed) {
        problem =
            QStringLiteral("the usage log could not be downloaded (%1). Check again.")
                .arg(download.error.isEmpty() ? QStringLiteral("no reason given") : download.error);
    } else {
        try {
            text = readFileData(fileName, false);
        } catch (const Failure& failure) {
            problem = QStringLiteral("the usage log could not be read (%1). Check again.")
                          .arg(failure.description());
        }
    }
    if (problem.isEmpty() && !looksLikeUsageLog(text)) {
        problem = QStringLiteral(
            "the portal sent a page instead of the usage log; its session may have ended. Check "
            "again.");
    }
    if (!problem.isEmpty()) {
        QFile::remove(fileName);
        logNotFetched(problem);
        return;
    }
    // The log takes the place of the last one, whole: "usage.htm" never shows half a log.
    const QString logFile = inProgramFolder(m_host.folder(), QStringLiteral("usage.htm"));
    if (std::rename(QFile::encodeName(fileName).constData(),
                    QFile::encodeName(logFile).constData()) != 0) {
        QFile::remove(fileName);
    }
    m_running = false;
    m_extraction.parseUsageFile(text);
    Q_EMIT logRead();
    // Kept only when the log was read whole (the report is then on its way).
    if (m_resumeTimer.isActive() && m_host.cacheEnabled()) {
        const CacheMerge merge = mergeIntoCache(m_host.folder(), m_state.records,
                                                m_state.unbilledSelected, m_state.userName);
        if (!merge.problems.empty()) {
            m_host.cacheNotKept(describeCacheProblems(merge));
        }
    }
}

QString UsageCheck::getFromDate(const QDate& today) {
    return QStringLiteral("01/%1/%2")
        .arg(today.month(), 2, 10, QChar(u'0'))
        .arg(today.year(), 4, 10, QChar(u'0'));
}

QString UsageCheck::getToDate(const QDate& today) {
    const QDate last = QDate(today.year(), today.month(), 1).addMonths(1).addDays(-1);
    return last.toString(QStringLiteral("dd/MM/yyyy"));
}

QString UsageCheck::getMonth(const QString& monthYear) {
    const QStringList parts = monthYear.split(u'-');
    if (parts.size() < 2) {
        return QString();
    }
    bool yearOk = false;
    bool monthOk = false;
    const QDate first(parts[0].trimmed().toInt(&yearOk), parts[1].trimmed().toInt(&monthOk), 1);
    if (!yearOk || !monthOk || !first.isValid()) {
        return QString();
    }
    return QLocale().monthName(first.month(), QLocale::LongFormat);
}

}  // namespace kestrova
