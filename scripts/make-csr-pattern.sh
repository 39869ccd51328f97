#!/usr/bin/env bash
# Writes a univariate sample data file of N distinct points placed at random
# on the 0.01 grid of a 100 x 100 plot, distances 0.5 .. 25 by 0.5, with
# NSIM simulations of complete spatial randomness.
#
# Usage: scripts/make-csr-pattern.sh N NSIM SEED > file.dat
set -euo pipefail
n="${1:?N}" nsim="${2:?NSIM}" seed="${3:?SEED}"
awk -v n="$n" -v nsim="$nsim" -v seed="$seed" 'BEGIN {
  srand(seed)
  printf "100 100 0.5 0.5 25 %d\n", nsim
  while (count < n) {
    cell = int(rand() * 100000000)
    if (cell in taken) continue
    taken[cell] = 1
    count++
    printf "%.2f %.2f\n", int(cell / 10000) / 100, (cell % 10000) / 100
  }
}'
