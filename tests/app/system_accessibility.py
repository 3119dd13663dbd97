#!/usr/bin/python3
"""A screen reader's view of the running program, through AT-SPI.

Starts the built program on a copy of its application folder inside the private
D-Bus session this script runs in, then uses it the way a blind learner's screen
reader would: finds the buttons and the chapter titles by their Arabic names,
presses a chapter, finds its lessons, opens one, and leaves by the exit button.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

CHECKS = 0


def check(condition, what):
    global CHECKS
    CHECKS += 1
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


def find(app, role, name):
    for node in nodes(app):
        try:
            if node.getRoleName() == role and node.name == name and showing(node):
                return node
        except Exception:
            pass
    return None


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    check(any(n.lower() == "press" for n in names), "%r has a press action (%r)" % (node.name, names))
    action.doAction([n.lower() for n in names].index("press"))


def main():
    app_dir = sys.argv[1]
    work = tempfile.mkdtemp(prefix="rattil-a11y-")
    folder = os.path.join(work, "app")
    shutil.copytree(app_dir, folder)
    saved = os.path.join(folder, "savedoptions.ini")
    if os.path.exists(saved):
        os.remove(saved)

    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    program = subprocess.Popen([os.path.join(folder, "rattil")], env=env)
    try:
        def find_app():
            for candidate in pyatspi.Registry.getDesktop(0):
                if candidate is not None and candidate.name == "rattil":
                    return candidate
            return None

        app = wait_for(find_app, "the program on the accessibility bus")
        wait_for(lambda: find(app, "push button", "خروج"), "the exit button")
        check(find(app, "push button", "تصغير") is not None, "the minimise button is named")

        chapter = wait_for(lambda: find(app, "push button", "أحكام النون الساكنة والتنوين"), "a chapter title")
        check(find(app, "link", "الإدغام") is None, "lessons are hidden while their chapter is closed")
        press(chapter)
        lesson = wait_for(lambda: find(app, "link", "الإدغام"), "the chapter's lessons after pressing it")
        press(lesson)
        time.sleep(0.5)
        check(program.poll() is None, "the program still runs after opening a lesson")

        press(find(app, "push button", "خروج"))
        check(program.wait(timeout=10) == 0, "the program ends cleanly from its exit button")
        with open(saved, "rb") as f:
            check(f.read() == b" 450 \r\n", "closing wrote savedoptions.ini")
    finally:
        if program.poll() is None:
            program.kill()
        bus.terminate()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    if not os.environ.get("DISPLAY"):
        print("skipped: needs the display that test.sh starts")
        sys.exit(77)
    try:
        main()
    except AssertionError as error:
        print("FAIL:", error)
        print("%d passed, 1 failed" % CHECKS)
        sys.exit(1)
    print("%d passed, 0 failed" % CHECKS)
