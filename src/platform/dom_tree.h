#pragma once

// The mutable node tree behind HtmlDocument. Internal to the platform library (and its tests):
// no other library includes this header.

#include <QString>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace kestrova {
class Element;
}

namespace kestrova::dom {

enum class NodeKind : std::uint8_t { Document, Doctype, Element, Text, Comment };

struct Attribute {
    QString name;   // lower case
    QString value;
};

struct Node {
    NodeKind kind = NodeKind::Element;
    QString name;   // element: lower-case tag name; doctype: its name
    QString data;   // text and comment: their text; doctype: public identifier
    QString extra;  // doctype: system identifier
    std::vector<Attribute> attributes;
    Node* parent = nullptr;
    std::vector<Node*> children;

    bool isElement() const { return kind == NodeKind::Element; }
    bool is(QStringView tag) const { return kind == NodeKind::Element && name == tag; }
    const QString* findAttribute(QStringView attributeName) const;
    void setAttribute(const QString& attributeName, const QString& value);
};

// Nodes live in chunks owned by the tree and are never freed before the tree, so a node
// detached by innerHTML or a rewrite stays valid for whoever still holds it.
class Tree {
public:
    Tree();
    Tree(const Tree&) = delete;
    Tree& operator=(const Tree&) = delete;

    Node* document() const { return m_document; }
    Node* createNode(NodeKind kind);
    Node* createElement(const QString& lowerName);
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

    std::function<void(Element&)> clickHandler;

private:
    void childrenChanged(const Node* parent);

    static constexpr std::size_t kChunk = 4096;
    std::vector<std::unique_ptr<Node[]>> m_chunks;
    std::size_t m_used = kChunk;
    Node* m_document = nullptr;
    std::unordered_map<const Node*, std::vector<Node*>> m_rows;
};

// Interned lower-case names of the tags the program meets, so most elements share one string.
QString internTagName(QStringView lowerName);

bool isVoidElement(QStringView lowerName);
bool isRawTextElement(QStringView lowerName);
bool isHtmlWhitespace(char16_t c);

}  // namespace kestrova::dom
