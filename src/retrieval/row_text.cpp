// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "retrieval/row_text.h"

#include "platform/html_document.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace kestrova {

namespace {

constexpr std::size_t kFields = 6;

// How own row text treats a character of a field.
enum CharClass : std::uint8_t {
    Plain,    // kept as it is by an HTML parser, and left as it is by toRowText
    Special,  // "<" ends the field, "&" starts a reference, CR is read as LF
    Foreign,  // toRowText never writes it raw, or a parser would not keep it
};

constexpr std::array<CharClass, 256> makeClasses() {
    std::array<CharClass, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        CharClass k = Plain;
        if (c < 0x20 || (c >= 0x7F && c <= 0xA0)) {
            k = Foreign;  // controls, DEL, C1 controls and the no-break space
        }
        if (c == '\t' || c == '\n') {
            k = Plain;
        }
        if (c == '<' || c == '&' || c == '\r') {
            k = Special;
        }
        if (c == '>' || c == '"' || c == '\'') {
            k = Foreign;
        }
        classes[std::size_t(c)] = k;
    }
    return classes;
}
constexpr std::array<CharClass, 256> kClasses = makeClasses();

CharClass classOf(char16_t c) {
    return c < 256 ? kClasses[c] : Foreign;
}

bool isWhitespace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r';
}

// The named references toRowText writes, with the character each stands for.
struct NamedReference {
    QStringView text;
    char16_t character;
};
constexpr NamedReference kNamed[] = {{u"&amp;", u'&'},  {u"&lt;", u'<'},   {u"&gt;", u'>'},
                                     {u"&quot;", u'"'}, {u"&#39;", u'\''}, {u"&nbsp;", 0xA0}};

// The length of the reference at the start of `s` when it is one toRowText writes (0 when not),
// and the code point it stands for.
qsizetype ownReference(QStringView s, char32_t& codePoint) {
    for (const NamedReference& named : kNamed) {
        if (s.startsWith(named.text)) {
            codePoint = named.character;
            return named.text.size();
        }
    }
    // "&#" + decimal digits + ";", as written for a character beyond Latin-1: no leading zero,
    // and only a code point that a parser takes as it is (no surrogate, no noncharacter).
    if (s.size() < 4 || s[1] != u'#' || s[2] < u'1' || s[2] > u'9') {
        return 0;
    }
    char32_t value = 0;
    qsizetype k = 2;
    for (; k < s.size() && k < 10 && s[k] >= u'0' && s[k] <= u'9'; ++k) {
        value = value * 10 + char32_t(s[k].unicode() - u'0');
    }
    if (k >= s.size() || s[k] != u';' || value <= 0xFF || value > 0x10FFFF ||
        (value >= 0xD800 && value <= 0xDFFF) || (value >= 0xFDD0 && value <= 0xFDEF) ||
        (value & 0xFFFE) == 0xFFFE) {
        return 0;
    }
    codePoint = value;
    return k + 1;
}

}  // namespace

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

void appendRowText(QString& row, std::span<const QStringView> fields) {
    // Most fields of a log hold nothing to escape: those are appended as they are.
    auto plain = [](QStringView field) {
        for (QChar ch : field) {
            const char16_t c = ch.unicode();
            if (c > 0xFF || c == u'&' || c == u'<' || c == u'>' || c == u'"' || c == u'\'' ||
                c == 0xA0) {
                return false;
            }
        }
        return true;
    };
    row += u"<TR>";
    for (std::size_t i = 0; i < kFields; ++i) {
        row += u"<TD>";
        if (i < fields.size()) {
            if (plain(fields[i])) {
                row += fields[i];
            } else {
                appendHtmlEscaped(row, fields[i], true);
            }
        }
        row += u"</TD>";
    }
    row += u"</TR>";
}

QString toRowText(std::span<const QStringView> fields) {
    qsizetype size = 4 + qsizetype(kFields) * 9 + 5;
    for (std::size_t i = 0; i < kFields && i < fields.size(); ++i) {
        size += fields[i].size();
    }
    QString row;
    row.reserve(size);
    appendRowText(row, fields);
    return row;
}

QString toRowText(const QStringList& fields) {
    std::array<QStringView, kFields> views;
    const std::size_t count = std::min(views.size(), std::size_t(fields.size()));
    for (std::size_t i = 0; i < count; ++i) {
        views[i] = fields[qsizetype(i)];
    }
    return toRowText(std::span<const QStringView>(views.data(), count));
}

