// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The reference parser: gumbo builds the HTML5 tree, which is copied into our own nodes and
// freed at once. This is the only file that sees gumbo.

#include "platform/html_parser.h"

#include <gumbo.h>

#include <cstring>

namespace kestrova::dom {

namespace {

// gumbo's UTF-8 as text. QString::fromUtf8 would drop a U+FEFF that starts the text as a
// byte order mark, but here it is a character of the page ("&#65279;2013-04-17").
QString utf8(const char* s) {
    if (s == nullptr) {
        return QString();
    }
    qsizetype marks = 0;
    while (std::strncmp(s, "\xEF\xBB\xBF", 3) == 0) {
        s += 3;
        ++marks;
    }
    return marks == 0 ? QString::fromUtf8(s) : QString(marks, QChar(0xFEFF)) + QString::fromUtf8(s);
}

// The text as gumbo reads it: UTF-8, with a lone surrogate as U+FFFD, which is what gumbo
// makes of any code unit it cannot decode (QString::toUtf8 would write "?" instead).
QByteArray gumboInput(QStringView html) {
    qsizetype k = 0;
    for (; k < html.size(); ++k) {
        const char16_t c = html[k].unicode();
        if (QChar::isHighSurrogate(c) && k + 1 < html.size() &&
            QChar::isLowSurrogate(html[k + 1].unicode())) {
            ++k;
        } else if (QChar::isSurrogate(c)) {
            break;
        }
    }
    if (k == html.size()) {
        return html.toUtf8();
    }
    QString repaired = html.toString();
    for (; k < repaired.size(); ++k) {
        const char16_t c = repaired[k].unicode();
        if (QChar::isHighSurrogate(c) && k + 1 < repaired.size() &&
            QChar::isLowSurrogate(repaired[k + 1].unicode())) {
            ++k;
        } else if (QChar::isSurrogate(c)) {
            repaired[k] = QChar(0xFFFD);
        }
    }
    return repaired.toUtf8();
}

QString tagName(const GumboElement& e) {
    if (e.tag != GUMBO_TAG_UNKNOWN) {
        return internTagName(QString::fromLatin1(gumbo_normalized_tagname(e.tag)));
    }
    GumboStringPiece piece = e.original_tag;
    gumbo_tag_from_original_text(&piece);
    return QString::fromUtf8(piece.data, qsizetype(piece.length)).toLower();
}

// Copies the children of src below dst, without recursion (deep pages must not overflow).
void copyChildren(const GumboNode* src, Node* dst, Tree& tree) {
    struct Step {
        const GumboNode* node;
        Node* parent;
    };
    std::vector<Step> work;
    auto pushChildren = [&work](const GumboVector& children, Node* parent) {
        for (unsigned k = children.length; k > 0; --k) {
            work.push_back({static_cast<const GumboNode*>(children.data[k - 1]), parent});
        }
    };
    const GumboVector& top =
        src->type == GUMBO_NODE_DOCUMENT ? src->v.document.children : src->v.element.children;
    pushChildren(top, dst);
    while (!work.empty()) {
        const Step step = work.back();
        work.pop_back();
        const GumboNode* g = step.node;
        switch (g->type) {
            case GUMBO_NODE_ELEMENT:
            case GUMBO_NODE_TEMPLATE: {
                Node* n = tree.createElement(tagName(g->v.element));
                n->foreign = g->v.element.tag_namespace != GUMBO_NAMESPACE_HTML;
                const GumboVector& attrs = g->v.element.attributes;
                n->attributes.reserve(attrs.length);
                for (unsigned k = 0; k < attrs.length; ++k) {
                    const auto* a = static_cast<const GumboAttribute*>(attrs.data[k]);
                    n->attributes.push_back({utf8(a->name), utf8(a->value)});
                }
                tree.appendChild(step.parent, n);
                pushChildren(g->v.element.children, n);
                break;
            }
            case GUMBO_NODE_TEXT:
            case GUMBO_NODE_WHITESPACE:
            case GUMBO_NODE_CDATA:
                tree.appendChild(step.parent, tree.createText(utf8(g->v.text.text)));
                break;
            case GUMBO_NODE_COMMENT: {
                Node* c = tree.createNode(NodeKind::Comment);
                c->data = utf8(g->v.text.text);
                tree.appendChild(step.parent, c);
                break;
            }
            case GUMBO_NODE_DOCUMENT:
                break;
        }
    }
}

struct Output {
    explicit Output(const QByteArray& utf8Text, GumboOptions options) : opts(options) {
        out = gumbo_parse_with_options(&opts, utf8Text.constData(), size_t(utf8Text.size()));
    }
    ~Output() { gumbo_destroy_output(&opts, out); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;
    GumboOptions opts;
    GumboOutput* out;
};

}  // namespace

std::shared_ptr<Tree> parseDocument(QStringView html) {
    const QByteArray text = gumboInput(html);
    Output parsed(text, kGumboDefaultOptions);
    auto tree = std::make_shared<Tree>();
    const GumboDocument& doc = parsed.out->document->v.document;
    if (doc.has_doctype) {
        Node* doctype = tree->createNode(NodeKind::Doctype);
        doctype->data = utf8(doc.name);
        const QString publicId = utf8(doc.public_identifier);
        if (!publicId.isEmpty()) {
            doctype->attributes.push_back({QStringLiteral("public"), publicId});
        }
        const QString system = utf8(doc.system_identifier);
        if (!system.isEmpty()) {
            doctype->attributes.push_back({QStringLiteral("system"), system});
        }
        tree->appendChild(tree->document(), doctype);
    }
    copyChildren(parsed.out->document, tree->document(), *tree);
    return tree;
}

std::vector<Node*> parseFragment(QStringView html, QStringView contextTag, Tree& tree) {
    const QByteArray text = gumboInput(html);
    GumboOptions options = kGumboDefaultOptions;
    const QByteArray context = contextTag.toLatin1();
    options.fragment_context = gumbo_tag_enum(context.constData());
    options.fragment_namespace = GUMBO_NAMESPACE_HTML;
    if (options.fragment_context == GUMBO_TAG_UNKNOWN) {
        options.fragment_context = GUMBO_TAG_DIV;  // unknown elements parse their content alike
    }
    Output parsed(text, options);
    Node* scratch = tree.createElement(QStringLiteral("html"));
    copyChildren(parsed.out->root, scratch, tree);
    std::vector<Node*> nodes;
    for (Node* n : scratch->children()) {
        nodes.push_back(n);
    }
    tree.removeChildren(scratch);
    return nodes;
}

}  // namespace kestrova::dom
