#!/usr/bin/env bash
# Starts the workstation binary in a real terminal (a private tmux server),
# reads its screen and checks that the banner is drawn in the 80x25 region
# and that the program ends cleanly with exit code 0. A second run in a
# terminal smaller than 80x25 must show the size message instead.
# Usage: terminal_smoke.sh PATH_TO_INTRASTAT
set -euo pipefail
program=$(realpath "$1")
work=$(mktemp -d)
socket="intrastat-smoke-$$"
# The program's last screen must stay readable after it ends.
printf 'set -g alternate-screen off\nset -g remain-on-exit on\n' >"$work/tmux.conf"
tmux_() { tmux -L "$socket" -f "$work/tmux.conf" "$@"; }
cleanup() { tmux_ kill-server 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

# run NAME WIDTH HEIGHT: runs the program until it ends; leaves the final
# screen in $work/NAME.screen and the first screen showing the banner in
# $work/NAME.first.
run() {
  local name=$1 width=$2 height=$3
  mkdir -p "$work/$name"
  tmux_ new-session -d -s "$name" -x "$width" -y "$height" \
    "cd '$work/$name' && INTRASTAT_DRIVES='$work/drives' LANG=C.UTF-8 TERM=screen '$program'; printf \"EXIT=%s\" \$?; sleep 60"
  local screen="" seen=""
  for _ in $(seq 1 100); do
    screen=$(tmux_ capture-pane -p -t "$name")
    [ -z "$seen" ] && grep -q -e "INTRASTAT" -e "za male" <<<"$screen" && seen=$screen
    grep -q "EXIT=" <<<"$screen" && break
    # Whatever screen the program shows, Esc leaves it.
    [ -n "$seen" ] && tmux_ send-keys -t "$name" Escape
    sleep 0.1
  done
  printf '%s\n' "$screen" >"$work/$name.screen"
  printf '%s\n' "${seen:-$screen}" >"$work/$name.first"
}

fail() { echo "FAIL: $*"; echo "--- screen:"; cat "$work/$2.screen"; exit 1; }

run normal 100 30
grep -q "EXIT=0" "$work/normal.screen" || fail "the program did not end with exit code 0" normal
# The banner is on the first row, starting at the first column.
head -n 1 "$work/normal.first" | grep -q "^INTRASTAT" || fail "no banner on the top row" normal

run small 70 20
grep -q "EXIT=0" "$work/small.screen" || fail "the program did not end cleanly in a small terminal" small
grep -q "80x25" "$work/small.first" || fail "no size message in a 70x20 terminal" small

# --help and --version answer without a terminal and touch no file.
mkdir -p "$work/quiet"
(cd "$work/quiet" && "$program" --help </dev/null | grep -q "Usage: intrastat") || { echo "FAIL: --help"; exit 1; }
(cd "$work/quiet" && "$program" --version </dev/null | grep -q "^intrastat ") || { echo "FAIL: --version"; exit 1; }
[ -z "$(ls -A "$work/quiet")" ] || { echo "FAIL: --help or --version wrote files"; exit 1; }

echo "terminal smoke test: 3 passed, 0 failed"
