// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A Browser over in-memory HtmlDocuments, for tests of what drives a browser (the grab): the
// test scripts the pages, their frames, what navigations and clicks load, the downloads and
// when document-complete notifications arrive.
//
// Like the live browser, it answers every call and delivers every notification from the event
// loop (unless told otherwise), so a notification can run while a coroutine of the receiver
// is suspended in a call or a wait.

#include "platform/browser.h"
#include "platform/html_document.h"

#include <QByteArray>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace kestrova {

// A page to show: its address, its mark-up and the pages of its frames, in frame order.
struct MemoryPage {
    QUrl url;
    QString html;
    std::vector<MemoryPage> frames;
};

// A click that reached an element of a shown page.
struct MemoryClick {
    FramePath frame;
    QString id;       // the element's id attribute, empty when it has none
    QString tagName;  // upper case
    QString description;
};

class MemoryBrowser final : public Browser {
    Q_OBJECT

public:
    using ClickReaction = std::function<void(MemoryBrowser& browser, const MemoryClick& click)>;

    explicit MemoryBrowser(QObject* parent = nullptr);
    ~MemoryBrowser() override;

    // Records the address and notifies before-navigate; when a route is set for it, loads
    // that page at the top level (its documents then complete).
    void navigate(QUrl url) override;
    // Writes the scripted content (setDownload) to the file; anything else fails and leaves
    // the file as it was.
    QCoro::Task<DownloadResult> download(QUrl url, QString fileName) override;
    QCoro::Task<QVariant> perform(DomCall call) override;

    // --- Scripting the pages ---

    // What navigate() and a click on a link to `url` load.
    void addRoute(QUrl url, MemoryPage page);
    // navigate() to `url` fails to load: loadFailed(url, reason) follows its before-navigate.
    void setLoadFailure(QUrl url, QString reason);
    // Run when an element with this id is clicked, instead of following its link.
    void setClickReaction(QString elementId, ClickReaction reaction);
    // Shows `page` at the top level ({}) or in an existing frame, and queues its
    // document-complete notifications: frames before the documents that hold them, the
    // loaded document last. Throws Failure when the frame does not exist.
    void load(const FramePath& where, MemoryPage page);
    // Shows no page at all.
    void clear();
    // The shown document of the top level or a frame; nullptr when there is none.
    std::shared_ptr<HtmlDocument> documentAt(const FramePath& frame) const;

    // --- When things happen ---

    // Held notifications wait until holding ends; otherwise each is delivered from a
    // zero-timer of its own, in order. Off at first.
    void setHoldNotifications(bool hold);
    int pendingNotifications() const { return int(m_pending.size()); }
    // Emits one document complete for a shown document now.
    void notifyDocumentComplete(const FramePath& frame);

    // --- Downloads ---

    void setDownload(QUrl url, QByteArray content);
    void setDownloadFailure(QUrl url, QString error);

    // --- What happened ---

    struct DownloadRequest {
        QUrl url;
        QString fileName;
    };
    const std::vector<QUrl>& navigations() const { return m_navigations; }
    const std::vector<MemoryClick>& clicks() const { return m_clicks; }
    const std::vector<DownloadRequest>& downloads() const { return m_downloadRequests; }

private:
    struct Node {
        QUrl url;
        std::shared_ptr<HtmlDocument> document;
        std::vector<Node> frames;
    };
    struct Notification {
        bool beforeNavigate = false;
        FramePath frame;
        QUrl url;
        std::optional<QString> loadFailure;
    };
    struct ScriptedDownload {
        std::optional<QByteArray> content;
        QString error;
    };

    static Node build(const MemoryPage& page);
    static void relinkFrames(Node& node);
    const Node* node(const FramePath& frame) const;
    Node* node(const FramePath& frame);
    void queueCompletions(const FramePath& path, const Node& loaded);
    void queue(Notification notification);
    void pump();
    void emitNotification(const Notification& notification);

    QVariant execute(const DomCall& call);
    ElementPtr resolve(const Node& frame, const DomCall& call, bool lastMayBeMissing) const;
    void click(const DomCall& call, const Node& frame, Element& element);

    bool m_hold = false;
    bool m_pumpScheduled = false;
    std::optional<Node> m_top;
    std::deque<Notification> m_pending;
    std::map<QUrl, MemoryPage> m_routes;
    std::map<QUrl, QString> m_loadFailures;
    std::map<QString, ClickReaction> m_reactions;
    std::map<QUrl, ScriptedDownload> m_scriptedDownloads;
    std::vector<QUrl> m_navigations;
    std::vector<MemoryClick> m_clicks;
    std::vector<DownloadRequest> m_downloadRequests;
};

}  // namespace kestrova
