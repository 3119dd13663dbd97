#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A screen reader's view of the running program, through AT-SPI.

Starts the built program on a copy of its application folder inside the private
D-Bus session this script runs in, then uses it the way a blind learner's screen
reader would. First a table of controls and what the screen reader must read for
each (role, name, states, description, value). Then one road through a lesson by
AT-SPI actions and the keyboard alone: open a chapter, open a lesson, read the
page, choose an example, record and stop, try to play an example never recorded,
and leave. Along the road the events the program sends are recorded as an
Orca-like listener would get them, and each step checks that the listener heard
what it needed: a state change, an announcement, an alert.
"""
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import atspi  # noqa: E402
from atspi import find, nodes, showing  # noqa: E402,F401

CHECKS = 0
HEARD = []

CHAPTER = "أحكام النون الساكنة والتنوين"
LESSON = "الإدغام"
NOT_RECORDED = "لم تقم بالتدرب على هذا المثال سابقا"

# Each control the screen reader must find at start, and what it must read:
# (role, name, states it has, states it must not have, description, value range).
CONTROLS = [
    ("push button", "خروج", {"enabled", "focusable"}, set(), None, None),
    ("push button", "تصغير", {"enabled"}, set(), None, None),
    ("push button", CHAPTER, {"expandable", "focusable"}, {"expanded"}, None, None),
    ("push button", "مدخل إلى علم التجويد", {"expandable"}, {"expanded"}, None, None),
    ("slider", "مستوى الصوت", set(), set(), None, (0, 100)),
    ("slider", "مستوى الميكروفون", set(), set(), None, (0, 100)),
    ("push button", "كتم الصوت", {"enabled"}, {"pressed", "checked"}, None, None),
    ("push button", "كتم الميكروفون", {"enabled"}, {"pressed", "checked"}, None, None),
    ("document frame", None, {"read only", "multi line", "focusable"}, set(), None, None),
    ("status bar", None, set(), {"focusable"}, None, None),
]

# After the lesson opens: its examples, the recorder strip and the example's text.
LESSON_CONTROLS = [
    ("link", LESSON, {"selectable", "selected"}, set(), None, None),
    ("link", "الإظهار الحلقي", {"selectable"}, {"selected"}, None, None),
    ("push button", CHAPTER, {"expandable", "expanded"}, set(), None, None),
    ("push button", "المثال ١", {"selectable", "selected"}, set(), "المثال ١ من ١٣", None),
    ("push button", "المثال ٢", {"selectable"}, {"selected"}, "المثال ٢ من ١٣", None),
    ("push button", "المثال ١٣", {"selectable"}, {"selected"}, "المثال ١٣ من ١٣", None),
    ("push button", "تسجيل", {"enabled"}, set(), None, None),
    ("push button", "تشغيل", {"enabled"}, set(), None, None),
    ("push button", "استماع", {"enabled"}, set(), None, None),
]


# The lesson page as a screen reader's browse mode finds it, in reading order:
# (role, name, description or the cell's (row, column) in its table). Every
# heading of the page is listed, so a paragraph taken for one by mistake fails;
# cells and the link are looked for among the rest in order.
PAGE_HEADINGS = [
    ("heading", LESSON, "المستوى ١"),
    ("heading", "تعريفه", "المستوى ٢"),
    ("heading", "حروفه", "المستوى ٢"),
    ("heading", "قسماه", "المستوى ٢"),
    ("heading", "الأمثلة", "المستوى ٢"),
]
PAGE_OTHERS = [
    ("table cell", "القسم", (0, 2)),
    ("table cell", "إدغام بغنة", (1, 2)),
    ("table cell", "ل ر", (2, 1)),
    ("table cell", "الزلزلة: ٧", (1, 0)),
    ("link", "الإظهار الحلقي", None),
]
# The link the test adds to the demo page: to the chapter's first lesson.
PAGE_LINK = '<p>وانظر <a href="Ch2-1.htm">الإظهار الحلقي</a></p>\n</body>'


# Qt 6.8's bridge carries a heading's level as an object attribute and urgent
# news as an announcement; before it, the level is in the description and the
# news raises a notification.
QT_68 = tuple(int(x) for x in os.environ.get("RATTIL_QT_VERSION", "6.4").split(".")[:2]) >= (6, 8)


def level_of(node):
    """A heading's level as the tables above say it, wherever the bridge puts it."""
    if not QT_68:
        return node.description
    attributes = dict(a.split(":", 1) for a in node.getAttributes() if ":" in a)
    check(node.description == "", "%r keeps its level out of its description" % node.name)
    level = attributes.get("level", "")
    return "المستوى " + "".join(chr(0x0660 + int(d)) for d in level) if level.isdigit() else ""


