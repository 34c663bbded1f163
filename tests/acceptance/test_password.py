# SPDX-FileCopyrightText: 2026 The Kestrova developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Scenario 2: "Remember password". Ticked, a check, the window closed as a person closes it:
at the next start the password is back, the keyring holds it and the settings file does not;
unticked and closed again, the keyring no longer holds it."""

import configparser

import dbus
import pyatspi

import atspi_tree as tree

PASSWORD = "demo"


def secrets_in_keyring():
    """Every secret of the session's keyring (the suite's own, unlocked) as text."""
    bus = dbus.SessionBus()
    service = bus.get_object("org.freedesktop.secrets", "/org/freedesktop/secrets")
    secrets = dbus.Interface(service, "org.freedesktop.Secret.Service")
    _, session = secrets.OpenSession("plain", dbus.String("", variant_level=1))
    unlocked, _ = secrets.SearchItems(dbus.Dictionary({}, signature="ss"))
    found = secrets.GetSecrets(unlocked, session)
    return [bytes(secret[2]).decode("utf-8", "replace") for secret in found.values()]


def close_as_a_person(program):
    """Back to the login page and "Close", then wait for the program to end."""
    main = program.main
    tree.press(main, "page tab", "Login Info")
    tree.press(main, "push button", "Close")
    assert program.wait_until_ended(timeout=30) == 0


def test_a_remembered_password_is_in_the_keyring_not_in_the_settings(portals, kestrova, display):
    portal = portals()
    program = kestrova(north_host=portal.host,
                       settings={"txtUserName": "demo", "Selfcaresite": 0}).start()
    main = program.main
    remember = tree.find(main, "check box", "Remember password")
    tree.do_action(remember, "Toggle")
    tree.wait_for(lambda: pyatspi.STATE_CHECKED in tree.states(remember), 10, "the box ticked")
    display.type(tree.find(main, "password text", "Password"), PASSWORD)
    tree.press(main, "push button", "Check Bandwidth Usage")
    tree.find(main, "link", "View Usage Details", timeout=60)  # the portal took the password
    close_as_a_person(program)

    assert PASSWORD in secrets_in_keyring()
    stored = configparser.ConfigParser(interpolation=None)
    stored.read(program.settings_file)
    kept = {key.lower(): value for key, value in stored["ScreenSettings"].items()}
    assert kept.get("chksavepassword") == "1"
    assert not kept.get("txtpasswordnew") and not kept.get("txtpassword"), kept

    # The next start: the box ticked, the password back (the portal takes it untyped).
    program.start()
    main = program.main
    assert pyatspi.STATE_CHECKED in tree.states(tree.find(main, "check box", "Remember password"))
    password = tree.find(main, "password text", "Password")
    # A password box tells how many characters it holds, never which.
    tree.wait_for(lambda: password.queryText().characterCount == len(PASSWORD), 10,
                  "the password back")
    tree.press(main, "push button", "Check Bandwidth Usage")
    tree.find(main, "link", "View Usage Details", timeout=60)

    # Unticked and closed: the keyring lets the password go.
    tree.press(main, "page tab", "Login Info")
    remember = tree.find(main, "check box", "Remember password")
    tree.do_action(remember, "Toggle")
    tree.wait_for(lambda: pyatspi.STATE_CHECKED not in tree.states(remember), 10,
                  "the box unticked")
    close_as_a_person(program)
    assert PASSWORD not in secrets_in_keyring()
