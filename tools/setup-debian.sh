#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what building Quennix needs on Debian 12 or 13, with --package
# what making its Debian package needs, and with --test what the tests need
# too. Only missing packages are installed. Every name is one both releases
# have: no package is named by a version only one of them carries.
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev libgl-dev fonts-dejavu-core)
# The Debian package: dpkg-shlibdeps works out its Depends, file finds what
# to strip.
if [[ "${1:-}" == "--package" || "${1:-}" == "--test" ]]; then
    packages+=(dpkg-dev file)
fi
if [[ "${1:-}" == "--test" ]]; then
    # The desktop the end-to-end tests drive: a virtual X server, a window
    # manager, and the tools that click, type and look.
    packages+=(xvfb openbox xdotool x11-utils wmctrl)
    # The other window managers the story runs under (xfwm4 takes its
    # settings over a D-Bus session of its own).
    packages+=(icewm xfwm4 dbus-daemon metacity fluxbox)
    # Faces that draw no digits of their own: one without any, one of symbols.
    packages+=(fonts-droid-fallback fonts-urw-base35)
    # The validators the install test runs on the menu entry, the catalogue
    # file and the package.
    packages+=(desktop-file-utils appstream lintian)
    # The fuzz target: clang and its libFuzzer runtime, for whichever clang
    # the release has.
    packages+=(clang libclang-rt-dev)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
