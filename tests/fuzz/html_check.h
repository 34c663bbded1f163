// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the HTML harness checks of one input, shared with the unit test that replays every kept
// finding: what the serialiser writes of a parsed tree of HTML (a whole document, and a fragment
// in a context element) settles when read and written again (see checkDocument).
//
// Input: byte 0 picks the decoding of the rest (modulo 3: UTF-8, Latin-1, raw UTF-16 in the
// machine's order), byte 1 the fragment's context element; the rest is the text.

#include "platform/html_parser.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrova::fuzz {

struct HtmlInput {
    QString text;
    QString context;  // lower case
};

inline HtmlInput decodeHtmlInput(const std::uint8_t* data, std::size_t size) {
    static const char* const contexts[] = {"td", "th",    "div",   "body", "span", "p",
                                           "tr", "table", "tbody", "li",   "b",    "select"};
    HtmlInput in;
    if (size < 2) {
        return in;
    }
    in.context = QString::fromLatin1(contexts[data[1] % std::size(contexts)]);
    const auto* text = reinterpret_cast<const char*>(data + 2);
    const auto length = qsizetype(size - 2);
    switch (data[0] % 3) {
        case 0:
            in.text = QString::fromUtf8(text, length);
            break;
        case 1:
            in.text = QString::fromLatin1(text, length);
            break;
        default:
            in.text = QString(reinterpret_cast<const QChar*>(text), length / 2);
            break;
    }
    return in;
}

// Whether any of the nodes holds MathML, SVG or an element HTML does not name. Written out, such
// content can move each time it is read again (HTML warns of it); no report template or cache
// record holds it.
inline bool holdsForeign(std::vector<const dom::Node*> nodes) {
    while (!nodes.empty()) {
        const dom::Node* n = nodes.back();
        nodes.pop_back();
        if (n->foreign || (n->isElement() && n->tag == dom::Tag::Other)) {
            return true;
        }
        for (const dom::Node* c : n->children()) {
            nodes.push_back(c);
        }
    }
    return false;
}

// Writes the nodes, reads the text back (`read` parses a text) and writes again, twice: empty
// when the last two writings agree, else the three texts. HTML does not promise that a tree
// written out parses back to the same tree: gumbo moves text that ends a form after it, and a
// select before a table out of it, once. But what the serialiser writes of HTML must settle. A
// serialiser that escapes twice, or quotes an attribute so that it reads otherwise, never does.
template <typename Read>
inline QString settles(const QString& what, std::vector<const dom::Node*> first, Read read) {
    if (holdsForeign(first)) {
        return QString();
    }
    const auto write = [](const std::vector<const dom::Node*>& nodes) {
        QString out;
        for (const dom::Node* n : nodes) {
            out += n->kind == dom::NodeKind::Document ? dom::serializeChildren(n)
                                                      : dom::serializeNode(n);
        }
        return out;
    };
    const QString once = write(first);
    const QString twice = write(read(once));
    const QString thrice = write(read(twice));
    if (thrice == twice) {
        return QString();
    }
    return what + u": the written mark-up does not settle\nonce: " + once + u"\ntwice: " + twice +
           u"\nthrice: " + thrice;
}

inline QString checkDocument(const QString& text) {
    std::vector<std::shared_ptr<dom::Tree>> trees{dom::parseDocument(text)};
    return settles(QStringLiteral("document"), {trees[0]->document()}, [&](const QString& t) {
        trees.push_back(dom::parseDocument(t));
        return std::vector<const dom::Node*>{trees.back()->document()};
    });
}

inline QString checkFragment(const QString& text, const QString& context) {
    dom::Tree tree;
    const auto read = [&](const QString& t) {
        const std::vector<dom::Node*> nodes = dom::parseFragment(t, context, tree);
        return std::vector<const dom::Node*>(nodes.begin(), nodes.end());
    };
    return settles(u"fragment in " + context, read(text), read);
}

inline QString checkHtml(const HtmlInput& in) {
    QString problem = checkDocument(in.text);
    if (problem.isEmpty()) {
        problem = checkFragment(in.text, in.context);
    }
    return problem;
}

}  // namespace kestrova::fuzz
