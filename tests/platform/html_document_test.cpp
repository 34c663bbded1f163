// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/html_document.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace kestrova;

namespace {

using kestrova::test::q;

HtmlDocument page(const char* body) {
    return HtmlDocument(q("<html><head></head><body>") + q(body) + q("</body></html>"));
}

}  // namespace

TEST(HtmlDocument, FindsElementsByIdNameAndTagNameWithoutRegardToCase) {
    HtmlDocument doc = page(
        "<form name=\"SWEForm2_0\"><table id=\"t\"><tbody><tr><td>a</td></tr></tbody></table>"
        "</form><TABLE><tbody><tr><td>b</td></tr></tbody></TABLE>"
        "<input name=\"SWEForm2_0\" value=\"v\">");
    ASSERT_NE(doc.elementById(q("t")), nullptr);
    EXPECT_EQ(doc.elementById(q("t"))->tagName(), q("TABLE"));
    EXPECT_EQ(doc.elementById(q("missing")), nullptr);
    EXPECT_EQ(doc.elementsByTagName(q("table")).item(1)->innerText(), q("b"));
    ElementList named = doc.elementsByName(q("SWEForm2_0"));
    ASSERT_EQ(named.count(), 2);
    EXPECT_EQ(named.item(0)->tagName(), q("FORM"));
    EXPECT_EQ(named.item(1)->value(), q("v"));
}

TEST(HtmlDocument, ChildrenCountElementsOnly) {
    HtmlDocument doc = page("<div id=\"d\"> text <b>1</b> more <i>2</i><!-- c --></div>");
    ElementPtr d = doc.elementById(q("d"));
    ASSERT_EQ(d->childCount(), 2);
    EXPECT_EQ(d->child(0)->tagName(), q("B"));
    EXPECT_EQ(d->child(1)->tagName(), q("I"));
}

TEST(HtmlDocument, TableRowsIncludeImpliedBodiesAndKeepHeadFootOrder) {
    // <tr> straight in <table> gets a tbody from the parser; rows list head, bodies, foot.
    HtmlDocument doc = page(
        "<table id=\"t\"><tfoot><tr><td>foot</td></tr></tfoot><tr><td>body1</td></tr>"
        "<thead><tr><th>head</th></tr></thead></table>");
    ElementPtr t = doc.elementById(q("t"));
    ASSERT_EQ(t->rowCount(), 3);
    EXPECT_EQ(t->row(0)->innerText(), q("head"));
    EXPECT_EQ(t->row(1)->innerText(), q("body1"));
    EXPECT_EQ(t->row(2)->innerText(), q("foot"));
    EXPECT_EQ(t->row(0)->cellCount(), 1);
    EXPECT_EQ(t->row(0)->cell(0)->tagName(), q("TH"));
}

struct TextCase {
    const char* name;
    const char* html;
    const char* text;
};

class InnerText : public ::testing::TestWithParam<TextCase> {};

