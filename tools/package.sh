#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and makes the Debian package
# build/quennix_<version>_amd64.deb (install it with
# `sudo apt install ./build/quennix_*_amd64.deb`).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup-debian.sh --package
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
(cd build && cpack)
ls -l build/quennix_*_amd64.deb
