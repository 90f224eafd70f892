#!/usr/bin/env bash
# The player under a real X server: its window appears at the saved place, Ctrl+L and Ctrl+X
# typed with xdotool reach it, and the settings it writes on closing say so.
# Usage: xvfb_keys.sh PROGRAM_DIR
set -euo pipefail
program_dir=${1:?usage: xvfb_keys.sh PROGRAM_DIR}
source "$(dirname "$0")/lib/xvfb_player.sh"
start_player_under_x "$program_dir" \
  's/^left=100$/left=140/; s/^top=100$/top=60/'

sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
[[ "$X" == 140 && "$Y" == 60 ]] || fail "window at $X,$Y, wanted 140,60"

xdotool windowfocus --sync "$window" 2>/dev/null || true
send_key ctrl+l || fail "Ctrl+L could not be sent"  # "Movie loop" off
sleep 0.3
send_key ctrl+x || fail "Ctrl+X could not be sent"
expect_player_closed

config=$(cat "$dir/config/config.ini")
grep -qx 'left=140' <<<"$config" || fail "config.ini: left=140 missing"
grep -qx 'movieloop=0' <<<"$config" || fail "config.ini: movieloop=0 missing (Ctrl+L)"
tr -d '\r' <"$dir/config/listfile.flt" | grep -qxF "$movie" || fail "listfile.flt does not hold the movie"

if ((failures)); then
  cat "$work/out.log" >&2
  exit 1
fi
echo "xvfb keys: all checks passed"
