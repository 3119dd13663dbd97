#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The media backends Qt Multimedia has on this system, side by side, on the
# demo course: a lesson click to its first example sounding (less the file's
# lead-in), the practice figures of the real player and recorder (example
# click to sound, a take's stop against its limit: its length against the
# wall clock), and the warnings each prints while it plays and records.
# RUNS (3) runs of each. Uses the display and sound server in DISPLAY and
# PULSE_SERVER, or starts the test services.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${RATTIL_BUILD_DIR:-build}
runs=${RUNS:-3}
app="$build/app"
cmake --build "$build" --target bench_lesson bench_practice rattil >/dev/null

if [ -z "${DISPLAY:-}" ] || [ -z "${PULSE_SERVER:-}" ]; then
    eval "$(scripts/test-services start)"
    trap 'scripts/test-services stop "$RATTIL_TEST_STATE"' EXIT
fi
export LC_ALL=C.UTF-8 LANG=C.UTF-8

plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
median() { sort -g | awk '{a[NR]=$1} END {print (NR ? a[int((NR+1)/2)] : -1)}'; }
field() { sed -nE "s/.*$1=([-0-9.]+).*/\\1/p"; }

for plugin in "$plugins"/multimedia/lib*mediaplugin.so; do
    backend=$(basename "$plugin" | sed -E 's/^lib(.*)mediaplugin\.so$/\1/')
    clicks=() practice=() stops=()
    err=$(mktemp)
    for _ in $(seq "$runs"); do
        # The sink kept busy, as a microphone streams at once (see window.sh).
        pacat --playback --raw --latency-msec=30 /dev/zero &
        busy=$!
        line=$(QT_MEDIA_BACKEND=$backend "$build/bench/bench_lesson" "$app" 2 1 2>"$err" | grep lesson_click || true)
        kill "$busy"
        sound=$(field lesson_click_to_example_sound_ms <<<"$line")
        lead=$(field example_lead_in_ms <<<"$line")
        clicks+=("$(awk -v s="${sound:--1}" -v l="${lead:-0}" 'BEGIN {print (s < 0 ? -1 : s - l)}')")
        out=$(QT_MEDIA_BACKEND=$backend "$build/bench/bench_practice" 2>>"$err" || true)
        practice+=("$(field example_click_to_sound_ms <<<"$out")")
        stops+=("$(field recording_stop_error_ms <<<"$out")")
    done
    printf '%-10s lesson click to sound, less lead-in %6.1f ms (runs: %s)\n' "$backend" \
        "$(printf '%s\n' "${clicks[@]}" | median)" "${clicks[*]}"
    printf '%-10s example click to sound           %6.1f ms (runs: %s)\n' "$backend" \
        "$(printf '%s\n' "${practice[@]}" | median)" "${practice[*]}"
    printf '%-10s take stop against its limit      %6.1f ms (runs: %s)\n' "$backend" \
        "$(printf '%s\n' "${stops[@]}" | median)" "${stops[*]}"
    # What each printed while it played and recorded, every kind of line once
    # (the pointers in them differ from run to run).
    printf '%-10s lines on stderr over %d runs: %d\n' "$backend" "$runs" "$(grep -c . "$err" || true)"
    sed -E 's/0x[0-9a-f]+/0x…/g' "$err" | sort | uniq -c | sort -rn | head -8 | sed 's/^/             /'
    rm -f "$err"
done
