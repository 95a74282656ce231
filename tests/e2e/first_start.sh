#!/usr/bin/env bash
# The first start, without quennix.ini: a "Main" box reports the missing file,
# then the framed window comes, framed and kept above; closing it writes nine
# CR LF lines that record exactly where it was. Started through a link from a
# folder holding an ini of its own, which must be neither read nor written.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
setup_session "${1:?usage: first_start.sh QUENNIX_EXECUTABLE}"
ln -s "$APP" "$WORK_DIR/quennix"
printf 'Mode=1\r\n' >"$WORK_DIR/quennix.ini"
APP=$WORK_DIR/quennix start_app

box=$(wait_window '^Main$')
expect "windows while the box is up" "$(windows | wc -l)" 1
xdotool windowactivate --sync "$box" key Return
w=$(wait_window '^Seconds to 01/01/2000, 12:00:00 AM$')
kept_above "$w" || fail "the framed window is not kept above"
[[ $(frame "$w") != "0 0 0 0" ]] || fail "the framed window has no frame"
place=$(settled "$w")
close_window "$w"
wait_exit
expect "lines, each ended by CR LF" "$(grep -c $'\r$' "$INI") $(wc -l <"$INI")" "9 9"
expect "keys" "$(cut -d= -f1 "$INI" | tr '\n' ' ')" \
    "Top Left Height Width FontName FontBold FontItalic BaseTime Mode "
expect "Mode, BaseTime" "$(ini_value Mode) $(ini_value BaseTime)" "2 01/01/2000"
expect "Top Left Height Width: the outer frame" "$(saved_place)" "$(in_twips "$place")"
expect "the ini beside the link" "$(cat "$WORK_DIR/quennix.ini")" $'Mode=1\r'
note "ok"
