// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/check_command.h"

#include "cli/desktop_notifier.h"
#include "cli/report_output.h"
#include "cli/usage_alerts.h"
#include "grab/usage_check.h"
#include "platform/dialogs.h"
#include "platform/failure.h"
#include "platform/keyring/keyring_password_store.h"
#include "platform/live/live_browser.h"
#include "platform/program_folder.h"
#include "platform/settings_store.h"
#include "results/check_document.h"
#include "results/last_check.h"
#include "retrieval/cache_file.h"
#include "retrieval/headless.h"
#include "retrieval/report_page.h"
#include "retrieval/retrieval_state.h"
#include "retrieval/usage_log.h"
#include "settings/deployment.h"
#include "settings/main_settings.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QIODevice>
#include <QJsonDocument>
#include <QPointer>
#include <QTimer>

namespace kestrova {

// What one check is to do, from the command line and the settings.
struct CheckOptions {
    QString host;
    QString user;
    QString password;
    QDate from;
    QDate to;
    bool billed = false;
    bool cache = false;
    int planKind = 0;
    std::chrono::seconds timeout{120};
    bool verbose = false;
    ReportOutputOptions report;
    std::optional<PlanChoice> alertPlan;  // with --notify
};

namespace {

using namespace check_status;

const QString kProgram = QStringLiteral("kestrova-check");

void writeLine(QIODevice& device, const QString& line) {
    device.write((line + u'\n').toUtf8());
}

// A message box's text as one line of a command-line tool.
QString oneLine(QString text) {
    text.replace(QStringLiteral("\n\n"), QStringLiteral(" "));
    text.replace(u'\n', u' ');
    return text;
}

// The six date drop-downs of the portal's usage page and the values that pick `from`..`to`.
struct DatePick {
    QString id;
    QString value;
};
std::vector<DatePick> datePicks(const QDate& from, const QDate& to) {
    const auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')); };
    const QString prefix = QStringLiteral("aaab.BBUsageView.");
    return {{prefix + QStringLiteral("ddkFromDay"), two(from.day())},
            {prefix + QStringLiteral("ddkFromMonth"), two(from.month())},
            {prefix + QStringLiteral("ddkFromYear"), QString::number(from.year())},
            {prefix + QStringLiteral("ddkToDay"), two(to.day())},
            {prefix + QStringLiteral("ddkToMonth"), two(to.month())},
            {prefix + QStringLiteral("ddkToYear"), QString::number(to.year())}};
}

// Records every message; the first one shown outside the grab's own stops ends the check
// (a log the report could not read, a file that could not be written).
class CheckDialogs : public RecordingDialogs {
public:
    std::function<void(const Message&)> onShow;
    void show(const Message& message) override {
        RecordingDialogs::show(message);
        if (onShow) {
            onShow(message);
        }
    }
};

// The report builder's side of the main window, with Timer1 wired to the check.
class CheckRetrieval : public HeadlessHost {
public:
    using HeadlessHost::HeadlessHost;
    void startResumeTimer() override {
        HeadlessHost::startResumeTimer();
        if (check) {
            check->startResumeTimer();
        }
    }
    UsageCheck* check = nullptr;
};

// A failed check's reason beside the user's last check, for the panel; the last check itself
// stays. Says on `err` when even that cannot be written.
void keepFailure(QIODevice& err, const QString& user, bool billed, const QString& reason) {
    if (user.trimmed().isEmpty()) {
        return;
    }
    QString why;
    if (!keepCheckFailure(programFolder(),
                          CheckFailure{user, billed, reason, QDateTime::currentDateTime()}, why)) {
        writeLine(err, kProgram + QStringLiteral(": the failure could not be kept: ") + why);
    }
}

}  // namespace

int checkExitStatus(GrabProblem problem) {
    switch (problem) {
        case GrabProblem::NoCredentials:
        case GrabProblem::LoginRefused:
            return kCredentials;
        case GrabProblem::Unreachable:
        case GrabProblem::PageTimeout:
            return kUnreachable;
        case GrabProblem::PortalChanged:
            return kPortal;
        case GrabProblem::DownloadFailed:
            return kDownload;
        case GrabProblem::Cancelled:
            break;
    }
    return kOther;
}

// One check: the grab's host without a window.
class CheckCommand::Run : public QObject, public GrabHost {
public:
    Run(CheckCommand& owner, CheckOptions options, std::unique_ptr<Browser> browser,
        std::chrono::milliseconds second, std::unique_ptr<DesktopNotifier> notifier)
        : m_owner(owner),
          m_options(std::move(options)),
          m_retrieval(programFolder()),
          m_notifier(std::move(notifier)),
          m_browser(std::move(browser)),
          m_check(m_state, *this, *m_browser, m_extraction, m_report) {
        m_retrieval.check = &m_check;
        m_dialogs.onShow = [this](const Message& message) {
            if (!m_delivering) {
                finish(kOther, oneLine(message.text));
            }
        };
        m_check.setSecond(second);
        // A page may take half the whole check's time, but never more than the grab's own
        // limit: a page that does not come is named before the whole check runs out.
        m_check.setPageLimit(std::min<std::chrono::milliseconds>(
            m_check.pageLimit(), std::chrono::milliseconds(m_options.timeout) / 2));
        m_state.unbilledSelected = !m_options.billed;
        m_overall.setSingleShot(true);
        m_overall.setInterval(m_options.timeout);
        connect(&m_overall, &QTimer::timeout, this, [this] {
            finish(kUnreachable, QStringLiteral("the check did not finish within %1 seconds")
                                     .arg(m_options.timeout.count()));
        });
    }

