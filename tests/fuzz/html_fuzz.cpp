// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The in-memory HTML document: the serialise-and-parse-again round trip (see html_check.h for
// the input's form), and the document calls the program makes on a page, which may fail only
// with a description.

#include "fuzz_support.h"
#include "html_check.h"

#include "platform/html_document.h"

#include <cstddef>
#include <cstdint>

using namespace kestrova;
using namespace kestrova::fuzz;

namespace {

QString q(const char* s) {
    return QString::fromLatin1(s);
}

// What the cache reader and the report's shell read of a page's tables.
void reportCalls(HtmlDocument& doc) {
    try {
        const ElementList tables = doc.elementsByTagName(q("Table"));
        for (int t = 0; t < tables.count() && t < 4; ++t) {
            ElementPtr table = tables.item(t);
            const int rows = table->rowCount();
            for (int i = rows - 1; i >= 0 && i >= rows - 32; --i) {
                ElementPtr row = table->row(i);
                for (int c = 0; c < row->cellCount() && c < 8; ++c) {
                    (void)row->cell(c)->innerText();
                    (void)row->cell(c)->rowSpan();
                }
                (void)row->outerHTML();
            }
        }
    } catch (const Failure&) {
    }
    try {
        (void)doc.elementById(q("welcome_message"));
        const ElementList forms = doc.elementsByName(q("SWEForm2_0"));
        if (!forms.isEmpty()) {
            (void)forms.item(0)->child(0)->child(2)->row(0)->cell(0)->child(0)->innerText();
        }
        (void)doc.documentElement()->innerText();
        (void)doc.documentElement()->innerHTML();
        doc.createStyleSheet()->addRule(q(".free"), q("color:#000000;"));
    } catch (const Failure&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::HtmlInput in = fuzz::decodeHtmlInput(data, size);
    if (const QString problem = fuzz::checkHtml(in); !problem.isEmpty()) {
        fail(problem);
    }

    HtmlDocument doc(in.text);
    reportCalls(doc);
    try {
        (void)doc.outerHTML();
    } catch (const Failure&) {
        // no root element
    }
    return 0;
}
