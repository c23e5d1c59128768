#!/usr/bin/env bash
# Builds everything (library, siteconfig command, sample plug-in, tests) and runs siteconfig on
# the example configuration: the check a configuration author runs, a query and a preview page.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j "$jobs"

siteconfig=build/release/bin/siteconfig
echo "== siteconfig check examples/site-layout"
"$siteconfig" check examples/site-layout
echo "== siteconfig type '\\基本构件\\墙\\直形墙'"
"$siteconfig" --root examples/site-layout type '\基本构件\墙\直形墙'
echo "== siteconfig preview Wall_直形墙 '\\基本构件\\墙'"
"$siteconfig" --root examples/site-layout preview Wall_直形墙 '\基本构件\墙' \
  -o build/release/wall-preview.html
