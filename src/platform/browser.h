// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The asynchronous browser that the grab drives through the provider's portal.
//
// Every operation on the page is a coroutine to co_await: the live browser answers from the
// browser engine's own event loop, and nothing here ever spins a nested one. Documents and
// elements are handles (LiveDocument, LiveElement) that hold a frame path and a way to find
// the element, and find it again on every call: no handle keeps a page alive across a
// navigation, and a handle whose frame or element has gone makes its next call throw Failure.
//
// Notifications (documentComplete, beforeNavigate) are signals delivered from the event loop,
// never from inside an operation; they may arrive while a coroutine of the receiver is
// suspended in an operation or a wait.
//
// Coroutine parameters are taken by value: a task may outlive its caller's temporaries.
// (g++ 12 also rejects braced lists such as FramePath{2, 1} inside a coroutine body, "array
// used as initializer": build such values in an ordinary function or a constant.)

#include "platform/failure.h"

#include <QCoroTask>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QVariant>

#include <memory>
#include <optional>
#include <vector>

namespace kestrova {

class Browser;

// Frame indexes from the top document down: {} is the top document, {2, 1} the document of
// frame 1 inside the document of frame 2.
using FramePath = std::vector<int>;

// "the top document", "frames[2].frames[1]".
QString describeFrame(const FramePath& path);

// The browser object a document-complete notification is about: the top-level browser or one
// of its frames. Compare with Browser::topLevel().
class FrameHandle {
public:
    FrameHandle() = default;
    explicit FrameHandle(FramePath path) : m_path(std::move(path)) {}

    const FramePath& path() const { return m_path; }
    bool isTopLevel() const { return m_path.empty(); }

    friend bool operator==(const FrameHandle&, const FrameHandle&) = default;

private:
    FramePath m_path;
};

// One step on the way to an element. The first step finds it in the document (Id, Name and
// TagName with the item index, DocumentElement); later steps go down (Child, Row, Cell by
// index).
struct ElementStep {
    enum class Kind { Id, Name, TagName, DocumentElement, Child, Row, Cell };
    Kind kind = Kind::Id;
    QString key;    // Id, Name, TagName
    int index = 0;  // Name, TagName, Child, Row, Cell

    friend bool operator==(const ElementStep&, const ElementStep&) = default;
};
using ElementLocator = std::vector<ElementStep>;

// `element "x"`, `elements named "SWEForm2_0" item 0, child 0, row 1`.
QString describeLocator(const ElementLocator& locator);

// What a DOM call does. All but Exists throw Failure when the frame or the element is missing.
enum class DomOperation {
    Exists,      // bool: whether the last step (or, without steps, the last frame) exists
    Count,       // int: how many elements the last step (Name or TagName) matches
    FrameCount,  // int: frames of the document
    Url,         // text: the document's address
    TagName,     // text, upper case
    Value,       // text: form fields and drop-downs their value, links their target address
    SetValue,    // argument: the value
    Click,
    InnerText,
    InnerHTML,
    OuterHTML,
    ChildCount,  // int: child elements
    RowCount,    // int: rows of a table
    CellCount,   // int: cells of a row
    Attribute,   // text (empty when absent); argument: the attribute's name
};

struct DomCall {
    FramePath frame;
    ElementLocator element;  // empty: the document itself
    DomOperation operation = DomOperation::Exists;
    QString argument;
};

// "Reading the value of element "x" in frames[2].frames[1]".
QString describeCall(const DomCall& call);

// The failures every Browser reports in the same words.
// frame[depth] does not exist (depth counts from 0).
Failure missingFrame(const FramePath& frame, std::size_t depth);
// call.element[step] found nothing.
Failure missingElement(const DomCall& call, std::size_t step);
// Anything else: "<describeCall> failed: <reason>".
Failure failedCall(const DomCall& call, const QString& reason);

struct DownloadResult {
    bool completed = false;  // the whole file was received and is in place
    QString error;           // why the transfer failed; empty when completed
};

// Why a download beyond `limit` bytes failed: "the file is larger than 64 MB".
QString downloadTooLarge(qint64 limit);

// An element of a page shown in a Browser, found again on every call.
class LiveElement {
public:
    LiveElement() = default;  // refers to nothing: every call throws Failure
    LiveElement(QPointer<Browser> browser, FramePath frame, ElementLocator locator);

    const FramePath& frame() const { return m_frame; }
    const ElementLocator& locator() const { return m_locator; }
    QString description() const;

