# SPDX-License-Identifier: MIT
# shellcheck shell=bash
# Helpers for the end-to-end scenarios; sourced, not run. Each scenario runs
# the real program from a private copy in a fresh folder (so quennix.ini is
# its own) on a private Xvfb with openbox, so scenarios can run side by side;
# the EXIT trap tears it all down.
set -euo pipefail
APP_PID="" OB_PID="" XVFB_PID="" TMP_ROOT="" APP_ARGS=()

fail() {
    echo "FAIL: $*" >&2
    [[ ! -s ${TMP_ROOT:-/none}/app.log ]] || sed 's/^/  program: /' "$TMP_ROOT/app.log" >&2
    exit 1
}
skip() { echo "SKIP: $*" >&2 && exit 77; }
note() { echo "-- $*"; }
expect() { [[ $2 == "$3" ]] || fail "$1: got '$2', expected '$3'"; }

# until_true SECONDS CMD...: runs CMD every 50 ms until it succeeds.
until_true() {
    local end=$((SECONDS + $1)) && shift
    until "$@"; do ((SECONDS < end)) && sleep 0.05 || return 1; done
}

stop() { for pid in "$@"; do [[ -z $pid ]] || { kill "$pid" && wait "$pid"; } 2>/dev/null || :; done; }
cleanup() { stop "$APP_PID" "$OB_PID" "$XVFB_PID" && rm -rf "$TMP_ROOT"; }

# setup_session EXE: X with a window manager, and a copy of EXE. Sets APP,
# INI (beside APP), WORK_DIR (the program's working folder) and DISPLAY.
setup_session() {
    local tool
    for tool in Xvfb openbox xdotool xprop xwininfo wmctrl; do
        command -v "$tool" >/dev/null || skip "$tool is missing (tools/setup-debian.sh --test)"
    done
    trap cleanup EXIT
    TMP_ROOT=$(mktemp -d "${TMPDIR:-/tmp}/quennix-e2e.XXXXXX")
    mkdir -p "$TMP_ROOT"/{app,work,run,config} && chmod 700 "$TMP_ROOT/run"
    cp "$1" "$TMP_ROOT/app/quennix"
    APP=$TMP_ROOT/app/quennix INI=$TMP_ROOT/app/quennix.ini WORK_DIR=$TMP_ROOT/work
    # Nothing from the caller's desktop may change sizes or the dpi (96).
    unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI \
        QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$TMP_ROOT/run XDG_CONFIG_HOME=$TMP_ROOT/config
    # Xvfb picks a free display number itself and writes it once it listens.
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$TMP_ROOT/display" \
        >"$TMP_ROOT/x.log" 2>&1 &
    XVFB_PID=$!
    until_true 10 test -s "$TMP_ROOT/display" || fail "Xvfb did not start: $(cat "$TMP_ROOT/x.log")"
    export DISPLAY=:$(<"$TMP_ROOT/display")
    # Ready once it runs its startup command: it names itself the window
    # manager earlier, and a window mapped in between is never shown.
    openbox --startup "touch $TMP_ROOT/wm-ready" >>"$TMP_ROOT/x.log" 2>&1 &
    OB_PID=$!
    until_true 30 test -e "$TMP_ROOT/wm-ready" || fail "openbox did not start: $(cat "$TMP_ROOT/x.log")"
}

# fake_clock: the environment that gives the program a clock of libfaketime's,
# set with set_clock. (Qt's timers run on the monotonic clock, which stays
# real.)
fake_clock() {
    local lib
    lib=$(compgen -G '/usr/lib/*/faketime/libfaketime.so.1' | head -n1) ||
        skip "libfaketime is missing (apt-get install faketime)"
    FAKE_CLOCK=(LD_PRELOAD="$lib" FAKETIME_DONT_FAKE_MONOTONIC=1 FAKETIME_NO_CACHE=1
        FAKETIME_TIMESTAMP_FILE="$TMP_ROOT/faketime")
}
# set_clock WHEN: "@2027-03-28 00:59:40" (local time), "+0"... The file is
# replaced in one step: a newer libfaketime (Debian 13's) ends the program
# when it reads it half-written.
set_clock() { echo "$1" >"$TMP_ROOT/faketime.new" && mv "$TMP_ROOT/faketime.new" "$TMP_ROOT/faketime"; }

