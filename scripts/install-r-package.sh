#!/usr/bin/env bash
# Installs the R package qlor from this checkout: R, Rcpp and what the core
# builds with from Debian when missing, then R CMD INSTALL r. The package
# builds the core with the project's CMake files (in r/src/core-build).
#
# Usage: scripts/install-r-package.sh [R CMD INSTALL options, e.g. --library=DIR]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/.." && pwd)"
QLOR_GUI=OFF QLOR_MPI=OFF QLOR_R=ON "$here/install-deps.sh"
cd "$repo"
R CMD INSTALL --no-multiarch "$@" r
