// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The fast parser: a strict, single-pass parser for well-formed mark-up. It accepts a text only
// where HTML5 tree construction would build the literal nesting of the tags, and returns
// "not handled" at the first token where the HTML5 algorithm would insert, move, close or
// ignore something (the one restructuring it does perform itself is moving stray text out of
// a table, which the report skeleton relies on). See html_parser.h.

#include "platform/html_parser.h"

#include <algorithm>
#include <array>
#include <optional>

namespace kestrova::dom {

namespace {

using Names = std::initializer_list<std::u16string_view>;

bool oneOf(QStringView name, Names names) {
    return std::any_of(names.begin(), names.end(),
                       [name](std::u16string_view n) { return name == QStringView(n); });
}

bool isSection(QStringView n) {
    return oneOf(n, {u"tbody", u"thead", u"tfoot"});
}
bool isTableContext(QStringView n) {
    return n == u"table" || isSection(n) || n == u"tr";
}

bool isFormatting(QStringView n) {
    return oneOf(n, {u"a", u"b", u"big", u"code", u"em", u"font", u"i", u"nobr", u"s", u"small",
                     u"strike", u"strong", u"tt", u"u"});
}

// Elements that close an open <p>: their start tag is the end of the fast path when one is open.
bool closesParagraph(QStringView n) {
    return oneOf(n, {u"address",  u"article", u"aside",  u"blockquote", u"center", u"div", u"dl",
                     u"fieldset", u"footer",  u"form",   u"h1",         u"h2",     u"h3",  u"h4",
                     u"h5",       u"h6",      u"header", u"hr",         u"menu",   u"nav", u"ol",
                     u"p",        u"section", u"table",  u"ul"});
}

bool isHeading(QStringView n) {
    return oneOf(n, {u"h1", u"h2", u"h3", u"h4", u"h5", u"h6"});
}

// Start tags allowed where flow content may stand (body, cells, blocks, inline elements).
bool allowedInFlow(QStringView n) {
    return isFormatting(n) || closesParagraph(n) ||
           oneOf(n, {u"span", u"label", u"br", u"img", u"input", u"select", u"sub", u"sup", u"abbr",
                     u"wbr"});
}

// Contexts whose content is flow content, for fragments too.
bool isFlowContainer(QStringView n) {
    return n == u"body" || n == u"td" || n == u"th" || n == u"li" || n == u"p" || n == u"div" ||
           n == u"center" || n == u"form" || n == u"span" || n == u"label" || isFormatting(n) ||
           isHeading(n) || oneOf(n, {u"sub", u"sup", u"abbr"});
}

// What the builder needs to know of a tag, worked out once per interned tag.
struct TagInfo {
    bool formatting = false;
    bool closesParagraph = false;
    bool allowedInFlow = false;
    bool flowContainer = false;
    bool heading = false;
    bool scopeBoundary = false;
    bool section = false;
    bool tableContext = false;
    bool isVoid = false;
};

TagInfo computeInfo(QStringView n) {
    TagInfo i;
    i.formatting = isFormatting(n);
    i.closesParagraph = closesParagraph(n);
    i.allowedInFlow = allowedInFlow(n);
    i.flowContainer = isFlowContainer(n);
    i.heading = isHeading(n);
    i.scopeBoundary = oneOf(n, {u"html", u"table", u"td", u"th", u"caption", u"marquee", u"object",
                                u"applet", u"template", u"button"});
    i.section = isSection(n);
    i.tableContext = isTableContext(n);
    i.isVoid = isVoidElement(n);
    return i;
}

TagInfo infoOf(Tag tag, const QString& name) {
    static const std::array<TagInfo, kTagIds> infos = [] {
        std::array<TagInfo, kTagIds> all{};
        for (int id = 1; id < kTagIds; ++id) {
            const QString& n = tagName(Tag(id));
            if (!n.isEmpty()) {
                all[std::size_t(id)] = computeInfo(n);
            }
        }
        return all;
    }();
    return tag == Tag::Other ? computeInfo(name) : infos[std::size_t(tag)];
}

QString internAttributeName(QStringView n) {
    static const std::array<QString, 14> names = {
        QStringLiteral("id"),          QStringLiteral("name"),       QStringLiteral("class"),
        QStringLiteral("style"),       QStringLiteral("value"),      QStringLiteral("href"),
        QStringLiteral("type"),        QStringLiteral("colspan"),    QStringLiteral("rowspan"),
        QStringLiteral("usagetype"),   QStringLiteral("align"),      QStringLiteral("border"),
        QStringLiteral("cellpadding"), QStringLiteral("cellspacing")};
    for (const QString& s : names) {
        if (s == n) {
            return s;
        }
    }
    return n.toString();
}

bool asciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool asciiDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
char16_t asciiLower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}

bool acceptableCodePoint(char32_t cp) {
    if (cp == 0x09 || cp == 0x0A) {
        return true;
    }
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) {
        return false;
    }
    if (cp >= 0xD800 && cp <= 0xDFFF) {
        return false;
    }
    if ((cp >= 0xFDD0 && cp <= 0xFDEF) || (cp & 0xFFFE) == 0xFFFE) {
        return false;
    }
    return cp <= 0x10FFFF;
}

