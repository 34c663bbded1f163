// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Parsing and serialising the node tree. Internal to the platform library and its tests.
//
// gumbo, a complete HTML5 parser, reads every text. What the program parses is small (the
// report template, the portal's pages, a cache file's records that are not the program's own
// row text); the report's page of up to a million rows is written, never parsed back.

#include "platform/dom_tree.h"

#include <QString>
#include <QStringView>
#include <memory>
#include <vector>

namespace kestrova::dom {

std::shared_ptr<Tree> parseDocument(QStringView html);

// Parses html as the content of an element named contextTag; the new nodes belong to tree
// and have no parent yet.
std::vector<Node*> parseFragment(QStringView html, QStringView contextTag, Tree& tree);

QString serializeNode(const Node* node);  // outerHTML
void appendSerializedNode(QString& out, const Node* node);
QString serializeChildren(const Node* node);  // innerHTML
QString innerText(const Node* root);
QString textContent(const Node* root);

// One line per node with its depth, kind, name, attributes and text: for comparing trees.
QString debugDump(const Node* root);

}  // namespace kestrova::dom
