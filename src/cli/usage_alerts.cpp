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

const QString kNearlyUsed = QStringLiteral("80");
const QString kUsed = QStringLiteral("100");
const QString kRunsOut = QStringLiteral("forecast");

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
    NotifiedAlerts& n = decision.notified;
    const bool nearlyUsed = forecast.usedMB * 5 >= forecast.allowanceMB * 4;
    const bool used = forecast.outlook == AllowanceOutlook::RanOut;
    const bool runsOut = forecast.outlook == AllowanceOutlook::RunsOut;
    const bool news = (nearlyUsed && !n.nearlyUsed) || (used && !n.used) || (runsOut && !n.runsOut);
    n.nearlyUsed = n.nearlyUsed || nearlyUsed;
    n.used = n.used || used;
    n.runsOut = n.runsOut || runsOut;
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
    n.nearlyUsed = words.contains(kNearlyUsed);
    n.used = words.contains(kUsed);
    n.runsOut = words.contains(kRunsOut);
    return n;
}

void writeNotifiedAlerts(SettingsStore& store, const QString& userId,
                         const NotifiedAlerts& notified) {
    QStringList words{notified.month};
    if (notified.nearlyUsed) {
        words << kNearlyUsed;
    }
    if (notified.used) {
        words << kUsed;
    }
    if (notified.runsOut) {
        words << kRunsOut;
    }
    store.save(userKey(userId), words.join(u' '));
}

}  // namespace kestrova
