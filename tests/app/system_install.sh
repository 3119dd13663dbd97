#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installed program as a learner meets it: installed into a temporary prefix
# whose course is read-only, started from its bin folder, closed by its exit
# button. Its remembered layout must land in the learner's XDG folders and the
# installed tree must not change.
set -euo pipefail
build=${1:?build dir}
[ -n "${DISPLAY:-}" ] || { echo "SKIP: no display"; exit 77; }

tmp=$(mktemp -d)
cleanup() {
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
    [ -n "${busy:-}" ] && kill "$busy" 2>/dev/null || true
    chmod -R u+w "$tmp" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
test -x "$tmp/prefix/bin/rattil"
test -f "$tmp/prefix/share/rattil/contents.ini"
test ! -e "$tmp/prefix/share/rattil/rattil"
# The licences travel with every install, as Debian and AppStream ask.
grep -q "^License: GPL-3.0-or-later" "$tmp/prefix/share/doc/rattil/copyright"
chmod -R a-w "$tmp/prefix"
snapshot() { (cd "$tmp/prefix" && find . -print0 | sort -z | xargs -0 stat -c '%n %s %Y' | sha1sum); }
before=$(snapshot)

# xdotool's search by process has been seen to answer with the root window
# while a program was starting: only a window carrying the pid itself counts.
window_of() {
    local w last=""
    for w in $(xdotool search --all --onlyvisible --pid "$1" --name . 2>/dev/null); do
        [ "$(xdotool getwindowpid "$w" 2>/dev/null)" = "$1" ] && last=$w
    done
    echo "${last:-}"
}
export XDG_DATA_HOME="$tmp/data" XDG_CONFIG_HOME="$tmp/config"
"$tmp/prefix/bin/rattil" >"$tmp/out.log" 2>&1 &
pid=$!
wid=""
for _ in $(seq 150); do
    wid=$(window_of "$pid")
    [ -n "$wid" ] && break
    sleep 0.1
done
[ -n "$wid" ] || { echo "the installed program showed no window"; cat "$tmp/out.log"; exit 1; }
sleep 0.5
# A learner opens the meem sakinah chapter and its first lesson, records a take
# of example 1 and stops it (places of the demo course's skin and menu).
# A microphone streams from the moment it is opened; the test server's idle
# sink hands its monitor over only after a second or two, which left the take
# too short to keep. Silence played into it keeps it streaming.
pacat --playback --raw --latency-msec=30 /dev/zero &
busy=$!
click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; sleep "${3:-0.8}"; }
click 647 225
click 660 257 1.5
click 127 541 1.5
click 127 541
kill "$busy"
busy=""
xdotool mousemove --window "$wid" 743 39 click 1
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then echo "the exit button did not close the program"; exit 1; fi
wait "$pid" || { echo "the program exited with an error"; cat "$tmp/out.log"; exit 1; }
pid=""

options=$(find "$XDG_CONFIG_HOME/rattil" -name savedoptions.ini)
[ "$(echo "$options" | grep -c .)" = 1 ] || { echo "savedoptions.ini not in the XDG config folder: '$options'"; exit 1; }
case "$options" in "$XDG_CONFIG_HOME"/rattil/rattil-*/savedoptions.ini) ;; *) echo "unexpected place: $options"; exit 1 ;; esac
[ "$(snapshot)" = "$before" ] || { echo "the installed tree changed"; exit 1; }
take=$(find "$XDG_DATA_HOME/rattil" -name '3-1-1.wav')
case "$take" in "$XDG_DATA_HOME"/rattil/rattil-*/rec/3-1-1.wav) ;; *) echo "the take is not in the XDG data folder: '$take'"; exit 1 ;; esac
[ "$(soxi -r "$take")" = 11025 ] || { echo "the take is not an 11025 Hz recording"; exit 1; }
[ "$(dirname "$(dirname "$take")")" = "$(dirname "$options" | sed "s|^$XDG_CONFIG_HOME|$XDG_DATA_HOME|")" ] \
    || { echo "the take and the options are filed under different course names"; exit 1; }

# A folder that is no course: a message the learner must acknowledge, then a
# failing exit instead of an empty window.
mkdir -p "$tmp/notacourse"
"$tmp/prefix/bin/rattil" "$tmp/notacourse" >"$tmp/out2.log" 2>&1 &
pid=$!
box=""
for _ in $(seq 100); do
    box=$(window_of "$pid")
    [ -n "$box" ] && break
    sleep 0.1
done
[ -n "$box" ] || { echo "no message for a folder that is no course"; exit 1; }
# Without a window manager the keyboard goes to the window under the pointer.
for _ in 1 2 3 4 5; do
    sleep 0.3
    xdotool mousemove --window "$box" 20 20 key Return 2>/dev/null || true
    kill -0 "$pid" 2>/dev/null || break
done
rc=0
wait "$pid" || rc=$?
pid=""
[ "$rc" = 2 ] || { echo "a folder that is no course exited with $rc"; exit 1; }
echo "installed program kept its files in $XDG_CONFIG_HOME; a folder that is no course was refused"