def browse(page):
    """The page's elements depth first, as a screen reader walks a document."""
    out = []
    for i in range(page.childCount):
        node = page[i]
        if atspi.role_of(node) in ("filler", "scroll bar"):
            continue
        out.append(node)
        out.extend(browse(node))
    return out


def check(condition, what):
    global CHECKS
    CHECKS += 1
    if not condition:
        raise AssertionError(what)


def pump():
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(probe, what, timeout=15.0):
    end = time.time() + timeout
    while time.time() < end:
        pump()
        value = probe()
        if value:
            return value
        time.sleep(0.1)
    raise AssertionError("timed out waiting for " + what)


def on_event(event):
    try:
        role = atspi.role_of(event.source)
        name = event.source.name
    except Exception:
        role, name = "?", "?"
    HEARD.append((event.type, role, name, event.detail1, str(event.any_data)))
    if os.environ.get("RATTIL_A11Y_TRACE"):
        print("heard:", HEARD[-1][:4])


def heard(kind, role=None, name=None, detail1=None, since=0):
    for event in HEARD[since:]:
        if not event[0].startswith(kind):
            continue
        if role is not None and event[1] != role:
            continue
        if name is not None and not event[2].startswith(name):
            continue
        if detail1 is not None and event[3] != detail1:
            continue
        return event
    return None


def states_of(node):
    return {pyatspi.stateToString(s).replace("-", " ") for s in node.getState().getStates()}


def press(node):
    atspi.press(node, check)


def check_controls(app, table):
    for role, name, has, lacks, description, value in table:
        node = wait_for(lambda: find(app, role, name), "%s %r" % (role, name), timeout=5)
        states = states_of(node)
        label = "%s %r" % (role, name)
        check(has <= states, "%s is %s (reads %s)" % (label, sorted(has), sorted(states)))
        check(not (lacks & states), "%s is not %s (reads %s)" % (label, sorted(lacks), sorted(states)))
        if description is not None:
            check(node.description == description, "%s says %r (reads %r)" % (label, description, node.description))
        if value is not None:
            v = node.queryValue()
            check((v.minimumValue, v.maximumValue) == value, "%s runs over %r" % (label, value))
            check(value[0] <= v.currentValue <= value[1], "%s has a level within its range" % label)


def press_key(name):
    subprocess.run(["xdotool", "key", name], check=True)


