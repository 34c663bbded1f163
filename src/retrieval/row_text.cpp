#include "retrieval/row_text.h"

namespace kestrova {

QString escapeHtmlText(const QString& text) {
    bool plain = true;
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'&' || c == u'<' || c == u'>' || c == u'"' || c == u'\'' || c > 0xFF) {
            plain = false;
            break;
        }
    }
    if (plain) {
        return text;
    }
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        switch (c) {
        case u'&':
            out += u"&amp;";
            break;
        case u'<':
            out += u"&lt;";
            break;
        case u'>':
            out += u"&gt;";
            break;
        case u'"':
            out += u"&quot;";
            break;
        case u'\'':
            out += u"&#39;";
            break;
        default:
            if (c <= 0xFF) {
                out += QChar(c);
            } else {
                char32_t cp = c;
                if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
                    text[i + 1].isLowSurrogate()) {
                    cp = QChar::surrogateToUcs4(c, text[i + 1].unicode());
                    ++i;
                }
                out += u"&#" + QString::number(uint(cp)) + u';';
            }
        }
    }
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
