#!/usr/bin/env bash
# Every golden case (or every COUNT-th from SHARD) under mpirun with three
# ranks: the files byte for byte against the golden ones, and the exit
# status, standard output and standard error those of one process. Every
# third case also runs with the default generator (and every sixth with
# --function g), and, without a direction, inhomogeneous (--intensity
# kernel), and, bivariate, under random labelling, its files compared with
# one process's. The cases take the estimator's instruction-set variants in
# turn (QLOR_ISA avx512, avx2, baseline): each writes the golden files.
#
# Usage: golden_mpi.sh QLOR GOLDEN_DIR [SHARD COUNT]
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=mpi_common.sh
. "$here/mpi_common.sh"

qlor="$(realpath "$1")" golden="$2" shard="${3:-0}" count="${4:-1}"
work="$(mktemp -d "${TMPDIR:-/tmp}/qlor-mpi-golden.XXXXXX")"
trap 'rm -rf "$work"' EXIT

index=0 ran=0
while IFS=$'\t' read -r name seed sig dir rnd; do
  case "$name" in '' | '#'*) continue ;; esac
  index=$((index + 1))
  ((index % count == shard)) || continue
  ran=$((ran + 1))
  case_dir="$golden/$name"
  mkdir -p "$work/$name/in"
  cp "$case_dir/$name.dat" "$work/$name/in/"
  # One and two worker threads per rank in turn, and each variant.
  threads=$((index % 2 + 1))
  isas=(avx512 avx2 baseline)
  export QLOR_ISA="${isas[index % 3]}"
  same_as_one_process "$name ($QLOR_ISA)" "$work/$name/in" 3 "$qlor" single "$name.dat" \
    --yes --seed "$seed" --generator classic --significance "$sig" --direction "$dir" \
    --randomize "$rnd" --threads "$threads"
  unset QLOR_ISA
  want_rc=0
  [ -f "$case_dir/message.txt" ] && want_rc=1
  [ "$last_rc" = "$want_rc" ] || fail "$name: exit status $last_rc, want $want_rc"
  same_outputs "$name" "$case_dir" "$work/$name/in.mpi"
  # Every third case again with the default generator, every other one of
  # them with the pair correlation function: the files of three ranks those
  # of one process.
  if ((index % 3 == 0)); then
    function=L
    ((index % 2 == 0)) && function=g
    same_as_one_process "$name (philox, $function)" "$work/$name/in" 3 \
      "$qlor" single "$name.dat" --yes --seed "$seed" --significance "$sig" \
      --direction "$dir" --randomize "$rnd" --threads "$threads" \
      --function "$function"
    same_outputs "$name (philox, $function)" "$work/$name/in.one" \
      "$work/$name/in.mpi"
    # And inhomogeneous, with its kernel intensity, where no direction is
    # asked for.
    if [ "$dir" = 0 ]; then
      same_as_one_process "$name (philox, $function, kernel)" "$work/$name/in" 3 \
        "$qlor" single "$name.dat" --yes --seed "$seed" --significance "$sig" \
        --randomize "$rnd" --threads "$threads" --function "$function" \
        --intensity kernel
      same_outputs "$name (philox, $function, kernel)" "$work/$name/in.one" \
        "$work/$name/in.mpi"
    fi
    # And bivariate cases under random labelling, their patterns saved.
    if [ "$(awk 'NR == 2 { print NF; exit }' "$work/$name/in/$name.dat")" = 3 ]; then
      same_as_one_process "$name (philox, $function, labels)" "$work/$name/in" 3 \
        "$qlor" single "$name.dat" --yes --seed "$seed" --significance "$sig" \
        --direction "$dir" --threads "$threads" --function "$function" \
        --null labels --save-patterns patterns.csv
      same_outputs "$name (philox, $function, labels)" "$work/$name/in.one" \
        "$work/$name/in.mpi"
    fi
  fi
done <"$golden/cases.tsv"

echo "$ran golden case(s) under mpirun, $failures failure(s)"
[ "$ran" -gt 0 ] && [ "$failures" -eq 0 ]
