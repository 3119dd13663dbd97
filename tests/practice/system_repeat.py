#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Two hands-free rounds of "repeat after me" in the real window, driven through
the accessibility tree as a screen-reader user would: the reciter slowed to
70 %, the round started, a tone played into the microphone in each of the
learner's turns, and nothing else pressed until the third round has begun.
A fan's steady noise sounds into the microphone all the while: the room's
floor is measured from it, and the tone is heard above it.

Each turn must end by itself once the tone has stopped (the silence rule), so
two takes are saved: the newest in rec/, the one before it in the history,
and the menu tells how much of the lesson has been practised.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from system_takes import Program, check, named, rms_of, seconds_of  # noqa: E402
import atspi  # noqa: E402

YOUR_TURN = "دورك"
TONE = 1.5  # seconds of "recitation" in each turn
# The fan: a tenth of full scale, some 13 of the meter's 128 levels at its
# peaks, well above the least level taken for a voice.
NOISE = ("sox -n -r 44100 -c 2 -t raw -e signed -b 16 - synth 600 brownnoise vol 0.1 | "
         "pacat --playback --raw --latency-msec=30")


def main():
    work = tempfile.mkdtemp(prefix="rattil-repeat-")
    folder = os.path.join(work, "app")
    shutil.copytree(sys.argv[1], folder, ignore=shutil.ignore_patterns("rec", "savedoptions.ini"))
    rec = os.path.join(folder, "rec")
    take = os.path.join(rec, "3-1-1.wav")
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    program = Program(folder)
    fan = subprocess.Popen(NOISE, shell=True, start_new_session=True)
    try:
        program.start()
        program.open_lesson()
        for _ in range(2):  # 100 -> 85 -> 70 %
            program.press("push button", "سرعة القارئ")
        program.press("push button", "كرر بعدي")
        saved = []
        for turn in (1, 2):
            atspi.wait_for(lambda: named(program.app, YOUR_TURN) is not None, "the learner's turn %d" % turn, 40)
            # A learner hears the cue, then draws breath before reading.
            time.sleep(0.4)
            started = time.time()
            subprocess.run("sox -n -r 44100 -c 2 -t raw -e signed -b 16 - synth %s sine 440 vol 0.6 | "
                           "pacat --playback --raw --latency-msec=30" % TONE, shell=True, timeout=20)
            before = saved[-1] if saved else 0
            atspi.wait_for(lambda: os.path.exists(take) and os.path.getmtime(take) > before,
                           "take %d to end by itself and be saved" % turn, 10)
            ended = time.time() - started
            saved.append(os.path.getmtime(take))
            # Within 2 s of the learner's last sound, in spite of the fan; a
            # take cut at the time limit would have run for the whole slowed
            # example and more.
            check(ended - TONE < 2.0, "take %d ended %.1f s after the tone" % (turn, ended - TONE))
            check(seconds_of(take) >= TONE and rms_of(take) > 0.1,
                  "take %d holds the tone (%.2f s, RMS %.3f)" % (turn, seconds_of(take), rms_of(take)))
            # Played back and judged before the next round: the turn's sentence goes.
            atspi.wait_for(lambda: named(program.app, YOUR_TURN) is None, "round %d to move on" % turn, 30)
        # The third round's reciter is sounding: a press on the control ends it all.
        program.press("push button", "كرر بعدي")
        time.sleep(1.0)
        history = os.listdir(os.path.join(rec, "history", "3-1-1"))
        check(len(history) == 1, "the first take is kept in the history (%r)" % history)
        check(not any(n.startswith(".") for n in os.listdir(rec)), "no take was left in progress")
        link = atspi.find(program.app, "link", "الإخفاء الشفوي")
        description = link.get_description() if link is not None else ""
        check("١ من ٣" in description, "the menu tells the lesson's progress (%r)" % description)
        took = program.signal_and_time(signal.SIGTERM)
        check(took is not None and took <= 2.0, "the program ends after the rounds (%s)" % took)
    finally:
        os.killpg(fan.pid, signal.SIGKILL)
        if program.process is not None and program.process.poll() is None:
            program.process.kill()
        if bus.poll() is None:
            bus.terminate()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    if not os.environ.get("DISPLAY") or not os.environ.get("PULSE_SERVER"):
        print("skipped: needs the display and sound server that test.sh starts")
        sys.exit(77)
    try:
        main()
    except AssertionError as error:
        print("FAIL:", error)
        sys.exit(1)
    print("PASS")
