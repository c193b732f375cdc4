#!/usr/bin/env bash
# Builds the Debian package and checks it: its files in their places and
# nothing else, the menu entry, the manual page, its section and the
# dependencies dpkg-shlibdeps found, that lintian finds nothing, and that a
# second build from a copy in another directory gives the same bytes.
# Usage: package.sh BUILD_DIR (a preset's, build/<preset>)
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" && exit 1; }
source=$(cd "$(dirname "$0")/.." && pwd)
# The copy has no git history to date its files by, so both builds get the last commit's time here.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$source" log -1 --format=%ct)}

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

# The same sources, copied to another path, configured with the same preset and packaged again.
git -C "$source" ls-files -z -co --exclude-standard | tar -C "$source" -c --null -T - | (mkdir "$work/copy" && tar -C "$work/copy" -x)
(cd "$work/copy" && cmake --preset "$(basename "$1")" -DBUILD_TESTING=OFF -DBUILD_BENCHMARKS=OFF &&
  cpack -G DEB -B "$work/again" --config "build/$(basename "$1")/CPackConfig.cmake") >"$work/log" 2>&1 ||
  fail "the second build: $(cat "$work/log")"
cmp -s "$deb" "$work"/again/*.deb || fail "a second build differs: $(diffoscope --text - "$deb" "$work"/again/*.deb | head -n 60)"
echo "packaged: $(basename "$deb"), the same from a second build, Depends: $depends"
