// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/xor_cipher.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace kestrova;

struct TextCase {
    const char* name;
    QString text;
    QString key;
};

class EnDeCryptText : public ::testing::TestWithParam<TextCase> {};

TEST_P(EnDeCryptText, MatchesBytewiseXorAndRestoresTheText) {
    const TextCase& c = GetParam();
    XorCipher x;
    QString s = c.text;
    ASSERT_TRUE(x.scramble(s, c.key));
    ASSERT_EQ(s.size(), c.text.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t in = c.text[i].unicode();
        const char16_t k = c.key[i % c.key.size()].unicode() & 0xFF;
        ASSERT_EQ(s[i].unicode(), char16_t((in & 0xFF00) | ((in & 0xFF) ^ k))) << "at " << i;
    }
    ASSERT_TRUE(x.scramble(s, c.key));
    EXPECT_EQ(s, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EnDeCryptText,
    ::testing::Values(
        TextCase{"CacheKeyOnRowText", QStringLiteral("<TR><TD>2013-04-17</TD></TR>"),
                 QStringLiteral("KLTW57pxqzv")},
        TextCase{"OneCharacterTextAndKey", QStringLiteral("A"), QStringLiteral("z")},
        TextCase{"KeyLongerThanText", QStringLiteral("abc"), QStringLiteral("qhtwzmkbrla")},
        TextCase{"HighByteKeptAboveLatin1", QStringLiteral(u"\u20ac\u0915x"),
                 QStringLiteral("KLTW57pxqzv")},
        TextCase{"KeyHighBitsIgnored", QStringLiteral("password"), QStringLiteral(u"\u4141B")},
        // Longer than the internal block, so the block loop and the tail both run.
        TextCase{"TextLongerThanTheBlock", QString(10007, u'x'), QStringLiteral("KLTW57pxqzv")},
        TextCase{"KeyLongerThanTheBlock", QString(5000, u'y'),
                 QString(300, u'a') + QStringLiteral("bcdefg")}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(scramble, EmptyTextOrKeyIsRefusedAndLeavesTheText) {
    XorCipher x;
    QString empty;
    EXPECT_FALSE(x.scramble(empty, QStringLiteral("k")));
    QString s = QStringLiteral("abc");
    EXPECT_FALSE(x.scramble(s, QString()));
    EXPECT_EQ(s, QStringLiteral("abc"));
}

TEST(scramble, KeyRestartsAtEveryCall) {
    XorCipher x;
    const QString key = QStringLiteral("abc");
    QString whole = QStringLiteral("hello world");
    x.scramble(whole, key);
    QString first = QStringLiteral("hell");  // 4 is not a multiple of 3
    QString second = QStringLiteral("o world");
    x.scramble(first, key);
    x.scramble(second, key);
    EXPECT_NE(first + second, whole);
    QString a = QStringLiteral("hel");
    QString b = QStringLiteral("lo world");
    x.scramble(a, key);
    x.scramble(b, key);
    EXPECT_EQ(a + b, whole);
}
