// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/output_stream.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace kestrova {

OutputStream::OutputStream(int descriptor) : m_descriptor(descriptor) {
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 OutputStream::writeData(const char* data, qint64 size) {
    if (!m_failure.isEmpty()) {
        return -1;
    }
    qint64 written = 0;
    while (written < size) {
        const ssize_t n = ::write(m_descriptor, data + written, std::size_t(size - written));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            m_failure = QString::fromLocal8Bit(std::strerror(n < 0 ? errno : EIO));
            setErrorString(m_failure);
            return -1;
        }
        written += n;
    }
    return written;
}

int statusAfterOutput(int status, const OutputStream& out, QIODevice& err, const QString& program) {
    if (out.failure().isEmpty()) {
        return status;
    }
    err.write((program + QStringLiteral(": standard output: ") + out.failure() + u'\n').toUtf8());
    return status == 0 ? 1 : status;
}

}  // namespace kestrova
