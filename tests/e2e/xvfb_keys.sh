#!/usr/bin/env bash
# The player under a real X server: its window appears at the saved place, Ctrl+L and Ctrl+X
# typed with xdotool reach it, and the settings it writes on closing say so.
# Usage: xvfb_keys.sh PROGRAM_DIR
set -euo pipefail
program_dir=${1:?usage: xvfb_keys.sh PROGRAM_DIR}
[[ -x "$program_dir/reelvista" ]] || { echo "no player in $program_dir" >&2; exit 1; }
for tool in Xvfb xdotool; do
  command -v $tool >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
cp -r "$program_dir" "$work/rv"
dir=$work/rv
sed -i 's/^left=100$/left=140/; s/^top=100$/top=60/' "$dir/config/config.ini"

exec {fd}<> <(:)
Xvfb -displayfd $fd -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 20 -u $fd display || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$display
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

movie="$dir/demo/demo.swf"
"$dir/reelvista" "$movie" >"$work/out.log" 2>&1 &
player=$!
pids+=($player)

# The main window, once the same one is found twice running: windows shown for a moment while the
# player starts may match the search too, and be gone when keys are sent to them.
find_window() { xdotool search --onlyvisible --name '^Reelvista$' 2>/dev/null | head -1 || true; }
window=""
for _ in $(seq 100); do
  first=$(find_window)
  sleep 0.2
  window=$(find_window)
  [[ -n "$window" && "$window" == "$first" ]] && break
  window=""
done
[[ -n "$window" ]] || { cat "$work/out.log" >&2; echo "FAIL: no window" >&2; exit 1; }

# Sends keys to the main window, finding it again if the one we had went away.
send_key() {
  for _ in $(seq 5); do
    xdotool key --window "$window" "$1" 2>/dev/null && return 0
    sleep 0.2
    window=$(find_window)
  done
  return 1
}

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
[[ "$X" == 140 && "$Y" == 60 ]] || fail "window at $X,$Y, wanted 140,60"

xdotool windowfocus --sync "$window" 2>/dev/null || true
send_key ctrl+l || fail "Ctrl+L could not be sent"  # "Movie loop" off
sleep 0.3
send_key ctrl+x || fail "Ctrl+X could not be sent"
for _ in $(seq 100); do
  kill -0 $player 2>/dev/null || break
  sleep 0.1
done
if kill -0 $player 2>/dev/null; then
  fail "Ctrl+X did not close the player"
else
  wait $player || fail "the player ended with status $?"
fi

config=$(cat "$dir/config/config.ini")
grep -qx 'left=140' <<<"$config" || fail "config.ini: left=140 missing"
grep -qx 'movieloop=0' <<<"$config" || fail "config.ini: movieloop=0 missing (Ctrl+L)"
tr -d '\r' <"$dir/config/listfile.flt" | grep -qxF "$movie" || fail "listfile.flt does not hold the movie"

if ((failures)); then
  cat "$work/out.log" >&2
  exit 1
fi
echo "xvfb keys: all checks passed"