TEST_P(InnerText, ReadsAsAReaderSeesIt) {
    HtmlDocument doc = page((q("<div id=\"x\">") + q(GetParam().html) + q("</div>")).toUtf8());
    EXPECT_EQ(doc.elementById(q("x"))->innerText(), q(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InnerText,
    ::testing::Values(
        TextCase{"BlanksAroundAreDropped", "  2013-04-17  ", "2013-04-17"},
        TextCase{"CarriageReturnAtTheEndIsNoText", "13.58\r\n", "13.58"},
        TextCase{"RunsOfWhiteSpaceCollapse", "a \n\t b", "a b"},
        TextCase{"NoBreakSpaceIsKept", "a&nbsp;&nbsp;b", "a\u00a0\u00a0b"},
        TextCase{"LineBreakTag", "<b><u>12.5 MB</u></b><br>", "12.5 MB\n"},
        TextCase{"BlocksBreakLines", "<div>one</div><div>two</div>", "one\ntwo"},
        TextCase{"ParagraphsLeaveABlankLine", "<p>x</p><p>y</p>", "x\n\ny"},
        TextCase{"CellsAreSeparatedByTabsRowsByLines",
                 "<table><tr><td>a</td><td> b </td></tr><tr><td>c</td></tr></table>", "a\tb\nc"},
        TextCase{"ScriptAndStyleAreNotText", "x<script>var a=1;</script><style>p{}</style>y", "xy"},
        TextCase{"InlineElementsJoinWords", "ab<b>cd</b> <i>ef</i>", "abcd ef"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(HtmlDocument, SerialisationEscapesTextAndAttributesAndStaysLatin1) {
    HtmlDocument doc = page("<p id=\"p\" title=\"a &quot;b&quot; &amp; c\">x &lt; y &amp; z</p>");
    ElementPtr p = doc.elementById(q("p"));
    p->setAttribute(q("data-note"), QString::fromUtf8("\xe2\x82\xac <5>"));
    EXPECT_EQ(p->outerHTML(),
              q("<p id=\"p\" title=\"a &quot;b&quot; &amp; c\" data-note=\"&#8364; &lt;5&gt;\">"
                "x &lt; y &amp; z</p>"));
    p->setInnerHTML(QString::fromUtf8("\xf0\x9f\x98\x80 &nbsp;"));
    EXPECT_EQ(p->innerHTML(), q("&#128512; &nbsp;"));
}

TEST(HtmlDocument, MissingIndexesThrowWithADescription) {
    HtmlDocument doc = page("<table id=\"t\"><tbody><tr><td>1</td></tr></tbody></table>");
    ElementPtr t = doc.elementById(q("t"));
    auto expectFailure = [](auto&& call, const char* mentions) {
        try {
            call();
            ADD_FAILURE() << "no failure for " << mentions;
        } catch (const Failure& f) {
            EXPECT_TRUE(f.description().contains(q(mentions))) << f.what();
        }
    };
    expectFailure([&] { t->row(1); }, "Row 1");
    expectFailure([&] { t->row(-1); }, "Row -1");
    expectFailure([&] { t->row(0)->cell(6); }, "Cell 6");
    expectFailure([&] { t->child(3); }, "Child 3");
    expectFailure([&] { t->row(0)->cell(0)->rowCount(); }, "not a table");
    expectFailure([&] { t->cellCount(); }, "not a table row");
    expectFailure([&] { doc.elementsByTagName(q("table")).item(1); }, "Item 1");
    expectFailure([&] { doc.frame(0); }, "Frame 0");
}

TEST(HtmlDocument, DeeplyNestedPagesDoNotOverflowTheStack) {
    constexpr int depth = 50000;
    QString html = q("<html><head></head><body>");
    for (int i = 0; i < depth; ++i) {
        html += q("<div>");
    }
    html += q("deep");
    for (int i = 0; i < depth; ++i) {
        html += q("</div>");
    }
    html += q("</body></html>");
    HtmlDocument doc(html);
    EXPECT_EQ(doc.documentElement()->innerText(), q("deep"));
    EXPECT_EQ(doc.outerHTML(), html);
    EXPECT_EQ(doc.elementsByTagName(q("div")).count(), depth);
}

TEST(HtmlDocument, ElementsComeInDocumentOrderAcrossNestedAndUnknownTags) {
    HtmlDocument doc = page(
        "<table id=\"a\"><tbody><tr><td><table id=\"b\"><tbody><tr><td><table id=\"c\">"
        "</table></td></tr></tbody></table>x</td><td><span><table id=\"d\"></table></span>"
        "</td></tr></tbody></table><kestrova-box id=\"k1\"><kestrova-box id=\"k2\">"
        "</kestrova-box></kestrova-box><table id=\"e\"></table>");
    auto ids = [&doc](const char* tag) {
        QStringList out;
        const ElementList found = doc.elementsByTagName(q(tag));
        for (int i = 0; i < found.count(); ++i) {
            out << found.item(i)->attribute(q("id"));
        }
        return out.join(u',');
    };
    EXPECT_EQ(ids("TABLE"), q("a,b,c,d,e"));
    EXPECT_EQ(ids("Kestrova-Box"), q("k1,k2"));
    EXPECT_EQ(ids("nosuchtag"), QString());
}

TEST(HtmlDocument, AttributesKeepTheirOrderAsTheyGrowChangeAndGo) {
    HtmlDocument doc = page(
        "<select id=\"s\"><option value=\"1\" selected id=\"o1\" class=\"c\">1</option>"
        "<option value=\"2\">2</option></select>");
    ElementPtr option = doc.elementById(q("o1"));
    for (const char* name : {"data-a", "data-b", "data-c", "data-d"}) {
        option->setAttribute(q(name), q(name).toUpper());
    }
    option->setAttribute(q("CLASS"), q("d"));
    EXPECT_EQ(option->outerHTML(),
              q("<option value=\"1\" selected=\"\" id=\"o1\" class=\"d\" data-a=\"DATA-A\" "
                "data-b=\"DATA-B\" data-c=\"DATA-C\" data-d=\"DATA-D\">1</option>"));
    doc.elementById(q("s"))->setValue(q("2"));
    EXPECT_EQ(option->outerHTML(),
              q("<option value=\"1\" id=\"o1\" class=\"d\" data-a=\"DATA-A\" data-b=\"DATA-B\" "
                "data-c=\"DATA-C\" data-d=\"DATA-D\">1</option>"));
    EXPECT_EQ(doc.elementById(q("s"))->value(), q("2"));
}
