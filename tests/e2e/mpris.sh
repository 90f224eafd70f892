#!/usr/bin/env bash
# Drives the real player over MPRIS on a private session bus: status, play/pause, loop mode,
# volume, metadata and Quit; then reads what the player saved when it closed.
# Usage: mpris.sh PROGRAM_DIR
set -euo pipefail

if [[ "${1:-}" != --on-bus ]]; then
  program_dir=${1:?usage: mpris.sh PROGRAM_DIR}
  [[ -x "$program_dir/reelvista" ]] || { echo "no player in $program_dir" >&2; exit 1; }
  command -v dbus-run-session >/dev/null || { echo "dbus-run-session is missing" >&2; exit 1; }
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cp -r "$program_dir" "$work/rv"
  dbus-run-session -- bash "$0" --on-bus "$work/rv"
  exit $?
fi

dir=$2
name=org.mpris.MediaPlayer2.reelvista
path=/org/mpris/MediaPlayer2
player_if=org.mpris.MediaPlayer2.Player
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

call() { dbus-send --session --print-reply --dest=$name $path "$@"; }
get() {  # get INTERFACE PROPERTY -> the value's text
  call org.freedesktop.DBus.Properties.Get string:"$1" string:"$2" |
    sed -n 's/^ *variant *\(string\|double\|boolean\|int64\) *//p' | tr -d '"'
}
expect() {  # expect WHAT ACTUAL WANTED
  [[ "$2" == "$3" ]] || fail "$1: got '$2', wanted '$3'"
}
wait_for() {  # wait_for SECONDS COMMAND...
  local end=$((SECONDS + $1)); shift
  until "$@"; do
    ((SECONDS < end)) || return 1
    sleep 0.1
  done
}
owned() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:$name 2>/dev/null | grep -q 'boolean true'
}

movie="$dir/demo/demo.swf"
dbus-monitor --session "type='signal',member='PropertiesChanged'" >"$dir/signals.log" 2>&1 &
monitor=$!
QT_QPA_PLATFORM=offscreen "$dir/reelvista" "$movie" >"$dir/out.log" 2>&1 &
pid=$!
trap 'kill $pid $monitor 2>/dev/null || true' EXIT

wait_for 20 owned || { cat "$dir/out.log" >&2; echo "FAIL: the player never took $name" >&2; exit 1; }

expect Identity "$(get org.mpris.MediaPlayer2 Identity)" Reelvista
expect PlaybackStatus "$(get $player_if PlaybackStatus)" Playing
call org.freedesktop.DBus.Properties.Get string:$player_if string:Metadata | grep -q '"demo"' ||
  fail "Metadata has no title demo"

# A pause shorter than a tick is still announced: each call's change is signalled before its
# reply, so the monitor sees Paused and then Playing, in that order.
call $player_if.PlayPause >/dev/null
expect "PlaybackStatus after PlayPause" "$(get $player_if PlaybackStatus)" Paused
call $player_if.Play >/dev/null
expect "PlaybackStatus after Play" "$(get $player_if PlaybackStatus)" Playing
statuses() { grep -o '"Paused"\|"Playing"' "$dir/signals.log" | tr -d '"' | tr '\n' ' '; }
paused_then_playing() { [[ "$(statuses)" == *"Paused Playing " ]]; }
wait_for 5 paused_then_playing || fail "PropertiesChanged: wanted Paused then Playing, got '$(statuses)'"

expect LoopStatus "$(get $player_if LoopStatus)" Track
call org.freedesktop.DBus.Properties.Set string:$player_if string:LoopStatus \
  variant:string:Playlist >/dev/null
expect "LoopStatus after setting Playlist" "$(get $player_if LoopStatus)" Playlist

call org.freedesktop.DBus.Properties.Set string:$player_if string:Volume variant:double:0.5 \
  >/dev/null
volume=$(get $player_if Volume)
[[ "$volume" == 0.457* ]] || fail "Volume 0.5 should pick the 30000 preset, got $volume"

call org.mpris.MediaPlayer2.Quit >/dev/null
if ! wait_for 20 bash -c "! kill -0 $pid 2>/dev/null"; then
  fail "the player did not close on Quit"
  kill $pid
fi
wait $pid || fail "the player ended with status $?"
kill $monitor 2>/dev/null || true
trap - EXIT

config=$(cat "$dir/config/config.ini")
grep -qx 'listloop=1' <<<"$config" || fail "config.ini: listloop=1 missing"
grep -qx 'movieloop=0' <<<"$config" || fail "config.ini: movieloop=0 missing"
grep -qx 'fileindex=0' <<<"$config" || fail "config.ini: fileindex=0 missing"
tr -d '\r' <"$dir/config/listfile.flt" | grep -qxF "$movie" || fail "listfile.flt does not hold the movie"

if ((failures)); then
  echo "--- player output" >&2
  cat "$dir/out.log" >&2
  exit 1
fi
echo "mpris: all checks passed"
