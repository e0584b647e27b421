#!/usr/bin/env bash
# Builds the index fuzz target with clang into build-fuzz (or the directory
# given) and runs it for a fixed time over a copy of the seed corpus, so
# the inputs it finds never land in the repository. Crash inputs go to
# <build-dir>/fuzz-artifacts/. Exits non-zero when the fuzzer finds a
# crash, a hang, a leak or a broken invariant.
#
#   bash fuzz/run_index_fuzz.sh [build-dir] [seconds]     (defaults: build-fuzz 30)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${1:-build-fuzz}"
seconds="${2:-30}"

CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DINTRASTAT_FUZZ=ON -DINTRASTAT_TESTS=OFF
cmake --build "$build_dir" --target index_fuzz -j2

corpus="$(mktemp -d "${TMPDIR:-/tmp}/index-corpus.XXXXXX")"
trap 'rm -rf "$corpus"' EXIT
cp fuzz/corpus/index/* "$corpus"/
artifacts="$build_dir/fuzz-artifacts"
mkdir -p "$artifacts"

"$build_dir/fuzz/index_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$artifacts/" -print_final_stats=1 "$corpus"
