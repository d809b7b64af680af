#!/usr/bin/env bash
# Stacking, the taskbar button and dragging of the real strip under a real window manager.
. "$(dirname "$0")/lib.sh"
start_desktop

# From stored values.
write_store OnTop 0 HideF true
start_tarniva
wait_for "stored Top" _NET_WM_STATE_ABOVE net_wm_state "$STRIP"
wait_for "stored Hide Taskbar" _NET_WM_STATE_SKIP_TASKBAR net_wm_state "$STRIP"
kill -TERM "$TARNIVA_PID"; wait_exit

# From the Options dialog: "None", "Top", "Hide Taskbar" and back.
write_store OnTop 1 Moveable true
start_tarniva
wait_without "stored None" _NET_WM_STATE_ABOVE net_wm_state "$STRIP"
open_options
click_options 187 32 # Alignment: "Top"
wait_for "Top chosen" _NET_WM_STATE_ABOVE net_wm_state "$STRIP"
click_options 187 54 # "None"
wait_without "None chosen" _NET_WM_STATE_ABOVE net_wm_state "$STRIP"
click_options 191 282 # "Hide Taskbar"
wait_for "Hide Taskbar ticked" _NET_WM_STATE_SKIP_TASKBAR net_wm_state "$STRIP"
click_options 191 282
wait_without "Hide Taskbar unticked" _NET_WM_STATE_SKIP_TASKBAR net_wm_state "$STRIP"
xdotool key --window "$OPTIONS" alt+F4 2>/dev/null || true

# A drag with the left button moves the strip by the pointer's distance.
read -r x y w h < <(geometry_of "$STRIP")
xdotool mousemove $((x + 300)) $((y + 8)) mousedown 1 mousemove $((x + 350)) $((y + 108)) mousemove $((x + 500)) $((y + 208)) mouseup 1
sleep 0.3
expect_equal "strip after the drag" "$(geometry_of "$STRIP")" "$((x + 200)) $((y + 200)) $w $h"

# Dragged below the bottom it comes back to the limit at the next step.
read -r x y w h < <(geometry_of "$STRIP")
xdotool mousemove $((x + 300)) $((y + 8)) mousedown 1 mousemove $((x + 300)) $((y + 8 + 1070 - y)) mouseup 1
limit=$((1080 + 8 - 8 - h))
wait_for "strip back above the bottom" "^[-0-9]+ $limit " geometry_of "$STRIP"
kill -TERM "$TARNIVA_PID"; wait_exit
expect_equal "exit status" "$EXIT_STATUS" 0
grep -q "^\"FTop\"=\"$limit\"" "$STORE" || fail "the position after the clamp was not saved"
echo "desktop placement: ok"
