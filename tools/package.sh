#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing and makes the Debian source and binary packages
# the way Debian makes packages: dpkg-buildpackage and debhelper (debian/), on
# a copy of the tree in build-deb/quennix, so that neither the tree nor its
# build/ folder is touched. The package lands in build-deb/ as
# quennix_<version>_<arch>.deb, the architecture this machine's
# (dpkg-architecture), with its -dbgsym package, the source package (.dsc and
# .tar.xz) and the .changes beside it; install it with
# `sudo apt install ./build-deb/quennix_*.deb`.
#
#   tools/package.sh [--into DIR] [dpkg-buildpackage options]
#
# --into makes it in DIR (a build* folder of the tree) instead of build-deb.
set -euo pipefail
cd "$(dirname "$0")/.."

out=build-deb
[[ ${1:-} != --into ]] || { out=${2:?--into needs a folder} && shift 2; }
tools/setup-debian.sh --package
rm -rf "$out" && mkdir -p "$out/quennix"
# The tree as it is now, without git's files, the build folders and the
# editor's cache.
tar -c --exclude-vcs --exclude='./build*' --exclude=./.cache -f - . | tar -x -C "$out/quennix"
(cd "$out/quennix" && dpkg-buildpackage -us -uc "$@")
ls -l "$out"/*.deb
