# Sourced by the scripts that drive the player under a real X server. `start_player_under_x
# PROGRAM_DIR SED_SCRIPT` copies the program directory into a scratch folder, edits its
# config.ini with SED_SCRIPT, starts Xvfb and the player on the demo movie, and waits for the main
# window. It sets `work`, `dir`, `player` and `window`; `send_key`, `fail` and `failures` follow.

start_player_under_x() {
  local program_dir=$1 settings_edit=$2
  [[ -x "$program_dir/reelvista" ]] || { echo "no player in $program_dir" >&2; exit 1; }
  for tool in Xvfb xdotool; do
    command -v $tool >/dev/null || { echo "$tool is missing" >&2; exit 1; }
  done

  work=$(mktemp -d)
  pids=()
  trap cleanup EXIT
  cp -r "$program_dir" "$work/rv"
  dir=$work/rv
  sed -i "$settings_edit" "$dir/config/config.ini"

  exec {fd}<> <(:)
  Xvfb -displayfd $fd -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  read -r -t 20 -u $fd display || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=:$display
  unset WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb
  # Xvfb names its display before every client can reach it on a loaded machine: wait until one
  # does, and give the player a second start if it still could not connect.
  for _ in $(seq 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
  done

  movie="$dir/demo/demo.swf"
  for attempt in 1 2; do
    "$dir/reelvista" "$movie" >"$work/out.log" 2>&1 &
    player=$!
    pids+=($player)
    sleep 1
    if kill -0 $player 2>/dev/null || ! grep -q "could not connect to display" "$work/out.log"; then
      break
    fi
    echo "the player could not reach display $DISPLAY (attempt $attempt)" >&2
    sleep 1
  done

  # The main window, once the same one is found twice running: windows shown for a moment while
  # the player starts may match the search too, and be gone when keys are sent to them.
  window=""
  for _ in $(seq 100); do
    local first
    first=$(find_window)
    sleep 0.2
    window=$(find_window)
    [[ -n "$window" && "$window" == "$first" ]] && break
    window=""
  done
  [[ -n "$window" ]] || { cat "$work/out.log" >&2; echo "FAIL: no window" >&2; exit 1; }
}

cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}

find_window() { xdotool search --onlyvisible --name '^Reelvista$' 2>/dev/null | head -1 || true; }

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

# After Ctrl+X: the player must end within 10 s, and with status 0.
expect_player_closed() {
  for _ in $(seq 100); do
    kill -0 $player 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 $player 2>/dev/null; then
    fail "Ctrl+X did not close the player"
  else
    wait $player || fail "the player ended with status $?"
  fi
}
