// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The numeric edit box's behaviour apart from its widget: the keystroke filter, the repair of
// the text after any other change, the focus formatting and the limits. It works on the text
// box through NumberBoxEditor, which reports every text change back through textChanged().

#include <QString>
#include <QStringView>

namespace kestrova {

struct NumberBoxState {
    int integerSize = 5;  // 1 to 12: most digits before the point
    int decimalSize = 2;  // 0 to 9: most digits after the point
    bool enableEnterKey = true;
    double maximumValue = 99999.99;
    double minimumValue = 0;
    bool invalidRange = false;
    double upperLimit = 99999.99;
    double lowerLimit = -99999.99;
    QString formatPattern = QStringLiteral("0.00");
    // The next text change was made by the control itself and is not examined again.
    bool typedKey = false;
};

class NumberBoxEditor {
public:
    virtual ~NumberBoxEditor() = default;
    virtual QString text() const = 0;
    // Replaces the whole text; a real change comes back through NumberBoxLogic::textChanged.
    virtual void setText(const QString& text) = 0;
    // The caret, or the start of the selection when there is one.
    virtual int selectionStart() const = 0;
    virtual int selectionLength() const = 0;
    virtual void setSelection(int start, int length) = 0;
    virtual void moveCaretToEnd() = 0;
};

// A number text split at its sign and first point (positions as hasRoomForDigit counts them).
struct NumberTextParts {
    int signLength = 0;     // 1 when the text holds a "-" anywhere
    int pointPosition = 1;  // 1-based position of the first ".", or length + 1
    QString integerDigits;
    QString decimals;
};
NumberTextParts splitNumberText(const QString& text);

// Whether the whole text is a number: an optional leading "-", digits, at most one "." and at
// least one digit ("0.", ".5" and "-7" are; "-", ".", "1e5", "+1" and "1,5" are not).
bool readsAsNumber(QStringView text);
// The number the text's leading numeric part gives: "12.5x" is 12.5, "" and "-" are 0.
double numberOf(QStringView text);
// `s` repeated n times; n below 1 gives the empty text.
QString repeatString(const QString& s, int n);

class NumberBoxLogic {
public:
    explicit NumberBoxLogic(NumberBoxEditor& editor) : m_editor(editor) {}

    const NumberBoxState& state() const { return m_state; }

    // The property setters; false when the value is refused (the caller shows the message).
    bool setIntegerSize(int size);       // 1 to 12
    bool setDecimalSize(int size);       // 0 to 9; reformats the text
    bool setMaximumValue(double value);  // not above the upper limit
    bool setMinimumValue(double value);  // not below the lower limit
    // Stored values taken as they are, without the tests.
    void storeMaximumValue(double value) { m_state.maximumValue = value; }
    void storeMinimumValue(double value) { m_state.minimumValue = value; }
    void setEnableEnterKey(bool enable) { m_state.enableEnterKey = enable; }

    double value() const { return numberOf(m_editor.text()); }
    void setValue(double value);
    // The value written with the format pattern ("." as point, no grouping).
    QString format(double value) const;

    // The filter for a typed character code k (after the host's KeyPress). Returns the code to
    // let through to the text box, 0 to drop it; *moveFocus asks for the next control.
    int keyPress(int k, bool* moveFocus);
    // The keystroke has been handed to the text box: a mark it left unused must not swallow
    // the next change.
    void keystrokeDone() { m_state.typedKey = false; }
    // Whether a digit typed at the caret has room in its part of the number.
    bool hasRoomForDigit(const QString& text, QChar key) const;

    // After the host's Change: the repair of a change that was not an accepted keystroke.
    void textChanged();
    void focusIn();
    void focusOut();

private:
    void updateLimits();
    // The text after typing `key` at the caret over the selection.
    QString textAfterTyping(QChar key) const;
    void reformat();

    NumberBoxEditor& m_editor;
    NumberBoxState m_state;
};

}  // namespace kestrova
