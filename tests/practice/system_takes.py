#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The learner's takes against the worst a desktop does to a program, in the real
window on the test display and sound server.

Record a tone for four seconds and kill the program with SIGKILL: the next start
makes the take of its journal and tells the learner, in a message and on the
status line. Then SIGTERM during a take, and SIGTERM while a saved take is
being compared: each time the process is gone within two seconds and the take
is saved.
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import atspi  # noqa: E402

check = atspi.Checks()
RECOVERED = "انقطع البرنامج أثناء تسجيلك، فاستُعيد ما سُجّل منه: "


def run(*args):
    return subprocess.run(args, capture_output=True, text=True, timeout=30).stdout


def seconds_of(path):
    return float(run("soxi", "-D", path) or 0)


def rms_of(path):
    stat = subprocess.run(["sox", path, "-n", "stat"], capture_output=True, text=True).stderr
    match = re.search(r"RMS\s+amplitude:\s+([0-9.]+)", stat)
    return float(match.group(1)) if match else 0.0


class Program(atspi.Program):
    def press(self, role, name):
        atspi.press(atspi.wait_for(lambda: atspi.find(self.app, role, name), name), check)

    def open_lesson(self):
        self.press("push button", "أحكام الميم الساكنة")
        self.press("link", "الإخفاء الشفوي")
        atspi.wait_for(lambda: atspi.find(self.app, "push button", "المثال ١"), "example 1")

    def example_sounding(self):
        """Example 1 sounding, so that Record has something to silence. It starts
        by itself as the lesson opens, but it lasts four seconds and finding the
        lesson's buttons on a loaded machine can outlast it: press it then."""
        try:
            atspi.wait_for(lambda: sounding(self.process.pid) > 0, "example 1 to sound", 2.0)
        except AssertionError:
            self.press("push button", "المثال ١")
            atspi.wait_for(lambda: sounding(self.process.pid) > 0, "example 1 to sound")

    def signal_and_time(self, sig):
        """Seconds from the signal to the end of the process (None past 10 s)."""
        sent = time.time()
        self.process.send_signal(sig)
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            return None
        return time.time() - sent


def sounding(pid):
    """The program's streams into the sound server that are playing (not corked)."""
    listing = run("pactl", "list", "sink-inputs")
    return sum(1 for block in listing.split("Sink Input #")
               if 'application.process.id = "%d"' % pid in block and "Corked: no" in block)


def named(app, prefix):
    for node in atspi.nodes(app):
        try:
            if node.name.startswith(prefix):
                return node
        except Exception:
            pass
    return None


