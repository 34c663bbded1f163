// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The save prompt the Report tab's file commands share (the saved page, the exported listing).

#include "platform/dialogs.h"

#include <QDate>
#include <QString>

namespace kestrova {

// The request `askSaveFileName` makes: title "Enter Filename to save", filter
// "Output file (*.ext)".
SaveFileRequest saveFileRequest(const QString& initialDir, const QString& defaultName,
                                const QString& ext);
// The chosen name up to its first NUL, with "." + ext appended unless it already contains that
// anywhere ("a.csv.bak" stays as it is).
QString withExtension(const QString& chosen, const QString& ext);
// The name the save prompt suggests for a report whose last record is of `lastUsed`'s month:
// "usage-2026-11.htm"; "usage.htm" without a valid date.
QString suggestedFileName(const QDate& lastUsed, const QString& ext);
// Asks through the dialog seam; the empty text when the user cancels.
QString askSaveFileName(const QString& initialDir, const QString& defaultName, const QString& ext);

}  // namespace kestrova
