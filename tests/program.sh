#!/usr/bin/env bash
# End-to-end and reliability tests of the real program, on the X server in
# DISPLAY (CTest starts one for each test with tools/with-xvfb), driven with
# xdotool as a user would. The frames it shows are compared, to the byte, with the
# reference throw that render.draw drew and checked (REFERENCE_FRAMES): the
# same code and renderer draw the same pixels.
# Usage: program.sh TEST [ARGS]    TEST: one of the functions below
# (The Windows tests, tests/windows/program.sh, source this file for the
# tests that read no frames, right_button and close_message, and open_window.)
set -uo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source=../scripts/lib/program.sh
source "$here/../scripts/lib/program.sh"

# Sets shown to the step of the reference throw (1 to 99) that each of the
# next N frames shows, 0 for none.
show() {
  local frames
  mapfile -t frames < <(dump "$1")
  [ ${#frames[@]} = "$1" ] || die "the program stopped showing frames"
  shown=$("$here/../tools/frames" steps "$REFERENCE_FRAMES" "${frames[@]}")
}

# The next N frames are consecutive steps of the reference throw.
expect_throw() {
  local previous=0 step
  show "$1"
  for step in $shown; do
    [ "$step" != 0 ] || die "a frame is none of the reference throw's"
    [ "$previous" = 0 ] || [ "$step" = $((previous % 99 + 1)) ] || die "step $step shown after step $previous"
    previous=$step
  done
}

# Waits for the program's end, which must be the documented failure, exit
# status 1, with a message that contains TEXT. (fails_with TEXT ARGS: the same
# for the program run with ARGS.)
expect_error() {
  ended
  local status=$?
  [ $status = 1 ] || die "exit status $status, not 1"
  grep -qF -- "$1" "$log" || die "no message with '$1'"
}

# ---- end to end

# open_window: starts the program; its window has the exact title and is 500 x 500.
open_window() {
  start || die "no window titled '$TITLE'"
  [ "$(xdotool getwindowname "$window")" = "$TITLE" ] || die "title '$(xdotool getwindowname "$window")'"
  xdotool getwindowgeometry "$window" | grep -q 'Geometry: 500x500' || die "$(xdotool getwindowgeometry "$window")"
}

window() {
  open_window
  dump 1 >/dev/null || die "no frame"  # the first swap may show the start-up state, before the first step
  expect_throw 100
}

# Moving without a button, or pressing and releasing one without moving, does
# not turn the scene; dragging with the left or the middle button does.
drag_left() { drag 1; }
drag_middle() { drag 2; }
drag() {
  start || die "no window"
  xdo mousemove --window "$window" 100 100 sleep 0.1 mousemove --window "$window" 300 200 \
    mousedown "$1" sleep 0.1 mouseup "$1" sleep 0.1
  expect_throw 20
  xdo mousedown "$1" mousemove --window "$window" 330 260 sleep 0.1 mouseup "$1"
  show 60  # a turn stays: the last of them shows it, however late the program took the drag
  [ "$(tail -n 1 <<<"$shown")" = 0 ] || die "the scene has not turned"
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
    ended || die "exit status $? with button '$held' held"
    xdo mouseup 3 "${release[@]}"
  done
}

# GLUT takes its options from the command line: -display reaches it, and an
# unknown or malformed option is left alone; a missing display or an option
# without its value ends the program with GLUT's message.
command_line() {
  PROGRAM_PREFIX="env -u DISPLAY" start -display "$DISPLAY" -no-such-option x -geometry garbage ||
    die "no window through -display"
  quit || die "exit status $?"
  fails_with "display ':4999'" -display :4999
  fails_with "display '$DISPLAY.7'" -display "$DISPLAY.7"
  fails_with "followed by display name" -display
  fails_with "followed by window geometry" -geometry
}
fails_with() {
  "$PROGRAM" "${@:2}" 2>"$log" &
  pid=$!
  expect_error "$1"
}

capture() {
  "$here/../tools/capture" "$PWD/capture.png" "$PWD/capture.gif" || die "no capture"
}

# ---- reliability

# Random moves, presses and releases of every button but the right one, from
# a printed seed (which replays the same events, not their timing against the
# frames); after them, whatever turn they left, the scene still moves over a
# throw and is lit (shaded: many colours) in one frame of it at least. (Seen
# from below, the floor hides the ball for most of a throw, and the floor
# alone shows some 15 colours.)
pointer_fuzz() {
  local seed=${FUZZ_SEED:-20261208} events=${SOAK:+50000} buttons=(1 2 4 5 6 7 8 9) args=() frames
  echo "pointer fuzz: ${events:=5000} events from seed $seed (replay with FUZZ_SEED=$seed)"
  RANDOM=$seed
  start || die "no window"
  for ((i = 1; i <= events; i++)); do
    case $((RANDOM % 5)) in
      0 | 1) args+=(mousemove $((RANDOM % 1300)) $((RANDOM % 1100))) ;;  # in and out of the window
      2) args+=(mousedown "${buttons[RANDOM % 8]}") ;;
      3) args+=(mouseup "${buttons[RANDOM % 8]}") ;;
      4) args+=(sleep 0.005) ;;  # frames between events
    esac
    ((i % 500)) || { xdo "${args[@]}" && args=(); }
  done
  xdo "${args[@]}" mouseup 1 mouseup 2
  mapfile -t frames < <(dump 99)
  [ ${#frames[@]} = 99 ] || die "the program stopped showing frames"
  (($(md5sum "${frames[@]}" | cut -d' ' -f1 | sort -u | wc -l) > 1)) || die "the scene no longer moves"
  (($(identify -format '%k\n' "${frames[@]}" | sort -n | tail -n 1) > 100)) || die "the scene is not shaded"
  # The drags among the events turned the scene: no frame is one of the unturned throw.
  shown=$("$here/../tools/frames" steps "$REFERENCE_FRAMES" "${frames[@]}")
  [ "$(sort -u <<<"$shown")" = 0 ] || die "the events turned nothing: were they delivered?"
  quit || die "exit status $?"
}

# Resizes, unmapping and mapping: the program draws into each new size and,
# back at 500 x 500, shows the reference throw again.
window_system() {
  local size frame i
  start || die "no window"
  for size in "1 1" "64 500" "2000 2000" "500 500"; do
    xdo windowsize --sync "$window" "${size% *}" "${size#* }"
    for ((i = 0; i < 100; i++)); do  # the next frame drawn at that size, however late it comes
      frame=$(dump 1) || die "the program stopped showing frames"
      [ "$(sed -n 2p "$frame")" = "$size" ] && break
    done
    ((i < 100)) || die "no frame of $size in the 100 frames after resizing to it"
  done
  xdo windowunmap --sync "$window" sleep 0.3 windowmap --sync "$window"
  expect_throw 100
}

# A window manager's close message ends the program with status 0.
close_message() {
  openbox >"$work/openbox.log" 2>&1 &
  timeout 20 bash -c 'until wmctrl -m >/dev/null 2>&1; do sleep 0.1; done' ||
    die "openbox did not start: $(cat "$work/openbox.log")"
  start || die "no window"
  wmctrl -F -c "$TITLE" || die "wmctrl found no window titled '$TITLE'"
  ended || die "exit status $? after the close message"
}

# The X server dies: the program ends with a message that names it.
killed_server() {
  start || die "no window"
  kill -KILL "$XVFB_PID"
  expect_error "$DISPLAY"
}

# What the program holds on the heap does not grow over a long run; then a
# clean end. The frame dump counts it at a swap, when a frame's buffers have
# been given back: from frame 1,000, when Mesa has warmed up, to frame 5,000
# (soak: 40,000). A leak of 1 KiB a frame adds 4 MiB; Mesa adds about 0.4 MiB
# once, near frame 2,500, and otherwise varies by 64 KiB.
long_run() {
  local last=$((${SOAK:-0} ? 40000 : 5000)) before after
  start || die "no window"
  before=$(heap_at 1000) || die "the program stopped showing frames before frame 1,000"
  after=$(heap_at $last) || die "the program stopped showing frames before frame $last"
  echo "heap: $((before / 1024)) KiB at frame 1,000, $((after / 1024)) KiB at frame $last"
  ((after - before <= 1024 * 1024)) || die "the heap grew by more than 1 MiB"
  quit || die "exit status $?"
  ! grep -q 'Sanitizer\|runtime error' "$log" || die "a sanitizer report"
}
# heap_at N: waits until the program has shown N frames, and prints the bytes
# it then holds on the heap.
heap_at() {
  local shown
  while shown=$(dump 1) && ((10#$(basename "$shown" .ppm) < $1)); do sleep 1; done
  [ -n "$shown" ] && tail -n 1 "$work/heap" | cut -d' ' -f2
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then  # run, not sourced
  "$@" || exit 1
  echo "passed: $1"
fi
