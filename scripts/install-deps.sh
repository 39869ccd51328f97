#!/usr/bin/env bash
# Installs the Debian packages QLOR builds with, when any is missing.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
  librandom123-dev zlib1g-dev libmpfr-dev)
if [[ "${QLOR_MPI:-ON}" == "ON" ]]; then
  packages+=(libopenmpi-dev openmpi-bin)
fi
if [[ "${QLOR_GUI:-ON}" == "ON" ]]; then
  packages+=(qt6-base-dev qt6-svg-dev xvfb xauth)
fi
# R and the packages the R package builds and is tested with.
if [[ "${QLOR_R:-ON}" == "ON" ]]; then
  packages+=(r-base-dev r-cran-rcpp r-cran-testthat r-cran-spatstat)
fi
# CI's second compiler, its fuzzing runtime and the format check.
if [[ "${QLOR_CLANG:-OFF}" == "ON" ]]; then
  packages+=(clang libclang-rt-14-dev clang-format)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]} == 0)); then
  exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
