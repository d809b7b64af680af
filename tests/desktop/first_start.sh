#!/usr/bin/env bash
# The real program on a desktop: no display, first start, its window and store, ending by signal.
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

kill -TERM "$TARNIVA_PID"
wait_exit
expect_equal "exit status after SIGTERM" "$EXIT_STATUS" 0
expect_equal "values stored" "$(grep -c '^"[A-Za-z]*"=' "$STORE")" 31
grep -q '^"BWidth"="1920"' "$STORE" || fail "BWidth not stored as the full width"
echo "desktop first start: ok"
