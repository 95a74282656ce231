# shellcheck shell=bash
# Helpers for the end-to-end scenarios; sourced, not run.
#
# Each scenario gets its own Xvfb (display number chosen by Xvfb itself),
# its own openbox and its own copy of the executable in a fresh folder, so
# quennix.ini is private and scenarios can run in parallel. Everything is
# torn down by the EXIT trap.

set -euo pipefail

readonly SKIP_CODE=77
readonly POLL=0.05

fail() {
    echo "FAIL: $*" >&2
    if [[ -n ${TMP_ROOT:-} && -s $TMP_ROOT/app.log ]]; then
        echo "program output:" >&2
        sed 's/^/  /' "$TMP_ROOT/app.log" >&2
    fi
    exit 1
}
skip() { echo "SKIP: $*" >&2; exit "$SKIP_CODE"; }
note() { echo "-- $*"; }

APP_PID=""
OB_PID=""
XVFB_PID=""
TMP_ROOT=""
X_ERROR=""

cleanup() {
    local pid
    for pid in "$APP_PID" "$OB_PID" "$XVFB_PID"; do
        [[ -n $pid ]] || continue
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    [[ -z $TMP_ROOT ]] || rm -rf "$TMP_ROOT"
}

# until_true TIMEOUT_S CMD...: runs CMD every POLL seconds until it succeeds.
until_true() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep "$POLL"
    done
}

# setup_session EXE: checks the tools, starts X and the window manager and
# puts a copy of EXE into $APP_DIR. Sets APP, APP_DIR, INI, WORK_DIR, DISPLAY.
setup_session() {
    local exe=$1 tool
    for tool in Xvfb openbox xdotool xprop xwininfo wmctrl; do
        command -v "$tool" >/dev/null ||
            skip "$tool is not installed (apt-get install xvfb openbox xdotool x11-utils wmctrl)"
    done
    [[ -x $exe ]] || fail "no executable at '$exe'"

    trap cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM HUP
    TMP_ROOT=$(mktemp -d "${TMPDIR:-/tmp}/quennix-e2e.XXXXXX")
    APP_DIR=$TMP_ROOT/app
    WORK_DIR=$TMP_ROOT/work # the program's working directory: never read
    mkdir -p "$APP_DIR" "$WORK_DIR" "$TMP_ROOT/run" "$TMP_ROOT/config"
    chmod 700 "$TMP_ROOT/run"
    cp "$exe" "$APP_DIR/quennix"
    APP=$APP_DIR/quennix
    INI=$APP_DIR/quennix.ini

    # Nothing from the caller's desktop may change sizes or the dpi.
    unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR \
        QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE \
        WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb
    export XDG_RUNTIME_DIR=$TMP_ROOT/run XDG_CONFIG_HOME=$TMP_ROOT/config

    local attempt
    for attempt in 1 2 3; do
        start_x && return 0
        note "X session attempt $attempt failed: $X_ERROR"
        stop_x
    done
    fail "could not start Xvfb and openbox: $X_ERROR"
}

# start_x: Xvfb on a display it picks itself, then openbox; sets X_ERROR and
# fails when either does not come up.
start_x() {
    # Xvfb writes the display number it picked once it accepts connections;
    # no number from an earlier attempt may be read instead.
    rm -f "$TMP_ROOT/display"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp \
        3>"$TMP_ROOT/display" >"$TMP_ROOT/xvfb.log" 2>&1 &
    XVFB_PID=$!
    if ! until_true 10 grep -qs '^[0-9]' "$TMP_ROOT/display"; then
        X_ERROR="Xvfb gave no display number: $(tail -n 5 "$TMP_ROOT/xvfb.log")"
        return 1
    fi
    DISPLAY=:$(head -n1 "$TMP_ROOT/display")
    export DISPLAY
    if ! until_true 5 xprop -root WM_NAME >/dev/null 2>&1; then
        X_ERROR="display $DISPLAY does not answer"
        return 1
    fi

    openbox >"$TMP_ROOT/openbox.log" 2>&1 &
    OB_PID=$!
    if ! until_true 10 wm_settled || ! wm_ready; then
        X_ERROR="openbox not ready on $DISPLAY: $(tail -n 5 "$TMP_ROOT/openbox.log")"
        return 1
    fi
    note "X display $DISPLAY ready"
}

