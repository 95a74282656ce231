#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What only a real desktop shows: the real program, copied to a fresh folder,
# on a private Xvfb under a window manager (openbox unless another is named).
# Each of the notes below says what it shows; the notes are the story.
set -euo pipefail
APP_PID="" WM_PID="" XVFB_PID="" TMP_ROOT="" APP_ARGS=() starts=0

fail() {
    echo "FAIL: $*" >&2
    [[ ! -s ${TMP_ROOT:-/none}/app.log ]] || sed 's/^/  program: /' "$TMP_ROOT/app.log" >&2
    exit 1
}
note() { echo "-- $*"; }
expect() { [[ $2 == "$3" ]] || fail "$1: got '$2', expected '$3'"; }
# until_true SECONDS CMD...: CMD every 50 ms until it succeeds.
until_true() {
    local end=$((SECONDS + $1)) && shift
    until "$@"; do ((SECONDS < end)) && sleep 0.05 || return 1; done
}
stop() { for pid in "$@"; do [[ -z $pid ]] || { kill "$pid" && wait "$pid"; } 2>/dev/null || :; done; }

# start_app: starts the program, with APP_ARGS, from a folder not its own.
start_app() {
    (cd "$WORK_DIR" && exec "$APP" "${APP_ARGS[@]}") >>"$TMP_ROOT/app.log" 2>&1 &
    APP_PID=$!
}
app_gone() { ! kill -0 "$APP_PID" 2>/dev/null; }
# wait_exit: the program ends within 10 s with status 0.
wait_exit() {
    local rc=0
    until_true 10 app_gone && { wait "$APP_PID" || rc=$?; } || fail "the program did not end"
    APP_PID="" && expect "exit status" "$rc" 0
}

windows() { xdotool search --all --onlyvisible --pid "$APP_PID" --class '^quennix$' 2>/dev/null || true; }
# wm_name W: W's name, "" if none; fails once W is gone (never taken for the title-less one).
wm_name() { local p && p=$(xprop -id "$1" -notype WM_NAME 2>/dev/null) && sed -n 's/^WM_NAME = "\(.*\)"$/\1/p' <<<"$p"; }
# wait_window REGEX: the id of the program's visible window whose name matches.
wait_window() {
    local w name end=$((SECONDS + 30))
    while ((SECONDS < end)); do
        app_gone && fail "the program ended while waiting for /$1/"
        for w in $(windows); do name=$(wm_name "$w") && [[ $name =~ $1 ]] && echo "$w" && return 0; done
        sleep 0.05
    done
    fail "no window named /$1/; shown: $(for w in $(windows); do printf '"%s" ' "$(wm_name "$w")"; done)"
}
window_gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
# frame W: W's frame extents (metacity names none for a window without a frame).
frame() { local f && f=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ,) && echo "${f:-0 0 0 0}"; }
# client W: "x y width height" of W's client area; outer W: of its frame.
client() {
    xwininfo -id "$1" | awk -F: '/Absolute upper-left X/ {x=$2} /Absolute upper-left Y/ {y=$2}
        /^ *Width/ {w=$2} /^ *Height/ {h=$2} END {if (h == "") exit 1; print x+0, y+0, w+0, h+0}'
}
outer() {
    local l r t b x y w h
    read -r l r t b <<<"$(frame "$1")" && [[ -n $b ]] && read -r x y w h <<<"$(client "$1")" &&
        echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}
# settled W EXPECTED: W's outer frame, once it is EXPECTED.
at() { [[ $(outer "$1" || true) == "$2" ]]; }
settled() { until_true 10 at "$1" "$2" && echo "$2" || fail "window $1 at '$(outer "$1")', not '$2'"; }
# close_window W [KEYS]: as the window manager's own close does, or its KEYS.
close_window() {
    { [[ -z ${2:-} ]] && wmctrl -i -c "$1" || xdotool windowactivate --sync "$1" key "$2"; } &&
        until_true 5 window_gone "$1" || fail "window $1 still open 5 s after closing it"
}
# stays W EXPECTED: W's outer frame stays EXPECTED for 1.5 s (nothing pulls it back).
stays() { local end=$((SECONDS + 2)); while ((SECONDS < end)); do at "$1" "$2" || fail "window $1 went to '$(outer "$1")' from '$2'"; sleep 0.1; done; }
# about W: Help > About, its Ok pressed with Enter, W back.
about() {
    local a x y && read -r x y _ <<<"$(client "$1")"
    xdotool mousemove $((x + 100)) $((y + 9)) click 1 sleep 0.3 mousemove $((x + 115)) $((y + 35)) click 1
    a=$(wait_window '^QUENNIX$') && xdotool windowactivate --sync "$a" key Return &&
        until_true 5 window_gone "$a" && wait_window '^Seconds to '
}

