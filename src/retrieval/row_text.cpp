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

// Row text is read a byte at a time, unsigned so that Latin-1 compares as its code points.
using Byte = unsigned char;

const Byte* bytesOf(QLatin1StringView text) {
    return reinterpret_cast<const Byte*>(text.data());
}

QLatin1StringView viewOf(const Byte* bytes, qsizetype size) {
    return {reinterpret_cast<const char*>(bytes), size};
}

bool startsWith(const Byte* s, qsizetype size, QStringView prefix) {
    if (size < prefix.size()) {
        return false;
    }
    for (qsizetype k = 0; k < prefix.size(); ++k) {
        if (char16_t(s[k]) != prefix[k].unicode()) {
            return false;
        }
    }
    return true;
}

// The length of the reference at the start of `s` when it is one toRowText writes (0 when not),
// and the code point it stands for.
qsizetype ownReference(const Byte* s, qsizetype size, char32_t& codePoint) {
    for (const NamedReference& named : kNamed) {
        if (startsWith(s, size, named.text)) {
            codePoint = named.character;
            return named.text.size();
        }
    }
    // "&#" + decimal digits + ";", as written for a character beyond Latin-1: no leading zero,
    // and only a code point that a parser takes as it is (no surrogate, no noncharacter).
    if (size < 4 || s[1] != u'#' || s[2] < u'1' || s[2] > u'9') {
        return 0;
    }
    char32_t value = 0;
    qsizetype k = 2;
    for (; k < size && k < 10 && s[k] >= u'0' && s[k] <= u'9'; ++k) {
        value = value * 10 + char32_t(s[k] - u'0');
    }
    if (k >= size || s[k] != u';' || value <= 0xFF || value > 0x10FFFF ||
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
    const Byte* const text = bytesOf(m_text);
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
                const qsizetype length = ownReference(text + at, end - at, codePoint);
                if (length == 0) {
                    return fail();
                }
                at += length;
                continue;
            }
            ++at;  // CR
        }
        fields[i] = viewOf(text + start, at - start);
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
    const Byte* const text = bytesOf(m_text);
    qsizetype at = m_at + 4;
    for (QLatin1StringView& field : fields) {
        at += 4;
        qsizetype end = at;
        while (text[end] != u'<') {
            ++end;
        }
        field = viewOf(text + at, end - at);
        at = end + 5;
    }
    m_at = at + 5;
    return true;
}

namespace {

// The reader's text of a field of own row text (see cellTextOf) into `scratch`.
void resolveCellText(const Byte* field, qsizetype size, QString& scratch) {
    // Resolve, read CR LF and CR as LF, and collapse white space as a reader's text does.
    scratch.clear();
    scratch.reserve(size);
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
    for (qsizetype k = 0; k < size; ++k) {
        const char16_t c = field[k];
        if (c == u'&') {
            char32_t codePoint = 0;
            const qsizetype length = ownReference(field + k, size - k, codePoint);
            if (length > 0) {
                put(codePoint);
                k += length - 1;
                continue;
            }
        } else if (c == u'\r') {
            if (k + 1 < size && field[k + 1] == u'\n') {
                ++k;
            }
            put(u'\n');
            continue;
        }
        put(c);
    }
}

// Whether a field's reader's text is the field itself: no reference, no line break or tab, no
// blank at its ends and no two blanks together.
bool isPlainCellText(const Byte* field, qsizetype size) {
    if (size == 0 || field[0] == u' ' || field[size - 1] == u' ') {
        return false;
    }
    for (qsizetype k = 0; k < size; ++k) {
        const char16_t c = field[k];
        if (c == u'&' || c == u'\r' || c == u'\n' || c == u'\t' || c == u'\f' ||
            (c == u' ' && field[k + 1] == u' ')) {  // the last one is no blank (see above)
            return false;
        }
    }
    return true;
}

template <typename Out>
Out* writeMarkup(Out* out, const Byte* in, qsizetype size) {
    const Byte* const end = in + size;
    while (in < end) {
        const Byte* run = in;
        while (run < end && *run != u'&' && *run != u'\r') {
            ++run;
        }
        out = std::copy(in, run, out);
        in = run;
        if (in == end) {
            break;
        }
        if (*in == u'\r') {
            *out++ = Out(u'\n');
            in += (in + 1 < end && in[1] == u'\n') ? 2 : 1;
            continue;
        }
        // A reference: text keeps the quotes as they are and every other one as it was.
        if (startsWith(in, end - in, u"&quot;")) {
            *out++ = Out(u'"');
            in += 6;
        } else if (startsWith(in, end - in, u"&#39;")) {
            *out++ = Out(u'\'');
            in += 5;
        } else {
            *out++ = Out(*in++);
        }
    }
    return out;
}

}  // namespace

bool isOwnRowText(QLatin1StringView records) {
    OwnRowText rows(records);
    OwnRowText::Fields fields;
    while (rows.next(fields)) {
    }
    return !rows.failed();
}

QStringView cellTextOf(QLatin1StringView field, QString& scratch) {
    if (isPlainCellText(bytesOf(field), field.size())) {
        scratch.resize(field.size());
        std::copy_n(bytesOf(field), field.size(), reinterpret_cast<char16_t*>(scratch.data()));
    } else {
        resolveCellText(bytesOf(field), field.size(), scratch);
    }
    return scratch;
}

char16_t* writeCellMarkup(char16_t* out, QLatin1StringView field) {
    return writeMarkup(out, bytesOf(field), field.size());
}

char* writeCellMarkup(char* out, QLatin1StringView field) {
    return writeMarkup(out, bytesOf(field), field.size());
}

}  // namespace kestrova
