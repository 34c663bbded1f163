// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/history.h"

#include "platform/failure.h"
#include "platform/number_format.h"
#include "platform/program_folder.h"
#include "retrieval/cache_file.h"
#include "retrieval/month_report.h"

#include <QJsonArray>

#include <map>

namespace kestrova {

namespace {

QJsonObject planJson(int slot, const QString& name, double totalAndTax) {
    return QJsonObject{{QStringLiteral("slot"), slot},
                       {QStringLiteral("name"), name},
                       {QStringLiteral("totalAndTax"), jsonRupees(totalAndTax)}};
}

void readMonth(HistoryMonth& month, const std::optional<PlanChoice>& chosen, QDate today,
               PlanKind planKind) {
    UsageRecords records;
    try {
        records = readCacheRecords(month.file);
    } catch (const Failure& failure) {
        month.problem = QStringLiteral("cannot be read: ") + failure.description();
        return;
    }
    MonthReport report;
    buildMonthReport(records, month.period, report, planKind);
    if (!report.failures.isEmpty()) {
        month.problem = QStringLiteral("cannot be read: ") + report.failures.join(u' ');
        return;
    }
    if (report.figures.records == 0) {
        month.problem = records.isEmpty()
                            ? QStringLiteral("cannot be read: the file is empty")
                            : QStringLiteral(
                                  "cannot be read: it holds no usage records (another "
                                  "key, or damaged)");
        return;
    }
    month.records = report.figures.records;
    month.days = report.figures.days;
    month.monthMB = report.figures.monthSumMB;
    month.inputs = summaryInputsOf(report.result);
    try {
        month.ranking = comparePlans(month.inputs, chosen ? chosen->custom : std::nullopt, today);
        if (chosen) {
            // The Summary tab's bill: the chosen plan on the usage the plan type charges.
            const MonthSummary summary = summarizeMonth(month.inputs, *chosen, today);
            month.chosen = PlanCost{0,
                                    summary.slot,
                                    summary.plan.text(PlanName).trimmed(),
                                    summary.entryText,
                                    summary.bill,
                                    summary.figures.shown(SummaryLabel::BillTotalAndTaxLabel)};
        }
    } catch (const Failure& failure) {
        month.problem = QStringLiteral("cannot be priced: ") + failure.description();
        return;
    }
    month.cheapest = month.ranking.front();
}

}  // namespace

std::optional<std::int64_t> History::savingPaise() const {
    if (!cheapest || !chosen) {
        return std::nullopt;
    }
    return chosen->paise - cheapest->paise;
}

History buildHistory(const QString& folder, const QString& userId,
                     const std::optional<PlanChoice>& chosen, QDate today, PlanKind planKind) {
    History history;
    const QString wantedUser = cacheNameUser(userId);
    for (const QString& item : listCacheFiles(folder)) {
        HistoryMonth month;
        month.item = item;
        month.file = inProgramFolder(folder, item + kCacheExtension);
        month.period = cacheItemPeriod(item);
        if (const std::optional<CacheItemName> name = readCacheItemName(item)) {
            month.month = name->month;
            month.user = name->user;
        }
        if (!userId.isEmpty() && month.user != wantedUser) {
            continue;
        }
        readMonth(month, chosen, today, planKind);
        history.months.push_back(std::move(month));
    }

    // Each plan over all the months it priced, as the months show it; the chosen plan as its
    // column bills it.
    std::map<int, PlanOverMonths> plans;
    std::optional<PlanOverMonths> chosenOverMonths;
    for (const HistoryMonth& month : history.months) {
        if (!month.readable()) {
            continue;
        }
        ++history.readableMonths;
        history.totalMB += month.monthMB;
        for (const PlanCost& cost : month.ranking) {
            PlanOverMonths& plan = plans[cost.slot];
            plan.slot = cost.slot;
            plan.name = cost.name;
            plan.entryText = cost.entryText;
            plan.paise += shownPaise(cost.bill.totalAndTax);
        }
        if (month.chosen) {
            if (!chosenOverMonths) {
                chosenOverMonths = PlanOverMonths{month.chosen->slot, month.chosen->name,
                                                  month.chosen->entryText, 0};
            }
            chosenOverMonths->paise += shownPaise(month.chosen->bill.totalAndTax);
        }
    }
    if (history.readableMonths > 0) {
        history.averageMB = double(history.totalMB) / history.readableMonths;
        // Slot order breaks ties, as the catalogue's order does for one month.
        for (const auto& [slot, plan] : plans) {
            if (!history.cheapest || plan.paise < history.cheapest->paise) {
                history.cheapest = plan;
            }
        }
        history.chosen = chosenOverMonths;
    }
    return history;
}

QString rupeesText(std::int64_t paise) {
    return QStringLiteral("Rs. ") + formatNumber(double(paise) / 100.0, 2);
}

QString historyText(const History& history) {
    QStringList lines;
    lines << QStringLiteral("%1  %2  %3  %4  %5  %6")
                 .arg(QStringLiteral("Period"), -24)
                 .arg(QStringLiteral("Records"), 7)
                 .arg(QStringLiteral("Days"), 4)
                 .arg(QStringLiteral("Total MB"), 12)
                 .arg(QStringLiteral("Bill"), 13)
                 .arg(QStringLiteral("Cheapest plan"));
    for (const HistoryMonth& m : history.months) {
        const QString period = m.period + (m.user.isEmpty() ? QString() : u" (" + m.user + u')');
        if (!m.readable()) {
            lines << QStringLiteral("%1  %2").arg(period, -24).arg(m.problem);
            continue;
        }
        lines << QStringLiteral("%1  %2  %3  %4  %5  %6 %7")
                     .arg(period, -24)
                     .arg(m.records, 7)
                     .arg(m.days, 4)
                     .arg(formatNumber(double(m.monthMB), 3), 12)
                     .arg(m.chosen ? m.chosen->totalAndTaxText : QStringLiteral("-"), 13)
                     .arg(m.cheapest.name, m.cheapest.totalAndTaxText);
    }
    lines << QString();
    lines << QStringLiteral("Months: %1").arg(history.readableMonths);
    lines << QStringLiteral("Total: %1 MB").arg(formatNumber(double(history.totalMB), 3));
    lines << QStringLiteral("Average per month: %1 MB").arg(formatNumber(history.averageMB, 3));
    if (history.cheapest) {
        lines << QStringLiteral("Cheapest over these months: %1 %2")
                     .arg(history.cheapest->name, rupeesText(history.cheapest->paise));
    }
    if (history.chosen) {
        lines << QStringLiteral("Chosen plan over these months: %1 %2")
                     .arg(history.chosen->name, rupeesText(history.chosen->paise));
        if (const auto saving = history.savingPaise()) {
            lines << QStringLiteral("Saving with the cheapest: %1").arg(rupeesText(*saving));
        }
    }
    return lines.join(u'\n') + u'\n';
}

QJsonObject historyJson(const History& history) {
    QJsonArray months;
    for (const HistoryMonth& m : history.months) {
        QJsonObject month{{QStringLiteral("period"), m.period},
                          {QStringLiteral("user"), m.user},
                          {QStringLiteral("file"), m.file}};
        if (!m.readable()) {
            month.insert(QStringLiteral("error"), m.problem);
            months.append(month);
            continue;
        }
        month.insert(QStringLiteral("records"), m.records);
        month.insert(QStringLiteral("days"), m.days);
        month.insert(QStringLiteral("monthMB"), double(m.monthMB));
        month.insert(QStringLiteral("bill"),
                     m.chosen ? QJsonValue(billJson(m.chosen->bill)) : QJsonValue());
        month.insert(QStringLiteral("cheapest"),
                     planJson(m.cheapest.slot, m.cheapest.name, m.cheapest.bill.totalAndTax));
        months.append(month);
    }
    QJsonObject overall{{QStringLiteral("months"), history.readableMonths},
                        {QStringLiteral("totalMB"), double(history.totalMB)},
                        {QStringLiteral("averageMB"), jsonMegabytes(history.averageMB)}};
    overall.insert(QStringLiteral("cheapest"),
                   history.cheapest
                       ? QJsonValue(planJson(history.cheapest->slot, history.cheapest->name,
                                             history.cheapest->rupees()))
                       : QJsonValue());
    overall.insert(QStringLiteral("chosen"),
                   history.chosen ? QJsonValue(planJson(history.chosen->slot, history.chosen->name,
                                                        history.chosen->rupees()))
                                  : QJsonValue());
    if (const auto saving = history.savingPaise()) {
        overall.insert(QStringLiteral("saving"), double(*saving) / 100.0);
    }
    return QJsonObject{{QStringLiteral("schemaVersion"), kJsonSchemaVersion},
                       {QStringLiteral("months"), months},
                       {QStringLiteral("overall"), overall}};
}

}  // namespace kestrova
