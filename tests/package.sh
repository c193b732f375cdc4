#!/usr/bin/env bash
# Makes the Debian package as a user does, with scripts/package, twice: from
# two copies of the sources in two directories, one built under umask 022 and
# one under 077. Checks the first: its files in their places and nothing else,
# the menu entry, the manual page, its section and the dependencies
# dpkg-shlibdeps found, and that lintian finds nothing; and that the second is
# the same to the byte (otherwise diffoscope's summary of what differs).
# The build trees of the other tests are not touched: tests run programs from them.
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" && exit 1; }
source=$(cd "$(dirname "$0")/.." && pwd)
# The copies have no git history to date their files by, so both get the last commit's time here.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$source" log -1 --format=%ct)} || fail "no git history in $source"
export SOURCE_DATE_EPOCH

# package DIR UMASK: copies the sources (as git sees them, changes included) to DIR
# and prints the path of the package that scripts/package makes there.
package() {
  mkdir -p "$1" || fail "cannot make $1"
  git -C "$source" ls-files -z -co --exclude-standard | tar -C "$source" -c --null -T - | tar -C "$1" -x ||
    fail "cannot copy the sources to $1"
  (umask "$2" && "$1/scripts/package" 2>"$work/log") || fail "scripts/package under umask $2: $(cat "$work/log")"
}
deb=$(package "$work/one" 022) || exit 1
again=$(package "$work/the-second-copy" 077) || exit 1

lint=$(lintian "$deb") || fail "lintian could not check $deb: $lint"
[ -z "$lint" ] || fail "lintian: $lint"
dpkg-deb -x "$deb" "$work/root" || fail "$deb does not unpack"
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

cmp -s "$deb" "$again" || fail "a second build differs: $(diffoscope --text - "$deb" "$again" | head -n 60)"
echo "packaged: $(basename "$deb"), the same from a second copy under another umask, Depends: $depends"
