// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/live/live_browser.h"

#include "platform/live/dom_script.h"
#include "platform/live/pending_result.h"

#include <QAuthenticator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaEnum>
#include <QRandomGenerator>
#include <QTimer>
#include <QUuid>
#include <QWebEngineCertificateError>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <filesystem>
#include <vector>

namespace kestrova {

namespace {

using live::PendingResult;

// Why a transfer stopped, in the engine's words where it has words for the reason; a reason
// the engine does not name (a body shorter than its announced length) is a broken connection.
QString describeInterruption(const QWebEngineDownloadRequest* request) {
    const QMetaEnum reasons =
        QMetaEnum::fromType<QWebEngineDownloadRequest::DownloadInterruptReason>();
    if (reasons.valueToKey(int(request->interruptReason())) == nullptr) {
        return QStringLiteral("the connection broke off after %1 bytes")
            .arg(request->receivedBytes());
    }
    return request->interruptReasonString();
}

constexpr auto kDefaultCallTimeout = std::chrono::milliseconds(30000);
constexpr auto kDefaultDownloadTimeout = std::chrono::milliseconds(120000);

// A marker no page can guess: reports without it are not ours.
QString newMarker() {
    const quint64 high = QRandomGenerator::system()->generate64();
    const quint64 low = QRandomGenerator::system()->generate64();
    return QStringLiteral("\u0002kestrova-complete:%1%2:")
        .arg(high, 16, 16, QLatin1Char('0'))
        .arg(low, 16, 16, QLatin1Char('0'));
}

QString comparable(const QUrl& url) {
    return url.adjusted(QUrl::NormalizePathSegments).toString(QUrl::FullyEncoded);
}

struct PendingDownload {
    QUrl url;
    QString target;
    QString partial;  // beside the target, so the final rename stays on one file system
    bool taken = false;
    QPointer<QWebEngineDownloadRequest> request;
    PendingResult<DownloadResult> result;
};

}  // namespace

class LiveBrowser::Page final : public QWebEnginePage {
public:
    Page(QWebEngineProfile* profile, LiveBrowser* owner)
        : QWebEnginePage(profile), m_owner(owner) {}

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                  const QString& source) override {
        m_owner->reportConsoleMessage(message, source);
    }

    // The browser shows no dialogs of its own: nobody watches the portal's pages, and a page
    // must never stop a check to wait for an answer.
    void javaScriptAlert(const QUrl&, const QString&) override {}

    // A confirmation nobody saw is not given.
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }

    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override {
        return false;
    }

    QStringList chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) override {
        return {};
    }

    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        m_owner->reportNavigation(url, isMainFrame);
        return true;
    }

private:
    LiveBrowser* m_owner;
};

struct LiveBrowser::Private {
    QString marker = newMarker();
    std::chrono::milliseconds callTimeout = kDefaultCallTimeout;
    std::chrono::milliseconds downloadTimeout = kDefaultDownloadTimeout;
    QWebEngineProfile* profile = nullptr;
    Page* page = nullptr;
    QPointer<QWebEngineView> view;
    struct TrackedCall {
        std::weak_ptr<PendingResult<QVariant>> result;
        QString description;
    };
    std::vector<TrackedCall> calls;
    std::vector<std::shared_ptr<PendingDownload>> downloads;

    void track(const std::shared_ptr<PendingResult<QVariant>>& call, QString description) {
        std::erase_if(calls, [](const TrackedCall& tracked) {
            const auto held = tracked.result.lock();
            return !held || held->isSettled();
        });
        calls.push_back(TrackedCall{call, std::move(description)});
    }
};

