// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Inputs on which the fast parser once built another tree than gumbo, or whose serialised
// tree parsed back differently: every kept finding of the HTML harness is replayed, and each
// kind of difference has a case of its own showing that the fast path now takes such text
// itself (declining would send a whole report page to the slow parser).

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

QString bodyText(const std::shared_ptr<Tree>& tree) {
    return textContent(tree->findFirst(tree->document(), u"body"));
}

TEST(HtmlFindings, EveryKeptInputNowAgreesWithGumboOrIsDeclined) {
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

struct Agreement {
    const char* name;
    QString html;
    QString bodyText;  // what both parsers put in the body
};

void PrintTo(const Agreement& row, std::ostream* os) {
    *os << row.name;
}

class FastParserTakesAndAgrees : public ::testing::TestWithParam<Agreement> {};

TEST_P(FastParserTakesAndAgrees, WithGumbo) {
    const Agreement& row = GetParam();
    const auto fast = fastParseDocument(row.html);
    ASSERT_NE(fast, nullptr) << "the fast parser should take this page";
    const auto gumbo = gumboParseDocument(row.html);
    EXPECT_EQ(debugDump(fast->document()), debugDump(gumbo->document()));
    EXPECT_EQ(bodyText(fast), row.bodyText);
    EXPECT_EQ(fuzz::checkDocument(row.html), QString());
}

const QString kFFFD(QChar(0xFFFD));

INSTANTIATE_TEST_SUITE_P(
    Pages, FastParserTakesAndAgrees,
    ::testing::Values(
        // Class A: gumbo gives U+FFFD for these; the program's row text can hold them.
        Agreement{"ControlCharactersBecomeReplacementCharacters",
                  page(q("a\x01"
                         "b\x1f"
                         "c\x7f"
                         "d") +
                       QChar(0x85) +
                       q("e\t\n\x0c"
                         "f")),
                  q("a") + kFFFD + q("b") + kFFFD + q("c") + kFFFD + q("d") + kFFFD +
                      q("e\t\n\x0c"
                        "f")},
        Agreement{"NoncharactersBecomeReplacementCharacters",
                  page(QString(QChar(0xFDD0)) + QChar(0xFFFE) + QChar(0xFFFF) +
                       QString::fromUcs4(U"\U0001FFFE\U0010FFFF") + QChar(0xFDF0)),
                  kFFFD + kFFFD + kFFFD + kFFFD + kFFFD + QChar(0xFDF0)},
        Agreement{"LoneSurrogatesBecomeReplacementCharacters",
                  page(q("x") + QChar(0xD800) + q("y") + QChar(0xDC00) +
                       QString::fromUcs4(U"\U0001F600")),
                  q("x") + kFFFD + q("y") + kFFFD + QString::fromUcs4(U"\U0001F600")},
        Agreement{"ReplacedInAttributeValuesAndTitles",
                  q("<html><head><title>t\x02</title></head><body><p title=\"v\x03\">x</p>"
                    "</body></html>"),
                  q("x")},
        // Class B1: a reference to U+FEFF is a character like any other.
        Agreement{"NumericReferenceToFEFFIsKept", page(q("&#65279;2013-04-17&#xFEFF;")),
                  QChar(0xFEFF) + q("2013-04-17") + QChar(0xFEFF)},
        // Class B2: a U+FEFF that starts a text is a character too, not a byte order mark.
        Agreement{"FEFFStartingATextIsKept",
                  page(QChar(0xFEFF) + q("x<b>") + QChar(0xFEFF) + q("</b>")),
                  QChar(0xFEFF) + q("x") + QChar(0xFEFF)},
        // Class C: gumbo 0.10.1 puts text that ends a form after the form.
        Agreement{"TextEndingAFormFollowsIt",
                  page(q("<div><form name=\"f\">a<b>x</b>t</form>u</div><form> </form>")),
                  q("axtu ")},
        Agreement{"TextBeforeAnInnerEndTagStaysInTheForm",
                  page(q("<form><b>x</b><span>t</span></form>")), q("xt")}),
    [](const auto& row) { return std::string(row.param.name); });

// The program's row text puts a log field that starts with U+FEFF in as "&#65279;": whichever
// parser reads the page, the record's date field reads alike.
TEST(HtmlFindings, ADateFieldStartingWithFEFFReadsAlikeOnBothPaths) {
    const QString row = q("<table><tbody><tr><td>&#65279;2013-04-17</td></tr></tbody></table>");
    Tree tree;
    std::vector<Node*> fast;
    ASSERT_TRUE(fastParseFragment(row, u"div", tree, fast));
    const std::vector<Node*> slow = gumboParseFragment(row, u"div", tree);
    EXPECT_EQ(fuzz::dumpOf(fast), fuzz::dumpOf(slow));
    EXPECT_EQ(innerText(fast.front()), QChar(0xFEFF) + q("2013-04-17"));
}

TEST(HtmlFindings, FragmentsTakeTheSameCharactersAsPages) {
    const QString fragments[] = {QString(QChar(0x03)), QChar(0xFEFF) + q("x"), q("<form>t</form>u"),
                                 q("&#65279;") + QChar(0xD800)};
    for (const QString& f : fragments) {
        Tree tree;
        std::vector<Node*> nodes;
        EXPECT_TRUE(fastParseFragment(f, u"div", tree, nodes)) << f.toStdString();
        EXPECT_EQ(fuzz::checkFragment(f, QStringLiteral("div")), QString()) << f.toStdString();
    }
}

// An end tag of a raw-text element with attributes or "/" still ends it.
TEST(HtmlFindings, RawTextEndsAtItsEndTagWhateverFollowsTheName) {
    const QString html = q("<html><head><style>a</style x>b</style></head><body></body></html>");
    EXPECT_EQ(fastParseDocument(html), nullptr);
    EXPECT_EQ(fuzz::checkDocument(html), QString());
}

// What the serialiser writes parses back to the same tree: the line feed a parser drops after
// <pre> and <textarea>, and the doctype's identifiers.
TEST(HtmlFindings, SerialisedTreesParseBackTheSame) {
    const QString pages[] = {
        page(q("<pre>\n\nx</pre><textarea>\n\ny</textarea><pre>z</pre>")),
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
