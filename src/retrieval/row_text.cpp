#include "retrieval/row_text.h"

#include "platform/html_document.h"

#include <algorithm>
#include <array>

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

QString RowText(std::span<const QStringView> fields) {
    constexpr std::size_t kFields = 6;
    qsizetype size = 4 + qsizetype(kFields) * 9 + 5;
    for (std::size_t i = 0; i < kFields && i < fields.size(); ++i) {
        size += fields[i].size();
    }
    QString row;
    row.reserve(size);
    row += u"<TR>";
    for (std::size_t i = 0; i < kFields; ++i) {
        row += u"<TD>";
        if (i < fields.size()) {
            appendHtmlEscaped(row, fields[i], true);
        }
        row += u"</TD>";
    }
    row += u"</TR>";
    return row;
}

QString RowText(const QStringList& fields) {
    std::array<QStringView, 6> views;
    const std::size_t count = std::min(views.size(), std::size_t(fields.size()));
    for (std::size_t i = 0; i < count; ++i) {
        views[i] = fields[qsizetype(i)];
    }
    return RowText(std::span<const QStringView>(views.data(), count));
}

}  // namespace kestrova
