#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The window's place and size: a saved one comes back exactly, in the kind the
# file names, framed or not and kept above, start after start without
# drifting, the file written back byte for byte; a left drag on the count
# moves it once, at the release, by the pointer's travel (a right drag and a
# still click do not); too small a size gives the smallest window, its outer
# frame at Top/Left, and dragging the frame smaller stops there; sizes and
# places at the 32-bit edges give a window within the screen. A FIFO at the
# file's name is never waited on. A real
# double-click swaps the window kinds in place, both ways, each window kept
# above, and the file names the window left at each switch.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
setup_session "${1:?usage: place_and_size.sh QUENNIX_EXECUTABLE}"

# drag W BUTTON DX DY: presses 50,40 into W, travels by DX,DY in two steps,
# checks nothing moved yet and releases. Presses are kept further apart than
# a double-click, which would switch the window kind.
drag() {
    local x y before
    read -r x y <<<"$(inside "$1" 50 40)"
    before=$(outer "$1")
    xdotool sleep 0.6 mousemove "$x" "$y" mousedown "$2" mousemove $((x + $3 / 2)) $((y + $4 / 3)) \
        mousemove $((x + $3)) $((y + $4)) sleep 0.3
    expect "outer frame during the drag" "$(outer "$1")" "$before"
    xdotool mouseup "$2"
}

# Started through a link, from a folder that holds an ini of its own: only the
# file beside the real program counts.
ln -s "$APP" "$WORK_DIR/quennix"
printf 'Mode=1\r\n' >"$WORK_DIR/quennix.ini"
for mode in 2 1; do
    write_ini 3000 4500 3600 5250 "$mode" "DejaVu Serif" False True && cp "$INI" "$TMP_ROOT/saved.ini"
    name=$([[ $mode == 1 ]] && echo '^$' || echo '^Seconds to ')
    note "mode $mode: restored exactly, and the file written back byte for byte; Qt's options ignored"
    APP_ARGS=(-qwindowgeometry 50x50+0+0 -qwindowtitle Wrong)
    APP=$WORK_DIR/quennix start_app
    APP_ARGS=()
    w=$(wait_window "$name")
    expect "windows" "$(windows | wc -l)" 1
    kept_above "$w" || fail "mode $mode window is not kept above"
    [[ $mode == 2 || $(frame "$w") == "0 0 0 0" ]] || fail "the title-less window has a frame"
    settled "$w" "300 200 350 240" >/dev/null
    close_window "$w" && wait_exit
    cmp -s "$INI" "$TMP_ROOT/saved.ini" || fail "the ini was changed: $(cat -A "$INI")"
    note "mode $mode: again in place; left drag by +100,+60, right drag, click, left by -40,+30"
    start_app
    w=$(wait_window "$name")
    settled "$w" "300 200 350 240" >/dev/null
    drag "$w" 1 100 60
    settled "$w" "400 260 350 240" >/dev/null
    drag "$w" 3 80 50
    xdotool sleep 0.6 click 1
    drag "$w" 1 -40 30
    settled "$w" "360 290 350 240" >/dev/null
    close_window "$w" && wait_exit
    expect "saved place" "$(saved_place)" "4350 5400 3600 5250"
done

expect "the ini beside the link" "$(cat "$WORK_DIR/quennix.ini")" $'Mode=1\r'

note "an empty file: the smallest framed window, at the corner"
: >"$INI"
start_app
w=$(wait_window '^Seconds to ')
place=$(settled "$w")
read -r x y _ _ <<<"$place"
read -r _ _ cw ch <<<"$(client "$w")"
expect "outer frame's corner" "$x $y" "0 0"
((cw >= 1680 * DPI / 1440 && ch > 360 * DPI / 1440)) || fail "client ${cw}x$ch: no room for the count"
close_window "$w" && wait_exit
expect "saved place and size" "$(saved_place)" "$(in_twips "$place")"

note "places and sizes of 2^31 - 1: within the screen, a small program, a prompt close"
write_ini 2147483647 2147483647 2147483647 2147483647 2
start_app
w=$(wait_window '^Seconds to ')
read -r x y ow oh <<<"$(settled "$w")"
((x >= 0 && y >= 0 && x + ow <= 1280 && y + oh <= 800)) || fail "outer frame $x $y $ow $oh"
rss=$(awk '/^VmRSS/ {print $2}' "/proc/$APP_PID/status")
((rss < 300 * 1024)) || fail "$rss KiB resident"
close_window "$w" && wait_exit
expect "saved place and size" "$(saved_place)" "$(in_twips "$x $y $ow $oh")"

note "a FIFO at the file's name: a Main box at once, which a kill ends; a Shutdown box at the close"
rm "$INI" && mkfifo "$INI"
start_app
wait_window '^Main$' >/dev/null
kill -TERM "$APP_PID" && wait_exit
start_app
xdotool windowactivate --sync "$(wait_window '^Main$')" key Return
wmctrl -i -c "$(wait_window '^Seconds to ')"
xdotool windowactivate --sync "$(wait_window '^Shutdown$')" key Return
wait_exit
[[ -p $INI ]] && rm "$INI" || fail "the FIFO was replaced"

note "the frame's corner dragged far inwards stops at that same smallest size"
write_ini 1500 1500 3000 6000 2
start_app
w=$(wait_window '^Seconds to ')
read -r x y ow oh <<<"$(settled "$w" "100 100 400 200")"
# The window manager follows the pointer's motion, so it travels in steps.
xdotool mousemove $((x + ow - 2)) $((y + oh - 2)) sleep 0.2 mousedown 1
for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((x + ow - step * ow / 8)) $((y + oh - step * oh / 8)) sleep 0.05
done
xdotool sleep 0.2 mouseup 1
read -r _ _ ow oh <<<"$place"
place=$(settled "$w" "100 100 $ow $oh")
close_window "$w" && wait_exit
expect "saved place and size" "$(saved_place)" "$(in_twips "$place")"

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
