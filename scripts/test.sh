#!/usr/bin/env bash
# Installs what is missing, builds everything and the Debian package, and runs every test: the unit and
# window tests, the install and package checks, a replay of the fuzz corpora and a short bounded fuzz
# run of each reader.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
tomarina_install_deps tomarina_packages tomarina_test_packages
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOMARINA_WERROR=ON >/dev/null
cmake --build build -j2
cpack -G DEB --config build/CPackConfig.cmake >/dev/null
cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOMARINA_WERROR=ON >/dev/null
cmake --build build-fuzz -j2
ctest --test-dir build --output-on-failure -j2
ctest --test-dir build-fuzz --output-on-failure
