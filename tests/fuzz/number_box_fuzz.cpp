// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The numeric edit box and the number readers. Byte 0 even: the rest (UTF-8) is a number text,
// read exactly and rounded and shown at every precision, where only "Overflow" may fail. Byte
// 0 odd: the rest is a script of edits on the box's logic (sizes, values, keystrokes, pastes,
// selections, focus), after each of which the text is empty, "-" or a number.

#include "controls/number_box_logic.h"
#include "fuzz_support.h"
#include "platform/failure.h"
#include "platform/megabytes.h"
#include "platform/number_format.h"

#include <QLocale>
#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace kestrova;
using namespace kestrova::fuzz;

namespace {

void onlyOverflow(const Failure& failure) {
    check(failure.description() == u"Overflow", "a failure other than Overflow");
}

void numberText(const QString& text) {
    (void)readsAsNumber(text);
    (void)numberOf(text);
    (void)splitNumberText(text);
    std::optional<Decimal> d;
    try {
        d = readNumber(text, QLocale::c());
        (void)readNumber(text, QLocale(QLocale::German, QLocale::Germany));
    } catch (const Failure& failure) {
        onlyOverflow(failure);
    }
    if (!d) {
        return;
    }
    (void)d->toDouble();
    try {
        (void)Megabytes::fromDecimal(*d).defaultText();
    } catch (const Failure& failure) {
        onlyOverflow(failure);
    }
    for (int decimals = 0; decimals <= 18; ++decimals) {
        // Showing never fails, however large the number.
        const QString shown = formatNumber(*d, decimals, QLocale::c());
        try {
            const Int128 rounded = d->roundedHalfAway(decimals);
            (void)d->roundedTiesToEven(decimals);
            // Within the 36 digits a decimal reads, the text shows the rounded value.
            if (const auto back = parseDecimalText(shown)) {
                check(back->scale == decimals && back->scaled == rounded,
                      "shown and rounded differ");
            }
        } catch (const Failure& failure) {
            onlyOverflow(failure);
        }
    }
}

class Editor : public NumberBoxEditor {
public:
    NumberBoxLogic* logic = nullptr;
    QString m_text;
    int m_start = 0;
    int m_length = 0;

    QString text() const override { return m_text; }
    void setText(const QString& text) override {
        if (text == m_text) {
            return;
        }
        m_text = text;
        m_start = std::min<int>(m_start, int(m_text.size()));
        m_length = 0;
        logic->textChanged();  // as the text box reports every change
    }
    int selectionStart() const override { return m_start; }
    int selectionLength() const override { return m_length; }
    void setSelection(int start, int length) override {
        m_start = std::clamp(start, 0, int(m_text.size()));
        m_length = std::clamp(length, 0, int(m_text.size()) - m_start);
    }
    void moveCaretToEnd() override {
        m_start = int(m_text.size());
        m_length = 0;
    }
    // What the text box does with text typed or pasted over the selection.
    void insert(const QString& text) {
        QString changed = m_text;
        changed.replace(m_start, m_length, text);
        const int caret = m_start + int(text.size());
        setText(changed);
        setSelection(caret, 0);
    }
};

class Script {
public:
    Script(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool more() const { return m_at < m_size; }
    std::uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    double number() {
        double v = 0;
        unsigned char bytes[sizeof v] = {};
        for (unsigned char& b : bytes) {
            b = byte();
        }
        std::memcpy(&v, bytes, sizeof v);
        return v;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

void boxScript(Script& s) {
    Editor editor;
    NumberBoxLogic logic(editor);
    editor.logic = &logic;
    while (s.more()) {
        switch (s.byte() % 9) {
            case 0:
                (void)logic.setIntegerSize(s.byte() % 14);
                break;
            case 1:
                (void)logic.setDecimalSize(int(s.byte() % 11) - 1);
                break;
            case 2:
                logic.setValue(s.number());
                break;
            case 3: {
                const int k = s.byte();
                bool moveFocus = false;
                const int passed = logic.keyPress(k, &moveFocus);
                if (passed == 8 && editor.m_length == 0 && editor.m_start > 0) {
                    editor.setSelection(editor.m_start - 1, 1);  // Backspace
                    editor.insert(QString());
                } else if (passed >= 32) {
                    editor.insert(QString(QChar(char16_t(passed))));
                }
                logic.keystrokeDone();
                break;
            }
            case 4: {
                QString pasted;
                for (int n = s.byte() % 8; n > 0; --n) {
                    pasted += QChar(char16_t(s.byte()));
                }
                editor.insert(pasted);
                break;
            }
            case 5: {
                // Read in order: arguments have no order of evaluation, and a finding must
                // replay the same script whichever compiler built the harness.
                const int start = s.byte();
                const int length = s.byte() % 4;
                editor.setSelection(start, length);
                break;
            }
            case 6:
                if (s.byte() % 2) {
                    logic.focusIn();
                } else {
                    logic.focusOut();
                }
                break;
            case 7:
                (void)logic.setMinimumValue(s.number());
                break;
            default:
                (void)logic.setMaximumValue(s.number());
                break;
        }
        const QString text = editor.text();
        check(text.isEmpty() || text == u"-" || readsAsNumber(text),
              "the box holds a text that is no number");
        (void)logic.value();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    if (data[0] % 2 == 0) {
        numberText(QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)));
    } else {
        Script script(data + 1, size - 1);
        boxScript(script);
    }
    return 0;
}
