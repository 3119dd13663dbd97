#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The road of one lesson, end to end, in the real window on the test display and
sound server, done only as a learner does it: presses on the controls a screen
reader finds by their Arabic names, and mouse drags and clicks where a control
has no name (the splitter, the window's background).

Open a chapter, open a lesson: the examples panel slides open at the remembered
splitter and example 1 plays; record while a tone sounds, stop, play back,
listen to the reciter; then an index lesson and one of its entries; then the
popup's "about" page; move the splitter and leave; the next start opens the
panel at the moved splitter. The take is checked with soxi, and a screenshot of
each step is kept in the folder named by the first argument after the
application folder.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import atspi  # noqa: E402

check = atspi.Checks()


def run(*args):
    return subprocess.run(args, capture_output=True, text=True, timeout=30).stdout


def sink_inputs_of(pid):
    """The sound streams the program is playing into the sound server."""
    listing = run("pactl", "list", "sink-inputs")
    return len(re.findall(r'application\.process\.id = "%d"' % pid, listing))


class Road:
    def __init__(self, folder, shots):
        self.folder = folder
        self.shots = shots
        self.step = 0
        self.program = None
        self.app = None

    def start(self):
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.program = subprocess.Popen([os.path.join(self.folder, "rattil")], env=env)
        self.app = atspi.wait_for(atspi.find_app, "the program on the accessibility bus")
        atspi.wait_for(lambda: atspi.find(self.app, "push button", "خروج"), "the exit button")
        self.window = atspi.wait_for(lambda: atspi.program_windows(self.program.pid), "the program's window")[0]
        time.sleep(0.5)

    def shot(self, name):
        self.step += 1
        path = os.path.join(self.shots, "%02d-%s.png" % (self.step, name))
        subprocess.run(["import", "-window", "root", "-crop", "786x632+0+0", path], timeout=30)

    def control(self, role, name, what=None):
        return atspi.wait_for(lambda: atspi.find(self.app, role, name), what or name)

    def press(self, role, name):
        atspi.press(self.control(role, name), check)

    def top(self, role, name):
        return atspi.top_in_window(self.control(role, name), self.app[0])

    def mouse(self, *args):
        subprocess.run(["xdotool", "mousemove", "--window", self.window] + [str(a) for a in args], timeout=30)

    def leave(self):
        self.press("push button", "خروج")
        check(self.program.wait(timeout=15) == 0, "the program ends cleanly from its exit button")


def main():
    app_dir, shots = sys.argv[1], sys.argv[2]
    os.makedirs(shots, exist_ok=True)
    work = tempfile.mkdtemp(prefix="rattil-road-")
    folder = os.path.join(work, "app")
    shutil.copytree(app_dir, folder)
    for stale in ("savedoptions.ini", "rec"):
        path = os.path.join(folder, stale)
        if os.path.isdir(path):
            shutil.rmtree(path)
        elif os.path.exists(path):
            os.remove(path)

    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    # The sink idles into late bursts of capture; a steady stream keeps it on time.
    busy = subprocess.Popen(["pacat", "--playback", "--raw", "--latency-msec=30", "/dev/zero"])
    road = Road(folder, shots)
    tone = None
    try:
        road.start()
        road.shot("start")
        # The mixer opens after the first frame: its level reaches the bars
        # and the screen reader's slider soon after, as the sound server has it.
        source = re.search(r"(\d+)%", run("pactl", "get-source-volume", "@DEFAULT_SOURCE@"))
        slider = road.control("slider", "مستوى الميكروفون").queryValue()
        atspi.wait_for(lambda: slider.currentValue > 0, "the microphone's level from the mixer")
        check(source and abs(slider.currentValue - int(source.group(1))) <= 1,
              "the microphone's bars show the source's level (%s, %r)" % (slider.currentValue, source and source.group(0)))

        # 1-2. A chapter, then one of its lessons.
        road.press("push button", "أحكام الميم الساكنة")
        road.press("link", "الإخفاء الشفوي")
        # 3. The panel opens at the remembered splitter and example 1 sounds.
        first = road.top("push button", "المثال ١")
        check(abs(first - (450 + 2)) <= 2, "example 1's button sits on the bar at 450 (%d)" % first)
        atspi.wait_for(lambda: sink_inputs_of(road.program.pid) > 0, "example 1 to sound")
        road.shot("lesson-open")

        # 5. Record while a tone sounds into the microphone, then stop.
        tone = subprocess.Popen("sox -n -r 44100 -c 2 -t raw -e signed -b 16 - synth 3 sine 440 vol 0.7 | "
                                "pacat --playback --raw", shell=True)
        # The take is measured against the presses as they happened: finding a
        # control walks the whole accessibility tree, which on a loaded machine
        # has taken over a second, so the two-second wait alone says little.
        record = road.control("push button", "تسجيل")
        before_record = time.time()
        atspi.press(record, check)
        after_record = time.time()
        time.sleep(1.0)
        road.shot("recording")
        time.sleep(1.0)
        stop = road.control("push button", "إيقاف")
        before_stop = time.time()
        atspi.press(stop, check)
        after_stop = time.time()
        tone.wait(timeout=10)
        take = os.path.join(folder, "rec", "3-1-1.wav")
        atspi.wait_for(lambda: os.path.exists(take), "the saved take")
        info = run("soxi", take)
        check("Sample Rate    : 11025" in info and "Channels       : 1" in info and "8-bit Unsigned" in info,
              "the take is 8-bit unsigned, 11025 Hz, mono:\n" + info)
        seconds = float(run("soxi", "-D", take))
        # Capture starts a little after the press (under load the take has come
        # out half a second short); it must never hold sound from before the
        # press or after the stop.
        shortest, longest = before_stop - after_record, after_stop - before_record
        print("take %.2f s, pressed for %.2f-%.2f s" % (seconds, shortest, longest))
        check(shortest - 0.6 <= seconds <= longest + 0.3,
              "the take lasts as long as the recording (%.2f s, pressed for %.2f-%.2f s)" % (seconds, shortest, longest))
        stat = subprocess.run(["sox", take, "-n", "stat"], capture_output=True, text=True).stderr
        rms = float(re.search(r"RMS\s+amplitude:\s+([0-9.]+)", stat).group(1))
        check(rms > 0.1, "the tone is in the take (RMS %.3f)" % rms)

        # 6. Play the take back, then listen to the reciter again.
        road.press("push button", "تشغيل")
        atspi.wait_for(lambda: atspi.find(road.app, "push button", "إيقاف مؤقت"), "the pause button while playing")
        road.shot("playing")
        atspi.wait_for(lambda: atspi.find(road.app, "push button", "تسجيل"), "the take to play to its end", 15)
        road.press("push button", "استماع")
        atspi.wait_for(lambda: sink_inputs_of(road.program.pid) > 0, "the reciter to sound again")
        road.shot("listening")
        road.press("push button", "استماع")

        # An index lesson, one of its entries, and back to the list by its title.
        road.press("push button", "مدخل إلى علم التجويد")
        road.press("link", "مخارج الحروف")
        road.press("link", "الحلق")
        road.control("push button", "فهرس مخارج الحروف", "the entry's title bar")
        road.shot("index-entry")

        # The popup's "about" page closes the menu and the panel.
        road.mouse(400, 53, "click", "3")
        time.sleep(0.7)
        subprocess.run(["xdotool", "key", "Down", "Down", "Return"], timeout=30)
        atspi.wait_for(lambda: atspi.find(road.app, "link", "مخارج الحروف") is None, "the menu to close")
        road.shot("about")

        # Move the splitter of an open lesson up by 70 pixels, then leave.
        road.press("push button", "أحكام الميم الساكنة")
        road.press("link", "الإخفاء الشفوي")
        road.control("push button", "المثال ١")
        road.mouse(150, 455)
        subprocess.run(["xdotool", "mousedown", "1"], timeout=30)
        road.mouse(150, 420)
        road.mouse(150, 385)
        subprocess.run(["xdotool", "mouseup", "1"], timeout=30)
        time.sleep(0.3)
        moved = road.top("push button", "المثال ١") - 2
        check(360 <= moved <= 400, "the splitter moved up (%d)" % moved)
        road.shot("splitter-moved")
        road.leave()
        with open(os.path.join(folder, "savedoptions.ini"), "rb") as f:
            check(f.read() == b" %d \r\n" % moved, "savedoptions.ini keeps the moved splitter")

        # The next start opens the panel where the learner left it.
        road.start()
        road.press("push button", "أحكام الميم الساكنة")
        road.press("link", "الإخفاء الشفوي")
        again = road.top("push button", "المثال ١") - 2
        check(again == moved, "the panel opens at the remembered splitter (%d, not %d)" % (again, moved))
        road.shot("next-start")
        road.leave()
    finally:
        for process in (road.program, tone, busy):
            if process is not None and process.poll() is None:
                process.kill()
        bus.terminate()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    atspi.run_system_test(main, check)
