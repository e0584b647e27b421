#!/usr/bin/env bash
# Installs the Debian packages the workstation needs to build, run and test,
# when any is missing.
set -euo pipefail
exec bash "$(dirname "$0")/install-packages.sh" \
  g++ cmake ninja-build pkg-config libncurses-dev libgtest-dev libgmock-dev tmux locales python3-dbf
