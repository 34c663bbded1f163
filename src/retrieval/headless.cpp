// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/headless.h"

#include <QBuffer>
#include <QCoreApplication>

namespace kestrova {

QByteArray HeadlessResult::pageBytes() const {
    if (!markupOnly) {
        return fileBytes(report.outerHTML());
    }
    if (!pageWriter) {
        return page;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    pageWriter(buffer);
    return bytes;
}

bool HeadlessResult::writePage(QIODevice& device) const {
    if (markupOnly && pageWriter) {
        return pageWriter(device);
    }
    return writeAll(device, pageBytes());
}

void HeadlessHost::processPendingEvents() {
    if (QCoreApplication::instance()) {
        QCoreApplication::processEvents();
    }
}

}  // namespace kestrova
