// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/numeric_edit_box.h"

#include "platform/dialogs.h"

#include "test_strings.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QVBoxLayout>
#include <cmath>

using namespace kestrova;

namespace {

struct Setup {
    int integerSize = 5;
    int decimalSize = 2;
    double minimum = 0;
};

void configure(NumericEdit& box, const Setup& s) {
    box.setIntegerSize(s.integerSize);
    box.setDecimalSize(s.decimalSize);
    box.setMinimumValue(s.minimum);
}

// Puts a text into the box without the box's repair, as a user's earlier typing left it. In
// `marked`, "|" is the caret and "[...]" the selection: "12|.5", "[12].5".
void place(NumericEdit& box, const char* marked) {
    QString text = QString::fromLatin1(marked);
    const int open = int(text.indexOf(u'['));
    const int caret = open >= 0 ? open : int(text.indexOf(u'|'));
    text.remove(u'[').remove(u'|');
    const int close = int(text.indexOf(u']'));
    text.remove(u']');
    QLineEdit* t = box.lineEdit();
    const QSignalBlocker block(t);
    t->setText(text);
    if (close > caret) {
        t->setSelection(caret, close - caret);
    } else {
        t->setCursorPosition(std::max(caret, 0));
    }
}

// The box's text with "|" at the caret when `expected` marks one, to compare with it.
QString shown(const NumericEdit& box, const char* expected) {
    QString text = box.text();
    if (QByteArray(expected).contains('|')) {
        text.insert(box.lineEdit()->cursorPosition(), u'|');
    }
    return text;
}

void sendFocus(NumericEdit& box, QEvent::Type type, Qt::FocusReason reason) {
    QFocusEvent event(type, reason);
    QCoreApplication::sendEvent(box.lineEdit(), &event);
}

const Setup kSigned{5, 2, -10};

}  // namespace

struct KeyCase {
    const char* name;
    Setup setup;
    const char* before;  // marked as place() reads it
    char key;
    const char* after;  // with "|" at the caret
    bool accepted;      // the keystroke raised Change
};

class NumberBoxKeystroke : public ::testing::TestWithParam<KeyCase> {};

