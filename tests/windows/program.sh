#!/usr/bin/env bash
# End-to-end tests of the Windows program (PROGRAM, the .exe) under Wine, on
# the X server in DISPLAY and in the Wine prefix of WINEPREFIX (CTest starts
# both for each test: tools/with-xvfb, tools/with-wine), driven with xdotool as
# a user would. Frames are read from the window with ImageMagick's import and
# compared, to the byte, with the reference throw of tests/reference/: Wine
# hands the drawing to the same Mesa as on Linux.
# The tests that read no frames, right_button and close_message, are the
# Linux ones (tests/program.sh), with the program started through Wine.
# Usage: program.sh TEST    TEST: one of the functions below, or right_button, close_message
set -uo pipefail
# shellcheck source=../program.sh
source "$(dirname "$0")/../program.sh"
export PROGRAM_PREFIX=$WINE  # start (scripts/lib/program.sh) runs the program through it
references="$(cd "$(dirname "$0")/../reference" && pwd)"

# The step of the throw each reference frame shows, by the MD5 of its RGB
# bytes: 000003.png shows step 1, 000101.png step 99.
declare -A stepOf
mapfile -t throw < <(seq -f "$references/%06g.png" 3 101)
convert "${throw[@]}" rgb:"$work/%02d.rgb"  # 00.rgb: step 1
while read -r sum file; do
  stepOf[$sum]=$((10#$(basename "$file" .rgb) + 1))
done < <(md5sum "$work"/*.rgb)
rm "$work"/*.rgb
((${#stepOf[@]} == 99)) || die "the reference throw does not have 99 different frames"

# grab: reads the window's pixels (8 bits a channel: import writes 16 unless
# told) and sets frame to their MD5 and step to the step of the throw they
# show, 0 for none. (import waits for a click on a window when it finds none,
# hence the bound.)
grab() {
  kill -0 "$pid" 2>/dev/null || die "the program has ended"
  frame=$(timeout 10 import -silent -window "$window" -depth 8 rgb:- | md5sum | cut -d' ' -f1) ||
    die "cannot read the window's pixels"
  step=${stepOf[$frame]:-0}
}

# next_frame: waits up to 20 s for a frame other than the last one grabbed.
next_frame() {
  local last=${frame:-} tries=100
  grab
  while [ "$frame" = "$last" ]; do
    ((--tries)) || die "the program shows no new frame"
    sleep 0.2
    grab
  done
}

# expect_throw N: the next N new frames are frames of the reference throw.
expect_throw() {
  local shown=()
  for _ in $(seq "$1"); do
    next_frame
    [ "$step" != 0 ] || die "a frame is none of the reference throw's (after steps ${shown[*]})"
    shown+=("$step")
  done
  echo "steps shown: ${shown[*]}"
}

# expect_turned: waits up to 20 s for a frame that is none of the reference
# throw's; a turn stays, so every frame after it shows the scene turned.
expect_turned() {
  local tries=100
  next_frame
  while [ "$step" != 0 ]; do
    ((--tries)) || die "the scene has not turned"
    next_frame
  done
  next_frame
  [ "$step" = 0 ] || die "the scene turned back"
}

window() {
  start || die "no window titled '$TITLE'"
  [ "$(xdotool getwindowname "$window")" = "$TITLE" ] || die "title '$(xdotool getwindowname "$window")'"
  xdotool getwindowgeometry "$window" | grep -q 'Geometry: 500x500' || die "$(xdotool getwindowgeometry "$window")"
  # Before its first frames the window may show nothing yet, or the start-up state.
  local tries=100
  until next_frame && [ "$step" != 0 ]; do ((--tries)) || die "no frame of the reference throw"; done
  expect_throw 10
}

# Moving without a button, or pressing and releasing one without moving, does
# not turn the scene; dragging with the left or the middle button does. Two
# new frames after the events reached the X server, the program has been
# through its event loop with them.
drag_left() { drag 1; }
drag_middle() { drag 2; }
drag() {
  start || die "no window"
  xdo mousemove --window "$window" 100 100 sleep 0.1 mousemove --window "$window" 300 200 \
    mousedown "$1" sleep 0.1 mouseup "$1"
  next_frame && next_frame
  expect_throw 5
  xdo mousedown "$1" mousemove --window "$window" 330 260 sleep 0.1 mouseup "$1"
  expect_turned
}

"$@" || exit 1
echo "passed: $1"
