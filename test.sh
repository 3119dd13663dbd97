#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the sources' format and licence lines, builds Rattil and runs every
# test, then the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer (scripts/sanitize-tests, built while the plain
# tests run; RATTIL_SANITIZE_TESTS=0 skips that second run). Each system test starts its own display, sound
# server and session bus (scripts/test-services run), so tests run side by
# side, one per core, and pass from any shell, a desktop's included.
# Arguments go to ctest (e.g. -R menu, -L system, -j1).
set -euo pipefail
cd "$(dirname "$0")"

phase_start=$SECONDS
phases=()
phase() { phases+=("$1 $((SECONDS - phase_start)) s"); phase_start=$SECONDS; }

groups=(test)
[ "${RATTIL_SANITIZE_TESTS:-1}" != 0 ] && groups+=(sanitize)
scripts/install-deps "${groups[@]}"
export LANG=C.UTF-8 LC_ALL=C.UTF-8
scripts/check-format
phase "packages and format"

build=${RATTIL_BUILD_DIR:-build}
scripts/configure "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)"
phase "build"

# The sanitizer build goes on beside the plain tests, at the lowest priority:
# the tests spend most of their time waiting on sound and the display, and
# the scheduler gives them the cores whenever they want them.
sanitize=${RATTIL_SANITIZE_TESTS:-1}
asan_log=$(mktemp /tmp/rattil-asan-build.XXXXXX)
if [ "$sanitize" != 0 ]; then
  RATTIL_SANITIZE_STEP=build setsid nice -n 19 scripts/sanitize-tests >"$asan_log" 2>&1 &
  asan_build=$!
  trap 'kill -- -"$asan_build" 2>/dev/null || true; rm -f "$asan_log"' EXIT
fi
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"
phase "tests"

if [ "$sanitize" != 0 ]; then
  if ! wait "$asan_build"; then
    echo "the sanitizer build failed:"; tail -50 "$asan_log"; exit 1
  fi
  phase "sanitizer build (rest after the tests)"
  RATTIL_SANITIZE_STEP=tests scripts/sanitize-tests "$@"
  phase "sanitizer tests"
fi
printf 'test.sh: %s\n' "$(IFS=,; echo "${phases[*]}" | sed 's/,/, /g')"
