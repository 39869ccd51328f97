#!/usr/bin/env bash
# Builds QLOR with warnings as errors and runs the whole test suite.
# --sanitize builds and runs it under AddressSanitizer and
# UndefinedBehaviorSanitizer instead; --clang builds it with clang, the
# fuzz targets included, and runs the unit tests and the corpora.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
build=${QLOR_BUILD_DIR:-build-tests}
options=(-DCMAKE_BUILD_TYPE=Release -DQLOR_WERROR=ON -DQLOR_BUILD_BENCHMARKS=ON)
labels=()
case "${1:-}" in
  --sanitize)
    build=${QLOR_BUILD_DIR:-build-asan}
    options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQLOR_WERROR=ON -DQLOR_SANITIZE=ON)
    export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
    ;;
  --clang)
    export QLOR_CLANG=ON
    build=${QLOR_BUILD_DIR:-build-clang}
    options=(-DCMAKE_BUILD_TYPE=Release -DQLOR_WERROR=ON -DQLOR_FUZZ=ON
      -DQLOR_BUILD_GUI=OFF -DQLOR_MPI=OFF
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
    labels=(-L unit)
    ;;
esac
scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja "${options[@]}" >/dev/null
cmake --build "$build"
cd "$build"
ctest --output-on-failure -j"$(nproc)" "${labels[@]}"

# The R package, when R is there (install-deps.sh installs it unless
# QLOR_R=OFF): installed into the build folder and tested against this
# build's console program.
if [[ -z "${1:-}" ]] && command -v R >/dev/null && [[ "${QLOR_R:-ON}" == "ON" ]]; then
  build_dir=$PWD
  mkdir -p "$build_dir/r-library"
  cd "$repo"
  R CMD INSTALL --no-multiarch --library="$build_dir/r-library" r >"$build_dir/r-install.log" 2>&1 ||
    { tail -40 "$build_dir/r-install.log"; exit 1; }
  cd r/tests
  R_LIBS="$build_dir/r-library" QLOR_BIN="$build_dir/src/cli/qlor" Rscript testthat.R
fi
