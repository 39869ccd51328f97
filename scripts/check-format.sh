#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from .clang-format; run
# clang-format -i on the files it names to fix them. Rcpp writes
# r/src/RcppExports.cpp (Rcpp::compileAttributes), which is left as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
QLOR_CLANG=ON scripts/install-deps.sh
git ls-files -z '*.cpp' '*.h' ':!r/src/RcppExports.cpp' | xargs -0 clang-format --dry-run --Werror
echo "format: every file follows .clang-format"
