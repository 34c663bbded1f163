// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Own row text read back without a document, and the usage log's records collected as it.

#include "retrieval/row_text.h"

#include "support/qt_printers.h"

#include "platform/html_document.h"
#include "retrieval/usage_log.h"
#include "retrieval/usage_records.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

using namespace kestrova;

namespace {

using kestrova::test::q;

QString row(const QStringList& fields) {
    return toRowText(fields);
}

// Own row text read back without a document gives what a document makes of the same row:
// every field of a row toRowText wrote, from random characters of the kinds that matter.
TEST(OwnRowText, ReadsFieldsAsADocumentDoes) {
    // Mostly characters a parser keeps (some of them escaped by toRowText), now and then one it
    // would change or that toRowText writes as a reference a parser does not keep as it is.
    const QString kept = q("a7  \t\n\r&<>\"';#\u00a0\u00e9\u00ff\u20ac\u65e5") + q("😀");
    const char16_t changed[] = {0x01, 0x0C, 0x7F, 0x85, 0xD83D, 0xDE00, 0xFFFE, 0};
    QRandomGenerator random(18);
    int own = 0;
    for (int n = 0; n < 2000; ++n) {
        QStringList fields;
        for (int f = 0; f < 6; ++f) {
            QString field;
            const int length = int(random.bounded(8));
            for (int k = 0; k < length; ++k) {
                if (random.bounded(60) == 0) {
                    field += QChar(changed[random.bounded(int(std::size(changed)))]);
                    continue;
                }
                const int at = int(random.bounded(int(kept.size())));
                field += QChar::isSurrogate(kept[at].unicode())
                             ? kept.mid(kept[at].isHighSurrogate() ? at : at - 1, 2)
                             : QString(kept[at]);
            }
            fields << field;
        }
        const QString text = toRowText(fields);
        const QByteArray latin1 = text.toLatin1();  // row text is Latin-1 by construction
        ASSERT_EQ(QString::fromLatin1(latin1), text);
        OwnRowText rows{QLatin1StringView(latin1)};
        OwnRowText::Fields read;
        const bool accepted = rows.next(read);
        ASSERT_EQ(accepted, isOwnRowText(QLatin1StringView(latin1)));
        if (!accepted) {
            EXPECT_TRUE(rows.failed());
            continue;
        }
        ++own;
        EXPECT_FALSE(rows.next(read));
        EXPECT_FALSE(rows.failed());
        const HtmlDocument doc(q("<html><head></head><body><table><tbody>") + text +
                               q("</tbody></table></body></html>"));
        ElementPtr tr = doc.elementsByTagName(q("tr")).item(0);
        for (int f = 0; f < 6; ++f) {
            SCOPED_TRACE(text.toStdString());
            QString scratch;
            EXPECT_EQ(cellTextOf(read[std::size_t(f)], scratch).toString(),
                      tr->cell(f)->innerText());
            QByteArray markup(read[std::size_t(f)].size(), '\0');
            markup.truncate(writeCellMarkup(markup.data(), read[std::size_t(f)]) - markup.data());
            EXPECT_EQ(QString::fromLatin1(markup), tr->cell(f)->innerHTML());
        }
    }
    // Both kinds of rows were met.
    EXPECT_GT(own, 600);
    EXPECT_LT(own, 1900);
}

TEST(OwnRowText, TellsOwnRowTextFromOtherText) {
    const std::pair<QString, bool> texts[] = {
        {QString(), true},
        {row({q("a"), q("b"), q("c"), q("d"), q("e"), q("f")}), true},
        {row({q("a&b"), q("€"), q("x\ty"), q("1\r"), q(""), q("'\"")}), true},
        {row({q("a"), q("b"), q("c"), q("d"), q("e"), q("f")}).repeated(3), true},
        {q("<TR><TD>a</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD></TR>"), false},
        {q("<TR><TD>a</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>f</TD></TR> "), false},
        {q("<TR><TD>a&b</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>f</TD></TR>"), false},
        {q("<TR><TD>&#0233;</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>f</TD></TR>"), false},
        {q("<TR><TD>&#233;</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>f</TD></TR>"), false},
        {q("<TR><TD>&#x20AC;</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>f</TD></TR>"), false},
        {q("<TR><TD>é</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>f</TD></TR>"), true},
        {q("<TR><TD>€</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>f</TD></TR>"), false},
        {q("<TR><TD>a</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>f"), false},
    };
    // As the report reads the records it is given.
    for (const auto& [text, own] : texts) {
        EXPECT_EQ(UsageRecords(text).isOwn(), own) << text.toStdString();
    }
}

TEST(UsageLogRecords, FieldsThatGrowWhenEscapedStillFit) {
    // Every field escapes to several times its length: more than the room made for a log.
    QString text = q("h\n");
    for (int i = 0; i < 2000; ++i) {
        text += q("&&&&&&&&,<<<<<<<<,>>>>>>>>,\"\"\"\"\"\"\"\",''''''''',€€€€€€€€\n");
    }
    const UsageLogRecords records = readUsageLogRecords(text);
    EXPECT_EQ(records.count, 2000);
    EXPECT_EQ(records.records.rowText(),
              toRowText({q("&&&&&&&&"), q("<<<<<<<<"), q(">>>>>>>>"), q("\"\"\"\"\"\"\"\""),
                         q("'''''''''"), q("€€€€€€€€")})
                  .repeated(2000));  // all alike
    EXPECT_TRUE(records.records.isOwn());
}

}  // namespace