TEST_P(NumberBoxKeystroke, FiltersTheTypedCharacter) {
    const KeyCase& c = GetParam();
    NumericEdit box;
    configure(box, c.setup);
    place(box, c.before);
    int changes = 0;
    QObject::connect(&box, &NumericEdit::changed, [&changes] { ++changes; });
    QTest::keyClick(box.lineEdit(), c.key);
    EXPECT_EQ(shown(box, c.after), QString::fromLatin1(c.after));
    EXPECT_EQ(changes > 0, c.accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberBoxKeystroke,
    ::testing::Values(
        KeyCase{"DigitBeforeTheFullIntegerPartIsRefused", {}, "12|345.6", '7', "12|345.6", false},
        KeyCase{"DigitAfterThePointWithRoomIsAccepted", {}, "12345.6|", '7', "12345.67|", true},
        KeyCase{"SecondDecimalBeyondTheSizeIsRefused", {}, "12345.67|", '1', "12345.67|", false},
        KeyCase{"DigitRightBeforeThePointCountsAsInteger", {}, "1234|.5", '9', "12349|.5", true},
        KeyCase{"DigitOverAWholeSelectionAlwaysHasRoom", {}, "[12345.67]", '9', "9|", true},
        KeyCase{"PointIsRefusedWithoutDecimals", {5, 0, 0}, "12|", '.', "12|", false},
        KeyCase{"PointIntoAnEmptyBoxGivesZeroPoint", {}, "|", '.', "0.|", true},
        KeyCase{"PointOverTheWholeTextGivesZeroPoint", {}, "[12.50]", '.', "0.|", true},
        KeyCase{"PointAfterALoneMinusGivesZeroPoint", kSigned, "-|", '.', "0.|", true},
        KeyCase{"PointInsideTheDigits", {}, "1|23", '.', "1.|23", true},
        KeyCase{"SecondPointIsRefused", {}, "1.2|", '.', "1.2|", false},
        KeyCase{"PointReplacingASelectedPointPasses", {}, "1[2.3]4", '.', "1.|4", true},
        KeyCase{"MinusIsRefusedWhenTheMinimumIsNotNegative", {}, "|5", '-', "|5", false},
        KeyCase{"MinusAtTheStartWithANegativeMinimum", kSigned, "|5", '-', "-|5", true},
        KeyCase{"MinusAnywhereElseIsRefused", kSigned, "5|", '-', "5|", false},
        KeyCase{"CommaIsRefused", {}, "1|2", ',', "1|2", false},
        KeyCase{"ExponentIsRefused", {}, "12|", 'e', "12|", false},
        KeyCase{"PlusIsRefused", {}, "|12", '+', "|12", false},
        KeyCase{"DigitInFrontOfTheSignIsRefused", kSigned, "|-5", '3', "|-5", false},
        KeyCase{"SecondSignIsRefused", kSigned, "|-5", '-', "|-5", false},
        KeyCase{"PointInFrontOfDigitsKeepsThem", {}, "|123", '.', "|123", false},
        KeyCase{"MinusOverASelectedSignReplacesIt", kSigned, "[-]5", '-', "-|5", true},
        // "-." is no number: the sign may not replace the digit in front of the point.
        KeyCase{"MinusOverTheOnlyDigitBeforeThePointIsRefused", kSigned, "[0].", '-', "0|.", false},
        KeyCase{"MinusOverAllTheTextLeavesTheSign", kSigned, "[0.5]", '-', "-|", true}),
    ByName());

enum class Edit { Paste, Cut, Delete, Backspace, Drop, Undo };

struct RepairCase {
    const char* name;
    Setup setup;
    const char* before;  // marked as place() reads it
    Edit edit;
    const char* payload;  // pasted, dropped or typed before the undo
    const char* after;    // "|" where the caret must be, if anywhere
    bool invalidRange;
};

class NumberBoxRepair : public ::testing::TestWithParam<RepairCase> {};

TEST_P(NumberBoxRepair, ChangesOtherThanTypingAreRepaired) {
    const RepairCase& c = GetParam();
    NumericEdit box;
    configure(box, c.setup);
    if (c.setup.integerSize == 3) {
        box.setMaximumValue(100);
    }
    place(box, c.before);
    QLineEdit* t = box.lineEdit();
    switch (c.edit) {
        case Edit::Paste:
            QApplication::clipboard()->setText(QString::fromLatin1(c.payload));
            QTest::keyClick(t, Qt::Key_V, Qt::ControlModifier);
            break;
        case Edit::Cut:
            QTest::keyClick(t, Qt::Key_X, Qt::ControlModifier);
            break;
        case Edit::Delete:
            QTest::keyClick(t, Qt::Key_Delete);
            break;
        case Edit::Backspace:
            QTest::keyClick(t, Qt::Key_Backspace);
            break;
        case Edit::Drop: {
            QMimeData mime;
            mime.setText(QString::fromLatin1(c.payload));
            QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &mime, Qt::LeftButton,
                                  Qt::NoModifier);
            QCoreApplication::sendEvent(t, &enter);
            QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(t, &drop);
            break;
        }
        case Edit::Undo:
            t->insert(QString::fromLatin1(c.payload));
            QTest::keyClick(t, Qt::Key_Z, Qt::ControlModifier);
            break;
    }
    EXPECT_EQ(shown(box, c.after), QString::fromLatin1(c.after));
    EXPECT_EQ(box.invalidRange(), c.invalidRange);
}

