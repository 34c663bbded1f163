#include "app/usage_check.h"

#include "platform/dialogs.h"
#include "platform/failure.h"
#include "platform/program_folder.h"
#include "retrieval/cache_file.h"
#include "retrieval/report_page.h"
#include "retrieval/usage_log.h"

#include <QCoroTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>

namespace kestrova {

namespace {

const QString kDataNotAvailable =
    QStringLiteral("Error retrieving bandwidth logs, Data not available for selected month");

const QString kWelcome = QStringLiteral("welcome_message");
const QString kLinkToAction3 = QStringLiteral("aaab.NavigationView.ToolBarLinkToAction3");
const QString kLinkToAction38 = QStringLiteral("aaab.NavigationView.LinkToAction38");
const QString kLinkToUrl = QStringLiteral("aaab.BBUsageView.ToolBarLinkToURL");

void information(const QString& text, const QString& title = QString()) {
    dialogs().show(Message{text, title, MessageIcon::Information});
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
    m_timer1.setSingleShot(true);
    m_timer1.setInterval(100);
    connect(&m_timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    // Each notification runs a handler of its own; the task runs on by itself.
    connect(&m_browser, &Browser::documentComplete, this,
            [this](const FrameHandle& frame, const QUrl& url) {
                WebBrowser1_DocumentComplete(frame, url);
            });
}

void UsageCheck::cmdCalculate_Click() {
    m_state.mstrRecords.clear();
    m_state.mstrMonthYear.clear();
    m_state.mstrUserName.clear();
    m_state.mstrCacheFile.clear();
    m_state.mstrCachedData.clear();
    m_state.mstrGraphData.clear();
    m_state.mstrGraphDataWithAverage.clear();
    m_state.mblnCachingEnabled = false;
    m_host.setMessageVisible(false);
    m_host.blankReport();
    m_state.planKind = kLimitedPlan;

    switch (m_host.selectedMainPage()) {
    case 1:
        if (m_host.selfcareSiteIndex() < 0) {
            information(QStringLiteral("Select '") + m_host.northHost() +
                            QStringLiteral("' for north region and select '") +
                            m_host.westHost() + QStringLiteral("' for west region. "),
                        QStringLiteral("Select selfcare site"));
            m_host.focusSelfcareSite();
            return;
        }
        m_host.selectProcessingPage();
        m_state.mstrUserName = m_host.userName();
        mlngGrabState = 0;
        ++m_grab;
        m_browser.navigate(QUrl(QStringLiteral("http://") + m_host.selfcareSiteText() +
                                QStringLiteral("/")));
        return;
    case 2: {
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
            m_state.mstrRecords = ReadFileData(path, true);
        } catch (const Failure& failure) {
            dialogs().show(Message{failure.description()});
            return;
        }
        m_state.mstrMonthYear = cacheItemPeriod(item);
        m_report.GrabbingFinished();
        return;
    }
    default:
        return;
    }
}

QCoro::Task<> UsageCheck::Timer1_Timer() {
    const QPointer<UsageCheck> self(this);
    m_timer1.stop();
    co_await m_host.ShowOutput();
    if (self) {
        m_host.selectLoginInfoPage();
    }
}

QCoro::Task<> UsageCheck::Wait(int seconds) {
    co_await QCoro::sleepFor(m_second * seconds);
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

QCoro::Task<> UsageCheck::WebBrowser1_DocumentComplete(FrameHandle pDisp, QUrl URL) {
    Q_UNUSED(URL);
    const QPointer<UsageCheck> self(this);
    try {
        // A page that greets the user means logged in, whatever the state was.
        const std::optional<LiveDocument> top = co_await m_browser.document();
        if (!self) {
            co_return;
        }
        if (top && co_await hasElement(*top, kWelcome)) {
            if (!self) {
                co_return;
            }
            mlngGrabState = 2;
        }
        if (!self) {
            co_return;
        }
        const bool fromTopLevel = pDisp == Browser::topLevel();
        switch (mlngGrabState) {
        case 0:
            mlngGrabState = 1;
            break;
        case 1:
            if (fromTopLevel) {
                if (!top) {
                    throw Failure(QStringLiteral("The portal browser shows no page"));
                }
                mlngGrabState = 2;
                const QString user = m_host.userName();
                const QString password = m_host.password();
                co_await (co_await element(*top, QStringLiteral("logonuidfield"))).setValue(user);
                co_await (co_await element(*top, QStringLiteral("logonpassfield")))
                    .setValue(password);
                co_await (co_await element(*top, QStringLiteral("uidPasswordLogon"))).click();
            }
            break;
        case 2:
            if (fromTopLevel) {
                co_await usageWalk();
            }
            break;
        default:
            break;
        }
    } catch (const Failure&) {
        if (self) {
            information(kDataNotAvailable);
        }
    }
    if (self) {
        Q_EMIT handlerEnded();
    }
}

QCoro::Task<> UsageCheck::usageWalk() {
    const QPointer<UsageCheck> self(this);
    const std::uint64_t grab = m_grab;
    // After every wait: still this grab, and still logged in?
    const auto current = [&] { return self && m_grab == grab; };
    const auto goOn = [&] { return current() && mlngGrabState == 2; };
    mlngGrabState = 3;
    co_await (co_await element(co_await navigationFrame(), kLinkToAction3)).click();

    // The state comes back to 2 only when a notification during the wait finds the user
    // still logged in; otherwise the walk ends here.
    while (true) {
        co_await Wait(1);
        if (!goOn()) {
            co_return;
        }
        if (co_await hasElement(co_await navigationFrame(), kLinkToAction38)) {
            break;
        }
        if (!self) {
            co_return;
        }
    }
    if (!self) {
        co_return;
    }
    co_await (co_await element(co_await navigationFrame(), kLinkToAction38)).click();
    co_await Wait(1);
    if (!goOn()) {
        co_return;
    }

    // The subscriber now picks the dates on the portal's page and asks for the details.
    m_host.setMessageCaption(
        QStringLiteral("Select From and To dates and click \"View Usage Details\" link"));
    m_host.setMessageVisible(true);
    while (true) {
        if (co_await hasElement(co_await navigationFrame(), kLinkToUrl)) {
            break;
        }
        if (!self) {
            co_return;
        }
        co_await Wait(2);
        if (!goOn()) {
            co_return;
        }
    }
    if (!self) {
        co_return;
    }
    m_host.setMessageCaption(QStringLiteral("Fetching log. Please wait..."));
    m_host.processPendingEvents();

    const LiveDocument navigation = co_await navigationFrame();
    const QString address = co_await (co_await element(navigation, kLinkToUrl)).value();
    if (!self) {
        co_return;
    }
    // Never read the previous grab's log as this one's: it goes before the download starts.
    const QString fileName = inProgramFolder(m_host.folder(), QStringLiteral("usage.htm"));
    QFile::remove(fileName);
    const DownloadResult download = co_await m_browser.download(QUrl(address), fileName);
    if (!current()) {
        co_return;  // a new grab has started meanwhile: the log is not its
    }

    QString period = QStringLiteral("period ");
    const char* parts[] = {"ddkFromDay", "ddkFromMonth", "ddkFromYear",
                           "ddkToDay",   "ddkToMonth",   "ddkToYear"};
    for (int i = 0; i < 6; ++i) {
        const QString id = QStringLiteral("aaab.BBUsageView.") + QString::fromLatin1(parts[i]);
        const QString v = co_await (co_await element(co_await navigationFrame(), id)).value();
        if (!current()) {
            co_return;
        }
        period += v + (i == 2 ? QStringLiteral(" TO ") : i == 5 ? QString() : QStringLiteral("-"));
    }
    m_state.mstrMonthYear = period;
    readDownloadedLog(fileName, download);
}

void UsageCheck::readDownloadedLog(const QString& fileName, const DownloadResult& download) {
    // A failed transfer, or a page instead of a log (the portal's log-in page once the
    // session has expired), is no usage log: say so rather than report on it.
    const QString text = download.completed ? ReadFileData(fileName, false) : QString();
    if (!download.completed || !looksLikeUsageLog(text)) {
        information(kDataNotAvailable);
        return;
    }
    m_extraction.ParseUsageFile(text);
}

QString UsageCheck::GetFromDate(const QDate& today) {
    return QStringLiteral("01/%1/%2")
        .arg(today.month(), 2, 10, QChar(u'0'))
        .arg(today.year(), 4, 10, QChar(u'0'));
}

QString UsageCheck::GetToDate(const QDate& today) {
    const QDate last = QDate(today.year(), today.month(), 1).addMonths(1).addDays(-1);
    return last.toString(QStringLiteral("dd/MM/yyyy"));
}

QString UsageCheck::GetMonth(const QString& monthYear) {
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
