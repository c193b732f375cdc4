#!/usr/bin/env bash
# Installs the build into a temporary root and builds the Debian package, then
# checks both: every file in its place and nothing else, the menu entry, the
# icons, the manual page, and the package's fields and dependencies.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail

build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
  printf 'FAIL: %s\n' "$*" >&2
  failures=$((failures + 1))
}

expected_files='./usr/bin/bouncing-ball
./usr/share/applications/bouncing-ball.desktop
./usr/share/icons/hicolor/256x256/apps/bouncing-ball.png
./usr/share/icons/hicolor/48x48/apps/bouncing-ball.png
./usr/share/man/man6/bouncing-ball.6.gz'

# --- Install into a temporary root, as a package build does.
root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
installed="$(cd "$root" && find . -type f | LC_ALL=C sort)"
[ "$installed" = "$expected_files" ] || fail "installed files differ:
$(diff <(echo "$expected_files") <(echo "$installed"))"

[ -x "$root/usr/bin/bouncing-ball" ] || fail "the program is not executable"

entry="$root/usr/share/applications/bouncing-ball.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the menu entry"
grep -qx 'Exec=bouncing-ball' "$entry" || fail "the menu entry does not run bouncing-ball"
grep -qx 'Icon=bouncing-ball' "$entry" || fail "the menu entry does not use the installed icon"

for size in 48 256; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/bouncing-ball.png"
  file -b "$icon" | grep -q "^PNG image data, $size x $size," || fail "icon in ${size}x${size} is $(file -b "$icon")"
done

# The manual page is formatted without warnings and has its sections.
page="$root/usr/share/man/man6/bouncing-ball.6.gz"
warnings="$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)"
[ -z "$warnings" ] || fail "the manual page formats with warnings: $warnings"
text="$(LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$page" 2>/dev/null)"
head -n 1 <<<"$text" | grep -q '^BOUNCING-BALL(6)' || fail "the manual page is not bouncing-ball(6)"
for section in NAME SYNOPSIS DESCRIPTION CONTROLS OPTIONS 'EXIT STATUS'; do
  grep -qx "$section" <<<"$text" || fail "the manual page has no $section section"
done

# --- The Debian package, built into the temporary directory.
cpack -G DEB -B "$work/deb" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  exit 1
}
debs=("$work"/deb/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { fail "cpack made ${#debs[@]} packages"; exit 1; }
deb="${debs[0]}"

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
arch="$(dpkg --print-architecture)"
[ "$(basename "$deb")" = "bouncing-ball_${version}_${arch}.deb" ] || fail "package file is $(basename "$deb")"

packaged="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | LC_ALL=C sort)"
[ "$packaged" = "$expected_files" ] || fail "packaged files differ:
$(diff <(echo "$expected_files") <(echo "$packaged"))"
dpkg-deb -c "$deb" | awk '$2 != "root/root" {bad = 1} END {exit bad}' || fail "packaged files not owned by root"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = bouncing-ball ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ "$(field Description | wc -l)" -ge 2 ] || fail "no long Description"

# Depends comes from dpkg-shlibdeps: the C library, freeglut and the GL library the program links.
depends="$(field Depends)"
for pkg in 'libc6' 'libglut[0-9.]*' 'lib(gl1|opengl0)'; do
  grep -Eq "(^|, )$pkg( |,|$)" <<<"$depends" || fail "Depends lacks $pkg: $depends"
done

[ "$failures" -eq 0 ] || exit 1
echo "installed and packaged: $(basename "$deb"), Depends: $depends"
