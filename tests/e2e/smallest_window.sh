#!/usr/bin/env bash
# A window too small in the settings file, or dragged smaller by its frame,
# still shows a count and a caption to grab: never less than 1680 x 360 twips
# for the count (112 x 24 pixels here), with the outer frame at Top/Left.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
setup_session "${1:?usage: smallest_window.sh QUENNIX_EXECUTABLE}"

readonly MIN_W=$(twips_to_px 1680) MIN_H=$(twips_to_px 360)

# at_least W EXTRA_H: W's client area holds the smallest count area, plus
# EXTRA_H pixels (the menu bar) in height.
at_least() {
    local w h
    read -r _ _ w h <<<"$(client_geometry "$1")"
    ((w >= MIN_W && h >= MIN_H + $2)) ||
        fail "client area ${w}x$h, expected at least ${MIN_W}x$((MIN_H + $2))"
}

# saved_size_is GEOM: the ini holds GEOM's place and size.
saved_size_is() {
    expect "Top Left Height Width" \
        "$(ini_value Top) $(ini_value Left) $(ini_value Height) $(ini_value Width)" \
        "$(outer_in_twips "$1")"
}

note "an empty file: the framed window, caption and all, at the top-left corner"
: >"$INI"
start_app
w=$(wait_window '^Seconds to ')
geom=$(settled_geometry "$w")
read -r x y _ _ <<<"$geom"
expect "outer frame's corner" "$x $y" "0 0"
at_least "$w" 1
note "outer frame $geom"
close_window "$w"
wait_exit
saved_size_is "$geom"

note "dragging the frame's bottom-right corner far inwards stops at the minimum"
write_ini 1500 1500 3000 6000 2
start_app
w=$(wait_window '^Seconds to ')
big=$(settled_geometry "$w")
read -r x y ow oh <<<"$big"
# The window manager follows the pointer's motion, so it travels in steps.
xdotool mousemove $((x + ow - 2)) $((y + oh - 2)) sleep 0.2 mousedown 1
for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((x + ow - 2 - step * (ow - 30) / 8)) $((y + oh - 2 - step * (oh - 30) / 8)) \
        sleep 0.05
done
xdotool sleep 0.2 mouseup 1
geom=$(settled_geometry "$w")
[[ $geom != "$big" ]] || fail "the frame drag did not resize the window ($big)"
at_least "$w" 1
note "$big dragged to $geom"
close_window "$w"
wait_exit
saved_size_is "$geom"

note "the smallest title-less window, switched to the framed one"
write_ini 0 0 0 0 1
start_app
w=$(wait_window '^$')
geom=$(settled_geometry "$w")
expect "title-less outer frame" "$geom" "0 0 $MIN_W $MIN_H"
read -r x y <<<"$(inside "$w" $((MIN_W / 2)) $((MIN_H / 2)))"
xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
w=$(wait_window '^Seconds to ')
geom=$(settled_geometry "$w")
read -r x y _ _ <<<"$geom"
expect "framed outer frame's corner" "$x $y" "0 0"
at_least "$w" 1
close_window "$w"
wait_exit
saved_size_is "$geom"
note "ok"
