#!/usr/bin/env bash
# Installs what is missing, builds everything and the Debian package, and runs every test: the install and
# package checks and the screen-reader sessions on the normal build and, in one clang build with
# AddressSanitizer and UndefinedBehaviorSanitizer, the unit and window tests, a replay of the fuzz corpora
# and a short bounded fuzz run of each reader.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
tomarina_install_deps tomarina_packages tomarina_test_packages
# The configuration of run.sh, so that what it built is not compiled again here. The unit and window
# tests compile once, in the sanitizer build below.
tomarina_configure_build -DTOMARINA_UNIT_TESTS=OFF
cmake --build build -j2
cpack -G DEB --config build/CPackConfig.cmake >/dev/null

# The install and package checks and the screen-reader sessions spend their time waiting on the program
# and the accessibility bus, not computing, so they run beside the sanitizer build and its unit and window
# tests. Their report follows those; the run fails when either fails.
normal_log=build/tests.log
ctest --test-dir build --output-on-failure -j2 >"$normal_log" 2>&1 &
normal_tests=$!
normal_ok=true
finish_normal_tests() {
  trap - EXIT
  wait $normal_tests || normal_ok=false
  cat "$normal_log"
}
trap finish_normal_tests EXIT

# The unit and window tests and the fuzz targets, in one clang build with AddressSanitizer and
# UndefinedBehaviorSanitizer: a use after free or undefined behaviour then fails the run instead of
# passing by luck. Line tables (-g1) are all a report needs, and compile faster than full debug
# information. The core compiles once for the tests and the fuzzers.
cmake -S . -B build-asan -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DTOMARINA_WERROR=ON -DTOMARINA_SANITIZE=ON -DTOMARINA_FUZZ=ON \
  -DTOMARINA_BUILD_BENCH=OFF "${tomarina_launcher[@]}" >/dev/null
cmake --build build-asan -j2

# A memory error report goes to build-asan/reports, so that one from a program a test starts fails the
# run even where the test takes its exit status for an expected failure. Leaks are not looked for: the
# toolkit and fontconfig keep memory until the exit on purpose. test_install and the screen-reader
# sessions run on the normal build above: the one checks its installed files and hardening, the others
# drive the program from outside for minutes, and the window tests reach the same accessibility code
# here.
asan_reports=build-asan/reports
rm -rf "$asan_reports" && mkdir -p "$asan_reports"
asan_ok=true
ASAN_OPTIONS=detect_leaks=0:log_path="$PWD/$asan_reports/asan" UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j2 -E '^(test_install|a11y_.*|replay_.*|fuzz_.*)$' ||
  asan_ok=false
if [ -n "$(ls -A "$asan_reports")" ]; then
  cat "$asan_reports"/*
  asan_ok=false
fi
finish_normal_tests

# The replays, then the bounded runs two at a time, each on a core of its own once the sessions above
# have ended.
ctest --test-dir build-asan --output-on-failure -R '^replay_'
ctest --test-dir build-asan --output-on-failure -j2 -R '^fuzz_'
cat build-asan/fuzz/scratch/*.figures # the bounded runs' inputs a second and longest inputs
$asan_ok && $normal_ok