// Characters of the input that gumbo's decoder turns into U+FFFD: C0 controls other than
// tab, line feed, form feed and carriage return, DEL and the C1 controls, noncharacters, and
// (through the UTF-8 the text is handed over in) lone surrogates. The program's own row text
// may hold any character below U+0100 as it is, so the test has to stay cheap.
constexpr char16_t kReplacement = 0xFFFD;

bool mayNeedReplacing(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c >= 0xD800;
}

bool isNoncharacter(char32_t cp) {
    return (cp >= 0xFDD0 && cp <= 0xFDEF) || (cp & 0xFFFE) == 0xFFFE;
}

// Whether the code unit at k (with its pair, if it is one) leaves the input as it is;
// *units is how many code units it covers.
bool keptAsIs(QStringView in, qsizetype k, int* units) {
    const char16_t c = in[k].unicode();
    *units = 1;
    if (c < 0x20) {
        return c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r';
    }
    if (c < 0xD800) {
        return !(c >= 0x7F && c <= 0x9F);
    }
    if (QChar::isHighSurrogate(c) && k + 1 < in.size() &&
        QChar::isLowSurrogate(in[k + 1].unicode())) {
        *units = 2;
        return !isNoncharacter(QChar::surrogateToUcs4(c, in[k + 1].unicode()));
    }
    return !QChar::isSurrogate(c) && !isNoncharacter(c);
}

struct Token {
    enum Kind { Text, Start, End, Doctype, Eof };
    Kind kind = Eof;
    // The lower-case name: an interned one is pointed to, not copied (every tag of a page
    // would otherwise count a shared string up and down).
    const QString& name() const { return *m_name; }
    void setName(const QString* interned) { m_name = interned; }
    void setOwnName(QString own) {
        m_ownName = std::move(own);
        m_name = &m_ownName;
    }
    Tag tag = Tag::Other;
    QString text;  // text: its characters; doctype: public identifier
    QString system;
    AttributeList attributes;
    bool selfClosing = false;

private:
    static const QString* noName() {
        static const QString none;
        return &none;
    }
    const QString* m_name = noName();
    QString m_ownName;

public:
    Token() = default;
    Token(const Token&) = delete;  // m_name may point into the token itself
    Token& operator=(const Token&) = delete;
    void clearName() { m_name = noName(); }
};

class Tokenizer {
public:
    // With an owner, text that needs no decoding is not copied but points into the owner.
    explicit Tokenizer(QStringView s, const QString* owner = nullptr) : m_s(s), m_owner(owner) {}

