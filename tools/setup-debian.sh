#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what building Quennix needs on Debian 12 or 13, with --package
# what making its Debian package needs (debian/control's Build-Depends), and
# with --test what the tests need too. Only missing packages are installed.
# Every name is one both releases have: no package is named by a version
# only one of them carries.
set -euo pipefail
cd "$(dirname "$0")/.."

# dpkg-buildflags (dpkg-dev) gives the build its hardening flags.
packages=(cmake ninja-build g++ dpkg-dev qt6-base-dev qt6-svg-dev fonts-dejavu-core)
if [[ "${1:-}" == "--test" ]]; then
    # The desktop the end-to-end tests drive: a virtual X server, a window
    # manager, and the tools that click, type and look.
    packages+=(xvfb openbox xdotool x11-utils wmctrl)
    # The other window managers the story runs under (xfwm4 and kwin take
    # their settings over a D-Bus session of their own; kwin draws its frames
    # with the Breeze decoration), the tiling i3 among them.
    packages+=(icewm xfwm4 dbus-daemon metacity fluxbox kwin-x11 kwin-style-breeze i3-wm)
    # Faces that draw no digits of their own: one without any, one of symbols.
    packages+=(fonts-droid-fallback fonts-urw-base35)
    # The package's checks: lintian on the files built, devscripts'
    # hardening-check on the program, and the chroot its autopkgtest runs in
    # (tools/debian-chroot.sh), which installs autopkgtest itself.
    packages+=(lintian devscripts debootstrap git)
    # The fuzz target: clang and its libFuzzer runtime, for whichever clang
    # the release has.
    packages+=(clang libclang-rt-dev)
fi

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -qq --no-install-recommends)
updated=""
update() {
    if [[ -z $updated ]]; then
        "${apt[@]}" update
        updated=yes
    fi
}
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "Installing: ${missing[*]}"
    update
    "${apt[@]}" install "${missing[@]}"
fi
# The package's build: debhelper, build-essential and the rest of
# debian/control's Build-Depends, as apt reads them there.
if [[ -n "${1:-}" ]] && ! dpkg-checkbuilddeps >/dev/null 2>&1; then
    echo "Installing the package's build dependencies"
    update
    "${apt[@]}" build-dep ./
fi
