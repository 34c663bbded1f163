// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sample_log.h"

#include <QRandomGenerator>
#include <QTime>
#include <algorithm>
#include <vector>

namespace kestrova {

namespace {
QString mb(std::int64_t tenThousandths) {
    return QStringLiteral("%1.%2")
        .arg(tenThousandths / 10000)
        .arg(tenThousandths % 10000, 4, 10, QChar(u'0'));
}
}  // namespace

QString makeSampleUsageLog(const SampleLogOptions& options) {
    QRandomGenerator random(options.seed);
    QString log = QStringLiteral("Date,Time,Duration,Download (MB),Upload (MB),Total (MB)\r\n");
    log.reserve(qsizetype(options.records) * 64);
    int left = options.records;
    for (QDate day = options.lastDay; left > 0; day = day.addDays(-1)) {
        const int sessions = std::min(left, 1 + int(random.bounded(options.maxSessionsPerDay)));
        std::vector<int> starts;
        starts.reserve(std::size_t(sessions));
        for (int s = 0; s < sessions; ++s) {
            starts.push_back(int(random.bounded(24 * 3600)));
        }
        std::sort(starts.begin(), starts.end(), std::greater<>());  // newest first
        for (int start : starts) {
            const int duration = 60 + int(random.bounded(4 * 3600));
            const std::int64_t down = std::int64_t(random.bounded(2'000'000)) + 100;
            const std::int64_t up = down / (5 + std::int64_t(random.bounded(20)));
            log += day.toString(u"yyyy-MM-dd") + u',' +
                   QTime(0, 0).addSecs(start).toString(u"HH:mm:ss") + u',' +
                   QTime(0, 0).addSecs(duration).toString(u"HH:mm:ss") + u',' + mb(down) + u',' +
                   mb(up) + u',' + mb(down + up) + u"\r\n";
        }
        left -= sessions;
    }
    return log;
}

}  // namespace kestrova
