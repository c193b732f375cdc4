# shellcheck shell=bash
# shellcheck disable=SC2034  # the package lists below are read by the scripts that source this file
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

# The Debian packages of each use, on a fresh Debian 12. Each script asks
# ensure_packages for the lists it needs, and only for those.
# Building and running the program, and its capture on a private X server:
BUILD_PACKAGES=(
  cmake g++ make                        # toolchain
  libglut-dev libgl-dev                 # freeglut and libGL (GLVND)
  libgl1-mesa-dri                       # Mesa's software renderers
  xvfb xdotool imagemagick              # the headless capture: a private X server, the right click, PNG and GIF
)
# Making the Debian package:
PACKAGING_PACKAGES=(
  dpkg-dev file                         # dpkg-shlibdeps; CPack finds the ELF files with file
  git                                   # the package's date: the last commit
)
# The tests and benchmarks, on top of both:
TEST_PACKAGES=(
  libgtest-dev libbenchmark-dev         # the motion tests and the benchmark program
  python3-numpy python3-pil             # the frame comparison (tests/frames.py)
  lintian                               # the package test
)

# The windows preset's: the cross compilers, freeglut's source unpacked, the
# icon, the zip, and its tests under Wine. Only Debian's wine64, which installs
# the loader as /usr/lib/wine/wine64: its recommended wine adds just a wrapper
# that asks for wine32 too. Of wine64's other recommends, Mesa's GL for Wine's
# OpenGL and the libraries its X11 driver loads, all but Vulkan's.
WINDOWS_PACKAGES=(
  cmake make git                        # the build, the zip's date
  g++-mingw-w64-x86-64-posix            # compilers, binutils and runtime for 64-bit Windows
  dpkg-dev                              # dpkg-source unpacks freeglut's Debian source
  googletest                            # googletest's sources, built for Windows
  icoutils zip unzip                    # the icon (icotool), its check (wrestool); the zip
  wine64 libgl1 libgl1-mesa-dri         # Wine, and Mesa's software renderer behind its OpenGL
  libxcursor1 libxi6 libxrandr2 libxrender1 libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1
  xvfb xdotool imagemagick              # a private X server, pointer events, frames
  python3-numpy python3-pil             # frames told by tests/frames.py
)

# The web preset's: Debian's Emscripten (with its clang and Node.js), the zip,
# and the server that scripts/run web starts; its tests drive Debian's
# Chromium, with WebGL on Mesa's llvmpipe under a private Xvfb, from Python.
WEB_PACKAGES=(
  cmake make git                        # the build, the zip's date
  emscripten zip python3                # the compiler and its runtime; the zip; the page's server
)
WEB_TEST_PACKAGES=(
  chromium xvfb libgl1-mesa-dri         # the browser, a private X server, Mesa's llvmpipe
  python3-websocket python3-numpy python3-pil  # the DevTools protocol; the frames
  unzip                                 # the zip test
)

say() { printf '%s\n' "$*" >&2; }


# ensure_packages PACKAGE...: installs those that are missing, with apt-get
# when running as root; otherwise prints the command to run and stops.
ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
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

# ensure_test_packages [PACKAGE...]: what building, packaging and testing the
# selected preset need (the clang preset: clang too), and the PACKAGEs.
ensure_test_packages() {
  local compiler=()
  [ "$PRESET" != clang ] || compiler=(clang)
  ensure_packages "${BUILD_PACKAGES[@]}" "${PACKAGING_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${compiler[@]}" "$@"
}

# Configures the selected preset, then builds incrementally. Warnings are
# errors when BOUNCING_BALL_WERROR=ON is in the environment (CI sets it).
configure() {
  (cd "$ROOT" && cmake --preset "$PRESET" -DBOUNCING_BALL_WERROR="${BOUNCING_BALL_WERROR:-OFF}" >/dev/null)
}
build() {
  configure
  cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}