const Setup kTwoByTwo{2, 2, 0};

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberBoxRepair,
    ::testing::Values(
        RepairCase{"PastedLettersLeaveAnEmptyText", {}, "|", Edit::Paste, "abc", "", false},
        RepairCase{
            "PastedNumberIsCutToTheSizes", {}, "|", Edit::Paste, "1234567.891", "12345.89|", false},
        RepairCase{"PasteIntoTheIntegerPartIsCut", kTwoByTwo, "|3.5", Edit::Paste, "12", "12.5|",
                   false},
        RepairCase{"PastedNegativeTurnsPositive", {}, "|", Edit::Paste, "-12", "12.00|", false},
        RepairCase{"PastedNegativeStaysOverANegativeMinimum",
                   {5, 2, -100},
                   "|",
                   Edit::Paste,
                   "-12",
                   "-12",
                   false},
        RepairCase{
            "PastedValueAboveTheMaximumIsMarked", {3, 2, 0}, "|", Edit::Paste, "500", "500", true},
        RepairCase{"PastedTwoPointsIsCleared", {}, "1|", Edit::Paste, ".5.5", "", false},
        RepairCase{"DeletingThePointJoinsAndCuts", kTwoByTwo, "12|.34", Edit::Delete, nullptr,
                   "12|", false},
        RepairCase{"BackspaceOverThePointJoinsAndCuts", kTwoByTwo, "12.|34", Edit::Backspace,
                   nullptr, "12|", false},
        RepairCase{"CuttingThePointJoinsAndCuts", kTwoByTwo, "12[.]34", Edit::Cut, nullptr, "12|",
                   false},
        RepairCase{"DroppedLettersLeaveAnEmptyText", {}, "12|", Edit::Drop, "xyz", "", false},
        RepairCase{"DroppedDigitsAreCut", {3, 0, 0}, "|", Edit::Drop, "98765", "987|", true},
        RepairCase{"UndoneTextIsExaminedAgain", {3, 2, 0}, "50|", Edit::Undo, "0", "50", false}),
    ByName());

TEST(NumberBox, ValueIsWrittenWithTheFormatPattern) {
    NumericEdit box;
    box.setValue(3);
    EXPECT_EQ(box.text(), u"3.00");
    box.setValue(12.5);
    box.setDecimalSize(3);
    EXPECT_EQ(box.text(), u"12.500") << "a new decimal size writes the value again";
    box.setDecimalSize(0);
    EXPECT_EQ(box.text(), u"13");
    box.setValue(-0.0);
    EXPECT_EQ(box.text(), u"0");
    EXPECT_DOUBLE_EQ(box.value(), 0);
}

// A value far beyond the box (a stored form's, or a caller's) is written out in full and then
// cut to the box's digits like any other oversized text; it never overflows the rounding.
TEST(NumberBox, AValueBeyondTheBoxIsCutToItsDigits) {
    NumericEdit box;
    box.setDecimalSize(8);
    box.setValue(1.5e34);
    EXPECT_EQ(box.text(), u"15000.00000000");
    box.setValue(-1.5e34);
    EXPECT_EQ(box.text(), u"15000.00000000");  // the minimum of 0 drops the sign
}

TEST(NumberBox, LimitsFollowTheSizes) {
    NumericEdit box;
    box.setMaximumValue(500);
    box.setIntegerSize(3);
    EXPECT_DOUBLE_EQ(box.maximumValue(), 999.99);
    EXPECT_DOUBLE_EQ(box.minimumValue(), 0);  // above the old lower limit: kept
    box.setMinimumValue(-999.99);
    box.setDecimalSize(1);
    EXPECT_DOUBLE_EQ(box.maximumValue(), 999.9);
    EXPECT_DOUBLE_EQ(box.minimumValue(), -999.9);  // at the old lower limit: follows it
    EXPECT_EQ(box.state().formatPattern, u"0.0");
}

struct InvalidCase {
    const char* name;
    void (*assign)(NumericEdit&);
    double (*read)(const NumericEdit&);
    double kept;
};

class InvalidPropertyValue : public ::testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidPropertyValue, IsRefusedWithTheNumberBoxMessage) {
    const InvalidCase& c = GetParam();
    RecordingDialogs rec;
    ScopedDialogs scope(rec);
    NumericEdit box;
    c.assign(box);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, u"Invalid property value");
    EXPECT_EQ(rec.messages[0].title, u"NumberBox");
    EXPECT_EQ(rec.messages[0].icon, MessageIcon::Critical);
    EXPECT_DOUBLE_EQ(c.read(box), c.kept);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InvalidPropertyValue,
    ::testing::Values(
        InvalidCase{"IntegerSizeZero", [](NumericEdit& b) { b.setIntegerSize(0); },
                    [](const NumericEdit& b) { return double(b.integerSize()); }, 5},
        InvalidCase{"IntegerSizeThirteen", [](NumericEdit& b) { b.setIntegerSize(13); },
                    [](const NumericEdit& b) { return double(b.integerSize()); }, 5},
        InvalidCase{"DecimalSizeTen", [](NumericEdit& b) { b.setDecimalSize(10); },
                    [](const NumericEdit& b) { return double(b.decimalSize()); }, 2},
        InvalidCase{"DecimalSizeNegative", [](NumericEdit& b) { b.setDecimalSize(-1); },
                    [](const NumericEdit& b) { return double(b.decimalSize()); }, 2},
        InvalidCase{"MaximumAboveTheUpperLimit", [](NumericEdit& b) { b.setMaximumValue(100000); },
                    [](const NumericEdit& b) { return b.maximumValue(); }, 99999.99},
        InvalidCase{"MinimumBelowTheLowerLimit", [](NumericEdit& b) { b.setMinimumValue(-100000); },
                    [](const NumericEdit& b) { return b.minimumValue(); }, 0}),
    ByName());

