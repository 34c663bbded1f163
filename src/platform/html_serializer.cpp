// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Serialising nodes to mark-up and to reader's text. All walks are iterative, so a page nested
// thousands deep cannot overflow the stack.

#include "platform/html_parser.h"

#include <QVarLengthArray>
#include <algorithm>

namespace kestrova {

namespace {

// Writes straight into the string's buffer: a page of a million rows is some forty million
// small pieces, and QString::append's checks on each one cost more than the copying. The
// string is grown ahead of the writes and cut to what was written when the sink goes.
class Sink {
public:
    explicit Sink(QString& out) : m_out(out), m_size(out.size()) {
        m_capacity = std::max(out.capacity(), m_size);
        m_out.resize(m_capacity);
        m_data = reinterpret_cast<char16_t*>(m_out.data());
    }
    ~Sink() { m_out.resize(m_size); }
    Sink(const Sink&) = delete;
    Sink& operator=(const Sink&) = delete;

    void put(char16_t c) {
        room(1);
        m_data[m_size++] = c;
    }
    void put(QStringView text) {
        room(text.size());
        std::copy_n(text.utf16(), text.size(), m_data + m_size);
        m_size += text.size();
    }
    template <std::size_t N>
    void put(const char16_t (&literal)[N]) {
        put(QStringView(literal, qsizetype(N - 1)));
    }

    // Characters above U+00FF become numeric references: the program's pages declare
    // ISO-8859-1 and are stored one byte per character, so they must stay within it.
    void escaped(QStringView text, bool quotes) {
        qsizetype run = 0;
        for (qsizetype k = 0; k < text.size(); ++k) {
            const char16_t c = text[k].unicode();
            const bool plain = c <= 0xFF && c != u'&' && c != u'<' && c != u'>' && c != 0xA0 &&
                               (!quotes || (c != u'"' && c != u'\''));
            if (plain) {
                continue;
            }
            put(text.sliced(run, k - run));
            if (const QStringView named = namedReference(c); !named.isEmpty()) {
                put(named);
            } else {
                char32_t cp = c;
                if (QChar::isHighSurrogate(c) && k + 1 < text.size() &&
                    QChar::isLowSurrogate(text[k + 1].unicode())) {
                    cp = QChar::surrogateToUcs4(c, text[k + 1].unicode());
                    ++k;
                }
                put(u"&#");
                put(QString::number(uint(cp)));
                put(u';');
            }
            run = k + 1;
        }
        put(text.sliced(run));
    }

private:
    static QStringView namedReference(char16_t c) {
        switch (c) {
            case u'&':
                return u"&amp;";
            case u'<':
                return u"&lt;";
            case u'>':
                return u"&gt;";
            case 0xA0:
                return u"&nbsp;";
            case u'"':
                return u"&quot;";
            case u'\'':
                return u"&#39;";
            default:
                return {};
        }
    }

    void room(qsizetype n) {
        if (m_capacity - m_size < n) {
            m_capacity = std::max(m_capacity * 2, m_size + n + 256);
            m_out.resize(m_capacity);
            m_data = reinterpret_cast<char16_t*>(m_out.data());
        }
    }

    QString& m_out;
    qsizetype m_size;
    qsizetype m_capacity = 0;
    char16_t* m_data = nullptr;
};

}  // namespace

void appendHtmlEscaped(QString& out, QStringView text, bool quotes) {
    Sink(out).escaped(text, quotes);
}

}  // namespace kestrova

