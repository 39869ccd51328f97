# Shared pieces of the tests that run qlor under mpirun. Sourced.
# shellcheck shell=bash

# CI containers run as root; OpenMPI refuses that unless told.
export OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1
# OpenMPI's own allocations are not ours to check for leaks.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# Shared memory between the ranks of this machine; ob1 starts faster than
# probing for network libraries. A CI machine may choose otherwise.
export OMPI_MCA_pml="${OMPI_MCA_pml:-ob1}" OMPI_MCA_btl="${OMPI_MCA_btl:-self,vader}"

# mpirun quiet (no notices of its own), any number of ranks on this machine.
mpi_run() {
  local ranks="$1"
  shift
  "${MPIRUN:-mpirun}" -q -np "$ranks" --oversubscribe "$@"
}

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

is_output_file() {
  case "$1" in *.tmp | *.ktt | *.sup | *.cvm | *.err | *.csv) return 0 ;; esac
  return 1
}

# Every output file of EXPECTED is in WORK with the same bytes, and WORK
# holds no other output file.
same_outputs() {
  local label="$1" expected="$2" work="$3" f name
  for f in "$expected"/*; do
    name="$(basename "$f")"
    is_output_file "$name" || continue
    if [ ! -f "$work/$name" ]; then
      fail "$label: $name not written"
    elif ! cmp -s "$f" "$work/$name"; then
      fail "$label: $name differs: $(cmp "$f" "$work/$name" 2>&1 | head -1)"
    fi
  done
  for f in "$work"/*; do
    name="$(basename "$f")"
    is_output_file "$name" || continue
    [ -f "$expected/$name" ] || fail "$label: unexpected output file $name"
  done
}

# Runs "$@" in DIR as one process and under mpirun with RANKS ranks (in a
# copy of DIR made first), then compares exit status, standard output and
# standard error. Leaves the copies in DIR.one and DIR.mpi.
same_as_one_process() {
  local label="$1" dir="$2" ranks="$3"
  shift 3
  rm -rf "$dir.one" "$dir.mpi"
  cp -r "$dir" "$dir.one"
  cp -r "$dir" "$dir.mpi"
  local one_rc=0 mpi_rc=0
  (cd "$dir.one" && "$@" </dev/null >../one.out 2>../one.err) || one_rc=$?
  (cd "$dir.mpi" && mpi_run "$ranks" "$@" </dev/null >../mpi.out 2>../mpi.err) ||
    mpi_rc=$?
  [ "$one_rc" = "$mpi_rc" ] ||
    fail "$label: exit status $mpi_rc under mpirun, $one_rc as one process"
  cmp -s "$dir/../one.out" "$dir/../mpi.out" ||
    fail "$label: standard output differs: $(diff "$dir/../one.out" "$dir/../mpi.out" | head -5)"
  cmp -s "$dir/../one.err" "$dir/../mpi.err" ||
    fail "$label: standard error differs: $(diff "$dir/../one.err" "$dir/../mpi.err" | head -5)"
  last_rc="$mpi_rc"
}