LiveBrowser::LiveBrowser(QObject* parent) : Browser(parent), d(std::make_unique<Private>()) {
    // No storage name: an off-the-record profile, whose cookies live as long as the browser.
    d->profile = new QWebEngineProfile();
    d->profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    d->page = new Page(d->profile, this);

    QWebEngineSettings* settings = d->page->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);

    QWebEngineScript completion;
    completion.setName(QStringLiteral("kestrova-complete"));
    completion.setWorldId(QWebEngineScript::ApplicationWorld);
    completion.setInjectionPoint(QWebEngineScript::DocumentReady);
    completion.setRunsOnSubFrames(true);
    completion.setSourceCode(live::completionScript(d->marker));
    d->page->scripts().insert(completion);

    connect(d->page, &QWebEnginePage::certificateError,
            [](const QWebEngineCertificateError& error) {
                QWebEngineCertificateError refused = error;
                refused.rejectCertificate();
            });
    connect(d->page, &QWebEnginePage::authenticationRequired,
            [](const QUrl&, QAuthenticator* authenticator) { *authenticator = QAuthenticator(); });
    connect(d->page, &QWebEnginePage::proxyAuthenticationRequired,
            [](const QUrl&, QAuthenticator* authenticator, const QString&) {
                *authenticator = QAuthenticator();
            });
    connect(d->page, &QWebEnginePage::featurePermissionRequested, d->page,
            [page = d->page](const QUrl& origin, QWebEnginePage::Feature feature) {
                page->setFeaturePermission(origin, feature, QWebEnginePage::PermissionDeniedByUser);
            });
    connect(d->page, &QWebEnginePage::fullScreenRequested,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
    connect(d->page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus, int) {
                failCalls(QStringLiteral("the page's process ended"));
            });
    connect(d->profile, &QWebEngineProfile::downloadRequested, this, &LiveBrowser::takeDownload);
    // The completion script never runs on the engine's error page: a failed load is reported
    // from the engine's own load result instead.
    connect(
        d->page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
            if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus) {
                return;
            }
            const std::optional<QString> reason =
                describeLoadFailure(int(info.errorDomain()), info.errorCode(), info.errorString());
            if (!reason) {
                return;
            }
            QMetaObject::invokeMethod(
                this, [this, url = info.url(), why = *reason] { Q_EMIT loadFailed(url, why); },
                Qt::QueuedConnection);
        });

    d->view = new QWebEngineView();
    d->view->setPage(d->page);
}

LiveBrowser::~LiveBrowser() {
    failCalls(QStringLiteral("the browser was closed"));
    failDownloads(QStringLiteral("the browser was closed"));
    delete d->view.data();
    delete d->page;
    delete d->profile;
}

QWebEngineView* LiveBrowser::view() const {
    return d->view;
}

QWebEnginePage* LiveBrowser::page() const {
    return d->page;
}

void LiveBrowser::setCallTimeout(std::chrono::milliseconds timeout) {
    d->callTimeout = timeout;
}

void LiveBrowser::setDownloadTimeout(std::chrono::milliseconds timeout) {
    d->downloadTimeout = timeout;
}

void LiveBrowser::navigate(QUrl url) {
    d->page->load(url);
}

std::optional<QString> LiveBrowser::describeLoadFailure(int domain, int code,
                                                        const QString& errorText) {
    switch (QWebEngineLoadingInfo::ErrorDomain(domain)) {
        case QWebEngineLoadingInfo::NoErrorDomain:
            return std::nullopt;
        case QWebEngineLoadingInfo::HttpStatusCodeDomain:
            return QStringLiteral("the server answered with HTTP status %1").arg(code);
        case QWebEngineLoadingInfo::CertificateErrorDomain:
            return QStringLiteral("its certificate was not accepted (%1)").arg(errorText);
        default:
            break;
    }
    // The network errors a subscriber meets, by the engine's own numbers.
    switch (code) {
        case -3:  // ABORTED: stopped by a newer navigation or by the user
            return std::nullopt;
        case -7:
        case -118:
            return QStringLiteral("the connection timed out");
        case -100:
        case -324:
            return QStringLiteral("the server closed the connection without an answer");
        case -101:
            return QStringLiteral("the connection was reset");
        case -102:
            return QStringLiteral("the connection was refused");
        case -104:
        case -109:
            return QStringLiteral("the server cannot be reached");
        case -105:
        case -137:
            return QStringLiteral("the host name could not be found");
        case -106:
            return QStringLiteral("this computer is not connected to a network");
        case -107:
        case -113:
        case -200:
        case -201:
        case -202:
            return QStringLiteral("the secure connection failed (%1)").arg(errorText);
        default:
            break;
    }
    return errorText.isEmpty() ? QStringLiteral("error %1").arg(code)
                               : QStringLiteral("%1 (error %2)").arg(errorText).arg(code);
}

