# SPDX-FileCopyrightText: 2026 The Kestrova developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The usage report as text, read two ways: from kestrova-report's page (HTML) and from the
report tab's web content in the accessibility tree. Both give the tables' rows as lists of cell
texts, so a scenario compares what a person hears with what the command line writes."""

from html.parser import HTMLParser

import atspi_tree as tree


def _clean(text):
    return " ".join(text.replace("\xa0", " ").split())


class _Tables(HTMLParser):
    def __init__(self):
        super().__init__()
        self.tables = []
        self._depth = 0
        self._row = None
        self._cell = None

    def handle_starttag(self, tag, attrs):
        if tag == "table":
            self._depth += 1
            self.tables.append([])
        elif tag == "tr" and self._depth:
            self._row = []
        elif tag in ("td", "th") and self._row is not None:
            self._cell = []
        elif tag == "br" and self._cell is not None:
            self._cell.append(" ")

    def handle_endtag(self, tag):
        if tag in ("td", "th") and self._cell is not None:
            self._row.append(_clean("".join(self._cell)))
            self._cell = None
        elif tag == "tr" and self._row is not None:
            self.tables[-1].append(self._row)
            self._row = None
        elif tag == "table":
            self._depth -= 1

    def handle_data(self, data):
        if self._cell is not None:
            self._cell.append(data)


def tables_of_page(html):
    parser = _Tables()
    parser.feed(html)
    return parser.tables


def tables_of_tree(document, rows=None):
    """The tables of the web content, each a list of rows of cell texts; only the first `rows`
    rows of each table when given (a month's table has hundreds)."""
    out = []
    for table in tree.find_all(document, "table", showing_only=False):
        rows_read = []
        for row in tree.children(table):
            if tree.role_name(row) != "table row":
                continue
            rows_read.append([_clean(cell.name or "") for cell in tree.children(row)])
            if rows is not None and len(rows_read) >= rows:
                break
        out.append(rows_read)
    return out
