#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The working loop's figures, from a fresh clone of this checkout's HEAD, in
# seconds: configure, build, plain test run, sanitizer build, sanitizer test
# run, and the loop of one change (an edit of src/practice/recorder.cpp, then
# scripts/check practice). The packages must be installed already
# (scripts/install-deps test sanitize). Prints figures; fails only when a step
# fails. Set CCACHE_DISABLE or leave no compiler cache for a first-run figure.
# Usage: bench/suite.sh [work folder, default a new one under /tmp]
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$(mktemp -d /tmp/rattil-suite.XXXXXX)}
git clone -q "$src" "$work/rattil"
cd "$work/rattil"
export LANG=C.UTF-8 LC_ALL=C.UTF-8
jobs=$(nproc)

declare -a names figures
step() {
    local name=$1
    shift
    local t0=$SECONDS
    "$@" >"$work/$name.log" 2>&1 || { echo "$name failed: see $work/$name.log" >&2; tail -20 "$work/$name.log" >&2; exit 1; }
    names+=("$name")
    figures+=("$((SECONDS - t0))")
    printf '%-18s %5d s\n' "$name" "${figures[-1]}"
}

step configure scripts/configure build -DCMAKE_BUILD_TYPE=RelWithDebInfo
step build cmake --build build -j"$jobs"
step tests ctest --test-dir build --output-on-failure -j"$jobs"
step sanitizer-build env RATTIL_SANITIZE_STEP=build scripts/sanitize-tests
step sanitizer-tests env RATTIL_SANITIZE_STEP=tests scripts/sanitize-tests
echo "// an edit" >>src/practice/recorder.cpp
step one-change scripts/check practice
git checkout -q src/practice/recorder.cpp

total=0
for f in "${figures[@]}"; do total=$((total + f)); done
printf '%-18s %5d s\n' total "$total"
rm -rf "$work"
