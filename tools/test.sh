#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup-debian.sh --test
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
ctest --test-dir build --output-on-failure --timeout 300 -j2

# The settings reader, the one door for bytes from outside, under libFuzzer
# with AddressSanitizer and UBSan for half a minute (clang only, so a tree of
# its own).
echo "== Fuzz target (build-fuzz) =="
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DQUENNIX_FUZZ=ON
cmake --build build-fuzz -- --quiet
ctest --test-dir build-fuzz -L fuzz --output-on-failure

# Every unit and widget test again, built with AddressSanitizer and UBSan.
# The end-to-end and install tests stay in the normal tree: they wait on a
# real window manager with fixed timeouts, which the sanitizers' slowdown
# would turn into false failures, and a package holds the normal build.
echo "== Sanitizer build (build-asan) =="
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENNIX_SANITIZE=ON
cmake --build build-asan -- --quiet
ctest --test-dir build-asan --output-on-failure -j2 -L unit
