#!/usr/bin/env bash
# The Options dialog of the real program: where it opens, a live change of the strip, and the
# store written when it closes. Also takes the README's screenshot.
. "$(dirname "$0")/lib.sh"
start_desktop
start_tarniva

open_options
expect_equal "Options frame corner" "$(frame_corner_of "$OPTIONS")" "236 81"
read -r x y w h < <(geometry_of "$OPTIONS")
expect_equal "Options client size" "$w $h" "284 300"
# For the README: the strip with a lit light in view, and the dialog.
for _ in $(seq 50); do
  shot readme 0 0 600 430
  [ -n "$(lit_lights readme)" ] && break
  sleep 0.02
done
cp "$WORK/shot-readme.png" "$ARTIFACTS/screenshot.png"

# Size 8 typed over the field's text: at once a strip 8 + 3 pixels high, drawn for the new size.
click_options 50 178
xdotool key ctrl+a
xdotool type 8
wait_for "strip after Size 8" "^0 0 1920 11$" geometry_of "$STRIP"
shot size8 0 0 1920 11
expect_pixel "frame below the smaller picture" size8 5 10 128,128,128
expect_equal "background below the lights of size 8" "$(xs_of size8 9 0,0,0 | wc -w)" 1918
dark=$(lights_with size8 4 85,0,0 8 | wc -w) # all 240 but the one lit, if the step came yet
[ "$dark" -ge 239 ] || fail "lights of size 8 with a dark inner part: expected 239 or 240, got $dark"
[ -e "$STORE" ] && [ "$(grep -c '=' "$STORE")" -eq 0 ] || fail "a change in the dialog wrote the store"

# The close box of its frame: hidden, every setting stored.
read -r fx fy < <(frame_corner_of "$OPTIONS")
xdotool mousemove $((fx + 286 - 9)) $((fy + 10)) click 1
wait_without "Options after its close box" IsViewable xwininfo -id "$OPTIONS"
expect_equal "values stored when the dialog closed" "$(grep -c '^"[A-Za-z]*"=' "$STORE")" 31
grep -q '^"LEDSize"="8"' "$STORE" || fail "LEDSize after the dialog closed: $(grep LEDSize "$STORE")"

# Opened again: where it was, with the value shown.
open_options
expect_equal "Options frame corner when opened again" "$(frame_corner_of "$OPTIONS")" "236 81"
xdotool key --window "$OPTIONS" alt+F4
wait_without "Options after alt+F4" IsViewable xwininfo -id "$OPTIONS"

kill -TERM "$TARNIVA_PID"; wait_exit
expect_equal "exit status" "$EXIT_STATUS" 0
echo "desktop options: ok"
