# shellcheck shell=bash
# Runs the real program on the X server in DISPLAY with the frame dump
# preloaded (tools/frame_dump.cpp), and drives it with xdotool as a user
# would; reads the frames it shows, from the frame dump or from the window.
# Sourced by the end-to-end tests and the capture; needs PROGRAM, the path of
# the program, and FRAME_DUMP, that of the frame dump (none under Wine).

TITLE='Bouncing ball 1   -by: VOLM-'
work=$(mktemp -d)  # the frames the program shows, and what it writes to stderr
log=$work/stderr
pid=
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

# die MESSAGE: ends the script with MESSAGE and what the program wrote.
die() {
  echo "$(basename "$0"): $*" >&2
  [ ! -s "$log" ] || sed 's/^/program: /' "$log" >&2
  exit 1
}

# xdo ARGS...: xdotool ARGS, which must succeed: a command that failed delivered no events.
xdo() {
  xdotool "$@" && return
  local status=$? words="$*"
  ((${#words} <= 200)) || words="${words:0:200} ..."
  die "xdotool $words: exit status $status"
}

# start [ARGS...]: starts the program with ARGS (as $pid; PROGRAM_PREFIX goes
# before it, such as "env -u DISPLAY", or Wine) and waits up to 30 s for its
# window to be mapped ($window).
start() {
  rm -f "$work"/*
  # shellcheck disable=SC2086  # the prefix is words
  FRAME_DUMP_DIR=$work LD_PRELOAD=${FRAME_DUMP:-} ${PROGRAM_PREFIX:-} "$PROGRAM" "$@" 2>"$log" &
  pid=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -n 1)
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
# (124 when it still runs). A sanitizer's report ends the script: it changes
# no status that a test could tell from an error of the program's own.
ended() {
  timeout 15 tail --pid="$pid" -f /dev/null || return 124
  wait "$pid"
  local status=$?
  ! grep -qE 'Sanitizer|runtime error' "$log" || die "a sanitizer report (exit status $status)"
  return $status
}

# quit: a click of the right button in the window, then ended.
quit() {
  xdo mousemove --window "$window" 250 250 mousedown 3 mouseup 3
  ended
}

# ---- Frames read from the window itself, where the frame dump cannot go
# (a Windows program under Wine). Grabs catch some frames, not every one.

# window_references DIR: the step of the throw each reference frame in DIR
# shows, by the MD5 of its RGB bytes (000003.png shows step 1, 000101.png
# step 99), for grab.
window_references() {
  local throw sum file
  declare -gA stepOf
  mapfile -t throw < <(seq -f "$1/%06g.png" 3 101)
  convert "${throw[@]}" rgb:"$work/%02d.rgb" || die "cannot read the reference throw in $1"  # 00.rgb: step 1
  while read -r sum file; do
    stepOf[$sum]=$((10#$(basename "$file" .rgb) + 1))
  done < <(md5sum "$work"/*.rgb)
  rm "$work"/*.rgb
  ((${#stepOf[@]} == 99)) || die "the reference throw does not have 99 different frames"
}

# grab: reads the window's pixels (8 bits a channel: import writes 16 unless
# told) and sets frame to their MD5 and step to the step of the throw they
# show, 0 for none. (import waits for a click on a window when it finds none,
# hence the bound.)
grab() {
  kill -0 "$pid" 2>/dev/null || die "the program has ended"
  frame=$(timeout 10 import -silent -window "$window" -depth 8 rgb:- | md5sum | cut -d' ' -f1) ||
    die "cannot read the window's pixels"
  # shellcheck disable=SC2034  # grab's result, read by its callers
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
