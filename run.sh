#!/usr/bin/env bash
# Builds Rattil and runs it on its bundled demo course.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps
build=${RATTIL_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"
exec "$build/app/rattil"
