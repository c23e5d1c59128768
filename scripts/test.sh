#!/usr/bin/env bash
# Builds the library and runs the whole test suite twice: a normal build, then a build with
# AddressSanitizer and UndefinedBehaviorSanitizer that halts on the first error. Then the
# threading and parallel-load tests alone under ThreadSanitizer, which fail on the first report.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)

echo "== normal build"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSITECONFIG_WERROR=ON
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure -j "$jobs"

echo "== sanitizer build (address, undefined)"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSITECONFIG_SANITIZE=ON \
  -DSITECONFIG_WERROR=ON
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

echo "== static library (the command, the public-interface tests and an installed consumer)"
cmake -S . -B build/static -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
  -DSITECONFIG_WERROR=ON
cmake --build build/static -j "$jobs" --target siteconfig siteconfig_cli SampleGraphHandlers \
  siteconfig_cli_docs siteconfig_schemas SiteConfigEndToEndTest siteconfig_cli_tests
ctest --test-dir build/static --output-on-failure \
  -R 'SiteConfigEndToEnd|install_and_consume|SiteconfigCommand|TextOutput|SchemaCommand'

echo "== thread sanitizer build (threading and parallel-load tests only)"
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSITECONFIG_TSAN=ON \
  -DSITECONFIG_BUILD_TOOLS=OFF -DSITECONFIG_WERROR=ON
cmake --build build/tsan -j "$jobs" --target ThreadingTest ParallelLoadTest LoadProgressTest
TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/ThreadingTest
TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/ParallelLoadTest
TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/LoadProgressTest