    // The next token, or nullptr where the text is outside what the fast path handles. The
    // token is the tokenizer's own, reused from call to call: no construction per token.
    Token* next() {
        Token& t = fresh();
        if (m_i >= m_s.size()) {
            t.kind = Token::Eof;
            return &t;
        }
        if (m_s[m_i] != u'<') {
            t.kind = Token::Text;
            qsizetype end = m_s.indexOf(u'<', m_i);
            if (end < 0) {
                end = m_s.size();
            }
            if (!decode(m_s.sliced(m_i, end - m_i), t.text)) {
                return nullptr;
            }
            m_i = end;
            return &t;
        }
        if (m_i + 1 >= m_s.size()) {
            return nullptr;
        }
        const char16_t c = m_s[m_i + 1].unicode();
        if (asciiLetter(c)) {
            return startTag();
        }
        if (c == u'/') {
            return endTag();
        }
        if (c == u'!') {
            return doctype();
        }
        return nullptr;
    }

    // The content of <title> or <style> up to its end tag, which is consumed too.
    std::optional<QString> rawContent(QStringView tag, bool decodeEntities) {
        qsizetype from = m_i;
        while (true) {
            qsizetype lt = m_s.indexOf(u"</", from);
            if (lt < 0) {
                return std::nullopt;
            }
            qsizetype j = lt + 2;
            if (m_s.size() - j >= tag.size() &&
                m_s.sliced(j, tag.size()).compare(tag, Qt::CaseInsensitive) == 0) {
                qsizetype k = j + tag.size();
                if (k < m_s.size() && (isHtmlWhitespace(m_s[k].unicode()) || m_s[k] == u'/')) {
                    return std::nullopt;  // an end tag with attributes or "/" still ends it
                }
                if (k < m_s.size() && m_s[k] == u'>') {
                    QString out;
                    QStringView content = m_s.sliced(m_i, lt - m_i);
                    if (decodeEntities) {
                        if (!decode(content, out)) {
                            return std::nullopt;
                        }
                    } else if (!decodeRaw(content, out)) {
                        return std::nullopt;
                    }
                    m_i = k + 1;
                    return out;
                }
            }
            from = lt + 2;
        }
    }

    bool atEnd() const { return m_i >= m_s.size(); }

private:
    Token* startTag() {
        Token& t = m_token;
        t.kind = Token::Start;
        qsizetype i = m_i + 1;
        if (!readName(i, t, &t.tag)) {
            return nullptr;
        }
        while (true) {
            const qsizetype before = i;
            skipWhitespace(i);
            if (i >= m_s.size()) {
                return nullptr;
            }
            const char16_t c = m_s[i].unicode();
            if (c == u'>') {
                m_i = i + 1;
                return &t;
            }
            if (c == u'/') {
                if (i + 1 < m_s.size() && m_s[i + 1] == u'>') {
                    t.selfClosing = true;
                    m_i = i + 2;
                    return &t;
                }
                return nullptr;
            }
            if (i == before) {
                return nullptr;  // attributes must be separated by white space
            }
            Attribute a;
            if (!readAttribute(i, a)) {
                return nullptr;
            }
            for (const Attribute& existing : t.attributes) {
                if (existing.name == a.name) {
                    return nullptr;  // HTML keeps the first; not worth handling here
                }
            }
            t.attributes.push_back(std::move(a));
        }
    }

    Token* endTag() {
        Token& t = m_token;
        t.kind = Token::End;
        qsizetype i = m_i + 2;
        if (i >= m_s.size() || !asciiLetter(m_s[i].unicode()) || !readName(i, t, &t.tag)) {
            return nullptr;
        }
        skipWhitespace(i);
        if (i >= m_s.size() || m_s[i] != u'>') {
            return nullptr;
        }
        m_i = i + 1;
        return &t;
    }

