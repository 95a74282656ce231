#!/usr/bin/env bash
# Dragging the count with the left button moves the window once, on release,
# by the pointer's travel; other gestures leave it where it is. The new place
# is what gets saved.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
setup_session "${1:?usage: drag.sh QUENNIX_EXECUTABLE}"

# Two presses closer together than the double-click time would switch the
# window kind; gestures are kept apart by more than Qt's 400 ms.
gap() { sleep 0.6; }

# shifted "X Y W H" DX DY: the same frame moved by DX, DY.
shifted() {
    local x y w h
    read -r x y w h <<<"$1"
    echo "$((x + $2)) $((y + $3)) $w $h"
}

# still_at W GEOM: W stays at GEOM for a while (a move the program made
# would show within a few frames).
still_at() {
    for _ in 1 2 3 4 5 6 7 8; do
        expect "outer frame during the drag" "$(outer_geometry "$1")" "$2"
        sleep "$POLL"
    done
}

# left_drag W X Y DX DY: presses at X,Y, travels by DX,DY in two steps and
# releases; checks the window only moves at the release.
left_drag() {
    local w=$1 x=$2 y=$3 dx=$4 dy=$5 before
    before=$(outer_geometry "$w")
    xdotool mousemove "$x" "$y" mousedown 1 \
        mousemove $((x + dx / 2)) $((y + dy / 3)) mousemove $((x + dx)) $((y + dy))
    still_at "$w" "$before"
    xdotool mouseup 1
    wait_geometry "$w" "$(shifted "$before" "$dx" "$dy")"
}

note "title-less window at 100,200, 400x160"
write_ini 3000 1500 2400 6000 1
start_app
w=$(wait_window '^$')
wait_geometry "$w" "100 200 400 160"
start=$(settled_geometry "$w")

note "left drag by +100,+60"
read -r px py <<<"$(inside "$w" 50 40)"
left_drag "$w" "$px" "$py" 100 60
moved=$(outer_geometry "$w")

note "right drag and a still click move nothing"
gap
read -r px py <<<"$(inside "$w" 200 50)"
xdotool mousemove "$px" "$py" mousedown 3 mousemove $((px + 40)) $((py + 20)) \
    mousemove $((px + 80)) $((py + 50)) mouseup 3
gap
read -r px py <<<"$(inside "$w" 300 100)"
xdotool mousemove "$px" "$py" click 1
# Events are handled in order: once this last drag has landed, anything the
# two gestures above did would show in the total.
gap
read -r px py <<<"$(inside "$w" 150 80)"
left_drag "$w" "$px" "$py" -40 30
expect "outer frame after right drag, click and a -40,+30 drag" \
    "$(outer_geometry "$w")" "$(shifted "$moved" -40 30)"
expect "window kind after the gestures" "$(wm_name "$w")" ""

final=$(settled_geometry "$w")
expect "outer frame in all" "$final" "$(shifted "$start" 60 90)"
close_window "$w"
wait_exit
note "the ini keeps the new place and the old size"
expect "Top Left Height Width" \
    "$(ini_value Top) $(ini_value Left) $(ini_value Height) $(ini_value Width)" \
    "$(outer_in_twips "$final")"
expect Mode "$(ini_value Mode)" 1

note "framed window: left drag in the count area, below the menu bar"
write_ini 3000 1500 3600 6000 2
start_app
w=$(wait_window '^Seconds to ')
wait_geometry "$w" "100 200 400 240"
read -r _ _ cw ch <<<"$(client_geometry "$w")"
read -r px py <<<"$(inside "$w" $((cw / 2)) $((ch - 30)))"
left_drag "$w" "$px" "$py" 120 -80
final=$(settled_geometry "$w")
expect "framed window after the drag" "$final" "220 120 400 240"
close_window "$w"
wait_exit
expect "Top Left Height Width" \
    "$(ini_value Top) $(ini_value Left) $(ini_value Height) $(ini_value Width)" \
    "$(outer_in_twips "$final")"
expect Mode "$(ini_value Mode)" 2
note "ok"
