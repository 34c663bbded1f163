# SPDX-FileCopyrightText: 2026 The Kestrova developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The acceptance suite's fixtures: portal-sim on loopback, and Kestrova itself started with
settings folders of its own, seen only through its accessibility tree.

The suite runs inside tests/acceptance/run: a virtual X server, a private session bus with the
accessibility bus and an unlocked keyring of its own. A failing scenario leaves the tree of
every window and a screenshot in the output folder (KESTROVA_ACCEPTANCE_OUT).
"""

import os
import re
import shutil
import signal
import socket
import subprocess
from pathlib import Path

import pytest

import atspi_tree as tree

BUILD = Path(os.environ.get("KESTROVA_BUILD_DIR", Path(__file__).resolve().parents[2] / "build"))
SOURCE = Path(__file__).resolve().parents[2]
OUT = Path(os.environ.get("KESTROVA_ACCEPTANCE_OUT", BUILD / "acceptance"))

KESTROVA = BUILD / "src" / "app" / "kestrova"
KESTROVA_REPORT = BUILD / "src" / "cli" / "kestrova-report"
PORTAL_SIM = BUILD / "tools" / "portal-sim" / "portal-sim"

MAIN_WINDOW = "Kestrova 1.0"
RESULT_WINDOW = "Result"


def pytest_runtest_makereport(item, call):
    # Kept on the test for the fixtures' teardown: did the scenario fail?
    if call.when == "call":
        item.scenario_failed = call.excinfo is not None


class Portal:
    """portal-sim on a free loopback port; stopped with the scenario."""

    def __init__(self, *arguments):
        self.process = subprocess.Popen([str(PORTAL_SIM), *arguments], stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True)
        line = self.process.stdout.readline().strip()
        match = re.fullmatch(r"listening on (127\.0\.0\.1:\d+)", line)
        if not match:
            self.stop()
            raise RuntimeError(f"portal-sim said {line!r}")
        self.host = match.group(1)

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(10)


def closed_port_host():
    """A loopback address nothing listens on (free a moment ago)."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return f"127.0.0.1:{s.getsockname()[1]}"


class Display:
    """Where the program shows its windows, and how a person's hands reach it there."""

    environment = {}

    def screenshot(self, path):
        try:
            self._screenshot(path)
        except Exception as error:  # a picture is a help, not the finding
            Path(str(path) + ".txt").write_text(f"no screenshot: {error}\n")


