#!/usr/bin/env bash
# First start without quennix.ini: the "Main" box reports the missing file,
# then the framed window appears; closing it writes a complete ini that
# records exactly where the window was.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
setup_session "${1:?usage: first_start.sh QUENNIX_EXECUTABLE}"

# Started through a link from another folder that holds a good ini of its
# own: only the file beside the real executable counts, so the box must still
# come up and this decoy must stay untouched.
ln -s "$APP" "$WORK_DIR/quennix"
printf '%s\r\n' Top=1500 Left=1500 Height=3000 Width=6000 FontName= FontBold=True \
    FontItalic=False BaseTime=01/01/2000 Mode=1 >"$WORK_DIR/quennix.ini"
cp "$WORK_DIR/quennix.ini" "$TMP_ROOT/decoy.ini"
start_app "$WORK_DIR/quennix"

note "the missing file is reported before any count window shows"
box=$(wait_window '^Main$')
expect "windows while the box is up" "$(find_windows | wc -l)" 1

timeout 5 xdotool windowactivate --sync "$box" || fail "could not activate the 'Main' box"
xdotool key Return

note "the framed window follows"
win=$(wait_window '^Seconds to 01/01/2000, 12:00:00 AM$')
has_state "$win" _NET_WM_STATE_ABOVE || fail "the framed window is not kept above"
ext=$(frame_extents "$win")
[[ $ext != "0 0 0 0" ]] || fail "the framed window has no frame"
geom=$(settled_geometry "$win")
note "outer frame: $geom (x y width height)"

close_window "$win"
wait_exit

note "the ini holds nine CR LF lines in order"
[[ -f $INI ]] || fail "closing the window wrote no $INI"
expect "line count" "$(wc -l <"$INI")" 9
expect "lines ending in CR LF" "$(grep -c $'\r$' "$INI")" 9
expect "last bytes" "$(tail -c 2 "$INI" | od -An -c | tr -d ' ')" '\r\n'
expect "keys in order" "$(cut -d= -f1 "$INI" | tr '\n' ' ')" \
    "Top Left Height Width FontName FontBold FontItalic BaseTime Mode "
expect Mode "$(ini_value Mode)" 2
expect BaseTime "$(ini_value BaseTime)" 01/01/2000
[[ $(ini_value FontBold) =~ ^(True|False)$ ]] || fail "FontBold='$(ini_value FontBold)'"
[[ $(ini_value FontItalic) =~ ^(True|False)$ ]] || fail "FontItalic='$(ini_value FontItalic)'"

note "Top/Left/Height/Width are the outer frame in twips"
expect "Top Left Height Width" \
    "$(ini_value Top) $(ini_value Left) $(ini_value Height) $(ini_value Width)" \
    "$(outer_in_twips "$geom")"

cmp -s "$WORK_DIR/quennix.ini" "$TMP_ROOT/decoy.ini" ||
    fail "the ini in the working folder was changed"
note "ok"
