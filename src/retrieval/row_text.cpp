#include "retrieval/row_text.h"

#include "platform/html_document.h"

namespace kestrova {

QString escapeHtmlText(const QString& text) {
    bool plain = true;
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'&' || c == u'<' || c == u'>' || c == u'"' || c == u'\'' || c >= 0xA0) {
            plain = false;
            break;
        }
    }
    if (plain) {
        return text;
    }
    QString out;
    out.reserve(text.size() + 16);
    appendHtmlEscaped(out, text, true);
    return out;
}

QString RowText(const QStringList& fields) {
    QString row;
    row.reserve(4 + 6 * 9 + 5 + 64);
    row += u"<TR>";
    for (qsizetype i = 0; i < 6; ++i) {
        row += u"<TD>";
        row += escapeHtmlText(i < fields.size() ? fields[i] : QString());
        row += u"</TD>";
    }
    row += u"</TR>";
    return row;
}

}  // namespace kestrova