// Console messages arrive inside the engine's callback: the notification goes out from the
// event loop, in the order the frames reported.
void LiveBrowser::reportConsoleMessage(const QString& message, const QString& source) {
    if (!source.startsWith(u"userscript:")) {
        return;
    }
    const std::optional<live::CompletionReport> report = live::readCompletion(message, d->marker);
    if (!report) {
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, frame = FrameHandle(report->path), url = report->url] {
            Q_EMIT documentComplete(frame, url);
        },
        Qt::QueuedConnection);
}

void LiveBrowser::reportNavigation(const QUrl& url, bool topLevel) {
    QMetaObject::invokeMethod(
        this, [this, url, topLevel] { Q_EMIT beforeNavigate(url, topLevel); },
        Qt::QueuedConnection);
}

QCoro::Task<QVariant> LiveBrowser::perform(DomCall call) {
    auto pending = std::make_shared<PendingResult<QVariant>>();
    if (d->page->lifecycleState() == QWebEnginePage::LifecycleState::Discarded) {
        pending->fail(describeCall(call) + QStringLiteral(" failed: the page was discarded"));
    } else {
        d->track(pending, describeCall(call));
        d->page->runJavaScript(live::domCallScript(call), QWebEngineScript::ApplicationWorld,
                               [pending](const QVariant& answer) { pending->finish(answer); });
        QTimer::singleShot(
            d->callTimeout, d->page, [weak = std::weak_ptr(pending), text = describeCall(call)] {
                if (const auto held = weak.lock()) {
                    held->fail(text + QStringLiteral(" failed: the page did not answer"));
                }
            });
    }
    // From here on the browser may be gone: only the call's own data is used.
    const QVariant answer = co_await *pending;
    co_return live::readAnswer(answer, call);
}

QCoro::Task<DownloadResult> LiveBrowser::download(QUrl url, QString fileName) {
    const QFileInfo target(fileName);
    if (!target.absoluteDir().exists()) {
        co_return DownloadResult{false, QStringLiteral("The folder %1 does not exist")
                                            .arg(QDir::toNativeSeparators(target.absolutePath()))};
    }
    auto pending = std::make_shared<PendingDownload>();
    pending->url = url;
    pending->target = target.absoluteFilePath();
    pending->partial = target.absolutePath() + QStringLiteral("/.") + target.fileName() + u'.' +
                       QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".part");
    d->downloads.push_back(pending);
    d->page->download(url);
    QTimer::singleShot(d->downloadTimeout, d->page, [weak = std::weak_ptr(pending)] {
        if (const auto held = weak.lock(); held && !held->result.isSettled()) {
            if (held->request) {
                held->request->cancel();
            }
            held->result.finish(DownloadResult{false, QStringLiteral("The download timed out")});
        }
    });
    co_return co_await pending->result;
}

