# SPDX-FileCopyrightText: 2026 The Kestrova developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Scenario 7: the result window comes back where it was left, under GNOME's window manager.

mutter runs as the X server's window manager with GNOME Shell's policy of attaching modal
dialogs to their parent (attach-modal-dialogs, which standalone mutter leaves off): such a
dialog is centred over its parent whatever place it asks for. The result window opens from the
cache at the place stored for it, stays there, and the same place is stored again at its close;
the window manager still knows it as modal and as belonging to the main window.
"""

import os
import subprocess

import pytest

import atspi_tree as tree
from conftest import SOURCE

SAMPLE_CACHE = SOURCE / "samples" / "2026-11-unbilled-demo.cache2"
# The stored place in twips (15 a pixel): 700 by 600 pixels, its top left at (100, 80).
PLACE = {"frmResult.Left": 1500, "frmResult.Top": 1200,
         "frmResult.Width": 10500, "frmResult.Height": 9000}
LEFT, TOP = 100, 80


def xprop(*arguments):
    done = subprocess.run(["xprop", *arguments], capture_output=True, text=True, timeout=30)
    return done.stdout if done.returncode == 0 else ""


def window_manager_running():
    """A window manager's check window that exists and has a name."""
    check = xprop("-root", "_NET_SUPPORTING_WM_CHECK").split("#")
    return len(check) == 2 and "_NET_WM_NAME" in xprop("-id", check[1].strip(), "_NET_WM_NAME")


@pytest.fixture
def gnome_window_manager(tmp_path):
    settings = tmp_path / "mutter-config"
    keyfile = settings / "glib-2.0" / "settings" / "keyfile"
    keyfile.parent.mkdir(parents=True)
    keyfile.write_text("[org/gnome/mutter]\nattach-modal-dialogs=true\n")
    environment = dict(os.environ, GSETTINGS_BACKEND="keyfile", XDG_CONFIG_HOME=str(settings))
    with open(tmp_path / "mutter.log", "wb") as log:
        mutter = subprocess.Popen(["mutter", "--x11", "--replace", "--sm-disable"],
                                  env=environment, stdout=log, stderr=subprocess.STDOUT)
    try:
        tree.wait_for(lambda: mutter.poll() is not None or window_manager_running(), 30,
                      "mutter managing the screen")
        assert mutter.poll() is None, (tmp_path / "mutter.log").read_text()
        yield mutter
    finally:
        mutter.terminate()
        mutter.wait(10)


def stored_place(program):
    lines = program.settings_file.read_text().splitlines()
    pairs = (line.split("=", 1) for line in lines if "=" in line)
    return {key: int(value) for key, value in pairs if key in PLACE}


# (`gnome_window_manager` comes first: the program's evidence is taken before mutter stops.)
def test_the_result_window_opens_where_it_was_left(gnome_window_manager, kestrova):
    program = kestrova(cache_files=[SAMPLE_CACHE], settings={"txtUserName": "demo", **PLACE})
    main = program.start().main
    tree.press(main, "page tab", "Use Cache Data")
    tree.press(main, "push button", "Show Usage")
    result = program.result_window()

    # Framed by the window manager at its place: the title bar above, at most a border at the
    # left. (Before the frame comes the window stands at the place itself for a moment.)
    def framed_at_its_place():
        x, y, _, _ = tree.extents(result)
        return 0 <= x - LEFT <= 40 and 0 < y - TOP <= 80

    tree.wait_for(framed_at_its_place, 10, f"the result window framed at ({LEFT}, {TOP})")
    found = subprocess.run(["xdotool", "search", "--name", "^Result$"], capture_output=True,
                           text=True, timeout=30).stdout.split()
    assert len(found) == 1, found
    hints = xprop("-id", found[0], "_NET_WM_STATE", "WM_TRANSIENT_FOR")
    assert "_NET_WM_STATE_MODAL" in hints and "WM_TRANSIENT_FOR(WINDOW)" in hints, hints

    tree.press(result, "push button", "Close")
    tree.wait_for(lambda: not tree.is_showing(result), 10, "the result window closed")
    tree.wait_for(lambda: stored_place(program) == PLACE, 10, "the place stored again")
