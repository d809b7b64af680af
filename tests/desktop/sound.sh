#!/usr/bin/env bash
# Sounds of the real program, heard through SDL's disk driver, which writes what the device plays
# to a file: float samples, two channels, 48000 frames a second.
. "$(dirname "$0")/lib.sh"

if ! grep -q 'SDL_OpenAudioDevice' "$(dirname "$0")/../../platform/Sound.cpp"; then
  echo "skipped: this build has no sound service (platform/Sound.cpp plays nothing)"
  exit 77
fi

export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE=$WORK/heard.raw

# The frames of the output up to a byte count that sound, "first last" (frame numbers), or nothing.
sounding() { # bytes
  perl -e 'open my $f, "<", $ARGV[0] or exit; binmode $f; read $f, my $b, $ARGV[1];
    my @s = unpack "f<*", $b; my ($first, $last);
    for (my $i = 0; $i + 1 < @s; $i += 2) {
      next unless abs($s[$i]) > 1e-4 || abs($s[$i + 1]) > 1e-4;
      $first //= $i / 2; $last = $i / 2;
    }
    print "$first $last\n" if defined $first' "$SDL_DISKAUDIOFILE" "$1"
}
heard_bytes() { stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0; }

# A WAV file that the output shows unmistakably: 0.1 s each at the levels 0.25, -0.5 and 0.75,
# 16-bit mono at the output's rate, so the device plays the samples unchanged on both channels.
perl -e 'my $d = pack "s<*", (8192) x 4800, (-16384) x 4800, (24576) x 4800;
  print "RIFF", pack("V", 36 + length $d), "WAVEfmt ", pack("VvvVVvv", 16, 1, 1, 48000, 96000, 2, 16),
    "data", pack("V", length $d), $d' >"$WORK/steps.wav"

# The longest run of frames at each level, "start length" per level, in the order of the levels.
level_runs() {
  perl -e 'open my $f, "<", $ARGV[0] or exit; binmode $f; local $/; my @s = unpack "f<*", <$f>;
    for my $level (0.25, -0.5, 0.75) {
      my ($best, $bestStart, $run) = (0, -1, 0);
      for (my $i = 0; $i + 1 < @s; $i += 2) {
        if (abs($s[$i] - $level) < 1e-4 && abs($s[$i + 1] - $level) < 1e-4) {
          $run++; ($best, $bestStart) = ($run, $i / 2 - $run + 1) if $run > $best;
        } else { $run = 0 }
      }
      print "$bestStart $best\n";
    }' "$SDL_DISKAUDIOFILE"
}

start_desktop
write_store FTop 300 WarnFile "$WORK/steps.wav"
start_tarniva
expect_equal "strip before \"Up\"" "$(geometry_of "$STRIP")" "0 300 1920 19"
open_options

# "Up" sounds "WUPPER" to its end, and only then docks the strip: the output written by the moment
# the strip is seen at the top holds the whole sound, 3243 frames at 22050 Hz, 7059 at 48000.
before=$(heard_bytes)
click_at_once() { xdotool mousemove $((OX + $1)) $((OY + $2)) click 1; }
click_at_once 260 21
moved=
for _ in $(seq 400); do
  read -r x y w h < <(geometry_of "$STRIP")
  if [ "$y" -eq 0 ]; then moved=$(heard_bytes); break; fi
  sleep 0.005
done
[ -n "$moved" ] || fail "\"Up\" did not move the strip"
expect_equal "strip after \"Up\"" "$x $y $w $h" "0 0 1920 19"
[ "$before" -le 0 ] || [ "$moved" -ge "$before" ] || fail "the output shrank"
read -r first last < <(sounding "$moved"; echo) || true
[ -n "$first" ] || fail "nothing sounded before the strip moved ($moved bytes heard)"
span=$((last - first + 1))
[ "$span" -ge 6800 ] && [ "$span" -le 7300 ] ||
  fail "the sound heard before the strip moved lasts $span frames, not the 7059 of \"WUPPER\""

# ">" plays the chosen file: its three levels, in their order, each for 0.1 s.
click_options 16 254
for _ in $(seq 100); do
  runs=$(level_runs | awk '{printf "%s ", $2}')
  read -r a b c <<<"$runs"
  [ "${c:-0}" -ge 4800 ] && break
  sleep 0.05
done
mapfile -t runs < <(level_runs)
for i in 0 1 2; do
  read -r start length <<<"${runs[i]}"
  [ "$length" -eq 4800 ] || fail "level $((i + 1)) of the file was heard for $length frames, not 4800: ${runs[*]}"
done
read -r s1 _ <<<"${runs[0]}"; read -r s2 _ <<<"${runs[1]}"; read -r s3 _ <<<"${runs[2]}"
expect_equal "levels of the file heard one after the other" "$s2 $s3" "$((s1 + 4800)) $((s2 + 4800))"

kill -TERM "$TARNIVA_PID"; wait_exit
expect_equal "exit status" "$EXIT_STATUS" 0
echo "desktop sound: ok"
