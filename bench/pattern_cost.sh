#!/usr/bin/env bash
# The cost of one pattern (simulate, estimate, write) with one thread, for
# the scaling model of docs/cluster.md: complete spatial randomness in a
# 100 x 100 plot, coordinates on the 0.01 grid, t = 0.5 .. 25 by 0.5.
# Up to n = 20 000: (time of 99 simulations - time of 19) / 80, so the
# fixed costs of a run cancel. Beyond: half the time between the 1st and the 3rd
# pattern arriving in the temporary file, the run then stopped.
#
# Usage: bench/pattern_cost.sh [N ...]      (default: 2000 10000 100000)
# Environment: QLOR_BUILD (default <repo>/build-dev), PATTERN_SEED (20240)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/.." && pwd)"
build="${QLOR_BUILD:-$repo/build-dev}"
qlor="$build/src/cli/qlor"
seed="${PATTERN_SEED:-20240}"
[ -x "$qlor" ] || { echo "no $qlor" >&2; exit 1; }
work="$(mktemp -d "${TMPDIR:-/tmp}/qlor-pattern-cost.XXXXXX")"
job=""
trap '[ -n "$job" ] && kill "$job" 2>/dev/null; rm -rf "$work"' EXIT

now() { date +%s.%N; }
lines() { if [ -f "$1" ]; then wc -l <"$1"; else echo 0; fi; }

# Wall seconds of a whole run of N points with NSIM simulations.
whole_run() {
  local dir="$work/$1-$2"
  mkdir -p "$dir"
  "$repo/scripts/make-csr-pattern.sh" "$1" "$2" "$seed" >"$dir/p.dat"
  local start
  start="$(now)"
  (cd "$dir" && "$qlor" single p.dat --yes --seed "$seed" --progress 4 \
    --threads 1 >/dev/null 2>&1)
  awk -v a="$start" -v b="$(now)" 'BEGIN { print b - a }'
}

# Seconds per pattern: half the time from the arrival of pattern 0 to that
# of pattern 2 (50 lines each).
block_timing() {
  local dir="$work/$1-blocks"
  mkdir -p "$dir"
  "$repo/scripts/make-csr-pattern.sh" "$1" 19 "$seed" >"$dir/p.dat"
  (cd "$dir" && exec "$qlor" single p.dat --yes --seed "$seed" --progress 4 \
    --threads 1 >/dev/null 2>&1) &
  job=$!
  local t2="" t4=""
  while [ -z "$t4" ]; do
    local l
    l="$(lines "$dir/p.tmp")"
    [ -z "$t2" ] && [ "$l" -ge 50 ] && t2="$(now)"
    [ "$l" -ge 150 ] && t4="$(now)"
    kill -0 "$job" 2>/dev/null || break
    sleep 0.1
  done
  kill "$job" 2>/dev/null || true
  wait "$job" 2>/dev/null || true
  job=""
  awk -v a="$t2" -v b="$t4" 'BEGIN { print (b - a) / 2 }'
}

echo "machine: $(nproc) hardware threads, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
for n in "${@:-2000 10000 100000}"; do
  for size in $n; do
    if [ "$size" -le 20000 ]; then
      t19="$(whole_run "$size" 19)"
      t99="$(whole_run "$size" 99)"
      per="$(awk -v a="$t19" -v b="$t99" 'BEGIN { print (b - a) / 80 }')"
      how="(99 - 19 simulations) / 80"
    else
      per="$(block_timing "$size")"
      how="patterns 1 and 2 as they arrive"
    fi
    awk -v n="$size" -v p="$per" -v h="$how" \
      'BEGIN { printf "n = %6d: %9.4f s per pattern, one thread   [%s]\n", n, p, h }'
  done
done
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
