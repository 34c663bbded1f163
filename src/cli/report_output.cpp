// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/report_output.h"

#include "platform/failure.h"
#include "platform/number_format.h"
#include "results/check_document.h"
#include "retrieval/cache_file.h"
#include "retrieval/headless.h"
#include "retrieval/retrieval_state.h"

#include <QCommandLineParser>

namespace kestrova {

ReportOutputOptionSet::ReportOutputOptionSet(const QString& planKindDefault)
    : m_output({QStringLiteral("o"), QStringLiteral("output")},
               QStringLiteral("Write the report page to PATH."), QStringLiteral("PATH")),
      m_plan(QStringLiteral("plan"),
             QStringLiteral("Price the month against catalogue plan N (0 to 29, as listed by "
                            "--compare-plans; 29 is the custom plan). The summary then also "
                            "gives the forecast for the month's end at the pace so far: the "
                            "usage, the day the allowance runs out, the bill and the cheapest "
                            "plan."),
             QStringLiteral("N")),
      m_planCharge(QStringLiteral("plan-charge"),
                   QStringLiteral("Custom plan: the monthly charge."), QStringLiteral("RS")),
      m_allowance(QStringLiteral("allowance"),
                  QStringLiteral("Custom plan: the free allowance in MB."), QStringLiteral("MB")),
      m_rate(QStringLiteral("rate"),
             QStringLiteral("Custom plan: rupees per MB beyond the "
                            "allowance."),
             QStringLiteral("RS")),
      m_today(QStringLiteral("today"),
              QStringLiteral("The date to count as today (default: the real date)."),
              QStringLiteral("YYYY-MM-DD")),
      m_csv(QStringLiteral("csv"),
            QStringLiteral("Also export the usage listing as comma-separated values to PATH."),
            QStringLiteral("PATH")),
      m_compare(QStringLiteral("compare-plans"),
                QStringLiteral("Price the month against every catalogue plan, cheapest first.")),
      m_format(QStringLiteral("format"), QStringLiteral("The summary as text (default) or json."),
               QStringLiteral("text|json"), QStringLiteral("text")),
      m_planKind(QStringLiteral("plan-kind"),
                 QStringLiteral("The plan type: 0 limited, 1 limited with night unlimited (the "
                                "hours from 02:00 to 08:00 are not charged), 2 unlimited "
                                "(default: %1).")
                     .arg(planKindDefault),
                 QStringLiteral("0|1|2")) {}

void ReportOutputOptionSet::addTo(QCommandLineParser& parser) const {
    parser.addOptions({m_output, m_plan, m_planCharge, m_allowance, m_rate, m_today, m_csv,
                       m_compare, m_format, m_planKind});
}

ReportOutputOptions ReportOutputOptionSet::read(const QCommandLineParser& parser) const {
    ReportOutputOptions o;
    const bool custom =
        parser.isSet(m_planCharge) || parser.isSet(m_allowance) || parser.isSet(m_rate);
    std::optional<int> slot;
    if (parser.isSet(m_plan)) {
        bool ok = false;
        const int n = parser.value(m_plan).toInt(&ok);
        if (!ok || n < 0 || n > kCustomPlanSlot) {
            throw Failure(QStringLiteral("--plan takes a slot from 0 to %1").arg(kCustomPlanSlot));
        }
        slot = n;
    }
    if (!custom) {
        if (slot) {
            o.choice = PlanChoice::catalogue(*slot);
        }
    } else {
        if (slot && *slot != kCustomPlanSlot) {
            throw Failure(QStringLiteral("custom plan figures go with --plan %1 or no --plan")
                              .arg(kCustomPlanSlot));
        }
        CustomPlanFigures figures;
        const auto number = [&parser](const QCommandLineOption& option, double& into) {
            if (!parser.isSet(option)) {
                return;
            }
            const std::optional<Decimal> d = parseDecimalText(parser.value(option));
            if (!d) {
                throw Failure(
                    QStringLiteral("--%1 takes a number").arg(option.names().constFirst()));
            }
            into = d->toDouble();
        };
        number(m_planCharge, figures.planCharge);
        number(m_allowance, figures.allowanceMB);
        number(m_rate, figures.rsPerMB);
        o.choice = PlanChoice::customPlan(figures);
    }
    if (parser.isSet(m_today)) {
        o.today = QDate::fromString(parser.value(m_today), u"yyyy-MM-dd");
        if (!o.today.isValid()) {
            throw Failure(QStringLiteral("--today takes a date as YYYY-MM-DD"));
        }
    }
    const QString format = parser.value(m_format);
    if (format != u"text" && format != u"json") {
        throw Failure(QStringLiteral("--format is text or json"));
    }
    o.json = format == u"json";
    if (parser.isSet(m_planKind)) {
        bool ok = false;
        const std::optional<PlanKind> kind = planKindOf(parser.value(m_planKind).toInt(&ok));
        if (!ok || !kind) {
            throw Failure(QStringLiteral("--plan-kind is 0, 1 or 2"));
        }
        o.planKind = kind;
    }
    o.comparePlans = parser.isSet(m_compare);
    o.outputPath = parser.value(m_output);
    o.csvPath = parser.value(m_csv);
    return o;
}

PricedMonth priceMonth(const HeadlessResult& result, const ReportOutputOptions& options) {
    PricedMonth priced;
    priced.inputs = summaryInputsOf(result);
    if (options.choice) {
        priced.summary = summarizeMonth(priced.inputs, *options.choice, options.today);
        priced.forecast = forecastMonth(priced.inputs, *options.choice,
                                        result.outcome().dailyTotals, options.today);
    }
    if (options.comparePlans) {
        priced.ranking = comparePlans(
            priced.inputs, options.choice ? options.choice->custom : std::nullopt, options.today);
    }
    return priced;
}

QString summaryText(const RetrievalState& state, const ReportFigures& figures,
                    const PricedMonth& priced, const ReportOutputOptions& options) {
    const auto mb = double(figures.monthSumMB);
    QString s;
    s += u"Period: " + state.monthYear + u'\n';
    s += u"Records: " + QString::number(figures.records) + u'\n';
    s += u"Month total: " + formatNumber(mb, 3) + u" MB (" + formatNumber(mb / 1024.0, 3) +
         u" GB)\n";
    s += u"Days: " + QString::number(figures.days) + u'\n';
    s += u"Average per day: " +
         (figures.averageCaption.isEmpty() ? QStringLiteral("-")
                                           : figures.averageCaption + QStringLiteral(" MB")) +
         u'\n';
    if (state.planKind == PlanKind::NightUnlimited) {
        s += u"Charged (outside 02:00-08:00): " + formatNumber(figures.chargedMB.toDecimal(), 3) +
             u" MB; free at night: " + formatNumber(figures.freeMB.toDecimal(), 3) + u" MB; " +
             QString::number(figures.mixedRecords) + u" mixed records\n";
    }
    if (priced.summary) {
        s += u'\n' + priced.summary->lines.join(u'\n') + u'\n';
    }
    if (priced.forecast) {
        s += u'\n' + forecastLines(*priced.forecast).join(u'\n') + u'\n';
    }
    if (options.comparePlans) {
        s += u"\nPlans ranked by total + tax:\n" + comparisonLines(priced.ranking).join(u'\n') +
             u'\n';
    }
    return s;
}

QJsonObject summaryObject(const RetrievalState& state, const ReportFigures& figures,
                          const PricedMonth& priced, const ReportOutputOptions& options) {
    QJsonObject root{{QStringLiteral("schemaVersion"), kJsonSchemaVersion},
                     {QStringLiteral("month"), monthJson(state, figures)}};
    if (priced.summary) {
        root.insert(QStringLiteral("summary"), summaryJson(*priced.summary).object());
    }
    if (priced.forecast) {
        root.insert(QStringLiteral("forecast"), forecastJson(*priced.forecast));
    }
    if (options.comparePlans) {
        root.insert(QStringLiteral("comparison"),
                    comparisonJson(priced.inputs, options.today, priced.ranking).object());
    }
    return root;
}

QString helpText(const QCommandLineParser& parser, const QString& program) {
    QString text = parser.helpText();
    const QString usage = QStringLiteral("Usage: ");
    if (text.startsWith(usage)) {
        const qsizetype end = text.indexOf(u' ', usage.size());
        if (end > 0) {
            text.replace(usage.size(), end - usage.size(), program);
        }
    }
    return text;
}

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString& error) {
    return replaceFile(
        path, [&bytes](QIODevice& device) { return writeAll(device, bytes); }, error);
}

}  // namespace kestrova