class X11Display(Display):
    """The suite's X server: real key presses and mouse clicks through XTEST (xdotool)."""

    environment = {"QT_QPA_PLATFORM": "xcb"}

    def _screenshot(self, path):
        subprocess.run(["import", "-window", "root", str(path)], check=True, timeout=30,
                       stderr=subprocess.DEVNULL)

    def _xdotool(self, *arguments):
        subprocess.run(["xdotool", *arguments], check=True, timeout=30)

    def _focus_window(self, node):
        """The X input focus to the window that shows `node`."""
        title = tree.window_of(node).name
        self._xdotool("search", "--limit", "1", "--name", f"^{re.escape(title)}$",
                      "windowfocus", "--sync")

    def _tab_until(self, condition, what, presses=40):
        for _ in range(presses):
            if condition():
                return
            self._xdotool("key", "Tab")
            try:
                tree.wait_for(condition, 0.3)
            except TimeoutError:
                continue  # the focus went elsewhere: on with the next Tab
        assert condition(), f"Tab never reached {what}"

    def focus(self, node):
        """The keyboard to `node`: its window gets the input focus, then the control, as a
        screen reader moves it (its focus action) or else with the Tab key, as a person does
        (Qt's drop-downs offer no focus action). Web content takes keys only while its view
        has the focus: Tab brings it there first."""
        self._focus_window(node)
        view = tree.web_view_of(node)
        if view is not None:
            self._tab_until(lambda: tree.has_focus(view), "the web page")
        if "SetFocus" in tree.action_names(node):
            tree.grab_focus(node)
            return
        self._tab_until(lambda: tree.has_focus(node), repr(node.name))

    def type(self, node, text):
        self.focus(node)
        self._xdotool("type", "--delay", "30", "--", text)

    def keys(self, node, *keys):
        """Key presses (xdotool's names: Up, Return, Tab) to `node`."""
        self.focus(node)
        self._xdotool("key", "--delay", "50", *keys)

    def click(self, node):
        x, y, width, height = tree.extents(node)
        # No --sync: it waits for the pointer to move, which it never does when it already
        # stands there. The server takes the move and the click in order anyway.
        self._xdotool("mousemove", str(x + width // 2), str(y + height // 2), "click", "1")


class WaylandDisplay(X11Display):
    """weston (10) with Qt's Wayland platform: the program is a Wayland client only (no
    DISPLAY, and weston starts no Xwayland). weston runs on its X11 backend, as one window on
    the suite's X server: its headless backend has no input devices, and Wayland itself lets
    no client send input to another, so key presses reach the program as a person's do, through
    the compositor's seat, from real X events on weston's window. The tree is the same D-Bus
    as on X11. Where a Wayland window stands is the compositor's business, and the tree's
    positions are the window's own: nothing is clicked, the keyboard does it all."""

    environment = {"QT_QPA_PLATFORM": "wayland"}
    unset = ("DISPLAY",)

    def __init__(self, folder):
        self.folder = Path(folder)
        self.folder.mkdir(parents=True, exist_ok=True)
        self.socket = f"kestrova-acceptance-{os.getpid()}-{id(self)}"
        self.log = open(self.folder / "weston.log", "wb")
        self.process = subprocess.Popen(
            ["weston", "--backend=x11-backend.so", "--no-config", f"--socket={self.socket}",
             "--width=1280", "--height=1024", "--use-pixman", "--idle-time=0"],
            stdout=self.log, stderr=subprocess.STDOUT)
        try:
            runtime = Path(os.environ["XDG_RUNTIME_DIR"])
            tree.wait_for(lambda: (runtime / self.socket).exists() or self.process.poll() is not None,
                          30, "weston's socket")
            if self.process.poll() is not None:
                raise RuntimeError(f"weston ended: {(self.folder / 'weston.log').read_text()}")
            self.window = tree.wait_for(self._output_window, 30, "weston's window")
            # weston has the keyboard from before the program's first window: a window that
            # opens while weston's own window lacks the X focus is never given it by weston.
            self._xdotool("windowfocus", "--sync", self.window)
        except BaseException:
            self.stop()
            raise
        self.environment = dict(WaylandDisplay.environment, WAYLAND_DISPLAY=self.socket)

    @staticmethod
    def _output_window():
        found = subprocess.run(["xdotool", "search", "--class", "^Weston Compositor$"],
                               capture_output=True, text=True, timeout=30)
        return found.stdout.split()[0] if found.stdout.split() else None

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(10)
        self.log.close()

    def _focus_window(self, node):
        # weston's own window: weston gives its keyboard to the window it has activated.
        self._xdotool("windowfocus", "--sync", self.window)

    def click(self, node):
        raise NotImplementedError("a Wayland window's place on the screen is not known to it: "
                                  "use the keyboard")


class Kestrova:
    """The real program with its own XDG folders: started, used through its tree, closed."""

    def __init__(self, home, display, north_host=None, settings=None, cache_files=(),
                 environment=None, arguments=()):
        self.home = Path(home)
        self.display = display
        self.config = self.home / "config"
        self.data = self.home / "data"
        self.system = self.home / "xdg"
        (self.config / "Kestrova").mkdir(parents=True, exist_ok=True)
        (self.data / "kestrova").mkdir(parents=True, exist_ok=True)
        (self.system / "Kestrova").mkdir(parents=True, exist_ok=True)
        if north_host:
            (self.system / "Kestrova" / "kestrova.ini").write_text(
                f"[Deployment]\nNorthHost={north_host}\n")
        if settings is not None:
            lines = "".join(f"{key}={value}\n" for key, value in settings.items())
            self.settings_file.write_text("[ScreenSettings]\n" + lines)
        for cache in cache_files:
            shutil.copy(cache, self.folder)
        self.environment = dict(os.environ)
        self.environment.update({
            "XDG_CONFIG_HOME": str(self.config),
            "XDG_DATA_HOME": str(self.data),
            "XDG_CONFIG_DIRS": str(self.system),
            "QT_LOGGING_RULES": "qt.webenginecontext*=false",
            "QTWEBENGINE_DISABLE_SANDBOX": "1",
        })
        self.environment.update(display.environment)
        for name in getattr(display, "unset", ()):
            self.environment.pop(name, None)
        self.environment.update(environment or {})
        self.arguments = [str(a) for a in arguments]  # Qt's own, such as -stylesheet FILE
        self.process = None
        self.app = None
        self.log = None

    @property
    def settings_file(self):
        return self.config / "Kestrova" / "kestrova.ini"

    @property
    def folder(self):
        """The program's folder: cache files and the downloaded usage.htm."""
        return self.data / "kestrova"

    def start(self):
        self.log = open(self.home / "kestrova.log", "ab")
        self.process = subprocess.Popen([str(KESTROVA), *self.arguments], env=self.environment, stdout=self.log,
                                        stderr=subprocess.STDOUT)
        try:
            self.app = tree.application("kestrova", self.process.pid)
        except TimeoutError as error:
            self.log.flush()
            said = (self.home / "kestrova.log").read_text(errors="replace")[-2000:]
            raise TimeoutError(f"{error}; the program said:\n{said}") from None
        self.main = tree.window(self.app, "frame", MAIN_WINDOW)
        return self

    def result_window(self, timeout=tree.DEFAULT_TIMEOUT):
        return tree.window(self.app, "dialog", RESULT_WINDOW, timeout)

    def message_box(self, timeout=tree.DEFAULT_TIMEOUT):
        """The message box the program shows (a dialog other than the result window)."""
        return tree.wait_for(
            lambda: next((w for w in tree.children(self.app)
                          if tree.role_name(w) in ("dialog", "alert")
                          and w.name != RESULT_WINDOW and tree.is_showing(w)), None),
            timeout, "a message box")

    def wait_until_ended(self, timeout=30):
        self.process.wait(timeout)
        return self.process.returncode

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(5)
        if self.log:
            self.log.close()
            self.log = None

    def leave_evidence(self, name):
        """The tree of every window and a screenshot, for a failed scenario."""
        OUT.mkdir(parents=True, exist_ok=True)
        lines = []
        try:
            if self.app is not None:
                for window in tree.children(self.app):
                    lines += tree.dump(window)
        except Exception as error:
            lines.append(f"(the tree could not be read: {error})")
        (OUT / f"{name}-tree.txt").write_text("\n".join(lines) + "\n")
        self.display.screenshot(OUT / f"{name}.png")
        log = self.home / "kestrova.log"
        if log.exists():
            shutil.copy(log, OUT / f"{name}-kestrova.log")


@pytest.fixture
def display():
    return X11Display()


@pytest.fixture
def wayland(tmp_path):
    compositor = WaylandDisplay(tmp_path / "weston")
    yield compositor
    compositor.stop()


@pytest.fixture
def portals():
    started = []

    def start(*arguments):
        portal = Portal(*arguments)
        started.append(portal)
        return portal

    yield start
    for portal in started:
        portal.stop()


@pytest.fixture
def kestrova(tmp_path, request, display):
    """Makes (not starts) a Kestrova with folders of its own under the scenario's tmp_path."""
    made = []

    def make(name="home", on=None, **options):
        program = Kestrova(tmp_path / name, on or display, **options)
        made.append(program)
        return program

    yield make
    failed = getattr(request.node, "scenario_failed", False)
    for i, program in enumerate(made):
        if failed and program.process is not None:
            program.leave_evidence(f"{request.node.name}-{i}")
        program.stop()


def run_report(*arguments):
    """kestrova-report's standard output for the arguments."""
    done = subprocess.run([str(KESTROVA_REPORT), *map(str, arguments)], capture_output=True,
                          text=True, timeout=60)
    assert done.returncode == 0, done.stderr
    return done.stdout
