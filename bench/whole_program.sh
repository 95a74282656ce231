#!/usr/bin/env bash
# Measures the whole program beside `xclock -digital -update 1`, a small X
# program that also redraws once a second:
#   - time from start to the first mapped window (median of 5 starts),
#   - CPU used over 30 s of idle counting, both programs side by side,
#   - resident memory after those 30 s,
#   - CPU per resize of the program's window between 3840x2160 and 1920x1080.
# Each program runs on its own Xvfb (4000x2300, so the largest window fits)
# with openbox, so neither draws on or waits for the other's server.
# CPU is read as utime+stime (whole 10 ms clock ticks) and, where the kernel
# gives it, as the scheduler's run time in ns; the targets use the run time,
# since xclock uses less than a tick in 30 s.
#
# Usage: whole_program.sh [QUENNIX_EXECUTABLE]   (default: build/src/quennix)
# Needs: apt-get install xvfb openbox xdotool x11-utils x11-apps
# Installs nothing. A measurement: the exit status is 0 whatever the figures
# are, and 2 only when it cannot measure (a tool missing, a program that
# shows no window).

set -uo pipefail

readonly STARTS=5
readonly IDLE_S=30
readonly RESIZES=20
readonly SCREEN=4000x2300x24
readonly POLL=0.005

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
exe=${1:-$here/../build/src/quennix}

missing=()
for tool in Xvfb:xvfb openbox:openbox xdotool:xdotool xwininfo:x11-utils xprop:x11-utils \
    xclock:x11-apps; do
    command -v "${tool%%:*}" >/dev/null || missing+=("${tool%%:*} (package ${tool#*:})")