    ~Run() override { m_check.cancelGrab(); }

    void begin() {
        m_overall.start();
        m_check.checkUsage();
    }

    // --- GrabHost ---------------------------------------------------------------------------
    MainPage selectedMainPage() const override { return MainPage::LogIn; }
    QString userName() const override { return m_options.user; }
    QString password() const override { return m_options.password; }
    int selfcareSiteIndex() const override { return 0; }
    QString selfcareSiteText() const override { return m_options.host; }
    QString northHost() const override { return m_options.host; }
    QString westHost() const override { return m_options.host; }
    void focusSelfcareSite() override {}
    int cacheFileIndex() const override { return -1; }
    QString cacheFileText() const override { return {}; }
    void focusCacheFiles() override {}
    void selectLoginInfoPage() override {}
    void selectProcessingPage() override {}
    void setMessageCaption(const QString&) override {}
    void setMessageVisible(bool) override {}
    void blankReport() override {}
    void processPendingEvents() override {}
    QString folder() const override { return m_retrieval.folder(); }
    bool cacheEnabled() const override { return m_options.cache; }
    int planKind() const override { return m_options.planKind; }
    void cacheNotKept(const QString& text) override {
        for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
            writeLine(m_owner.m_err, kProgram + QStringLiteral(": not kept in the cache: ") + line);
        }
    }

    void grabProgress(GrabStep step) override {
        if (!m_options.verbose) {
            return;
        }
        QString text;
        switch (step) {
            case GrabStep::Connecting:
                text = u"connecting to " + m_options.host;
                break;
            case GrabStep::LoggingIn:
                text = u"logging in as " + m_options.user;
                break;
            case GrabStep::OpeningUsagePage:
                text = QStringLiteral("opening the usage page");
                break;
            case GrabStep::WaitingForDates:
                text = QStringLiteral("choosing the dates");
                break;
            case GrabStep::FetchingLog:
                text = QStringLiteral("fetching the usage log");
                break;
        }
        writeLine(m_owner.m_err, kProgram + u": " + text);
    }

    void grabStopped(const GrabStop& stop) override {
        QString line = oneLine(stop.message.text);
        if (!stop.detail.isEmpty()) {
            line += u" (" + stop.detail + u')';
        }
        finish(checkExitStatus(stop.problem), line);
    }

