// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Downloader: fetches the resource behind a URL in the background, reports progress while
// bytes arrive and hands the whole content to its host as text (one character per byte,
// Latin-1) when the transfer ends. Each transfer is known by a key; starting a key that is
// still running cancels that transfer first.

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;

namespace kestrova {

class Downloader : public QObject {
    Q_OBJECT

public:
    // Transfers go through `network` (not owned), or through a manager of the control's own.
    explicit Downloader(QObject* parent = nullptr, QNetworkAccessManager* network = nullptr);
    ~Downloader() override;

    // Starts fetching URL under Key (the URL itself when Key is empty). CacheMode is handed to
    // the request unchanged as its cache-load control (QNetworkRequest::CacheLoadControl:
    // 0 always network, 1 prefer network, 2 prefer cache, 3 always cache).
    void Start(const QString& URL, int CacheMode = 0, const QString& Key = QString());

    // The keys of the running transfers: NUL, then each key followed by NUL.
    const QString& keyList() const { return m_keys; }
    bool isRunning(const QString& key) const;
    // While Complete is being raised: why the transfer failed, empty when it did not.
    const QString& failureDescription() const { return m_failure; }

    QNetworkAccessManager* network() const { return m_network; }

Q_SIGNALS:
    // BytesTotal is -1 while the size is unknown; Status is the HTTP status once the reply's
    // headers have arrived, 0 before.
    void Progress(QString& URL, QString& Key, int BytesDone, int BytesTotal, int Status);
    // Data is empty when no byte arrived or the transfer failed (see failureDescription()).
    void Complete(QString& URL, QString& Data, QString& Key);

private:
    struct Transfer {
        QString url;
        QPointer<QNetworkReply> reply;
    };

    bool addKey(const QString& key);
    void removeKey(const QString& key);
    void cancel(const QString& key);
    void finished(const QString& key, QNetworkReply* reply);

    QNetworkAccessManager* m_network = nullptr;
    QString m_keys = QString(QChar(0));
    QHash<QString, Transfer> m_transfers;
    QString m_failure;
};

}  // namespace kestrova
