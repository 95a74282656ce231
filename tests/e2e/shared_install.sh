#!/usr/bin/env bash
# A program in a folder its user cannot write (a system-wide install): the
# first start reads the administrator's quennix.ini beside the program without
# a box, closing writes the user's own ~/.config/quennix/quennix.ini, the next
# start reads that one, and the program's folder is never touched. As root the
# program runs as user nobody; otherwise its folder is made read-only.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
setup_session "${1:?usage: shared_install.sh QUENNIX_EXECUTABLE}"

# A tree the other user can reach (the session's own folder is private).
SHARED=$(mktemp -d "${TMPDIR:-/tmp}/quennix-shared.XXXXXX")
chmod 755 "$SHARED"
trap 'chmod -R u+w "$SHARED" 2>/dev/null; rm -rf "$SHARED"; cleanup' EXIT
mkdir -p "$SHARED/lib" "$SHARED/home/run"
chmod 700 "$SHARED/home/run"
cp "$APP" "$SHARED/lib/quennix"
APP=$SHARED/lib/quennix INI=$SHARED/lib/quennix.ini
run_as=()
if (($(id -u) == 0)); then
    command -v setpriv >/dev/null || skip "setpriv is needed to run as another user"
    chown -R nobody:nogroup "$SHARED/home"
    run_as=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi
OWN_INI=$SHARED/home/.config/quennix/quennix.ini

# start_user: the program as the user, with their home and no XDG_CONFIG_HOME.
start_user() {
    (cd "$SHARED/home" && exec env -u XDG_CONFIG_HOME HOME="$SHARED/home" \
        XDG_RUNTIME_DIR="$SHARED/home/run" "${run_as[@]}" "$APP") >>"$TMP_ROOT/app.log" 2>&1 &
    APP_PID=$!
}

note "the administrator's defaults: framed window at 100,200, 400x160"
write_ini 3000 1500 2400 6000 2
chmod 644 "$INI"
chmod 555 "$SHARED/lib"
cp "$INI" "$TMP_ROOT/defaults.ini"
start_user
w=$(wait_window '^Seconds to ')
expect "windows on screen (no box)" "$(find_windows | wc -l)" 1
wait_geometry "$w" "100 200 400 160"
close_window "$w"
wait_exit
[[ -f $OWN_INI ]] || fail "closing wrote no $OWN_INI"
cmp -s "$INI" "$TMP_ROOT/defaults.ini" || fail "the defaults beside the program were changed"
expect "files beside the program" "$(ls "$SHARED/lib" | tr '\n' ' ')" "quennix quennix.ini "

note "the user's own file is read from then on: title-less at 50,60"
printf '%s\r\n' Top=900 Left=750 Height=2400 Width=6000 FontName= FontBold=True \
    FontItalic=False BaseTime=01/01/2000 Mode=1 >"$OWN_INI"
start_user
w=$(wait_window '^$')
wait_geometry "$w" "50 60 400 160"
close_window "$w"
wait_exit
grep -q $'^Mode=1\r$' "$OWN_INI" || fail "the user's file was not saved: $(cat -A "$OWN_INI")"
cmp -s "$INI" "$TMP_ROOT/defaults.ini" || fail "the defaults beside the program were changed"
note "ok"
