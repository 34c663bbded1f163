// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The texts the Report tab's file commands write (the saved page, the exported listing) and
// the save prompt they share.

#include "platform/dialogs.h"

#include <QDate>
#include <QString>

namespace kestrova {

class Document;

// The exported listing: the report page's second table from row 1 (the headings) on, cells 0
// to k - 2 of each row with k the cell count of row 1 (the daily-total column is left out),
// each cell's inner text without blanks at its ends, ", " before a cell whenever the line so
// far is not empty, every line ended by CR LF. A cell holding a comma, a double quote or a
// line break is written in double quotes with its quotes doubled, so it stays one column;
// every other cell is written as it is. Throws Failure when the page has no second table or a
// row has fewer cells than row 1 asks for.
QString exportText(const Document& page);

// The saved report: the outer HTML of the page's document element. Throws Failure on a page
// without one.
QString reportFileText(const Document& page);

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
