#!/usr/bin/env bash
# Runs the workstation on the demo database: installs what is missing,
# builds, prepares the demo directory and starts the program in it.
# INTRASTAT_DEMO_DIR chooses the directory (default: the user's data
# directory); any argument is passed to the program as its start argument.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build >/dev/null
program="$PWD/build/intrastat"
data_home="${XDG_DATA_HOME:-$HOME/.local/share}"
demo_dir="${INTRASTAT_DEMO_DIR:-$data_home/intrastat/demo}"
mkdir -p "$demo_dir"
cd "$demo_dir"
exec "$program" "$@"
