#!/usr/bin/env bash
# Configures and builds the workstation and its tests into build/ (or the
# directory given as the first argument; further arguments go to cmake).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${1:-build}"
shift || true
cmake -S . -B "$build_dir" -G Ninja "$@"
cmake --build "$build_dir"
