#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds from scratch-ready
# sources into build/ and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
ctest --test-dir build --output-on-failure -j2
