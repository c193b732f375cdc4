# shellcheck shell=bash
# Shared by the scripts: the Debian packages the project needs, and the build.
# Sourced, not run.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# A build is one CMake preset (CMakePresets.json), each in its own build/<preset>.
# use_preset NAME selects it; the scripts then find it in $PRESET and $BUILD_DIR.
use_preset() {
  PRESET="$1"
  BUILD_DIR="$ROOT/build/$PRESET"
}
use_preset default

# Everything the build, the program and its tests need on a fresh Debian 12.
PACKAGES=(
  cmake g++ make pkg-config             # toolchain
  libglut-dev libgl-dev                 # freeglut and libGL (GLVND)
  libgl1-mesa-dri                       # Mesa's software renderer
  libgtest-dev libbenchmark-dev         # tests and benchmarks
  xvfb                                  # a private X server for each test (tools/with-xvfb)
  xdotool imagemagick                   # pointer events and windows; image comparison, PNG and GIF
  openbox wmctrl                        # a real window manager, to send its close message
  dpkg-dev file                         # the Debian package: dpkg-shlibdeps, and CPack finds ELF files with file
  desktop-file-utils man-db             # the package test validates the menu entry and formats the manual page
  lintian diffoscope-minimal git        # the package test: lintian, what differs between two builds; the package's date
  clang                                 # the second compiler (preset clang)
)

# The windows preset's: the cross compilers, freeglut's source unpacked, the
# icon, the zip, and its tests under Wine. Only Debian's wine64, which installs
# the loader as /usr/lib/wine/wine64: its recommended wine adds just a wrapper
# that asks for wine32 too. Of wine64's other recommends, Mesa's GL for Wine's
# OpenGL and the libraries its X11 driver loads, all but Vulkan's.
# shellcheck disable=SC2034  # used by the scripts that source this file
WINDOWS_PACKAGES=(
  cmake make git                        # the build, the zip's date
  g++-mingw-w64-x86-64-posix            # compilers, binutils and runtime for 64-bit Windows
  dpkg-dev                              # dpkg-source unpacks freeglut's Debian source
  googletest                            # googletest's sources, built for Windows
  icoutils zip unzip                    # the icon (icotool), its check (wrestool); the zip
  wine64 libgl1 libgl1-mesa-dri         # Wine, and Mesa's software renderer behind its OpenGL
  libxcursor1 libxi6 libxrandr2 libxrender1 libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1
  xvfb xdotool imagemagick openbox wmctrl  # a private X server, pointer events, frames, a window manager
  diffoscope-minimal                    # what differs between two zips
)

say() { printf '%s\n' "$*" >&2; }

# Installs the packages that are missing: with apt-get when running as root,
# otherwise prints the command to run and stops.
ensure_packages() {
  local missing=() pkg
  for pkg in "${PACKAGES[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}\n' "$pkg" 2>/dev/null | grep -q '^install ok installed$'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    say "Missing Debian packages. Install them with:"
    say "  sudo apt-get install -y ${missing[*]}"
    exit 1
  fi
  say "Installing ${missing[*]} ..."
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures the selected preset, then builds incrementally. Warnings are
# errors when BOUNCING_BALL_WERROR=ON is in the environment (CI sets it).
configure() {
  (cd "$ROOT" && cmake --preset "$PRESET" -DBOUNCING_BALL_WERROR="${BOUNCING_BALL_WERROR:-OFF}" "$@" >/dev/null)
}
build() {
  configure "$@"
  cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}
