# SPDX-FileCopyrightText: 2026 The Kestrova developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Scenario 3: what goes wrong, read from the tree as a screen reader reads it: a wrong
password, a portal host that cannot be reached, and a slow portal, whose progress is told and
which can be cancelled."""

import pyatspi
import pytest

import atspi_tree as tree
from conftest import closed_port_host


def start_check(program, display, password):
    program.start()
    display.type(tree.find(program.main, "password text", "Password"), password)
    tree.press(program.main, "push button", "Check Bandwidth Usage")


def message_text(box):
    return " ".join(tree.text_of(label) for label in tree.find_all(box, "label"))


def close_message(box):
    tree.press(box, "push button", "OK")
    tree.wait_for(lambda: not tree.is_showing(box), 10, "the message box gone")


@pytest.mark.parametrize("case", ["wrong password", "unreachable host"])
def test_a_failed_check_says_why(case, portals, kestrova, display):
    host = portals().host if case == "wrong password" else closed_port_host()
    program = kestrova(north_host=host, settings={"txtUserName": "demo", "Selfcaresite": 0})
    start_check(program, display, "wrong" if case == "wrong password" else "demo")

    box = program.message_box(timeout=60)
    said = message_text(box)
    if case == "wrong password":
        assert "did not accept the user id and password" in said, said
    else:
        assert f"Cannot load the portal's page from {host}" in said, said
    close_message(box)

    main = program.main
    if case == "wrong password":
        # Back at the login fields, the password there to be typed again.
        login = tree.find(main, "page tab", "Login Info")
        tree.wait_for(lambda: pyatspi.STATE_SELECTED in tree.states(login), 10,
                      "the Login Info page")
        tree.find(main, "password text", "Password")
    else:
        # What went wrong stays on the page after the message has gone.
        tree.find(main, "label", lambda name: name.startswith("Cannot load the portal's page"))
        tree.find(main, "push button", "Back")


def test_a_slow_portal_tells_its_progress_and_can_be_cancelled(portals, kestrova, display):
    portal = portals("--delay-ms", "1500")
    program = kestrova(north_host=portal.host,
                       settings={"txtUserName": "demo", "Selfcaresite": 0})
    start_check(program, display, "demo")
    main = program.main
    # The Processing page says what the grab waits for, with a busy bar.
    tree.find(main, "label", f"Connecting to {portal.host}...")
    tree.find(main, "progress bar", "Checking")
    tree.find(main, "label", "Logging in as demo...", timeout=60)
    tree.press(main, "push button", "Cancel")
    tree.wait_for(lambda: not tree.find_all(main, "label", "Logging in as demo..."), 10,
                  "the progress gone")
    assert not tree.find_all(main, "progress bar", "Checking")
    # Nothing was left waiting: no message, no result window.
    assert not [w for w in tree.children(program.app)
                if tree.role_name(w) in ("dialog", "alert") and tree.is_showing(w)]