stop_x() {
    local pid
    for pid in "$OB_PID" "$XVFB_PID"; do
        [[ -z $pid ]] || { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; } || true
    done
    OB_PID="" XVFB_PID=""
}

wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
# Openbox is either ready or gone.
wm_settled() { ! kill -0 "$OB_PID" 2>/dev/null || wm_ready; }

# start_app [PATH]: starts the program (default: the private copy) from a
# working folder that is not its own.
start_app() {
    [[ -z $APP_PID ]] || fail "the program is already running"
    local path=${1:-$APP}
    (cd "$WORK_DIR" && exec "$path") >>"$TMP_ROOT/app.log" 2>&1 &
    APP_PID=$!
}

# x_state: what is on the display, for failure messages.
x_state() {
    local w
    for w in $(find_windows); do printf 'window %s "%s"; ' "$w" "$(wm_name "$w")"; done
    printf 'active %s; focus %s' "$(xdotool getactivewindow 2>/dev/null || echo none)" \
        "$(xdotool getwindowfocus 2>/dev/null || echo none)"
}

app_gone() { ! kill -0 "$APP_PID" 2>/dev/null; }

# wait_exit: waits for the program to end and checks its exit status.
wait_exit() {
    until_true 10 app_gone ||
        fail "the program did not exit after its window closed; $(x_state)"
    local rc=0
    wait "$APP_PID" || rc=$?
    APP_PID=""
    ((rc == 0)) || fail "the program exited with status $rc"
}

# find_windows: ids of the program's visible top-level windows.
find_windows() {
    xdotool search --all --onlyvisible --pid "$APP_PID" --class '^quennix$' 2>/dev/null || true
}

