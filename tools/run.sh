#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and starts Quennix.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup-debian.sh
# Hardened as the Debian package is: the flags of dpkg-buildflags with every
# hardening feature (debian/rules), the source paths left as they are.
flags() {
    DEB_BUILD_MAINT_OPTIONS="hardening=+all reproducible=-fixfilepath,-fixdebugpath" \
        dpkg-buildflags --get "$1"
}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)"
cmake --build build
exec build/src/quennix
