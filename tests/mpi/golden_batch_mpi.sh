#!/usr/bin/env bash
# The batch golden cases under mpirun with three ranks: entries in order,
# each entry's patterns spread over the ranks, the error file and every
# result file byte for byte, output and exit status those of one process.
# Then the commands that run on rank 0 alone, and a question that cannot
# be asked under mpirun.
#
# Usage: golden_batch_mpi.sh QLOR BATCH_CASES_DIR GOLDEN_DIR
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=mpi_common.sh
. "$here/mpi_common.sh"

qlor="$(realpath "$1")" cases="$2" golden="$3"
work="$(mktemp -d "${TMPDIR:-/tmp}/qlor-mpi-batch.XXXXXX")"
trap 'rm -rf "$work"' EXIT

ran=0
while IFS=$'\t' read -r name command seed answer; do
  case "$name" in '' | '#'*) continue ;; esac
  ran=$((ran + 1))
  mkdir -p "$work/$name"
  cp -r "$cases/$name/input" "$work/$name/in"
  args=()
  case "$command" in
    autorun) ;;
    *) args=("$command" batch.bat) ;;
  esac
  case "$answer" in
    yes) args+=(--yes) ;;
    no) args+=(--no) ;;
  esac
  same_as_one_process "$name" "$work/$name/in" 3 "$qlor" "${args[@]}" \
    --seed "$seed" --generator classic --threads 1
  same_outputs "$name" "$cases/$name/expected" "$work/$name/in.mpi"
done <"$cases/cases.tsv"

# Commands without patterns run on rank 0 alone; the others print nothing.
u=u_csr19_int
mkdir -p "$work/rank0/in"
cp "$golden/$u/$u.dat" "$golden/$u/$u.tmp" "$work/rank0/in/"
same_as_one_process significance "$work/rank0/in" 3 "$qlor" significance \
  "$u.tmp" --significance 3
same_outputs significance "$golden/${u}__sigonly_3" "$work/rank0/in.mpi"
for args in "settings" "open $u.dat" "precheck missing.bat" "--help" \
  "--version" "single --threads x"; do
  # shellcheck disable=SC2086 # the words of each command line
  same_as_one_process "$args" "$work/rank0/in" 3 "$qlor" $args
  ran=$((ran + 2))
done

# The parameter summary cannot be answered at mpirun's pipe: the run says
# how to answer it and stops, instead of waiting.
mkdir -p "$work/ask"
cp "$golden/$u/$u.dat" "$work/ask/"
rc=0
(cd "$work/ask" && timeout 60 "${MPIRUN:-mpirun}" -q -np 2 --oversubscribe "$qlor" single \
  "$u.dat" --seed 1 >out.txt 2>err.txt) || rc=$?
[ "$rc" = 1 ] || fail "unanswered summary: exit status $rc, want 1"
grep -q -- "--yes" "$work/ask/err.txt" || fail "unanswered summary: no hint at --yes"
grep -q "PROCEED" "$work/ask/out.txt" ||
  fail "unanswered summary: the summary was not shown"
ls "$work/ask"/*.tmp >/dev/null 2>&1 && fail "unanswered summary: a file was written"
ran=$((ran + 1))

echo "$ran batch and rank-0 case(s) under mpirun, $failures failure(s)"
[ "$failures" -eq 0 ]
