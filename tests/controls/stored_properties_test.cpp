// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/stored_properties.h"
#include "controls/std_font.h"

#include <gtest/gtest.h>

using namespace kestrova;

TEST(StdFont, TextRoundTripKeepsAllEightAttributes) {
    StdFont f(QStringLiteral("Lucida, Sans"), 9.75);
    f.setItalic(true);
    f.setStrikethrough(true);
    f.setWeight(600);
    f.setCharset(238);
    EXPECT_EQ(StdFont::fromText(f.toText()), f);
    EXPECT_EQ(StdFont(QStringLiteral("Arial"), 8.25, true).toText(),
              u"Arial,8.25,True,False,False,False,700,0");
}

TEST(StdFont, UnreadableTextIsNoFont) {
    EXPECT_EQ(StdFont::fromText(QStringLiteral("Arial")), std::nullopt);
    EXPECT_EQ(StdFont::fromText(QStringLiteral("Arial,big,False,False,False,False,400,0")),
              std::nullopt);
    EXPECT_EQ(StdFont::fromText(QStringLiteral(",8,False,False,False,False,400,0")), std::nullopt);
}

TEST(StdFont, CopyFontLetsTheExactWeightWin) {
    StdFont from(QStringLiteral("Arial"), 10);
    from.setWeight(800);
    StdFont to;
    copyFont(from, to);
    EXPECT_EQ(to.weight(), 800);
    EXPECT_EQ(to, from);
    from.setWeight(500);
    copyFont(from, to);
    EXPECT_EQ(to.weight(), 500);
    EXPECT_FALSE(to.bold());
}

struct ColorTextCase {
    const char* text;
    std::optional<ColorRef> value;
};

class StoredColourText : public ::testing::TestWithParam<ColorTextCase> {};

TEST_P(StoredColourText, ReadsSignedAndUnsignedDecimal) {
    EXPECT_EQ(storedColor(QString::fromLatin1(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, StoredColourText,
                         ::testing::Values(ColorTextCase{"14811105", 14811105u},
                                           ColorTextCase{"2147483664", 0x80000010u},
                                           ColorTextCase{"-2147483632", 0x80000010u},
                                           ColorTextCase{"4294967296", std::nullopt},
                                           ColorTextCase{"-2147483649", std::nullopt},
                                           ColorTextCase{"red", std::nullopt}));

TEST(StoredProperties, UnreadableValuesGiveTheDefault) {
    PropertyBag bag;
    bag.write(QStringLiteral("n"), QStringLiteral("twelve"));
    bag.write(QStringLiteral("big"), QStringLiteral("99999999999"));
    bag.write(QStringLiteral("b"), QStringLiteral("maybe"));
    bag.write(QStringLiteral("x"), QStringLiteral("1.5.5"));
    EXPECT_EQ(readInt(bag, QStringLiteral("n"), 7), 7);
    EXPECT_EQ(readInt(bag, QStringLiteral("big"), 7), 7);
    EXPECT_EQ(readBool(bag, QStringLiteral("b"), true), true);
    EXPECT_DOUBLE_EQ(readDouble(bag, QStringLiteral("x"), 2.5), 2.5);
    EXPECT_EQ(readInt(bag, QStringLiteral("absent"), 3), 3);
}

// A line whose key is only blanks is no property: kept, it was written as "=value", which does
// not read back, so a form the program wrote lost a line when read again.
TEST(StoredForm, ALineWithoutAKeyIsNoPropertyAndAWrittenFormReadsBack) {
    const StoredForm form = StoredForm::parse(
        QStringLiteral("[XChart1]\n   =lost\nMaxY=100\n\t= x\n[neb1]\nValue = 2 \n"));
    EXPECT_EQ(form.bag(QStringLiteral("XChart1")).keys(), QStringList{QStringLiteral("MaxY")});
    EXPECT_EQ(form.bag(QStringLiteral("neb1")).read(QStringLiteral("value")),
              QStringLiteral(" 2 "));
    const QString written = form.serialize();
    EXPECT_EQ(StoredForm::parse(written).serialize(), written);
}