# wm_name W: the X11 WM_NAME of W ("" when empty).
wm_name() {
    local v
    v=$(xprop -id "$1" -notype WM_NAME | sed -n 's/^WM_NAME = //p')
    v=${v#\"}
    echo "${v%\"}"
}

# wait_window PATTERN [TIMEOUT]: prints the id of the program's single visible
# window whose WM_NAME matches the extended regex PATTERN.
wait_window() {
    local pattern=$1 timeout=${2:-10} deadline w seen
    deadline=$((SECONDS + timeout))
    while ((SECONDS < deadline)); do
        kill -0 "$APP_PID" 2>/dev/null || fail "the program ended while waiting for /$pattern/"
        for w in $(find_windows); do
            if [[ $(wm_name "$w") =~ $pattern ]]; then
                echo "$w"
                return 0
            fi
        done
        sleep "$POLL"
    done
    seen=$(for w in $(find_windows); do printf '"%s" ' "$(wm_name "$w")"; done)
    fail "no window named /$pattern/ within ${timeout}s; visible: ${seen:-none}; program $(app_state)"
}

# has_state W ATOM: W's _NET_WM_STATE holds ATOM.
has_state() { xprop -id "$1" _NET_WM_STATE | grep -qw "$2"; }

# frame_extents W: "left right top bottom", empty until the WM has framed W.
frame_extents() {
    xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ,
}

# client_geometry W: "x y width height" of W itself, frame left out.
client_geometry() {
    xwininfo -id "$1" | awk -F: '
        /Absolute upper-left X/ { x = $2 } /Absolute upper-left Y/ { y = $2 }
        /^ *Width/ { w = $2 } /^ *Height/ { h = $2 }
        END { if (h == "") exit 1; print x + 0, y + 0, w + 0, h + 0 }'
}

# inside W DX DY: a point DX, DY from the top-left corner of W's client area.
inside() {
    local x y w h
    read -r x y w h <<<"$(client_geometry "$1")"
    echo "$((x + $2)) $((y + $3))"
}

# outer_geometry W: "x y width height" of W's outer frame, in pixels.
outer_geometry() {
    local ext client x y w h l r t b
    ext=$(frame_extents "$1")
    client=$(client_geometry "$1") || return 1
    [[ -n $ext ]] || return 1
    read -r l r t b <<<"$ext"
    read -r x y w h <<<"$client"
    echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

# wait_geometry W "X Y W H" [TIMEOUT]: waits until W's outer frame is there.
wait_geometry() {
    until_true "${3:-5}" geometry_is "$1" "$2" ||
        fail "outer frame of window $1 is '$LAST_GEOMETRY', expected '$2' (x y width height)"
}

geometry_is() {
    LAST_GEOMETRY=$(outer_geometry "$1" || true)
    [[ $LAST_GEOMETRY == "$2" ]]
}

# settled_geometry W: the outer frame once it has not changed for 0.5 s.
settled_geometry() {
    local last="" now same=0 deadline=$((SECONDS + 10))
    while ((same < 10)); do
        ((SECONDS < deadline)) || fail "window $1 keeps changing its place or size"
        now=$(outer_geometry "$1" || true)
        if [[ -n $now && $now == "$last" ]]; then same=$((same + 1)); else same=0; fi
        last=$now
        sleep "$POLL"
    done
    echo "$last"
}

window_gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }

# close_window W: what a user does with the frame's close button (or alt+F4):
# the window manager asks the window to close. (A key the window manager
# binds can reach the window instead while the manager is still grabbing its
# keys on a busy machine, so no key is pressed here.)
close_window() {
    wmctrl -i -c "$1" || fail "could not ask window $1 to close"
    until_true 5 window_gone "$1" ||
        fail "window $1 still open 5 s after closing it; $(x_state); program $(app_state)"
}

# app_state: what the program is doing, for failure messages.
app_state() {
    [[ -n $APP_PID ]] && kill -0 "$APP_PID" 2>/dev/null || { echo "not running"; return; }
    echo "$(sed -n 's/^State:\s*//p' "/proc/$APP_PID/status"), in $(cat "/proc/$APP_PID/wchan"), openbox log: $(tail -n 3 "$TMP_ROOT/openbox.log" | tr '\n' ' ')"
}

# The program's logical dpi: Xft.dpi when set, else Qt's own default of 96
# (Qt ignores the physical dpi Xvfb reports).
logical_dpi() {
    local dpi
    dpi=$(xprop -root RESOURCE_MANAGER 2>/dev/null |
        sed -n 's/.*Xft\.dpi:[[:space:]]*\([0-9.]*\).*/\1/p' | head -n1)
    echo "${dpi%%.*}" | grep -x '[0-9]\+' || echo 96
}

px_to_twips() { echo $(($1 * 1440 / $(logical_dpi))); }
twips_to_px() { echo $(($1 * $(logical_dpi) / 1440)); }

# outer_in_twips "X Y W H": the four ini values "Top Left Height Width".
outer_in_twips() {
    local x y w h
    read -r x y w h <<<"$1"
    echo "$(px_to_twips "$y") $(px_to_twips "$x") $(px_to_twips "$h") $(px_to_twips "$w")"
}

# write_ini TOP LEFT HEIGHT WIDTH MODE [FONTNAME BOLD ITALIC]: the file as the
# program itself writes it.
write_ini() {
    printf '%s\r\n' "Top=$1" "Left=$2" "Height=$3" "Width=$4" "FontName=${6:-}" \
        "FontBold=${7:-True}" "FontItalic=${8:-False}" "BaseTime=01/01/2000" "Mode=$5" \
        >"$INI"
}

# ini_value KEY: the value of KEY in the program's ini, without the CR.
ini_value() {
    [[ -f $INI ]] || fail "no $INI"
    grep -a "^$1=" "$INI" | head -n1 | cut -d= -f2- | tr -d '\r'
}

# expect WHAT ACTUAL EXPECTED
expect() { [[ $2 == "$3" ]] || fail "$1: got '$2', expected '$3'"; }
