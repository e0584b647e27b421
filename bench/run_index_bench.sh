#!/usr/bin/env bash
# Runs the index engine benchmark and counts its system calls.
#
#   bash bench/run_index_bench.sh [build-dir]     (default: build-ibench)
#
# Builds index_bench into the build directory (RelWithDebInfo) when it is
# not there, then for each sub-benchmark (build: 1,000,000 keys against
# `LC_ALL=C sort`; seek: 1,000,000 seeks exclusive and shared; append:
# 100,000 shared appends with three indexes):
#  1. the timed figures, each the best of 3 runs, with the load average of
#     the machine before the run;
#  2. when strace is installed, the same work once more under
#     `strace -c -f` (the files prepared outside strace, no diagnostic
#     figures, no sort), printing the calls per operation of pread64,
#     pwrite64, fcntl and the fstat family, and of all system calls
#     together. For the seeks and the appends a second count of a run with
#     a single operation is taken off, so that opening the files, creating
#     them and the walk that brings every page into the cache do not count;
#     200,000 seeks and 20,000 appends are counted (strace slows every
#     call down many times over: its timings are not the figures). The
#     build is one operation: its calls are divided by the keys.
# The machine may be shared with others: compare best runs, not single
# ones, and the processor time beside the elapsed time.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${1:-build-ibench}"
records=1000000
seeks=1000000
appends=100000
counted_seeks=200000
counted_appends=20000

bench="$build_dir/bench/index_bench"
if [ ! -x "$bench" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build_dir" --target index_bench -j2
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/index-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

have_strace=yes
command -v strace >/dev/null 2>&1 || have_strace=no

load() { echo "   (load average: $(cut -d' ' -f1-3 /proc/loadavg))"; }

# Prints the calls per operation from a `strace -c` summary, less those of
# a baseline summary when one is given (/dev/null: none). The fstat family
# is counted together: the C library may use fstat, newfstatat or statx
# for the same fstat().
per_operation() {
  local summary="$1" baseline="$2" what="$3" unit="$4" operations="$5"
  awk -v what="$what" -v unit="$unit" -v ops="$operations" '
    # summary rows: % time, seconds, usecs/call, calls, [errors,] syscall
    $1 ~ /^[0-9.]+$/ && NF >= 5 && $NF != "total" {
      sign = FILENAME == ARGV[1] ? 1 : -1
      name = $NF; calls = sign * $4
      total += calls
      if (name == "pread64" || name == "pwrite64" || name == "fcntl") n[name] += calls
      else if (name == "fstat" || name == "newfstatat" || name == "statx" || name == "fstatat64") n["fstat"] += calls
    }
    END {
      printf "   %s syscalls per %s: pread64 %.3f  pwrite64 %.3f  fcntl %.3f  fstat %.3f  all %.3f\n",
             what, unit, n["pread64"] / ops, n["pwrite64"] / ops, n["fcntl"] / ops, n["fstat"] / ops, total / ops
    }' "$summary" "$baseline"
}

# strace -c -f over one run of the benchmark; the summary goes to $1.
counted() {
  local summary="$1"
  shift
  strace -c -f -o "$summary" "$bench" "$@" --runs 1 --figures-only >/dev/null
}

echo "== build: IndexList::create over $records records against LC_ALL=C sort of the same keys"
load
"$bench" build --records "$records" --runs 3 --dir "$work/build"
if [ "$have_strace" = yes ]; then
  counted "$work/build.strace" build --records "$records" --dir "$work/build" --no-fill --no-sort
  per_operation "$work/build.strace" /dev/null "build" "1000 keys" "$((records / 1000))"
fi

echo "== seek: $seeks seeks of existing keys, each with its record read"
"$bench" fill --records "$records" --dir "$work/seek"
load
"$bench" seek --records "$records" --seeks "$seeks" --runs 3 --dir "$work/seek" --no-fill
if [ "$have_strace" = yes ]; then
  for mode in exclusive shared; do
    for n in "$counted_seeks" 1; do
      counted "$work/seek-$mode-$n.strace" seek --records "$records" --seeks "$n" --dir "$work/seek" --no-fill \
        --only "$mode"
    done
    per_operation "$work/seek-$mode-$counted_seeks.strace" "$work/seek-$mode-1.strace" "seek $mode" "seek" \
      "$((counted_seeks - 1))"
  done
fi

echo "== append: $appends shared appends with three indexes"
load
"$bench" append --count "$appends" --runs 3 --dir "$work/append"
if [ "$have_strace" = yes ]; then
  for n in "$counted_appends" 1; do
    counted "$work/append-$n.strace" append --count "$n" --dir "$work/append"
  done
  per_operation "$work/append-$counted_appends.strace" "$work/append-1.strace" "append shared, 3 indexes" "append" \
    "$((counted_appends - 1))"
fi

if [ "$have_strace" = no ]; then
  echo "== strace is not installed: no system call counts"
fi
