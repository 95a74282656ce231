#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes the pictures of the user's guide in docs/: the real program on a
# private virtual X display with a window manager, driven as a user would,
# from a scratch copy with a prepared quennix.ini.
#
# Usage: tools/screenshots.sh [EXECUTABLE]     (default: build/src/quennix)
# Needs: xvfb openbox xdotool x11-utils imagemagick
set -euo pipefail
cd "$(dirname "$0")/.."

exe=$(realpath "${1:-build/src/quennix}")
docs=$PWD/docs
[[ -x $exe ]] || { echo "no executable at $exe (build first: tools/run.sh or cmake --build build)" >&2; exit 1; }
for tool in Xvfb openbox xdotool xwininfo xprop import convert; do
    command -v "$tool" >/dev/null || {
        echo "$tool is missing: apt-get install xvfb openbox xdotool x11-utils imagemagick" >&2
        exit 1
    }
done

fail() { echo "screenshots: $*" >&2; exit 1; }
note() { echo "-- $*"; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/quennix-shots.XXXXXX")
pids=() # X server and window manager
app_pid=""
cleanup() {
    local i
    [[ -z $app_pid ]] || kill "$app_pid" 2>/dev/null || true
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$tmp"
}
trap cleanup EXIT

# Nothing from the caller's desktop may change sizes, fonts or the look.
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR \
    QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
export XDG_RUNTIME_DIR=$tmp/run XDG_CONFIG_HOME=$tmp/config
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CONFIG_HOME" "$tmp/app" "$tmp/work"

# A white background, so the space around a menu in a picture looks empty.
Xvfb -displayfd 3 -screen 0 1024x768x24 -wr -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do grep -q '^[0-9]' "$tmp/display" && break; sleep 0.1; done
grep -q '^[0-9]' "$tmp/display" || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
export DISPLAY=:$(head -n1 "$tmp/display")
# Ready once it runs its startup command: a window mapped before is never shown.
openbox --startup "touch $tmp/wm-ready" >"$tmp/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 300); do
    [[ -e $tmp/wm-ready ]] && break
    sleep 0.1
done

cp "$exe" "$tmp/app/quennix"
start() {
    (cd "$tmp/work" && exec "$tmp/app/quennix") >>"$tmp/app.log" 2>&1 &
    app_pid=$!
}

# stop: ends the program as a logout would (it saves its settings).
stop() {
    kill -TERM "$app_pid"
    wait "$app_pid" || true
    app_pid=""
}

# app_windows: the program's visible windows, menus included, without the
# frames the window manager puts around them.
app_windows() {
    local w
    for w in $(xdotool search --onlyvisible --class '^quennix$' 2>/dev/null); do
        [[ $(xprop -id "$w" _NET_WM_PID 2>/dev/null | sed -n 's/.* = //p') == "$app_pid" ]] || continue
        # Qt keeps a 1x1 helper window out of sight.
        xwininfo -id "$w" | grep -q 'Width: 1$' || echo "$w"
    done
}

wm_name() { xprop -id "$1" WM_NAME 2>/dev/null | sed -n 's/^WM_NAME([A-Z_]*) = "\(.*\)"$/\1/p'; }

# window NAME-REGEX: the id of the program's visible window so named.
window() {
    local w
    for _ in $(seq 100); do
        for w in $(app_windows); do
            if [[ $(wm_name "$w") =~ $1 ]]; then
                echo "$w"
                return 0
            fi
        done
        sleep 0.1
    done
    fail "no window named /$1/; log: $(cat "$tmp/app.log")"
}

# outer W: "x y width height" of W with its window-manager frame.
outer() {
    local x y w h l=0 r=0 t=0 b=0 ext
    read -r x y w h < <(xwininfo -id "$1" | awk -F: '
        /Absolute upper-left X/ { x = $2 } /Absolute upper-left Y/ { y = $2 }
        /^ *Width/ { w = $2 } /^ *Height/ { h = $2 } END { print x + 0, y + 0, w + 0, h + 0 }')
    ext=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ,)
    [[ -z $ext ]] || read -r l r t b <<<"$ext"
    echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

# shoot FILE W...: captures the screen around the given windows (the box
# holding them all, with a small margin) into docs/FILE.
shoot() {
    local file=$1 w x y wd ht x0=100000 y0=100000 x1=0 y1=0 pad=6
    shift
    sleep 0.7 # let the last repaint land
    for w in "$@"; do
        read -r x y wd ht < <(outer "$w")
        ((x < x0)) && x0=$x
        ((y < y0)) && y0=$y
        ((x + wd > x1)) && x1=$((x + wd))
        ((y + ht > y1)) && y1=$((y + ht))
    done
    x0=$((x0 > pad ? x0 - pad : 0)) y0=$((y0 > pad ? y0 - pad : 0))
    import -window root -crop "$((x1 + pad - x0))x$((y1 + pad - y0))+$x0+$y0" +repage \
        "$tmp/shot.png"
    # No time stamps in the files, so pictures that look the same compare
    # the same.
    convert "$tmp/shot.png" -strip "$docs/$file"
    note "docs/$file"
}

# click W X Y: a left click at X, Y inside W's client area.
click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

# --- The very first start: no settings file yet --------------------------
start
box=$(window '^Main$')
shoot first-start.png "$box"
xdotool windowactivate --sync "$box" key Return
window '^Seconds to ' >/dev/null
stop

# --- A prepared start: the framed window ------------------------------------
# 160 px from the left, 120 px down, 400 x 170 px outer frame (15 twips a
# pixel at 96 dpi).
printf '%s\r\n' Top=1800 Left=2400 Height=2550 Width=6000 FontName= FontBold=True \
    FontItalic=False "BaseTime=01/01/2030" Mode=2 >"$tmp/app/quennix.ini"
start
framed=$(window '^Seconds to 01/01/2030')
shoot framed-window.png "$framed"

# The Stuff menu: File is the menu bar's first entry, at the top left of the
# client area; the Right key moves on to Stuff.
click "$framed" 12 10
sleep 0.3
xdotool key Right
sleep 0.3
mapfile -t menus < <(app_windows | grep -vx "$framed")
((${#menus[@]} > 0)) || fail "the Stuff menu did not open"
shoot stuff-menu.png "$framed" "${menus[@]}"

# Stuff > Time at (the menu's first entry), 60 seconds.
xdotool key Return
asked=$(window '^Time at seconds remaining$')
xdotool windowactivate --sync "$asked" type --delay 50 60
xdotool key Return
answer=$(window '^Quennix$')
shoot time-at-answer.png "$framed" "$answer"
xdotool windowactivate --sync "$answer" key Return

# Help > About: the display window steps aside while it is open.
click "$framed" 12 10
sleep 0.3
xdotool key Right Right
sleep 0.3
xdotool key Return
about=$(window '^QUENNIX$')
shoot about-window.png "$about"
xdotool windowactivate --sync "$about" key Return

# A double-click on the count swaps the framed window for the title-less one
# in the same place.
framed=$(window '^Seconds to 01/01/2030')
sleep 0.5
read -r _ _ wd ht < <(xwininfo -id "$framed" | awk -F: '
    /^ *Width/ { w = $2 } /^ *Height/ { h = $2 } END { print 0, 0, w + 0, h + 0 }')
xdotool mousemove --window "$framed" $((wd / 2)) $((ht * 2 / 3)) click --repeat 2 --delay 80 1
plain=""
for _ in $(seq 100); do
    for w in $(app_windows); do
        [[ -z $(wm_name "$w") ]] && plain=$w
    done
    [[ -n $plain ]] && break
    sleep 0.1
done
[[ -n $plain ]] || fail "the title-less window did not appear"
shoot title-less-window.png "$plain"

stop
note "done"
