#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Measures the whole program beside `xclock -digital -update 1`, a small X
# program that also redraws once a second, in one run:
#   - time from start to the first mapped window (median of 5 starts each),
#   - at 400x200 and at 1920x1080: the title-less count and an xclock of the
#     same size with a comparable face (DejaVu Serif bold, 40 and 200 points),
#     side by side for 30 s of idle counting: CPU from the scheduler's run
#     time (/proc/PID/task/*/schedstat, in ns), wake-ups, resident memory;
#   - CPU per resize of the count between 3840x2160 and 1920x1080 (median
#     of 10, each resize timed alone).
# Each program runs on its own Xvfb (4000x2300, 96 dpi) with openbox.
#
# Usage: whole_program.sh [QUENNIX_EXECUTABLE]   (default: build/src/quennix)
# Needs: apt-get install xvfb openbox xdotool x11-utils x11-apps
# A measurement: the exit status is 0 whatever the figures are, 2 only when it
# cannot measure (a tool missing, a program that shows no window).

set -uo pipefail
readonly STARTS=5 IDLE_S=30 RESIZES=10 SCREEN=4000x2300x24
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
exe=${1:-$here/../build/src/quennix}
for tool in Xvfb openbox xdotool xwininfo xprop xclock; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2 && exit 2; }
done
[[ -x $exe ]] || { echo "no executable at '$exe'" >&2 && exit 2; }

TMP_ROOT=$(mktemp -d "${TMPDIR:-/tmp}/quennix-measure.XXXXXX")
PIDS=() # everything started here, ended in reverse order on exit
cleanup() {
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do
        kill "${PIDS[i]}" 2>/dev/null
        wait "${PIDS[i]}" 2>/dev/null
    done
    rm -rf "$TMP_ROOT"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI \
    QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$TMP_ROOT/run XDG_CONFIG_HOME=$TMP_ROOT/config
mkdir -p "$XDG_RUNTIME_DIR" "$TMP_ROOT/app" "$TMP_ROOT/work" && chmod 700 "$XDG_RUNTIME_DIR"
cp "$exe" "$TMP_ROOT/app/quennix"

fail() {
    echo "$*" >&2
    exit 2
}
now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }
until_true() {
    local end=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < end)) || return 1
        sleep 0.005
    done
}

# A private Xvfb and openbox for each program, on display numbers of its own.
declare -A ON
for which in quennix xclock; do
    n=$((200 + RANDOM % 600))
    ON[$which]=:$n
    Xvfb ":$n" -screen 0 "$SCREEN" -nolisten tcp >/dev/null 2>&1 &
    PIDS+=($!)
    until_true 10 env DISPLAY=":$n" xprop -root WM_NAME >/dev/null 2>&1 || fail "no Xvfb on :$n"
    # Ready once it runs its startup command: a window mapped before is never shown.
    rm -f "$TMP_ROOT/wm-ready-$n"
    DISPLAY=":$n" openbox --startup "touch $TMP_ROOT/wm-ready-$n" >/dev/null 2>&1 &
    PIDS+=($!)
    until_true 30 test -e "$TMP_ROOT/wm-ready-$n" || fail "no openbox on :$n"
done

# launch quennix MODE WIDTH HEIGHT | launch xclock WIDTH HEIGHT POINTS: starts
# the program on its display; sets PID.
launch() {
    if [[ $1 == quennix ]]; then
        # A settings file that opens the count window at once, at that size
        # (twips at 96 dpi): no "Main" box about a missing file.
        printf '%s\r\n' Top=0 Left=0 "Height=$(($4 * 15))" "Width=$(($3 * 15))" FontName= \
            FontBold=True FontItalic=False BaseTime=01/01/2000 "Mode=$2" >"$TMP_ROOT/app/quennix.ini"
        (cd "$TMP_ROOT/work" && DISPLAY=${ON[quennix]} exec "$TMP_ROOT/app/quennix") \
            >>"$TMP_ROOT/quennix.log" 2>&1 &
    else
        DISPLAY=${ON[xclock]} xclock -digital -update 1 -geometry "$2x$3+0+0" \
            -face "DejaVu Serif:bold:size=$4" >/dev/null 2>&1 &
    fi
    PID=$!
    PIDS+=("$PID")
}
window_of() { # WHICH PID: polls until it shows a window; prints its id
    local class='^quennix$' end=$((SECONDS + 20)) w
    [[ $1 == quennix ]] || class='^XClock$'
    while ((SECONDS < end)) && kill -0 "$2" 2>/dev/null; do
        w=$(DISPLAY=${ON[$1]} xdotool search --onlyvisible --class "$class" 2>/dev/null | head -n1)
        [[ -n $w ]] && echo "$w" && return 0
        sleep 0.005
    done
    return 1
}
stop() {
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}
# Run time of every thread of PID, in ns; voluntary context switches (wake-ups).
run_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ t += $1 } END { print t + 0 }'; }
wakeups() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt/ { n += $2 } END { print n + 0 }'; }
rss_mib() { awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
ms() { awk -v n="$1" 'BEGIN { printf "%.1f", n / 1e6 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1f", a / b; else print "n/a" }'; }
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
verdict() { awk -v a="$1" -v b="$2" 'BEGIN { print (a <= b ? "PASS" : "MISS") }'; }

echo "program: $exe"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) CPUs"

