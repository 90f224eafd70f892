#!/usr/bin/env bash
# The views under a real X server: Ctrl+F covers the screen, a double click calls up the tool bar
# at its saved place, the bar is dragged by its background, Escape brings the skinned window
# back and closes the bar, and the bar's new place is saved on closing.
# Usage: xvfb_views.sh PROGRAM_DIR
set -euo pipefail
program_dir=${1:?usage: xvfb_views.sh PROGRAM_DIR}
source "$(dirname "$0")/lib/xvfb_player.sh"
start_player_under_x "$program_dir" \
  's/^left=100$/left=140/; s/^top=100$/top=60/; s/^form6left=.*/form6left=300/; s/^form6top=.*/form6top=20/'
geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; echo "$X,$Y ${WIDTH}x$HEIGHT"; }

sleep 0.5
xdotool windowfocus --sync "$window" 2>/dev/null || true
[[ "$(geometry "$window")" == "140,60 "* ]] || fail "window at $(geometry "$window"), wanted 140,60"

send_key ctrl+f || fail "Ctrl+F could not be sent"
sleep 0.5
[[ "$(geometry "$window")" == "0,0 1024x768" ]] || fail "full screen is $(geometry "$window")"

xdotool mousemove 512 384 click --repeat 2 --delay 60 1
bar=""
for _ in $(seq 20); do
  bar=$(xdotool search --onlyvisible --name '^gongjutiao$' 2>/dev/null | head -1 || true)
  [[ -n "$bar" ]] && break
  sleep 0.1
done
if [[ -z "$bar" ]]; then
  fail "no tool bar after a double click"
else
  [[ "$(geometry "$bar")" == "300,20 225x46" ]] || fail "tool bar at $(geometry "$bar")"
  # Its background, right of the read-outs: dragged 40 to the right and 30 down.
  xdotool mousemove 460 63 mousedown 1 mousemove 470 70 mousemove 490 85 mousemove 500 93 mouseup 1
  sleep 0.3
  [[ "$(geometry "$bar")" == "340,50 "* ]] || fail "dragged tool bar at $(geometry "$bar")"
fi

# Typed where the keyboard is: without a window manager, on the bar under the pointer.
xdotool key Escape
sleep 0.5
[[ "$(geometry "$window")" == "140,60 "* ]] || fail "after Escape the window is at $(geometry "$window")"
[[ -z "$(xdotool search --onlyvisible --name '^gongjutiao$' 2>/dev/null || true)" ]] ||
  fail "the tool bar stayed up in the normal view"

xdotool key ctrl+x
expect_player_closed

config=$(cat "$dir/config/config.ini")
for line in view=normalview form6left=340 form6top=50; do
  grep -qx "$line" <<<"$config" || fail "config.ini: $line missing"
done

if ((failures)); then
  cat "$work/out.log" >&2
  exit 1
fi
echo "xvfb views: all checks passed"
