// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Inputs the HTML harness once found, and what the serialiser must keep: every kept finding is
// replayed, and the shapes the program reads (a cell, pre-formatted text, a doctype) are written
// out to parse back to the same tree.

#include "fuzz/html_check.h"
#include "platform/html_parser.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace kestrova;
using namespace kestrova::dom;

namespace {

using kestrova::test::q;

QString page(const QString& body) {
    return q("<html><head></head><body>") + body + q("</body></html>");
}

TEST(HtmlFindings, EveryKeptInputIsWrittenOutSettled) {
    const QDir dir(QStringLiteral(KESTROVA_SOURCE_DIR "/tests/fuzz/findings/html"));
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_GE(names.size(), 70);
    for (const QString& name : names) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray bytes = file.readAll();
        const fuzz::HtmlInput in = fuzz::decodeHtmlInput(
            reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
        const QString problem = fuzz::checkHtml(in);
        EXPECT_TRUE(problem.isEmpty()) << name.toStdString() << "\n" << problem.toStdString();
    }
}

// What the serialiser writes parses back to the same tree: the line feed a parser drops after
// HTML's <pre> and <textarea> (and keeps in SVG), and the doctype's identifiers.
TEST(HtmlFindings, SerialisedTreesParseBackTheSame) {
    const QString pages[] = {
        page(q("<pre>\n\nx</pre><textarea>\n\ny</textarea><pre>z</pre>")),
        page(q("<svg><textarea>\n\ny</textarea></svg>")),  // SVG's textarea keeps its line feed
        q("<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
          "\"http://www.w3.org/TR/html4/loose.dtd\"><html><head></head><body></body></html>"),
        q("<!DOCTYPE html SYSTEM 'about:\"legacy\"'><html><head></head><body></body></html>")};
    for (const QString& html : pages) {
        const auto first = parseDocument(html);
        const QString again = serializeChildren(first->document());
        EXPECT_EQ(debugDump(parseDocument(again)->document()), debugDump(first->document()))
            << again.toStdString();
    }
}

}  // namespace