    Token* doctype() {
        static constexpr QStringView kDoctype = u"<!DOCTYPE";
        if (m_s.size() - m_i < kDoctype.size() ||
            m_s.sliced(m_i, kDoctype.size()).compare(kDoctype, Qt::CaseInsensitive) != 0) {
            return nullptr;  // comments and the like take the full parser
        }
        Token& t = m_token;
        t.kind = Token::Doctype;
        qsizetype i = m_i + kDoctype.size();
        const qsizetype before = i;
        skipWhitespace(i);
        if (i == before || !readName(i, t)) {
            return nullptr;
        }
        skipWhitespace(i);
        auto keyword = [&](QStringView word) {
            if (m_s.size() - i >= word.size() &&
                m_s.sliced(i, word.size()).compare(word, Qt::CaseInsensitive) == 0) {
                i += word.size();
                return true;
            }
            return false;
        };
        auto quoted = [&](QString& out) {
            const qsizetype start = i;
            skipWhitespace(i);
            if (i == start || i >= m_s.size() || (m_s[i] != u'"' && m_s[i] != u'\'')) {
                return false;
            }
            const QChar q = m_s[i];
            const qsizetype close = m_s.indexOf(q, i + 1);
            if (close < 0) {
                return false;
            }
            QStringView v = m_s.sliced(i + 1, close - i - 1);
            if (v.contains(u'>') || v.contains(u'\r') || v.contains(u'\n')) {
                return false;
            }
            for (qsizetype k = 0; k < v.size(); ++k) {
                int units = 1;
                if (v[k].unicode() == 0 || !keptAsIs(v, k, &units)) {
                    return false;  // rare enough to leave to gumbo
                }
            }
            out = v.toString();
            i = close + 1;
            return true;
        };
        if (keyword(u"PUBLIC")) {
            if (!quoted(t.text)) {
                return nullptr;
            }
            const qsizetype save = i;
            if (!quoted(t.system)) {
                i = save;
            }
        } else if (keyword(u"SYSTEM")) {
            if (!quoted(t.system)) {
                return nullptr;
            }
        }
        skipWhitespace(i);
        if (i >= m_s.size() || m_s[i] != u'>') {
            return nullptr;
        }
        m_i = i + 1;
        return &t;
    }

    bool readName(qsizetype& i, Token& t, Tag* tag = nullptr) {
        const qsizetype start = i;
        while (i < m_s.size() && (asciiLetter(m_s[i].unicode()) || asciiDigit(m_s[i].unicode()))) {
            ++i;
        }
        if (i == start || i >= m_s.size()) {
            return false;
        }
        const char16_t c = m_s[i].unicode();
        if (!isHtmlWhitespace(c) && c != u'>' && c != u'/') {
            return false;
        }
        const QStringView raw = m_s.sliced(start, i - start);
        char16_t buffer[32];
        if (raw.size() > qsizetype(std::size(buffer))) {
            t.setOwnName(raw.toString().toLower());
            return true;
        }
        for (qsizetype k = 0; k < raw.size(); ++k) {
            buffer[k] = asciiLower(raw[k].unicode());
        }
        const QStringView lower(buffer, raw.size());
        if (const QString* interned = findTagName(lower, tag)) {
            t.setName(interned);
        } else {
            t.setOwnName(lower.toString());
        }
        return true;
    }

    // Lower-cased without a temporary string for the attribute names the program meets.
    static QString attributeName(QStringView raw) {
        char16_t buffer[32];
        if (raw.size() > qsizetype(std::size(buffer))) {
            // ASCII letters only, as HTML lowercases names: "É" stays "É".
            QString name = raw.toString();
            for (QChar& c : name) {
                c = QChar(asciiLower(c.unicode()));
            }
            return name;
        }
        for (qsizetype k = 0; k < raw.size(); ++k) {
            buffer[k] = asciiLower(raw[k].unicode());
        }
        return internAttributeName(QStringView(buffer, raw.size()));
    }

