#!/usr/bin/env bash
# The tools behind the reference frames: the frame comparison's three
# measures of one changed pixel, and the inputs a developer may hand them by
# mistake: the frame comparison refuses what it cannot read (a 16-bit
# PPM, as ImageMagick writes unless told -depth 8; a short file; two sizes)
# with a message that names the file, and writes no difference image then;
# tools/frames refuses a verb it does not know, and its update keeps the old
# references when a new one does not convert.
# Usage: tools.sh FRAME_DIFF
set -uo pipefail
frame_diff=$1
frames="$(cd "$(dirname "$0")/.." && pwd)/tools/frames"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
fail() { echo "FAIL: $*" && exit 1; }

# expect STATUS TEXT COMMAND...: COMMAND ends with STATUS and prints TEXT (on either stream).
expect() {
  local status=$1 text=$2 output
  shift 2
  output=$("$@" 2>&1)
  local got=$?
  [ $got = "$status" ] || fail "$*: status $got, not $status: $(head -n 5 <<<"$output")"
  grep -qF -- "$text" <<<"$output" || fail "$*: no '$text' in: $output"
}

# 3 x 2 pixels of one colour; the last pixel of a.ppm differs from it in b.ppm.
printf 'P6 3 2 255\n' >a.ppm && printf '\x10\x20\x30%.0s' 1 2 3 4 5 6 >>a.ppm
printf 'P6\n3 2\n255\n' >b.ppm && printf '\x10\x20\x30%.0s' 1 2 3 4 5 >>b.ppm && printf '\x10\x20\x80' >>b.ppm
convert a.ppm -depth 16 deep.ppm || fail "cannot make a 16-bit PPM"
head -c 20 a.ppm >short.ppm
printf 'P6\n2 3\n255\n' >tall.ppm && head -c 18 /dev/zero >>tall.ppm

expect 0 "0 0 0" "$frame_diff" a.ppm a.ppm 0 8 diff.ppm
[ "$(head -c 11 diff.ppm)" = "$(printf 'P6\n3 2\n255')" ] || fail "the difference image is no 3 x 2 PPM"
# The changed pixel (80 levels of blue): off in b, which a's neighbourhood cannot match; moved.
expect 0 "1 1 0" "$frame_diff" a.ppm b.ppm 3 8 diff.ppm
expect 0 "0 1 0" "$frame_diff" a.ppm b.ppm 80 8 diff.ppm
# Within EDGE it is no move, but the colours drift by its 80 levels.
expect 0 "0 0 80" "$frame_diff" a.ppm b.ppm 80 80 diff.ppm
expect 0 "1 1 0" "$frame_diff" - b.ppm 3 8 diff.ppm <a.ppm
rm diff.ppm
expect 2 "deep.ppm: a PPM with maximum value 65535, not 255" "$frame_diff" deep.ppm a.ppm 3 8 diff.ppm
expect 2 "short.ppm: 9 bytes of pixels, not the 18" "$frame_diff" a.ppm short.ppm 3 8 diff.ppm
expect 2 "a.ppm is 3 x 2 pixels, tall.ppm is 2 x 3" "$frame_diff" a.ppm tall.ppm 3 8 diff.ppm
expect 2 "missing.ppm: No such file" "$frame_diff" missing.ppm a.ppm 3 8 diff.ppm
echo "not an image" >text.ppm
expect 2 "text.ppm: not a binary PPM" "$frame_diff" a.ppm text.ppm 3 8 diff.ppm
expect 2 "LEVELS is a whole number from 0 to 255, not 'three'" "$frame_diff" a.ppm a.ppm three 8 diff.ppm
expect 2 "EDGE is a whole number from 0 to 255, not '256'" "$frame_diff" a.ppm a.ppm 3 256 diff.ppm
expect 2 "usage: frame_diff" "$frame_diff" a.ppm a.ppm 3 8
[ ! -e diff.ppm ] || fail "a comparison that failed wrote a difference image"

mkdir references drawn
convert a.ppm references/000001.png || fail "cannot make a PNG"
cp references/000001.png old.png
cp a.ppm drawn/000001.ppm
cp b.ppm drawn/000002.ppm
expect 2 "frames: no verb 'updat'" env REFERENCES="$PWD/references" "$frames" updat drawn
cp short.ppm drawn/000003.ppm
expect 1 "cannot convert drawn/000003.ppm; the references are unchanged" \
  env REFERENCES="$PWD/references" "$frames" update drawn
[ "$(ls references)" = 000001.png ] || fail "a failed update changed the references: $(ls references)"
cmp -s references/000001.png old.png || fail "a failed update changed the reference 000001.png"
rm drawn/000003.ppm
expect 0 "2 references written" env REFERENCES="$PWD/references" "$frames" update drawn
[ "$(convert references/000002.png -depth 8 ppm:- | md5sum)" = "$(md5sum <b.ppm)" ] || fail "the new reference is not the frame"
echo "passed: the frame comparison and tools/frames refuse what they cannot use"
