// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The simulated portal's page-by-page usage table as the page grab reads it: the entries of a
// page through the grab's element paths, the pager's next link, and the cells a record shows.

#include "platform/html_document.h"
#include "usage_data.h"

#include <array>
#include <vector>

namespace kestrova::testing {

using TableEntry = std::array<QString, 6>;

struct UsageTablePage {
    std::vector<TableEntry> entries;
    ElementPtr next;  // the pager's "A", or nullptr on the last page
};

inline UsageTablePage readUsageTable(const HtmlDocument& page, const QString& formName) {
    const ElementPtr form = page.elementsByName(formName).item(0);
    const ElementPtr log = form->child(0)->child(2)->row(0)->cell(0)->child(0);
    const ElementPtr pager = form->child(0)->child(1)->row(0)->cell(2)->child(0);
    UsageTablePage read;
    for (int r = 1; r < log->rowCount(); ++r) {
        TableEntry& cells = read.entries.emplace_back();
        for (int c = 0; c < 6; ++c) {
            cells[std::size_t(c)] = log->row(r)->cell(c)->innerText();
        }
    }
    const ElementPtr next = pager->row(0)->cell(4)->child(0);
    read.next = next->tagName() == u"A" ? next : nullptr;
    return read;
}

inline TableEntry tableEntry(const portal::UsageRecord& record) {
    const auto f = record.fields();
    const auto text = [](const std::string& s) { return QString::fromStdString(s); };
    return {
        text(record.tableStartText()), text(f[1]), text(f[2]), text(f[3]), text(f[4]), text(f[5])};
}

}  // namespace kestrova::testing
