# shellcheck shell=bash
# Runs the real program on the X server in DISPLAY and drives it with xdotool
# as a user would; with the frame dump preloaded (tools/frame_dump.cpp), reads
# every frame it shows. Sourced by tools/capture and the end-to-end tests;
# needs PROGRAM, the path of the program, and FRAME_DUMP, that of the frame
# dump (none: no frames). PROGRAM_PREFIX goes before the program, such as Wine.
# Sourcing it defines what is below and nothing else; begin sets up the rest.

TITLE='Bouncing ball 1   -by: VOLM-'

# begin: a directory for the frames the program shows and what it writes to
# stderr ($work, $log), removed, with the program stopped, when the calling
# script ends: begin sets that script's EXIT trap.
begin() {
  work=$(mktemp -d)
  log=$work/stderr
  pid=
  trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
}

# die MESSAGE: ends the script with MESSAGE and what the program wrote.
die() {
  echo "$(basename "$0"): $*" >&2
  [ ! -s "${log:-}" ] || sed 's/^/program: /' "$log" >&2
  exit 1
}

# xdo ARGS...: xdotool ARGS, which must succeed: a command that failed delivered no events.
xdo() {
  xdotool "$@" && return
  local status=$? words="$*"
  ((${#words} <= 200)) || words="${words:0:200} ..."
  die "xdotool $words: exit status $status"
}

# start [ARGS...]: starts the program with ARGS (as $pid) and waits up to 30 s
# for its window to be mapped ($window).
start() {
  rm -f "$work"/*
  # shellcheck disable=SC2086  # the prefix is words
  FRAME_DUMP_DIR=$work LD_PRELOAD=${FRAME_DUMP:-} ${PROGRAM_PREFIX:-} "$PROGRAM" "$@" 2>"$log" &
  pid=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -n 1) || true
  [ -n "$window" ]
}

# dump N: the next N frames the program shows, as PPM files; prints their
# paths in the order shown. Fails when they do not come within 60 s.
dump() {
  rm -f "$work"/*.ppm
  echo "$1" >"$work/request.part" && mv "$work/request.part" "$work/request"
  local tries=1200
  until [ "$(find "$work" -name '*.ppm' | wc -l)" -ge "$1" ]; do
    ((--tries)) || return 1
    sleep 0.05
  done
  ls "$work"/*.ppm
}

# ended: waits up to 15 s for the program to end, and returns its exit status
# (124 when it still runs).
ended() {
  timeout 15 tail --pid="$pid" -f /dev/null || return 124
  local status=0
  wait "$pid" || status=$?
  return $status
}

# quit: a click of the right button in the window, then ended.
quit() {
  xdo mousemove --window "$window" 250 250 mousedown 3 mouseup 3
  ended
}
