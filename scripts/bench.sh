#!/usr/bin/env bash
# Builds the benchmark in a Release tree and runs it on generated folders of scale 1 and 10.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
dpkg -s libboost-dev >/dev/null 2>&1 || {
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq libboost-dev
}
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DSITECONFIG_BUILD_BENCH=ON \
  -DSITECONFIG_BUILD_TESTS=OFF -DSITECONFIG_BUILD_TOOLS=OFF
cmake --build build/bench --target siteconfig_bench -j "$(nproc)"
build/bench/bench/siteconfig_bench --scales "${SCALES:-1,10}" --runs "${RUNS:-5}" "$@"