namespace kestrova::dom {

namespace {

void openTag(Sink& out, const Node* n) {
    out.put(u'<');
    out.put(n->name());
    for (const Attribute& a : n->attributes) {
        out.put(u' ');
        out.put(a.name);
        out.put(u"=\"");
        out.escaped(a.value, true);
        out.put(u'"');
    }
    out.put(u'>');
}

void appendNode(QString& text, const Node* root, bool includeRoot) {
    struct Frame {
        const Node* node;
        const Node* next;
    };
    Sink out(text);
    // On the stack for the usual depth: a row is serialised once per record.
    QVarLengthArray<Frame, 32> stack;
    auto start = [&](const Node* n) {
        switch (n->kind) {
            case NodeKind::Element:
                openTag(out, n);
                if (!isVoidElement(n)) {
                    // A parser drops the line feed right after these start tags, so a text that
                    // starts with one gets another in front to keep it.
                    if (!n->foreign &&
                        (n->is(Tag::Pre) || n->is(Tag::Textarea) || n->is(u"listing")) &&
                        n->firstChild && n->firstChild->kind == NodeKind::Text &&
                        n->firstChild->data.startsWith(u'\n')) {
                        out.put(u'\n');
                    }
                    stack.push_back({n, n->firstChild});
                }
                break;
            case NodeKind::Text:
                if (n->parent && n->parent->isElement() && isRawTextElement(n->parent)) {
                    out.put(n->data);
                } else {
                    out.escaped(n->data, false);
                }
                break;
            case NodeKind::Comment:
                out.put(u"<!--");
                out.put(n->data);
                out.put(u"-->");
                break;
            case NodeKind::Doctype: {
                out.put(u"<!DOCTYPE ");
                out.put(n->name());
                // With its identifiers, so that the page parses back to the same document mode.
                const QString* publicId = n->findAttribute(u"public");
                const QString* systemId = n->findAttribute(u"system");
                auto quoted = [&out](const QString& id) {
                    const char16_t quote = id.contains(u'"') ? u'\'' : u'"';
                    out.put(u' ');
                    out.put(quote);
                    out.put(id);
                    out.put(quote);
                };
                if (publicId) {
                    out.put(u" PUBLIC");
                    quoted(*publicId);
                    if (systemId) {
                        quoted(*systemId);
                    }
                } else if (systemId) {
                    out.put(u" SYSTEM");
                    quoted(*systemId);
                }
                out.put(u'>');
                break;
            }
            case NodeKind::Document:
                stack.push_back({n, n->firstChild});
                break;
        }
    };
    if (includeRoot) {
        start(root);
    } else {
        stack.push_back({root, root->firstChild});
    }
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next) {
            const Node* child = top.next;
            top.next = child->nextSibling;
            start(child);
            continue;
        }
        const Node* done = top.node;
        stack.pop_back();
        if (done->isElement() && (includeRoot || done != root)) {
            out.put(u"</");
            out.put(done->name());
            out.put(u'>');
        }
    }
}

bool isHiddenForText(QStringView n) {
    return n == u"script" || n == u"style" || n == u"head" || n == u"title" || n == u"noscript" ||
           n == u"template";
}

int breaksAround(QStringView n) {
    if (n == u"p") {
        return 2;
    }
    static const std::initializer_list<std::u16string_view> blocks = {
        u"address",  u"blockquote", u"center", u"div",  u"dl",     u"dt",     u"dd",
        u"fieldset", u"form",       u"h1",     u"h2",   u"h3",     u"h4",     u"h5",
        u"h6",       u"hr",         u"li",     u"ol",   u"ul",     u"pre",    u"table",
        u"tr",       u"caption",    u"body",   u"html", u"header", u"footer", u"section",
        u"article",  u"nav",        u"aside",  u"main"};
    for (std::u16string_view b : blocks) {
        if (n == QStringView(b)) {
            return 1;
        }
    }
    return 0;
}

// Collects reader's text: collapsible white space, required line breaks that only count
// between pieces of text, and literal breaks and tabs.
class TextCollector {
public:
    void text(QStringView t, bool preserve) {
        for (QChar ch : t) {
            const char16_t c = ch.unicode();
            if (preserve) {
                if (c == u'\n') {
                    literal(u'\n');
                } else {
                    put(ch);
                }
            } else if (isHtmlWhitespace(c)) {
                m_space = true;
            } else {
                put(ch);
            }
        }
    }
    void requireBreaks(int n) {
        if (!m_out.isEmpty()) {
            m_breaks = std::max(m_breaks, n);
        }
    }
    void literal(char16_t c) {
        flushBreaks();
        m_out += QChar(c);
        m_space = false;
        m_lineStart = c == u'\n' || c == u'\t';  // a cell's text starts afresh too
    }
    QString result() { return m_out; }

private:
    void put(QChar ch) {
        const bool space = m_space && m_breaks == 0;
        flushBreaks();
        if (space && !m_lineStart) {
            m_out += u' ';
        }
        m_space = false;
        m_out += ch;
        m_lineStart = false;
    }
    // A pending blank is dropped only where line breaks take its place.
    void flushBreaks() {
        if (m_breaks > 0) {
            m_out += QString(m_breaks, u'\n');
            m_lineStart = true;
            m_space = false;
        }
        m_breaks = 0;
    }

    QString m_out;
    int m_breaks = 0;
    bool m_space = false;
    bool m_lineStart = true;
};

bool isLastCellOfRow(const Node* cell) {
    const Node* row = cell->parent;
    if (row == nullptr) {
        return true;
    }
    for (const Node* c = row->lastChild; c; c = c->prevSibling) {
        if (c->isCell()) {
            return c == cell;
        }
    }
    return true;
}

}  // namespace

QString serializeNode(const Node* node) {
    QString out;
    appendNode(out, node, true);
    return out;
}

