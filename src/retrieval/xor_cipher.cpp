// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/xor_cipher.h"

#include <cstdint>
#include <cstring>

namespace kestrova {

namespace {

// XOR of n code units (UTF-16 or Latin-1) with the key's low bytes, the key starting afresh at
// text[0].
template <typename Unit>
void xorUnits(Unit* text, qsizetype n, const QString& key) {
    const qsizetype k = key.size();
    constexpr qsizetype kWords = 256;  // the mask block: 1024 UTF-16 characters at most
    constexpr auto kUnitsPerWord = qsizetype(sizeof(std::uint64_t) / sizeof(Unit));
    if (k > kWords) {
        for (qsizetype i = 0; i < n; ++i) {
            text[i] ^= Unit(key[i % k].unicode() & 0xFF);
        }
        return;
    }
    // The key's low bytes repeated over a block that is a whole number of keys and of 64-bit
    // words; XOR then runs a word at a time over contiguous memory. The block lives on the
    // stack, so the compiler knows it cannot overlap the text.
    const qsizetype words = k * (kWords / k);
    const qsizetype blockUnits = kUnitsPerWord * words;
    std::uint64_t mask[kWords];
    auto* maskUnits = reinterpret_cast<Unit*>(mask);
    for (qsizetype i = 0; i < blockUnits; ++i) {
        maskUnits[i] = Unit(key[i % k].unicode() & 0xFF);
    }
    auto* bytes = reinterpret_cast<unsigned char*>(text);
    qsizetype i = 0;
    for (; i + blockUnits <= n; i += blockUnits) {
        unsigned char* block = bytes + qsizetype(sizeof(Unit)) * i;
        for (qsizetype w = 0; w < words; ++w) {
            std::uint64_t v;
            std::memcpy(&v, block + 8 * w, 8);
            v ^= mask[w];
            std::memcpy(block + 8 * w, &v, 8);
        }
    }
    for (qsizetype j = 0; i + j < n; ++j) {
        text[i + j] ^= maskUnits[j];
    }
}

}  // namespace

void xorWithKey(char16_t* text, qsizetype n, const QString& key) {
    xorUnits(text, n, key);
}

void xorWithKey(char* bytes, qsizetype n, const QString& key) {
    xorUnits(bytes, n, key);
}

bool XorCipher::scramble(QString& str, const QString& password) const {
    if (str.isEmpty() || password.isEmpty()) {
        return false;
    }
    xorWithKey(reinterpret_cast<char16_t*>(str.data()), str.size(), password);
    return true;
}

}  // namespace kestrova
