// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The keyboard side of a window: which mnemonic (Alt + letter) each control shown has, and
// where two of them share one.

#include <QAbstractButton>
#include <QLabel>
#include <QMap>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace kestrova::testing {

// The letter after a single ampersand, lower case; none for a text without one.
inline QChar mnemonicOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'&') {
            if (text[i + 1] == u'&') {
                ++i;
                continue;
            }
            return text[i + 1].toLower();
        }
    }
    return QChar();
}

// The controls shown in `window` that answer to a mnemonic, by letter: buttons and check boxes
// by their own caption, captions by the control they put the focus on.
inline QMap<QChar, QStringList> mnemonicsShown(const QWidget* window) {
    QMap<QChar, QStringList> letters;
    std::function<void(const QWidget*)> walk = [&](const QWidget* parent) {
        for (const QObject* child : parent->children()) {
            const auto* w = qobject_cast<const QWidget*>(child);
            if (!w || w->isWindow() || !w->isVisibleTo(window)) {
                continue;
            }
            QString text;
            if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
                text = button->text();
            } else if (const auto* label = qobject_cast<const QLabel*>(w);
                       label && label->buddy() && label->buddy()->isVisibleTo(window)) {
                text = label->text();
            }
            if (const QChar letter = mnemonicOf(text); !letter.isNull()) {
                letters[letter] << w->objectName();
            }
            walk(w);
        }
    };
    walk(window);
    return letters;
}

// "c: cmdClose, cmdCopyChart" for every letter two controls shown share.
inline QStringList mnemonicClashes(const QWidget* window) {
    QStringList clashes;
    const QMap<QChar, QStringList> letters = mnemonicsShown(window);
    for (auto it = letters.cbegin(); it != letters.cend(); ++it) {
        if (it.value().size() > 1) {
            clashes << QString(it.key()) + u": " + it.value().join(QStringLiteral(", "));
        }
    }
    return clashes;
}

}  // namespace kestrova::testing
