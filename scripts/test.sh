#!/usr/bin/env bash
# Installs what is missing, builds everything and the Debian package, and runs every test: the install and
# package checks and the screen-reader sessions on the normal build, a replay of the fuzz corpora and a
# short bounded fuzz run of each reader, then the unit and window tests, built with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
tomarina_install_deps tomarina_packages tomarina_test_packages
# ccache, where installed, keeps the three builds below from compiling again what did not change.
# Paths are taken relative to this checkout, so that another clone of the project finds the same objects.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
# The unit and window tests compile once, in the sanitizer build below.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOMARINA_WERROR=ON -DTOMARINA_UNIT_TESTS=OFF \
  "${launcher[@]}" >/dev/null
cmake --build build -j2
cpack -G DEB --config build/CPackConfig.cmake >/dev/null
cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOMARINA_WERROR=ON \
  "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j2
ctest --test-dir build --output-on-failure -j2
ctest --test-dir build-fuzz --output-on-failure
cat build-fuzz/scratch/*.figures # the bounded runs' inputs a second and longest inputs
# The unit and window tests, built with AddressSanitizer and UndefinedBehaviorSanitizer: a use after free
# or undefined behaviour then fails the run instead of passing by luck. A memory error report goes to
# build-asan/reports, so that one from a program a test starts fails the run even where the test takes
# its exit status for an expected failure. Leaks are not looked for: the toolkit and fontconfig keep
# memory until the exit on purpose. test_install and the screen-reader sessions ran on the normal build
# above: the one checks its installed files and hardening, the others drive the program from outside for
# minutes, and the window tests reach the same accessibility code here. The fuzz targets already run
# with AddressSanitizer above. Line tables (-g1) are all a report needs, and compile faster than full
# debug information.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
  -DTOMARINA_WERROR=ON -DTOMARINA_SANITIZE=ON -DTOMARINA_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build build-asan -j2
asan_reports=build-asan/reports
rm -rf "$asan_reports" && mkdir -p "$asan_reports"
asan_ok=true
ASAN_OPTIONS=detect_leaks=0:log_path="$PWD/$asan_reports/asan" UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j2 -E '^(test_install|a11y_.*)$' || asan_ok=false
if [ -n "$(ls -A "$asan_reports")" ]; then
  cat "$asan_reports"/*
  asan_ok=false
fi
$asan_ok
