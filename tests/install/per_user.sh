#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The per-user install into a prefix with a space: the menu entry starts its
# bin/ link, quoted; the README's uninstall leaves nothing. BUILD's own
# install manifest is put back.   per_user.sh BUILD
set -euo pipefail
tmp=$(mktemp -d) manifest=$1/install_manifest.txt && prefix="$tmp/home dir/.local"
cp -p "$manifest" "$tmp" 2>/dev/null || :
trap 'cp -p "$tmp/install_manifest.txt" "$manifest" 2>/dev/null || rm -f "$manifest"; rm -rf "$tmp"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null
grep -qx "Exec=\"$prefix/bin/quennix\"" "$prefix"/share/applications/*.desktop
xargs -d '\n' rm -f <"$manifest" && rm -r "$prefix/lib/quennix"
[[ -z $(find "$prefix" ! -type d) ]] || { find "$prefix" ! -type d && exit 1; }
