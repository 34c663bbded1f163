// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/dom_tree.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

namespace kestrova::dom {

const QString* Node::findAttribute(QStringView attributeName) const {
    for (const Attribute& a : attributes) {
        if (a.name == attributeName) {
            return &a.value;
        }
    }
    return nullptr;
}

void Node::setAttribute(const QString& attributeName, const QString& value) {
    for (Attribute& a : attributes) {
        if (a.name == attributeName) {
            a.value = value;
            return;
        }
    }
    attributes.push_back({attributeName, value});
}

void AttributeList::reserve(std::size_t capacity) {
    if (capacity <= (m_block ? m_block->capacity : 0)) {
        return;
    }
    auto* block =
        static_cast<Header*>(::operator new(sizeof(Header) + capacity * sizeof(Attribute)));
    block->size = 0;
    block->capacity = std::uint32_t(capacity);
    auto* moved = reinterpret_cast<Attribute*>(block + 1);
    for (std::size_t i = 0; i < size(); ++i) {
        new (&moved[i]) Attribute(std::move(items()[i]));
        ++block->size;
    }
    release();
    m_block = block;
}

void AttributeList::push_back(Attribute attribute) {
    const std::size_t capacity = m_block ? m_block->capacity : 0;
    if (size() == capacity) {
        reserve(capacity == 0 ? 2 : capacity * 2);
    }
    new (&items()[size()]) Attribute(std::move(attribute));
    ++m_block->size;
}

void AttributeList::clear() {
    for (Attribute& a : *this) {
        a.~Attribute();
    }
    if (m_block) {
        m_block->size = 0;
    }
}

void AttributeList::release() {
    if (m_block) {
        clear();
        ::operator delete(m_block);
        m_block = nullptr;
    }
}

Tree::Tree() {
    m_document = createNode(NodeKind::Document);
}

Tree::~Tree() {
    for (std::size_t b = 0; b < m_blocks.size(); ++b) {
        const std::size_t used = b + 1 == m_blocks.size() ? m_used : m_blocks[b].capacity;
        for (std::size_t i = 0; i < used; ++i) {
            m_blocks[b].nodes[i].~Node();
        }
        freeBlock(m_blocks[b]);
    }
}

void Tree::addBlock() {
    const std::size_t largest = kLargestBlockBytes / sizeof(Node);
    const std::size_t capacity =
        m_blocks.empty() ? kFirstBlockNodes : std::min(m_blocks.back().capacity * 2, largest);
    m_blocks.reserve(m_blocks.size() + 1);
    m_blocks.push_back({static_cast<Node*>(::operator new(capacity * sizeof(Node))), capacity});
    m_used = 0;
}

void Tree::freeBlock(const Block& block) {
    ::operator delete(block.nodes);
}

Node* Tree::createNode(NodeKind kind) {
    if (m_blocks.empty() || m_used == m_blocks.back().capacity) {
        addBlock();
    }
    Node* node = new (&m_blocks.back().nodes[m_used++]) Node;
    node->kind = kind;
    return node;
}

Node* Tree::createElement(const QString& lowerName) {
    Node* node = createNode(NodeKind::Element);
    Tag tag = Tag::Other;
    if (findTagName(lowerName, &tag)) {
        node->tag = tag;
    } else {
        node->data = lowerName;
    }
    return node;
}

Node* Tree::createElement(const QString& internedName, Tag tag) {
    Node* node = createNode(NodeKind::Element);
    node->tag = tag;
    if (tag == Tag::Other) {
        node->data = internedName;
    }
    return node;
}

Node* Tree::createText(const QString& text) {
    Node* node = createNode(NodeKind::Text);
    node->data = text;
    return node;
}

void Tree::appendChild(Node* parent, Node* child) {
    if (child->kind == NodeKind::Text && parent->lastChild &&
        parent->lastChild->kind == NodeKind::Text) {
        parent->lastChild->data += child->data;
        return;
    }
    child->parent = parent;
    child->nextSibling = nullptr;
    child->prevSibling = parent->lastChild;
    if (parent->lastChild) {
        parent->lastChild->nextSibling = child;
    } else {
        parent->firstChild = child;
    }
    parent->lastChild = child;
    childrenChanged(parent);
}

void Tree::insertBefore(Node* parent, Node* child, Node* reference) {
    if (reference == nullptr) {
        appendChild(parent, child);
        return;
    }
    Node* before = reference->prevSibling;
    if (child->kind == NodeKind::Text && before && before->kind == NodeKind::Text) {
        before->data += child->data;
        return;
    }
    child->parent = parent;
    child->prevSibling = before;
    child->nextSibling = reference;
    reference->prevSibling = child;
    if (before) {
        before->nextSibling = child;
    } else {
        parent->firstChild = child;
    }
    childrenChanged(parent);
}

void Tree::removeChildren(Node* parent) {
    for (Node* child = parent->firstChild; child;) {
        Node* next = child->nextSibling;
        child->parent = nullptr;
        child->nextSibling = nullptr;
        child->prevSibling = nullptr;
        child = next;
    }
    parent->firstChild = nullptr;
    parent->lastChild = nullptr;
    childrenChanged(parent);
}

Node* Tree::documentElement() const {
    for (Node* child : m_document->children()) {
        if (child->is(u"html")) {
            return child;
        }
    }
    return nullptr;
}

Node* Tree::findFirst(const Node* root, QStringView lowerTag) const {
    std::vector<const Node*> stack{root};
    while (!stack.empty()) {
        const Node* node = stack.back();
        stack.pop_back();
        if (node->is(lowerTag)) {
            return const_cast<Node*>(node);
        }
        for (Node* c = node->lastChild; c; c = c->prevSibling) {
            stack.push_back(c);
        }
    }
    return nullptr;
}

const std::vector<Node*>& Tree::rows(const Node* tableOrSection) {
    auto found = m_rows.find(tableOrSection);
    if (found != m_rows.end()) {
        return found->second;
    }
    std::vector<Node*> rows;
    auto addRowsOf = [&rows](const Node* section) {
        for (Node* child : section->children()) {
            if (child->is(Tag::Tr)) {
                rows.push_back(child);
            }
        }
    };
    if (tableOrSection->isSection()) {
        addRowsOf(tableOrSection);
    } else {
        for (const Node* child : tableOrSection->children()) {
            if (child->is(Tag::Thead)) {
                addRowsOf(child);
            }
        }
        for (Node* child : tableOrSection->children()) {
            if (child->is(Tag::Tbody)) {
                addRowsOf(child);
            } else if (child->is(Tag::Tr)) {
                rows.push_back(child);
            }
        }
        for (const Node* child : tableOrSection->children()) {
            if (child->is(Tag::Tfoot)) {
                addRowsOf(child);
            }
        }
    }
    return m_rows.emplace(tableOrSection, std::move(rows)).first->second;
}

void Tree::childrenChanged(const Node* parent) {
    // Only the child lists of tables and their sections decide which rows a table has.
    if (!m_rows.empty() && (parent->is(Tag::Table) || parent->isSection())) {
        m_rows.clear();
    }
}

namespace {

struct TagEntry {
    QString name;
    Tag tag;
};

struct TagTable {
    std::vector<std::vector<TagEntry>> byLength = std::vector<std::vector<TagEntry>>(16);
    std::vector<QString> byId = std::vector<QString>(kTagIds);
    std::array<bool, kTagIds> isVoid{};
    std::array<bool, kTagIds> isRawText{};
};

Tag lookupTag(QStringView lowerName, const TagTable& table) {
    if (std::size_t(lowerName.size()) >= table.byLength.size()) {
        return Tag::Other;
    }
    // Names of one length compared character by character in line: this runs for every tag
    // of a page, and a call per comparison showed.
    const char16_t* wanted = lowerName.utf16();
    const qsizetype length = lowerName.size();
    for (const TagEntry& e : table.byLength[std::size_t(length)]) {
        const auto* name = reinterpret_cast<const char16_t*>(e.name.constData());
        qsizetype k = 0;
        while (k < length && name[k] == wanted[k]) {
            ++k;
        }
        if (k == length) {
            return e.tag;
        }
    }
    return Tag::Other;
}

// Interned names grouped by length, so a lookup compares only names of the right length.
const TagTable& tagTable() {
    static const TagTable table = [] {
        TagTable t;
        const std::pair<const char*, Tag> named[] = {{"html", Tag::Html},
                                                     {"head", Tag::Head},
                                                     {"body", Tag::Body},
                                                     {"table", Tag::Table},
                                                     {"tbody", Tag::Tbody},
                                                     {"thead", Tag::Thead},
                                                     {"tfoot", Tag::Tfoot},
                                                     {"tr", Tag::Tr},
                                                     {"td", Tag::Td},
                                                     {"th", Tag::Th},
                                                     {"br", Tag::Br},
                                                     {"pre", Tag::Pre},
                                                     {"textarea", Tag::Textarea}};
        const char* others[] = {
            "title",   "meta",       "link",      "base",     "style",    "script",   "span",
            "b",       "u",          "i",         "em",       "strong",   "font",     "a",
            "small",   "big",        "s",         "strike",   "tt",       "code",     "nobr",
            "div",     "center",     "p",         "form",     "img",      "input",    "hr",
            "select",  "option",     "optgroup",  "label",    "ul",       "ol",       "li",
            "h1",      "h2",         "h3",        "h4",       "h5",       "h6",       "sub",
            "sup",     "abbr",       "wbr",       "frame",    "frameset", "iframe",   "caption",
            "button",  "marquee",    "object",    "applet",   "template", "address",  "article",
            "aside",   "blockquote", "dl",        "dt",       "dd",       "fieldset", "footer",
            "header",  "menu",       "nav",       "section",  "area",     "col",      "colgroup",
            "embed",   "param",      "source",    "track",    "basefont", "keygen",   "xmp",
            "noembed", "noframes",   "plaintext", "noscript", "main"};
        auto add = [&t](const char* name, Tag tag) {
            const QString n = QString::fromLatin1(name);
            t.byLength[std::strlen(name)].push_back({n, tag});
            t.byId[std::size_t(tag)] = n;
        };
        for (const auto& [name, tag] : named) {
            add(name, tag);
        }
        int next = kFirstUnnamedTag;
        for (const char* name : others) {
            add(name, Tag(next++));
        }
        for (std::u16string_view v :
             {u"area", u"base", u"br", u"col", u"embed", u"hr", u"img", u"input", u"link", u"meta",
              u"param", u"source", u"track", u"wbr", u"basefont", u"keygen"}) {
            t.isVoid[std::size_t(lookupTag(QStringView(v), t))] = true;
        }
        for (std::u16string_view v :
             {u"style", u"script", u"xmp", u"iframe", u"noembed", u"noframes", u"plaintext"}) {
            t.isRawText[std::size_t(lookupTag(QStringView(v), t))] = true;
        }
        return t;
    }();
    return table;
}

}  // namespace

const QString* findTagName(QStringView lowerName, Tag* tag) {
    const TagTable& table = tagTable();
    const Tag found = lookupTag(lowerName, table);
    if (found == Tag::Other) {
        return nullptr;
    }
    if (tag) {
        *tag = found;
    }
    return &table.byId[std::size_t(found)];
}

Tag tagOf(QStringView lowerName) {
    return lookupTag(lowerName, tagTable());
}

const QString& tagName(Tag tag) {
    return tagTable().byId[std::size_t(tag)];
}

bool isVoidElement(const Node* element) {
    return element->tag == Tag::Other ? isVoidElement(element->name())
                                      : tagTable().isVoid[std::size_t(element->tag)];
}

bool isRawTextElement(const Node* element) {
    return element->tag == Tag::Other ? isRawTextElement(element->name())
                                      : tagTable().isRawText[std::size_t(element->tag)];
}

QString internTagName(QStringView lowerName) {
    const QString* interned = findTagName(lowerName);
    return interned ? *interned : lowerName.toString();
}

bool isVoidElement(QStringView lowerName) {
    static constexpr std::array<std::u16string_view, 16> kVoid = {
        u"area", u"base", u"br",    u"col",    u"embed", u"hr",  u"img",      u"input",
        u"link", u"meta", u"param", u"source", u"track", u"wbr", u"basefont", u"keygen"};
    return std::any_of(kVoid.begin(), kVoid.end(),
                       [lowerName](std::u16string_view v) { return lowerName == QStringView(v); });
}

bool isRawTextElement(QStringView lowerName) {
    const QStringView n = lowerName;
    return n == u"style" || n == u"script" || n == u"xmp" || n == u"iframe" || n == u"noembed" ||
           n == u"noframes" || n == u"plaintext";
}

bool isHtmlWhitespace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r';
}

}  // namespace kestrova::dom
