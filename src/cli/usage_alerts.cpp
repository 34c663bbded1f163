// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/usage_alerts.h"

#include "cli/desktop_notifier.h"
#include "platform/number_format.h"
#include "platform/settings_store.h"
#include "results/plan_catalogue.h"
#include "results/plan_settings.h"

#include <QDate>
#include <QStringList>
#include <QUrl>

namespace kestrova {

namespace {

// Each level once: the word that names it in the stored value ("2026-11 80 forecast") and its
// flag. Reading, writing and deciding what is new all walk this list.
struct Level {
    QString word;
    bool NotifiedAlerts::*raised;
};
const Level kLevels[] = {
    {QStringLiteral("80"), &NotifiedAlerts::nearlyUsed},
    {QStringLiteral("100"), &NotifiedAlerts::used},
    {QStringLiteral("forecast"), &NotifiedAlerts::runsOut},
};

QString monthKey(QDate date) {
    return date.toString(u"yyyy-MM");
}

// A user id as a key of its own: QSettings reads "/" and "\" in keys as groups.
QString userKey(const QString& userId) {
    return QString::fromLatin1(QUrl::toPercentEncoding(userId));
}

}  // namespace

AlertDecision decideAlert(const Forecast& forecast, const NotifiedAlerts& before,
                          const QLocale& locale) {
    const QString month = monthKey(forecast.lastUsedDate);
    AlertDecision decision;
    decision.notified = before.month == month ? before : NotifiedAlerts{month};
    if (forecast.outlook == AllowanceOutlook::Unlimited) {
        return decision;
    }
    NotifiedAlerts reached{month};
    reached.nearlyUsed = forecast.usedMB * 5 >= forecast.allowanceMB * 4;
    reached.used = forecast.outlook == AllowanceOutlook::RanOut;
    reached.runsOut = forecast.outlook == AllowanceOutlook::RunsOut;
    bool news = false;
    for (const Level& level : kLevels) {
        bool& raised = decision.notified.*level.raised;
        news = news || (reached.*level.raised && !raised);
        raised = raised || reached.*level.raised;
    }
    if (!news) {
        return decision;
    }

    QString text = QStringLiteral("%1 % of %2 MB used; ")
                       .arg(forecast.usedPercent)
                       .arg(defaultText(forecast.allowanceMB, locale));
    switch (forecast.outlook) {
        case AllowanceOutlook::RanOut:
            text += u"it ran out on " + forecastDateText(forecast.allowanceDate, locale);
            break;
        case AllowanceOutlook::RunsOut:
            text += u"at this pace it runs out about " +
                    forecastDateText(forecast.allowanceDate, locale);
            break;
        case AllowanceOutlook::LastsTheMonth:
        case AllowanceOutlook::Unlimited:
            text += QStringLiteral("at this pace it lasts the month");
            break;
    }
    // What is left a day, unless nothing is.
    if (forecast.dailyBudgetMB && forecast.outlook != AllowanceOutlook::RanOut) {
        text += u"; daily budget " + formatNumber(*forecast.dailyBudgetMB, 2, locale) + u" MB";
    }
    decision.text = text;
    return decision;
}

void raiseAlert(const Forecast& forecast, const QString& userId, DesktopNotifier& notifier,
                std::function<void(const QString& unshown)> done) {
    SettingsStore store(QString(), alertSection());
    const NotifiedAlerts before = readNotifiedAlerts(store, userId);
    const AlertDecision alert = decideAlert(forecast, before);
    if (alert.text.isEmpty()) {
        if (alert.notified != before) {
            writeNotifiedAlerts(store, userId, alert.notified);  // a new month begun
        }
        done(QString());
        return;
    }
    notifier.notify(QStringLiteral("Broadband usage"), alert.text,
                    [alert, userId, done = std::move(done)](bool shown) {
                        if (!shown) {
                            done(alert.text);
                            return;
                        }
                        SettingsStore remembered(QString(), alertSection());
                        writeNotifiedAlerts(remembered, userId, alert.notified);
                        remembered.sync();
                        done(QString());
                    });
}

QString alertSection() {
    return QStringLiteral("CheckAlerts");
}

NotifiedAlerts readNotifiedAlerts(const SettingsStore& store, const QString& userId) {
    const QStringList words = store.get(userKey(userId), QString()).split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty() || !QDate::fromString(words.front() + u"-01", u"yyyy-MM-dd").isValid()) {
        return {};
    }
    NotifiedAlerts n{words.front()};
    for (const Level& level : kLevels) {
        n.*level.raised = words.contains(level.word);
    }
    return n;
}

void writeNotifiedAlerts(SettingsStore& store, const QString& userId,
                         const NotifiedAlerts& notified) {
    QStringList words{notified.month};
    for (const Level& level : kLevels) {
        if (notified.*level.raised) {
            words << level.word;
        }
    }
    store.save(userKey(userId), words.join(u' '));
}

}  // namespace kestrova
