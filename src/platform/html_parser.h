// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Parsing and serialising the node tree. Internal to the platform library and its tests.
//
// Two parsers produce the same tree. gumbo is the reference: a complete HTML5 parser, but at
// about 6 MB/s it would take most of a minute for a month of a million records. The fast parser
// handles well-formed mark-up of the shapes the program writes itself (explicit html/head/body,
// sections in tables, every element closed in order) and gives up on anything where HTML5 tree
// construction would restructure the input; then gumbo parses it. Tests check that whenever
// the fast parser accepts a text, gumbo builds the same tree.

#include "platform/dom_tree.h"

#include <QString>
#include <QStringView>
#include <memory>
#include <vector>

namespace kestrova::dom {

// The tree keeps `html` (shared, not copied): its text nodes point into it.
std::shared_ptr<Tree> parseDocument(const QString& html);
// nullptr when the text is outside what the fast parser handles.
std::shared_ptr<Tree> fastParseDocument(const QString& html);
std::shared_ptr<Tree> gumboParseDocument(QStringView html);

// A deep copy of a node's text, for handing out: parsed text may point into the page's
// buffer, which lives only as long as the tree.
inline QString ownedCopy(const QString& s) {
    return s.isNull() ? QString() : QString(s.constData(), s.size());
}

// Parses html as the content of an element named contextTag; the new nodes belong to tree
// and have no parent yet.
std::vector<Node*> parseFragment(QStringView html, QStringView contextTag, Tree& tree);
bool fastParseFragment(QStringView html, QStringView contextTag, Tree& tree,
                       std::vector<Node*>& nodes);
std::vector<Node*> gumboParseFragment(QStringView html, QStringView contextTag, Tree& tree);

QString serializeNode(const Node* node);  // outerHTML
void appendSerializedNode(QString& out, const Node* node);
QString serializeChildren(const Node* node);  // innerHTML
QString innerText(const Node* root);
QString textContent(const Node* root);

// One line per node with its depth, kind, name, attributes and text: for comparing trees.
QString debugDump(const Node* root);

}  // namespace kestrova::dom
