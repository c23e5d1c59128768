#!/usr/bin/env bash
# Builds siteconfig.dll, its tests and the test plug-in DLLs for 64-bit Windows with MinGW-w64,
# then runs the whole test suite under Wine, headless.
#
#   scripts/windows.sh            build and test (folder build/windows)
#   scripts/windows.sh --build    build only
#
# Everything comes from Debian: the cross compiler, Wine, GoogleTest's sources (libgtest-dev)
# and pugixml's sources (apt-get source). They are compiled for Windows into the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/windows
run_tests=1
[ "${1:-}" = "--build" ] && run_tests=0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive

# --- Packages ------------------------------------------------------------------------------
packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine64 libgtest-dev dpkg-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
updated=0
apt_update() {
  if [ "$updated" -eq 0 ]; then
    $SUDO apt-get update -qq
    updated=1
  fi
}
if ((${#missing[@]})); then
  echo "== installing: ${missing[*]}"
  apt_update
  $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# --- pugixml's Debian sources ----------------------------------------------------------------
mkdir -p "$out/src"
pugixml_src=$(find "$out/src" -maxdepth 1 -type d -name 'pugixml-*' | head -n 1)
if [ -z "$pugixml_src" ]; then
  if ! apt-get source --print-uris pugixml >/dev/null 2>&1; then
    # No source entries yet: mirror the configured binary entries of Debian's own archive.
    list=/etc/apt/sources.list.d/siteconfig-deb-src.sources
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed -e 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
        $SUDO tee "$list" >/dev/null
    else
      grep -h '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
        $SUDO tee /etc/apt/sources.list.d/siteconfig-deb-src.list >/dev/null
    fi
    updated=0
  fi
  apt_update
  (cd "$out/src" && apt-get source -qq pugixml >/dev/null)
  pugixml_src=$(find "$out/src" -maxdepth 1 -type d -name 'pugixml-*' | head -n 1)
fi

toolchain=$root/cmake/mingw-w64.cmake
deps=$out/deps
jobs=2

# --- Dependencies, compiled for Windows --------------------------------------------------------
start=$(date +%s)
if [ ! -f "$deps/.built" ]; then
  echo "== pugixml ($(basename "$pugixml_src")) and GoogleTest for Windows"
  cmake -S "$pugixml_src" -B "$out/deps-build/pugixml" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_SHARED_LIBS=OFF -DPUGIXML_BUILD_TESTS=OFF >/dev/null
  cmake --build "$out/deps-build/pugixml" -j "$jobs" >/dev/null
  cmake --install "$out/deps-build/pugixml" >/dev/null
  cmake -S /usr/src/googletest -B "$out/deps-build/googletest" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=OFF \
    -DINSTALL_GTEST=ON >/dev/null
  cmake --build "$out/deps-build/googletest" -j "$jobs" >/dev/null
  cmake --install "$out/deps-build/googletest" >/dev/null
  touch "$deps/.built"
fi

# --- The library, its tests and the test plug-ins ---------------------------------------------
echo "== siteconfig for Windows"
# The siteconfig command (and the test that installs the package and builds a consumer with it)
# are Linux tools: they stay out of the Windows build.
cmake -S . -B "$out/siteconfig" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSITECONFIG_MINGW_PREFIX="$deps" \
  -DSITECONFIG_BUILD_TOOLS=OFF >/dev/null
cmake --build "$out/siteconfig" -j "$jobs"
echo "== built in $(($(date +%s) - start)) s: $(find "$out/siteconfig" -name siteconfig.dll)"
[ "$run_tests" -eq 1 ] || exit 0

# --- The tests, under Wine --------------------------------------------------------------------
export WINEPREFIX=$out/wine
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer dialogs
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$WINEPREFIX"
# One server for the whole run (one may be running already). Wine's own services start before
# the tests: started by the first test instead, they would hold that test's output pipe open,
# and its listing would never end.
wineserver --persistent=60 2>/dev/null || true
trap 'wineserver --kill >/dev/null 2>&1 || true' EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== Wine prefix $WINEPREFIX"
  wineboot --init >/dev/null 2>&1 </dev/null
else
  wineboot >/dev/null 2>&1 </dev/null
fi
echo "== tests under Wine"
# Wine now and then fails to start a test process: the test then "fails" at once with no output
# at all. Failed tests run once more, alone, and the run fails only if they fail again; the
# first failure stays in the log.
if ! ctest --test-dir "$out/siteconfig" --output-on-failure -j "$jobs"; then
  echo "== running the failed tests once more, one at a time"
  ctest --test-dir "$out/siteconfig" --output-on-failure --rerun-failed
fi
