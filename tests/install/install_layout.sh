#!/usr/bin/env bash
# Installs the build with the documented command into a scratch prefix whose
# path holds a space, then checks: the layout; that the menu entry, icons and
# catalogue entry agree on one id and pass their validators; that the program
# started through bin/quennix keeps its settings beside the real executable;
# and that the documented uninstall leaves nothing behind.
#
# Usage: install_layout.sh BUILD_DIR SOURCE_DIR

set -euo pipefail

readonly SKIP_CODE=77
build=$1
source=$2

fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "-- $*"; }

for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null ||
        { echo "SKIP: $tool is not installed (apt-get install desktop-file-utils appstream)" >&2
          exit "$SKIP_CODE"; }
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/quennix-install.XXXXXX")
prefix="$tmp/home dir/.local"
manifest=$build/install_manifest.txt
app_pid=""

# cmake --install rewrites the build's manifest; the user's own install must
# stay uninstallable, so the manifest found here is put back afterwards.
had_manifest=false
if [[ -f $manifest ]]; then
    cp -p "$manifest" "$tmp/manifest.saved"
    had_manifest=true
fi
cleanup() {
    [[ -z $app_pid ]] || kill -KILL "$app_pid" 2>/dev/null || true
    if $had_manifest; then
        cp -p "$tmp/manifest.saved" "$manifest"
    else
        rm -f "$manifest"
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT

note "installing into $prefix"
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" ||
    fail "cmake --install failed: $(cat "$tmp/install.log")"
cp "$manifest" "$tmp/manifest"

# --- The program and its link -------------------------------------------
exe=$prefix/lib/quennix/quennix
link=$prefix/bin/quennix
[[ -f $exe && ! -L $exe && -x $exe ]] || fail "no executable file at lib/quennix/quennix"
[[ -L $link ]] || fail "bin/quennix is not a symbolic link"
[[ $(readlink "$link") == ../lib/quennix/quennix ]] ||
    fail "bin/quennix points to '$(readlink "$link")', expected ../lib/quennix/quennix"
[[ $(readlink -f "$link") == "$(readlink -f "$exe")" ]] || fail "bin/quennix does not reach the program"

# --- One id for the menu entry, the icons and the catalogue ---------------
entries=("$prefix"/share/applications/*.desktop)
((${#entries[@]} == 1)) && [[ -f ${entries[0]} ]] || fail "expected one menu entry, found: ${entries[*]}"
desktop=${entries[0]}
id=$(basename "$desktop" .desktop)
note "app id $id"
[[ $id =~ ^[a-z][a-z0-9]*(\.[a-z][a-z0-9_]*){2,}$ ]] || fail "'$id' is not a lower-case reverse-DNS id"

key() { sed -n "s/^$1=//p" "$desktop"; }
[[ $(key Type) == Application ]] || fail "Type=$(key Type)"
[[ -n $(key Name) && -n $(key Comment) ]] || fail "Name= or Comment= is missing"
[[ $(key Icon) == "$id" ]] || fail "Icon=$(key Icon), expected $id"
[[ ";$(key Categories)" == *";Utility;"* && ";$(key Categories)" == *";Clock;"* ]] ||
    fail "Categories=$(key Categories) lacks Utility or Clock"
# The path holds a space, so Exec must quote it.
[[ $(key Exec) == "\"$prefix/bin/quennix\"" ]] || fail "Exec=$(key Exec)"

svg=$prefix/share/icons/hicolor/scalable/apps/$id.svg
png=$prefix/share/icons/hicolor/32x32/apps/$id.png
cmp -s "$svg" "$source/resources/quennix.svg" || fail "the scalable icon is not resources/quennix.svg"
# PNG signature, then the IHDR width and height (big-endian).
[[ $(od -An -tx1 -N8 "$png" | tr -d ' \n') == 89504e470d0a1a0a ]] || fail "$png is not a PNG"
[[ $(od -An -tu1 -j16 -N8 "$png" | tr -s ' ' | sed 's/^ //') == "0 0 0 32 0 0 0 32" ]] ||
    fail "$png is not 32x32"

metainfo=$prefix/share/metainfo/$id.metainfo.xml
grep -q "<id>$id</id>" "$metainfo" || fail "the catalogue entry's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the catalogue entry does not launch $id.desktop"

note "desktop-file-validate"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejected $desktop"
note "appstreamcli validate"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejected $metainfo"
# The tree check also looks for the menu entry and icon the catalogue names.
appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli rejected the installed tree"

# Qt names the windows' X11 class after the application: "Quennix".
[[ $(key StartupWMClass) == Quennix ]] || fail "StartupWMClass=$(key StartupWMClass)"

# --- Started through the link, the settings live beside the program -------
ini=$prefix/lib/quennix/quennix.ini
# Written with bare LF: the program writes CR LF, which shows it rewrote it.
printf '%s\n' Top=1440 Left=2880 Height=1440 Width=4800 "FontName=" FontBold=True \
    FontItalic=False "BaseTime=25/12/2030 6:30:00 PM" Mode=2 >"$ini"
mkdir -p "$tmp/work"
(
    cd "$tmp/work"
    unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_FONT_DPI WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$tmp/run
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    exec "$link"
) >"$tmp/app.log" 2>&1 &
app_pid=$!

# The program catches SIGTERM (to save, as closing the window does) once it is
# set up; until then the signal would simply end it.
catches_term() {
    local mask
    mask=$(sed -n 's/^SigCgt:\s*//p' "/proc/$app_pid/status" 2>/dev/null) || return 1
    [[ -n $mask ]] && (((0x$mask >> 14) & 1))
}
deadline=$((SECONDS + 20))
until catches_term; do
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended at once: $(cat "$tmp/app.log")"
    ((SECONDS < deadline)) || fail "the program did not start within 20 s"
    sleep 0.05
done
kill -TERM "$app_pid"
rc=0
wait "$app_pid" || rc=$?
app_pid=""
((rc == 0)) || fail "the program exited with $rc: $(cat "$tmp/app.log")"

expected=$(printf '%s\r\n' Top=1440 Left=2880 Height=1440 Width=4800 "FontName=" FontBold=True \
    FontItalic=False "BaseTime=25/12/2030 6:30:00 PM" Mode=2)
[[ $(cat "$ini") == "$expected" ]] ||
    fail "quennix.ini beside the program was not saved as expected:
$(cat -A "$ini")"
[[ ! -e $prefix/bin/quennix.ini && ! -e $tmp/work/quennix.ini ]] ||
    fail "a settings file appeared beside the link or in the working folder"

# --- Uninstalling as documented ---------------------------------------------
note "uninstalling"
xargs -d '\n' rm -f <"$tmp/manifest"
rm -r "$prefix/lib/quennix"
left=$(find "$prefix" ! -type d)
[[ -z $left ]] || fail "left after uninstalling: $left"
note "ok"