# write_ini TOP LEFT HEIGHT WIDTH MODE [FONTNAME BOLD ITALIC]: as the program writes it.
write_ini() {
    printf '%s\r\n' "Top=$1" "Left=$2" "Height=$3" "Width=$4" "FontName=${6:-}" \
        "FontBold=${7:-True}" "FontItalic=${8:-False}" "BaseTime=01/01/2000" "Mode=$5" >"$INI"
}
ini_value() { grep -a "^$1=" "$INI" | head -n1 | cut -d= -f2- | tr -d '\r'; }

# X with a window manager and a copy of the program: APP, INI beside it, WORK_DIR (its working folder).
EXE=${1:?usage: place_and_size.sh QUENNIX_EXECUTABLE [WINDOW_MANAGER]} WM=${2:-openbox}
for tool in Xvfb "$WM" xdotool xprop xwininfo wmctrl; do
    command -v "$tool" >/dev/null || { echo "SKIP: no $tool (tools/setup-debian.sh --test)" && exit 77; }
done
trap 'stop "$APP_PID" "$WM_PID" "$XVFB_PID" && rm -rf "$TMP_ROOT"' EXIT
TMP_ROOT=$(mktemp -d "${TMPDIR:-/tmp}/quennix-e2e.XXXXXX")
mkdir -p "$TMP_ROOT"/{app,work,run,config} && chmod 700 "$TMP_ROOT/run" && cp "$EXE" "$TMP_ROOT/app/quennix"
APP=$TMP_ROOT/app/quennix INI=$TMP_ROOT/app/quennix.ini WORK_DIR=$TMP_ROOT/work
# Nothing from the caller's desktop may change sizes or the dpi (96).
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI \
    QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$TMP_ROOT/run XDG_CONFIG_HOME=$TMP_ROOT/config
note "no display, or one no server answers: one line naming it, and status 1"
for d in "|an X display (DISPLAY is not set)" ':65000|the display ":65000"'; do
    rc=0 && out=$(DISPLAY=${d%%|*} "$APP" 2>&1) || rc=$?
    expect "DISPLAY=${d%%|*}" "$rc $out" "1 quennix: cannot open ${d#*|}"
done
# Xvfb picks a free display number itself and writes it once it listens.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$TMP_ROOT/display" >"$TMP_ROOT/x.log" 2>&1 & XVFB_PID=$!
until_true 10 test -s "$TMP_ROOT/display" || fail "Xvfb did not start: $(cat "$TMP_ROOT/x.log")"
export DISPLAY=:$(<"$TMP_ROOT/display")
# Openbox is ready once it runs its startup command (a window mapped after it
# names itself but before that is never shown); the others once they name themselves.
wm_ready() { [[ -e $TMP_ROOT/wm-ready ]] || [[ $WM != openbox && $(xprop -root _NET_SUPPORTING_WM_CHECK) == *"# 0x"* ]]; }
case $WM in
openbox) openbox --startup "touch $TMP_ROOT/wm-ready" ;;
xfwm4) dbus-run-session -- xfwm4 --compositor=off ;; # its settings come over D-Bus
kwin_x11) dbus-run-session -- kwin_x11 ;;
i3) : >"$TMP_ROOT/i3" && i3 -c "$TMP_ROOT/i3" ;; # a bare tiling manager, no rule
*) "$WM" ;;
esac >>"$TMP_ROOT/x.log" 2>&1 & WM_PID=$!
until_true 30 wm_ready || fail "$WM did not start: $(cat "$TMP_ROOT/x.log")"
CLOSE_KEY=alt+F4 && [[ $WM != kwin_x11 ]] || CLOSE_KEY="" # kwin 6's keys need a service, so its close
APP_ARGS=(-qwindowgeometry 50x50+0+0 -qwindowtitle Wrong) # Qt's options, ignored at every start

if [[ $WM == i3 ]]; then
    note "a tile: one count fitted to it, also after About, and the size it really has saved"
    write_ini 3000 4500 3600 5250 2 && start_app && w=$(wait_window '^Seconds to ')
    tiled() { read -r _ _ cw ch <<<"$(client "$w")" && ((cw > 700 && ch > 500)); }
    until_true 10 tiled || fail "not tiled: $(client "$w")"
    about "$w" >/dev/null && close_window "$w" && wait_exit
    (($(ini_value Width) >= cw * 15 && $(ini_value Height) >= ch * 15)) || fail "saved $(cat "$INI")"
    exit 0
fi

