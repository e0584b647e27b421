#!/usr/bin/env bash
# Installs what the fuzz build needs beyond scripts/install-deps.sh: clang
# and its runtime libraries (libFuzzer and the sanitizers), when missing.
set -euo pipefail
exec bash "$(dirname "$0")/install-packages.sh" clang libclang-rt-14-dev