def main():
    app_dir = sys.argv[1]
    work = tempfile.mkdtemp(prefix="rattil-takes-")
    folder = os.path.join(work, "app")
    shutil.copytree(app_dir, folder)
    for stale in ("savedoptions.ini", "rec"):
        path = os.path.join(folder, stale)
        if os.path.isdir(path):
            shutil.rmtree(path)
        elif os.path.exists(path):
            os.remove(path)
    rec = os.path.join(folder, "rec")
    take = os.path.join(rec, "3-1-1.wav")
    journal = os.path.join(rec, ".3-1-1.wav.journal")

    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    busy = subprocess.Popen(["pacat", "--playback", "--raw", "--latency-msec=30", "/dev/zero"])
    tone = subprocess.Popen("sox -n -r 44100 -c 2 -t raw -e signed -b 16 - synth 180 sine 440 vol 0.7 | "
                            "pacat --playback --raw", shell=True, start_new_session=True)
    program = Program(folder)
    try:
        # A kill in the middle of a take. The example that started by itself
        # falls silent when Record is pressed: it would sound into the take.
        program.start()
        program.open_lesson()
        program.example_sounding()
        program.press("push button", "تسجيل")
        atspi.wait_for(lambda: atspi.find(program.app, "push button", "إيقاف"), "the recording to start")
        atspi.wait_for(lambda: sounding(program.process.pid) == 0, "the example to fall silent", 2.0)
        time.sleep(4.0)
        program.process.kill()
        program.process.wait()
        check(os.path.exists(journal) and not os.path.exists(take), "the killed take is in its journal only")

        # The next start makes it the take and tells the learner which it was.
        program.start()
        atspi.wait_for(lambda: not os.path.exists(journal), "the journal to be taken up")
        check(os.path.exists(take), "the take is back in rec/")
        seconds = seconds_of(take)
        check(seconds >= 3.0, "at least three of the four seconds came back (%.2f s)" % seconds)
        check(rms_of(take) > 0.1, "the tone is in the recovered take (RMS %.3f)" % rms_of(take))
        info = run("soxi", take)
        check("Sample Rate    : 11025" in info and "Channels       : 1" in info and "8-bit Unsigned" in info,
              "the recovered take is 8-bit unsigned, 11025 Hz, mono:\n" + info)
        alert = atspi.wait_for(lambda: atspi.find(program.app, "alert"), "the message of the recovered take")
        check(alert.name.startswith(RECOVERED) and "المثال ١ من الدرس ١ من الباب ٣" in alert.name,
              "the message names the example (%r)" % alert.name)
        check(named(program.app, RECOVERED) is not None, "the status line says it too")
        atspi.press(atspi.find(alert, "push button", "موافق"), check)
        atspi.wait_for(lambda: atspi.find(program.app, "alert") is None, "the message closing")

        # SIGTERM during a take: saved, and the process ends.
        before = os.path.getmtime(take)
        program.open_lesson()
        time.sleep(0.5)
        program.press("push button", "تسجيل")
        atspi.wait_for(lambda: atspi.find(program.app, "push button", "إيقاف"), "the recording to start")
        time.sleep(2.0)
        took = program.signal_and_time(signal.SIGTERM)
        check(took is not None and took <= 2.0, "SIGTERM during a take ends the program within 2 s (%s)" % took)
        check(os.path.getmtime(take) > before and seconds_of(take) >= 1.5,
              "the take was saved on the way out (%.2f s)" % seconds_of(take))
        check(not os.path.exists(journal), "no journal is left behind")

        # SIGTERM while a saved take is compared.
        program.start()
        program.open_lesson()
        time.sleep(0.5)
        program.press("push button", "تسجيل")
        atspi.wait_for(lambda: atspi.find(program.app, "push button", "إيقاف"), "the recording to start")
        time.sleep(2.0)
        before = os.path.getmtime(take)
        program.press("push button", "إيقاف")
        atspi.wait_for(lambda: os.path.getmtime(take) > before, "the take to be saved")
        took = program.signal_and_time(signal.SIGTERM)
        check(took is not None and took <= 2.0, "SIGTERM during a comparison ends the program within 2 s (%s)" % took)
        check(seconds_of(take) >= 1.5, "the take stays saved (%.2f s)" % seconds_of(take))
        history = sorted(os.listdir(os.path.join(rec, "history", "3-1-1")))
        check(len(history) == 2 and all(re.match(r"^\d{4}-\d{8}-\d{6}\.wav$", n) for n in history),
              "the two takes replaced are kept in the history (%r)" % history)
        leftovers = [n for n in os.listdir(rec) if n.startswith(".")]
        check(not leftovers, "nothing hidden is left in rec/ (%r)" % leftovers)

        # Two windows on one course record the same example, and the first is
        # killed: the second never touches its journal, and the next start
        # makes it a take again, the second window's take kept in the history.
        first, second = program, Program(folder)
        first.start()
        first.open_lesson()
        first.press("push button", "تسجيل")
        atspi.wait_for(lambda: atspi.find(first.app, "push button", "إيقاف"), "the first window to record")
        began = time.time()
        second.start()
        second.open_lesson()
        second.press("push button", "تسجيل")
        atspi.wait_for(lambda: atspi.find(second.app, "push button", "إيقاف"), "the second window to record")
        check(os.path.exists(os.path.join(rec, ".3-1-1.wav.2.journal")), "the second window has a journal of its own")
        time.sleep(max(0.0, 5.0 - (time.time() - began)))
        first.process.kill()
        first.process.wait()
        recorded = time.time() - began
        check(os.path.getsize(journal) > 11025 * 3, "the first window's journal holds its take (%d bytes)"
              % os.path.getsize(journal))
        time.sleep(1.0)
        second.press("push button", "إيقاف")
        atspi.wait_for(lambda: not os.path.exists(os.path.join(rec, ".3-1-1.wav.2.journal")),
                       "the second window's take to be saved")
        second_seconds = seconds_of(take)
        check(os.path.exists(journal), "the first window's journal is still there")
        check(second.signal_and_time(signal.SIGTERM) is not None, "the second window ends")
        history_before = set(os.listdir(os.path.join(rec, "history", "3-1-1")))
        third = Program(folder)
        third.start()
        atspi.wait_for(lambda: not os.path.exists(journal), "the killed window's journal to be taken up")
        seconds = seconds_of(take)
        check(recorded - 1.0 <= seconds <= recorded + 0.5,
              "the killed window's take came back, short of at most a second (%.2f s of %.2f s)" % (seconds, recorded))
        added = set(os.listdir(os.path.join(rec, "history", "3-1-1"))) - history_before
        check(len(added) == 1 and abs(seconds_of(os.path.join(rec, "history", "3-1-1", added.pop())) - second_seconds) < 0.05,
              "the second window's take went to the history")
        alert = atspi.wait_for(lambda: atspi.find(third.app, "alert"), "the message of the recovered take")
        check("المثال ١ من الدرس ١ من الباب ٣" in alert.name and "فلم يُحذف شيء" in alert.name,
              "the message names the example and says nothing was discarded (%r)" % alert.name)
        program = third
        for window in (first, second):
            if window.process.poll() is None:
                window.process.kill()
    finally:
        if program.process is not None and program.process.poll() is None:
            program.process.kill()
        for process in (busy, bus):
            if process.poll() is None:
                process.terminate()
        try:
            os.killpg(tone.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    atspi.run_system_test(main, check)