# Started through a link from a folder with an ini of its own: only the one beside the program counts.
ln -s "$APP" "$WORK_DIR/quennix"
printf 'Mode=1\r\n' >"$WORK_DIR/quennix.ini"
# Five starts in a row of each kind (a landing off its place would creep), the last by its key.
for mode in 2 2 2 2 2 1 1 1 1 1; do
    [[ -e $INI && $(ini_value Mode) == "$mode" ]] || write_ini 3000 4500 3600 5250 "$mode" "DejaVu Serif" False True
    cp "$INI" "$TMP_ROOT/saved.ini"
    name=$([[ $mode == 1 ]] && echo '^$' || echo '^Seconds to ')
    note "mode $mode: restored exactly, and its lines written back byte for byte"
    APP=$WORK_DIR/quennix start_app
    w=$(wait_window "$name")
    [[ $mode == 2 || $(frame "$w") == "0 0 0 0" ]] || fail "the title-less window has a frame"
    # The framed window may be moved, resized and closed; no minimise or maximise box.
    [[ $mode == 1 || $(xprop -id "$w" _MOTIF_WM_HINTS) == *"= 0x3, 0x26, 0x1e,"* ]] || fail "the frame offers more"
    settled "$w" "300 200 350 240" >/dev/null
    ((++starts % 5)) && key="" || key=$CLOSE_KEY
    close_window "$w" $key && wait_exit
    # Every line comes back byte for byte (with any setting the story does not know).
    ! grep -aFxvf "$INI" "$TMP_ROOT/saved.ini" >/dev/null || fail "the ini was changed: $(cat -A "$INI")"
done
expect "the ini beside the link" "$(cat "$WORK_DIR/quennix.ini")" $'Mode=1\r'

note "places and sizes of 2^31 - 1: within the screen, a small program, a prompt close"
write_ini 2147483647 2147483647 2147483647 2147483647 2 && start_app
w=$(wait_window '^Seconds to ')
# The screen less the window manager's panels (xfwm4 maximizes a window asking all of it).
read -r x y width height _ <<<"$(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g')"
fills() { at "$w" "$x $y $width $height" || xprop -id "$w" _NET_WM_STATE | grep -q _MAXIMIZED_VERT; }
until_true 10 fills || fail "window $w at '$(outer "$w")', not the screen's '$x $y $width $height'"
rss=$(awk '/^VmRSS/ {print $2}' "/proc/$APP_PID/status")
((rss < 300 * 1024)) || fail "$rss KiB resident"
read -r x y width height <<<"$(outer "$w")" # what it really has, saved
close_window "$w" && wait_exit
expect "saved" "$(ini_value Top) $(ini_value Left) $(ini_value Height) $(ini_value Width)" \
    "$((y * 15)) $((x * 15)) $((height * 15)) $((width * 15))"

write_ini 3000 1500 2400 6000 2 && start_app
framed=$(wait_window '^Seconds to ')
place=$(settled "$framed" "100 200 400 160")
for how in double-click double-click Enter Enter; do
    to=$([[ $(wm_name "$framed") ]] && echo '^$' || echo '^Seconds to ')
    note "$how: the other kind takes the same place"
    old=$framed
    read -r x y _ <<<"$(client "$old")"
    [[ $how == Enter ]] && xdotool key Return || # to the window a switch left focused
        xdotool mousemove $((x + 120)) $((y + 50)) click --repeat 2 --delay 80 1
    framed=$(wait_window "$to")
    settled "$framed" "$place" >/dev/null
    until_true 5 window_gone "$old" || fail "the window left is still shown"
    xprop -id "$framed" _NET_WM_STATE | grep -qw _NET_WM_STATE_ABOVE || fail "the new window is not kept above"
    expect "mode saved at the switch" "$(ini_value Mode)" "$([[ $to == '^$' ]] && echo 2 || echo 1)"
    sleep 0.6
done

note "a move at once after a drag is kept, and the place through three About windows"
read -r x y _ <<<"$(client "$framed")" && read -r l _ t _ <<<"$(frame "$framed")"
xdotool mousemove $((x + 100)) $((y + 60)) mousedown 1 mousemove $((x + 140)) $((y + 90)) mouseup 1
settled "$framed" "140 230 400 160" >/dev/null
sleep 0.3 && xdotool windowmove "$framed" $((600 + l)) $((300 + t)) && stays "$framed" "600 300 400 160"
for _ in 1 2 3; do about "$framed" >/dev/null && stays "$framed" "600 300 400 160"; done
close_window "$framed" $CLOSE_KEY && wait_exit
expect "saved" "$(ini_value Top) $(ini_value Left)" "4500 9000"

note "the display going away: the place left saved, status 0"
start_app && framed=$(wait_window '^Seconds to ')
xdotool windowmove "$framed" $((20 + l)) $((40 + t)) && settled "$framed" "20 40 400 160" >/dev/null
kill "$XVFB_PID" && wait_exit
expect "saved" "$(ini_value Top) $(ini_value Left)" "600 300"
