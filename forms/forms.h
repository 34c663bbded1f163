// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace kestrova {

// Resource path of a window's stored form: storedFormPath("frmResult") is
// ":/forms/frmResult.form". Link kestrova_forms to have the resources.
inline QString storedFormPath(const QString& window) {
    return QStringLiteral(":/forms/") + window + QStringLiteral(".form");
}

}  // namespace kestrova
