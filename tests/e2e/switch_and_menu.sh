#!/usr/bin/env bash
# A real double-click swaps the window kinds in place, both ways; File > Exit,
# through the menu bar with a real pointer and keyboard, saves and ends the
# program at once.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
setup_session "${1:?usage: switch_and_menu.sh QUENNIX_EXECUTABLE}"

# click W DX DY [REPEAT]: clicks (REPEAT times) DX, DY into W's client area.
click() {
    local x y
    read -r x y <<<"$(inside "$1" "$2" "$3")"
    xdotool mousemove "$x" "$y" click --repeat "${4:-1}" --delay 80 1
}

write_ini 3000 1500 2400 6000 2
start_app
framed=$(wait_window '^Seconds to ')
place=$(settled "$framed" "100 200 400 160")
for to in '^$' '^Seconds to '; do
    note "double-click: the other kind takes the same place"
    old=$framed
    click "$old" 120 50 2
    framed=$(wait_window "$to")
    settled "$framed" "$place" >/dev/null
    until_true 5 window_gone "$old" || fail "the window left is still shown"
    kept_above "$framed" || fail "the new window is not kept above"
    expect "mode saved at the switch" "$(ini_value Mode)" "$([[ $to == '^$' ]] && echo 2 || echo 1)"
    sleep 0.6
done

note "File > Exit saves once and ends the program"
rm -f "$INI"
click "$framed" 20 10
xdotool sleep 0.4 key Down Down Down Return
wait_exit
expect "Mode written by Exit" "$(ini_value Mode)" 2
note "ok"
