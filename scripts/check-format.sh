#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from .clang-format; run
# clang-format -i on the files it names to fix them.
set -euo pipefail
cd "$(dirname "$0")/.."
QLOR_CLANG=ON scripts/install-deps.sh
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "format: every file follows .clang-format"