    QCoro::Task<QString> tagName() const;
    // Form fields and drop-downs: their value; a link: its target address (absolute).
    QCoro::Task<QString> value() const;
    QCoro::Task<> setValue(QString value) const;
    QCoro::Task<> click() const;
    QCoro::Task<QString> innerText() const;
    QCoro::Task<QString> innerHTML() const;
    QCoro::Task<QString> outerHTML() const;
    // Empty text when the attribute is absent.
    QCoro::Task<QString> attribute(QString name) const;

    // Children are elements only. child(), row() and cell() throw Failure when there is no
    // such item.
    QCoro::Task<int> childCount() const;
    QCoro::Task<LiveElement> child(int index) const;
    QCoro::Task<int> rowCount() const;
    QCoro::Task<LiveElement> row(int index) const;
    QCoro::Task<int> cellCount() const;
    QCoro::Task<LiveElement> cell(int index) const;

private:
    QCoro::Task<LiveElement> step(ElementStep::Kind kind, int index) const;
    DomCall makeCall(DomOperation operation, QString argument = {}) const;

    QPointer<Browser> m_browser;
    FramePath m_frame;
    ElementLocator m_locator;
};

// The document of the top level or of a frame of a page shown in a Browser.
class LiveDocument {
public:
    LiveDocument() = default;  // refers to nothing: every call throws Failure
    LiveDocument(QPointer<Browser> browser, FramePath frame);

    const FramePath& framePath() const { return m_frame; }
    FrameHandle frameHandle() const { return FrameHandle(m_frame); }

    QCoro::Task<QUrl> url() const;
    // Nothing when no element has that id.
    QCoro::Task<std::optional<LiveElement>> elementById(QString id) const;
    // The element with that id, for a caller that cannot go on without it: throws Failure
    // when there is none.
    QCoro::Task<LiveElement> requiredElement(QString id) const;
    QCoro::Task<std::vector<LiveElement>> elementsByName(QString name) const;
    // Matched without regard to case; "*" matches every element.
    QCoro::Task<std::vector<LiveElement>> elementsByTagName(QString tagName) const;
    QCoro::Task<int> frameCount() const;
    // Throws Failure when the document has no frame `index`.
    QCoro::Task<LiveDocument> frame(int index) const;
    // The <html> element, found when it is used.
    LiveElement documentElement() const;

private:
    QCoro::Task<std::vector<LiveElement>> collection(ElementStep::Kind kind, QString key) const;

    QPointer<Browser> m_browser;
    FramePath m_frame;
};

class Browser : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~Browser() override;

    // The notifying object of a notification about the top level.
    static FrameHandle topLevel() { return {}; }

    // Starts loading `url` at the top level and returns at once.
    virtual void navigate(QUrl url) = 0;

    // The top-level document, or nothing when the browser shows no page.
    QCoro::Task<std::optional<LiveDocument>> document();
    // The document of the object a notification named; not checked until it is used.
    LiveDocument documentOf(const FrameHandle& frame);

    // Fetches `url` with the browser's own session (its cookies) into `fileName`, replacing
    // the file only once the whole of it has arrived; on a failure the file stays as it was.
    virtual QCoro::Task<DownloadResult> download(QUrl url, QString fileName) = 0;
    // The most bytes a download may bring: a larger file (or an endless one) fails with
    // downloadTooLarge() once it passes the limit, and nothing of it is left. 0 (the default)
    // sets no limit.
    void setDownloadLimit(qint64 bytes) { m_downloadLimit = bytes; }
    qint64 downloadLimit() const { return m_downloadLimit; }

    // One operation on the page; LiveDocument and LiveElement are written on it. Throws
    // Failure with a description when the frame or element is missing or the page does not
    // answer.
    virtual QCoro::Task<QVariant> perform(DomCall call) = 0;

Q_SIGNALS:
    // A document finished loading: a frame's (children before their parents) or the top
    // level's (after all its frames).
    void documentComplete(const kestrova::FrameHandle& frame, const QUrl& url);
    void beforeNavigate(const QUrl& url, bool topLevel);
    // The top level's page could not be loaded: the host refused the connection or could not
    // be found, the connection broke, a certificate was refused, or the server answered with
    // an error status. `reason` says why, in words for the user. A load that a newer
    // navigation stopped is no failure.
    void loadFailed(const QUrl& url, const QString& reason);

private:
    qint64 m_downloadLimit = 0;
};

}  // namespace kestrova
