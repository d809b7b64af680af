# Shared by the desktop checks: a virtual X screen with a real window manager, and helpers that
# read what a user would see. Source it; call start_desktop first.
set -euo pipefail

TARNIVA=${1:?usage: $0 path/to/tarniva}
WORK=$(mktemp -d)
ARTIFACTS=${ARTIFACTS:-$(dirname "$TARNIVA")/test-artifacts}
mkdir -p "$ARTIFACTS"
export XDG_CONFIG_HOME=$WORK/config
export XDG_RUNTIME_DIR=$WORK/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
STORE=$XDG_CONFIG_HOME/Orsolen/Lights.reg
pids=()

cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  local name
  name=$(basename "$0" .sh)
  if [ -n "${DISPLAY:-}" ]; then
    local shot="$ARTIFACTS/$name-failure.png"
    import -window root "$shot" 2>/dev/null && echo "screenshot kept: $shot" >&2
  fi
  if [ -s "$WORK/tarniva.log" ]; then
    echo "the program's output:" >&2
    sed 's/^/  /' "$WORK/tarniva.log" >&2
  fi
  # The pictures the failed comparison looked at.
  for shot in "$WORK"/shot-*.png; do
    [ -e "$shot" ] || continue
    cp "$shot" "$ARTIFACTS/$name-$(basename "$shot")" && echo "screenshot kept: $ARTIFACTS/$name-$(basename "$shot")" >&2
  done
  exit 1
}

# Starts Xvfb on a display it picks itself (no race with other servers) and openbox on it;
# waits until the window manager runs.
start_desktop() {
  Xvfb -displayfd 3 -screen 0 "${SCREEN:-1920x1080x24}" -noreset -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 200); do [ -s "$WORK/display" ] && break; sleep 0.05; done
  [ -s "$WORK/display" ] || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
  export DISPLAY=":$(head -n1 "$WORK/display")"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
  openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.05
  done
  fail "openbox did not start"
}

# Starts the program; waits for its strip.
start_tarniva() {
  "$TARNIVA" >"$WORK/tarniva.log" 2>&1 &
  TARNIVA_PID=$!
  pids+=("$TARNIVA_PID")
  for _ in $(seq 200); do
    STRIP=$(xdotool search --name '^Year 2000$' 2>/dev/null | head -n1 || true)
    [ -n "$STRIP" ] && xwininfo -id "$STRIP" 2>/dev/null | grep -q 'IsViewable' && break
    STRIP=
    if ! kill -0 "$TARNIVA_PID" 2>/dev/null; then
      wait_exit
      fail "the program ended during its start with status $EXIT_STATUS"
    fi
    sleep 0.05
  done
  [ -n "$STRIP" ] || fail "no window \"Year 2000\" appeared"
  # Mapped is not yet drawn: wait for the frame's colour in the window's corner (never black here).
  local corner
  for _ in $(seq 200); do
    corner=$(import -window "$STRIP" -crop 1x1+0+0 -depth 8 txt:- 2>/dev/null |
      sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\)[,)].*/\1,\2,\3/p')
    [ -n "$corner" ] && [ "$corner" != "0,0,0" ] && return 0
    sleep 0.05
  done
  fail "the strip was never drawn"
}

# "x y width height" of a window as the screen shows it.
geometry_of() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}

expect_equal() {
  [ "$2" = "$3" ] || fail "$1: expected '$3', got '$2'"
}

# Waits for the program to end; its exit status goes into EXIT_STATUS.
wait_exit() {
  EXIT_STATUS=0
  wait "$TARNIVA_PID" || EXIT_STATUS=$?
}

