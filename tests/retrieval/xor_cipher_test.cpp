// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/xor_cipher.h"

#include "platform/failure.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

using namespace kestrova;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(data), data.size());
}

QByteArray scrambledByHand(QByteArray data, const QByteArray& key) {
    for (qsizetype i = 0; i < data.size(); ++i) {
        data[i] = char(data[i] ^ key[i % key.size()]);
    }
    return data;
}

}  // namespace

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

class EnDeCryptFileTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
    XorCipher x;
    const QString key = QStringLiteral("KLTW57pxqzv");
};

TEST_F(EnDeCryptFileTest, ChunkBoundariesKeepTheKeyInStep) {
    // 8184 is the chunk for an 11-character key: below, exactly, and across chunks.
    for (qsizetype size : {0, 1, 8183, 8184, 8185, 3 * 8184 + 17}) {
        QByteArray data(size, '\0');
        for (qsizetype i = 0; i < size; ++i) {
            data[i] = char((i * 37 + 11) & 0xFF);  // every byte value, 0x80..0xFF included
        }
        writeAll(path("in"), data);
        QFile::remove(path("out"));
        QFile::remove(path("back"));
        ASSERT_TRUE(x.scrambleFile(path("in"), path("out"), key)) << size;
        EXPECT_EQ(readAll(path("out")), scrambledByHand(data, key.toLatin1())) << size;
        ASSERT_TRUE(x.scrambleFile(path("out"), path("back"), key));
        EXPECT_EQ(readAll(path("back")), data) << size;
    }
}

TEST_F(EnDeCryptFileTest, RefusalsTouchNothing) {
    writeAll(path("in"), "source");
    writeAll(path("out"), "existing");
    EXPECT_FALSE(x.scrambleFile(path("in"), path("out"), key));  // OverWrite omitted
    EXPECT_FALSE(x.scrambleFile(QString(), path("out"), key));
    EXPECT_FALSE(x.scrambleFile(path("in"), QString(), key));
    EXPECT_FALSE(x.scrambleFile(path("missing"), path("new"), key));
    EXPECT_FALSE(x.scrambleFile(dir.path(), path("new"), key));  // a folder is no file
    EXPECT_EQ(readAll(path("in")), QByteArray("source"));
    EXPECT_EQ(readAll(path("out")), QByteArray("existing"));
    EXPECT_FALSE(QFile::exists(path("new")));
}

TEST_F(EnDeCryptFileTest, DestinationNamingTheSourceIsRefusedEvenWithOverWrite) {
    writeAll(path("in"), "precious");
    EXPECT_FALSE(x.scrambleFile(path("in"), path("in"), key, true));
    EXPECT_FALSE(x.scrambleFile(path("in"), dir.path() + QStringLiteral("/./in"), key, true));
    ASSERT_TRUE(QFile::link(path("in"), path("alias")));
    EXPECT_FALSE(x.scrambleFile(path("in"), path("alias"), key, true));
    EXPECT_EQ(readAll(path("in")), QByteArray("precious"));
}

TEST_F(EnDeCryptFileTest, OverlongKeyIsRefusedAndEmptyKeyRaises) {
    writeAll(path("in"), "data");
    EXPECT_FALSE(x.scrambleFile(path("in"), path("out"), QString(8193, u'k')));
    EXPECT_FALSE(QFile::exists(path("out")));
    EXPECT_TRUE(x.scrambleFile(path("in"), path("out"), QString(8192, u'k')));
    EXPECT_THROW(x.scrambleFile(path("in"), path("out2"), QString()), Failure);
}

TEST_F(EnDeCryptFileTest, OverWriteReplacesTheDestination) {
    writeAll(path("in"), "abc");
    writeAll(path("out"), "a much longer old content");
    ASSERT_TRUE(x.scrambleFile(path("in"), path("out"), key, true));
    EXPECT_EQ(readAll(path("out")), scrambledByHand("abc", key.toLatin1()));
}

TEST(machineCodeText, IsTheRoutineInUpperCaseHexAndCanGoToTheClipboard) {
    XorCipher x;
    ASSERT_TRUE(x.isReady());
    const QString code = x.machineCodeText(true);
    EXPECT_TRUE(code.startsWith(QStringLiteral("5589E5")));  // push ebp; mov ebp, esp
    EXPECT_TRUE(code.endsWith(QStringLiteral("C21000")));    // ret 16
    EXPECT_EQ(code, code.toUpper());
    EXPECT_EQ(code.size() % 2, 0);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), code);
}
