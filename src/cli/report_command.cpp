#include "cli/report_command.h"

#include "platform/dialogs.h"
#include "platform/failure.h"
#include "platform/number_format.h"
#include "retrieval/cache_file.h"
#include "retrieval/headless.h"
#include "retrieval/report_page.h"
#include "retrieval/usage_log.h"
#include "results/report_export.h"
#include "results/summary_report.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFileInfo>
#include <QSaveFile>

namespace kestrova {

namespace {

const QString kProgram = QStringLiteral("kestrova-report");

void writeLine(QIODevice& device, const QString& line) { device.write((line + u'\n').toUtf8()); }

// One line naming the file and what is wrong, as a command-line tool reports bad input.
int fail(QIODevice& err, const QString& file, const QString& what) {
    writeLine(err, kProgram + u": " + file + u": " + what);
    return 1;
}

QJsonObject monthJson(const RetrievalState& state, const ReportFigures& figures) {
    const double mb = double(figures.monthSumMB);
    return QJsonObject{{QStringLiteral("period"), state.mstrMonthYear},
                       {QStringLiteral("records"), figures.records},
                       {QStringLiteral("monthMB"), mb},
                       {QStringLiteral("monthGB"), mb / 1024.0},
                       {QStringLiteral("days"), figures.days},
                       {QStringLiteral("averagePerDay"), figures.averageCaption}};
}

// A plan choice from the options, nullopt when none was asked for; throws Failure (a usage
// error) for a contradictory or malformed one.
std::optional<PlanChoice> planChoice(const QCommandLineParser& parser,
                                     const QCommandLineOption& plan,
                                     const QCommandLineOption& charge,
                                     const QCommandLineOption& allowance,
                                     const QCommandLineOption& rate) {
    const bool custom = parser.isSet(charge) || parser.isSet(allowance) || parser.isSet(rate);
    std::optional<int> slot;
    if (parser.isSet(plan)) {
        bool ok = false;
        const int n = parser.value(plan).toInt(&ok);
        if (!ok || n < 0 || n > kCustomPlanSlot) {
            throw Failure(QStringLiteral("--plan takes a slot from 0 to %1").arg(kCustomPlanSlot));
        }
        slot = n;
    }
    if (!custom) {
        return slot ? std::optional(PlanChoice::catalogue(*slot)) : std::nullopt;
    }
    if (slot && *slot != kCustomPlanSlot) {
        throw Failure(QStringLiteral("custom plan figures go with --plan %1 or no --plan")
                          .arg(kCustomPlanSlot));
    }
    CustomPlanFigures figures;
    auto number = [&parser](const QCommandLineOption& option, double& into) {
        if (!parser.isSet(option)) {
            return;
        }
        const std::optional<Decimal> d = parseDecimalText(parser.value(option));
        if (!d) {
            throw Failure(QStringLiteral("--%1 takes a number").arg(option.names().constFirst()));
        }
        into = d->toDouble();
    };
    number(charge, figures.planCharge);
    number(allowance, figures.allowanceMB);
    number(rate, figures.rsPerMB);
    return PlanChoice::customPlan(figures);
}

QString summaryText(const RetrievalState& state, const ReportFigures& figures) {
    const double mb = double(figures.monthSumMB);
    QString s;
    s += u"Period: " + state.mstrMonthYear + u'\n';
    s += u"Records: " + QString::number(figures.records) + u'\n';
    s += u"Month total: " + formatNumber(mb, 3) + u" MB (" + formatNumber(mb / 1024.0, 3) +
         u" GB)\n";
    s += u"Days: " + QString::number(figures.days) + u'\n';
    s += u"Average per day: " +
         (figures.averageCaption.isEmpty() ? QStringLiteral("-")
                                           : figures.averageCaption + QStringLiteral(" MB")) +
         u'\n';
    return s;
}

}  // namespace

int runReportCommand(const QStringList& arguments, QIODevice& out, QIODevice& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Turns a usage log downloaded from the ORVO portal, or a Kestrova cache file, into the "
        "usage report page."));
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The usage log, or a .cache2 cache file."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption output(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("Write the report page to PATH (default: standard output)."),
        QStringLiteral("PATH"));
    const QCommandLineOption summary(
        QStringLiteral("summary"),
        QStringLiteral("Print the month summary on standard output instead of standard error; "
                       "the page is then written only with --output."));
    const QCommandLineOption period(QStringLiteral("period"),
                                    QStringLiteral("The report's period (default: from the log's "
                                                   "first and last dates, or the cache file's "
                                                   "name)."),
                                    QStringLiteral("TEXT"));
    const QCommandLineOption asLog(QStringLiteral("log"),
                                   QStringLiteral("FILE is a usage log, whatever its name."));
    const QCommandLineOption asCache(QStringLiteral("cache"),
                                     QStringLiteral("FILE is a cache file, whatever its name "
                                                    "(default: names ending in .cache2)."));
    const QCommandLineOption cacheOut(
        QStringLiteral("cache-out"),
        QStringLiteral("Also keep the records in a cache file at PATH, as the program does."),
        QStringLiteral("PATH"));
    const QCommandLineOption plan(
        QStringLiteral("plan"),
        QStringLiteral("Price the month against catalogue plan N (0 to 29, as listed by "
                       "--compare-plans; 29 is the custom plan)."),
        QStringLiteral("N"));
    const QCommandLineOption planCharge(QStringLiteral("plan-charge"),
                                        QStringLiteral("Custom plan: the monthly charge."),
                                        QStringLiteral("RS"));
    const QCommandLineOption allowance(QStringLiteral("allowance"),
                                       QStringLiteral("Custom plan: the free allowance in MB."),
                                       QStringLiteral("MB"));
    const QCommandLineOption rate(QStringLiteral("rate"),
                                  QStringLiteral("Custom plan: rupees per MB beyond the "
                                                 "allowance."),
                                  QStringLiteral("RS"));
    const QCommandLineOption today(QStringLiteral("today"),
                                   QStringLiteral("The date to count as today (default: the "
                                                  "real date)."),
                                   QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption csv(QStringLiteral("csv"),
                                 QStringLiteral("Also export the usage listing as "
                                                "comma-separated values to PATH."),
                                 QStringLiteral("PATH"));
    const QCommandLineOption compare(QStringLiteral("compare-plans"),
                                     QStringLiteral("Price the month against every catalogue "
                                                    "plan, cheapest first."));
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("The summary as text (default) or json."),
                                    QStringLiteral("text|json"), QStringLiteral("text"));
    parser.addOptions({help, version, output, summary, period, asLog, asCache, cacheOut, plan,
                       planCharge, allowance, rate, today, csv, compare, format});

    if (!parser.parse(QStringList{kProgram} + arguments)) {
        writeLine(err, kProgram + u": " + parser.errorText());
        writeLine(err, QStringLiteral("Try '%1 --help'.").arg(kProgram));
        return 2;
    }
    if (parser.isSet(help)) {
        out.write(parser.helpText().replace(QStringLiteral("report_tests"), kProgram).toUtf8());
        return 0;
    }
    if (parser.isSet(version)) {
        writeLine(out, kProgram + u' ' + QStringLiteral(KESTROVA_VERSION));
        return 0;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1 || (parser.isSet(asLog) && parser.isSet(asCache))) {
        writeLine(err, kProgram + (files.size() != 1
                                       ? QStringLiteral(": give exactly one FILE")
                                       : QStringLiteral(": --log and --cache exclude each other")));
        writeLine(err, QStringLiteral("Try '%1 --help'.").arg(kProgram));
        return 2;
    }
    std::optional<PlanChoice> choice;
    QDate todayDate = QDate::currentDate();
    try {
        choice = planChoice(parser, plan, planCharge, allowance, rate);
        if (parser.isSet(today)) {
            todayDate = QDate::fromString(parser.value(today), u"yyyy-MM-dd");
            if (!todayDate.isValid()) {
                throw Failure(QStringLiteral("--today takes a date as YYYY-MM-DD"));
            }
        }
        if (parser.value(format) != u"text" && parser.value(format) != u"json") {
            throw Failure(QStringLiteral("--format is text or json"));
        }
    } catch (const Failure& failure) {
        writeLine(err, kProgram + u": " + failure.description());
        writeLine(err, QStringLiteral("Try '%1 --help'.").arg(kProgram));
        return 2;
    }
    const bool json = parser.value(format) == u"json";
    const QString file = files.front();
    const QFileInfo info(file);
    if (!info.exists()) {
        return fail(err, file, QStringLiteral("no such file"));
    }
    if (!info.isFile()) {
        return fail(err, file, QStringLiteral("not a file"));
    }
    const bool isCache = parser.isSet(asCache) ||
                         (!parser.isSet(asLog) && file.endsWith(kCacheExtension));

    RecordingDialogs messages;
    ScopedDialogs seam(messages);
    RetrievalState state;
    HeadlessHost host;
    HeadlessResult result;
    // The page is written out as it is: only the CSV export walks a document.
    result.markupOnly = !parser.isSet(csv);
    ReportBuilder report(state, host, result);
    UsageExtraction extraction(state, host, report);

    try {
        QString text = ReadFileData(file, isCache);
        if (isCache) {
            state.mstrRecords = std::move(text);
            state.mstrMonthYear =
                cacheItemPeriod(info.fileName().endsWith(kCacheExtension)
                                    ? info.fileName().chopped(kCacheExtension.size())
                                    : info.completeBaseName());
        } else {
            UsageLogRecords log = readUsageLogRecords(text);
            text = QString();
            if (log.badLine != 0) {
                return fail(err, file,
                            QStringLiteral("Error retrieving data from site (line %1 has fewer "
                                           "than six fields)")
                                .arg(log.badLine));
            }
            extraction.addRecordsInFront(std::move(log.records));
            if (!log.earliest.isEmpty()) {
                state.mstrMonthYear = downloadPeriodText(log.earliest, log.latest);
            }
        }
    } catch (const Failure& failure) {
        return fail(err, file, failure.description());
    }
    if (parser.isSet(period)) {
        state.mstrMonthYear = parser.value(period);
    }
    if (parser.isSet(cacheOut) && !SaveFileData(parser.value(cacheOut), state.mstrRecords, true)) {
        return fail(err, parser.value(cacheOut), messages.texts().join(u' '));
    }

    report.GrabbingFinished();
    report.WriteOutput();
    if (!messages.messages.empty()) {
        return fail(err, file, messages.texts().join(u' '));
    }
    if (isCache && report.figures().records == 0) {
        return fail(err, file,
                    QStringLiteral("holds no usage records (not a cache file, or damaged)"));
    }

    // The bill and the plan comparison, from the same figures the result window shows.
    const SummaryInputs inputs{result.mlngTotalUsage, result.mlngChargedUsage,
                               result.mdtLastUsedDate, result.mlngLastDayUsage};
    std::optional<MonthSummary> priced;
    std::vector<PlanCost> ranking;
    try {
        if (choice) {
            priced = summarizeMonth(inputs, *choice, todayDate);
        }
        if (parser.isSet(compare)) {
            ranking = comparePlans(inputs, choice ? choice->custom : std::nullopt, todayDate);
        }
        if (parser.isSet(csv) && !SaveFileData(parser.value(csv), exportText(result.report),
                                               false)) {
            return fail(err, parser.value(csv), messages.texts().join(u' '));
        }
    } catch (const Failure& failure) {
        return fail(err, file, failure.description());
    }

    const QString page = result.pageMarkup();
    if (parser.isSet(output)) {
        QSaveFile saved(parser.value(output));
        if (!saved.open(QIODevice::WriteOnly) || !writeFileBytes(saved, page) ||
            !saved.commit()) {
            return fail(err, parser.value(output), saved.errorString());
        }
        writeLine(err, QStringLiteral("Report written to %1")
                           .arg(QFileInfo(parser.value(output)).absoluteFilePath()));
    } else if (!parser.isSet(summary)) {
        writeFileBytes(out, page);
    }
    QIODevice& summaryStream = parser.isSet(summary) ? out : err;
    if (json) {
        QJsonObject root{{QStringLiteral("month"), monthJson(state, report.figures())}};
        if (priced) {
            root.insert(QStringLiteral("summary"), summaryJson(*priced).object());
        }
        if (parser.isSet(compare)) {
            root.insert(QStringLiteral("comparison"),
                        comparisonJson(inputs, todayDate, ranking).object());
        }
        summaryStream.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
        return 0;
    }
    QString text = summaryText(state, report.figures());
    if (priced) {
        text += u'\n' + priced->lines.join(u'\n') + u'\n';
    }
    if (parser.isSet(compare)) {
        text += u"\nPlans ranked by total + tax:\n" + comparisonLines(ranking).join(u'\n') + u'\n';
    }
    summaryStream.write(text.toUtf8());
    return 0;
}

}  // namespace kestrova