bool OwnRowText::next(Fields& fields) {
    if (m_failed || m_at >= m_text.size()) {
        return false;
    }
    const char16_t* const text = m_text.utf16();
    const qsizetype end = m_text.size();
    qsizetype at = m_at;
    auto literal = [&]<std::size_t N>(const char16_t(&expected)[N]) {
        constexpr auto length = qsizetype(N - 1);
        if (end - at < length) {
            return false;
        }
        for (qsizetype k = 0; k < length; ++k) {
            if (text[at + k] != expected[k]) {
                return false;
            }
        }
        at += length;
        return true;
    };
    auto fail = [this] {
        m_failed = true;
        return false;
    };
    if (!literal(u"<TR>")) {
        return fail();
    }
    for (std::size_t i = 0; i < kFields; ++i) {
        if (!literal(u"<TD>")) {
            return fail();
        }
        const qsizetype start = at;
        while (true) {
            if (at >= end) {
                return fail();
            }
            const char16_t c = text[at];
            const CharClass k = classOf(c);
            if (k == Plain) {
                ++at;
                continue;
            }
            if (k == Foreign) {
                return fail();
            }
            if (c == u'<') {
                break;
            }
            if (c == u'&') {
                char32_t codePoint = 0;
                const qsizetype length = ownReference(m_text.sliced(at), codePoint);
                if (length == 0) {
                    return fail();
                }
                at += length;
                continue;
            }
            ++at;  // CR
        }
        fields[i] = m_text.sliced(start, at - start);
        if (!literal(u"</TD>")) {
            return fail();
        }
    }
    if (!literal(u"</TR>")) {
        return fail();
    }
    m_at = at;
    return true;
}

bool OwnRowText::nextAccepted(Fields& fields) {
    if (m_at >= m_text.size()) {
        return false;
    }
    // "<TR>", six times "<TD>" + field + "</TD>", "</TR>"; a field holds no "<".
    const char16_t* const text = m_text.utf16();
    qsizetype at = m_at + 4;
    for (QStringView& field : fields) {
        at += 4;
        qsizetype end = at;
        while (text[end] != u'<') {
            ++end;
        }
        field = QStringView(text + at, end - at);
        at = end + 5;
    }
    m_at = at + 5;
    return true;
}

bool isOwnRowText(QStringView records) {
    OwnRowText rows(records);
    OwnRowText::Fields fields;
    while (rows.next(fields)) {
    }
    return !rows.failed();
}

QStringView cellTextOf(QStringView field, QString& scratch) {
    bool plain = !field.isEmpty() && field.front() != u' ' && field.back() != u' ';
    for (qsizetype k = 0; plain && k < field.size(); ++k) {
        const char16_t c = field[k].unicode();
        plain = c != u'&' && c != u'\r' && c != u'\n' && c != u'\t' && c != u'\f' &&
                !(c == u' ' && field[k + 1] == u' ');  // the last one is no blank (see above)
    }
    if (plain || field.isEmpty()) {
        return field;
    }
    // Resolve, read CR LF and CR as LF, and collapse white space as a reader's text does.
    scratch.clear();
    scratch.reserve(field.size());
    bool space = false;
    auto put = [&](char32_t c) {
        if (c < 0x10000 && isWhitespace(char16_t(c))) {
            space = !scratch.isEmpty();
            return;
        }
        if (space) {
            scratch += u' ';
            space = false;
        }
        if (c < 0x10000) {
            scratch += QChar(char16_t(c));
        } else {
            scratch += QChar(QChar::highSurrogate(c));
            scratch += QChar(QChar::lowSurrogate(c));
        }
    };
    for (qsizetype k = 0; k < field.size(); ++k) {
        const char16_t c = field[k].unicode();
        if (c == u'&') {
            char32_t codePoint = 0;
            const qsizetype length = ownReference(field.sliced(k), codePoint);
            if (length > 0) {
                put(codePoint);
                k += length - 1;
                continue;
            }
        } else if (c == u'\r') {
            if (k + 1 < field.size() && field[k + 1] == u'\n') {
                ++k;
            }
            put(u'\n');
            continue;
        }
        put(c);
    }
    return scratch;
}

char16_t* writeCellMarkup(char16_t* out, QStringView field) {
    const char16_t* in = field.utf16();
    const char16_t* const end = in + field.size();
    while (in < end) {
        const char16_t* run = in;
        while (run < end && *run != u'&' && *run != u'\r') {
            ++run;
        }
        if (run != in) {
            std::memcpy(out, in, std::size_t(run - in) * 2);
            out += run - in;
        }
        in = run;
        if (in == end) {
            break;
        }
        if (*in == u'\r') {
            *out++ = u'\n';
            in += (in + 1 < end && in[1] == u'\n') ? 2 : 1;
            continue;
        }
        // A reference: text keeps the quotes as they are and every other one as it was.
        const QStringView rest(in, end - in);
        if (rest.startsWith(u"&quot;")) {
            *out++ = u'"';
            in += 6;
        } else if (rest.startsWith(u"&#39;")) {
            *out++ = u'\'';
            in += 5;
        } else {
            *out++ = *in++;
        }
    }
    return out;
}

}  // namespace kestrova