    QCoro::Task<bool> chooseDates(LiveDocument navigation) override {
        const std::vector<DatePick> picks = datePicks(m_options.from, m_options.to);
        for (const DatePick& pick : picks) {
            const LiveElement box = co_await navigation.requiredElement(pick.id);
            co_await box.setValue(pick.value);
            // A drop-down without that value keeps another: the portal does not offer it.
            if (co_await box.value() != pick.value) {
                throw Failure(QStringLiteral("the portal's usage page does not offer %1 in %2")
                                  .arg(pick.value, pick.id));
            }
        }
        co_await (co_await detailsLink(navigation)).click();
        co_return true;
    }

    QCoro::Task<> showOutput() override {
        m_report.writeOutput();
        deliver();
        co_return;
    }

private:
    // The usage page's "View Usage Details" link: by its id where the portal gives it one,
    // else by its text.
    static QCoro::Task<LiveElement> detailsLink(LiveDocument navigation) {
        const std::optional<LiveElement> byId =
            co_await navigation.elementById(QStringLiteral("aaab.BBUsageView.ViewUsageDetails"));
        if (byId) {
            co_return *byId;
        }
        const std::vector<LiveElement> links =
            co_await navigation.elementsByTagName(QStringLiteral("A"));
        for (const LiveElement& link : links) {
            if ((co_await link.innerText()).trimmed() == u"View Usage Details") {
                co_return link;
            }
        }
        throw Failure(QStringLiteral("the portal's usage page has no \"View Usage Details\" link"));
    }

    void deliver() {
        if (m_done) {
            return;
        }
        m_delivering = true;
        if (!m_dialogs.messages.empty()) {
            finish(kOther, oneLine(m_dialogs.texts().join(u' ')));
            return;
        }
        const ReportFigures& figures = m_report.figures();
        if (figures.records == 0) {
            finish(kPortal, QStringLiteral("the portal has no usage from %1 to %2")
                                .arg(m_options.from.toString(Qt::ISODate),
                                     m_options.to.toString(Qt::ISODate)));
            return;
        }
        const ReportOutputOptions& o = m_options.report;
        PricedMonth priced;
        try {
            priced = priceMonth(m_result, o);
        } catch (const Failure& failure) {
            finish(kOther, failure.description());
            return;
        }
        QString why;
        if (!o.csvPath.isEmpty() && !writeFileData(o.csvPath, m_result.listingText(), false, why)) {
            finish(kOther, why);
            return;
        }
        if (!o.outputPath.isEmpty() && !writeWholeFile(o.outputPath, m_result.pageBytes(), why)) {
            finish(kOther, why);
            return;
        }
        const QString log = inProgramFolder(m_retrieval.folder(), QStringLiteral("usage.htm"));
        const CheckFacts facts{m_options.host,
                               m_options.user,
                               m_options.from,
                               m_options.to,
                               m_options.billed,
                               log,
                               QDateTime::currentDateTime()};
        if (o.json) {
            QJsonObject root = summaryObject(m_state, figures, priced, o);
            root.insert(QStringLiteral("check"), checkJson(facts));
            m_owner.m_out.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
        } else {
            m_owner.m_out.write(summaryText(m_state, figures, priced, o).toUtf8());
        }
        why.clear();
        if (!keepLastCheck(m_retrieval.folder(), lastCheckDocument(priced, facts), log, why)) {
            finish(kOther, QStringLiteral("the last check could not be kept: ") + why);
            return;
        }
        if (m_options.alertPlan) {
            alertThenFinish(priced);
        } else {
            finish(kDone, QString());
        }
    }

    // The document kept for the panel: priced on the plan given, else on the plan chosen on
    // the Summary tab, so that the panel has the forecast whatever was printed.
    QJsonObject lastCheckDocument(const PricedMonth& printed, const CheckFacts& facts) const {
        std::optional<MonthSummary> summary = printed.summary;
        std::optional<Forecast> forecast = printed.forecast;
        if (!m_options.report.choice) {
            if (const std::optional<PlanChoice> stored = storedPlanChoice(SettingsStore())) {
                try {
                    summary = summarizeMonth(printed.inputs, *stored, m_options.report.today);
                    forecast =
                        forecastMonth(printed.inputs, *stored, m_result.outcome().dailyTotals,
                                      m_options.report.today);
                } catch (const Failure&) {
                    // A stored plan the month cannot be priced on: the month's figures alone.
                    summary.reset();
                    forecast.reset();
                }
            }
        }
        return checkDocument(m_state, m_report.figures(), summary, forecast, facts);
    }

