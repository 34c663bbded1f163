// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the HTML harness checks of one input, shared with the unit test that replays every kept
// finding: the fast parser either declines a text or builds exactly gumbo's tree (as a whole
// document, and as a fragment in a context element), and what the serialiser writes of a
// tree the fast parser built parses back to the same tree.
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

// Empty when every check holds, else what went wrong with the two trees' dumps.
inline QString checkDocument(const QString& text) {
    const auto fast = dom::fastParseDocument(text);
    if (!fast) {
        return QString();
    }
    const QString fastDump = dom::debugDump(fast->document());
    const QString gumboDump = dom::debugDump(dom::gumboParseDocument(text)->document());
    if (fastDump != gumboDump) {
        return u"document: the fast parser and gumbo disagree\nfast:\n" + fastDump + u"gumbo:\n" +
               gumboDump;
    }
    const QString again = dom::serializeChildren(fast->document());
    const QString againDump = dom::debugDump(dom::parseDocument(again)->document());
    if (againDump != fastDump) {
        return u"document: the serialised page parses to another tree\nserialised: " + again +
               u"\nfirst:\n" + fastDump + u"again:\n" + againDump;
    }
    return QString();
}

inline QString checkFragment(const QString& text, const QString& context) {
    dom::Tree tree;
    std::vector<dom::Node*> fast;
    if (!dom::fastParseFragment(text, context, tree, fast)) {
        return QString();
    }
    const QString fastDump = dumpOf(fast);
    const QString gumboDump = dumpOf(dom::gumboParseFragment(text, context, tree));
    if (fastDump != gumboDump) {
        return u"fragment in " + context + u": the fast parser and gumbo disagree\nfast:\n" +
               fastDump + u"gumbo:\n" + gumboDump;
    }
    const QString again = serialized(fast);
    const QString againDump = dumpOf(dom::parseFragment(again, context, tree));
    if (againDump != fastDump) {
        return u"fragment in " + context + u": the serialised nodes parse to other nodes\n" +
               u"serialised: " + again + u"\nfirst:\n" + fastDump + u"again:\n" + againDump;
    }
    return QString();
}

// The checks on the text, and on what the serialiser writes of whichever tree it gives (the
// mark-up the program writes is exactly what the fast parser is for).
inline QString checkHtml(const HtmlInput& in) {
    QString problem = checkDocument(in.text);
    if (problem.isEmpty()) {
        problem = checkFragment(in.text, in.context);
    }
    if (problem.isEmpty()) {
        const auto tree = dom::parseDocument(in.text);
        problem = checkDocument(dom::serializeChildren(tree->document()));
    }
    if (problem.isEmpty()) {
        dom::Tree tree;
        problem =
            checkFragment(serialized(dom::parseFragment(in.text, in.context, tree)), in.context);
    }
    return problem;
}

}  // namespace kestrova::fuzz
