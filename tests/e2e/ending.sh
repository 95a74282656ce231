#!/usr/bin/env bash
# A count that overflows (the clock set more than ~68 years from the base
# time) shows one "Display_Time" box; whichever answer is given, the program
# is gone at once, with exit status 0, no other window and the settings file
# untouched. The clock is faked with libfaketime, from the start and during a
# run.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
FAKETIME_LIB=$(compgen -G '/usr/lib/*/faketime/libfaketime.so.1' | head -n1 || true)
[[ -n $FAKETIME_LIB ]] || skip "libfaketime is not installed (apt-get install faketime)"
setup_session "${1:?usage: ending.sh QUENNIX_EXECUTABLE}"

# Qt's timers run on the monotonic clock, which stays real.
export FAKETIME_DONT_FAKE_MONOTONIC=1 FAKETIME_TIMESTAMP_FILE=$TMP_ROOT/faketime FAKETIME_NO_CACHE=1
readonly FAR_AHEAD="@2100-01-01 00:00:00"

# answer_and_check KEY: answers the "Display_Time" box with KEY and checks the
# program ends at once and leaves the ini as it was.
answer_and_check() {
    local box started elapsed
    box=$(wait_window '^Display_Time$')
    expect "windows besides the box" "$(find_windows | grep -cvx "$box" || true)" "$2"
    timeout 5 xdotool windowactivate --sync "$box" || fail "could not activate the box"
    started=$(date +%s%N)
    xdotool key "$1"
    until_true 5 app_gone || fail "the program is still running after the answer; $(x_state)"
    elapsed=$((($(date +%s%N) - started) / 1000000))
    wait_exit
    note "gone ${elapsed} ms after the answer"
    cmp -s "$INI" "$TMP_ROOT/saved.ini" || fail "the ini was changed"
}

write_ini 3000 1500 2400 6000 2
cp "$INI" "$TMP_ROOT/saved.ini"

note "clock far ahead from the start: the saved base time is out of reach, then so is the"
note "default one; the box comes before any count window; answered Yes"
echo "$FAR_AHEAD" >"$FAKETIME_TIMESTAMP_FILE"
LD_PRELOAD=$FAKETIME_LIB start_app
box=$(wait_window '^Main$')
timeout 5 xdotool windowactivate --sync "$box" || fail "could not activate the 'Main' box"
xdotool key Return
answer_and_check y 0

note "the clock jumps far ahead during a run: one box; answered No"
echo "+0" >"$FAKETIME_TIMESTAMP_FILE"
LD_PRELOAD=$FAKETIME_LIB start_app
w=$(wait_window '^Seconds to ')
echo "$FAR_AHEAD" >"$FAKETIME_TIMESTAMP_FILE"
answer_and_check n 1
note "ok"