    bool readAttribute(qsizetype& i, Attribute& a) {
        const qsizetype start = i;
        while (i < m_s.size()) {
            const char16_t c = m_s[i].unicode();
            if (isHtmlWhitespace(c) || c == u'=' || c == u'>' || c == u'/') {
                break;
            }
            int units = 1;
            if (c == u'"' || c == u'\'' || c == u'<' || c == 0 ||
                (mayNeedReplacing(c) && !keptAsIs(m_s, i, &units))) {
                return false;
            }
            i += units;
        }
        if (i == start || i >= m_s.size()) {
            return false;
        }
        a.name = attributeName(m_s.sliced(start, i - start));
        qsizetype j = i;
        skipWhitespace(j);
        if (j >= m_s.size() || m_s[j] != u'=') {
            return true;  // no value; the white space is left for the caller
        }
        ++j;
        skipWhitespace(j);
        if (j >= m_s.size()) {
            return false;
        }
        const QChar q = m_s[j];
        if (q == u'"' || q == u'\'') {
            const qsizetype close = m_s.indexOf(q, j + 1);
            if (close < 0 || !decode(m_s.sliced(j + 1, close - j - 1), a.value)) {
                return false;
            }
            i = close + 1;
            return i < m_s.size() &&
                   (isHtmlWhitespace(m_s[i].unicode()) || m_s[i] == u'>' || m_s[i] == u'/');
        }
        const qsizetype vstart = j;
        while (j < m_s.size() && !isHtmlWhitespace(m_s[j].unicode()) && m_s[j] != u'>') {
            const char16_t c = m_s[j].unicode();
            if (c == u'"' || c == u'\'' || c == u'<' || c == u'=' || c == u'`' || c == u'/') {
                return false;
            }
            ++j;
        }
        if (j == vstart || !decode(m_s.sliced(vstart, j - vstart), a.value)) {
            return false;
        }
        i = j;
        return true;
    }

    void skipWhitespace(qsizetype& i) const {
        while (i < m_s.size() && isHtmlWhitespace(m_s[i].unicode())) {
            ++i;
        }
    }

    // Copies text, turning CR LF and CR into LF as HTML input does, and the characters gumbo
    // replaces into U+FFFD. False for a NUL, which HTML drops or replaces depending on where
    // it stands.
    bool decodeRaw(QStringView in, QString& out) const {
        if (out.isEmpty() && !hasSpecial(in)) {
            out = m_owner ? QString::fromRawData(in.data(), in.size()) : in.toString();
            return true;
        }
        out.reserve(out.size() + in.size());
        for (qsizetype k = 0; k < in.size(); ++k) {
            const char16_t c = in[k].unicode();
            if (!mayNeedReplacing(c)) {
                out += QChar(c);
                continue;
            }
            if (c == 0) {
                return false;
            }
            int units = 1;
            if (c == u'\r') {
                out += u'\n';
                if (k + 1 < in.size() && in[k + 1] == u'\n') {
                    ++k;
                }
            } else if (keptAsIs(in, k, &units)) {
                out += in.sliced(k, units);
            } else {
                out += QChar(kReplacement);
            }
            k += units - 1;
        }
        return true;
    }

    static bool hasSpecial(QStringView in) {
        for (qsizetype k = 0; k < in.size(); ++k) {
            const char16_t c = in[k].unicode();
            if (c == u'&') {
                return true;
            }
            int units = 1;
            if (mayNeedReplacing(c) && (c == u'\r' || c == 0 || !keptAsIs(in, k, &units))) {
                return true;
            }
            k += units - 1;
        }
        return false;
    }

