# SPDX-FileCopyrightText: 2026 The Kestrova developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Scenario 8: the Report tab's "Export..." and "Save Report.." after a check, through the
program's own save prompt. The listing and the page are the bytes kestrova-report writes for
the log the program downloaded."""

import atspi_tree as tree
from conftest import run_report
from test_check import PERIOD, PORTAL_TODAY, log_in_and_fetch


def save_through_the_prompt(program, display, result, button, path):
    """Presses `button`, names `path` in the save prompt and confirms with Enter."""
    tree.press(result, "push button", button)
    prompt = tree.wait_for(
        lambda: next((w for w in tree.children(program.app)
                      if w.name == "Enter Filename to save" and tree.is_showing(w)), None),
        30, "the save prompt")
    name = tree.find_labelled(prompt, "text", "File name:")
    tree.set_text(name, str(path))
    display.keys(name, "Return")
    tree.wait_for(lambda: path.exists(), 30, f"{path.name} written")


def test_export_and_save_write_what_kestrova_report_writes(portals, kestrova, display):
    portal = portals("--today", PORTAL_TODAY)
    program = kestrova(north_host=portal.host,
                       settings={"txtUserName": "demo", "Selfcaresite": 0}).start()
    result = log_in_and_fetch(program, display)
    log = program.folder / "usage.htm"
    expected_csv = program.home / "expected.csv"
    expected_page = program.home / "expected.htm"
    run_report(log, "--log", "--period", PERIOD, "--csv", expected_csv, "--output", expected_page)

    listing = program.home / "listing.csv"
    save_through_the_prompt(program, display, result, "Export...", listing)
    assert listing.read_bytes() == expected_csv.read_bytes()

    page = program.home / "report.htm"
    save_through_the_prompt(program, display, result, "Save Report..", page)
    message = program.message_box()
    tree.find(message, "label", "File saved successfully", showing_only=False)
    tree.press(message, "push button", "OK")
    assert page.read_bytes() == expected_page.read_bytes()
