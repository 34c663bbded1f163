// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/html_document.h"

#include "platform/dom_tree.h"
#include "platform/html_parser.h"

namespace kestrova {

using dom::Node;
using dom::Tree;

ElementPtr ElementList::item(int index) const {
    if (index < 0 || index >= count()) {
        throw Failure(QStringLiteral("Item %1 does not exist: the collection holds %2 items")
                          .arg(index)
                          .arg(count()));
    }
    return m_items[std::size_t(index)];
}

namespace {

QString upper(const Node* n) {
    return n->name().toUpper();
}

std::vector<Node*> elementChildren(const Node* n) {
    std::vector<Node*> out;
    for (Node* c : n->children()) {
        if (c->isElement()) {
            out.push_back(c);
        }
    }
    return out;
}

class HtmlElement final : public Element {
public:
    HtmlElement(std::shared_ptr<Tree> tree, Node* node) : m_tree(std::move(tree)), m_node(node) {}

    QString tagName() const override { return upper(m_node); }

    QString value() const override {
        const QString& n = m_node->name();
        if (n == u"select") {
            std::vector<Node*> options;
            collect(m_node, u"option", options);
            for (Node* o : options) {
                if (o->findAttribute(u"selected")) {
                    return optionValue(o);
                }
            }
            return options.empty() ? QString() : optionValue(options.front());
        }
        if (n == u"option") {
            return optionValue(m_node);
        }
        if (n == u"textarea") {
            return dom::textContent(m_node);
        }
        if (n == u"a" || n == u"area" || n == u"link") {
            return attribute(QStringLiteral("href"));
        }
        return attribute(QStringLiteral("value"));
    }

    void setValue(const QString& value) override {
        const QString& n = m_node->name();
        if (n == u"select") {
            std::vector<Node*> options;
            collect(m_node, u"option", options);
            bool chosen = false;
            for (Node* o : options) {
                o->attributes.removeIf(
                    [](const dom::Attribute& a) { return a.name == u"selected"; });
                if (!chosen && optionValue(o) == value) {
                    o->setAttribute(QStringLiteral("selected"), QString());
                    chosen = true;
                }
            }
        } else if (n == u"textarea") {
            m_tree->removeChildren(m_node);
            if (!value.isEmpty()) {
                m_tree->appendChild(m_node, m_tree->createText(value));
            }
        } else if (n == u"a" || n == u"area" || n == u"link") {
            m_node->setAttribute(QStringLiteral("href"), value);
        } else {
            m_node->setAttribute(QStringLiteral("value"), value);
        }
    }

    QString innerText() const override { return dom::innerText(m_node); }
    QString innerHTML() const override { return dom::serializeChildren(m_node); }

    void setInnerHTML(const QString& html) override {
        std::vector<Node*> nodes = dom::parseFragment(html, m_node->name(), *m_tree);
        m_tree->removeChildren(m_node);
        for (Node* n : nodes) {
            m_tree->appendChild(m_node, n);
        }
    }

    QString outerHTML() const override { return dom::serializeNode(m_node); }

    int childCount() const override { return int(elementChildren(m_node).size()); }

    ElementPtr child(int index) const override {
        const std::vector<Node*> children = elementChildren(m_node);
        if (index < 0 || index >= int(children.size())) {
            throw Failure(QStringLiteral("Child %1 of the %2 element does not exist: it has %3")
                              .arg(index)
                              .arg(tagName())
                              .arg(children.size()));
        }
        return wrap(children[std::size_t(index)]);
    }

    int rowCount() const override { return int(rows().size()); }

    ElementPtr row(int index) const override {
        const std::vector<Node*>& all = rows();
        if (index < 0 || index >= int(all.size())) {
            throw Failure(QStringLiteral("Row %1 of the %2 element does not exist: it has %3")
                              .arg(index)
                              .arg(tagName())
                              .arg(all.size()));
        }
        return wrap(all[std::size_t(index)]);
    }

    int cellCount() const override { return int(cells().size()); }

    ElementPtr cell(int index) const override {
        requireRow();
        int seen = 0;
        for (Node* c : m_node->children()) {
            if (c->isCell() && seen++ == index) {
                return wrap(c);
            }
        }
        throw Failure(
            QStringLiteral("Cell %1 of the row does not exist: it has %2").arg(index).arg(seen));
    }

    int rowSpan() const override {
        bool ok = false;
        const int span = attribute(QStringLiteral("rowspan")).trimmed().toInt(&ok);
        return ok && span > 0 ? span : 1;
    }

    QString attribute(const QString& name) const override {
        const QString* v = m_node->findAttribute(name.toLower());
        return v ? *v : QString();
    }
    void setAttribute(const QString& name, const QString& value) override {
        m_node->setAttribute(name.toLower(), value);
    }

private:
    ElementPtr wrap(Node* n) const { return std::make_shared<HtmlElement>(m_tree, n); }

    const std::vector<Node*>& rows() const {
        if (!m_node->is(dom::Tag::Table) && !m_node->isSection()) {
            throw Failure(
                QStringLiteral("The %1 element is not a table: it has no rows").arg(tagName()));
        }
        return m_tree->rows(m_node);
    }

