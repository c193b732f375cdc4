#!/usr/bin/env bash
# Builds the Debian package and checks it: its files in their places and
# nothing else, the menu entry, the manual page, its section and the
# dependencies dpkg-shlibdeps found, and that lintian finds nothing.
# Usage: package.sh BUILD_DIR
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" && exit 1; }

cpack -G DEB -B "$work" --config "$1/CPackConfig.cmake" >"$work/log" 2>&1 || fail "cpack: $(cat "$work/log")"
deb=$(ls "$work"/bouncing-ball_*_"$(dpkg --print-architecture)".deb) && dpkg-deb -x "$deb" "$work/root" || fail "no package"
lint=$(lintian "$deb") && [ -z "$lint" ] || fail "lintian: $lint"
cd "$work/root" || exit 1
files=$(find . -type f | LC_ALL=C sort | tr '\n' ' ')
[ "$files" = "./usr/games/bouncing-ball ./usr/share/applications/bouncing-ball.desktop ./usr/share/doc/bouncing-ball/changelog.gz \
./usr/share/doc/bouncing-ball/copyright ./usr/share/icons/hicolor/256x256/apps/bouncing-ball.png \
./usr/share/icons/hicolor/48x48/apps/bouncing-ball.png ./usr/share/man/man6/bouncing-ball.6.gz " ] || fail "files: $files"
desktop-file-validate usr/share/applications/bouncing-ball.desktop || fail "the menu entry"
warnings=$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l usr/share/man/man6/bouncing-ball.6.gz 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page formats with warnings: $warnings"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section $(dpkg-deb -f "$deb" Section)"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 'libglut[0-9.]*' 'lib(gl1|opengl0)'; do
  grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
echo "packaged: $(basename "$deb"), Depends: $depends"
