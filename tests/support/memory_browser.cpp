// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/memory_browser.h"

#include <QCoroTimer>
#include <QSaveFile>
#include <QTimer>

#include <chrono>

namespace kestrova {

namespace {

// One turn of the event loop, as the live browser's answers take.
QCoro::Task<> nextTurn() {
    co_await QCoro::sleepFor(std::chrono::milliseconds(0));
}

bool isLink(const Element& element) {
    const QString tag = element.tagName();
    return tag == u"A" || tag == u"AREA";
}

Failure missingPage(const DomCall& call) {
    return failedCall(call, QStringLiteral("the browser shows no page"));
}

}  // namespace

MemoryBrowser::MemoryBrowser(QObject* parent) : Browser(parent) {}

MemoryBrowser::~MemoryBrowser() = default;

MemoryBrowser::Node MemoryBrowser::build(const MemoryPage& page) {
    Node node;
    node.url = page.url;
    node.document = std::make_shared<HtmlDocument>(page.html);
    for (const MemoryPage& frame : page.frames) {
        node.frames.push_back(build(frame));
    }
    relinkFrames(node);
    return node;
}

// A document reached through Document::frame() shows what this browser shows.
void MemoryBrowser::relinkFrames(Node& node) {
    std::vector<DocumentPtr> documents;
    for (const Node& frame : node.frames) {
        documents.push_back(frame.document);
    }
    node.document->setFrames(std::move(documents));
}

const MemoryBrowser::Node* MemoryBrowser::node(const FramePath& frame) const {
    if (!m_top) {
        return nullptr;
    }
    const Node* current = &*m_top;
    for (int index : frame) {
        if (index < 0 || index >= int(current->frames.size())) {
            return nullptr;
        }
        current = &current->frames[std::size_t(index)];
    }
    return current;
}

MemoryBrowser::Node* MemoryBrowser::node(const FramePath& frame) {
    return const_cast<Node*>(std::as_const(*this).node(frame));
}

void MemoryBrowser::navigate(QUrl url) {
    m_navigations.push_back(url);
    queue(Notification{true, {}, url, {}});
    if (const auto failure = m_loadFailures.find(url); failure != m_loadFailures.end()) {
        queue(Notification{false, {}, url, failure->second});
        return;
    }
    if (const auto route = m_routes.find(url); route != m_routes.end()) {
        load({}, route->second);
    }
}

void MemoryBrowser::setLoadFailure(QUrl url, QString reason) {
    m_loadFailures.insert_or_assign(std::move(url), std::move(reason));
}

void MemoryBrowser::addRoute(QUrl url, MemoryPage page) {
    m_routes.insert_or_assign(std::move(url), std::move(page));
}

void MemoryBrowser::setClickReaction(QString elementId, ClickReaction reaction) {
    m_reactions.insert_or_assign(std::move(elementId), std::move(reaction));
}

void MemoryBrowser::load(const FramePath& where, MemoryPage page) {
    if (where.empty()) {
        m_top = build(page);
        queueCompletions({}, *m_top);
        return;
    }
    FramePath parentPath(where.begin(), where.end() - 1);
    Node* parent = node(parentPath);
    if (parent == nullptr || where.back() < 0 || where.back() >= int(parent->frames.size())) {
        throw Failure(QStringLiteral("Cannot load %1 into %2: there is no such frame")
                          .arg(page.url.toString(), describeFrame(where)));
    }
    Node& slot = parent->frames[std::size_t(where.back())];
    slot = build(page);
    relinkFrames(*parent);
    queueCompletions(where, slot);
}

void MemoryBrowser::clear() {
    m_top.reset();
}

std::shared_ptr<HtmlDocument> MemoryBrowser::documentAt(const FramePath& frame) const {
    const Node* found = node(frame);
    return found ? found->document : nullptr;
}

void MemoryBrowser::queueCompletions(const FramePath& path, const Node& loaded) {
    for (std::size_t i = 0; i < loaded.frames.size(); ++i) {
        FramePath child = path;
        child.push_back(int(i));
        queueCompletions(child, loaded.frames[i]);
    }
    queue(Notification{false, path, loaded.url, {}});
}

void MemoryBrowser::setHoldNotifications(bool hold) {
    m_hold = hold;
    if (!m_hold && !m_pending.empty() && !m_pumpScheduled) {
        m_pumpScheduled = true;
        QTimer::singleShot(0, this, &MemoryBrowser::pump);
    }
}

void MemoryBrowser::queue(Notification notification) {
    m_pending.push_back(std::move(notification));
    if (!m_hold && !m_pumpScheduled) {
        m_pumpScheduled = true;
        QTimer::singleShot(0, this, &MemoryBrowser::pump);
    }
}

// One notification per turn of the event loop, so whatever the receiver awaits can run
// between two of them.
void MemoryBrowser::pump() {
    m_pumpScheduled = false;
    if (m_hold || m_pending.empty()) {
        return;
    }
    const Notification next = std::move(m_pending.front());
    m_pending.pop_front();
    if (!m_pending.empty()) {
        m_pumpScheduled = true;
        QTimer::singleShot(0, this, &MemoryBrowser::pump);
    }
    emitNotification(next);
}

void MemoryBrowser::notifyDocumentComplete(const FramePath& frame) {
    const Node* found = node(frame);
    if (found == nullptr) {
        throw Failure(
            QStringLiteral("There is no document in %1 to complete").arg(describeFrame(frame)));
    }
    emitNotification(Notification{false, frame, found->url, {}});
}

void MemoryBrowser::emitNotification(const Notification& notification) {
    if (notification.beforeNavigate) {
        Q_EMIT beforeNavigate(notification.url, notification.frame.empty());
    } else if (notification.loadFailure) {
        Q_EMIT loadFailed(notification.url, *notification.loadFailure);
    } else {
        Q_EMIT documentComplete(FrameHandle(notification.frame), notification.url);
    }
}

void MemoryBrowser::setDownload(QUrl url, QByteArray content) {
    m_scriptedDownloads.insert_or_assign(std::move(url), ScriptedDownload{std::move(content), {}});
}

void MemoryBrowser::setDownloadFailure(QUrl url, QString error) {
    m_scriptedDownloads.insert_or_assign(std::move(url),
                                         ScriptedDownload{std::nullopt, std::move(error)});
}

QCoro::Task<DownloadResult> MemoryBrowser::download(QUrl url, QString fileName) {
    QPointer<MemoryBrowser> self(this);
    m_downloadRequests.push_back(DownloadRequest{url, fileName});
    co_await nextTurn();
    if (!self) {
        co_return DownloadResult{false, QStringLiteral("The browser was closed")};
    }
    const auto scripted = m_scriptedDownloads.find(url);
    if (scripted == m_scriptedDownloads.end()) {
        co_return DownloadResult{false, QStringLiteral("Nothing answers at ") + url.toString()};
    }
    if (!scripted->second.content) {
        co_return DownloadResult{false, scripted->second.error};
    }
    if (downloadLimit() > 0 && scripted->second.content->size() > downloadLimit()) {
        co_return DownloadResult{false, downloadTooLarge(downloadLimit())};
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(*scripted->second.content) < 0 ||
        !file.commit()) {
        co_return DownloadResult{false, file.errorString()};
    }
    co_return DownloadResult{true, {}};
}

QCoro::Task<QVariant> MemoryBrowser::perform(DomCall call) {
    QPointer<MemoryBrowser> self(this);
    co_await nextTurn();
    if (!self) {
        throw failedCall(call, QStringLiteral("the browser was closed"));
    }
    co_return execute(call);
}

ElementPtr MemoryBrowser::resolve(const Node& frame, const DomCall& call,
                                  bool lastMayBeMissing) const {
    const ElementLocator& steps = call.element;
    const HtmlDocument& document = *frame.document;
    ElementPtr current;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const ElementStep& step = steps[i];
        ElementPtr next;
        switch (step.kind) {
            case ElementStep::Kind::Id:
                next = document.elementById(step.key);
                break;
            case ElementStep::Kind::Name:
            case ElementStep::Kind::TagName: {
                const ElementList all = step.kind == ElementStep::Kind::Name
                                            ? document.elementsByName(step.key)
                                            : document.elementsByTagName(step.key);
                if (step.index >= 0 && step.index < all.count()) {
                    next = all.item(step.index);
                }
                break;
            }
            default:
                // Only what the grab and the check look elements up by.
                break;
        }
        if (!next) {
            if (lastMayBeMissing && i + 1 == steps.size()) {
                return nullptr;
            }
            throw missingElement(call, i);
        }
        current = std::move(next);
    }
    return current;
}

