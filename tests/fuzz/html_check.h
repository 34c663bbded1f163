// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the HTML harness checks of one input, shared with the unit test that replays every kept
// finding: what the serialiser writes of a parsed tree (a whole document, and a fragment in a
// context element) settles when read and written again (see checkDocument).
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

inline QString dumpOf(const std::vector<dom::Node*>& nodes) {
    QString out;
    for (const dom::Node* n : nodes) {
        out += dom::debugDump(n);
    }
    return out;
}

inline QString serialized(const std::vector<dom::Node*>& nodes) {
    QString out;
    for (const dom::Node* n : nodes) {
        dom::appendSerializedNode(out, n);
    }
    return out;
}

// Empty when the check holds, else the texts written each time. HTML does not promise that a
// tree written out parses back to the same tree: gumbo moves text that ends a form after it,
// and a select before a table out of it, once. But what the serialiser writes must settle: the
// tree read back from the second writing writes out as the same text again. A serialiser that
// escapes twice, or quotes an attribute so that it reads otherwise, never settles.
inline QString checkDocument(const QString& text) {
    const QString once = dom::serializeChildren(dom::parseDocument(text)->document());
    const QString twice = dom::serializeChildren(dom::parseDocument(once)->document());
    const QString thrice = dom::serializeChildren(dom::parseDocument(twice)->document());
    if (thrice != twice) {
        return u"document: the written page does not settle\nonce: " + once + u"\ntwice: " + twice +
               u"\nthrice: " + thrice;
    }
    return QString();
}

inline QString checkFragment(const QString& text, const QString& context) {
    dom::Tree tree;
    const QString once = serialized(dom::parseFragment(text, context, tree));
    const QString twice = serialized(dom::parseFragment(once, context, tree));
    const QString thrice = serialized(dom::parseFragment(twice, context, tree));
    if (thrice != twice) {
        return u"fragment in " + context + u": the written nodes do not settle\nonce: " + once +
               u"\ntwice: " + twice + u"\nthrice: " + thrice;
    }
    return QString();
}

inline QString checkHtml(const HtmlInput& in) {
    QString problem = checkDocument(in.text);
    if (problem.isEmpty()) {
        problem = checkFragment(in.text, in.context);
    }
    return problem;
}

}  // namespace kestrova::fuzz
