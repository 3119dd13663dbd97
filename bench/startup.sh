#!/usr/bin/env bash
# Median time from process start to the first page shown, and peak memory, for
# the program on its demo course and for the floor (a bare QTextBrowser), over
# RUNS runs each. Uses the display in DISPLAY, or starts a private one.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${RATTIL_BUILD_DIR:-build}
runs=${RUNS:-7}
app="$build/app"
cmake --build "$build" --target bench_startup bench_floor rattil >/dev/null

if [ -z "${DISPLAY:-}" ]; then
    eval "$(scripts/test-services start)"
    trap 'scripts/test-services stop "$RATTIL_TEST_STATE"' EXIT
fi
export LC_ALL=C.UTF-8 LANG=C.UTF-8

measure() { # name command...
    local name=$1; shift
    local times=() rss=()
    "$@" >/dev/null 2>&1 || true # warm the file cache
    for _ in $(seq "$runs"); do
        local line
        line=$(RATTIL_T0=$(date +%s%N) "$@" 2>/dev/null | grep first_page_ms)
        times+=("$(sed -E 's/.*first_page_ms=([0-9.]+).*/\1/' <<<"$line")")
        rss+=("$(sed -E 's/.*peak_rss_kb=([0-9]+).*/\1/' <<<"$line")")
    done
    local tmed rmed
    tmed=$(printf '%s\n' "${times[@]}" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
    rmed=$(printf '%s\n' "${rss[@]}" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
    printf '%-8s median first page %8.1f ms   peak RSS %7.1f MB   (runs: %s ms)\n' \
        "$name" "$tmed" "$(awk -v k="$rmed" 'BEGIN {print k / 1024}')" "${times[*]}"
    eval "${name}_ms=$tmed; ${name}_kb=$rmed"
}

# The program plays its welcome chime at start; the bench measures the window.
measure rattil env "$build/bench/bench_startup" "$app"
measure floor env "$build/bench/bench_floor" "$app/data/html/first.htm"
awk -v a="$rattil_ms" -v b="$floor_ms" -v c="$rattil_kb" -v d="$floor_kb" \
    'BEGIN {printf "ratio    time %.2f x floor, memory %.2f x floor\n", a / b, c / d}'
