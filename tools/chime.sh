#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The welcome sound: two soft sine notes, the second rising over the first's
# fade, encoded as MP3. Usage: chime.sh OUT.mp3
set -eu
out=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# lame writes empty tags under the C locale; keep everything in UTF-8.
export LC_ALL=C.UTF-8
sox -n -r 22050 -c 1 -b 16 "$tmp/low.wav" synth 1.1 sine 659.25 fade q 0.02 1.1 0.9 vol 0.35
sox -n -r 22050 -c 1 -b 16 "$tmp/high.wav" synth 1.6 sine 987.77 fade q 0.02 1.6 1.3 vol 0.3 pad 0.35
sox -m "$tmp/low.wav" "$tmp/high.wav" "$tmp/chime.wav" fade 0 1.95 0.2
# -t: no LAME info frame. GStreamer's MP3 decoder turns that metadata-only frame
# into an empty buffer and prints a critical assertion on every play.
lame --quiet -t -m m -b 64 "$tmp/chime.wav" "$tmp/chime.mp3"
mv "$tmp/chime.mp3" "$out"
