# SPDX-FileCopyrightText: 2026 The Kestrova developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Scenario 4: "Enable Cache". Two checks of the same month keep one cache file, byte for byte
the same; the history on the "Use Cache Data" page reads the month, and the month opens from it.
"""

import pyatspi

import atspi_tree as tree
from test_check import PORTAL_TODAY

CACHE_NAME = "2026-11-unbilled-demo"


def check_and_close_result(program, display, first):
    main = program.main
    if first:
        display.type(tree.find(main, "password text", "Password"), "demo")
    tree.press(main, "push button", "Check Bandwidth Usage")
    link = tree.find(main, "link", "View Usage Details", timeout=60)
    display.click(link)
    result = program.result_window(timeout=60)
    tree.press(result, "push button", "Close")
    tree.wait_for(lambda: not tree.is_showing(result), 10, "the result window closed")
    tree.find(main, "push button", "Check Bandwidth Usage")  # back at Login Info


def test_the_cache_keeps_a_month_once_and_opens_it_again(portals, kestrova, display):
    portal = portals("--today", PORTAL_TODAY)
    program = kestrova(north_host=portal.host,
                       settings={"txtUserName": "demo", "Selfcaresite": 0}).start()
    main = program.main
    cache = tree.find(main, "check box", "Enable Cache")
    tree.do_action(cache, "Toggle")
    tree.wait_for(lambda: pyatspi.STATE_CHECKED in tree.states(cache), 10, "Enable Cache ticked")

    kept = program.folder / f"{CACHE_NAME}.cache2"
    check_and_close_result(program, display, first=True)
    first = tree.wait_for(lambda: kept.exists() and kept.read_bytes(), 10, "the cache file")
    check_and_close_result(program, display, first=False)
    assert kept.read_bytes() == first, "the second check changed the month's cache file"

    # The history: one month, with as many records as the log the portal sent.
    log_records = len((program.folder / "usage.htm").read_text().strip().splitlines()) - 1
    tree.press(main, "page tab", "Use Cache Data")
    history = tree.find(main, "table", "Cached months")
    headers = [c.name for c in tree.children(history) if tree.role_name(c) == "table column header"]
    cells = [c.name for c in tree.children(history) if tree.role_name(c) == "table cell"]
    assert len(cells) == len(headers), cells
    row = dict(zip(headers, cells))
    assert row["Period"] == "2026-11-unbilled" and row["User ID"] == "demo", row
    assert int(row["Records"]) == log_records, row

    # Opened from the history: the row, then Enter.
    period_cell = next(c for c in tree.children(history) if c.name == "2026-11-unbilled")
    display.click(period_cell)
    display.keys(period_cell, "Return")
    result = program.result_window()
    document = tree.find(result, "document web", "ORVO BroadBand Bandwidth Usage")
    tree.find(document, "label", "Bandwidth usage summary for 2026-11-unbilled",
              showing_only=False)
