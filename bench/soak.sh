#!/usr/bin/env bash
# A long run of the real program: "Random" at the 10 ms floor on a 2048-pixel strip, with the
# sound timer playing a file every 100 ms, on Xvfb with openbox. Samples the resident memory every
# 10 s and prints the first, the last and the largest sample and the growth after the first minute.
# Not part of ./test. Usage: bench/soak.sh build/tarniva [minutes]
SCREEN=2560x1440x24
. "$(dirname "$0")/../tests/desktop/lib.sh"
MINUTES=${2:-10}

# A short tone to play on the sound timer.
python3 - "$WORK/tone.wav" <<'PY'
import math, struct, sys, wave
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1); w.setsampwidth(2); w.setframerate(22050)
    w.writeframes(b"".join(struct.pack("<h", int(8000 * math.sin(2 * math.pi * 440 * i / 22050))) for i in range(2205)))
PY

export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
start_desktop
write_store Pattern 3 Delay 1 FScreen false BWidth 2048 PlayW true Sync false PTimer 100 WarnFile "$WORK/tone.wav"
start_tarniva
expect_equal "strip width" "$(geometry_of "$STRIP" | cut -d' ' -f3)" 2048

samples=()
for ((t = 0; t <= MINUTES * 60; t += 10)); do
  rss=$(awk '/VmRSS/{print $2}' "/proc/$TARNIVA_PID/status")
  samples+=("$rss")
  printf '%4d s  %6d kB\n' "$t" "$rss"
  [ "$t" -lt $((MINUTES * 60)) ] && sleep 10
done
kill -TERM "$TARNIVA_PID"
wait_exit
printf '%s\n' "${samples[@]}" | awk -v after=7 '
  NR == 1 { first = $1 } { last = $1; if ($1 > max) max = $1 } NR == after { minute = $1 }
  END { printf "first %d kB, last %d kB, largest %d kB, growth after the first minute %d kB\n", first, last, max, last - minute }'
expect_equal "exit status" "$EXIT_STATUS" 0
