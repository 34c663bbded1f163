// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

namespace kestrova {

// Scrambles text, and whole files, with a repeating key by exclusive-or; applying it twice
// with the same key gives the input back. Only the low 8 bits of each key character take
// part, and only the low 8 bits of each text character change.
//
// The class also carries its inner loop as 32-bit x86 machine code, which machineCodeText
// returns; the loop that runs is the same loop in C++.
class XorCipher {
public:
    XorCipher();

    // Scrambles str in place. False, with str untouched, when str or Password is empty.
    bool scramble(QString& str, const QString& Password) const;

    // Writes the scrambled bytes of FileFrom to FileTo: each byte XOR the low byte of the key
    // character at (its offset mod key length). False, touching nothing, for an empty name, a
    // missing source, an existing destination without OverWrite, a destination that is the
    // source itself, or a key longer than 8192 characters. An empty key, and a read or write
    // failure, throw Failure.
    bool scrambleFile(const QString& FileFrom, const QString& FileTo, const QString& Password,
                      bool OverWrite = false) const;

    // The inner loop's machine code as upper-case hexadecimal, also put on the clipboard when
    // asked (and a clipboard exists).
    QString machineCodeText(bool CopyToClipboard = false) const;

    bool isReady() const { return m_ready; }

    static constexpr int kMaxFileKeyLength = 8192;

private:
    QByteArray m_code;
    bool m_ready = false;
};

// XOR of n UTF-16 code units with the key's low bytes, the key starting afresh at text[0].
void xorWithKey(char16_t* text, qsizetype n, const QString& key);
// The same on bytes, with the key position starting at `keyOffset`.
void xorBytesWithKey(char* bytes, qsizetype n, const QString& key, qsizetype keyOffset = 0);

}  // namespace kestrova
