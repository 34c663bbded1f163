# SPDX-FileCopyrightText: 2026 The Kestrova developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Scenarios 1 and 6: a whole check as a person makes it, and its figures against
kestrova-report's, on X11 and on Wayland.

The password is typed, "Check Bandwidth Usage" pressed, the To date picked on the portal's own
page and "View Usage Details" followed; then the report's first rows and month total are read,
a plan chosen on the Summary tab, and its Total + Tax and forecast read. kestrova-report on the
log the program downloaded must give the same rows and figures.
"""

import json

import atspi_tree as tree
from conftest import run_report
from report_page import tables_of_page, tables_of_tree

# portal-sim's today: the usage page offers 01-11-2026 to 20-11-2026; two steps up on the To
# day make it the 18th.
PORTAL_TODAY = "2026-11-20"
PERIOD = "period 01-11-2026 TO 18-11-2026"
ROWS_COMPARED = 6


def log_in_and_fetch(program, display, mouse=True):
    """From the login page to the open result window; the password typed as a person types,
    the portal page used with the mouse and keys, or with the keys alone."""
    main = program.main
    display.type(tree.find(main, "password text", "Password"), "demo")
    tree.press(main, "push button", "Check Bandwidth Usage")
    link = tree.find(main, "link", "View Usage Details", timeout=60)
    # The portal's six date drop-downs, From then To: the To day two days back.
    dates = tree.find_all(main, "combo box")
    assert len(dates) == 6, tree.dump(tree.window_of(link))
    to_day = dates[3]
    if mouse:
        display.click(to_day)  # its list opens: two up and Enter
        display.keys(to_day, "Up", "Up", "Return")
    else:
        display.keys(to_day, "Up", "Up")  # a closed drop-down steps through its items
    tree.wait_for(lambda: to_day.parent.name == "18", 10, "the To day 18 on the portal page")
    if mouse:
        display.click(link)
    else:
        display.keys(link, "Return")
    return program.result_window(timeout=60)


def read_as_kestrova_report_prints(result, source, period, page_file, choose_plan):
    """The report tab's first rows and month total, then on the Summary tab the plan chosen
    (plan 0, BBG 250) and its figures and forecast, each as kestrova-report gives them for
    `source` (its file arguments)."""
    document = tree.find(result, "document web", "ORVO BroadBand Bandwidth Usage")
    shown = tables_of_tree(document, rows=ROWS_COMPARED + 2)
    assert shown[0][0] == [f"Bandwidth usage summary for {period}"]
    run_report(*source, "--period", period, "--output", page_file)
    expected = tables_of_page(page_file.read_text(encoding="utf-8"))
    assert shown[0] == expected[0][:3], "the month total"
    assert shown[1][:ROWS_COMPARED + 2] == expected[1][:ROWS_COMPARED + 2], "the first records"

    tree.press(result, "page tab", "Summary")
    plans = tree.find_labelled(result, "combo box", "Select your plan")
    choose_plan(plans)
    tree.wait_for(lambda: "BBG 250" in (plans.name or ""), 10, "the plan BBG 250 chosen")
    plan = ("--summary", "--plan", "0", "--plan-kind", "0")
    summary = json.loads(run_report(*source, "--period", period, *plan, "--format", "json"))
    labels = summary["summary"]["labels"]
    for caption, label in (("Metered Bandwidth :", "lblUsedBandWidth"),
                           ("Total :", "lblBillTotal"),
                           ("Total + Tax :", "lblBillTotalAndTax")):
        assert tree.labelled_text(result, caption) == labels[label]["shown"].strip(), caption
    text = run_report(*source, "--period", period, *plan)
    forecast = dict(line.split(" : ", 1) for line in text.split("Forecast", 1)[1].splitlines()
                    if " : " in line)
    for caption in ("Projected usage", "Projected Total + Tax", "Cheapest at this pace"):
        assert tree.labelled_text(result, caption + " :") == forecast[caption].strip(), caption


def test_a_whole_check_reads_as_kestrova_report_prints_it(portals, kestrova, display):
    portal = portals("--today", PORTAL_TODAY)
    program = kestrova(north_host=portal.host,
                       settings={"txtUserName": "demo", "Selfcaresite": 0}).start()
    result = log_in_and_fetch(program, display)
    read_as_kestrova_report_prints(result, [program.folder / "usage.htm", "--log"], PERIOD,
                                   program.home / "report.htm",
                                   choose_plan=lambda plans: display.keys(plans, "Down"))


# Scenario 6: scenario 1 with the program as a Wayland client of weston; the portal's page is
# used with the keyboard alone. (`wayland` comes first: the program's evidence is taken before
# the compositor stops.)
def test_the_check_under_wayland(wayland, portals, kestrova):
    portal = portals("--today", PORTAL_TODAY)
    program = kestrova(on=wayland, north_host=portal.host,
                       settings={"txtUserName": "demo", "Selfcaresite": 0}).start()
    result = log_in_and_fetch(program, wayland, mouse=False)
    read_as_kestrova_report_prints(result, [program.folder / "usage.htm", "--log"], PERIOD,
                                   program.home / "report.htm",
                                   choose_plan=lambda plans: wayland.keys(plans, "Down"))