def main():
    app_dir = sys.argv[1]
    work = tempfile.mkdtemp(prefix="rattil-a11y-")
    folder = os.path.join(work, "app")
    shutil.copytree(app_dir, folder)
    saved = os.path.join(folder, "savedoptions.ini")
    if os.path.exists(saved):
        os.remove(saved)
    shutil.rmtree(os.path.join(folder, "rec"), ignore_errors=True)
    lesson_page = os.path.join(folder, "data", "html", "Ch2-2.htm")
    with open(lesson_page, encoding="utf-8") as f:
        html = f.read()
    with open(lesson_page, "w", encoding="utf-8") as f:
        f.write(html.replace("</body>", PAGE_LINK))

    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    # A program that starts while the launcher is still setting up the bus can
    # fail to reach the display: wait until the bus answers.
    wait_for(lambda: subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                                     "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                                    capture_output=True).returncode == 0, "the accessibility bus")
    wait_for(lambda: pyatspi.Registry.getDesktop(0) is not None, "the accessibility registry")
    # The sink idles into late bursts of capture, which left a take of a
    # second under the half second a take must have; a steady stream keeps it
    # on time, as on a desktop where something is always playing.
    busy = subprocess.Popen(["pacat", "--playback", "--raw", "--latency-msec=30", "/dev/zero"])
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    program = subprocess.Popen([os.path.join(folder, "rattil")], env=env)
    try:
        def find_app():
            for candidate in pyatspi.Registry.getDesktop(0):
                if candidate is not None and candidate.name == "rattil":
                    return candidate
            return None

        app = wait_for(find_app, "the program on the accessibility bus")
        pyatspi.Registry.registerEventListener(
            on_event, "object:state-changed", "object:property-change",
            "object:text-caret-moved", "object:text-changed", "window", "object:children-changed",
            *(["object:announcement"] if QT_68 else []))
        wait_for(lambda: find(app, "push button", "خروج"), "the exit button")
        check_controls(app, CONTROLS)

        # A mute toggle is pressed while muted, and the listener hears it change.
        mute = find(app, "push button", "كتم الميكروفون")
        mark = len(HEARD)
        press(mute)
        wait_for(lambda: {"pressed", "checked"} <= states_of(mute), "the microphone's toggle pressed")
        wait_for(lambda: heard("object:state-changed:checked", name="كتم الميكروفون", detail1=1, since=mark),
                 "the toggle's pressed state announced")
        press(mute)
        wait_for(lambda: "pressed" not in states_of(mute), "the microphone's toggle released")
        check(mute.name == "كتم الميكروفون", "the toggle keeps its name")

        # The screen reader sets the program's volume through its slider.
        volume = find(app, "slider", "مستوى الصوت").queryValue()
        before = volume.currentValue
        volume.currentValue = 30
        wait_for(lambda: volume.currentValue == 30, "the volume slider set to 30")
        volume.currentValue = before

        # A chapter opens: the listener hears it expand, and its lessons appear.
        chapter = find(app, "push button", CHAPTER)
        check(find(app, "link", LESSON) is None, "lessons are hidden while their chapter is closed")
        mark = len(HEARD)
        press(chapter)
        lesson = wait_for(lambda: find(app, "link", LESSON), "the chapter's lessons after pressing it")
        wait_for(lambda: "expanded" in states_of(chapter), "the chapter's expanded state")
        wait_for(lambda: heard("object:property-change:accessible-description", name=CHAPTER, since=mark),
                 "the chapter's opening announced")
        check(chapter.description == "مفتوح", "the chapter says it is open (%r)" % chapter.description)

        # The lesson opens: it is the selected link and the page reads from its title.
        mark = len(HEARD)
        press(lesson)
        wait_for(lambda: "selected" in states_of(lesson), "the lesson's selected state")
        wait_for(lambda: heard("object:state-changed:selected", "link", LESSON, 1, since=mark),
                 "the lesson's selection announced")
        page = find(app, "document frame")
        wait_for(lambda: heard("object:property-change:accessible-name", "document frame", LESSON, since=mark),
                 "the new page announced by its lesson's name")
        wait_for(lambda: heard("object:text-changed:insert", "document frame", since=mark),
                 "the new page's text announced")
        text = page.queryText()
        whole = text.getText(0, -1)
        check(text.characterCount == len(whole) and len(whole) > 200, "the page's whole text is readable")
        first, start, end = text.getTextAtOffset(0, pyatspi.TEXT_BOUNDARY_LINE_START)
        check(first.strip() == LESSON and start == 0, "the page's first line is its heading (read %r)" % first)
        check_controls(app, LESSON_CONTROLS)

        # The caret moves through the page from the keyboard, line by line.
        # Without a window manager nobody gives the window the keyboard: the test
        # does, as a desktop would when the learner switches to it.
        for window in atspi.program_windows(program.pid, name="."):
            subprocess.run(["xdotool", "windowfocus", "--sync", window], check=False)
        page.queryComponent().grabFocus()
        wait_for(lambda: "focused" in states_of(page), "the page taking the focus")
        text.setCaretOffset(0)
        mark = len(HEARD)
        press_key("Down")
        wait_for(lambda: text.caretOffset > 0, "the caret moving down a line")
        wait_for(lambda: heard("object:text-caret-moved", "document frame", since=mark), "the caret move announced")
        line, start, end = text.getTextAtOffset(text.caretOffset, pyatspi.TEXT_BOUNDARY_LINE_START)
        check(start > 0 and line.strip() and line in whole, "the second line reads from the page (%r)" % line)

        # Example 2: chosen, and the listener hears which.
        mark = len(HEARD)
        press(find(app, "push button", "المثال ٢"))
        example = find(app, "push button", "المثال ٢")
        wait_for(lambda: "selected" in states_of(example), "example 2's selected state")
        verse = wait_for(lambda: heard("object:property-change:accessible-name", "label", since=mark),
                         "the chosen example's verse announced")
        check(len(verse[2]) > 5, "the example's text is read (%r)" % verse[2])
        check("selected" not in states_of(find(app, "push button", "المثال ١")), "example 1 is no longer selected")

        # Record, stop: both announced on the status line, and the take is on disk.
        status = find(app, "status bar")
        mark = len(HEARD)
        press(find(app, "push button", "تسجيل"))
        wait_for(lambda: heard("object:property-change:accessible-name", "status bar", "بدأ التسجيل", since=mark),
                 "recording started, announced")
        time.sleep(1.0)
        mark = len(HEARD)
        press(wait_for(lambda: find(app, "push button", "إيقاف"), "the stop button while recording"))
        wait_for(lambda: heard("object:property-change:accessible-name", "status bar", "توقف التسجيل", since=mark),
                 "recording stopped and saved, announced")
        check(status.name.startswith("توقف التسجيل"), "the status line reads the last news")
        takes = glob.glob(os.path.join(folder, "rec", "2-2-2.wav"))
        check(len(takes) == 1 and os.path.getsize(takes[0]) > 44, "the take of example 2 is saved")

        # A take that cannot be saved (a file stands where the takes' folder
        # should be): the status line raises a notification, the message an alert.
        rec = os.path.join(folder, "rec")
        shutil.rmtree(rec)
        open(rec, "w").close()
        press(find(app, "push button", "تسجيل"))
        time.sleep(1.0)
        mark = len(HEARD)
        press(wait_for(lambda: find(app, "push button", "إيقاف"), "the stop button while recording"))
        if QT_68:
            wait_for(lambda: any(e[0].startswith("object:announcement") and "تعذر حفظ التسجيل" in e[4]
                                 for e in HEARD[mark:]), "the failed save announced")
        else:
            wait_for(lambda: heard("object:state-changed:showing", "notification", "تعذر حفظ التسجيل", 1,
                                   since=mark), "the failed save raised as a notification")
        press(find(wait_for(lambda: find(app, "alert"), "the failed save's message"), "push button", "موافق"))
        wait_for(lambda: find(app, "alert") is None, "the message closing")
        os.remove(rec)

        # Example 3 has no take: Play raises an alert whose text the listener reads.
        press(find(app, "push button", "المثال ٣"))
        mark = len(HEARD)
        press(wait_for(lambda: find(app, "push button", "تشغيل"), "the play button"))
        alert = wait_for(lambda: find(app, "alert"), "the message as an alert")
        check(alert.name.startswith(NOT_RECORDED), "the alert is named by its message (%r)" % alert.name)
        wait_for(lambda: heard("", "alert", since=mark), "the alert's opening announced")
        labels = [n.name for n in nodes(alert) if atspi.role_of(n) == "label"]
        check(any(NOT_RECORDED in label for label in labels), "the alert's text is readable (%r)" % labels)
        ok = find(alert, "push button", "موافق")
        check(ok is not None and "is default" in states_of(ok), "OK is the alert's default button")
        press(ok)
        wait_for(lambda: find(app, "alert") is None, "the alert closing from its OK")

        # Browse mode: the page's headings, table cells and link are its children.
        found = browse(page)
        headings = [(atspi.role_of(n), n.name, level_of(n)) for n in found if atspi.role_of(n) == "heading"]
        check(headings == PAGE_HEADINGS, "the page's headings and their levels (read %r)" % headings)
        rest = iter(found)
        for role, name, where in PAGE_OTHERS:
            node = next((n for n in rest if atspi.role_of(n) == role and n.name == name), None)
            check(node is not None, "%s %r found in reading order" % (role, name))
            extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            check(extents.width > 0 and extents.height > 0, "%s %r has a place on the page" % (role, name))
            if where is not None:
                cell = node.parent.queryTable().getAccessibleAt(*where)
                check(cell is not None and cell.name == name, "%r is cell %r of its table" % (name, where))
        # Going to a heading puts the page's caret on it.
        heading = next(n for n in found if n.name == "حروفه")
        heading.queryComponent().grabFocus()
        wait_for(lambda: text.getText(text.caretOffset, text.caretOffset + 5) == "حروفه", "the caret on the heading")
        # The link's press follows it as a click does: the other lesson opens.
        link = next(n for n in found if atspi.role_of(n) == "link")
        mark = len(HEARD)
        press(link)
        wait_for(lambda: heard("object:property-change:accessible-name", "document frame", "الإظهار الحلقي",
                               since=mark), "the linked lesson's page")
        wait_for(lambda: "selected" in states_of(find(app, "link", "الإظهار الحلقي")), "the linked lesson selected")
        check(not any(atspi.role_of(n) == "link" for n in browse(page)), "the new page has its own elements")

        # An index lesson: its entries are links on the page's index.
        other = find(app, "push button", "مدخل إلى علم التجويد")
        press(other)
        wait_for(lambda: "expanded" in states_of(other) and "expanded" not in states_of(chapter),
                 "the other chapter open and the first one closed")
        press(wait_for(lambda: find(app, "link", "مخارج الحروف"), "the index lesson"))
        check_controls(app, [("link", name, {"enabled"}, set(), None, None) for name in ("الجوف", "الحلق")])

        press(find(app, "push button", "خروج"))
        check(program.wait(timeout=10) == 0, "the program ends cleanly from its exit button")
        with open(saved, "rb") as f:
            check(f.read() == b" 450 \r\n", "closing wrote savedoptions.ini")
    finally:
        if program.poll() is None:
            program.kill()
        busy.terminate()
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
        for event in HEARD[-25:]:
            print("  heard:", event)
        print("%d passed, 1 failed" % CHECKS)
        sys.exit(1)
    print("%d passed, 0 failed" % CHECKS)
