#!/usr/bin/env bash
# The real program on a desktop: no display, first start, its window, picture and store, a bad
# stored value, and both ways of ending: by signal and by the menu.
. "$(dirname "$0")/lib.sh"

# Without a display: one clear line and status 1, never Qt's abort.
status=0
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$TARNIVA" 2>&1) || status=$?
expect_equal "exit status without a display" "$status" 1
expect_equal "lines printed without a display" "$(printf '%s\n' "$out" | wc -l)" 1
case $out in *xvfb-run*) ;; *) fail "the message does not say what to do: $out" ;; esac

start_desktop
start_tarniva
expect_equal "strip geometry" "$(geometry_of "$STRIP")" "0 0 1920 19"
expect_equal "window class" "$(xprop -id "$STRIP" WM_CLASS)" 'WM_CLASS(STRING) = "tarniva", "Tarniva"'
grep -q '^\[HKEY_CURRENT_USER\\Software\\Orsolen\\Lights\]' "$STORE" || fail "no key in the store after the start"
[ "$(grep -c '=' "$STORE")" -eq 0 ] || fail "the start wrote values"

# The gray frame around the picture, and the lights, dark but one, drawn where their geometry says.
# The picture lies 1 pixel inside the window; a light at position i starts 16 i pixels into it.
shot first 0 0 1920 19
for corner in "0 0" "1919 0" "0 18" "1919 18" "960 0" "960 18" "0 9" "1919 9"; do
  expect_pixel "frame" first $corner 128,128,128
done
lit=$(lit_lights first)
[ "$(wc -w <<<"$lit")" -eq 1 ] || fail "expected one lit light at the start, saw '$lit'"
for i in $(((lit + 40) % 120)) $(((lit + 80) % 120)); do
  x0=$((1 + 16 * i)) # the light's origin in the window
  expect_pixel "outer part of dark light $i" first $((x0 + 8)) 3 34,17,17
  expect_pixel "outer part of dark light $i" first $((x0 + 2)) 9 34,17,17
  expect_pixel "inner part of dark light $i" first $((x0 + 8)) 13 85,0,0
  expect_pixel "inner part of dark light $i" first $((x0 + 12)) 9 85,0,0
  expect_pixel "highlight of dark light $i" first $((x0 + 6)) 7 192,192,192
  expect_pixel "background at the corner of light $i" first $((x0 + 1)) 2 0,0,0
  expect_pixel "background between lights $i and $((i + 1))" first $((x0 + 16)) 9 0,0,0
done
x0=$((1 + 16 * lit))
expect_pixel "outer part of the lit light $lit" first $((x0 + 8)) 3 128,0,0
expect_pixel "highlight of the lit light $lit" first $((x0 + 6)) 7 255,255,255
expect_running "first start"

kill -TERM "$TARNIVA_PID"
wait_exit
expect_equal "exit status after SIGTERM" "$EXIT_STATUS" 0
expect_equal "values stored" "$(grep -c '^"[A-Za-z]*"=' "$STORE")" 31
grep -q '^"BWidth"="1920"' "$STORE" || fail "BWidth not stored as the full width"

# "Exit" from the menu: status 0, and every setting in the store, the stored ones kept.
write_store Delay 25 LEDSize 12
start_tarniva
expect_equal "strip geometry with LEDSize 12" "$(geometry_of "$STRIP")" "0 0 1920 15"
xdotool mousemove 40 5 click 3
sleep 0.3
xdotool key Down Return
wait_exit
expect_equal "exit status after \"Exit\"" "$EXIT_STATUS" 0
expect_equal "values stored after \"Exit\"" "$(grep -c '^"[A-Za-z]*"=' "$STORE")" 31
grep -q '^"Delay"="25"' "$STORE" || fail "Delay not kept: $(grep Delay "$STORE")"
grep -q '^"LEDSize"="12"' "$STORE" || fail "LEDSize not kept: $(grep LEDSize "$STORE")"

# A stored Delay that is no number: the error box during the start, then the strip runs.
write_store Delay abc
"$TARNIVA" >"$WORK/tarniva.log" 2>&1 &
TARNIVA_PID=$!
pids+=("$TARNIVA_PID")
box=
for _ in $(seq 200); do
  box=$(xdotool search --onlyvisible --name '^Tarniva$' 2>/dev/null | head -n1 || true)
  [ -n "$box" ] && break
  sleep 0.05
done
[ -n "$box" ] || fail "no error box \"Tarniva\" for the Delay abc"
wait_for "the error box's kind" _NET_WM_WINDOW_TYPE_DIALOG xprop -id "$box" _NET_WM_WINDOW_TYPE
xdotool windowactivate --sync "$box" key Return
for _ in $(seq 200); do
  STRIP=$(xdotool search --onlyvisible --name '^Year 2000$' 2>/dev/null | head -n1 || true)
  [ -n "$STRIP" ] && break
  sleep 0.05
done
[ -n "$STRIP" ] || fail "no strip after the error box"
xwininfo -id "$box" 2>/dev/null | grep -q IsViewable && fail "the error box is still open"
expect_equal "strip geometry after the error box" "$(geometry_of "$STRIP")" "0 0 1920 19"
expect_running "after the error box"
kill -TERM "$TARNIVA_PID"
wait_exit
expect_equal "exit status after the error box" "$EXIT_STATUS" 0
echo "desktop first start: ok"
