#!/usr/bin/env bash
# End-to-end tests of the Windows program (PROGRAM, the .exe) under Wine, on
# the X server in DISPLAY and in the Wine prefix of WINEPREFIX (CTest starts
# both for each test: tools/with-xvfb, tools/with-wine), driven with xdotool as
# a user would. Frames are read from the window with ImageMagick's import and
# compared, to the byte, with the reference throw of tests/reference/: Wine
# hands the drawing to the same Mesa as on Linux.
# The tests that read no frames, right_button and close_message, are the
# Linux ones (tests/program.sh), with the program started through Wine; the
# others are the Linux ones with frames grabbed from the window.
# Usage: program.sh TEST    TEST: window, drag_left, drag_middle, right_button, close_message
set -uo pipefail
# shellcheck source=../program.sh
source "$(dirname "$0")/../program.sh"
export PROGRAM_PREFIX=$WINE  # start (scripts/lib/program.sh) runs the program through it

window_references "$(dirname "$0")/../reference"

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
  open_window
  # Before its first frames the window may show nothing yet, or the start-up state.
  local tries=100
  until next_frame && [ "$step" != 0 ]; do ((--tries)) || die "no frame of the reference throw"; done
  expect_throw 10
}

# drag BUTTON (drag_left, drag_middle: tests/program.sh): moving without a
# button, or pressing and releasing one without moving, does not turn the
# scene; dragging with the button does. Two new frames after the events
# reached the X server, the program has been through its event loop with them.
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