    // Like decodeRaw, and resolves the character references the program's pages use.
    bool decode(QStringView in, QString& out) const {
        if (!in.contains(u'&')) {
            return decodeRaw(in, out);
        }
        qsizetype k = 0;
        while (k < in.size()) {
            const qsizetype amp = in.indexOf(u'&', k);
            if (amp < 0) {
                return decodeRaw(in.sliced(k), out);
            }
            if (!decodeRaw(in.sliced(k, amp - k), out)) {
                return false;
            }
            const qsizetype semi = in.indexOf(u';', amp);
            if (semi < 0 || semi - amp > 10) {
                return false;
            }
            QStringView ref = in.sliced(amp + 1, semi - amp - 1);
            if (ref.startsWith(u'#')) {
                bool ok = false;
                uint cp = 0;
                if (ref.size() > 2 && (ref[1] == u'x' || ref[1] == u'X')) {
                    cp = ref.sliced(2).toUInt(&ok, 16);
                    ok = ok && ref.sliced(2).size() <= 6;
                } else if (ref.size() > 1) {
                    ok = true;
                    for (QChar d : ref.sliced(1)) {
                        ok = ok && asciiDigit(d.unicode());
                    }
                    cp = ok && ref.size() <= 8 ? ref.sliced(1).toUInt(&ok, 10) : 0;
                }
                if (!ok || !acceptableCodePoint(cp)) {
                    return false;
                }
                // Not QString::fromUcs4: it drops U+FEFF as a byte order mark.
                if (QChar::requiresSurrogates(cp)) {
                    out += QChar(QChar::highSurrogate(cp));
                    out += QChar(QChar::lowSurrogate(cp));
                } else {
                    out += QChar(char16_t(cp));
                }
            } else if (ref == u"amp") {
                out += u'&';
            } else if (ref == u"lt") {
                out += u'<';
            } else if (ref == u"gt") {
                out += u'>';
            } else if (ref == u"quot") {
                out += u'"';
            } else if (ref == u"apos") {
                out += u'\'';
            } else if (ref == u"nbsp") {
                out += QChar(0xA0);
            } else {
                return false;
            }
            k = semi + 1;
        }
        return true;
    }

    Token& fresh() {
        m_token.kind = Token::Eof;
        m_token.clearName();
        m_token.tag = Tag::Other;
        m_token.text = QString();
        m_token.system = QString();
        m_token.attributes.clear();
        m_token.selfClosing = false;
        return m_token;
    }

    QStringView m_s;
    const QString* m_owner;
    qsizetype m_i = 0;
    Token m_token;
};

class Builder {
public:
    Builder(Tree& tree, Tokenizer& tokens) : m_tree(tree), m_tokens(tokens) {}

    bool document() {
        Node* doc = m_tree.document();
        Token* t = nextSkippingWhitespace();
        if (!t) {
            return false;
        }
        if (t->kind == Token::Doctype) {
            Node* doctype = m_tree.createNode(NodeKind::Doctype);
            doctype->data = t->name();
            if (!t->text.isEmpty()) {
                doctype->attributes.push_back({QStringLiteral("public"), t->text});
            }
            if (!t->system.isEmpty()) {
                doctype->attributes.push_back({QStringLiteral("system"), t->system});
            }
            m_tree.appendChild(doc, doctype);
            t = nextSkippingWhitespace();
            if (!t) {
                return false;
            }
        }
        if (t->kind != Token::Start || t->name() != u"html" || t->selfClosing) {
            return false;
        }
        Node* html = element(*t);
        m_tree.appendChild(doc, html);

        t = nextSkippingWhitespace();  // white space before <head> is dropped
        if (!t || t->kind != Token::Start || t->name() != u"head" || t->selfClosing) {
            return false;
        }
        Node* head = element(*t);
        m_tree.appendChild(html, head);
        if (!headContent(head)) {
            return false;
        }

        t = m_tokens.next();
        if (t && t->kind == Token::Text) {
            if (!allWhitespace(t->text)) {
                return false;
            }
            m_tree.appendChild(html, m_tree.createText(t->text));
            t = m_tokens.next();
        }
        if (!t || t->kind != Token::Start || t->name() != u"body" || t->selfClosing) {
            return false;
        }
        Node* body = element(*t);
        m_tree.appendChild(html, body);
        push(html);
        push(body);
        if (!flowContent(/*fragment=*/false)) {
            return false;
        }
        // After </body>: only </html> and white space, which HTML puts at the end of the body.
        bool sawHtmlEnd = false;
        while (true) {
            t = m_tokens.next();
            if (!t) {
                return false;
            }
            if (t->kind == Token::Eof) {
                return true;
            }
            if (t->kind == Token::Text && allWhitespace(t->text)) {
                m_tree.appendChild(body, m_tree.createText(t->text));
            } else if (t->kind == Token::End && t->name() == u"html" && !sawHtmlEnd) {
                sawHtmlEnd = true;
            } else {
                return false;
            }
        }
    }

