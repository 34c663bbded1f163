// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tray/panel_status.h"

#include "platform/failure.h"
#include "platform/number_format.h"
#include "results/forecast.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

#include <algorithm>
#include <cmath>

namespace kestrova {

namespace {

// A check's document is some tens of kilobytes; a file far larger is no document of ours.
constexpr qint64 kDocumentLimit = qint64(4) * 1024 * 1024;
// Figures beyond this are no usage or money the panel could show.
constexpr double kLargest = 1e12;
// A name or a reason from a file: one line of at most this many characters.
constexpr qsizetype kLongestText = 120;

// What is wrong with the document, for the panel to say.
struct Unreadable {
    QString why;
};

QJsonObject object(const QJsonObject& parent, const char* key) {
    const QJsonValue v = parent.value(QLatin1String(key));
    if (!v.isObject()) {
        throw Unreadable{QStringLiteral("it has no \"%1\"").arg(QLatin1String(key))};
    }
    return v.toObject();
}

double number(const QJsonObject& parent, const char* key) {
    const QJsonValue v = parent.value(QLatin1String(key));
    const double d = v.toDouble(std::nan(""));
    if (!v.isDouble() || !std::isfinite(d) || std::abs(d) >= kLargest) {
        throw Unreadable{QStringLiteral("\"%1\" is no figure").arg(QLatin1String(key))};
    }
    return d;
}

std::optional<double> numberOrNull(const QJsonObject& parent, const char* key) {
    if (parent.value(QLatin1String(key)).isNull()) {
        return std::nullopt;
    }
    return number(parent, key);
}

bool boolean(const QJsonObject& parent, const char* key) {
    const QJsonValue v = parent.value(QLatin1String(key));
    if (!v.isBool()) {
        throw Unreadable{QStringLiteral("\"%1\" is no yes or no").arg(QLatin1String(key))};
    }
    return v.toBool();
}

// A text of the file as one plain line: no mark-up for a tool tip to render, no line breaks
// to forge lines of the panel's own.
QString plainText(const QString& text) {
    QString s = text.simplified();
    s.replace(u'<', QChar(0x2039));
    s.replace(u'>', QChar(0x203A));
    if (s.size() > kLongestText) {
        s = s.left(kLongestText - 1) + QChar(0x2026);
    }
    return s;
}

QString text(const QJsonObject& parent, const char* key) {
    const QJsonValue v = parent.value(QLatin1String(key));
    if (!v.isString()) {
        throw Unreadable{QStringLiteral("\"%1\" is no text").arg(QLatin1String(key))};
    }
    return plainText(v.toString());
}

QDate date(const QJsonObject& parent, const char* key) {
    const QDate d = QDate::fromString(parent.value(QLatin1String(key)).toString(), Qt::ISODate);
    if (!d.isValid()) {
        throw Unreadable{QStringLiteral("\"%1\" is no date").arg(QLatin1String(key))};
    }
    return d;
}

QString megabytes(double mb, const QLocale& locale) {
    return formatNumber(mb, 0, locale) + QStringLiteral(" MB");
}

QString rupees(double rs, const QLocale& locale) {
    return QStringLiteral("Rs. ") + formatNumber(rs, 2, locale);
}

QString when(const QDateTime& at, const QLocale& locale) {
    const QDateTime local = at.toLocalTime();
    return forecastDateText(local.date(), locale) + QStringLiteral(", ") +
           local.time().toString(u"HH:mm");
}

}  // namespace

double PanelStatus::usedShare() const {
    if (!priced || allowanceMB <= 0) {
        return 0;
    }
    return std::clamp(usedMB / allowanceMB, 0.0, 1.0);
}

PanelStatus panelStatusOf(const QJsonObject& document) {
    PanelStatus s;
    s.hasCheck = true;
    try {
        const QJsonValue version = document.value(QStringLiteral("schemaVersion"));
        if (version.toInt(-1) != 1) {
            throw Unreadable{
                QStringLiteral("it is not of the shape this Kestrova reads (schemaVersion 1)")};
        }
        const QJsonObject check = object(document, "check");
        s.user = text(check, "user");
        s.billed = check.value(QStringLiteral("kind")).toString() == u"billed";
        s.checkedAt =
            QDateTime::fromString(check.value(QStringLiteral("checkedAt")).toString(), Qt::ISODate);
        s.monthMB = number(object(document, "month"), "monthMB");
        if (!document.contains(QStringLiteral("forecast"))) {
            return s;
        }
        const QJsonObject forecast = object(document, "forecast");
        const QJsonObject summary = object(document, "summary");
        const QJsonObject plan = object(summary, "plan");
        s.priced = true;
        s.usedMB = number(forecast, "usedMB");
        s.usedPercent = int(std::clamp(number(forecast, "usedPercent"), 0.0, 1e6));
        s.allowanceMB = number(plan, "allowanceMB");
        s.lastUsedDate = date(object(summary, "usage"), "lastUsedDate");
        s.monthComplete = boolean(forecast, "monthComplete");
        s.dailyBudgetMB = numberOrNull(forecast, "dailyBudgetMB");
        s.projectedTotalAndTax = number(object(forecast, "bill"), "totalAndTax");
        const QJsonObject cheapest = object(forecast, "cheapest");
        s.cheapestName = text(cheapest, "name");
        s.cheapestTotalAndTax = number(cheapest, "totalAndTax");
        if (boolean(plan, "unlimited")) {
            s.level = GaugeLevel::Unlimited;
        } else if (boolean(forecast, "ranOut")) {
            s.level = GaugeLevel::RanOut;
            s.allowanceDate = date(forecast, "allowanceRunsOut");
        } else if (!forecast.value(QStringLiteral("allowanceRunsOut")).isNull()) {
            s.level = GaugeLevel::RunsOut;
            s.allowanceDate = date(forecast, "allowanceRunsOut");
        } else {
            s.level = GaugeLevel::LastsTheMonth;
        }
    } catch (const Unreadable& problem) {
        PanelStatus unreadable;
        unreadable.hasCheck = true;
        unreadable.unreadable = problem.why;
        return unreadable;
    }
    return s;
}

PanelStatus readPanelStatus(const LastCheckFiles& files) {
    PanelStatus s;
    QFile file(files.document);
    if (file.open(QIODevice::ReadOnly)) {
        if (file.size() > kDocumentLimit) {
            s.hasCheck = true;
            s.unreadable = QStringLiteral("it is far larger than a check");
        } else {
            QJsonParseError error;
            const QJsonDocument json = QJsonDocument::fromJson(file.readAll(), &error);
            if (json.isObject()) {
                s = panelStatusOf(json.object());
            } else {
                s.hasCheck = true;
                s.unreadable =
                    QStringLiteral("it is no JSON document (%1)").arg(error.errorString());
            }
        }
    } else if (file.exists()) {
        s.hasCheck = true;
        s.unreadable = file.errorString();
    }
    std::optional<CheckFailure> failure = readCheckFailure(files.failure);
    if (failure && (!s.checkedAt.isValid() || failure->failedAt > s.checkedAt)) {
        failure->reason = plainText(failure->reason);
        s.failure = failure;
    }
    return s;
}

LastCheckFiles chooseLastCheck(const QString& folder, const QString& user) {
    LastCheckFiles own = lastCheckFiles(folder, user, false);
    if (QFileInfo::exists(own.document) ||
        (!user.trimmed().isEmpty() && QFileInfo::exists(own.failure))) {
        return own;
    }
    QString newest;
    QDateTime newestTime;
    for (const QString& document : lastCheckDocuments(folder)) {
        const QDateTime modified = QFileInfo(document).lastModified();
        if (newest.isEmpty() || modified > newestTime) {
            newest = document;
            newestTime = modified;
        }
    }
    if (newest.isEmpty()) {
        return own;
    }
    return lastCheckFilesOf(newest);
}

QStringList toolTipLines(const PanelStatus& s, const QLocale& locale) {
    QStringList lines;
    if (!s.hasCheck) {
        lines << QStringLiteral("Kestrova") << QStringLiteral("No check yet: choose \"Check now\"");
    } else if (!s.unreadable.isEmpty()) {
        lines << QStringLiteral("Kestrova")
              << QStringLiteral("The last check cannot be read: ") + plainText(s.unreadable);
    } else {
        lines << QStringLiteral("Kestrova: ") + s.user +
                     (s.billed ? QStringLiteral(", billed usage") : QString());
        if (!s.priced) {
            lines << QStringLiteral("Used ") + megabytes(s.monthMB, locale) +
                         QStringLiteral(" this period")
                  << QStringLiteral("Choose a plan on the Summary tab for the forecast");
        } else {
            if (s.level == GaugeLevel::Unlimited) {
                lines << QStringLiteral("Used ") + megabytes(s.usedMB, locale) +
                             QStringLiteral(" (unlimited plan)");
            } else {
                lines << QStringLiteral("Used %1 of %2 (%3 %)")
                             .arg(megabytes(s.usedMB, locale), megabytes(s.allowanceMB, locale))
                             .arg(s.usedPercent);
            }
            const QString month = s.monthComplete ? QStringLiteral("Month complete")
                                                  : QStringLiteral("Day %1 of %2")
                                                        .arg(s.lastUsedDate.day())
                                                        .arg(s.lastUsedDate.daysInMonth());
            switch (s.level) {
                case GaugeLevel::LastsTheMonth:
                    lines << month + QStringLiteral(": lasts the month");
                    break;
                case GaugeLevel::RunsOut:
                    lines << month + QStringLiteral(": runs out about ") +
                                 forecastDateText(s.allowanceDate, locale);
                    break;
                case GaugeLevel::RanOut:
                    lines << month + QStringLiteral(": ran out on ") +
                                 forecastDateText(s.allowanceDate, locale);
                    break;
                case GaugeLevel::Unlimited:
                case GaugeLevel::Unknown:
                    lines << month;
                    break;
            }
            if (s.dailyBudgetMB) {
                lines << QStringLiteral("Daily budget: ") +
                             (s.level == GaugeLevel::RanOut
                                  ? QStringLiteral("ran out")
                                  : formatNumber(*s.dailyBudgetMB, 2, locale) +
                                        QStringLiteral(" MB"));
            }
            lines << QStringLiteral("Projected Total + Tax: ") +
                         rupees(s.projectedTotalAndTax, locale)
                  << QStringLiteral("Cheapest at this pace: %1 (%2)")
                         .arg(s.cheapestName, rupees(s.cheapestTotalAndTax, locale));
        }
        if (s.checkedAt.isValid()) {
            lines << QStringLiteral("Checked ") + when(s.checkedAt, locale);
        }
    }
    if (s.failure) {
        lines << QStringLiteral("Last check failed: %1 (%2)")
                     .arg(s.failure->reason, when(s.failure->failedAt, locale));
    }
    return lines;
}

}  // namespace kestrova
