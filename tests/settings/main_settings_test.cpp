// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window's stored settings without the window: the conversions of stored texts, the
// load order with its defaults, a value that does not convert, the password's round trip
// through the INI file, and the keys a close writes.

#include "settings/main_settings.h"

#include "platform/settings_store.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <tuple>

namespace kestrova {
namespace {

using kestrova::test::q;

// --- Conversions ---------------------------------------------------------------------------------

enum class Kind { Boolean, Int16, Byte, Colour, Single };

struct ConversionRow {
    const char* name;
    Kind kind;
    const char* text;
    bool converts;
    double expected = 0;  // the value when it converts (Booleans 0/1, colours as unsigned)
};

void PrintTo(const ConversionRow& row, std::ostream* os) {
    *os << row.name;
}

class Conversion : public ::testing::TestWithParam<ConversionRow> {};

TEST_P(Conversion, ReadsTheStoredTextAsItsField) {
    const ConversionRow& r = GetParam();
    const QString text = q(r.text);
    bool ok = false;
    double got = 0;
    switch (r.kind) {
        case Kind::Boolean: {
            bool v = false;
            ok = convertBoolean(text, v);
            got = v ? 1 : 0;
            break;
        }
        case Kind::Int16:
        case Kind::Byte: {
            qint64 v = 0;
            ok = r.kind == Kind::Int16 ? convertInteger(text, -32768, 32767, v)
                                       : convertInteger(text, 0, 255, v);
            got = double(v);
            break;
        }
        case Kind::Colour: {
            ColorRef v = 0;
            ok = convertColour(text, v);
            got = double(v);
            break;
        }
        case Kind::Single:
            ok = convertSingle(text, got);
            break;
    }
    ASSERT_EQ(ok, r.converts);
    if (r.converts) {
        EXPECT_DOUBLE_EQ(got, r.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    StoredTexts, Conversion,
    ::testing::Values(ConversionRow{"BooleanWordsInAnyCase", Kind::Boolean, "tRUE", true, 1},
                      ConversionRow{"BooleanFalseWord", Kind::Boolean, " False ", true, 0},
                      ConversionRow{"BooleanNumberMinusOneIsTrue", Kind::Boolean, "-1", true, 1},
                      ConversionRow{"BooleanZeroIsFalse", Kind::Boolean, "0", true, 0},
                      ConversionRow{"BooleanEmptyFails", Kind::Boolean, "", false},
                      ConversionRow{"IntegerHalfRoundsToEvenUp", Kind::Int16, "3.5", true, 4},
                      ConversionRow{"IntegerHalfRoundsToEvenDown", Kind::Int16, "2.5", true, 2},
                      ConversionRow{"IntegerNegative", Kind::Int16, "-1", true, -1},
                      ConversionRow{"IntegerLargestOfSixteenBits", Kind::Int16, "32767", true,
                                    32767},
                      ConversionRow{"IntegerBeyondSixteenBitsFails", Kind::Int16, "32768", false},
                      ConversionRow{"IntegerEmptyFails", Kind::Int16, " ", false},
                      ConversionRow{"ByteNegativeFails", Kind::Byte, "-1", false},
                      ConversionRow{"ColourPacked", Kind::Colour, "14811105", true, 14811105},
                      ConversionRow{"ColourSystemAsSignedNumber", Kind::Colour, "-2147483633", true,
                                    double(0x8000000Fu)},
                      ConversionRow{"ColourSystemAsUnsignedNumber", Kind::Colour, "2147483663",
                                    true, double(0x8000000Fu)},
                      ConversionRow{"ColourBeyond32BitsFails", Kind::Colour, "4294967296", false},
                      ConversionRow{"SingleTwips", Kind::Single, "9600", true, 9600},
                      ConversionRow{"SingleFraction", Kind::Single, "1234.5", true, 1234.5},
                      ConversionRow{"SingleBeyondItsRangeFails", Kind::Single, "1e39", false}),
    [](const ::testing::TestParamInfo<ConversionRow>& row) { return std::string(row.param.name); });

// --- Load and save -------------------------------------------------------------------------------

MainSettings someSettings() {
    MainSettings s;
    s.userNameEdit = q("abc");
    s.passwordEdit = q("pa,ss;=wörd");
    s.savePasswordCheck = 1;
    s.display.excludeFree = false;
    s.display.excludeNonFree = true;
    s.display.excludeMixed = true;
    s.cachingEnabled = true;
    s.display.colorFree = 1;
    s.display.colorBackFree = 2;
    s.display.colorMixed = 3;
    s.display.colorBackMixed = 4;
    s.display.colorNonFree = 5;
    s.display.colorBackNonFree = 0x80000005u;
    s.display.chartColorFree = 7;
    s.display.chartColorNonFree = 8;
    s.display.inbuiltChartColor = 9;
    s.display.chartType = 1;
    s.display.showTotalValue = true;
    s.display.showAverage = true;
    s.display.nightUnlimitedPlan = true;
    s.planType = 2;
    s.selfcaresite = 1;
    s.height = 7000;
    s.width = 8000;
    s.left = 300;
    s.top = 450;
    s.selectedTab = 2;
    return s;
}

MainSettings designDefaults() {
    MainSettings d;
    d.height = 9000;
    d.width = 9900;
    d.left = 1500;
    d.top = 1200;
    return d;
}

// Every field, copied into one tuple, so a failed comparison prints both settings whole.
auto fields(const MainSettings& s) {
    const DisplaySettings& d = s.display;
    return std::make_tuple(
        s.userNameEdit, s.passwordEdit, s.savePasswordCheck, d.excludeFree, d.excludeNonFree,
        d.excludeMixed, s.cachingEnabled, d.colorFree, d.colorBackFree, d.colorMixed,
        d.colorBackMixed, d.colorNonFree, d.colorBackNonFree, d.chartColorFree, d.chartColorNonFree,
        d.inbuiltChartColor, d.chartType, d.showTotalValue, d.showAverage, d.nightUnlimitedPlan,
        s.planType, s.selfcaresite, s.height, s.width, s.left, s.top, s.selectedTab);
}

void expectSame(const MainSettings& a, const MainSettings& b) {
    EXPECT_EQ(fields(a), fields(b));
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override { QSettings(SettingsStore().fileName(), QSettings::IniFormat).clear(); }
    // The settings a close saves, as the next load finds them.
    static void storeSomeSettings() {
        SettingsStore store;
        saveMainSettings(store, someSettings(), false);
    }
};

TEST_F(Settings, WhatACloseSavesTheNextLoadRestores) {
    storeSomeSettings();
    const LoadedSettings loaded = loadMainSettings(SettingsStore(), designDefaults());
    EXPECT_TRUE(loaded.problems.empty());
    // Everything but the password, which the keyring keeps: the file never holds it.
    MainSettings expected = someSettings();
    expected.passwordEdit.clear();
    expectSame(loaded.values, expected);
    EXPECT_TRUE(SettingsStore().contains(q("txtPasswordnew")));
    EXPECT_TRUE(SettingsStore().get(q("txtPasswordnew"), q("x")).isEmpty());
    EXPECT_TRUE(SettingsStore().get(q("txtPassword"), q("x")).isEmpty());
}

// Older versions kept the password scrambled in the file. Scrambling turns a character equal to
// its key character into NUL, and others into control characters, quotes, commas, "@" or "=":
// every one has to come back from such a file, so the password can move into the keyring.
TEST_F(Settings, EveryScrambledCharacterOfAnOldFileReadsBack) {
    QString password = kPasswordKey;  // scrambles to NUL characters
    for (int c = 1; c < 256; ++c) {
        password += QChar(c);
    }
    password += QChar(0x4E2D);
    password += q(" ends in a blank ");
    storeSomeSettings();
    SettingsStore().save(q("txtPasswordnew"), scramblePassword(password));  // as older versions did
    const QString scrambled = SettingsStore().get(q("txtPasswordnew"), QString());
    EXPECT_TRUE(scrambled.contains(QChar(0)));
    EXPECT_EQ(scrambled, scramblePassword(password));
    EXPECT_EQ(loadMainSettings(SettingsStore(), designDefaults()).values.passwordEdit, password);
}

// One stored value that does not convert reads as if the key were missing (its default) and is
// listed; every other key, before and after it, is still read. (Once, the first such value ended
// the whole load.)
struct CorruptRow {
    const char* key;
    const char* stored;
};

void PrintTo(const CorruptRow& row, std::ostream* os) {
    *os << row.key << "=" << row.stored;
}

class CorruptValue : public Settings, public ::testing::WithParamInterface<CorruptRow> {};

TEST_P(CorruptValue, GetsItsDefaultAndTheLoadGoesOn) {
    const CorruptRow& row = GetParam();
    storeSomeSettings();
    SettingsStore().remove(q(row.key));
    const LoadedSettings missing = loadMainSettings(SettingsStore(), designDefaults());
    ASSERT_TRUE(missing.problems.empty());
    SettingsStore().save(q(row.key), q(row.stored));

    const LoadedSettings loaded = loadMainSettings(SettingsStore(), designDefaults());
    ASSERT_EQ(loaded.problems, (std::vector<SettingProblem>{{q(row.key), q(row.stored)}}));
    EXPECT_TRUE(describeProblems(loaded.problems).contains(q(row.key).trimmed()));
    expectSame(loaded.values, missing.values);
}

INSTANTIATE_TEST_SUITE_P(
    OneKeyAtATime, CorruptValue,
    ::testing::Values(CorruptRow{"chkSavePassword", "ticked"}, CorruptRow{"chkSavePassword", "2"},
                      CorruptRow{"mblnExcludeFree", "maybe"},
                      CorruptRow{"mblnCachingEnabled ", "on"},
                      CorruptRow{"mlngColorBackNonFree", "pink"}, CorruptRow{"ChartType", "300"},
                      CorruptRow{"PlanType", "abc"}, CorruptRow{"PlanType", "3"},
                      CorruptRow{"Selfcaresite", "2"}, CorruptRow{"Selfcaresite", "-2"},
                      CorruptRow{"Height", "tall"}, CorruptRow{"Top", "1e40"},
                      CorruptRow{"Left", "32000000000"}, CorruptRow{"Width", "1000000000"},
                      CorruptRow{"ctlTabs1.SelectedTab", "x"}));

// The caching key ends in a blank. The INI file holds it as QSettings escapes it,
// "mblnCachingEnabled%20"; files written while the store escaped it a second time hold
// "mblnCachingEnabled%2520" and still read, and the next close writes the key escaped once.
void writeIni(const QByteArray& text) {
    const QString path = SettingsStore().fileName();
    QDir().mkpath(QFileInfo(path).absolutePath());
    ASSERT_TRUE(test::writeFile(path, text)) << path.toStdString();
}

struct OldCachingFile {
    const char* name;
    const char* lines;
    bool expected;
};

void PrintTo(const OldCachingFile& row, std::ostream* os) {
    *os << row.name;
}

class OldCachingKey : public Settings, public ::testing::WithParamInterface<OldCachingFile> {};

TEST_P(OldCachingKey, StillReadsAndTheNextCloseRewritesIt) {
    const OldCachingFile& row = GetParam();
    writeIni(QByteArray("[ScreenSettings]\ntxtUserName=someone\n") + row.lines);
    LoadedSettings loaded = loadMainSettings(SettingsStore(), designDefaults());
    EXPECT_TRUE(loaded.problems.empty());
    EXPECT_EQ(loaded.values.cachingEnabled, row.expected);
    EXPECT_EQ(loaded.values.userNameEdit, q("someone"));
    {
        SettingsStore store;
        saveMainSettings(store, loaded.values, false);
    }
    const QByteArray text = test::readFile(SettingsStore().fileName());
    EXPECT_TRUE(text.contains(
        QByteArray("\nmblnCachingEnabled%20=").append(row.expected ? "True" : "False")))
        << text.toStdString();
    EXPECT_FALSE(text.contains("%2520")) << text.toStdString();
    EXPECT_EQ(loadMainSettings(SettingsStore(), designDefaults()).values.cachingEnabled,
              row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, OldCachingKey,
    ::testing::Values(
        OldCachingFile{"ProperKey", "mblnCachingEnabled%20=True\n", true},
        OldCachingFile{"OldKeyTicked", "mblnCachingEnabled%2520=True\n", true},
        OldCachingFile{"OldKeyUnticked", "mblnCachingEnabled%2520=False\n", false},
        // Both present (an old file a newer version has already written to): the proper key.
        OldCachingFile{"ProperKeyWins",
                       "mblnCachingEnabled%2520=True\nmblnCachingEnabled%20=False\n", false}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace kestrova
