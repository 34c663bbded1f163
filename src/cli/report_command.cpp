#include "cli/report_command.h"

#include "cli/report_output.h"

#include "platform/dialogs.h"
#include "platform/failure.h"
#include "platform/program_folder.h"
#include "platform/settings_store.h"
#include "retrieval/cache_file.h"
#include "retrieval/headless.h"
#include "retrieval/report_page.h"
#include "retrieval/usage_log.h"
#include "results/history.h"
#include "results/report_export.h"

#include <QCommandLineParser>
#include <QJsonDocument>
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

// The cached months side by side, as the "Use Cache Data" page shows them.
int runHistory(const QCommandLineParser& parser, const ReportOutputOptionSet& shared,
               QString folder, const QString& user, QIODevice& out, QIODevice& err) {
    ReportOutputOptions options;
    try {
        options = shared.read(parser);
    } catch (const Failure& failure) {
        writeLine(err, kProgram + u": " + failure.description());
        writeLine(err, QStringLiteral("Try '%1 --help'.").arg(kProgram));
        return 2;
    }
    if (folder.isEmpty()) {
        folder = programFolder();
    }
    if (!QFileInfo(folder).isDir()) {
        return fail(err, folder, QStringLiteral("no such folder"));
    }
    const std::optional<PlanChoice> chosen =
        options.choice ? options.choice : storedPlanChoice(SettingsStore());
    History months;
    try {
        months = buildHistory(folder, user, chosen, options.today);
    } catch (const Failure& failure) {
        return fail(err, folder, failure.description());
    }
    if (options.json) {
        out.write(QJsonDocument(historyJson(months)).toJson(QJsonDocument::Indented));
    } else {
        out.write(historyText(months).toUtf8());
    }
    return 0;
}

}  // namespace

int runReportCommand(const QStringList& arguments, QIODevice& out, QIODevice& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Turns a usage log downloaded from the ORVO portal, or a Kestrova cache file, into the "
        "usage report page (written to standard output unless --output or --summary is given)."));
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The usage log, or a .cache2 cache file."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
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
    const QCommandLineOption history(
        QStringLiteral("history"),
        QStringLiteral("Instead of one report: the cached months side by side, from the cache "
                       "files of FOLDER (default: Kestrova's folder), priced on the plan given, "
                       "or on the one chosen in Kestrova's Summary tab."));
    const QCommandLineOption user(QStringLiteral("user"),
                                  QStringLiteral("With --history: only this user id's months."),
                                  QStringLiteral("ID"));
    parser.addOptions({help, version, summary, period, asLog, asCache, cacheOut, history, user});
    const ReportOutputOptionSet shared;
    shared.addTo(parser);

    if (!parser.parse(QStringList{kProgram} + arguments)) {
        writeLine(err, kProgram + u": " + parser.errorText());
        writeLine(err, QStringLiteral("Try '%1 --help'.").arg(kProgram));
        return 2;
    }
    if (parser.isSet(help)) {
        out.write(helpText(parser, kProgram).toUtf8());
        return 0;
    }
    if (parser.isSet(version)) {
        writeLine(out, kProgram + u' ' + QStringLiteral(KESTROVA_VERSION));
        return 0;
    }
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(history)) {
        if (files.size() > 1) {
            writeLine(err, kProgram + QStringLiteral(": --history takes at most one FOLDER"));
            writeLine(err, QStringLiteral("Try '%1 --help'.").arg(kProgram));
            return 2;
        }
        return runHistory(parser, shared, files.isEmpty() ? QString() : files.front(),
                          parser.value(user), out, err);
    }
    if (files.size() != 1 || (parser.isSet(asLog) && parser.isSet(asCache))) {
        writeLine(err, kProgram + (files.size() != 1
                                       ? QStringLiteral(": give exactly one FILE")
                                       : QStringLiteral(": --log and --cache exclude each other")));
        writeLine(err, QStringLiteral("Try '%1 --help'.").arg(kProgram));
        return 2;
    }
    ReportOutputOptions options;
    try {
        options = shared.read(parser);
    } catch (const Failure& failure) {
        writeLine(err, kProgram + u": " + failure.description());
        writeLine(err, QStringLiteral("Try '%1 --help'.").arg(kProgram));
        return 2;
    }
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
    result.markupOnly = options.csvPath.isEmpty();
    state.planKind = options.planKind.value_or(kLimitedPlan);
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
    PricedMonth priced;
    try {
        priced = priceMonth(result, options);
        if (!options.csvPath.isEmpty() &&
            !SaveFileData(options.csvPath, exportText(result.report), false)) {
            return fail(err, options.csvPath, messages.texts().join(u' '));
        }
    } catch (const Failure& failure) {
        return fail(err, file, failure.description());
    }

    const QString page = result.pageMarkup();
    if (!options.outputPath.isEmpty()) {
        QSaveFile saved(options.outputPath);
        if (!saved.open(QIODevice::WriteOnly) || !writeFileBytes(saved, page) ||
            !saved.commit()) {
            return fail(err, options.outputPath, saved.errorString());
        }
        writeLine(err, QStringLiteral("Report written to %1")
                           .arg(QFileInfo(options.outputPath).absoluteFilePath()));
    } else if (!parser.isSet(summary)) {
        writeFileBytes(out, page);
    }
    QIODevice& summaryStream = parser.isSet(summary) ? out : err;
    if (options.json) {
        summaryStream.write(QJsonDocument(summaryObject(state, report.figures(), priced, options))
                                .toJson(QJsonDocument::Indented));
    } else {
        summaryStream.write(summaryText(state, report.figures(), priced, options).toUtf8());
    }
    return 0;
}

}  // namespace kestrova
