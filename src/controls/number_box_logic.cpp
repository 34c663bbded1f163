// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/number_box_logic.h"

#include "platform/number_format.h"

#include <QLocale>
#include <cmath>

namespace kestrova {

namespace {
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Length of the leading "-digits.digits" part (0 when it holds no digit).
qsizetype numericPrefix(QStringView text, bool* hasDigit) {
    qsizetype i = 0;
    if (i < text.size() && text[i] == u'-') {
        ++i;
    }
    *hasDigit = false;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        *hasDigit = true;
    }
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            *hasDigit = true;
        }
    }
    return i;
}
}  // namespace

NumberTextParts splitNumberText(const QString& text) {
    NumberTextParts parts;
    parts.signLength = text.contains(u'-') ? 1 : 0;
    const qsizetype point = text.indexOf(u'.');
    parts.pointPosition = point < 0 ? int(text.size()) + 1 : int(point) + 1;
    const int integerCount = std::max(0, parts.pointPosition - 1 - parts.signLength);
    parts.integerDigits = text.mid(parts.signLength, integerCount);
    parts.decimals = point < 0 ? QString() : text.mid(point + 1);
    return parts;
}

bool readsAsNumber(QStringView text) {
    bool hasDigit = false;
    return numericPrefix(text, &hasDigit) == text.size() && hasDigit;
}

double numberOf(QStringView text) {
    bool hasDigit = false;
    const qsizetype n = numericPrefix(text, &hasDigit);
    if (!hasDigit) {
        return 0;
    }
    const QStringView prefix = text.first(n);
    if (const auto d = parseDecimalText(prefix)) {
        return d->toDouble();
    }
    return prefix.toString().toDouble();  // more digits than an exact decimal holds
}

QString repeatString(const QString& s, int n) {
    return n < 1 ? QString() : s.repeated(n);
}

bool NumberBoxLogic::setIntegerSize(int size) {
    if (size < 1 || size > 12) {
        return false;
    }
    m_state.integerSize = size;
    updateLimits();
    return true;
}

bool NumberBoxLogic::setDecimalSize(int size) {
    // No lower bound would leave the repair with a negative count of decimals to keep.
    if (size < 0 || size > 9) {
        return false;
    }
    m_state.decimalSize = size;
    updateLimits();
    m_state.formatPattern = size < 1
                                ? QStringLiteral("0")
                                : QStringLiteral("0.") + repeatString(QStringLiteral("0"), size);
    reformat();
    return true;
}

bool NumberBoxLogic::setMaximumValue(double value) {
    if (value > m_state.upperLimit) {
        return false;
    }
    m_state.maximumValue = value;
    return true;
}

bool NumberBoxLogic::setMinimumValue(double value) {
    if (value < m_state.lowerLimit) {
        return false;
    }
    m_state.minimumValue = value;
    return true;
}

void NumberBoxLogic::updateLimits() {
    const QString digits = repeatString(QStringLiteral("9"), m_state.integerSize) +
                           QStringLiteral(".") +
                           repeatString(QStringLiteral("9"), m_state.decimalSize);
    m_state.upperLimit = numberOf(digits);
    const double oldLower = m_state.lowerLimit;
    m_state.lowerLimit = -m_state.upperLimit;
    if (m_state.minimumValue <= oldLower) {
        m_state.minimumValue = m_state.lowerLimit;
    }
    if (m_state.maximumValue != m_state.upperLimit) {
        m_state.maximumValue = m_state.upperLimit;
    }
}

QString NumberBoxLogic::format(double value) const {
    // -0 would show as "-0.00".
    return formatNumber(value == 0 ? 0.0 : value, m_state.decimalSize, QLocale::c());
}

void NumberBoxLogic::setValue(double value) {
    m_editor.setText(format(value));
}

void NumberBoxLogic::reformat() {
    const QString text = m_editor.text();
    if (readsAsNumber(text)) {
        m_editor.setText(format(numberOf(text)));
    }
}

QString NumberBoxLogic::textAfterTyping(QChar key) const {
    QString text = m_editor.text();
    const int start = m_editor.selectionStart();
    text.replace(start, m_editor.selectionLength(), key);
    return text;
}

