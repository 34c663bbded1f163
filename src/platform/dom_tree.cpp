#include "platform/dom_tree.h"

#include <algorithm>
#include <array>

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

Tree::Tree() { m_document = createNode(NodeKind::Document); }

Node* Tree::createNode(NodeKind kind) {
    if (m_used == kChunk) {
        m_chunks.push_back(std::make_unique<Node[]>(kChunk));
        m_used = 0;
    }
    Node* node = &m_chunks.back()[m_used++];
    node->kind = kind;
    return node;
}

Node* Tree::createElement(const QString& lowerName) {
    Node* node = createNode(NodeKind::Element);
    node->name = internTagName(lowerName);
    return node;
}

Node* Tree::createText(const QString& text) {
    Node* node = createNode(NodeKind::Text);
    node->data = text;
    return node;
}

void Tree::appendChild(Node* parent, Node* child) {
    if (child->kind == NodeKind::Text && !parent->children.empty() &&
        parent->children.back()->kind == NodeKind::Text) {
        parent->children.back()->data += child->data;
        return;
    }
    child->parent = parent;
    parent->children.push_back(child);
    childrenChanged(parent);
}

void Tree::insertBefore(Node* parent, Node* child, Node* reference) {
    auto it = std::find(parent->children.begin(), parent->children.end(), reference);
    if (child->kind == NodeKind::Text && it != parent->children.begin() &&
        (*(it - 1))->kind == NodeKind::Text) {
        (*(it - 1))->data += child->data;
        return;
    }
    child->parent = parent;
    parent->children.insert(it, child);
    childrenChanged(parent);
}

void Tree::removeChildren(Node* parent) {
    for (Node* child : parent->children) {
        child->parent = nullptr;
    }
    parent->children.clear();
    childrenChanged(parent);
}

Node* Tree::documentElement() const {
    for (Node* child : m_document->children) {
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
        for (auto it = node->children.rbegin(); it != node->children.rend(); ++it) {
            stack.push_back(*it);
        }
    }
    return nullptr;
}

static bool isSection(const Node* node) {
    return node->is(u"tbody") || node->is(u"thead") || node->is(u"tfoot");
}

const std::vector<Node*>& Tree::rows(const Node* tableOrSection) {
    auto found = m_rows.find(tableOrSection);
    if (found != m_rows.end()) {
        return found->second;
    }
    std::vector<Node*> rows;
    auto addRowsOf = [&rows](const Node* section) {
        for (Node* child : section->children) {
            if (child->is(u"tr")) {
                rows.push_back(child);
            }
        }
    };
    if (isSection(tableOrSection)) {
        addRowsOf(tableOrSection);
    } else {
        for (const Node* child : tableOrSection->children) {
            if (child->is(u"thead")) {
                addRowsOf(child);
            }
        }
        for (Node* child : tableOrSection->children) {
            if (child->is(u"tbody")) {
                addRowsOf(child);
            } else if (child->is(u"tr")) {
                rows.push_back(child);
            }
        }
        for (const Node* child : tableOrSection->children) {
            if (child->is(u"tfoot")) {
                addRowsOf(child);
            }
        }
    }
    return m_rows.emplace(tableOrSection, std::move(rows)).first->second;
}

void Tree::childrenChanged(const Node* parent) {
    // Only the child lists of tables and their sections decide which rows a table has.
    if (!m_rows.empty() && (parent->is(u"table") || isSection(parent))) {
        m_rows.clear();
    }
}

QString internTagName(QStringView lowerName) {
    static const auto names = [] {
        std::vector<QString> list;
        for (const char* n : {"html", "head", "body", "title", "meta", "link", "style", "script",
                              "table", "tbody", "thead", "tfoot", "tr", "td", "th", "span", "b",
                              "u", "i", "br", "div", "a", "p", "font", "img", "input", "select",
                              "option", "form", "center", "strong", "em", "hr", "frame",
                              "frameset", "iframe", "label", "ul", "ol", "li", "small"}) {
            list.push_back(QString::fromLatin1(n));
        }
        return list;
    }();
    for (const QString& n : names) {
        if (n == lowerName) {
            return n;
        }
    }
    return lowerName.toString();
}

bool isVoidElement(QStringView n) {
    static constexpr std::array<std::u16string_view, 16> kVoid = {
        u"area", u"base", u"br", u"col", u"embed", u"hr", u"img", u"input", u"link", u"meta",
        u"param", u"source", u"track", u"wbr", u"basefont", u"keygen"};
    return std::any_of(kVoid.begin(), kVoid.end(),
                       [n](std::u16string_view v) { return n == QStringView(v); });
}

bool isRawTextElement(QStringView n) {
    return n == u"style" || n == u"script" || n == u"xmp" || n == u"iframe" || n == u"noembed" ||
           n == u"noframes" || n == u"plaintext";
}

bool isHtmlWhitespace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r';
}

}  // namespace kestrova::dom