# --- start to first window: the framed window, as a first look shows it ----
q_starts=() x_starts=()
for ((i = 0; i < STARTS; i++)); do
    t0=$(now_ms) && launch quennix 2 360 120 && window_of quennix "$PID" >/dev/null ||
        fail "quennix showed no window: $(cat "$TMP_ROOT/quennix.log")"
    q_starts+=($(($(now_ms) - t0))) && stop "$PID"
    t0=$(now_ms) && launch xclock 360 120 20 && window_of xclock "$PID" >/dev/null ||
        fail "xclock showed no window"
    x_starts+=($(($(now_ms) - t0))) && stop "$PID"
done
q_start=$(median "${q_starts[@]}") x_start=$(median "${x_starts[@]}")
echo "first window (median of $STARTS): quennix $q_start ms, xclock $x_start ms"

# --- idle counting at two sizes, side by side --------------------------------
for size in "400 200 40" "1920 1080 200"; do
    read -r w h points <<<"$size"
    launch quennix 1 "$w" "$h" && q=$PID
    window_of quennix "$q" >/dev/null || fail "quennix showed no window"
    launch xclock "$w" "$h" "$points" && x=$PID
    window_of xclock "$x" >/dev/null || fail "xclock showed no window"
    sleep 3 # start-up is not idle counting
    q0=$(run_ns "$q") x0=$(run_ns "$x") qw0=$(wakeups "$q") xw0=$(wakeups "$x")
    sleep "$IDLE_S"
    qi=$(($(run_ns "$q") - q0)) xi=$(($(run_ns "$x") - x0))
    echo "${w}x$h, idle CPU over $IDLE_S s: quennix $(ms "$qi") ms, xclock $(ms "$xi") ms," \
        "ratio $(ratio "$qi" "$xi") (target <= 2: $(verdict "$qi" $((2 * xi))));" \
        "wake-ups $(($(wakeups "$q") - qw0)) and $(($(wakeups "$x") - xw0));" \
        "RSS $(rss_mib "$q") MiB and $(rss_mib "$x") MiB"
    stop "$q" && stop "$x"
done

# --- resizes --------------------------------------------------------------------
launch quennix 1 1920 1080 && q=$PID
win=$(window_of quennix "$q") || fail "quennix showed no window"
size_is() {
    DISPLAY=${ON[quennix]} xwininfo -id "$win" 2>/dev/null | awk -v w="$1" -v h="$2" \
        '/^ *Width:/ { gw = $2 } /^ *Height:/ { gh = $2 } END { exit !(gw == w && gh == h) }'
}
# resize_to W H: asks for the size, waits until the window has it, and gives
# the program 400 ms to draw it.
resize_to() {
    DISPLAY=${ON[quennix]} xdotool windowsize "$win" "$1" "$2"
    until_true 10 size_is "$1" "$2" || fail "the window did not become $1x$2"
    sleep 0.4
}
# idle_rate W H: run time per second of counting at that size, in ns.
idle_rate() {
    local n0
    resize_to "$1" "$2" && n0=$(run_ns "$q") && sleep 3
    echo $((($(run_ns "$q") - n0) / 3))
}
declare -A RATE
RATE[3840]=$(idle_rate 3840 2160) # the first fit at each size is not counted
RATE[1920]=$(idle_rate 1920 1080)
costs=()
for ((i = 0; i < RESIZES; i++)); do
    w=$((i % 2 ? 1920 : 3840)) h=$((i % 2 ? 1080 : 2160))
    n0=$(run_ns "$q") t0=$(now_ms)
    resize_to "$w" "$h"
    # What the resize cost: the run time meanwhile, less the counting's own.
    costs+=($(($(run_ns "$q") - n0 - RATE[$w] * ($(now_ms) - t0) / 1000)))
done
per=$(median "${costs[@]}")
echo "CPU per resize 3840x2160 <-> 1920x1080 (median of $RESIZES): $(ms "$per") ms" \
    "(target <= 15: $(verdict "$per" 15000000)); each: $(for c in "${costs[@]}"; do printf '%s ' "$(ms "$c")"; done)"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
