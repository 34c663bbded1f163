// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/headless.h"

#include <QCoreApplication>

namespace kestrova {

void HeadlessHost::processPendingEvents() {
    if (QCoreApplication::instance()) {
        QCoreApplication::processEvents();
    }
}

}  // namespace kestrova
