// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The browser's document object model as the program uses it: documents made of elements,
// reached by id, name, tag name, frame and child index. HtmlDocument is the in-memory
// implementation.
//
// Lookups that can legitimately find nothing (elementById) return nullptr. Every indexed
// access out of range, and every operation that makes no sense for the element (rows of a
// non-table), throws Failure with a description. Handles stay valid after the document is
// rewritten: they then refer to the detached old content, never to freed memory.

#include "platform/failure.h"

#include <QString>
#include <memory>
#include <vector>

namespace kestrova {

class Element;
class Document;
using ElementPtr = std::shared_ptr<Element>;
using DocumentPtr = std::shared_ptr<Document>;

// A collection read by index from 0, as the DOM's collections are.
class ElementList {
public:
    ElementList() = default;
    explicit ElementList(std::vector<ElementPtr> items) : m_items(std::move(items)) {}

    int count() const { return static_cast<int>(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    // Throws Failure when index is outside 0..count()-1.
    ElementPtr item(int index) const;

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<ElementPtr> m_items;
};

class Element {
public:
    virtual ~Element() = default;

    // Upper-case tag name ("TD", "TABLE").
    virtual QString tagName() const = 0;

    // Form fields and drop-downs: their value; a link: its target address.
    virtual QString value() const = 0;
    virtual void setValue(const QString& value) = 0;

    // The text as a reader sees it: white space collapsed, line breaks for <br> and blocks,
    // tabs between table cells, trimmed at both ends.
    virtual QString innerText() const = 0;
    virtual QString innerHTML() const = 0;
    virtual void setInnerHTML(const QString& html) = 0;
    virtual QString outerHTML() const = 0;

    // Child elements only (text is not counted).
    virtual int childCount() const = 0;
    virtual ElementPtr child(int index) const = 0;

    // Tables: rows of the table in DOM order (head, bodies, foot). Rows: their cells.
    virtual int rowCount() const = 0;
    virtual ElementPtr row(int index) const = 0;
    virtual int cellCount() const = 0;
    virtual ElementPtr cell(int index) const = 0;

    virtual int rowSpan() const = 0;

    // Empty text when the attribute is absent.
    virtual QString attribute(const QString& name) const = 0;
    virtual void setAttribute(const QString& name, const QString& value) = 0;
};

// A style sheet created on a document; its rules are kept in the page's mark-up.
class StyleSheet {
public:
    virtual ~StyleSheet() = default;
    virtual void addRule(const QString& selector, const QString& declarations) = 0;
};
using StyleSheetPtr = std::shared_ptr<StyleSheet>;

class Document {
public:
    virtual ~Document() = default;

    // nullptr when no element has that id.
    virtual ElementPtr elementById(const QString& id) const = 0;
    virtual ElementList elementsByName(const QString& name) const = 0;
    // Matched without regard to case ("Table", "TABLE").
    virtual ElementList elementsByTagName(const QString& tagName) const = 0;

    virtual int frameCount() const = 0;
    // The document shown in frame `index`; throws Failure when there is no such frame.
    virtual DocumentPtr frame(int index) const = 0;

    // The root <html> element.
    virtual ElementPtr documentElement() const = 0;

    virtual StyleSheetPtr createStyleSheet() = 0;

    // The document of this document's window: the same document, reached again.
    virtual Document& windowDocument() { return *this; }
};

}  // namespace kestrova