bool NumberBoxLogic::hasRoomForDigit(const QString& text, QChar key) const {
    if (key == u'.' || key == u'-' || m_editor.selectionLength() == text.size()) {
        return true;
    }
    const NumberTextParts parts = splitNumberText(text);
    const int c = m_editor.selectionStart();
    return (parts.decimals.size() < m_state.decimalSize || c < parts.pointPosition) &&
           (parts.integerDigits.size() < m_state.integerSize || c >= parts.pointPosition);
}

int NumberBoxLogic::keyPress(int k, bool* moveFocus) {
    *moveFocus = false;
    if (k == 13) {
        *moveFocus = m_state.enableEnterKey;
        return 0;
    }
    if (k < 32) {
        return k;
    }
    const QString text = m_editor.text();
    const QChar key(k);
    const int caret = m_editor.selectionStart();
    if (key == u'.') {
        if (m_state.decimalSize == 0) {
            return 0;
        }
        if (text == u"-" || caret == 0) {
            // A point typed at the start of digits that stay would replace them all with
            // "0."; it is refused instead, so typed digits are never thrown away.
            QString rest = text;
            rest.remove(caret, m_editor.selectionLength());
            if (!rest.isEmpty() && rest != u"-" && text != u"-") {
                return 0;
            }
            m_state.typedKey = true;
            m_editor.setText(QStringLiteral("0."));
            m_editor.moveCaretToEnd();
            return 0;
        }
        if (QStringView(m_editor.text()).mid(caret, m_editor.selectionLength()).contains(u'.')) {
            return k;
        }
    } else if (key == u'-') {
        // Only one sign, and only in front, leaving the sign alone or a number: a second "-",
        // or one over the digit in front of the point ("-."), would leave a text that is none.
        const QString after = textAfterTyping(key);
        if (caret != 0 || m_state.minimumValue >= 0 || after.count(u'-') > 1 ||
            (after != u"-" && !readsAsNumber(after))) {
            return 0;
        }
        m_state.typedKey = true;
        return k;
    }
    // The text as the keystroke would leave it must still be a number (the key is inserted at
    // the caret, so a digit in front of the sign is caught as well).
    if (key == u' ' || key == u',' || !readsAsNumber(textAfterTyping(key)) ||
        !hasRoomForDigit(text, key)) {
        return 0;
    }
    m_state.typedKey = true;
    return k;
}

void NumberBoxLogic::textChanged() {
    QString text = m_editor.text();
    if (text == u"-" || text.isEmpty() || m_state.typedKey) {
        m_state.typedKey = false;
        return;
    }
    if (!readsAsNumber(text)) {
        m_editor.setText(QString());
        return;
    }
    const NumberTextParts parts = splitNumberText(text);
    if (parts.integerDigits.size() > m_state.integerSize ||
        parts.decimals.size() > m_state.decimalSize) {
        const QString integerDigits = parts.integerDigits.left(m_state.integerSize);
        const QString decimals = parts.decimals.left(m_state.decimalSize);
        m_state.typedKey = true;
        m_editor.setText((parts.signLength == 1 ? QStringLiteral("-") : QString()) + integerDigits +
                         (decimals.isEmpty() ? QString() : QStringLiteral(".") + decimals));
        m_editor.moveCaretToEnd();
        text = m_editor.text();
    }
    if (numberOf(text) < 0 && m_state.minimumValue >= 0) {
        m_state.typedKey = true;
        m_editor.setText(format(std::fabs(numberOf(text))));
        m_editor.moveCaretToEnd();
        text = m_editor.text();
    }
    const double value = numberOf(text);
    m_state.invalidRange = value > m_state.maximumValue || value < m_state.minimumValue;
}

void NumberBoxLogic::focusIn() {
    m_editor.setSelection(0, int(m_editor.text().size()));
}

void NumberBoxLogic::focusOut() {
    if (m_editor.text().isEmpty()) {
        m_editor.setText(QStringLiteral("0"));
    }
    reformat();
}

}  // namespace kestrova