void LiveBrowser::takeDownload(QWebEngineDownloadRequest* request) {
    if (request->page() != d->page) {
        return;
    }
    const auto found = std::find_if(d->downloads.begin(), d->downloads.end(), [&](const auto& p) {
        return !p->taken && !p->result.isSettled() &&
               comparable(p->url) == comparable(request->url());
    });
    if (found == d->downloads.end()) {
        // Nothing of ours asked for it (a click on a download link): silently refused.
        request->cancel();
        request->deleteLater();
        return;
    }
    const std::shared_ptr<PendingDownload> pending = *found;
    pending->taken = true;
    pending->request = request;
    const QFileInfo partial(pending->partial);
    request->setDownloadDirectory(partial.absolutePath());
    request->setDownloadFileName(partial.fileName());
    // A file beyond the limit is given up as soon as it shows (by its announced size, or by
    // what has come so far of an endless one), and so is a transfer that broke off: the
    // engine would try to resume it, and may wait for that without end.
    const qint64 limit = downloadLimit();
    const auto tooLarge = [limit](const QWebEngineDownloadRequest* r) {
        return limit > 0 && (r->totalBytes() > limit || r->receivedBytes() > limit);
    };
    const auto watch = [request, pending, tooLarge, limit] {
        if (pending->result.isSettled()) {
            return;
        }
        QString why;
        if (tooLarge(request)) {
            why = downloadTooLarge(limit);
        } else if (request->interruptReason() != QWebEngineDownloadRequest::NoReason &&
                   request->state() == QWebEngineDownloadRequest::DownloadInProgress) {
            why = describeInterruption(request);
        }
        if (!why.isEmpty()) {
            pending->result.finish(DownloadResult{false, why});
            request->cancel();
            QFile::remove(pending->partial);
        }
    };
    connect(request, &QWebEngineDownloadRequest::totalBytesChanged, this, watch);
    connect(request, &QWebEngineDownloadRequest::receivedBytesChanged, this, watch);
    connect(request, &QWebEngineDownloadRequest::interruptReasonChanged, this, watch);
    // An interrupted transfer is not left to the engine's own resuming: the caller learns
    // at once that the file did not come.
    const auto settle = [this, request, pending, tooLarge, limit] {
        const QWebEngineDownloadRequest::DownloadState state = request->state();
        if (state != QWebEngineDownloadRequest::DownloadCompleted &&
            state != QWebEngineDownloadRequest::DownloadCancelled &&
            state != QWebEngineDownloadRequest::DownloadInterrupted) {
            return;
        }
        if (pending->result.isSettled()) {
            // Given up on already (too large, too slow): nothing of it stays.
            QFile::remove(pending->partial);
            std::erase(d->downloads, pending);
            request->deleteLater();
            return;
        }
        DownloadResult result;
        if (state == QWebEngineDownloadRequest::DownloadCompleted && tooLarge(request)) {
            result.error = downloadTooLarge(limit);  // all of it came before a size was seen
        } else if (state == QWebEngineDownloadRequest::DownloadCompleted) {
            std::error_code error;
            std::filesystem::rename(std::filesystem::path(pending->partial.toStdString()),
                                    std::filesystem::path(pending->target.toStdString()), error);
            result.completed = !error;
            if (error) {
                result.error = QStringLiteral("Cannot replace %1: %2")
                                   .arg(QDir::toNativeSeparators(pending->target),
                                        QString::fromStdString(error.message()));
            }
        } else {
            result.error = describeInterruption(request);
            if (state == QWebEngineDownloadRequest::DownloadInterrupted) {
                request->cancel();
            }
        }
        if (!result.completed) {
            QFile::remove(pending->partial);
        }
        pending->result.finish(result);
        std::erase(d->downloads, pending);
        request->deleteLater();
    };
    connect(request, &QWebEngineDownloadRequest::stateChanged, this, settle);
    connect(request, &QWebEngineDownloadRequest::isFinishedChanged, this, settle);
    request->accept();
}

void LiveBrowser::failCalls(const QString& why) {
    const auto calls = std::exchange(d->calls, {});
    for (const Private::TrackedCall& tracked : calls) {
        if (const auto held = tracked.result.lock()) {
            held->fail(tracked.description + QStringLiteral(" failed: ") + why);
        }
    }
}

void LiveBrowser::failDownloads(const QString& why) {
    const auto downloads = std::exchange(d->downloads, {});
    for (const auto& pending : downloads) {
        if (pending->request) {
            pending->request->cancel();
        }
        QFile::remove(pending->partial);
        pending->result.finish(
            DownloadResult{false, QStringLiteral("The download failed: ") + why});
    }
}

}  // namespace kestrova