# start_app [ENV=VALUE...]: starts the program, with APP_ARGS, from a folder
# not its own.
start_app() {
    (cd "$WORK_DIR" && exec env "$@" "$APP" "${APP_ARGS[@]}") >>"$TMP_ROOT/app.log" 2>&1 &
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
wm_name() { xprop -id "$1" -notype WM_NAME | sed -n 's/^WM_NAME = "\(.*\)"$/\1/p'; }
# wait_window REGEX: the id of the program's visible window whose name matches.
# (A first start on a fresh machine may build the font cache for seconds.)
wait_window() {
    local w end=$((SECONDS + 30))
    while ((SECONDS < end)); do
        app_gone && fail "the program ended while waiting for /$1/"
        for w in $(windows); do [[ $(wm_name "$w") =~ $1 ]] && echo "$w" && return 0; done
        sleep 0.05
    done
    fail "no window named /$1/; shown: $(for w in $(windows); do printf '"%s" ' "$(wm_name "$w")"; done)"
}
window_gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
kept_above() { xprop -id "$1" _NET_WM_STATE | grep -qw _NET_WM_STATE_ABOVE; }
frame() { xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ,; }

# client W: "x y width height" of W's client area; outer W: of its frame.
client() {
    xwininfo -id "$1" | awk -F: '/Absolute upper-left X/ {x=$2} /Absolute upper-left Y/ {y=$2}
        /^ *Width/ {w=$2} /^ *Height/ {h=$2} END {if (h == "") exit 1; print x+0, y+0, w+0, h+0}'
}
outer() {
    local l r t b x y w h
    read -r l r t b <<<"$(frame "$1")" && [[ -n $b ]] || return 1
    read -r x y w h <<<"$(client "$1")" || return 1
    echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}
# inside W DX DY: the screen point DX, DY into W's client area.
inside() { read -r x y _ <<<"$(client "$1")" && echo "$((x + $2)) $((y + $3))"; }
# settled W [EXPECTED]: W's outer frame once unchanged for half a second
# (and equal to EXPECTED when given).
settled() {
    local last="" now same=0 end=$((SECONDS + 10))
    while ((same < 10)) || [[ -n ${2:-} && $last != "$2" ]]; do
        ((SECONDS < end)) || fail "window $1 at '$last', expected '${2:-a settled place}'"
        now=$(outer "$1" || true)
        [[ -n $now && $now == "$last" ]] && same=$((same + 1)) || same=0
        last=$now && sleep 0.05
    done
    echo "$last"
}
# close_window W: as the frame's close button does (a key like alt+F4 can
# reach the window instead while a busy window manager grabs its keys).
close_window() {
    wmctrl -i -c "$1" || fail "could not ask window $1 to close"
    until_true 5 window_gone "$1" || fail "window $1 still open 5 s after closing it"
}

# The program's logical dpi here: Qt's own 96, as no Xft.dpi is set.
readonly DPI=96
# in_twips "X Y W H": the ini's "Top Left Height Width" for that outer frame.
in_twips() {
    local x y w h t=$((1440 / DPI))
    read -r x y w h <<<"$1"
    echo "$((y * t)) $((x * t)) $((h * t)) $((w * t))"
}
# write_ini TOP LEFT HEIGHT WIDTH MODE [FONTNAME BOLD ITALIC BASETIME]: as the
# program writes it.
write_ini() {
    printf '%s\r\n' "Top=$1" "Left=$2" "Height=$3" "Width=$4" "FontName=${6:-}" \
        "FontBold=${7:-True}" "FontItalic=${8:-False}" "BaseTime=${9:-01/01/2000}" "Mode=$5" >"$INI"
}
ini_value() { grep -a "^$1=" "${2:-$INI}" | head -n1 | cut -d= -f2- | tr -d '\r'; }
# saved_place: the ini's "Top Left Height Width".
saved_place() { echo "$(ini_value Top) $(ini_value Left) $(ini_value Height) $(ini_value Width)"; }
