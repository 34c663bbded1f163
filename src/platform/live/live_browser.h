// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The Browser on Qt WebEngine: the portal shown in a QWebEngineView.
//
// Each DOM call is one runJavaScript in the application's own script world, awaited through
// its callback; nothing waits in a nested event loop. Document-complete notifications come
// from a user script in every frame that reports the frame's load event on the console, marked
// with a secret of this browser, so a page cannot forge them. Script dialogs are answered
// without showing them; certificate errors and log-in prompts are refused without a prompt.

#include "platform/browser.h"

#include <QPointer>

#include <chrono>
#include <memory>
#include <optional>

class QWebEngineDownloadRequest;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;
class QWidget;

namespace kestrova {

class LiveBrowser final : public Browser {
    Q_OBJECT

public:
    // The view shows the page; a host may put it into a layout, but it lives as long as the
    // browser. The browser keeps its own session (cookies in memory, nothing on disk).
    explicit LiveBrowser(QObject* parent = nullptr);
    ~LiveBrowser() override;

    QWebEngineView* view() const;
    QWebEnginePage* page() const;

    void navigate(QUrl url) override;
    QCoro::Task<DownloadResult> download(QUrl url, QString fileName) override;
    QCoro::Task<QVariant> perform(DomCall call) override;

    // A call the page has not answered by then fails (default 30 s).
    void setCallTimeout(std::chrono::milliseconds timeout);
    // A download that has not finished by then fails (default 120 s).
    void setDownloadTimeout(std::chrono::milliseconds timeout);

    // Why a top-level load failed, in words for the user ("the connection was refused"), from
    // the engine's error domain (QWebEngineLoadingInfo::ErrorDomain), error code and error
    // text; nothing when the load was only stopped by a newer navigation.
    static std::optional<QString> describeLoadFailure(int domain, int code,
                                                      const QString& errorText);

private:
    class Page;
    struct Private;

    void reportConsoleMessage(const QString& message, const QString& source);
    void reportNavigation(const QUrl& url, bool topLevel);
    void takeDownload(QWebEngineDownloadRequest* request);
    void failCalls(const QString& why);
    void failDownloads(const QString& why);

    std::unique_ptr<Private> d;
};

}  // namespace kestrova
