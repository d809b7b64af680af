#!/usr/bin/env bash
# The whole program on a virtual desktop (Xvfb 1920x1080, openbox): start-up time to the first
# drawn strip, then 20 s at the defaults and 20 s with "Random": the program's CPU share, the X
# server's CPU share meanwhile, and the program's peak resident memory.
# Usage: bench/desktop.sh build/tarniva [seconds]
. "$(dirname "$0")/../tests/desktop/lib.sh"
SECONDS_TO_RUN=${2:-20}
HZ=$(getconf CLK_TCK)

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

start_desktop
XSERVER=$(pgrep -n Xvfb)

measure() { # label
  local t0 p0 x0 t1 p1 x1
  t0=$(date +%s.%N); p0=$(cpu_ticks "$TARNIVA_PID"); x0=$(cpu_ticks "$XSERVER")
  sleep "$SECONDS_TO_RUN"
  t1=$(date +%s.%N); p1=$(cpu_ticks "$TARNIVA_PID"); x1=$(cpu_ticks "$XSERVER")
  awk -v l="$1" -v t="$(echo "$t1 - $t0" | bc)" -v p=$((p1 - p0)) -v x=$((x1 - x0)) -v hz="$HZ" \
    -v hwm="$(awk '/VmHWM/{print $2}' "/proc/$TARNIVA_PID/status")" \
    'BEGIN { printf "%-28s program %5.2f %% of a core, X server %5.2f %%, peak memory %6.1f MB\n", l, 100*p/hz/t, 100*x/hz/t, hwm/1024 }'
}

for pattern in 0 3; do
  rm -rf "$XDG_CONFIG_HOME/Orsolen"
  if [ "$pattern" = 3 ]; then
    mkdir -p "$XDG_CONFIG_HOME/Orsolen"
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Orsolen\\Lights]\r\n"Pattern"="3"\r\n' >"$STORE"
  fi
  start=$(date +%s%N)
  start_tarniva
  echo "start-up to a viewable strip: $(( ($(date +%s%N) - start) / 1000000 )) ms (polled every 50 ms)"
  sleep 1
  measure "$([ "$pattern" = 0 ] && echo 'defaults ("Side to side")' || echo '"Random", full width')"
  kill -TERM "$TARNIVA_PID"
  wait_exit
done
