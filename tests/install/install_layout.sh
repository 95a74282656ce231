#!/usr/bin/env bash
# Installs the build with the documented command into a scratch prefix whose
# path holds a space, then checks the layout, that the menu entry, icons and
# catalogue entry agree on one id and pass their validators, that the program
# started through bin/quennix from a folder its user cannot write starts from
# the quennix.ini beside it and saves the user's own, and that the documented
# uninstall leaves nothing behind.
#   install_layout.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$2
fail() { echo "FAIL: $*" >&2 && exit 1; }
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing" >&2 && exit 77; }
done
tmp=$(mktemp -d "${TMPDIR:-/tmp}/quennix-install.XXXXXX")
prefix="$tmp/home dir/.local" manifest=$build/install_manifest.txt
# The user's own install must stay uninstallable: its manifest is put back.
[[ ! -f $manifest ]] || cp -p "$manifest" "$tmp/manifest.saved"
trap 'if [[ -f $tmp/manifest.saved ]]; then cp -p "$tmp/manifest.saved" "$manifest"; else rm -f "$manifest"; fi; rm -rf "$tmp"' EXIT
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || fail "$(cat "$tmp/install.log")"
cp "$manifest" "$tmp/manifest"

exe=$prefix/lib/quennix/quennix
[[ -x $exe && ! -L $exe ]] || fail "no program at lib/quennix/quennix"
[[ $(readlink "$prefix/bin/quennix") == ../lib/quennix/quennix ]] || fail "bin/quennix is no link to it"
desktop=$(echo "$prefix"/share/applications/*.desktop)
id=$(basename "$desktop" .desktop)
[[ $id =~ ^[a-z][a-z0-9]*(\.[a-z][a-z0-9_]*){2,}$ ]] || fail "'$id' is not a reverse-DNS id"
key() { sed -n "s/^$1=//p" "$desktop"; }
[[ "$(key Icon) $(key StartupWMClass) $(key Exec)" == "$id Quennix \"$prefix/bin/quennix\"" ]] ||
    fail "Icon, StartupWMClass or Exec in $desktop"
[[ ";$(key Categories)" == *";Utility;"* && ";$(key Categories)" == *";Clock;"* ]] ||
    fail "Categories=$(key Categories)"
cmp -s "$prefix/share/icons/hicolor/scalable/apps/$id.svg" "$source/resources/quennix.svg" ||
    fail "the scalable icon is not resources/quennix.svg"
# The PNG signature, then the IHDR width and height.
[[ $(od -An -tx1 -N24 "$prefix/share/icons/hicolor/32x32/apps/$id.png" | tr -d ' \n') == \
    89504e470d0a1a0a0000000d4948445200000020* ]] || fail "no 32x32 PNG icon"
metainfo=$prefix/share/metainfo/$id.metainfo.xml
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the catalogue entry does not launch $id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli validate-tree"

# run_until_term [COMMAND...]: starts the installed program offscreen through
# its link (after COMMAND, if given), from another folder, and stops it with
# SIGTERM, which saves as a close does, once it catches it (bit 15 of SigCgt).
run_until_term() {
    mkdir -p "$tmp/work" "$tmp/run" && chmod 777 "$tmp/work" && chmod 1777 "$tmp/run"
    (cd "$tmp/work" && exec env -u XDG_CONFIG_HOME QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$tmp/run \
        "$@" "$prefix/bin/quennix") >"$tmp/app.log" 2>&1 &
    local pid=$! mask
    for _ in $(seq 200); do
        mask=$(sed -n 's/^SigCgt:\s*//p' "/proc/$pid/status" 2>/dev/null || true)
        [[ -n $mask ]] && (((0x$mask >> 14) & 1)) && break
        sleep 0.05
    done
    kill -TERM "$pid" && wait "$pid" || fail "the program failed: $(cat "$tmp/app.log")"
}
ini=$prefix/lib/quennix/quennix.ini
lines=(Top=1440 Left=2880 Height=1440 Width=4800 FontName= FontBold=True FontItalic=False
    "BaseTime=25/12/2030 6:30:00 PM" Mode=2)
saved=$(printf '%s\r\n' "${lines[@]}") # as the program writes them: CR LF shows it saved

# Where the user cannot write (a system-wide install), the administrator's
# file beside the program is the start, and the user's own file is saved.
# (A program the user can write keeps its file beside it: see the e2e tests.)
printf '%s\n' "${lines[@]}" >"$ini"
mkdir -p "$tmp/user"
chmod -R a+rX "$tmp" && chmod a-w "$prefix/lib/quennix"
if (($(id -u) == 0)); then
    chown nobody "$tmp/user"
    run_until_term HOME="$tmp/user" setpriv --reuid=65534 --regid=65534 --clear-groups --
else
    run_until_term HOME="$tmp/user"
fi
chmod u+w "$prefix/lib/quennix"
[[ $(cat "$tmp/user/.config/quennix/quennix.ini") == "$saved" ]] || fail "no settings of the user's own"
[[ $(cat "$ini") == "$(printf '%s\n' "${lines[@]}")" ]] || fail "the administrator's file was changed"

xargs -d '\n' rm -f <"$tmp/manifest"
rm -r "$prefix/lib/quennix"
[[ -z $(find "$prefix" ! -type d) ]] || fail "left after uninstalling: $(find "$prefix" ! -type d)"
echo "-- ok"
