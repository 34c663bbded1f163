// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/downloader.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <algorithm>
#include <limits>

namespace kestrova {

namespace {
const QChar kNul(0);

int toInt32(qint64 v) {
    return int(
        std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int statusOf(const QNetworkReply* reply) {
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}
}  // namespace

Downloader::Downloader(QObject* parent, QNetworkAccessManager* network)
    : QObject(parent), m_network(network ? network : new QNetworkAccessManager(this)) {}

Downloader::~Downloader() {
    const QStringList running = m_transfers.keys();
    for (const QString& key : running) {
        cancel(key);
    }
}

bool Downloader::addKey(const QString& key) {
    if (m_keys.contains(kNul + key + kNul)) {
        return false;
    }
    m_keys += key + kNul;
    return true;
}

void Downloader::removeKey(const QString& key) {
    const QString entry = kNul + key + kNul;
    const qsizetype at = m_keys.indexOf(entry);
    if (at >= 0) {
        m_keys.replace(at, entry.size(), kNul);
    }
}

bool Downloader::isRunning(const QString& key) const {
    return m_keys.contains(kNul + key + kNul);
}

void Downloader::cancel(const QString& key) {
    const Transfer t = m_transfers.take(key);
    if (t.reply) {
        t.reply->disconnect(this);
        t.reply->abort();
        t.reply->deleteLater();
    }
}

void Downloader::Start(const QString& URL, int CacheMode, const QString& Key) {
    const QString key = Key.isEmpty() ? URL : Key;
    if (!addKey(key)) {
        cancel(key);
    }
    QNetworkRequest request{QUrl(URL)};
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, CacheMode);
    QNetworkReply* reply = m_network->get(request);
    m_transfers.insert(key, Transfer{URL, reply});
    connect(reply, &QNetworkReply::downloadProgress, this,
            [this, key, reply](qint64 received, qint64 total) {
                QString url = m_transfers.value(key).url;
                QString k = key;
                Q_EMIT Progress(url, k, toInt32(received), toInt32(total), statusOf(reply));
            });
    connect(reply, &QNetworkReply::finished, this, [this, key, reply] { finished(key, reply); });
}

void Downloader::finished(const QString& key, QNetworkReply* reply) {
    reply->deleteLater();
    if (m_transfers.value(key).reply != reply) {
        return;  // a transfer that was cancelled and replaced
    }
    const Transfer t = m_transfers.take(key);
    const bool failed = reply->error() != QNetworkReply::NoError;
    const QByteArray bytes = failed ? QByteArray() : reply->readAll();
    // The key leaves the list before the host hears of the end, so a Start under the same key
    // from inside Complete begins a transfer that the list still knows about.
    removeKey(key);
    QString url = t.url;
    QString data = bytes.isEmpty() ? QString() : QString::fromLatin1(bytes);
    QString k = key;
    m_failure = failed ? reply->errorString() : QString();
    Q_EMIT Complete(url, data, k);
    m_failure.clear();
}

}  // namespace kestrova
