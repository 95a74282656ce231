#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and runs every test, then makes the Debian
# package and tests it. The package is installed on this machine for its
# test, and purged afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup-debian.sh --test
# Hardened as the Debian package is: the flags of dpkg-buildflags with every
# hardening feature (debian/rules), the source paths left as they are.
flags() {
    DEB_BUILD_MAINT_OPTIONS="hardening=+all reproducible=-fixfilepath,-fixdebugpath" \
        dpkg-buildflags --get "$1"
}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)"
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
# The end-to-end test stays in the normal tree: it waits on a real window
# manager with fixed timeouts, which the sanitizers' slowdown would turn into
# false failures. _FORTIFY_SOURCE's checks stay out: they would hide buffer
# accesses from the sanitizer.
echo "== Sanitizer build (build-asan) =="
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENNIX_SANITIZE=ON
cmake --build build-asan -- --quiet
ctest --test-dir build-asan --output-on-failure -j2 -L unit

# The package as the README makes it (its build runs the unit tests once
# more, with its own flags), and lintian on it. A second build of the same
# tree, without the tests, gives the same bytes.
echo "== Debian package (build-deb) =="
sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
tools/package.sh
lintian --pedantic -I -E --fail-on error,warning build-deb/quennix_*.changes
mkdir -p build-deb.first && mv build-deb/*.deb build-deb.first/
DEB_BUILD_OPTIONS=nocheck tools/package.sh >build-deb.first/log 2>&1 ||
    { cat build-deb.first/log && exit 1; }
for deb in build-deb.first/*.deb; do
    cmp "$deb" "build-deb/${deb##*/}" || { echo "a second build differs: ${deb##*/}" && exit 1; }
done
rm -r build-deb.first

# Its autopkgtest (debian/tests) on this machine: the package installed and
# its tests run. hardening-check on the installed program must say yes to all
# but what it cannot find in this program: a libc call left for Fortify's
# run-time checks (each is checked when compiled, or of a size no one knows
# then), a frame large enough to need stack-clash probes, the mark of
# control-flow protection (Debian's C library start files lack it, so no
# program linked with them has it), and ARM's branch protection. Then the
# package is purged, which must leave nothing of it.
"${sudo[@]}" autopkgtest -B build-deb/quennix_*.deb build-deb/quennix -- null
report=$(hardening-check /usr/bin/quennix || :) && echo "$report"
! grep -v -e ': yes$' -e '^/usr/bin/quennix:$' \
    -e '^ Fortify Source functions: no, only unprotected functions found!$' \
    -e '^ Stack clash protection: unknown, no -fstack-clash-protection instructions found$' \
    -e '^ Control flow integrity: no, not found!$' -e '^ Branch Protection: no, not found!$' \
    <<<"$report" || { echo "hardening-check: a check failed" && exit 1; }
"${sudo[@]}" apt-get purge -y -qq quennix
left=$(find /usr/bin /usr/share /etc /var/lib/dpkg/info -name '*quennix*')
[[ -z $left ]] || { echo "left after apt-get purge: $left" && exit 1; }
