// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <span>

namespace kestrova {

// The row text of one usage record: "<TR>", then "<TD>" + field + "</TD>" for the first six
// fields, then "</TR>". Fields are written as HTML text (& < > and quotes as references, and
// characters beyond Latin-1 as numeric references), so a field can never add mark-up to the
// report and the text always fits one byte per character in a cache file.
QString toRowText(const QStringList& fields);
QString toRowText(std::span<const QStringView> fields);
// Appends the row text to `row`.
void appendRowText(QString& row, std::span<const QStringView> fields);

QString escapeHtmlText(const QString& text);

// Reading row text back without a document, for text that toRowText wrote: rows one after the
// other with nothing between them, each field exactly as toRowText escapes it, made only of
// characters that an HTML parser keeps as they are (printable Latin-1, tab, line feed and
// carriage return) and the references toRowText writes. Anything else (mark-up in a field, an
// unescaped "&", another reference, a control character, a cache file edited by hand) is not
// the program's own row text and is left to a real HTML parser.
//
// Own row text never holds a character beyond Latin-1, so it is read from Latin-1 text: half
// the memory of UTF-16 for a month of a million records.
class OwnRowText {
public:
    using Fields = std::array<QLatin1StringView, 6>;

    explicit OwnRowText(QLatin1StringView records) : m_text(records) {}

    // The next row's fields as written (escaped); false at the end of the text and at the
    // first text that is not own row text (then failed() says so).
    bool next(Fields& fields);
    bool failed() const { return m_failed; }
    // The next row of text that isOwnRowText() has already accepted as a whole, split
    // without checking its characters again.
    bool nextAccepted(Fields& fields);
    // Where the next row starts.
    qsizetype position() const { return m_at; }
    void seek(qsizetype position) { m_at = position; }

private:
    QLatin1StringView m_text;
    qsizetype m_at = 0;
    bool m_failed = false;
};

// Whether the whole text is own row text (the empty text is: no rows).
bool isOwnRowText(QLatin1StringView records);

// What a document makes of a field of own row text, without the document:
// - its reader's text (the cell's innerText): references resolved, CR LF and CR read as LF,
//   white space collapsed and trimmed; in `scratch`.
QStringView cellTextOf(QLatin1StringView field, QString& scratch);
// - its mark-up once parsed and serialised again: the same but for the quotes, which text
//   holds unescaped, and CR LF and CR, which become LF. Writes at `out` (at most
//   field.size() characters, all of them Latin-1) and returns the end.
char16_t* writeCellMarkup(char16_t* out, QLatin1StringView field);
char* writeCellMarkup(char* out, QLatin1StringView field);

}  // namespace kestrova