TEST(NumberBox, HostSeesKeysFirstAndMayChangeOrCancelThem) {
    NumericEdit box;
    place(box, "|");
    QStringList events;
    QObject::connect(&box, &NumericEdit::keyDown, [&](int& code, int& shift) {
        events << QStringLiteral("KeyDown %1 %2").arg(code).arg(shift);
    });
    QObject::connect(&box, &NumericEdit::keyPressed, [&](int& k) {
        events << QStringLiteral("KeyPress %1").arg(k);
        if (k == '5') {
            k = '7';
        } else if (k == '9') {
            k = 0;
        }
    });
    QObject::connect(&box, &NumericEdit::keyUp, [&](int& code, int& shift) {
        events << QStringLiteral("KeyUp %1 %2").arg(code).arg(shift);
    });
    QObject::connect(&box, &NumericEdit::changed, [&] { events << QStringLiteral("Change"); });
    QTest::keyClick(box.lineEdit(), '5');
    QTest::keyClick(box.lineEdit(), '9');
    QTest::keyClick(box.lineEdit(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(box.text(), u"7");
    EXPECT_EQ(events, (strings({"KeyDown 53 0", "KeyPress 53", "Change", "KeyUp 53 0",
                                "KeyDown 57 0", "KeyPress 57", "KeyUp 57 0", "KeyDown 16 1",
                                "KeyDown 37 1", "KeyUp 37 1", "KeyUp 16 0"})));
}

TEST(NumberBox, TypedValueOutsideTheRangeIsMarkedOnlyWhenExamined) {
    NumericEdit box;
    box.setIntegerSize(3);
    box.setMaximumValue(100);
    sendFocus(box, QEvent::FocusIn, Qt::TabFocusReason);
    QTest::keyClicks(box.lineEdit(), QStringLiteral("500"));
    EXPECT_EQ(box.text(), u"500");
    EXPECT_FALSE(box.invalidRange());
    sendFocus(box, QEvent::FocusOut, Qt::TabFocusReason);
    EXPECT_EQ(box.text(), u"500.00");
    EXPECT_TRUE(box.invalidRange());
}

struct FocusCase {
    const char* name;
    int decimals;
    const char* text;
    const char* result;
};

class NumberBoxLeavingTheFocus : public ::testing::TestWithParam<FocusCase> {};

TEST_P(NumberBoxLeavingTheFocus, FormatsTheText) {
    const FocusCase& c = GetParam();
    NumericEdit box;
    box.setDecimalSize(c.decimals);
    box.setMinimumValue(-10);
    sendFocus(box, QEvent::FocusIn, Qt::MouseFocusReason);
    place(box, c.text);
    sendFocus(box, QEvent::FocusOut, Qt::TabFocusReason);
    EXPECT_EQ(box.text(), QString::fromLatin1(c.result));
}

INSTANTIATE_TEST_SUITE_P(Cases, NumberBoxLeavingTheFocus,
                         ::testing::Values(FocusCase{"EmptyBecomesZero", 2, "", "0.00"},
                                           FocusCase{"DecimalsAreFilledUp", 2, "12.5", "12.50"},
                                           FocusCase{"TrailingPointIsFormatted", 2, "7.", "7.00"},
                                           FocusCase{"NoDecimals", 0, "12", "12"},
                                           FocusCase{"NegativeStaysNegative", 1, "-3", "-3.0"},
                                           FocusCase{"ALoneSignIsNoNumberAndStays", 2, "-", "-"}),
                         ByName());

TEST(NumberBox, PopupAndWindowSwitchesAreNotLeavingTheBox) {
    NumericEdit box;
    sendFocus(box, QEvent::FocusIn, Qt::TabFocusReason);
    EXPECT_EQ(box.lineEdit()->selectedText(), u"0.00");
    place(box, "12.5|");
    for (Qt::FocusReason away : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        sendFocus(box, QEvent::FocusOut, away);
        EXPECT_EQ(box.text(), u"12.5");
        sendFocus(box, QEvent::FocusIn, away);
        EXPECT_EQ(box.lineEdit()->selectedText(), QString());  // the caret stays where it was
    }
    sendFocus(box, QEvent::FocusOut, Qt::TabFocusReason);
    EXPECT_EQ(box.text(), u"12.50");
    sendFocus(box, QEvent::FocusIn, Qt::BacktabFocusReason);
    EXPECT_EQ(box.lineEdit()->selectedText(), u"12.50");
}

TEST(NumberBox, EnterMovesTheFocusOnlyWhenEnabled) {
    QWidget host;
    auto* layout = new QVBoxLayout(&host);
    auto* box = new NumericEdit(&host);
    auto* next = new QLineEdit(&host);
    next->setObjectName(QStringLiteral("next"));
    layout->addWidget(box);
    layout->addWidget(next);
    host.show();
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    box->setFocus();
    ASSERT_TRUE(box->lineEdit()->hasFocus());

    box->setEnableEnterKey(false);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(box->lineEdit()->hasFocus());
    EXPECT_EQ(box->text(), u"0.00");

    box->setEnableEnterKey(true);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(next->hasFocus());
    EXPECT_EQ(box->text(), u"0.00");
}

TEST(NumberBox, HeightIsAtLeastThreeHundredTwipsAndTheTextBoxFillsIt) {
    NumericEdit box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    box.resize(120, 5);
    EXPECT_EQ(box.height(), NumericEdit::minimumHeightPixels());
    box.resize(150, 40);
    EXPECT_EQ(box.lineEdit()->geometry(), QRect(0, 0, 150, 40));
}

TEST(NumberBoxStoredProperties, SaveThenLoadGivesTheSameBox) {
    NumericEdit original;
    original.setIntegerSize(3);
    original.setDecimalSize(1);
    original.setEnableEnterKey(false);
    original.setValue(12.5);
    original.setMinimumValue(-5);
    original.setMaximumValue(500);
    original.setFont(StdFont(QStringLiteral("Arial"), 10, true));
    original.setBackColor(RGB(1, 2, 3));
    original.setToolTipText(QStringLiteral("Rupees"));
    original.setEnabled(false);
    EXPECT_EQ(original.foreColor(), 0x80000011u) << "disabled: grey text";
    const PropertyBag saved = original.writeProperties();

    NumericEdit loaded;
    loaded.readProperties(saved);
    EXPECT_EQ(loaded.writeProperties(), saved);
    EXPECT_EQ(loaded.foreColor(), 0x80000008u);  // loading does not grey the text
    EXPECT_EQ(loaded.lineEdit()->toolTip(), u"Rupees");
    EXPECT_EQ(loaded.lineEdit()->font().family(), u"Arial");
}

TEST(NumberBoxStoredProperties, MissingKeysGiveTheirDefaults) {
    NumericEdit box;
    box.setIntegerSize(2);
    box.setValue(7);
    box.readProperties(PropertyBag());
    EXPECT_EQ(box.integerSize(), 5);
    EXPECT_EQ(box.decimalSize(), 2);
    EXPECT_EQ(box.text(), u"0.00");
    EXPECT_DOUBLE_EQ(box.maximumValue(), 99999.99);
    EXPECT_EQ(box.backColor(), 0x80000005u);
}

TEST(NumberBoxStoredProperties, StoredSizesGoThroughTheSettersAndLimitsAreTakenAsStored) {
    RecordingDialogs rec;
    ScopedDialogs scope(rec);
    PropertyBag bag;
    bag.write(QStringLiteral("IntegerSize"), QStringLiteral("20"));
    bag.write(QStringLiteral("MaximumValue"), QStringLiteral("1e9"));
    NumericEdit box;
    box.readProperties(bag);
    EXPECT_EQ(rec.texts(), QStringList{QStringLiteral("Invalid property value")});
    EXPECT_EQ(box.integerSize(), 5);
    EXPECT_DOUBLE_EQ(box.maximumValue(), 1e9);
}
