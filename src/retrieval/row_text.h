#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <span>

namespace kestrova {

// The row text of one usage record: "<TR>", then "<TD>" + field + "</TD>" for the first six
// fields, then "</TR>". Fields are written as HTML text (& < > and quotes as references, and
// characters beyond Latin-1 as numeric references), so a field can never add mark-up to the
// report and the text always fits one byte per character in a cache file.
QString RowText(const QStringList& fields);
QString RowText(std::span<const QStringView> fields);

QString escapeHtmlText(const QString& text);

}  // namespace kestrova
