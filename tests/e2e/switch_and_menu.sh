#!/usr/bin/env bash
# A real double-click swaps the window kinds in place, both ways; the menu bar
# works with a real pointer and keyboard: Stuff > Base Time sets the caption,
# File > Exit saves and ends the program.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
setup_session "${1:?usage: switch_and_menu.sh QUENNIX_EXECUTABLE}"

# double_click W: a left double-click on W's count (below any menu bar).
double_click() {
    local x y
    read -r x y <<<"$(inside "$1" 120 50)"
    xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
}

# open_menu W DX: clicks the menu bar title DX pixels from the client's left.
open_menu() {
    local x y
    read -r x y <<<"$(inside "$1" "$2" 10)"
    xdotool mousemove "$x" "$y" click 1
    sleep 0.4
}

note "framed window at 100,200, 400x160"
write_ini 3000 1500 2400 6000 2
start_app
framed=$(wait_window '^Seconds to ')
wait_geometry "$framed" "100 200 400 160"
place=$(settled_geometry "$framed")

note "double-click: the title-less window takes its place"
double_click "$framed"
plain=$(wait_window '^$')
wait_geometry "$plain" "$place"
until_true 5 window_gone "$framed" || fail "the framed window is still shown"
has_state "$plain" _NET_WM_STATE_ABOVE || fail "the title-less window is not kept above"
expect "mode saved at the switch" "$(ini_value Mode)" 2
sleep 0.6

note "double-click again: the framed window comes back in place"
double_click "$plain"
framed=$(wait_window '^Seconds to ')
wait_geometry "$framed" "$place"
until_true 5 window_gone "$plain" || fail "the title-less window is still shown"
expect "mode saved at the switch back" "$(ini_value Mode)" 1

note "Stuff > Base Time through the menu bar"
open_menu "$framed" 65
xdotool key Down Down Down Return
box=$(wait_window '^Seconds remaining as a time$')
xdotool type --delay 20 "31/12/2030 11:59:59 PM"
xdotool key Return
until_true 5 window_gone "$box" || fail "the input box stayed open"
expect "caption after Base Time" "$(wm_name "$framed")" "Seconds to 23:59:59, 31/12/2030"

note "File > Exit saves once and ends the program"
rm -f "$INI"
open_menu "$framed" 20
xdotool key Down Down Down Return
wait_exit
expect "mode written by Exit" "$(ini_value Mode)" 2
expect "base time written by Exit" "$(ini_value BaseTime)" "31/12/2030 11:59:59 PM"
note "ok"
