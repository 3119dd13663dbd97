# SPDX-License-Identifier: GPL-3.0-or-later
"""What the system tests need of AT-SPI: find the running program's controls by
role and name as a screen reader does, and press them."""
import os
import subprocess
import time

import pyatspi


class Checks:
    def __init__(self):
        self.count = 0

    def __call__(self, condition, what):
        self.count += 1
        if not condition:
            raise AssertionError(what)


def wait_for(probe, what, timeout=15.0):
    end = time.time() + timeout
    while time.time() < end:
        value = probe()
        if value:
            return value
        time.sleep(0.2)
    raise AssertionError("timed out waiting for " + what)


def nodes(root):
    out = []
    stack = [root]
    while stack:
        node = stack.pop()
        if node is None:
            continue
        out.append(node)
        try:
            stack.extend(node[i] for i in range(node.childCount))
        except Exception:
            pass
    return out


def showing(node):
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


# at-spi2-core 2.50 and later (Debian 13) name the push button's role "button";
# Debian 12's says "push button". The tests speak of the older name.
ROLE_NAMES = {"button": "push button"}


def role_of(node):
    name = node.getRoleName()
    return ROLE_NAMES.get(name, name)


def find(app, role, name=None):
    for node in nodes(app):
        try:
            if role_of(node) == role and (name is None or node.name == name) and showing(node):
                return node
        except Exception:
            pass
    return None


def find_app(name="rattil", pid=None):
    """The program on the bus; with pid, that one process of it (two windows)."""
    for candidate in pyatspi.Registry.getDesktop(0):
        try:
            if candidate is not None and candidate.name == name and (
                    pid is None or candidate.get_process_id() == pid):
                return candidate
        except Exception:
            pass
    return None


def press(node, check):
    action = node.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    check("press" in names, "%r has a press action (%r)" % (node.name, names))
    action.doAction(names.index("press"))


def top_in_window(node, window):
    """The control's top in the window's own pixels."""
    return node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).y - window.queryComponent().getExtents(
        pyatspi.DESKTOP_COORDS).y


def program_windows(pid, name="^رتّل$"):
    """The visible windows the program shows. xdotool's search by process has
    been seen to answer with the root window while a program was starting, so
    only windows that carry the process id themselves are taken."""
    def xdotool(*args):
        return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout
    found = xdotool("search", "--all", "--onlyvisible", "--pid", str(pid), "--name", name).split()
    return [window for window in found if xdotool("getwindowpid", window).strip() == str(pid)]


class Program:
    """The program started from an application folder, found on the
    accessibility bus by its process, and ready once its exit button is."""

    def __init__(self, folder, wrapper=(), env=None):
        self.folder = folder
        self.wrapper = list(wrapper)
        self.env = dict(env or {})
        self.process = None
        self.app = None

    def start(self):
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", **self.env)
        self.process = subprocess.Popen(self.wrapper + [os.path.join(self.folder, "rattil")], env=env)
        self.app = wait_for(lambda: self.own_app(), "the program on the accessibility bus")
        wait_for(lambda: find(self.app, "push button", "خروج"), "the exit button")

    def own_app(self):
        return find_app(pid=self.process.pid)

    def control(self, role, name):
        return wait_for(lambda: find(self.app, role, name), name)


def run_system_test(main, check):
    """A system test's entry: skipped (77) without the test services' display
    and sound server, else main() run and its checks counted."""
    import os
    import sys
    if not os.environ.get("DISPLAY") or not os.environ.get("PULSE_SERVER"):
        print("skipped: needs the display and sound server that test.sh starts")
        sys.exit(77)
    try:
        main()
    except AssertionError as error:
        print("FAIL:", error)
        print("%d passed, 1 failed" % check.count)
        sys.exit(1)
    print("%d passed, 0 failed" % check.count)
