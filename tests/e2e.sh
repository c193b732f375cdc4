#!/usr/bin/env bash
# The real program end to end, as a user runs it, on the X server in DISPLAY
# (CTest starts one for each test with tools/with-xvfb), driven with xdotool.
# PROGRAM names the program; under Wine (tests/with-wine sets WINE) it is the
# Windows one, and the same checks hold. The frames it shows must be, to the
# byte, frames of tests/reference/: the same Mesa draws them. On Linux the
# frame dump (FRAME_DUMP) writes every frame shown, in order; under Wine it
# cannot be preloaded, so frames are grabbed from the window, some of them.
# Usage: e2e.sh TEST    TEST: window, drag_left, drag_middle, right_button, no_display, run
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../tools/drive.sh
source "$here/../tools/drive.sh"
begin
PROGRAM_PREFIX=${WINE:-}
# Frames checked in a row: under Wine each is a grab of the window, of some 0.3 s.
throw_frames=100 drag_frames=20
[ -z "${WINE:-}" ] || throw_frames=10 drag_frames=5

# steps N: sets shown to the step of the reference throw (1 to 99, 0 for none)
# in each of the next N frames the program shows (under Wine: grabbed, some of them).
steps() {
  local frames=()
  if [ -z "${WINE:-}" ]; then
    mapfile -t frames < <(dump "$1")
    [ ${#frames[@]} = "$1" ] || die "the program stopped showing frames"
  fi
  while [ ${#frames[@]} -lt "$1" ]; do
    frames+=("$work/grab-${#frames[@]}.ppm")
    kill -0 "$pid" 2>/dev/null || die "the program has ended"
    # import waits for a click on a window when it finds none, hence the bound.
    timeout 10 import -silent -window "$window" -depth 8 "ppm:${frames[-1]}" || die "cannot read the window"
  done
  mapfile -t shown < <("$here/frames.py" steps "${frames[@]}")
  [ ${#shown[@]} = "$1" ] || die "frames.py could not tell the steps of the frames"
}

# expect_throw N: the next N frames are steps of the reference throw: one after
# the other where every frame is taken, and not all the same where some are.
expect_throw() {
  local previous=0 step
  steps "$1"
  echo "steps shown: ${shown[*]}"
  for step in "${shown[@]}"; do
    [ "$step" != 0 ] || die "a frame is none of the reference throw's"
    [ -n "${WINE:-}" ] || [ "$previous" = 0 ] || [ "$step" = $((previous % 99 + 1)) ] ||
      die "step $step shown after step $previous"
    previous=$step
  done
  [ "$(printf '%s\n' "${shown[@]}" | sort -u | wc -l)" -gt 1 ] || die "the ball does not move"
}

# wait_for throw|turned: takes frames, up to 100, until one shows a step of
# the reference throw, or none (the scene turned).
wait_for() {
  local tries found
  for ((tries = 100; tries > 0; tries--)); do
    steps 1
    found=throw
    [ "${shown[0]}" != 0 ] || found=turned
    [ "$found" != "$1" ] || return 0
  done
  die "no frame $1 in 100"
}

# expect_end STATUS WHEN: the program ends with STATUS, without a sanitizer's report.
expect_end() {
  local status=0
  ended || status=$?
  ! grep -qE 'Sanitizer|runtime error' "$log" || die "a sanitizer's report $2"
  [ $status = "$1" ] || die "exit status $status, not $1, $2"
}

# Its exact title and 500 x 500; then frames of the throw, from its first (the
# first swaps may show nothing yet, or the start-up state).
window() {
  start || die "no window titled '$TITLE'"
  [ "$(xdotool getwindowname "$window")" = "$TITLE" ] || die "title '$(xdotool getwindowname "$window")'"
  xdotool getwindowgeometry "$window" | grep -q 'Geometry: 500x500' || die "$(xdotool getwindowgeometry "$window")"
  wait_for throw
  expect_throw $throw_frames
}

# Moving without a button, or pressing and releasing one without moving, does
# not turn the scene; dragging with the left or the middle button does, and
# the turn stays. Two swaps after the events reached the X server the program
# has been through its event loop with them (a grab under Wine takes longer).
drag_left() { drag 1; }
drag_middle() { drag 2; }
drag() {
  start || die "no window"
  xdo mousemove --window "$window" 100 100 sleep 0.1 mousemove --window "$window" 300 200 \
    mousedown "$1" sleep 0.1 mouseup "$1"
  steps 2
  expect_throw $drag_frames
  xdo mousedown "$1" mousemove --window "$window" 330 260 sleep 0.1 mouseup "$1"
  wait_for turned
  steps 1
  [ "${shown[0]}" = 0 ] || die "the scene turned back"
}

# The press of the right button ends the program with status 0: alone, in the
# middle of a drag with the left button, and with the middle button held.
right_button() {
  local held press release
  for held in "" 1 2; do
    press=() release=()
    [ -z "$held" ] || press=(mousedown "$held") release=(mouseup "$held")
    start || die "no window"
    xdo mousemove --window "$window" 200 200 "${press[@]}" mousemove --window "$window" 260 240 mousedown 3
    expect_end 0 "with button '$held' held"
    xdo mouseup 3 "${release[@]}"
  done
}

# Without a display the program ends with GLUT's message and status 1.
no_display() {
  env -u DISPLAY "$PROGRAM" 2>"$log" &
  pid=$!
  expect_end 1 "without a display"
  grep -q 'failed to open display' "$log" || die "no message of the missing display"
}

# scripts/run without a display records one throw: a GIF of its 99 frames,
# and a PNG of its step 30.
run() {
  local paths
  mapfile -t paths < <(env -u DISPLAY "$here/../scripts/run" 2>"$log")
  grep -q 'no display' "$log" || die "scripts/run did not say that there is no display"
  [ ${#paths[@]} = 2 ] || die "scripts/run printed '${paths[*]}', not the paths of the PNG and the GIF"
  [ "$("$here/frames.py" steps "${paths[0]}")" = 30 ] || die "${paths[0]} is not step 30 of the throw"
  [ "$(identify -format '%W %H\n' "${paths[1]}" | sort | uniq -c | xargs)" = "99 500 500" ] ||
    die "${paths[1]} is not 99 frames of 500 x 500: $(identify "${paths[1]}" | head -n 3)"
}

case ${1:-} in
  window | drag_left | drag_middle | right_button | no_display | run) "$1" ;;
  *) die "usage: e2e.sh window|drag_left|drag_middle|right_button|no_display|run" ;;
esac
echo "passed: $1"
