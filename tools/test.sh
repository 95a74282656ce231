#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and runs every test, then makes the Debian
# source and binary packages and tests them. Nothing is installed on this
# machine but what building and testing need: the package's autopkgtest runs
# in a throw-away chroot.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/build.sh --test
ctest --test-dir build --output-on-failure --timeout 300 -j2

# The settings reader, the one door for bytes from outside, under libFuzzer
# with AddressSanitizer and UBSan for half a minute (clang only, so a tree of
# its own).
echo "== Fuzz target (build-fuzz) =="
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DQUENNIX_FUZZ=ON
cmake --build build-fuzz -- --quiet
ctest --test-dir build-fuzz -L fuzz --output-on-failure

# Every unit and widget test again, built with AddressSanitizer and UBSan.
# The end-to-end test stays in the normal tree: it waits on a real window
# manager with fixed timeouts, which the sanitizers' slowdown would turn into
# false failures. _FORTIFY_SOURCE's checks stay out: they would hide buffer
# accesses from the sanitizer.
echo "== Sanitizer build (build-asan) =="
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENNIX_SANITIZE=ON
cmake --build build-asan -- --quiet
ctest --test-dir build-asan --output-on-failure -j2 -L unit

# The package as the README makes it, source and binary (its build runs the
# unit tests once more, with its own flags), and lintian on both.
echo "== Debian package (build-deb) =="
tools/package.sh
lintian --pedantic -I -E --fail-on error,warning build-deb/quennix_*.changes

# A second build of the same tree, without the tests, where another builder
# would differ (as reprotest varies them): name and mail, build path, time
# zone, locale and umask. It gives the same bytes.
echo "== A second build, as another builder's (build-deb.second) =="
[[ ${LC_ALL:-${LANG:-}} == C.UTF-8 ]] && locale=C || locale=C.UTF-8
second=build-deb.second/another/builder
rm -rf build-deb.second && mkdir -p build-deb.second
(umask 0002 && env DEBFULLNAME="Another Builder" DEBEMAIL=another@builder.invalid \
    EMAIL=another@builder.invalid USER=another LOGNAME=another TZ=XYZ-14 LC_ALL=$locale \
    DEB_BUILD_OPTIONS=nocheck tools/package.sh --into "$second" -b) >build-deb.second/log 2>&1 ||
    { cat build-deb.second/log && exit 1; }
for deb in build-deb/*.deb; do
    cmp "$deb" "$second/${deb##*/}" || { echo "a second build differs: ${deb##*/}" && exit 1; }
done
rm -r build-deb.second

# hardening-check on the program as the package holds it (dpkg-deb -x, not
# installed) must say yes to all but what it cannot find in this program: a
# libc call left for Fortify's run-time checks (each is checked when
# compiled, or of a size no one knows then), a frame large enough to need
# stack-clash probes, the mark of control-flow protection (Debian's C library
# start files lack it, so no program linked with them has it), and ARM's
# branch protection.
rm -rf build-deb/extracted && dpkg-deb -x build-deb/quennix_*.deb build-deb/extracted
report=$(hardening-check build-deb/extracted/usr/bin/quennix || :) && echo "$report"
! grep -v -e ': yes$' -e '^build-deb/extracted/usr/bin/quennix:$' \
    -e '^ Fortify Source functions: no, only unprotected functions found!$' \
    -e '^ Stack clash protection: unknown, no -fstack-clash-protection instructions found$' \
    -e '^ Control flow integrity: no, not found!$' -e '^ Branch Protection: no, not found!$' \
    <<<"$report" || { echo "hardening-check: a check failed" && exit 1; }
# lintian runs the catalogue entry's validator on the package's tree too, but
# its hint names no message, so the override for AppStream 1.0's missing
# homepage (debian/rules) silences the whole tag: the same validator on the
# same tree lowers that one message, and any other fault still fails here.
homepage=() && dpkg --compare-versions "$(dpkg-query -W -f='${Version}' appstream)" ge 1.0 &&
    homepage=(--override=url-homepage-missing=info)
appstreamcli validate-tree --no-net "${homepage[@]}" build-deb/extracted
rm -r build-deb/extracted

# Its autopkgtest (debian/tests), never on this machine: in a fresh minimal
# chroot of this machine's own release (tools/debian-chroot.sh), thrown away
# afterwards, with the packages built here and the tree they were built from.
echo "== autopkgtest in a fresh chroot (build-deb/testbed) =="
rm -rf build-deb/testbed && mkdir -p build-deb/testbed/quennix && cp build-deb/*.deb build-deb/testbed/
tar -C build-deb/quennix -c --exclude=./debian/build -f - . | tar -x -C build-deb/testbed/quennix
tools/debian-chroot.sh --release "$(. /etc/os-release && echo "$VERSION_CODENAME")" \
    --with build-deb/testbed bash -c 'apt-get update -qq && DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends autopkgtest >/dev/null &&
    cd build-deb/testbed && autopkgtest -B ./*.deb quennix/ -- null'
rm -r build-deb/testbed