done
[[ -x $exe ]] || missing+=("the program: no executable at '$exe'")
if ((${#missing[@]})); then
    printf 'missing: %s\n' "${missing[@]}" >&2
    exit 2
fi

TMP_ROOT=$(mktemp -d "${TMPDIR:-/tmp}/quennix-measure.XXXXXX")
PIDS=() # everything started here, ended in reverse order on exit

cleanup() {
    local i
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do
        kill "${PIDS[i]}" 2>/dev/null
        wait "${PIDS[i]}" 2>/dev/null
    done
    rm -rf "$TMP_ROOT"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

# Nothing from the caller's desktop may change sizes, the dpi or the style.
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR \
    QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$TMP_ROOT/run XDG_CONFIG_HOME=$TMP_ROOT/config
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
chmod 700 "$XDG_RUNTIME_DIR"

now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }

# until_true TIMEOUT_S CMD...: runs CMD every POLL seconds until it succeeds.
until_true() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep "$POLL"
    done
}

# start_x NAME: a private Xvfb (display number chosen by Xvfb) and openbox.
# Sets DISPLAY_OF[NAME].
declare -A DISPLAY_OF
start_x() {
    local name=$1 dir=$TMP_ROOT/$1
    mkdir -p "$dir"
    Xvfb -displayfd 3 -screen 0 "$SCREEN" -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
    PIDS+=($!)
    until_true 10 grep -q '^[0-9]' "$dir/display" || {
        echo "Xvfb did not start: $(cat "$dir/xvfb.log")" >&2
        exit 2
    }
    DISPLAY_OF[$name]=:$(head -n1 "$dir/display")
    DISPLAY=${DISPLAY_OF[$name]} openbox >"$dir/openbox.log" 2>&1 &
    PIDS+=($!)
    until_true 10 wm_ready "${DISPLAY_OF[$name]}" || {
        echo "openbox did not start: $(cat "$dir/openbox.log")" >&2
        exit 2
    }
}
wm_ready() { DISPLAY=$1 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# The program runs as a copy in a folder of its own, beside a settings file
# that opens the framed count window at once: no "Main" box about a missing
# file. The file is put back before every start, since the program writes it.
APP_DIR=$TMP_ROOT/app
mkdir -p "$APP_DIR" "$TMP_ROOT/work"
cp "$exe" "$APP_DIR/quennix"
printf '%s\r\n' Top=1500 Left=1500 Height=1800 Width=5400 FontName= FontBold=True \
    FontItalic=False BaseTime=01/01/2000 Mode=2 >"$TMP_ROOT/quennix.ini"
fresh_ini() { cp "$TMP_ROOT/quennix.ini" "$APP_DIR/quennix.ini"; }

# launch WHICH: starts quennix or xclock on its own display; sets LAUNCHED.
# Call fresh_ini first for quennix.
LAUNCHED=""
launch() {
    if [[ $1 == quennix ]]; then
        (cd "$TMP_ROOT/work" && DISPLAY=${DISPLAY_OF[quennix]} exec "$APP_DIR/quennix") \
            >>"$TMP_ROOT/quennix.log" 2>&1 &
    else
        DISPLAY=${DISPLAY_OF[xclock]} xclock -digital -update 1 >>"$TMP_ROOT/xclock.log" 2>&1 &
    fi
    LAUNCHED=$!
    PIDS+=("$LAUNCHED")
}

# visible_window WHICH: the id of its first visible top-level window, if any.
visible_window() {
    local class='^quennix$'
    [[ $1 == quennix ]] || class='^XClock$'
    DISPLAY=${DISPLAY_OF[$1]} xdotool search --onlyvisible --class "$class" 2>/dev/null | head -n1
}

# wait_window WHICH PID: polls until a window shows; prints its id.
wait_window() {
    local w deadline=$((SECONDS + 20))
    while ((SECONDS < deadline)); do
        kill -0 "$2" 2>/dev/null || return 1
        w=$(visible_window "$1")
        [[ -n $w ]] && echo "$w" && return 0
        sleep "$POLL"
    done
    return 1
}

# stop PID: ends a program started here and forgets it, so that the clean-up
# never signals a process id the system has handed out again.
stop() {
    local i
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
    for i in "${!PIDS[@]}"; do
        [[ ${PIDS[i]} != "$1" ]] || unset 'PIDS[i]'
    done
    PIDS=("${PIDS[@]}")
}

# utime + stime of PID (every thread), in ms, in whole clock ticks.
TICK=$(getconf CLK_TCK)
readonly TICK
cpu_ms() {
    local stat f
    stat=$(<"/proc/$1/stat") || return 1
    read -ra f <<<"${stat##*) }" # f[0] is field 3, the state
    echo $(((f[11] + f[12]) * 1000 / TICK))
}
# The same to the nanosecond, from the scheduler's run time of each live
# thread: a clock tick is 10 ms, about what xclock uses in 30 s.
run_ns() {
    local f ns t=0
    for f in /proc/"$1"/task/*/schedstat; do
        read -r ns _ <"$f" 2>/dev/null && t=$((t + ns))
    done
    echo "$t"
}
# Times the process's threads went to sleep and were woken: how often it wakes.
wakeups() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^voluntary_ctxt_switches:/ { n += $2 } END { print n + 0 }'
}
rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# ratio A B: A/B with one decimal, "n/a" when B is 0.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1f", a / b; else print "n/a" }'; }
# verdict CMD...: PASS when CMD succeeds, else MISS.
verdict() { if "$@"; then echo PASS; else echo MISS; fi; }
le() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a <= b) }'; }
lt() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
fail() {
    echo "$*" >&2
    [[ ! -s $TMP_ROOT/quennix.log ]] || sed 's/^/quennix: /' "$TMP_ROOT/quennix.log" >&2
    exit 2
}

start_x quennix
start_x xclock
echo "program: $exe"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) CPUs"

# --- start to first mapped window, alternating the two programs -----------
declare -A STARTED
for ((i = 1; i <= STARTS; i++)); do
    for which in quennix xclock; do
        fresh_ini
        t0=$(now_ms)
        launch "$which"
        wait_window "$which" "$LAUNCHED" >/dev/null || fail "$which showed no window"
        STARTED[$which]+="$(($(now_ms) - t0)) "
        stop "$LAUNCHED"
    done
done
# shellcheck disable=SC2086
q_start=$(median ${STARTED[quennix]})
# shellcheck disable=SC2086
x_start=$(median ${STARTED[xclock]})

# --- idle counting, side by side ------------------------------------------
# Run time to the nanosecond where the kernel gives it, whole ticks otherwise.
precise=0
(($(run_ns $$) > 0)) && precise=1
ms_of_ns() { awk -v n="$1" 'BEGIN { printf "%.2f", n / 1e6 }'; }

fresh_ini
launch quennix
q_pid=$LAUNCHED
q_win=$(wait_window quennix "$q_pid") || fail "quennix showed no window"
launch xclock
x_pid=$LAUNCHED
wait_window xclock "$x_pid" >/dev/null || fail "xclock showed no window"
title=$(DISPLAY=${DISPLAY_OF[quennix]} xprop -id "$q_win" -notype WM_NAME |
    sed -n 's/^WM_NAME = //p')
[[ $title != '"Main"' ]] || fail "quennix shows its 'Main' box: the settings file was not taken"
sleep 2 # start-up work is not idle counting
q0=$(cpu_ms "$q_pid") x0=$(cpu_ms "$x_pid") qn0=$(run_ns "$q_pid") xn0=$(run_ns "$x_pid")
qw0=$(wakeups "$q_pid") xw0=$(wakeups "$x_pid")
sleep "$IDLE_S"
q_idle=$(($(cpu_ms "$q_pid") - q0)) x_idle=$(($(cpu_ms "$x_pid") - x0))
q_idle_ns=$(($(run_ns "$q_pid") - qn0)) x_idle_ns=$(($(run_ns "$x_pid") - xn0))
q_wake=$(($(wakeups "$q_pid") - qw0)) x_wake=$(($(wakeups "$x_pid") - xw0))
q_rss=$(rss_kib "$q_pid") x_rss=$(rss_kib "$x_pid")
stop "$x_pid"

# --- resizes ----------------------------------------------------------------
# size_is W H: the client window (frame left out) has that size.
size_is() {
    DISPLAY=${DISPLAY_OF[quennix]} xwininfo -id "$q_win" 2>/dev/null |
        awk -v w="$1" -v h="$2" '/^ *Width:/ { gw = $2 } /^ *Height:/ { gh = $2 }
            END { exit !(gw == w && gh == h) }'
}
# quiet: the program has all but stopped using CPU: the resize is drawn.
quiet() {
    local before after
    if ((precise)); then
        before=$(run_ns "$q_pid")
        sleep 0.1
        after=$(run_ns "$q_pid")
        ((after - before < 1000000))
    else
        before=$(cpu_ms "$q_pid")
        sleep 0.15
        [[ $(cpu_ms "$q_pid") == "$before" ]]
    fi
}
resize_to() {
    DISPLAY=${DISPLAY_OF[quennix]} xdotool windowsize "$q_win" "$1" "$2"
    until_true 10 size_is "$1" "$2" || fail "the window did not become $1x$2"
    until_true 5 quiet || true
}
# idle_rate_at W H: run time per second of counting at that size, in ns.
idle_rate_at() {
    local n0
    resize_to "$1" "$2"
    n0=$(run_ns "$q_pid")
    sleep 3
    echo $((($(run_ns "$q_pid") - n0) / 3))
}
DISPLAY=${DISPLAY_OF[quennix]} xdotool windowmove "$q_win" 0 0
# The first fit and the first backing store at each size are not counted.
resize_to 3840 2160
resize_to 1920 1080
rate_big=$(idle_rate_at 3840 2160)
rate_small=$(idle_rate_at 1920 1080)

r0=$(cpu_ms "$q_pid") rn0=$(run_ns "$q_pid") t0=$(now_ms)
for ((i = 0; i < RESIZES; i++)); do
    if ((i % 2 == 0)); then resize_to 3840 2160; else resize_to 1920 1080; fi
done
r_cpu=$(($(cpu_ms "$q_pid") - r0)) r_ns=$(($(run_ns "$q_pid") - rn0))
r_elapsed=$(($(now_ms) - t0))
stop "$q_pid"

# --- report -----------------------------------------------------------------
per() { awk -v c="$1" -v n="$2" 'BEGIN { printf "%.1f", c / n }'; }
q_mib=$(awk -v k="$q_rss" 'BEGIN { printf "%.1f", k / 1024 }')
x_mib=$(awk -v k="$x_rss" 'BEGIN { printf "%.1f", k / 1024 }')
per_resize=$(per "$r_cpu" "$RESIZES")
if ((precise)); then
    idle_q=$q_idle_ns idle_x=$x_idle_ns idle_how="run time"
    per_resize=$(per "$r_ns" $((RESIZES * 1000000)))
    # The counting goes on while the window is resized; half the time at each size.
    idle_part=$(((rate_big + rate_small) / 2 * r_elapsed / 1000))
    net_resize=$(per $((r_ns - idle_part)) $((RESIZES * 1000000)))
else
    # A program idle enough to use no tick still counts as one, so the
    # comparison stays defined.
    idle_q=$q_idle idle_x=$((x_idle > 0 ? x_idle : 1000 / TICK)) idle_how="clock ticks"
fi

echo "first window (median of $STARTS starts): quennix $q_start ms, xclock $x_start ms," \
    "ratio $(ratio "$q_start" "$x_start")"
echo "  each start, ms: quennix ${STARTED[quennix]% }; xclock ${STARTED[xclock]% }"
echo "idle CPU over ${IDLE_S} s, utime+stime: quennix $q_idle ms, xclock $x_idle ms," \
    "ratio $(ratio "$q_idle" "$x_idle") ($((1000 / TICK)) ms clock ticks)"
((precise)) &&
    echo "idle CPU over ${IDLE_S} s, run time: quennix $(ms_of_ns "$q_idle_ns") ms," \
        "xclock $(ms_of_ns "$x_idle_ns") ms, ratio $(ratio "$q_idle_ns" "$x_idle_ns")"
echo "wake-ups over ${IDLE_S} s (voluntary context switches): quennix $q_wake, xclock $x_wake"
echo "RSS after ${IDLE_S} s: quennix $q_mib MiB, xclock $x_mib MiB," \
    "ratio $(ratio "$q_rss" "$x_rss")"
echo "CPU per resize 3840x2160 <-> 1920x1080 ($RESIZES resizes in $r_elapsed ms):" \
    "utime+stime $(per "$r_cpu" "$RESIZES") ms"
((precise)) &&
    echo "  run time $per_resize ms per resize; $net_resize ms without the counting meanwhile" \
        "($(ms_of_ns "$rate_big") ms/s at 3840x2160, $(ms_of_ns "$rate_small") ms/s at 1920x1080)"
echo "targets:"
echo "  first window <= 300 ms:  $(verdict le "$q_start" 300) ($q_start ms)"
echo "  idle CPU <= 2x xclock:   $(verdict le "$idle_q" $((2 * idle_x)))" \
    "(ratio $(ratio "$idle_q" "$idle_x"), $idle_how)"
echo "  RSS < 40 MiB:            $(verdict lt "$q_rss" $((40 * 1024))) ($q_mib MiB)"
echo "  CPU per resize < 20 ms:  $(verdict lt "$per_resize" 20) ($per_resize ms)"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
exit 0
