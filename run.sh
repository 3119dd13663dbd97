#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Rattil and runs it on its bundled demo course.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps
build=${RATTIL_BUILD_DIR:-build}
scripts/configure "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Only the program and its course: the tests are ./test.sh's to build.
cmake --build "$build" -j"$(nproc)" --target rattil course
exec "$build/app/rattil"
