# Shared by the scripts: the Debian packages the project needs, and the build.
# Sourced, not run.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD_DIR="$ROOT/build"

# Everything the build, the program and its tests need on a fresh Debian 12.
PACKAGES=(
  cmake g++ make pkg-config             # toolchain
  libglut-dev libgl-dev                 # freeglut and libGL (GLVND)
  libgl1-mesa-dri                       # Mesa's software renderer
  libgtest-dev                          # unit and render tests
  libbenchmark-dev                      # benchmarks, built and smoke-run with the tests
  libx11-dev libxtst-dev                # the X driver: Xlib and XTest pointer events
  libpng-dev libgif-dev                 # the driver's PNG grabs, the capture tool's GIF
  xvfb xauth                            # a private X server for tests without a screen
  dpkg-dev file                         # the Debian package: dpkg-shlibdeps, and CPack finds ELF files with file
  desktop-file-utils man-db             # the package test validates the menu entry and formats the manual page
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

# Configures once, then builds incrementally.
build() {
  if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  fi
  cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}
