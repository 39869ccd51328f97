#!/usr/bin/env bash
# A job that loses a rank in the middle of a run (SIGKILL, as when a node is
# lost), one stopped by Ctrl-C at mpirun, and ones whose rank 0 or rank 1
# gets SIGTERM (a batch system's preemption): the job ends non-zero (143,
# with its message, for SIGTERM at a rank), the temporary file holds whole
# patterns only (a byte prefix of one process's file), no result or test
# file is written and the sample file is untouched. Run again with
# --resume, the job writes the files of the uninterrupted run.
#
# Usage: killed_rank_mpi.sh QLOR MAKE_PATTERN_SCRIPT
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=mpi_common.sh
. "$here/mpi_common.sh"

qlor="$(realpath "$1")" make_pattern="$2"
work="$(mktemp -d "${TMPDIR:-/tmp}/qlor-mpi-kill.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# 50 distances a pattern, each line "t value" and CR LF.
lines_per_pattern=50
# Enough patterns that a signal sent after the third one arrives well
# before the last, however fast the estimator runs.
"$make_pattern" 2000 999 5 >"$work/p.dat"
args=(single p.dat --yes --seed 7 --significance 3 --progress 4 --threads 1)
mkdir "$work/one"
cp "$work/p.dat" "$work/one/"
(cd "$work/one" && "$qlor" "${args[@]}" >/dev/null 2>&1) || fail "one process failed"

line_count() { if [ -f "$1" ]; then wc -l <"$1"; else echo 0; fi; }

# The pid of rank RANK among mpirun's children.
rank_pid() {
  local parent="$1" rank="$2" pid
  for pid in $(pgrep -P "$parent"); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null |
      grep -qx "OMPI_COMM_WORLD_RANK=$rank"; then
      echo "$pid"
      return 0
    fi
  done
  return 1
}

# Runs the job in DIR and, once its temporary file holds three patterns,
# sends SIGNAL to the process that STOP_WHAT (rank1 or mpirun) names.
run_and_stop() {
  local label="$1" stop_what="$2" signal="$3" dir="$work/$1"
  mkdir "$dir"
  cp "$work/p.dat" "$dir/"
  (cd "$dir" && exec "${MPIRUN:-mpirun}" -q -np 3 --oversubscribe "$qlor" \
    "${args[@]}" </dev/null >out.txt 2>err.txt) &
  local job=$! waited=0 target=""
  while [ "$(line_count "$dir/p.tmp")" -lt $((3 * lines_per_pattern)) ]; do
    sleep 0.05
    waited=$((waited + 1))
    if [ "$waited" -gt 1200 ] || ! kill -0 "$job" 2>/dev/null; then
      fail "$label: the run did not get going"
      wait "$job"
      return
    fi
  done
  case "$stop_what" in
    mpirun) target="$job" ;;
    rank*)
      target="$(rank_pid "$job" "${stop_what#rank}")" ||
        { fail "$label: $stop_what not found"; kill "$job"; wait "$job"; return; }
      ;;
  esac
  kill "-$signal" "$target"
  local rc=0
  wait "$job" || rc=$?
  [ "$rc" -ne 0 ] || fail "$label: mpirun ended with status 0"
  local tmp="$dir/p.tmp" lines
  lines="$(wc -l <"$tmp")"
  ((lines % lines_per_pattern == 0)) || fail "$label: $lines lines, not whole patterns"
  [ "$(tail -c 2 "$tmp" | od -An -c | tr -d ' ')" = '\r\n' ] ||
    fail "$label: the temporary file does not end with a line end"
  cmp -s "$tmp" <(head -c "$(stat -c %s "$tmp")" "$work/one/p.tmp") ||
    fail "$label: the temporary file is not the start of one process's file"
  [ "$(stat -c %s "$tmp")" -lt "$(stat -c %s "$work/one/p.tmp")" ] ||
    fail "$label: the run was not stopped before its end"
  for ext in ktt sup cvm; do
    [ ! -e "$dir/p.$ext" ] || fail "$label: p.$ext written"
  done
  cmp -s "$dir/p.dat" "$work/p.dat" || fail "$label: the sample file changed"
  if [ "$signal" = TERM ] && [ "$stop_what" != mpirun ]; then
    [ "$rc" -eq 143 ] || fail "$label: status $rc, not 143"
    grep -q "interrupted after .* of 999 patterns: run again with --resume" \
      "$dir/out.txt" "$dir/err.txt" || fail "$label: no 'interrupted' message"
  fi
  echo "$label: status $rc, $((lines / lines_per_pattern)) whole patterns kept"
  # The resumed job takes the recorded seed and ends as if never stopped.
  (cd "$dir" && mpi_run 3 "$qlor" single p.dat --yes --significance 3 \
    --threads 1 --resume </dev/null >out2.txt 2>err2.txt) ||
    fail "$label: the resumed job failed: $(cat "$dir/err2.txt")"
  for ext in tmp ktt sup cvm; do
    cmp -s "$dir/p.$ext" "$work/one/p.$ext" ||
      fail "$label: resumed p.$ext differs from the uninterrupted run's"
  done
}

run_and_stop killed_rank rank1 KILL
run_and_stop interrupted mpirun INT
run_and_stop preempted_rank0 rank0 TERM
run_and_stop preempted_rank1 rank1 TERM

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
