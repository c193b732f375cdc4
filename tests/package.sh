#!/usr/bin/env bash
# The packages, as a user makes them. (That two builds give the same bytes,
# CI checks: .ci/run.)
# Usage: package.sh deb                     the .deb of scripts/package
#        package.sh windows|web BUILD NAME  the zip of the windows or the web preset's build
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" && exit 1; }

# lintian finds nothing; it holds its files and nothing else; apt can install
# it, its dependencies (found by dpkg-shlibdeps) included.
deb() {
  local deb lint files install
  deb=$("$(dirname "$0")/../scripts/package" 2>"$work/log") || fail "scripts/package: $(cat "$work/log")"
  lint=$(lintian "$deb" 2>"$work/log") || fail "lintian could not check $deb: $(cat "$work/log")"
  [ -z "$lint" ] || fail "lintian: $lint"
  files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | LC_ALL=C sort | xargs)
  [ "$files" = "./usr/games/bouncing-ball ./usr/share/applications/bouncing-ball.desktop \
./usr/share/doc/bouncing-ball/changelog.gz ./usr/share/doc/bouncing-ball/copyright \
./usr/share/icons/hicolor/256x256/apps/bouncing-ball.png ./usr/share/icons/hicolor/48x48/apps/bouncing-ball.png \
./usr/share/man/man6/bouncing-ball.6.gz" ] || fail "files: $files"
  install=$(apt-get install --simulate "$deb" 2>&1) || fail "apt-get cannot install it: $install"
  grep -q '^Inst bouncing-ball ' <<<"$install" || fail "apt-get would not install it: $install"
  echo "packaged: $(basename "$deb"), Depends: $(dpkg-deb -f "$deb" Depends)"
}

# make_zip BUILD NAME FILE...: makes NAME.zip of BUILD, which must hold the FILEs and nothing else, in NAME/.
make_zip() {
  local build=$1 name=$2 files
  cmake -DBUILD_DIR="$build" -DNAME="$name" -DOUTPUT="$work" -P "$(dirname "$0")/../data/zip.cmake" \
    >"$work/log" 2>&1 || fail "the zip: $(cat "$work/log")"
  files=$(unzip -Z1 "$work/$name.zip" | sed "s|^$name/||" | xargs)
  [ "$files" = "${*:3}" ] || fail "files: $files"
  unzip -q "$work/$name.zip" -d "$work" || fail "unzip"
}

# The page, its program and icon, and the notices of what the program holds.
web() {
  make_zip "$1" "$2" bouncing-ball.js bouncing-ball.png bouncing-ball.wasm index.html licenses/emscripten.txt \
    licenses/freeglut.txt
  echo "zipped: $2.zip, $(stat -c %s "$work/$2.zip") bytes"
}

# Its files and nothing else; the program in it 64-bit, importing only DLLs
# that every Windows has, with its icon and its version.
windows() {
  local name=$2 program headers dlls others icons version value
  make_zip "$1" "$2" README.txt bouncing-ball.exe licenses/freeglut.txt licenses/gcc.txt licenses/mingw-w64.txt
  program=$work/$name/bouncing-ball.exe
  headers=$(x86_64-w64-mingw32-objdump -p "$program") || fail "objdump cannot read the program"
  grep -q 'file format pei-x86-64' <<<"$headers" || fail "not a 64-bit Windows program"
  dlls=$(sed -n 's/^\tDLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]' | sort)
  others=$(grep -vxE '(advapi32|gdi32|kernel32|msvcrt|opengl32|user32|winmm)\.dll' <<<"$dlls" || true)
  [ -z "$others" ] || fail "imports $(xargs <<<"$others"), not DLLs that every Windows has"
  grep -qx kernel32.dll <<<"$dlls" || fail "no import of kernel32.dll: $(xargs <<<"$dlls")"
  wrestool -x --type=group_icon "$program" >"$work/icon.ico" || fail "no icon in the program"
  icons=$(icotool -l "$work/icon.ico" | grep -o -- '--width=[0-9]* --height=[0-9]*' | xargs || true)
  [ "$icons" = "--width=48 --height=48 --width=256 --height=256" ] || fail "icons: $icons"
  version=$(wrestool -x --raw --type=version "$program" | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr -c '[:print:]' ' ' ||
    true)
  for value in 'ProductName *Bouncing ball' 'ProductVersion *1\.0\.0' 'FileVersion *1\.0\.0'; do
    grep -q "$value" <<<"$version" || fail "the version resource has no '$value': $version"
  done
  echo "zipped: $name.zip, $(stat -c %s "$work/$name.zip") bytes; imports: $(xargs <<<"$dlls")"
}

case ${1:-} in
  deb | windows | web) "$@" ;;
  *) fail "usage: package.sh deb | windows BUILD NAME | web BUILD NAME" ;;
esac
