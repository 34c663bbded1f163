// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace kestrova {

// Scrambles text with a repeating key by exclusive-or; applying it twice with the same key gives
// the input back. Only the low 8 bits of each key character take part, and only the low 8 bits
// of each text character change.
class XorCipher {
public:
    // Scrambles str in place. False, with str untouched, when str or password is empty.
    bool scramble(QString& str, const QString& password) const;
};

// XOR of n UTF-16 code units with the key's low bytes, the key starting afresh at text[0].
void xorWithKey(char16_t* text, qsizetype n, const QString& key);
// The same over Latin-1 text, a byte per character.
void xorWithKey(char* bytes, qsizetype n, const QString& key);

}  // namespace kestrova