    bool fragment(Node* root) {
        push(root);
        return flowContent(/*fragment=*/true);
    }

private:
    Token* nextSkippingWhitespace() {
        while (true) {
            Token* t = m_tokens.next();
            if (!t || t->kind != Token::Text || !allWhitespace(t->text)) {
                return t;
            }
        }
    }

    static bool allWhitespace(const QString& s) {
        for (QChar c : s) {
            if (!isHtmlWhitespace(c.unicode())) {
                return false;
            }
        }
        return true;
    }

    Node* element(Token& t) {
        Node* n = m_tree.createElement(t.name(), t.tag);
        n->attributes = std::move(t.attributes);
        return n;
    }

    bool headContent(Node* head) {
        while (true) {
            Token* t = m_tokens.next();
            if (!t) {
                return false;
            }
            if (t->kind == Token::Text) {
                if (!allWhitespace(t->text)) {
                    return false;
                }
                m_tree.appendChild(head, m_tree.createText(t->text));
            } else if (t->kind == Token::End && t->name() == u"head") {
                return true;
            } else if (t->kind == Token::Start && oneOf(t->name(), {u"meta", u"link", u"base"})) {
                m_tree.appendChild(head, element(*t));
            } else if (t->kind == Token::Start &&
                       (t->name() == u"title" || t->name() == u"style") && !t->selfClosing) {
                const bool isTitle = t->name() == u"title";
                Node* n = element(*t);
                std::optional<QString> content = m_tokens.rawContent(n->name(), isTitle);
                if (!content) {
                    return false;
                }
                if (!content->isEmpty()) {
                    m_tree.appendChild(n, m_tree.createText(*content));
                }
                m_tree.appendChild(head, n);
            } else {
                return false;
            }
        }
    }

    // What the start-tag checks need to know about the open elements, kept up to date on
    // every push and pop so that deep pages stay linear.
    void push(Node* n) {
        const int position = int(m_stack.size());
        m_stack.push_back(n);
        const TagInfo info = infoOf(n->tag, n->name());
        if (n->tag == m_paragraphTag && n->tag != Tag::Other) {
            m_paragraphs.push_back(position);
        }
        if (info.scopeBoundary) {
            m_boundaries.push_back(position);
        }
        ++m_open[std::size_t(n->tag)];
    }

    void pop() {
        Node* n = m_stack.back();
        const int position = int(m_stack.size()) - 1;
        m_stack.pop_back();
        if (!m_paragraphs.empty() && m_paragraphs.back() == position) {
            m_paragraphs.pop_back();
        }
        if (!m_boundaries.empty() && m_boundaries.back() == position) {
            m_boundaries.pop_back();
        }
        --m_open[std::size_t(n->tag)];
    }

    // Only asked for interned tags, whose ids are exact.
    bool onStack(QStringView name) const { return m_open[std::size_t(tagOf(name))] > 0; }
    bool onStack(Tag tag) const { return tag != Tag::Other && m_open[std::size_t(tag)] > 0; }

    // A <p> open in "button scope": above the nearest scope boundary.
    bool paragraphInButtonScope() const {
        if (m_paragraphs.empty()) {
            return false;
        }
        return m_boundaries.empty() || m_paragraphs.back() > m_boundaries.back();
    }

    bool startTagAllowed(const Node* current, const Token& t) const {
        const TagInfo cur = infoOf(current->tag, current->name());
        const TagInfo next = infoOf(t.tag, t.name());
        if (current->is(Tag::Table)) {
            return next.section;
        }
        if (cur.section) {
            return t.tag == Tag::Tr;
        }
        if (current->is(Tag::Tr)) {
            return t.tag == Tag::Td || t.tag == Tag::Th;
        }
        const QString& n = t.name();
        if (current->name() == u"select") {
            return n == u"option";
        }
        if (current->name() == u"option") {
            return false;
        }
        if (current->name() == u"ul" || current->name() == u"ol") {
            return n == u"li";
        }
        if (!cur.flowContainer || !next.allowedInFlow) {
            return false;
        }
        if (next.closesParagraph && paragraphInButtonScope()) {
            return false;
        }
        if (next.heading) {
            for (const char16_t* h : {u"h1", u"h2", u"h3", u"h4", u"h5", u"h6"}) {
                if (onStack(QStringView(h))) {
                    return false;
                }
            }
        }
        if ((n == u"form" || n == u"a" || n == u"nobr") && onStack(t.tag)) {
            return false;
        }
        return true;
    }

