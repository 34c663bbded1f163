// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/numeric_edit_box.h"

#include "controls/key_codes.h"
#include "controls/stored_properties.h"
#include "platform/dialogs.h"
#include "platform/twips.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <cmath>

namespace kestrova {

namespace {
const QString kIntegerSize = QStringLiteral("IntegerSize");
const QString kDecimalSize = QStringLiteral("DecimalSize");
const QString kEnableEnterKey = QStringLiteral("EnableEnterKey");
const QString kValue = QStringLiteral("Value");
const QString kMinimumValue = QStringLiteral("MinimumValue");
const QString kMaximumValue = QStringLiteral("MaximumValue");
const QString kFont = QStringLiteral("Font");
const QString kBackColor = QStringLiteral("BackColor");
const QString kForeColor = QStringLiteral("ForeColor");
const QString kEnabled = QStringLiteral("Enabled");
const QString kToolTipText = QStringLiteral("ToolTipText");

constexpr ColorRef kWindowBackground = 0x80000005u;
constexpr ColorRef kWindowText = 0x80000008u;
constexpr ColorRef kGreyText = 0x80000011u;

// Focus that moves to a pop-up (the context menu) or away with the whole window is not the
// control being left.
bool leaves(Qt::FocusReason reason) {
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

Qt::Key qtKeyForCharacter(int k) {
    switch (k) {
        case 8:
            return Qt::Key_Backspace;
        case 13:
            return Qt::Key_Return;
        default:
            return k >= 32 && k < 127 ? Qt::Key(QChar(k).toUpper().unicode()) : Qt::Key_unknown;
    }
}
}  // namespace

class NumericEdit::TextBox : public QLineEdit {
public:
    explicit TextBox(NumericEdit* owner) : QLineEdit(owner), m_owner(owner) {}
    // The box is going away: the focus leaving with it is no edit.
    void detach() { m_owner = nullptr; }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!m_owner) {
            QLineEdit::keyPressEvent(event);
            return;
        }
        int keyCode = keyCodeOf(*event);
        int shift = shiftStateOf(event->modifiers());
        const int originalCode = keyCode;
        Q_EMIT m_owner->keyDown(keyCode, shift);
        int k = keyAsciiOf(*event);
        if (k == 0) {
            // Keys that type nothing (Delete, arrows, Home) act unless the host cancelled them.
            if (originalCode != 0 && keyCode == 0) {
                event->accept();
                return;
            }
            QLineEdit::keyPressEvent(event);
            return;
        }
        const int typed = k;
        Q_EMIT m_owner->keyPressed(k);
        bool moveFocus = false;
        k = m_owner->m_logic->keyPress(k, &moveFocus);
        if (k != 0) {
            if (k == typed) {
                QLineEdit::keyPressEvent(event);
            } else {
                QKeyEvent changed(QEvent::KeyPress, qtKeyForCharacter(k), Qt::NoModifier,
                                  QString(QChar(k)));
                QLineEdit::keyPressEvent(&changed);
            }
        }
        m_owner->m_logic->keystrokeDone();
        event->accept();
        if (moveFocus) {
            focusNextPrevChild(true);
        }
    }

    void keyReleaseEvent(QKeyEvent* event) override {
        if (!m_owner) {
            QLineEdit::keyReleaseEvent(event);
            return;
        }
        int keyCode = keyCodeOf(*event);
        int shift = shiftStateOf(event->modifiers());
        Q_EMIT m_owner->keyUp(keyCode, shift);
        QLineEdit::keyReleaseEvent(event);
    }

    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        if (m_owner && !m_entered) {
            m_entered = true;
            m_owner->m_logic->focusIn();
        }
    }

    void focusOutEvent(QFocusEvent* event) override {
        QLineEdit::focusOutEvent(event);
        if (m_owner && m_entered && leaves(event->reason())) {
            m_entered = false;
            m_owner->m_logic->focusOut();
        }
    }

private:
    NumericEdit* m_owner;
    // The focus is inside the box: coming back from a pop-up or from another window is not
    // entering it again.
    bool m_entered = false;
};

class NumericEdit::Editor : public NumberBoxEditor {
public:
    explicit Editor(QLineEdit& text) : m_text(text) {}
    QString text() const override { return m_text.text(); }
    void setText(const QString& text) override { m_text.setText(text); }
    int selectionStart() const override {
        return m_text.hasSelectedText() ? m_text.selectionStart() : m_text.cursorPosition();
    }
    int selectionLength() const override {
        return m_text.hasSelectedText() ? m_text.selectionLength() : 0;
    }
    void setSelection(int start, int length) override { m_text.setSelection(start, length); }
    void moveCaretToEnd() override { m_text.setCursorPosition(int(m_text.text().size())); }

private:
    QLineEdit& m_text;
};

NumericEdit::NumericEdit(QWidget* parent)
    : QWidget(parent),
      m_text(new TextBox(this)),
      m_editor(std::make_unique<Editor>(*m_text)),
      m_logic(std::make_unique<NumberBoxLogic>(*m_editor)) {
    m_text->setObjectName(QStringLiteral("txtNeb"));
    m_text->setText(m_logic->format(0));
    m_font = StdFont::fromQFont(m_text->font());
    setFocusProxy(m_text);
    setFocusPolicy(m_text->focusPolicy());
    setMinimumHeight(minimumHeightPixels());
    applyColors();
    connect(m_text, &QLineEdit::textChanged, this, &NumericEdit::onTextChanged);
}

NumericEdit::~NumericEdit() {
    // The text box outlives the logic otherwise, and its focus-out would reach it.
    m_text->detach();
    disconnect(m_text, nullptr, this, nullptr);
    delete m_text;
}

