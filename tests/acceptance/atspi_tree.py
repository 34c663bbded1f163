# SPDX-FileCopyrightText: 2026 The Kestrova developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Kestrova seen from outside, as a screen reader sees it: the AT-SPI tree of a running program.

Controls are found by role and name, read through their text, value, state and actions, and
used through their actions, their editable text or real key events. Nothing here knows how the
program is built; a control that cannot be found this way cannot be used by a person who relies
on a screen reader either.
"""

import time

import pyatspi

# Every wait has a deadline; what takes longer has gone wrong.
DEFAULT_TIMEOUT = 30.0
POLL_SECONDS = 0.05


class NotFound(AssertionError):
    pass


def wait_for(condition, timeout=DEFAULT_TIMEOUT, what="the condition"):
    """Polls `condition` until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            result = condition()
            if result:
                return result
        except Exception as error:  # the tree may change under the walk
            last_error = error
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise TimeoutError(f"waited {timeout:.0f} s for {what}{detail}")
        time.sleep(POLL_SECONDS)


def role_name(node):
    return node.getRoleName()


def states(node):
    return set(node.getState().getStates())


def is_showing(node):
    return pyatspi.STATE_SHOWING in states(node)


def children(node):
    try:
        count = node.childCount
    except Exception:
        return []
    out = []
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            child = None
        if child is not None:
            out.append(child)
    return out


def walk(node, showing_only=True, max_depth=60):
    """The node and everything below it, in the tree's (reading) order."""
    stack = [(node, 0)]
    while stack:
        current, depth = stack.pop()
        yield current
        if depth >= max_depth:
            continue
        below = children(current)
        if showing_only:
            below = [c for c in below if is_showing(c)]
        stack.extend((c, depth + 1) for c in reversed(below))


def text_of(node):
    """What the control says: its text, or its name where it has no text."""
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return node.name or ""


def value_of(node):
    return node.queryValue().currentValue


def find_all(root, role=None, name=None, showing_only=True, predicate=None):
    found = []
    for node in walk(root, showing_only=showing_only):
        try:
            if role is not None and role_name(node) != role:
                continue
            if name is not None:
                wanted = name if callable(name) else (lambda n: n == name)
                if not wanted(node.name or ""):
                    continue
            if predicate is not None and not predicate(node):
                continue
        except Exception:
            continue
        found.append(node)
    return found


def find(root, role=None, name=None, showing_only=True, predicate=None, timeout=DEFAULT_TIMEOUT):
    """The one showing control of that role and name, waited for."""

    def one():
        matches = find_all(root, role, name, showing_only, predicate)
        return matches[0] if matches else None

    return wait_for(one, timeout, f"a {role or 'control'} named {name!r}")


def action_names(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def do_action(node, name="Press"):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) == name:
            action.doAction(i)
            return
    raise NotFound(f"{role_name(node)} {node.name!r} has no action {name!r}: "
                   f"{action_names(node)}")


def press(root, role, name, **kwargs):
    node = find(root, role, name, **kwargs)
    do_action(node, "Press")
    return node


def set_text(node, text):
    node.queryEditableText().setTextContents(text)


def has_focus(node):
    return pyatspi.STATE_FOCUSED in states(node)


def grab_focus(node):
    node.queryComponent().grabFocus()
    wait_for(lambda: has_focus(node), 10, f"the focus on {node.name!r}")


def application(name, pid=None, timeout=DEFAULT_TIMEOUT):
    """The running application of that name (and process) on the accessibility bus."""

    def lookup():
        desktop = pyatspi.Registry.getDesktop(0)
        for app in children(desktop):
            try:
                if app.name == name and (pid is None or app.get_process_id() == pid):
                    return app
            except Exception:
                continue
        return None

    return wait_for(lookup, timeout, f"the application {name!r} on the accessibility bus")


def window(app, role, name, timeout=DEFAULT_TIMEOUT):
    return wait_for(
        lambda: next((w for w in children(app)
                      if role_name(w) == role and w.name == name and is_showing(w)), None),
        timeout, f"the {role} {name!r}")


def describe(node):
    """One line: role, name, and what else a screen reader would say of it."""
    parts = [f"[{role_name(node)}] {node.name!r}"]
    try:
        text = node.queryText()
        content = text.getText(0, min(text.characterCount, 80))
        if content and content != node.name:
            parts.append(f"text={content!r}")
    except (NotImplementedError, Exception):
        pass
    try:
        parts.append(f"value={node.queryValue().currentValue:g}")
    except (NotImplementedError, Exception):
        pass
    actions = action_names(node)
    if actions:
        parts.append("actions=" + ",".join(actions))
    shown = sorted(pyatspi.stateToString(s) for s in states(node)
                   if s in (pyatspi.STATE_SELECTED, pyatspi.STATE_FOCUSED, pyatspi.STATE_CHECKED,
                            pyatspi.STATE_SHOWING))
    if shown:
        parts.append("(" + ",".join(shown) + ")")
    if node.description:
        parts.append(f"description={node.description[:60]!r}")
    return " ".join(parts)


def dump(node, showing_only=False, depth=0, out=None, max_depth=40):
    """The tree below `node` as indented lines."""
    lines = out if out is not None else []
    try:
        lines.append("  " * depth + describe(node))
    except Exception as error:
        lines.append("  " * depth + f"(unreadable: {error})")
        return lines
    if depth < max_depth:
        for child in children(node):
            try:
                if showing_only and not is_showing(child):
                    continue
            except Exception:
                continue
            dump(child, showing_only, depth + 1, lines, max_depth)
    return lines


def window_of(node):
    """The top-level window (frame or dialog) that holds `node`."""
    current = node
    while current is not None:
        parent = current.parent
        if parent is None or role_name(parent) == "application":
            return current
        current = parent
    return node


def web_view_of(node):
    """The program's view that shows `node` when it is web content (the parent of its
    outermost web document), else None."""
    view = None
    current = node
    while current is not None and role_name(current) != "application":
        parent = current.parent
        if role_name(current) == "document web" and parent is not None:
            view = parent
        current = parent
    return view


def relation_targets(node, relation):
    out = []
    for r in node.getRelationSet():
        if r.getRelationType() == relation:
            out += [r.getTarget(i) for i in range(r.getNTargets())]
    return out


def find_labelled(root, role, label, timeout=DEFAULT_TIMEOUT):
    """The showing control of `role` that the label `label` names (its labelled-by relation):
    how a screen reader names a drop-down, whose own name is its current item."""

    def labelled(node):
        return any((t.name or "").replace("&", "") == label
                   for t in relation_targets(node, pyatspi.RELATION_LABELLED_BY))

    return find(root, role, predicate=labelled, timeout=timeout)


def labelled_text(root, caption, timeout=DEFAULT_TIMEOUT):
    """The text of the figure that the caption `caption` labels, once it has one."""

    def read():
        for label in find_all(root, "label", caption):
            for target in relation_targets(label, pyatspi.RELATION_LABEL_FOR):
                if is_showing(target):
                    return text_of(target).strip() or None
        return None

    return wait_for(read, timeout, f"the figure labelled {caption!r}")


def extents(node):
    return node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
