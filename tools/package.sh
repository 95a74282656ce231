#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing and makes the Debian package the way Debian makes
# packages: dpkg-buildpackage and debhelper (debian/), on a copy of the tree
# in build-deb/quennix, so that neither the tree nor its build/ folder is
# touched. The package lands in build-deb/ as quennix_<version>_<arch>.deb,
# the architecture this machine's (dpkg-architecture), with its -dbgsym
# package beside it; install it with `sudo apt install ./build-deb/quennix_*.deb`.
# Extra arguments go to dpkg-buildpackage.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup-debian.sh --package
rm -rf build-deb && mkdir -p build-deb/quennix
# The tree as it is now, without git's files, the build folders and the
# editor's cache.
tar -c --exclude-vcs --exclude='./build*' --exclude=./.cache -f - . | tar -x -C build-deb/quennix
(cd build-deb/quennix && dpkg-buildpackage -us -uc -b "$@")
ls -l build-deb/*.deb
