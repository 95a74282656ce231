#!/usr/bin/env bash
# A real double-click swaps the window kinds in place, both ways, each window
# kept above, and the file names the window left at each switch.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
setup_session "${1:?usage: switching.sh QUENNIX_EXECUTABLE}"

write_ini 3000 1500 2400 6000 2
start_app
framed=$(wait_window '^Seconds to ')
place=$(settled "$framed" "100 200 400 160")
for to in '^$' '^Seconds to '; do
    note "double-click: the other kind takes the same place"
    old=$framed
    read -r x y <<<"$(inside "$old" 120 50)"
    xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
    framed=$(wait_window "$to")
    settled "$framed" "$place" >/dev/null
    until_true 5 window_gone "$old" || fail "the window left is still shown"
    kept_above "$framed" || fail "the new window is not kept above"
    expect "mode saved at the switch" "$(ini_value Mode)" "$([[ $to == '^$' ]] && echo 2 || echo 1)"
    sleep 0.6
done

close_window "$framed" && wait_exit
note "ok"
