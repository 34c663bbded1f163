// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// NumericEdit: a one-line edit box for a decimal number with a fixed number of integer and decimal
// digits. It wraps one text box, lineEdit, filling the control; typed characters are filtered,
// any other change (paste, cut, delete, drag and drop, assignment) is repaired, and the number
// is formatted when the focus leaves. Refused property values show "Invalid property value"
// (title "NumberBox") through the dialogs seam.

#include "controls/number_box_logic.h"
#include "controls/std_font.h"
#include "platform/colour_ref.h"
#include "platform/property_bag.h"

#include <QWidget>
#include <memory>

class QLineEdit;

namespace kestrova {

class NumericEdit : public QWidget {
    Q_OBJECT

public:
    explicit NumericEdit(QWidget* parent = nullptr);
    ~NumericEdit() override;

    QLineEdit* lineEdit() const;
    const NumberBoxState& state() const;

    // Most digits before the point, 1 to 12 (default 5); recomputes the limits.
    int integerSize() const { return state().integerSize; }
    void setIntegerSize(int size);
    // Most digits after the point, 0 to 9 (default 2); recomputes the limits and reformats.
    int decimalSize() const { return state().decimalSize; }
    void setDecimalSize(int size);
    // Enter moves the focus to the next control (default true).
    bool enableEnterKey() const { return state().enableEnterKey; }
    void setEnableEnterKey(bool enable);
    // The number the text reads as; assigning writes it with the format pattern.
    double value() const;
    void setValue(double value);
    // Not above the upper limit (default: the upper limit).
    double maximumValue() const { return state().maximumValue; }
    void setMaximumValue(double value);
    // Not below the lower limit (default 0); not checked against maximumValue.
    double minimumValue() const { return state().minimumValue; }
    void setMinimumValue(double value);
    // The last examined text lay outside minimumValue to maximumValue.
    bool invalidRange() const { return state().invalidRange; }
    QString text() const;

    const StdFont& textFont() const { return m_font; }
    void setFont(const StdFont& font);
    using QWidget::setFont;
    // The text box's background (default: system colour 5, window background).
    ColorRef backColor() const { return m_backColor; }
    void setBackColor(ColorRef color);
    // The text box's text colour (default: system colour 8, window text); not stored.
    ColorRef foreColor() const { return m_foreColor; }
    void setForeColor(ColorRef color);
    // Disabling also greys the text (system colour 17), enabling gives window text again.
    void setEnabled(bool enabled);
    QString toolTipText() const;
    void setToolTipText(const QString& text);

    void readProperties(const PropertyBag& bag);
    PropertyBag writeProperties() const;

    // The least height, 300 twips, in pixels.
    static int minimumHeightPixels();

Q_SIGNALS:
    // The text box's key events; the host may change or cancel the key through the references.
    void keyDown(int& keyCode, int& shift);
    void keyPressed(int& charCode);
    void keyUp(int& keyCode, int& shift);
    void changed();
    void propertyChanged(const QString& key);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class TextBox;
    class Editor;
    friend class TextBox;

    void onTextChanged();
    void showInvalidValue();
    void applyColors();

    TextBox* m_text = nullptr;
    std::unique_ptr<Editor> m_editor;
    std::unique_ptr<NumberBoxLogic> m_logic;
    StdFont m_font;
    ColorRef m_backColor = 0x80000005u;
    ColorRef m_foreColor = 0x80000008u;
};

}  // namespace kestrova
