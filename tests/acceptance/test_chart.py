# SPDX-FileCopyrightText: 2026 The Kestrova developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Scenario 5: the chart by keyboard. A month from the cache, the Chart tab, the arrow keys: the
column chosen is announced with its day and figure, and its figure is shown on the screen."""

import re

import pyatspi

import atspi_tree as tree
from conftest import SOURCE

SAMPLE_CACHE = SOURCE / "samples" / "2026-11-unbilled-demo.cache2"


def open_cached_month(program):
    """The result window of the month kept in the cache, opened from the "Use Cache Data" page."""
    program.start()
    tree.press(program.main, "page tab", "Use Cache Data")
    tree.press(program.main, "push button", "Show Usage")
    return program.result_window()


def test_the_chart_announces_the_column_chosen_by_keyboard(kestrova, display):
    program = kestrova(settings={"txtUserName": "demo"}, cache_files=[SAMPLE_CACHE])
    result = open_cached_month(program)
    tree.press(result, "page tab", "Chart")
    chart = tree.find(result, "chart", lambda name: name.startswith("ORVO Broadband Usage Chart"))
    columns = tree.children(chart)
    assert [c.name for c in columns[:3]] == ["01", "02", "03"]

    display.keys(chart, "Right", "Right")
    second = columns[1]
    tree.wait_for(lambda: pyatspi.STATE_SELECTED in tree.states(second), 10,
                  "the second column selected")
    # The column says its day and its figure; it has the focus a screen reader follows, and
    # the chart's value is the same figure.
    assert tree.has_focus(second)
    figure = second.description
    match = re.fullmatch(r"(\d+\.\d\d) MB", figure)
    assert match, figure
    assert abs(tree.value_of(chart) - float(match.group(1))) < 0.005
    assert [c.name for c in columns if pyatspi.STATE_SELECTED in tree.states(c)] == ["02"]

    # On the screen: the figure in a tool tip at the top of the column, as the mouse shows it at
    # the pointer (which rests elsewhere).
    tip = tree.wait_for(
        lambda: next((w for w in tree.children(program.app)
                      if tree.role_name(w) == "tool tip" and tree.is_showing(w)), None),
        10, "the tool tip of the column")
    assert tree.text_of(tip) == figure or figure in tree.text_of(tip)
    tip_x, tip_y, _, _ = tree.extents(tip)
    column_x, column_y, column_width, _ = tree.extents(second)
    assert column_x - 10 <= tip_x <= column_x + column_width + 40, (tip_x, column_x)
    assert abs(tip_y - column_y) <= 40, (tip_y, column_y)