QLineEdit* NumericEdit::lineEdit() const {
    return m_text;
}
const NumberBoxState& NumericEdit::state() const {
    return m_logic->state();
}

int NumericEdit::minimumHeightPixels() {
    return int(std::ceil(300.0 / twipsPerPixelY()));
}

void NumericEdit::showInvalidValue() {
    Message m;
    m.text = QStringLiteral("Invalid property value");
    m.title = QStringLiteral("NumberBox");
    m.icon = MessageIcon::Critical;
    dialogs().show(m);
}

void NumericEdit::setIntegerSize(int size) {
    if (!m_logic->setIntegerSize(size)) {
        showInvalidValue();
        return;
    }
    Q_EMIT propertyChanged(kIntegerSize);
}

void NumericEdit::setDecimalSize(int size) {
    if (!m_logic->setDecimalSize(size)) {
        showInvalidValue();
        return;
    }
    Q_EMIT propertyChanged(kDecimalSize);
}

void NumericEdit::setEnableEnterKey(bool enable) {
    if (enableEnterKey() == enable) {
        return;
    }
    m_logic->setEnableEnterKey(enable);
    Q_EMIT propertyChanged(kEnableEnterKey);
}

double NumericEdit::value() const {
    return m_logic->value();
}

void NumericEdit::setValue(double value) {
    m_logic->setValue(value);
    Q_EMIT propertyChanged(kValue);
}

void NumericEdit::setMaximumValue(double value) {
    if (!m_logic->setMaximumValue(value)) {
        showInvalidValue();
        return;
    }
    Q_EMIT propertyChanged(kMaximumValue);
}

void NumericEdit::setMinimumValue(double value) {
    if (!m_logic->setMinimumValue(value)) {
        showInvalidValue();
        return;
    }
    Q_EMIT propertyChanged(kMinimumValue);
}

QString NumericEdit::text() const {
    return m_text->text();
}

void NumericEdit::setFont(const StdFont& font) {
    if (m_font == font) {
        return;
    }
    m_font = font;
    m_text->setFont(m_font.toQFont());
    Q_EMIT propertyChanged(kFont);
}

void NumericEdit::setBackColor(ColorRef color) {
    if (m_backColor == color) {
        return;
    }
    m_backColor = color;
    applyColors();
    Q_EMIT propertyChanged(kBackColor);
}

void NumericEdit::setForeColor(ColorRef color) {
    if (m_foreColor == color) {
        return;
    }
    m_foreColor = color;
    applyColors();
    Q_EMIT propertyChanged(kForeColor);
}

void NumericEdit::setEnabled(bool enabled) {
    QWidget::setEnabled(enabled);
    m_foreColor = enabled ? kWindowText : kGreyText;
    applyColors();
    Q_EMIT propertyChanged(kEnabled);
}

QString NumericEdit::toolTipText() const {
    return m_text->toolTip();
}

void NumericEdit::setToolTipText(const QString& text) {
    if (toolTipText() == text) {
        return;
    }
    m_text->setToolTip(text);
    Q_EMIT propertyChanged(kToolTipText);
}

void NumericEdit::applyColors() {
    QPalette p = m_text->palette();
    const QPalette& resolving = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Base, toQColor(m_backColor, resolving));
        p.setColor(group, QPalette::Text, toQColor(m_foreColor, resolving));
    }
    // A disabled box keeps the platform's greyed text but shows its own background.
    p.setColor(QPalette::Disabled, QPalette::Base, toQColor(m_backColor, resolving));
    m_text->setPalette(p);
}

void NumericEdit::onTextChanged() {
    Q_EMIT changed();
    m_logic->textChanged();
}

void NumericEdit::readProperties(const PropertyBag& bag) {
    const NumberBoxState defaults;
    setIntegerSize(readInt(bag, kIntegerSize, defaults.integerSize));
    setDecimalSize(readInt(bag, kDecimalSize, defaults.decimalSize));
    setEnableEnterKey(readBool(bag, kEnableEnterKey, defaults.enableEnterKey));
    setValue(readDouble(bag, kValue, 0));
    m_logic->storeMinimumValue(readDouble(bag, kMinimumValue, 0));
    m_logic->storeMaximumValue(readDouble(bag, kMaximumValue, state().upperLimit));
    m_font = readFont(bag, kFont, StdFont::fromQFont(QWidget::font()));
    m_text->setFont(m_font.toQFont());
    m_backColor = readColor(bag, kBackColor, kWindowBackground);
    applyColors();
    QWidget::setEnabled(readBool(bag, kEnabled, true));
    m_text->setToolTip(bag.read(kToolTipText));
}

PropertyBag NumericEdit::writeProperties() const {
    PropertyBag bag;
    writeInt(bag, kIntegerSize, integerSize());
    writeInt(bag, kDecimalSize, decimalSize());
    writeBool(bag, kEnableEnterKey, enableEnterKey());
    writeDouble(bag, kValue, value());
    writeDouble(bag, kMinimumValue, minimumValue());
    writeDouble(bag, kMaximumValue, maximumValue());
    writeFont(bag, kFont, m_font);
    writeColor(bag, kBackColor, m_backColor);
    writeBool(bag, kEnabled, isEnabled());
    bag.write(kToolTipText, toolTipText());
    return bag;
}

void NumericEdit::resizeEvent(QResizeEvent* event) {
    m_text->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void NumericEdit::changeEvent(QEvent* event) {
    // System colours follow the palette they resolve through.
    if (event->type() == QEvent::PaletteChange) {
        applyColors();
    }
    QWidget::changeEvent(event);
}

}  // namespace kestrova
