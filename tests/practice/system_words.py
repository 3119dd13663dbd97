#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The verse's words follow the reciter, and a take is judged word by word, in
the real window on the test display and sound server.

Example 1 of a lesson is made three tone "words" with its title, its word
times and the span of a rule of two counts on the second word. As it plays, the
verse's accessible description must name each word in turn. Then a take whose
second word is held twice as long is played into the microphone: the
comparison's sentence must name that word, and only it, and say it was held
about four counts where two are wanted.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from system_takes import Program, check  # noqa: E402
import atspi  # noqa: E402

WORDS = ["قل", "هو", "الله"]
PITCHES = [300, 600, 1000]
LEAD = 0.5
GAP = 0.15
COUNT = 0.4  # seconds a count, as the reciter holds it


def tones(work, name, lengths):
    """A sound of the three words at the lengths given, and their times."""
    parts, times, at = [], [], LEAD
    lead = os.path.join(work, "lead.wav")
    subprocess.run(["sox", "-n", "-r", "44100", "-c", "1", "-b", "16", lead, "trim", "0", str(LEAD)], check=True)
    parts.append(lead)
    for k, (length, pitch) in enumerate(zip(lengths, PITCHES)):
        part = os.path.join(work, "%s%d.wav" % (name, k))
        subprocess.run(["sox", "-n", "-r", "44100", "-c", "1", "-b", "16", part, "synth", str(length), "sine",
                        str(pitch), "vol", "0.5", "fade", "0.01", str(length), "0.01", "pad", "0", str(GAP)],
                       check=True)
        parts.append(part)
        times.append((at, at + length))
        at += length + GAP
    wav = os.path.join(work, name + ".wav")
    subprocess.run(["sox"] + parts + [wav, "pad", "0", "0.5"], check=True)
    return wav, times


def descriptions(app):
    seen = []
    for node in atspi.nodes(app):
        try:
            if node.description:
                seen.append(node.description)
        except Exception:
            pass
    return seen


def main():
    app_dir = sys.argv[1]
    work = tempfile.mkdtemp(prefix="rattil-words-")
    folder = os.path.join(work, "app")
    shutil.copytree(app_dir, folder, ignore=shutil.ignore_patterns("rec", "savedoptions.ini"))
    examples = os.path.join(folder, "data", "examples")
    reciter, times = tones(work, "reciter", [0.5, 2 * COUNT, 0.5])
    subprocess.run(["lame", "--quiet", "-b", "128", "--id3v2-only", "--id3v2-utf16", "--tt", " ".join(WORDS),
                    reciter, os.path.join(examples, "3-1-1.mp3")], check=True)
    with open(os.path.join(examples, "3-1-1.words"), "w", encoding="utf-8") as f:
        for (start, end), word in zip(times, WORDS):
            f.write("%.3f\t%.3f\t%s\n" % (start, end, word))
    with open(os.path.join(examples, "3-1-1.rules"), "w", encoding="utf-8") as f:
        f.write("%.3f\t%.3f\tمد|2\n" % times[1])
    learner, _ = tones(work, "learner", [0.5, 4 * COUNT, 0.5])

    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    busy = subprocess.Popen(["pacat", "--playback", "--raw", "--latency-msec=30", "/dev/zero"])
    program = Program(folder)
    try:
        program.start()
        time.sleep(3.0)  # the welcome chime
        program.open_lesson()
        # The lesson's example 1 plays as it opens: its words, lit in turn.
        wanted = ["الكلمة %s من ٣: %s" % (n, w) for n, w in zip("١٢٣", WORDS)]

        def words_named():
            said = []
            end = time.time() + 6.0
            while time.time() < end and len(said) < 3:
                for d in descriptions(program.app):
                    if d.startswith("الكلمة") and d not in said:
                        said.append(d)
                time.sleep(0.05)
            return said
        said = words_named()
        if said != wanted:
            # It lasts three seconds, and finding the lesson's buttons on a
            # loaded machine (the sanitizers' run) can outlast it.
            print("the words as the lesson opened: %r; example 1 pressed" % said)
            program.press("push button", "المثال ١")
            said = words_named()
        check(said == wanted, "each word is named in turn as it is heard (%r)" % said)

        # A take with the second word held twice as long.
        time.sleep(1.0)
        program.press("push button", "تسجيل")
        atspi.wait_for(lambda: atspi.find(program.app, "push button", "إيقاف"), "the recording to start")
        time.sleep(0.3)
        subprocess.run(["paplay", learner], check=True, timeout=20)
        program.press("push button", "إيقاف")
        sentence = atspi.wait_for(
            lambda: next((d for d in descriptions(program.app) if "تسجيلك" in d and "القارئ" in d), None),
            "the comparison's sentence", 20.0)
        check("«هو»" in sentence and "«قل»" not in sentence and "«الله»" not in sentence,
              "the held word, and only it, is named (%r)" % sentence)
        check("«هو»: نحو ٤ حركات، والمطلوب ٢" in sentence or "«هو»: نحو ٣٫٥ حركات، والمطلوب ٢" in sentence
              or "«هو»: نحو ٤٫٥ حركات، والمطلوب ٢" in sentence,
              "its counts are said, about twice the two wanted (%r)" % sentence)
    finally:
        if program.process is not None and program.process.poll() is None:
            program.process.kill()
        for process in (busy, bus):
            process.terminate()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    atspi.run_system_test(main, check)