    // --notify: the alert the month calls for, if any, then done.
    void alertThenFinish(const PricedMonth& priced) {
        m_overall.stop();
        try {
            const Forecast forecast =
                priced.forecast
                    ? *priced.forecast
                    : forecastMonth(priced.inputs, *m_options.alertPlan,
                                    m_result.outcome().dailyTotals, m_options.report.today);
            raiseAlert(forecast, m_options.user, *m_notifier,
                       [run = QPointer<Run>(this)](const QString& unshown) {
                           if (run) {
                               run->finish(kDone, unshown);
                           }
                       });
        } catch (const Failure& failure) {
            finish(kDone, u"no alert: " + failure.description());
        }
    }

    void finish(int status, const QString& line) {
        if (m_done) {
            return;
        }
        m_done = true;
        m_overall.stop();
        if (!line.isEmpty()) {
            writeLine(m_owner.m_err, kProgram + u": " + line);
        }
        if (status != kDone) {
            keepFailure(m_owner.m_err, m_options.user, m_options.billed, line);
        }
        m_check.cancelGrab();
        // From the event loop: the caller may be deep inside the grab.
        QMetaObject::invokeMethod(
            &m_owner,
            [owner = QPointer<CheckCommand>(&m_owner), status] {
                if (owner) {
                    Q_EMIT owner->finished(status);
                }
            },
            Qt::QueuedConnection);
    }

    CheckCommand& m_owner;
    CheckOptions m_options;
    CheckDialogs m_dialogs;
    ScopedDialogs m_seam{m_dialogs};
    RetrievalState m_state;
    CheckRetrieval m_retrieval;
    HeadlessResult m_result;
    std::unique_ptr<DesktopNotifier> m_notifier;
    ReportBuilder m_report{m_state, m_retrieval, m_result};
    UsageExtraction m_extraction{m_state, m_report};
    std::unique_ptr<Browser> m_browser;
    UsageCheck m_check;
    QTimer m_overall;
    bool m_done = false;
    bool m_delivering = false;
};

CheckCommand::CheckCommand(QIODevice& in, QIODevice& out, QIODevice& err,
                           CheckEnvironment environment)
    : m_in(in), m_out(out), m_err(err), m_environment(std::move(environment)) {}

CheckCommand::~CheckCommand() = default;