    bool flowContent(bool fragment) {
        while (true) {
            Token* t = m_tokens.next();
            if (!t) {
                return false;
            }
            Node* current = m_stack.back();
            switch (t->kind) {
                case Token::Eof:
                    return fragment && m_stack.size() == 1;
                case Token::Doctype:
                    return false;
                case Token::Text:
                    if (infoOf(current->tag, current->name()).tableContext &&
                        !allWhitespace(t->text)) {
                        // Text that cannot stand in a table goes in front of the table.
                        const auto open =
                            std::find_if(m_stack.rbegin(), m_stack.rend(),
                                         [](const Node* n) { return n->is(Tag::Table); });
                        Node* table = open == m_stack.rend() ? nullptr : *open;
                        if (table == nullptr || table->parent == nullptr) {
                            return false;
                        }
                        m_tree.insertBefore(table->parent, m_tree.createText(t->text), table);
                    } else {
                        m_tree.appendChild(current, m_tree.createText(t->text));
                    }
                    break;
                case Token::Start: {
                    if (!startTagAllowed(current, *t)) {
                        return false;
                    }
                    const bool isVoid = infoOf(t->tag, t->name()).isVoid;
                    if (t->selfClosing && !isVoid) {
                        return false;
                    }
                    Node* n = element(*t);
                    m_tree.appendChild(current, n);
                    if (!isVoid) {
                        push(n);
                    }
                    break;
                }
                case Token::End:
                    if (m_stack.size() == 1 || current->tag != t->tag ||
                        (t->tag == Tag::Other && current->name() != t->name())) {
                        return false;
                    }
                    pop();
                    if (current->tag == m_formTag && current->lastChild &&
                        current->lastChild->kind == NodeKind::Text && current->parent) {
                        // gumbo (0.10.1, the one linked) removes a form from the open elements
                        // without first placing the text it still holds back, so text just
                        // before </form> lands after the form. The program follows its parser.
                        Node* text = current->lastChild;
                        current->lastChild = text->prevSibling;
                        if (text->prevSibling) {
                            text->prevSibling->nextSibling = nullptr;
                        } else {
                            current->firstChild = nullptr;
                        }
                        text->prevSibling = nullptr;
                        m_tree.appendChild(current->parent, text);
                    }
                    if (!fragment && current->is(Tag::Body)) {
                        return true;
                    }
                    break;
            }
        }
    }

    Tree& m_tree;
    Tokenizer& m_tokens;
    std::vector<Node*> m_stack;
    std::vector<int> m_paragraphs;      // stack positions of open <p> elements
    std::vector<int> m_boundaries;      // stack positions of open scope boundaries
    std::array<int, kTagIds> m_open{};  // open elements by tag id
    const Tag m_paragraphTag = tagOf(u"p");
    const Tag m_formTag = tagOf(u"form");
};

}  // namespace

std::shared_ptr<Tree> fastParseDocument(const QString& html) {
    auto tree = std::make_shared<Tree>();
    tree->source = html;
    Tokenizer tokens(html, &tree->source);
    Builder builder(*tree, tokens);
    if (!builder.document()) {
        return nullptr;
    }
    return tree;
}

bool fastParseFragment(QStringView html, QStringView contextTag, Tree& tree,
                       std::vector<Node*>& nodes) {
    if (!isFlowContainer(contextTag) || contextTag == u"body") {
        return false;
    }
    Node* root = tree.createElement(contextTag.toString());
    Tokenizer tokens(html);
    Builder builder(tree, tokens);
    if (!builder.fragment(root)) {
        return false;
    }
    for (Node* n : root->children()) {
        nodes.push_back(n);
    }
    tree.removeChildren(root);
    return true;
}

}  // namespace kestrova::dom
