// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/browser.h"

namespace kestrova {

namespace {

QString operationName(DomOperation operation) {
    switch (operation) {
        case DomOperation::Exists:
            return QStringLiteral("Looking up");
        case DomOperation::Count:
            return QStringLiteral("Counting");
        case DomOperation::FrameCount:
            return QStringLiteral("Counting the frames of");
        case DomOperation::Url:
            return QStringLiteral("Reading the address of");
        case DomOperation::TagName:
            return QStringLiteral("Reading the tag name of");
        case DomOperation::Value:
            return QStringLiteral("Reading the value of");
        case DomOperation::SetValue:
            return QStringLiteral("Setting the value of");
        case DomOperation::Click:
            return QStringLiteral("Clicking");
        case DomOperation::InnerText:
            return QStringLiteral("Reading the text of");
        case DomOperation::InnerHTML:
            return QStringLiteral("Reading the inner mark-up of");
        case DomOperation::OuterHTML:
            return QStringLiteral("Reading the mark-up of");
        case DomOperation::ChildCount:
            return QStringLiteral("Counting the children of");
        case DomOperation::RowCount:
            return QStringLiteral("Counting the rows of");
        case DomOperation::CellCount:
            return QStringLiteral("Counting the cells of");
        case DomOperation::Attribute:
            return QStringLiteral("Reading an attribute of");
    }
    return QStringLiteral("Using");
}

QCoro::Task<QVariant> run(QPointer<Browser> browser, DomCall call) {
    if (!browser) {
        throw failedCall(call, QStringLiteral("the browser is closed"));
    }
    co_return co_await browser->perform(std::move(call));
}

QCoro::Task<QString> textOf(QPointer<Browser> browser, DomCall call) {
    const QVariant value = co_await run(std::move(browser), std::move(call));
    co_return value.toString();
}

QCoro::Task<int> numberOf(QPointer<Browser> browser, DomCall call) {
    const QVariant value = co_await run(std::move(browser), std::move(call));
    co_return value.toInt();
}

QCoro::Task<> perform(QPointer<Browser> browser, DomCall call) {
    co_await run(std::move(browser), std::move(call));
}

QCoro::Task<LiveElement> existing(QPointer<Browser> browser, FramePath frame,
                                  ElementLocator locator) {
    DomCall request{frame, locator, DomOperation::Exists, {}};
    const QVariant exists = co_await run(browser, std::move(request));
    if (!exists.toBool()) {
        throw missingElement(DomCall{frame, locator, DomOperation::Exists, {}}, locator.size() - 1);
    }
    co_return LiveElement(std::move(browser), std::move(frame), std::move(locator));
}

QCoro::Task<QUrl> urlOf(QPointer<Browser> browser, DomCall call) {
    const QString text = co_await textOf(std::move(browser), std::move(call));
    co_return QUrl(text);
}

QCoro::Task<std::optional<LiveElement>> optionalElement(QPointer<Browser> browser, FramePath frame,
                                                        ElementLocator locator) {
    DomCall request{frame, locator, DomOperation::Exists, {}};
    const QVariant exists = co_await run(browser, std::move(request));
    if (!exists.toBool()) {
        co_return std::nullopt;
    }
    co_return LiveElement(std::move(browser), std::move(frame), std::move(locator));
}

QCoro::Task<std::vector<LiveElement>> elementsOf(QPointer<Browser> browser, FramePath frame,
                                                 ElementStep first) {
    // Built outside the co_await: g++ 12 rejects a braced list inside its operand.
    DomCall call{frame, ElementLocator(1, first), DomOperation::Count, {}};
    const QVariant count = co_await run(browser, std::move(call));
    std::vector<LiveElement> items;
    for (int i = 0; i < count.toInt(); ++i) {
        ElementStep item = first;
        item.index = i;
        items.emplace_back(browser, frame, ElementLocator(1, item));
    }
    co_return items;
}

QCoro::Task<LiveDocument> existingFrame(QPointer<Browser> browser, FramePath path) {
    DomCall request{path, {}, DomOperation::Exists, {}};
    const QVariant exists = co_await run(browser, std::move(request));
    if (!exists.toBool()) {
        throw missingFrame(path, path.size() - 1);
    }
    co_return LiveDocument(std::move(browser), std::move(path));
}

QCoro::Task<std::optional<LiveDocument>> topDocument(QPointer<Browser> browser) {
    DomCall request{{}, {}, DomOperation::Exists, {}};
    const QVariant exists = co_await run(browser, std::move(request));
    if (!exists.toBool()) {
        co_return std::nullopt;
    }
    co_return LiveDocument(std::move(browser), {});
}

}  // namespace

QString describeFrame(const FramePath& path) {
    if (path.empty()) {
        return QStringLiteral("the top document");
    }
    QString text;
    for (int index : path) {
        if (!text.isEmpty()) {
            text += u'.';
        }
        text += QStringLiteral("frames[%1]").arg(index);
    }
    return text;
}

QString describeLocator(const ElementLocator& locator) {
    if (locator.empty()) {
        return QStringLiteral("the document");
    }
    QStringList parts;
    for (const ElementStep& step : locator) {
        switch (step.kind) {
            case ElementStep::Kind::Id:
                parts << QStringLiteral("element \"%1\"").arg(step.key);
                break;
            case ElementStep::Kind::Name:
                parts << QStringLiteral("element named \"%1\" (item %2)")
                             .arg(step.key)
                             .arg(step.index);
                break;
            case ElementStep::Kind::TagName:
                parts << QStringLiteral("%1 element (item %2)")
                             .arg(step.key.toUpper())
                             .arg(step.index);
                break;
            case ElementStep::Kind::DocumentElement:
                parts << QStringLiteral("document element");
                break;
            case ElementStep::Kind::Child:
                parts << QStringLiteral("child %1").arg(step.index);
                break;
            case ElementStep::Kind::Row:
                parts << QStringLiteral("row %1").arg(step.index);
                break;
            case ElementStep::Kind::Cell:
                parts << QStringLiteral("cell %1").arg(step.index);
                break;
        }
    }
    return parts.join(QStringLiteral(", "));
}

QString describeCall(const DomCall& call) {
    return QStringLiteral("%1 %2 in %3")
        .arg(operationName(call.operation), describeLocator(call.element),
             describeFrame(call.frame));
}

Failure missingFrame(const FramePath& frame, std::size_t depth) {
    const FramePath parent(frame.begin(), frame.begin() + std::ptrdiff_t(depth));
    return Failure(QStringLiteral("Frame %1 of %2 does not exist")
                       .arg(frame.at(depth))
                       .arg(describeFrame(parent)));
}

Failure missingElement(const DomCall& call, std::size_t step) {
    const ElementLocator reached(call.element.begin(),
                                 call.element.begin() + std::ptrdiff_t(step) + 1);
    return Failure(QStringLiteral("There is no %1 in %2")
                       .arg(describeLocator(reached), describeFrame(call.frame)));
}

QString downloadTooLarge(qint64 limit) {
    return QStringLiteral("the file is larger than %1 MB").arg(limit >> 20);
}

Failure failedCall(const DomCall& call, const QString& reason) {
    return Failure(describeCall(call) + QStringLiteral(" failed: ") + reason);
}

LiveElement::LiveElement(QPointer<Browser> browser, FramePath frame, ElementLocator locator)
    : m_browser(std::move(browser)), m_frame(std::move(frame)), m_locator(std::move(locator)) {}

QString LiveElement::description() const {
    return describeLocator(m_locator) + QStringLiteral(" in ") + describeFrame(m_frame);
}

DomCall LiveElement::makeCall(DomOperation operation, QString argument) const {
    return DomCall{m_frame, m_locator, operation, std::move(argument)};
}

QCoro::Task<QString> LiveElement::tagName() const {
    return textOf(m_browser, makeCall(DomOperation::TagName));
}
QCoro::Task<QString> LiveElement::value() const {
    return textOf(m_browser, makeCall(DomOperation::Value));
}
QCoro::Task<> LiveElement::setValue(QString value) const {
    return perform(m_browser, makeCall(DomOperation::SetValue, std::move(value)));
}
QCoro::Task<> LiveElement::click() const {
    return perform(m_browser, makeCall(DomOperation::Click));
}
QCoro::Task<QString> LiveElement::innerText() const {
    return textOf(m_browser, makeCall(DomOperation::InnerText));
}
QCoro::Task<QString> LiveElement::innerHTML() const {
    return textOf(m_browser, makeCall(DomOperation::InnerHTML));
}
QCoro::Task<QString> LiveElement::outerHTML() const {
    return textOf(m_browser, makeCall(DomOperation::OuterHTML));
}
QCoro::Task<QString> LiveElement::attribute(QString name) const {
    return textOf(m_browser, makeCall(DomOperation::Attribute, std::move(name)));
}
QCoro::Task<int> LiveElement::childCount() const {
    return numberOf(m_browser, makeCall(DomOperation::ChildCount));
}
QCoro::Task<int> LiveElement::rowCount() const {
    return numberOf(m_browser, makeCall(DomOperation::RowCount));
}
QCoro::Task<int> LiveElement::cellCount() const {
    return numberOf(m_browser, makeCall(DomOperation::CellCount));
}
QCoro::Task<LiveElement> LiveElement::child(int index) const {
    return step(ElementStep::Kind::Child, index);
}
QCoro::Task<LiveElement> LiveElement::row(int index) const {
    return step(ElementStep::Kind::Row, index);
}
QCoro::Task<LiveElement> LiveElement::cell(int index) const {
    return step(ElementStep::Kind::Cell, index);
}

QCoro::Task<LiveElement> LiveElement::step(ElementStep::Kind kind, int index) const {
    ElementLocator locator = m_locator;
    locator.push_back(ElementStep{kind, {}, index});
    return existing(m_browser, m_frame, std::move(locator));
}

LiveDocument::LiveDocument(QPointer<Browser> browser, FramePath frame)
    : m_browser(std::move(browser)), m_frame(std::move(frame)) {}

QCoro::Task<QUrl> LiveDocument::url() const {
    return urlOf(m_browser, DomCall{m_frame, {}, DomOperation::Url, {}});
}

QCoro::Task<std::optional<LiveElement>> LiveDocument::elementById(QString id) const {
    return optionalElement(m_browser, m_frame,
                           ElementLocator{ElementStep{ElementStep::Kind::Id, std::move(id), 0}});
}

QCoro::Task<LiveElement> LiveDocument::requiredElement(QString id) const {
    return existing(m_browser, m_frame,
                    ElementLocator(1, ElementStep{ElementStep::Kind::Id, std::move(id), 0}));
}

QCoro::Task<std::vector<LiveElement>> LiveDocument::elementsByName(QString name) const {
    return collection(ElementStep::Kind::Name, std::move(name));
}

QCoro::Task<std::vector<LiveElement>> LiveDocument::elementsByTagName(QString tagName) const {
    return collection(ElementStep::Kind::TagName, std::move(tagName));
}

QCoro::Task<std::vector<LiveElement>> LiveDocument::collection(ElementStep::Kind kind,
                                                               QString key) const {
    return elementsOf(m_browser, m_frame, ElementStep{kind, std::move(key), 0});
}

QCoro::Task<int> LiveDocument::frameCount() const {
    return numberOf(m_browser, DomCall{m_frame, {}, DomOperation::FrameCount, {}});
}

QCoro::Task<LiveDocument> LiveDocument::frame(int index) const {
    FramePath path = m_frame;
    path.push_back(index);
    return existingFrame(m_browser, std::move(path));
}

LiveElement LiveDocument::documentElement() const {
    return LiveElement(m_browser, m_frame,
                       {ElementStep{ElementStep::Kind::DocumentElement, {}, 0}});
}

Browser::~Browser() = default;

QCoro::Task<std::optional<LiveDocument>> Browser::document() {
    return topDocument(QPointer<Browser>(this));
}

LiveDocument Browser::documentOf(const FrameHandle& frame) {
    return LiveDocument(QPointer<Browser>(this), frame.path());
}

}  // namespace kestrova
