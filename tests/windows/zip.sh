#!/usr/bin/env bash
# Makes the Windows zip and checks it: its files and nothing else; the program
# a stripped 64-bit console program that imports only DLLs every Windows has,
# with its icon and its version; README.txt and the licence notices; and that
# a second build, from a copy of the sources in another directory, gives the
# same bytes.
# Usage: zip.sh BUILD_DIR NAME     (the windows preset's build, the zip's name)
set -uo pipefail
build=$1 name=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" && exit 1; }
source=$(cd "$(dirname "$0")/../.." && pwd)
# The copy has no git history to date its files by, so both builds get the last commit's time here.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$source" log -1 --format=%ct)}

cmake -DBUILD_DIR="$build" -DNAME="$name" -DOUTPUT="$work" -P "$source/data/windows/zip.cmake" >"$work/log" 2>&1 ||
  fail "the zip: $(cat "$work/log")"
zip=$work/$name.zip
files=$(unzip -Z1 "$zip" | tr '\n' ' ')
[ "$files" = "$name/README.txt $name/bouncing-ball.exe $name/licenses/freeglut.txt $name/licenses/gcc.txt \
$name/licenses/mingw-w64.txt " ] || fail "files: $files"
unzip -q "$zip" -d "$work/root" || fail "unzip"
cd "$work/root/$name" || exit 1

# The program: PE32+ for x86-64, dated by the last commit, console, no debug sections, and only system DLLs.
headers=$(TZ=UTC x86_64-w64-mingw32-objdump -p -h bouncing-ball.exe) || fail "objdump cannot read the program"
grep -q 'file format pei-x86-64' <<<"$headers" || fail "not a 64-bit Windows program"
grep -q "^Time/Date[[:space:]]*$(date -u -d "@$SOURCE_DATE_EPOCH" '+%a %b %e %T %Y')$" <<<"$headers" ||
  fail "the program's $(grep '^Time/Date' <<<"$headers"), not the last commit's"
grep -q 'Subsystem.*(Windows CUI)' <<<"$headers" || fail "not a console program"
! grep -q '\.debug_' <<<"$headers" || fail "the program is not stripped"
dlls=$(sed -n 's/^\tDLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]' | sort | tr '\n' ' ')
for dll in $dlls; do
  case $dll in
    advapi32.dll | gdi32.dll | kernel32.dll | msvcrt.dll | opengl32.dll | user32.dll | winmm.dll) ;;
    *) fail "imports $dll, not a DLL of every Windows (imports: $dlls)" ;;
  esac
done
grep -q 'kernel32.dll' <<<"$dlls" || fail "no import of kernel32.dll: $dlls"

# Its icon, at 48 x 48 and 256 x 256, and its version, the project's.
wrestool -x --type=group_icon bouncing-ball.exe >"$work/icon.ico" || fail "no icon in the program"
icons=$(icotool -l "$work/icon.ico" | grep -o -- '--width=[0-9]* --height=[0-9]*' | tr '\n' ' ')
[ "$icons" = "--width=48 --height=48 --width=256 --height=256 " ] || fail "icons: $icons"
version=$(wrestool -x --raw --type=version bouncing-ball.exe | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr -c '[:print:]' ' ')
for value in 'ProductName *Bouncing ball' 'ProductVersion *1\.0\.0' 'FileVersion *1\.0\.0' \
  'OriginalFilename *bouncing-ball\.exe'; do
  grep -q "$value" <<<"$version" || fail "the version resource has no '$value': $version"
done

# README.txt in Windows' line ends, and the notices of what is linked in.
[ "$(grep -c $'\r$' README.txt)" = "$(wc -l <README.txt)" ] || fail "README.txt has lines without CRLF"
! grep -q '@[A-Z_]*@' README.txt || fail "README.txt has a variable left unreplaced: $(grep '@[A-Z_]*@' README.txt)"
grep -q 'Permission is hereby granted' licenses/freeglut.txt || fail "licenses/freeglut.txt lacks freeglut's notice"
grep -q 'The Open Group' licenses/freeglut.txt || fail "licenses/freeglut.txt lacks the notice of X's XParseGeometry"
grep -q 'mingw-w64-crt' licenses/mingw-w64.txt || fail "licenses/mingw-w64.txt does not cover the C runtime"
grep -q 'winpthreads' licenses/mingw-w64.txt || fail "licenses/mingw-w64.txt does not cover winpthreads"
grep -q 'GCC RUNTIME LIBRARY EXCEPTION' licenses/gcc.txt || fail "licenses/gcc.txt lacks GCC's runtime exception"

# The same sources, copied to another path, built with the same preset (freeglut
# again too, from the same download) and zipped again.
git -C "$source" ls-files -z -co --exclude-standard | tar -C "$source" -c --null -T - | (mkdir "$work/copy" && tar -C "$work/copy" -x)
(cd "$work/copy" && cmake --preset windows -DBUILD_TESTING=OFF -DFREEGLUT_DOWNLOADS="$build/freeglut/downloads" &&
  cmake --build build/windows --target bouncing-ball --parallel 2 &&
  cmake -DBUILD_DIR="$work/copy/build/windows" -DNAME="$name" -DOUTPUT="$work/again" -P data/windows/zip.cmake) \
  >"$work/log" 2>&1 || fail "the second build: $(cat "$work/log")"
cmp -s "$zip" "$work/again/$name.zip" ||
  fail "a second build differs: $(diffoscope --text - "$zip" "$work/again/$name.zip" | head -n 60)"
echo "zipped: $name.zip, $(stat -c %s "$zip") bytes, the same from a second build; imports: $dlls"
