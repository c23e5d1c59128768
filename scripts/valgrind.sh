#!/usr/bin/env bash
# Runs every test program of a build under valgrind memcheck. Any invalid read or write, use of
# an uninitialised value, or definite or indirect leak fails the run.
#
#   scripts/valgrind.sh [BUILD_DIR]     (default build/release, configured and built if needed)
#
# glibc's vectorised wmemcmp reads whole aligned words past a string's end, which memcheck
# cannot tell from a fault; scripts/valgrind.supp names that one routine.
#
# Each test program runs whole under one valgrind, two at a time (VALGRIND_JOBS to change).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}

scripts/setup.sh
if ! command -v valgrind >/dev/null 2>&1; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq valgrind
fi

echo "== valgrind memcheck ($build)"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j 2

logs=$build/valgrind
rm -rf "$logs"
mkdir -p "$logs"
run_one() {
  local program=$1 logs=$2 name
  name=$(basename "$program")
  if SITECONFIG_TEST_BINARY_DIR=$(dirname "$program")/ valgrind --tool=memcheck --quiet \
    --error-exitcode=99 --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect --num-callers=30 \
    --suppressions="$PWD/scripts/valgrind.supp" \
    --log-file="$logs/$name.valgrind.%p" "$program" --gtest_brief=1 >"$logs/$name.out" 2>&1; then
    echo "ok      $name"
  else
    echo "FAILED  $name (see $logs/$name.*)"
    return 1
  fi
}
export -f run_one
find "$build/tests" -maxdepth 1 -type f -name '*Test' -perm -u+x -print0 | sort -z |
  xargs -0 -P "${VALGRIND_JOBS:-2}" -I{} bash -c 'run_one "$1" "$2"' _ {} "$logs"
