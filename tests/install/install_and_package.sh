#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The two ways Quennix is installed: per user with `cmake --install` (into a
# prefix with a space, then the documented uninstall), and the Debian package
# (its files, Depends, lintian, the validators, and the program run by an
# ordinary user from its read-only folder: an administrator's quennix.ini
# there is read, the user's own saved).   install_and_package.sh BUILD SOURCE
set -euo pipefail
build=$1 source=$2
fail() { echo "FAIL: $*" >&2 && exit 1; }
for tool in desktop-file-validate appstreamcli lintian dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing" >&2 && exit 77; }
done
tmp=$(mktemp -d "${TMPDIR:-/tmp}/quennix-install.XXXXXX")
prefix="$tmp/home dir/.local" manifest=$build/install_manifest.txt
# The user's own install stays uninstallable: its manifest is put back.
[[ ! -f $manifest ]] || cp -p "$manifest" "$tmp/manifest.saved"
trap 'if [[ -f $tmp/manifest.saved ]]; then cp -p "$tmp/manifest.saved" "$manifest"; else rm -f "$manifest"; fi; rm -rf "$tmp"' EXIT
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || fail "$(cat "$tmp/install.log")"
grep -qx "Exec=\"$prefix/bin/quennix\"" "$prefix"/share/applications/*.desktop || fail "Exec"
xargs -d '\n' rm -f <"$manifest"
rm -r "$prefix/lib/quennix"
[[ -z $(find "$prefix" ! -type d) ]] || fail "left after uninstalling: $(find "$prefix" ! -type d)"

cpack --config "$build/CPackConfig.cmake" -B "$tmp/deb" >"$tmp/cpack.log" || fail "$(cat "$tmp/cpack.log")"
deb=$(echo "$tmp"/deb/quennix_*_amd64.deb)
id=invalid.quennix.quennix
files=$(dpkg-deb --contents "$deb" | grep -v '^d' | sed 's/.* \.\//\//' | sort)
[[ $files == "/usr/bin/quennix -> ../lib/quennix/quennix
/usr/lib/quennix/quennix
/usr/share/applications/$id.desktop
/usr/share/doc/quennix/README.md.gz
/usr/share/doc/quennix/changelog.gz
/usr/share/doc/quennix/copyright
/usr/share/icons/hicolor/32x32/apps/$id.png
/usr/share/icons/hicolor/scalable/apps/$id.svg
/usr/share/man/man1/quennix.1.gz
/usr/share/metainfo/$id.metainfo.xml" ]] || fail "the package holds:
$files"
depends=$(dpkg-deb --field "$deb" Depends)
[[ $(dpkg-deb --field "$deb" Recommends) == qt6-wayland ]] || fail "Recommends: not qt6-wayland alone"
# Each Qt library, with Debian 13's t64 suffix (64-bit time_t) or without.
[[ $(grep -oE 'libqt6(core|gui|widgets|svg)6(t64)? \(' <<<"$depends" | sort -u | wc -l) == 4 ]] ||
    fail "Depends lacks a Qt 6 library: $depends"
# Debian 13's AppStream warns that no homepage is named (the project has none
# yet), and its lintian repeats that: the one warning is shown, any other fails.
lintian --tag-display-limit 0 "$deb" 2>&1 | grep -E '^(E|W):' | tee "$tmp/lintian.log" >&2 || true
! grep -qv '^W: quennix: appstream-metadata-validation-failed ' "$tmp/lintian.log" || fail "lintian"

root=$tmp/root
dpkg-deb -x "$deb" "$root"
desktop=$root/usr/share/applications/$id.desktop
[[ $(grep -E '^(Exec|Icon|Categories|StartupWMClass)=' "$desktop" | sort | tr '\n' ' ') == \
    "Categories=Utility;Clock; Exec=/usr/bin/quennix Icon=$id StartupWMClass=Quennix " ]] ||
    fail "the menu entry: $(cat "$desktop")"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate-tree --no-net "$root/usr" 2>&1 | grep -E '^ *[EW]: ' | tee "$tmp/as.log" >&2 || true
! grep -qv ' url-homepage-missing$' "$tmp/as.log" || fail "appstreamcli validate-tree"

mkdir -p "$tmp/xdg/quennix"
printf '%s\n' Top=1440 Left=2880 Height=1440 Width=4800 FontName= FontBold=True FontItalic=False \
    "BaseTime=25/12/2030 6:30:00 PM" Mode=2 >"$tmp/xdg/quennix/quennix.ini"
saved=$(sed 's/$/\r/' "$tmp/xdg/quennix/quennix.ini") # as the program writes it: CR LF
mkdir -p "$tmp/user" "$tmp/run" && chmod -R a+rX "$tmp" && chmod 1777 "$tmp/run"
# An ordinary user: nobody when this runs as root, else the user running it.
run_as=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
(($(id -u) == 0)) && chown nobody "$tmp/user" || { run_as=() && chmod a-w "$root/usr/lib/quennix"; }
# run_user: the installed program as that user, ended by SIGTERM, which saves
# as a close does once the program catches it (bit 15 of SigCgt). A relative
# XDG_CONFIG_HOME is no folder: the user's own is ~/.config.
run_user() {
    (cd "$tmp/user" && exec env XDG_CONFIG_HOME=config XDG_CONFIG_DIRS="rel:$tmp/xdg" HOME="$tmp/user" QT_QPA_PLATFORM=offscreen \
        XDG_RUNTIME_DIR="$tmp/run" "${run_as[@]}" "$root/usr/bin/quennix") >"$tmp/app.log" 2>&1 &
    local pid=$! mask
    for _ in $(seq 200); do
        mask=$(sed -n 's/^SigCgt:\s*//p' "/proc/$pid/status" 2>/dev/null || true)
        [[ -n $mask ]] && (((0x$mask >> 14) & 1)) && break
        sleep 0.05
    done
    kill -TERM "$pid" && wait "$pid" || fail "the program failed: $(cat "$tmp/app.log")"
}
own=$tmp/user/.config/quennix/quennix.ini
run_user # from the administrator's file, saved as the user's own
[[ $(cat "$own") == "$saved" && $(stat -c %a "${own%/*}") == 700 ]] || fail "no settings of one's own"
sed -i 's/^Top=1440/Top=2880/' "$own" && run_user # then from the user's own
[[ $(cat "$own") == "${saved/Top=1440/Top=2880}" ]] || fail "the user's own settings were not read"
chmod -R u+w "$root"
[[ $(ls "$root/usr/lib/quennix") == quennix ]] || fail "the package's folder changed"
echo "-- ok: $(basename "$deb"), $(stat -c %s "$deb") bytes; Depends: $depends"
