#!/usr/bin/env bash
# Builds QLOR with warnings as errors and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=${QLOR_BUILD_DIR:-build-tests}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQLOR_WERROR=ON >/dev/null
cmake --build "$build"
cd "$build"
ctest --output-on-failure -j"$(nproc)"
