// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/xor_cipher.h"

#include "platform/failure.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <vector>

namespace kestrova {

namespace {

// push ebp / mov ebp,esp / push esi,edi,ebx / load text, length, key, key length /
// loop: al = key[edx]; xor [esi],al; esi += 2; edx = (edx + 1) mod k; until length is used up.
const char kRoutineHex[] =
    "5589E55657538B75088B4D0C8B7D108B5D1431D285C974128A0457300683C6024239DA720231D24975EE"
    "5B5F5E5DC21000";

bool sameFile(const QString& a, const QString& b) {
    std::error_code ec;
    const bool same = std::filesystem::equivalent(std::filesystem::path(a.toStdString()),
                                                  std::filesystem::path(b.toStdString()), ec);
    return !ec && same;
}

}  // namespace

void xorWithKey(char16_t* text, qsizetype n, const QString& key) {
    const qsizetype k = key.size();
    constexpr qsizetype kWords = 256;  // the mask block: 1024 characters at most
    if (4 * k > 4 * kWords) {
        for (qsizetype i = 0; i < n; ++i) {
            text[i] ^= char16_t(key[i % k].unicode() & 0xFF);
        }
        return;
    }
    // The key's low bytes repeated over a block that is a whole number of keys and of 64-bit
    // words; XOR then runs a word (four characters) at a time over contiguous memory. The
    // block lives on the stack, so the compiler knows it cannot overlap the text.
    const qsizetype words = k * (kWords / k);
    const qsizetype blockChars = 4 * words;
    std::uint64_t mask[kWords];
    auto* maskChars = reinterpret_cast<char16_t*>(mask);
    for (qsizetype i = 0; i < blockChars; ++i) {
        maskChars[i] = char16_t(key[i % k].unicode() & 0xFF);
    }
    auto* bytes = reinterpret_cast<unsigned char*>(text);
    qsizetype i = 0;
    for (; i + blockChars <= n; i += blockChars) {
        unsigned char* block = bytes + 2 * i;
        for (qsizetype w = 0; w < words; ++w) {
            std::uint64_t v;
            std::memcpy(&v, block + 8 * w, 8);
            v ^= mask[w];
            std::memcpy(block + 8 * w, &v, 8);
        }
    }
    for (qsizetype j = 0; i + j < n; ++j) {
        text[i + j] ^= maskChars[j];
    }
}

void xorBytesWithKey(char* bytes, qsizetype n, const QString& key, qsizetype keyOffset) {
    const qsizetype k = key.size();
    for (qsizetype i = 0; i < n; ++i) {
        bytes[i] = char(uchar(bytes[i]) ^ uchar(key[(keyOffset + i) % k].unicode() & 0xFF));
    }
}

XorCipher::XorCipher() {
    m_code = QByteArray::fromHex(QByteArray(kRoutineHex));
    m_ready = m_code.size() * 2 == qsizetype(sizeof(kRoutineHex) - 1);
}

bool XorCipher::scramble(QString& str, const QString& Password) const {
    if (!m_ready || str.isEmpty() || Password.isEmpty()) {
        return false;
    }
    xorWithKey(reinterpret_cast<char16_t*>(str.data()), str.size(), Password);
    return true;
}

bool XorCipher::scrambleFile(const QString& FileFrom, const QString& FileTo,
                             const QString& Password, bool OverWrite) const {
    const qsizetype k = Password.size();
    if (k == 0) {
        throw Failure(QStringLiteral("Division by zero: the key is empty"));
    }
    if (!m_ready || k > kMaxFileKeyLength) {
        return false;  // the chunk size would be 0
    }
    const qsizetype chunk = kMaxFileKeyLength - (kMaxFileKeyLength % k);
    if (FileFrom.isEmpty() || FileTo.isEmpty()) {
        return false;
    }
    const QFileInfo source(FileFrom);
    if (!source.exists() || !source.isFile()) {
        return false;
    }
    if (QFileInfo::exists(FileTo)) {
        if (!OverWrite || sameFile(FileFrom, FileTo)) {
            return false;  // never delete the source to write over it
        }
        if (!QFile::remove(FileTo)) {
            throw Failure(QStringLiteral("Permission denied: %1 cannot be replaced").arg(FileTo));
        }
    }
    QFile in(FileFrom);
    if (!in.open(QIODevice::ReadOnly)) {
        throw Failure(in.errorString());
    }
    QFile out(FileTo);
    if (!out.open(QIODevice::WriteOnly)) {
        throw Failure(out.errorString());
    }
    const qint64 size = in.size();
    QByteArray buffer;
    for (qint64 done = 0; done < size;) {
        const qint64 want = std::min<qint64>(chunk, size - done);
        buffer = in.read(want);
        if (buffer.size() != want) {
            throw Failure(in.errorString());
        }
        // Every chunk starts at a multiple of the key length, so the key starts afresh.
        xorBytesWithKey(buffer.data(), buffer.size(), Password);
        if (out.write(buffer) != want) {
            throw Failure(out.errorString());
        }
        done += want;
    }
    if (!out.flush()) {
        throw Failure(out.errorString());
    }
    return true;
}

QString XorCipher::machineCodeText(bool CopyToClipboard) const {
    QString text = QString::fromLatin1(m_code.toHex().toUpper());
    if (CopyToClipboard && qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        clipboard->setText(text);
    }
    return text;
}

}  // namespace kestrova
