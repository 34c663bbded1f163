// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/report_command.h"

#include "cli/report_output.h"

#include "platform/dialogs.h"
#include "platform/failure.h"
#include "platform/program_folder.h"
#include "platform/settings_store.h"
#include "results/history.h"
#include "retrieval/cache_file.h"
#include "retrieval/headless.h"
#include "retrieval/report_page.h"
#include "retrieval/usage_log.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QJsonDocument>
#include <optional>

namespace kestrova {

namespace {

const QString kProgram = QStringLiteral("kestrova-report");

void writeLine(QIODevice& device, const QString& line) {
    device.write((line + u'\n').toUtf8());
}

// One line naming the file and what is wrong, as a command-line tool reports bad input.
int fail(QIODevice& err, const QString& file, const QString& what) {
    writeLine(err, kProgram + u": " + file + u": " + what);
    return 1;
}

// What the command line asks for, parsed and checked.
struct ReportRequest {
    // --history: the cached months side by side instead of one report; `file` is then the
    // folder (empty: Kestrova's own).
    bool history = false;
    QString file;
    QString user;
    bool isCache = false;
    std::optional<QString> period;
    std::optional<QString> cacheOut;
    // --summary: the summary on standard output, the page only with --output.
    bool summaryOnly = false;
    ReportOutputOptions options;
};

// A usage error, and the way to the help.
int usageError(QIODevice& err, const QString& what) {
    writeLine(err, kProgram + u": " + what);
    writeLine(err, QStringLiteral("Try '%1 --help'.").arg(kProgram));
    return 2;
}

// Parses and checks `arguments` into `request`. Returns the exit status when there is nothing
// more to do: help or version shown (0), or a usage error written (2).
std::optional<int> parseReportCommand(const QStringList& arguments, ReportRequest& request,
                                      QIODevice& out, QIODevice& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Turns a usage log downloaded from the ORVO portal, or a Kestrova cache file, into the "
        "usage report page (written to standard output unless --output or --summary is given)."));
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("The usage log, or a .cache2 cache file; with --history, the folder of "
                       "the cache files (default: Kestrova's folder)."),
        QStringLiteral("FILE | --history [FOLDER]"));
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
                       "or on the one chosen in Kestrova's Summary tab, each month billed as "
                       "the Summary bills it under the plan type given."));
    const QCommandLineOption user(QStringLiteral("user"),
                                  QStringLiteral("With --history: only this user id's months."),
                                  QStringLiteral("ID"));
    parser.addOptions({help, version, summary, period, asLog, asCache, cacheOut, history, user});
    const ReportOutputOptionSet shared(QStringLiteral("0"));
    shared.addTo(parser);

    if (!parser.parse(QStringList{kProgram} + arguments)) {
        return usageError(err, parser.errorText());
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
    request.history = parser.isSet(history);
    if (request.history) {
        if (files.size() > 1) {
            return usageError(err, QStringLiteral("--history takes at most one FOLDER"));
        }
    } else if (files.size() != 1) {
        return usageError(err, QStringLiteral("give exactly one FILE"));
    } else if (parser.isSet(asLog) && parser.isSet(asCache)) {
        return usageError(err, QStringLiteral("--log and --cache exclude each other"));
    }
    try {
        request.options = shared.read(parser);
    } catch (const Failure& failure) {
        return usageError(err, failure.description());
    }
    request.file = files.isEmpty() ? QString() : files.front();
    request.user = parser.value(user);
    request.isCache =
        parser.isSet(asCache) || (!parser.isSet(asLog) && request.file.endsWith(kCacheExtension));
    if (parser.isSet(period)) {
        request.period = parser.value(period);
    }
    if (parser.isSet(cacheOut)) {
        request.cacheOut = parser.value(cacheOut);
    }
    request.summaryOnly = parser.isSet(summary);
    return std::nullopt;
}