QVariant MemoryBrowser::execute(const DomCall& call) {
    const bool exists = call.operation == DomOperation::Exists;
    if (!m_top) {
        if (exists && call.frame.empty() && call.element.empty()) {
            return false;
        }
        throw missingPage(call);
    }
    const Node* frame = &*m_top;
    for (std::size_t depth = 0; depth < call.frame.size(); ++depth) {
        const int index = call.frame[depth];
        if (index < 0 || index >= int(frame->frames.size())) {
            if (exists && call.element.empty() && depth + 1 == call.frame.size()) {
                return false;
            }
            throw missingFrame(call.frame, depth);
        }
        frame = &frame->frames[std::size_t(index)];
    }

    if (call.element.empty()) {
        switch (call.operation) {
            case DomOperation::Exists:
                return true;
            case DomOperation::FrameCount:
                return int(frame->frames.size());
            case DomOperation::Url:
                return frame->url.toString();
            default:
                throw failedCall(call, QStringLiteral("it needs an element"));
        }
    }

    if (call.operation == DomOperation::Count) {
        const ElementStep& last = call.element.back();
        if (call.element.size() != 1 ||
            (last.kind != ElementStep::Kind::Name && last.kind != ElementStep::Kind::TagName)) {
            throw failedCall(call, QStringLiteral("it is not a collection"));
        }
        return last.kind == ElementStep::Kind::Name
                   ? frame->document->elementsByName(last.key).count()
                   : frame->document->elementsByTagName(last.key).count();
    }

    const ElementPtr element = resolve(*frame, call, exists);
    switch (call.operation) {
        case DomOperation::Exists:
            return element != nullptr;
        case DomOperation::Value:
            if (isLink(*element) && frame->url.isValid()) {
                return frame->url.resolved(QUrl(element->value())).toString();
            }
            return element->value();
        case DomOperation::SetValue:
            element->setValue(call.argument);
            return true;
        case DomOperation::Click:
            click(call, *frame, *element);
            return true;
        case DomOperation::InnerText:
            return element->innerText();
        default:
            throw failedCall(call, QStringLiteral("it is not an element operation"));
    }
}

void MemoryBrowser::click(const DomCall& call, const Node& frame, Element& element) {
    MemoryClick record{call.frame, element.attribute(QStringLiteral("id")), element.tagName(),
                       describeLocator(call.element)};
    m_clicks.push_back(record);
    if (const auto reaction = m_reactions.find(record.id);
        !record.id.isEmpty() && reaction != m_reactions.end()) {
        // A copy: the reaction may replace itself.
        const ClickReaction react = reaction->second;
        react(*this, record);
        return;
    }
    if (!isLink(element)) {
        return;
    }
    const QUrl target = frame.url.resolved(QUrl(element.attribute(QStringLiteral("href"))));
    const auto route = m_routes.find(target);
    if (route == m_routes.end()) {
        return;
    }
    queue(Notification{true, call.frame, target, {}});
    load(call.frame, route->second);
}

}  // namespace kestrova
