#!/usr/bin/env bash
# Builds QLOR with warnings as errors and runs the whole test suite.
# --sanitize builds and runs it under AddressSanitizer and
# UndefinedBehaviorSanitizer instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=${QLOR_BUILD_DIR:-build-tests}
options=(-DCMAKE_BUILD_TYPE=Release -DQLOR_WERROR=ON -DQLOR_BUILD_BENCHMARKS=ON)
if [[ "${1:-}" == "--sanitize" ]]; then
  build=${QLOR_BUILD_DIR:-build-asan}
  options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQLOR_WERROR=ON -DQLOR_SANITIZE=ON)
  export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
fi
cmake -S . -B "$build" -G Ninja "${options[@]}" >/dev/null
cmake --build "$build"
cd "$build"
ctest --output-on-failure -j"$(nproc)"