// The cached months side by side, as the "Use Cache Data" page shows them.
int runHistory(const ReportRequest& request, QIODevice& out, QIODevice& err) {
    const QString folder = request.file.isEmpty() ? programFolder() : request.file;
    if (!QFileInfo(folder).isDir()) {
        return fail(err, folder, QStringLiteral("no such folder"));
    }
    const ReportOutputOptions& options = request.options;
    std::vector<SettingProblem> problems;
    const std::optional<PlanChoice> chosen =
        options.choice ? options.choice : storedPlanChoice(SettingsStore(), &problems);
    for (const QString& line : describeProblems(problems).split(u'\n', Qt::SkipEmptyParts)) {
        writeLine(err, kProgram + u": " + line);
    }
    History months;
    try {
        months = buildHistory(folder, request.user, chosen, options.today,
                              options.planKind.value_or(PlanKind::Limited));
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

// A log file's first line as text, to tell a log from anything else.
QString firstLineText(const QByteArray& bytes) {
    const bool utf8 = startsWithByteOrderMark(bytes);
    const qsizetype from = utf8 ? kByteOrderMarkSize : 0;
    const qsizetype end = bytes.indexOf('\n', from);
    return textOfFilePiece(
        QByteArrayView(bytes).sliced(from, (end < 0 ? bytes.size() : end) - from), utf8);
}

// Reads the request's file into the state: a cache file's records as they are, a usage log's
// through the extraction. False when it could not be read (the error is written).
bool loadRecords(const ReportRequest& request, RetrievalState& state, UsageExtraction& extraction,
                 QIODevice& err) {
    const QString& file = request.file;
    try {
        if (request.isCache) {
            const QFileInfo info(file);
            state.records = readCacheRecords(file);
            state.monthYear = cacheItemPeriod(info.fileName().endsWith(kCacheExtension)
                                                  ? info.fileName().chopped(kCacheExtension.size())
                                                  : info.completeBaseName());
        } else {
            QByteArray bytes = readFileBytes(file, false);
            UsageLogRecords log = readUsageLogFile(bytes);
            // Nothing but a first line that is no header (an empty file, a page, zeros) is no
            // month without usage.
            if (log.count == 0 && log.badLine == 0 && !looksLikeUsageLog(firstLineText(bytes))) {
                fail(err, file, QStringLiteral("not a usage log (no header line of six fields)"));
                return false;
            }
            bytes = QByteArray();
            if (log.badLine != 0) {
                fail(err, file,
                     QStringLiteral("Error retrieving data from site (%1)").arg(log.problem));
                return false;
            }
            extraction.addRecordsInFront(log.records);
            if (!log.earliest.isEmpty()) {
                state.monthYear = downloadPeriodText(log.earliest, log.latest);
            }
        }
    } catch (const Failure& failure) {
        fail(err, file, failure.description());
        return false;
    }
    return true;
}

// The page to --output (saying where on standard error) or to standard output, unless only
// the summary is asked for. False when the output file could not be written.
bool writePage(const ReportRequest& request, const HeadlessResult& result, QIODevice& out,
               QIODevice& err) {
    const QString& path = request.options.outputPath;
    if (!path.isEmpty()) {
        QString why;
        if (!replaceFile(
                path, [&result](QIODevice& device) { return result.writePage(device); }, why)) {
            writeLine(err, kProgram + u": " + why);
            return false;
        }
        writeLine(err,
                  QStringLiteral("Report written to %1").arg(QFileInfo(path).absoluteFilePath()));
    } else if (!request.summaryOnly) {
        result.writePage(out);
    }
    return true;
}

// One month's report page, bill and summary.
int runReport(const ReportRequest& request, QIODevice& out, QIODevice& err) {
    const QString& file = request.file;
    const ReportOutputOptions& options = request.options;
    const QFileInfo info(file);
    if (!info.exists()) {
        return fail(err, file, QStringLiteral("no such file"));
    }
    if (!info.isFile()) {
        return fail(err, file, QStringLiteral("not a file"));
    }

    RecordingDialogs messages;
    ScopedDialogs seam(messages);
    RetrievalState state;
    HeadlessHost host;
    HeadlessResult result;
    // Written from the records straight to its file when the rest has gone well: a month of a
    // million rows is then never held whole a second time.
    result.streamPage = true;
    state.planKind = options.planKind.value_or(PlanKind::Limited);
    ReportBuilder report(state, host, result);
    UsageExtraction extraction(state, report);

    if (!loadRecords(request, state, extraction, err)) {
        return 1;
    }
    if (request.period) {
        state.monthYear = *request.period;
    }
    QString why;
    if (request.cacheOut && !writeCacheRecords(*request.cacheOut, state.records, why)) {
        writeLine(err, kProgram + u": " + why);
        return 1;
    }

    report.grabbingFinished();
    report.writeOutput();
    if (!messages.messages.empty()) {
        return fail(err, file, messages.texts().join(u' '));
    }
    if (request.isCache && report.figures().records == 0) {
        return fail(err, file,
                    QStringLiteral("holds no usage records (not a cache file, or damaged)"));
    }

    // The bill and the plan comparison, from the same figures the result window shows.
    PricedMonth priced;
    try {
        priced = priceMonth(result, options);
        if (!options.csvPath.isEmpty() &&
            !writeFileData(options.csvPath, result.listingText(), false, why)) {
            writeLine(err, kProgram + u": " + why);
            return 1;
        }
    } catch (const Failure& failure) {
        return fail(err, file, failure.description());
    }

    if (!writePage(request, result, out, err)) {
        return 1;
    }
    QIODevice& summaryStream = request.summaryOnly ? out : err;
    if (options.json) {
        summaryStream.write(QJsonDocument(summaryObject(state, report.figures(), priced, options))
                                .toJson(QJsonDocument::Indented));
    } else {
        summaryStream.write(summaryText(state, report.figures(), priced, options).toUtf8());
    }
    return 0;
}

}  // namespace

int runReportCommand(const QStringList& arguments, QIODevice& out, QIODevice& err) {
    ReportRequest request;
    if (const std::optional<int> status = parseReportCommand(arguments, request, out, err)) {
        return *status;
    }
    return request.history ? runHistory(request, out, err) : runReport(request, out, err);
}

}  // namespace kestrova