    void requireRow() const {
        if (!m_node->is(dom::Tag::Tr)) {
            throw Failure(QStringLiteral("The %1 element is not a table row: it has no cells")
                              .arg(tagName()));
        }
    }

    std::vector<Node*> cells() const {
        requireRow();
        std::vector<Node*> out;
        for (Node* c : m_node->children()) {
            if (c->isCell()) {
                out.push_back(c);
            }
        }
        return out;
    }

    static void collect(const Node* root, QStringView tag, std::vector<Node*>& out) {
        for (Node* c : root->children()) {
            if (c->is(tag)) {
                out.push_back(c);
            }
            collect(c, tag, out);
        }
    }

    static QString optionValue(const Node* option) {
        const QString* v = option->findAttribute(u"value");
        return v ? *v : dom::innerText(option);
    }

    std::shared_ptr<Tree> m_tree;
    Node* m_node;
};

class HtmlStyleSheet final : public StyleSheet {
public:
    HtmlStyleSheet(std::shared_ptr<Tree> tree, Node* style)
        : m_tree(std::move(tree)), m_style(style) {}

    void addRule(const QString& selector, const QString& declarations) override {
        m_tree->appendChild(m_style,
                            m_tree->createText(selector + u" { " + declarations + u" }\n"));
    }

private:
    std::shared_ptr<Tree> m_tree;
    Node* m_style;
};

// Every element of the tree in document order that matches. The walk follows the node links
// instead of keeping a stack: a page of a million rows has some fourteen million nodes.
template <typename Match>
ElementList findAll(const std::shared_ptr<Tree>& tree, Match match) {
    std::vector<ElementPtr> found;
    const Node* root = tree->document();
    const Node* n = root;
    while (n != nullptr) {
        if (n->isElement() && match(n)) {
            found.push_back(std::make_shared<HtmlElement>(tree, const_cast<Node*>(n)));
        }
        if (n->firstChild != nullptr) {
            n = n->firstChild;
            continue;
        }
        while (n != root && n->nextSibling == nullptr) {
            n = n->parent;
        }
        n = n == root ? nullptr : n->nextSibling;
    }
    return ElementList(std::move(found));
}

const QString kBlankPage = QStringLiteral("<html><head></head><body></body></html>");

}  // namespace

HtmlDocument::HtmlDocument() : m_tree(dom::parseDocument(kBlankPage)) {}

HtmlDocument::HtmlDocument(const QString& html) : m_tree(dom::parseDocument(html)) {}

HtmlDocument::~HtmlDocument() = default;

ElementPtr HtmlDocument::elementById(const QString& id) const {
    ElementList found = findAll(m_tree, [&id](const Node* n) {
        const QString* v = n->findAttribute(u"id");
        return v && *v == id;
    });
    return found.isEmpty() ? nullptr : found.item(0);
}

ElementList HtmlDocument::elementsByName(const QString& name) const {
    return findAll(m_tree, [&name](const Node* n) {
        const QString* v = n->findAttribute(u"name");
        return v && *v == name;
    });
}

ElementList HtmlDocument::elementsByTagName(const QString& tagName) const {
    const QString lower = tagName.toLower();
    if (lower == u"*") {
        return findAll(m_tree, [](const Node*) { return true; });
    }
    dom::Tag tag = dom::Tag::Other;
    if (dom::findTagName(lower, &tag) == nullptr || tag == dom::Tag::Other) {
        return findAll(m_tree, [&lower](const Node* n) { return n->name() == lower; });
    }
    // A known tag: compare its id, not its name.
    return findAll(m_tree, [&lower, tag](const Node* n) {
        return n->tag == tag || (n->tag == dom::Tag::Other && n->data == lower);
    });
}

int HtmlDocument::frameCount() const {
    return int(m_frames.size());
}

DocumentPtr HtmlDocument::frame(int index) const {
    if (index < 0 || index >= frameCount()) {
        throw Failure(QStringLiteral("Frame %1 does not exist: the page has %2 frames")
                          .arg(index)
                          .arg(frameCount()));
    }
    return m_frames[std::size_t(index)];
}

ElementPtr HtmlDocument::documentElement() const {
    Node* html = m_tree->documentElement();
    if (html == nullptr) {
        throw Failure(QStringLiteral("The document has no root element"));
    }
    return std::make_shared<HtmlElement>(m_tree, html);
}

StyleSheetPtr HtmlDocument::createStyleSheet() {
    Node* html = m_tree->documentElement();
    if (html == nullptr) {
        throw Failure(QStringLiteral("The document has no root element"));
    }
    Node* head = nullptr;
    for (Node* c : html->children()) {
        if (c->is(u"head")) {
            head = c;
            break;
        }
    }
    if (head == nullptr) {
        head = m_tree->createElement(QStringLiteral("head"));
        m_tree->insertBefore(html, head, html->firstChild);
    }
    Node* style = m_tree->createElement(QStringLiteral("style"));
    style->setAttribute(QStringLiteral("type"), QStringLiteral("text/css"));
    m_tree->appendChild(head, style);
    return std::make_shared<HtmlStyleSheet>(m_tree, style);
}

QString HtmlDocument::outerHTML() const {
    return documentElement()->outerHTML();
}

void HtmlDocument::setFrames(std::vector<DocumentPtr> frames) {
    m_frames = std::move(frames);
}

}  // namespace kestrova
