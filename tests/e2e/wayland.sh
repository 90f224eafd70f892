#!/usr/bin/env bash
# The player as a native Wayland client: weston's headless back end (software rendering, no GPU)
# on a black desktop, the player started on the demo movie with Qt's Wayland platform, and the
# compositor's own screenshot must show the skinned main window, exactly the size of the skin's
# main picture. Skips (status 77) where weston or its screenshot client is missing or weston
# cannot start here.
# Usage: wayland.sh PROGRAM_DIR   (RV_SCREEN_BOX names the rv_screen_box tool)
set -euo pipefail
program_dir=${1:?usage: wayland.sh PROGRAM_DIR}
screen_box=${RV_SCREEN_BOX:?RV_SCREEN_BOX must name rv_screen_box}
[[ -x "$program_dir/reelvista" ]] || { echo "no player in $program_dir" >&2; exit 1; }
for tool in weston weston-screenshooter; do
  command -v $tool >/dev/null || { echo "$tool is missing: skipping"; exit 77; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The compositor: its own runtime directory, no panel, no background picture, never idle.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
cat >"$work/weston.ini" <<'EOF'
[core]
idle-time=0
[shell]
background-color=0xff000000
background-image=none
panel-position=none
locking=false
[input-method]
path=/bin/true
EOF
socket=rv-wayland
# --debug lets a client other than weston's own take screenshots.
weston --backend=headless-backend.so --use-pixman --width=800 --height=600 --socket=$socket \
  --config="$work/weston.ini" --debug --log="$work/weston.log" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  [[ -S "$XDG_RUNTIME_DIR/$socket" ]] && break
  kill -0 "${pids[0]}" 2>/dev/null || break
  sleep 0.1
done
if [[ ! -S "$XDG_RUNTIME_DIR/$socket" ]]; then
  tail -5 "$work/weston.log" 2>/dev/null || true
  echo "weston's headless back end does not start here: skipping"
  exit 77
fi
export WAYLAND_DISPLAY=$socket
unset DISPLAY

cp -r "$program_dir" "$work/rv"
QT_QPA_PLATFORM=wayland "$work/rv/reelvista" "$work/rv/demo/demo.swf" >"$work/out.log" 2>&1 &
player=$!
pids+=($player)

# The main window is the skin's main picture; its size in the BMP header.
read -r want_w want_h < <(od -An -tu4 -j18 -N8 "$work/rv/skin/Default/main.bmp")
box=""
for attempt in $(seq 60); do
  if ! kill -0 $player 2>/dev/null; then
    cat "$work/out.log" >&2
    echo "FAIL: the player ended under Wayland" >&2
    exit 1
  fi
  shot_dir=$work/shot$attempt
  mkdir "$shot_dir"
  (cd "$shot_dir" && weston-screenshooter >/dev/null 2>&1) || true
  shot=$(ls "$shot_dir"/*.png 2>/dev/null | head -1 || true)
  if [[ -n "$shot" ]]; then
    read -r x y w h lit < <("$screen_box" "$shot")
    box="$w x $h at $x,$y ($lit pixels)"
    # Drawn whole: the window's size, and most of it not black.
    if ((w == want_w && h == want_h && lit > w * h / 2)); then
      echo "wayland: the main window shows, $box"
      exit 0
    fi
  fi
  sleep 0.5
done
cat "$work/out.log" >&2
echo "FAIL: no ${want_w} x ${want_h} window on the screen (last seen: ${box:-no screenshot})" >&2
exit 1
