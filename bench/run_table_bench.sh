#!/usr/bin/env bash
# Runs the table engine benchmark and counts its system calls.
#
#   bash bench/run_table_bench.sh [build-dir]     (default: build-bench)
#
# Builds table_bench into the build directory (RelWithDebInfo) when it is
# not there, then:
#  1. the timed figures: `scan` (1,000,000 records, exclusive and shared)
#     and `append` (100,000 shared appends), each the best of 3 runs;
#  2. when strace is installed, every timed walk once more under
#     `strace -c -f`, with the table prepared outside strace, printing the
#     calls per record (per append) of pread64, pwrite64, fcntl and the
#     fstat family, and of all system calls together. strace slows the
#     program down many times over: its timings are not the figures.
# The machine may be shared with others: compare best runs, not single ones.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${1:-build-bench}"
records=1000000
appends=100000

bench="$build_dir/bench/table_bench"
if [ ! -x "$bench" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build_dir" --target table_bench -j2
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/table-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

echo "== timings (best of 3)"
"$bench" scan --records "$records" --runs 3 --dir "$work/scan"
"$bench" append --count "$appends" --runs 3 --dir "$work/append"

if ! command -v strace >/dev/null 2>&1; then
  echo "== strace is not installed: no system call counts"
  exit 0
fi

# Prints the calls per operation from a `strace -c` summary. The fstat
# family is counted together: the C library may use fstat, newfstatat or
# statx for the same fstat().
per_operation() {
  local summary="$1" what="$2" operations="$3"
  awk -v what="$what" -v ops="$operations" '
    # summary rows: % time, seconds, usecs/call, calls, [errors,] syscall
    $1 ~ /^[0-9.]+$/ && NF >= 5 && $NF != "total" {
      name = $NF; calls = $4
      total += calls
      if (name == "pread64" || name == "pwrite64" || name == "fcntl") n[name] += calls
      else if (name == "fstat" || name == "newfstatat" || name == "statx" || name == "fstatat64") n["fstat"] += calls
    }
    END {
      printf "%s syscalls per %s: pread64 %.3f  pwrite64 %.3f  fcntl %.3f  fstat %.3f  all %.3f\n",
             what, (what ~ /append/ ? "append" : "record"),
             n["pread64"] / ops, n["pwrite64"] / ops, n["fcntl"] / ops, n["fstat"] / ops, total / ops
    }' "$summary"
}

echo "== system calls (strace -c -f, one run each)"
"$bench" fill --records "$records" --dir "$work/counted"
for mode in exclusive shared; do
  strace -c -f -o "$work/scan-$mode.strace" \
    "$bench" scan --records "$records" --runs 1 --dir "$work/counted" --only "$mode" --no-fill >/dev/null
  per_operation "$work/scan-$mode.strace" "scan $mode" "$records"
done
strace -c -f -o "$work/append.strace" \
  "$bench" append --count "$appends" --runs 1 --dir "$work/counted" >/dev/null
per_operation "$work/append.strace" "append shared" "$appends"