void appendSerializedNode(QString& out, const Node* node) {
    appendNode(out, node, true);
}

QString serializeChildren(const Node* node) {
    QString out;
    appendNode(out, node, false);
    return out;
}

// Text alone, as most table cells hold: white space collapsed and trimmed in one go.
bool plainTextOnly(const Node* root) {
    for (const Node* c : root->children()) {
        if (c->kind != NodeKind::Text) {
            return false;
        }
    }
    return !root->is(Tag::Pre) && !root->is(Tag::Textarea);
}

QString collapsedText(const Node* root) {
    QString out;
    bool space = false;
    for (const Node* c : root->children()) {
        for (QChar ch : c->data) {
            if (isHtmlWhitespace(ch.unicode())) {
                space = !out.isEmpty();
            } else {
                if (space) {
                    out += u' ';
                    space = false;
                }
                out += ch;
            }
        }
    }
    return out;
}

QString innerText(const Node* root) {
    if (plainTextOnly(root)) {
        if (root->hasOneChild()) {
            // The common case: one text without white space to collapse is returned as it is.
            const QString& data = root->firstChild->data;
            bool clean = !data.isEmpty() && !isHtmlWhitespace(data.front().unicode()) &&
                         !isHtmlWhitespace(data.back().unicode());
            for (qsizetype k = 0; clean && k < data.size(); ++k) {
                clean = !isHtmlWhitespace(data[k].unicode());
            }
            if (clean) {
                return data;
            }
        }
        return collapsedText(root);
    }
    TextCollector text;
    struct Frame {
        const Node* node;
        const Node* next;
        bool preserve;
    };
    std::vector<Frame> stack{
        {root, root->firstChild, root->is(Tag::Pre) || root->is(Tag::Textarea)}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next) {
            const Node* child = top.next;
            top.next = child->nextSibling;
            const bool preserve = top.preserve;
            if (child->kind == NodeKind::Text) {
                text.text(child->data, preserve);
            } else if (child->isElement() && !isHiddenForText(child->name())) {
                if (child->is(Tag::Br)) {
                    text.literal(u'\n');
                } else {
                    text.requireBreaks(breaksAround(child->name()));
                    stack.push_back({child, child->firstChild,
                                     preserve || child->is(Tag::Pre) || child->is(Tag::Textarea)});
                }
            }
            continue;
        }
        const Node* done = top.node;
        stack.pop_back();
        if (done == root) {
            break;
        }
        text.requireBreaks(breaksAround(done->name()));
        if (done->isCell() && !isLastCellOfRow(done)) {
            text.literal(u'\t');
        }
    }
    return text.result();
}

QString textContent(const Node* root) {
    QString out;
    std::vector<const Node*> stack{root};
    while (!stack.empty()) {
        const Node* n = stack.back();
        stack.pop_back();
        if (n->kind == NodeKind::Text) {
            out.append(n->data.constData(), n->data.size());
        }
        for (const Node* c = n->lastChild; c; c = c->prevSibling) {
            stack.push_back(c);
        }
    }
    return out;
}

QString debugDump(const Node* root) {
    QString out;
    struct Item {
        const Node* node;
        int depth;
    };
    std::vector<Item> stack{{root, 0}};
    while (!stack.empty()) {
        const Item item = stack.back();
        stack.pop_back();
        const Node* n = item.node;
        out += QString(qsizetype(item.depth) * 2, u' ');
        switch (n->kind) {
            case NodeKind::Document:
                out += u"#document";
                break;
            case NodeKind::Doctype:
                out += u"<!DOCTYPE " + n->name() + u" \"" +
                       (n->findAttribute(u"public") ? *n->findAttribute(u"public") : QString()) +
                       u"\" \"" +
                       (n->findAttribute(u"system") ? *n->findAttribute(u"system") : QString()) +
                       u"\">";
                break;
            case NodeKind::Element:
                out += u'<' + n->name();
                for (const Attribute& a : n->attributes) {
                    out += u' ' + a.name + u"=\"" + a.value + u'"';
                }
                out += u'>';
                break;
            case NodeKind::Text: {
                QString t = n->data;
                t.replace(u'\n', QStringLiteral("\\n")).replace(u'\t', QStringLiteral("\\t"));
                out += u'"' + t + u'"';
                break;
            }
            case NodeKind::Comment:
                out += u"<!--" + n->data + u"-->";
                break;
        }
        out += u'\n';
        for (const Node* c = n->lastChild; c; c = c->prevSibling) {
            stack.push_back({c, item.depth + 1});
        }
    }
    return out;
}

}  // namespace kestrova::dom
