// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The mutable node tree behind HtmlDocument. Internal to the platform library (and its tests):
// no other library includes this header.

#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace kestrova::dom {

enum class NodeKind : std::uint8_t { Document, Doctype, Element, Text, Comment };

// Tag ids, so the hot paths compare a byte, not a string. The named ones are those the code
// tests for; every other interned name has an id of its own above kFirstUnnamedTag; names that
// are not interned are Tag::Other.
enum class Tag : std::uint8_t {
    Other,
    Html,
    Head,
    Body,
    Table,
    Tbody,
    Thead,
    Tfoot,
    Tr,
    Td,
    Th,
    Br,
    Pre,
    Textarea
};
constexpr int kFirstUnnamedTag = 14;
constexpr int kTagIds = 256;

// The interned name of a tag id (empty for Tag::Other).
const QString& tagName(Tag tag);

struct Attribute {
    QString name;  // lower case
    QString value;
};

// A node's attributes in one allocation behind one pointer (the count and capacity live in
// the allocation): most nodes have none, and a page of a million rows has some fourteen
// million nodes, so every byte of a node counts.
class AttributeList {
public:
    AttributeList() = default;
    ~AttributeList() { release(); }
    AttributeList(AttributeList&& other) noexcept : m_block(other.m_block) {
        other.m_block = nullptr;
    }
    AttributeList& operator=(AttributeList&& other) noexcept {
        if (this != &other) {
            release();
            m_block = other.m_block;
            other.m_block = nullptr;
        }
        return *this;
    }
    AttributeList(const AttributeList&) = delete;
    AttributeList& operator=(const AttributeList&) = delete;

    Attribute* begin() { return items(); }
    Attribute* end() { return items() + size(); }
    const Attribute* begin() const { return items(); }
    const Attribute* end() const { return items() + size(); }
    std::size_t size() const { return m_block ? m_block->size : 0; }
    bool empty() const { return size() == 0; }

    void reserve(std::size_t capacity);
    void push_back(Attribute attribute);
    // Destroys every attribute; the allocation stays for the next ones.
    void clear();
    template <typename Predicate>
    void removeIf(Predicate remove) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < size(); ++i) {
            if (!remove(items()[i])) {
                if (kept != i) {
                    items()[kept] = std::move(items()[i]);
                }
                ++kept;
            }
        }
        for (std::size_t i = kept; i < size(); ++i) {
            items()[i].~Attribute();
        }
        if (m_block) {
            m_block->size = std::uint32_t(kept);
        }
    }

private:
    struct Header {
        std::uint32_t size;
        std::uint32_t capacity;
    };
    static_assert(sizeof(Header) % alignof(Attribute) == 0, "attributes follow the header");

    Attribute* items() const {
        return m_block ? reinterpret_cast<Attribute*>(m_block + 1) : nullptr;
    }
    void release();

    Header* m_block = nullptr;
};

struct Node {
    NodeKind kind = NodeKind::Element;
    Tag tag = Tag::Other;
    // An element of MathML or SVG: its pre is no HTML pre, whose parser drops a first line feed.
    bool foreign = false;
    // Text and comment: their text. Element: its lower-case name when the tag has no id (the
    // name of a tag with an id comes from the tag table). Doctype: its name.
    QString data;
    AttributeList attributes;  // doctype: "public" and "system" identifiers
    // Children as a list: no allocation per parent, and appending stays O(1).
    Node* parent = nullptr;
    Node* firstChild = nullptr;
    Node* lastChild = nullptr;
    Node* nextSibling = nullptr;
    Node* prevSibling = nullptr;

    struct ChildIterator {
        Node* node;
        Node* operator*() const { return node; }
        ChildIterator& operator++() {
            node = node->nextSibling;
            return *this;
        }
        bool operator!=(const ChildIterator& other) const { return node != other.node; }
    };
    struct Children {
        Node* first;
        ChildIterator begin() const { return {first}; }
        ChildIterator end() const { return {nullptr}; }
    };
    Children children() const { return {firstChild}; }
    bool hasOneChild() const { return firstChild != nullptr && firstChild == lastChild; }

    // Element: its lower-case tag name; doctype: its name.
    const QString& name() const {
        return kind == NodeKind::Element && tag != Tag::Other ? tagName(tag) : data;
    }
    bool isElement() const { return kind == NodeKind::Element; }
    bool is(QStringView lowerName) const {
        return kind == NodeKind::Element && name() == lowerName;
    }
    bool is(Tag t) const { return kind == NodeKind::Element && tag == t; }
    bool isCell() const { return is(Tag::Td) || is(Tag::Th); }
    bool isSection() const { return is(Tag::Tbody) || is(Tag::Thead) || is(Tag::Tfoot); }
    const QString* findAttribute(QStringView attributeName) const;
    void setAttribute(const QString& attributeName, const QString& value);
};

// Kept small on purpose: see AttributeList.
static_assert(sizeof(Node) <= 80, "a node grew");

// Nodes live in chunks owned by the tree and are never freed before the tree, so a node
// detached by innerHTML or a rewrite stays valid for whoever still holds it.
class Tree {
public:
    Tree();
    ~Tree();
    Tree(const Tree&) = delete;
    Tree& operator=(const Tree&) = delete;

    Node* document() const { return m_document; }
    Node* createNode(NodeKind kind);
    Node* createElement(const QString& lowerName);
    Node* createElement(const QString& internedName, Tag tag);
    Node* createText(const QString& text);

    // Appends child (merging adjacent text, as a parser does) and keeps caches right.
    void appendChild(Node* parent, Node* child);
    void insertBefore(Node* parent, Node* child, Node* reference);
    // Detaches every child of parent.
    void removeChildren(Node* parent);

    // The <html> element, or nullptr for a tree without one.
    Node* documentElement() const;
    Node* findFirst(const Node* root, QStringView lowerTag) const;

    // Rows of a table (head rows, then bodies and direct rows, then foot rows) or of a
    // section. Cached: reading row i of a large table in a loop stays linear.
    const std::vector<Node*>& rows(const Node* tableOrSection);

private:
    void childrenChanged(const Node* parent);

    // Nodes come from heap blocks (so AddressSanitizer sees them) that start small, for the
    // blank page and the scratch trees of innerHTML, and double up to 4 MiB: a cache file's
    // records that are not own row text make some thirteen nodes a record. (Asking the kernel
    // for huge pages on the large blocks made large trees slower, not faster: the compaction
    // it sets off cost more than the faults it saves.)
    struct Block {
        Node* nodes;
        std::size_t capacity;
    };
    static constexpr std::size_t kFirstBlockNodes = 32;
    static constexpr std::size_t kLargestBlockBytes = std::size_t(4) << 20;
    void addBlock();
    static void freeBlock(const Block& block);
    std::vector<Block> m_blocks;
    std::size_t m_used = 0;  // nodes made in the last block
    Node* m_document = nullptr;
    std::unordered_map<const Node*, std::vector<Node*>> m_rows;
};

// Interned lower-case names of the tags the program meets, so most elements share one string.
QString internTagName(QStringView lowerName);
// The interned name and its tag id; nullptr when the name is not one of the interned ones.
const QString* findTagName(QStringView lowerName, Tag* tag = nullptr);
Tag tagOf(QStringView lowerName);
bool isVoidElement(const Node* element);
bool isRawTextElement(const Node* element);

bool isVoidElement(QStringView lowerName);
bool isRawTextElement(QStringView lowerName);
bool isHtmlWhitespace(char16_t c);

}  // namespace kestrova::dom