std::optional<int> CheckCommand::start(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Checks the month's usage on the ORVO portal without a window: logs in with the user id "
        "and password Kestrova remembers (or the ones given), picks the period on the portal's "
        "usage page, downloads the usage log into Kestrova's folder and prints the report's "
        "figures."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption hostOption(
        QStringLiteral("host"),
        QStringLiteral("The portal host (default: the portal chosen in Kestrova)."),
        QStringLiteral("HOST[:PORT]"));
    const QCommandLineOption userOption(
        QStringLiteral("user"), QStringLiteral("The user id (default: the one Kestrova keeps)."),
        QStringLiteral("ID"));
    const QCommandLineOption passwordStdin(
        QStringLiteral("password-stdin"),
        QStringLiteral("Read the password from the first line of standard input (default: the "
                       "password Kestrova remembers)."));
    const QCommandLineOption fromOption(
        QStringLiteral("from"),
        QStringLiteral("The first day of the period (default: the first of this month)."),
        QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption toOption(QStringLiteral("to"),
                                      QStringLiteral("The last day of the period (default: "
                                                     "today)."),
                                      QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption billedOption(
        QStringLiteral("billed"), QStringLiteral("Check billed usage instead of unbilled usage."));
    const QCommandLineOption timeoutOption(
        QStringLiteral("timeout"),
        QStringLiteral("Give up when the whole check takes longer (default: 120). No page of "
                       "the portal is waited for longer than half of it, or 60 seconds."),
        QStringLiteral("SECONDS"), QStringLiteral("120"));
    const QCommandLineOption cacheOption(
        QStringLiteral("cache"),
        QStringLiteral("Keep the records in the month's cache files, for reports without "
                       "logging in (default: as \"Enable Cache\" in Kestrova)."));
    const QCommandLineOption noCacheOption(QStringLiteral("no-cache"),
                                           QStringLiteral("Do not keep the records."));
    const QCommandLineOption verboseOption(
        QStringLiteral("verbose"), QStringLiteral("Say on standard error what the check does."));
    const QCommandLineOption notifyOption(
        QStringLiteral("notify"),
        QStringLiteral("After the check, a desktop notification when the quota used first "
                       "passes 80 % or 100 % in a month, or when the forecast first says the "
                       "allowance runs out before the month ends; each once a month per user "
                       "id. Priced on --plan (or the custom figures), else on the plan chosen "
                       "in Kestrova. Without a notification service the line goes to standard "
                       "error."));
    parser.addOptions({help, version, hostOption, userOption, passwordStdin, fromOption, toOption,
                       billedOption, cacheOption, noCacheOption, timeoutOption, verboseOption,
                       notifyOption});
    const ReportOutputOptionSet shared(
        QStringLiteral("the \"Plan type\" chosen in Kestrova, else 0"));
    shared.addTo(parser);

    const auto usage = [this](const QString& what) {
        writeLine(m_err, kProgram + u": " + what);
        writeLine(m_err, QStringLiteral("Try '%1 --help'.").arg(kProgram));
        return kUsage;
    };
    if (!parser.parse(QStringList{kProgram} + arguments)) {
        return usage(parser.errorText());
    }
    if (parser.isSet(help)) {
        m_out.write(helpText(parser, kProgram).toUtf8());
        return kDone;
    }
    if (parser.isSet(version)) {
        writeLine(m_out, kProgram + u' ' + QStringLiteral(KESTROVA_VERSION));
        return kDone;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return usage(QStringLiteral("unexpected argument \"%1\"")
                         .arg(parser.positionalArguments().constFirst()));
    }

    CheckOptions options;
    try {
        options.report = shared.read(parser);
    } catch (const Failure& failure) {
        return usage(failure.description());
    }
    const auto date = [&](const QCommandLineOption& option, QDate fallback, QDate& into) -> bool {
        if (!parser.isSet(option)) {
            into = fallback;
            return true;
        }
        into = QDate::fromString(parser.value(option), u"yyyy-MM-dd");
        return into.isValid();
    };
    const QDate today = options.report.today;
    if (!date(fromOption, QDate(today.year(), today.month(), 1), options.from)) {
        return usage(QStringLiteral("--from takes a date as YYYY-MM-DD"));
    }
    if (!date(toOption, today, options.to)) {
        return usage(QStringLiteral("--to takes a date as YYYY-MM-DD"));
    }
    if (options.from > options.to) {
        return usage(QStringLiteral("--from is after --to"));
    }
    bool ok = false;
    const int seconds = parser.value(timeoutOption).toInt(&ok);
    if (!ok || seconds < 1 || seconds > 86400) {
        return usage(QStringLiteral("--timeout takes a whole number of seconds from 1 to 86400"));
    }
    options.timeout = std::chrono::seconds(seconds);
    options.billed = parser.isSet(billedOption);
    options.verbose = parser.isSet(verboseOption);
    if (parser.isSet(cacheOption) && parser.isSet(noCacheOption)) {
        return usage(QStringLiteral("--cache and --no-cache exclude each other"));
    }

    // The rest from the subscriber's own settings, as the main window keeps them.
    const LoadedSettings stored = loadMainSettings(SettingsStore(), MainSettings{});
    options.cache =
        parser.isSet(cacheOption) || (!parser.isSet(noCacheOption) && stored.values.cachingEnabled);
    options.planKind = options.report.planKind ? planKindNumber(*options.report.planKind)
                                               : std::max(0, stored.values.planType);
    if (parser.isSet(notifyOption)) {
        std::vector<SettingProblem> problems;
        options.alertPlan = options.report.choice ? options.report.choice
                                                  : storedPlanChoice(SettingsStore(), &problems);
        for (const QString& line : describeProblems(problems).split(u'\n', Qt::SkipEmptyParts)) {
            writeLine(m_err, kProgram + u": " + line);
        }
        if (!options.alertPlan) {
            return usage(
                QStringLiteral("--notify needs a plan: give --plan (or the custom "
                               "figures), or choose a plan in Kestrova"));
        }
    }
    if (parser.isSet(hostOption)) {
        options.host = parser.value(hostOption).trimmed();
    } else {
        const Deployment deployment = Deployment::load();
        if (stored.values.selfcaresite == 0) {
            options.host = deployment.northHost;
        } else if (stored.values.selfcaresite == 1) {
            options.host = deployment.westHost;
        }
    }
    if (options.host.isEmpty()) {
        return usage(
            QStringLiteral("no portal host: give --host, or choose the portal in "
                           "Kestrova"));
    }
    options.user = parser.isSet(userOption) ? parser.value(userOption) : stored.values.userNameEdit;
    if (options.user.trimmed().isEmpty()) {
        writeLine(m_err, kProgram + QStringLiteral(": no user id: give --user, or type it in "
                                                   "Kestrova once"));
        return kCredentials;
    }
    if (parser.isSet(passwordStdin)) {
        QByteArray line = m_in.readLine();
        while (line.endsWith('\n') || line.endsWith('\r')) {
            line.chop(1);
        }
        options.password = QString::fromUtf8(line);
        if (options.password.isEmpty()) {
            const QString why = QStringLiteral(
                "no password: the first line of standard input "
                "is empty");
            writeLine(m_err, kProgram + u": " + why);
            keepFailure(m_err, options.user, options.billed, why);
            return kCredentials;
        }
    } else if (!stored.values.passwordEdit.isEmpty()) {
        // Kept the old way in the settings file (Kestrova moves it into the keyring when it
        // next starts).
        options.password = stored.values.passwordEdit;
    } else {
        // The one Kestrova remembers, from the desktop keyring.
        startWithRememberedPassword(std::move(options));
        return std::nullopt;
    }
    begin(std::move(options));
    return std::nullopt;
}

void CheckCommand::begin(CheckOptions options) {
    std::unique_ptr<Browser> browser =
        m_environment.browser ? m_environment.browser() : std::make_unique<LiveBrowser>();
    std::unique_ptr<DesktopNotifier> notifier;
    if (options.alertPlan) {
        notifier = m_environment.notifier ? m_environment.notifier()
                                          : std::make_unique<FreedesktopNotifier>();
    }
    m_run = std::make_unique<Run>(*this, std::move(options), std::move(browser),
                                  m_environment.second, std::move(notifier));
    m_run->begin();
}

QCoro::Task<> CheckCommand::startWithRememberedPassword(CheckOptions options) {
    const QPointer<CheckCommand> self(this);
    std::unique_ptr<PasswordStore> store = m_environment.passwordStore
                                               ? m_environment.passwordStore()
                                               : std::make_unique<KeyringPasswordStore>();
    const SecretAnswer answer = co_await store->read(options.user);
    if (!self) {
        co_return;
    }
    if (answer.done() && !answer.password.isEmpty()) {
        options.password = answer.password;
        begin(std::move(options));
        co_return;
    }
    const QString why =
        answer.outcome == SecretAnswer::Outcome::Unavailable
            ? QStringLiteral("the desktop keyring cannot be reached (%1)").arg(answer.reason)
            : QStringLiteral("Kestrova remembers none for %1").arg(options.user);
    const QString line = QStringLiteral(
                             "no password: %1; give it on standard input with "
                             "--password-stdin, or tick \"Remember password\" in "
                             "Kestrova")
                             .arg(why);
    writeLine(m_err, kProgram + u": " + line);
    keepFailure(m_err, options.user, options.billed, line);
    QMetaObject::invokeMethod(
        this, [this] { Q_EMIT finished(kCredentials); }, Qt::QueuedConnection);
}

}  // namespace kestrova
