#!/usr/bin/env bash
# Builds Rattil and runs every test against a private display and sound server,
# then the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer
# (scripts/sanitize-tests; RATTIL_SANITIZE_TESTS=0 skips that second run).
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps test
export LANG=C.UTF-8 LC_ALL=C.UTF-8
build=${RATTIL_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"

(
  eval "$(scripts/test-services start)"
  trap 'scripts/test-services stop "$RATTIL_TEST_STATE"' EXIT
  ctest --test-dir "$build" --output-on-failure "$@"
)

if [ "${RATTIL_SANITIZE_TESTS:-1}" != 0 ]; then
  scripts/sanitize-tests "$@"
fi