# Writes the store with these "Name" "text" pairs before the program starts.
write_store() {
  mkdir -p "$(dirname "$STORE")"
  { printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Orsolen\\Lights]\r\n'
    while [ $# -ge 2 ]; do printf '"%s"="%s"\r\n' "$1" "$2"; shift 2; done; } >"$STORE"
}

# The _NET_WM_STATE atoms of a window, one line.
net_wm_state() {
  xprop -id "$1" _NET_WM_STATE
}

# Opens the Options dialog from the strip's menu; sets OPTIONS and its client corner OX, OY.
open_options() {
  local x y w h
  read -r x y w h < <(geometry_of "$STRIP")
  xdotool mousemove $((x + 40)) $((y + 5)) click 3
  sleep 0.3
  xdotool key Down Down Return
  for _ in $(seq 100); do
    OPTIONS=$(xdotool search --name '^Tarniva Options$' 2>/dev/null | head -n1 || true)
    [ -n "$OPTIONS" ] && xwininfo -id "$OPTIONS" 2>/dev/null | grep -q IsViewable && break
    sleep 0.05
  done
  [ -n "$OPTIONS" ] || fail "the Options dialog did not open"
  read -r OX OY w h < <(geometry_of "$OPTIONS")
}

# Clicks at a point of the Options dialog's client area.
click_options() {
  xdotool mousemove $((OX + $1)) $((OY + $2)) click 1
  sleep 0.2
}

# Waits until a command's output matches a pattern (a window manager answers asynchronously).
wait_for() { # what pattern command...
  local what=$1 pattern=$2
  shift 2
  for _ in $(seq 60); do
    "$@" 2>/dev/null | grep -q -E "$pattern" && return 0
    sleep 0.05
  done
  fail "$what: '$pattern' not in: $("$@" 2>&1)"
}
wait_without() { # what pattern command...
  local what=$1 pattern=$2
  shift 2
  for _ in $(seq 60); do
    "$@" 2>/dev/null | grep -q -E "$pattern" || return 0
    sleep 0.05
  done
  fail "$what: '$pattern' still in: $("$@" 2>&1)"
}

# Takes a picture of a screen area as a user sees it: shot NAME X Y WIDTH HEIGHT.
shot() {
  import -window root -crop "${4}x${5}+${2}+${3}" +repage "$WORK/shot-$1.png"
}

# The colour of a pixel of a picture as "r,g,b": pixel_of NAME X Y (in the picture).
pixel_of() {
  convert "$WORK/shot-$1.png" -crop "1x1+$2+$3" -depth 8 txt:- |
    sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\)[,)].*/\1,\2,\3/p'
}

expect_pixel() { # what NAME X Y r,g,b
  expect_equal "$1 (picture $2 at $3,$4)" "$(pixel_of "$2" "$3" "$4")" "$5"
}

# Every x of a picture's row Y whose pixel has the colour r,g,b, one line: xs_of NAME Y r,g,b
xs_of() {
  convert "$WORK/shot-$1.png" -crop "x1+0+$2" +repage -depth 8 txt:- |
    awk -F'[:,() ]+' -v want="$3" 'NR > 1 && $3 "," $4 "," $5 == want {printf "%s%s", sep, $1; sep=" "} END{print ""}'
}

# The outer corner of a window's frame as the window manager drew it, "x y".
frame_corner_of() {
  local x y w h left right top bottom
  read -r x y w h < <(geometry_of "$1")
  read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  echo "$((x - left)) $((y - top))"
}

# The positions of the lights whose pixels on row Y of a picture of a strip at (0, 0) with this
# light pitch have the colour r,g,b, one line: lights_with NAME Y r,g,b PITCH
lights_with() {
  xs_of "$1" "$2" "$3" | awk -v pitch="$4" '{
    for (i = 1; i <= NF; i++) { p = int(($i - 1) / pitch); if (!(p in seen)) { seen[p]; printf "%s%d", sep, p; sep = " " } }
  } END { print "" }'
}

# The lit lights of a strip at (0, 0) with round lights of size 16 and the default colours: the
# inner part of a lit light is red.
lit_lights() {
  lights_with "$1" 12 255,0,0 16
}

# The strip at (0, 0) runs: one light is lit, and a moment later another one.
expect_running() { # what
  local first second
  shot running-1 0 0 1920 19
  first=$(lit_lights running-1)
  [ "$(wc -w <<<"$first")" -eq 1 ] || fail "$1: expected one lit light, saw '$first'"
  for _ in $(seq 20); do
    sleep 0.1
    shot running-2 0 0 1920 19
    second=$(lit_lights running-2)
    [ "$(wc -w <<<"$second")" -eq 1 ] || fail "$1: expected one lit light, saw '$second'"
    [ "$second" != "$first" ] && return 0
  done
  fail "$1: the lit light stayed at position $first"
}
