#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing (with --test, what the tests need too) and builds
# build/, hardened as the Debian package is: the flags of dpkg-buildflags
# with every hardening feature (debian/rules), the source paths left as they
# are. The one configure of build/ that run.sh and test.sh share.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup-debian.sh "$@"
flags() {
    DEB_BUILD_MAINT_OPTIONS="hardening=+all reproducible=-fixfilepath,-fixdebugpath" \
        dpkg-buildflags --get "$1"
}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)"
cmake --build build
