// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/headless.h"

#include "platform/failure.h"

#include <QBuffer>
#include <QCoreApplication>

namespace kestrova {

QByteArray HeadlessResult::pageBytes() const {
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
    if (pageWriter) {
        return pageWriter(device);
    }
    return writeAll(device, pageBytes());
}

QString HeadlessResult::listingText() const {
    if (!listingExport) {
        throw Failure(QStringLiteral("There is no report to export"));
    }
    return listingExport();
}

void HeadlessHost::processPendingEvents() {
    if (QCoreApplication::instance()) {
        QCoreApplication::processEvents();
    }
}

}  // namespace kestrova
