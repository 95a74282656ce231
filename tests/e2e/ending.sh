#!/usr/bin/env bash
# A count that overflows (the clock more than ~68 years from the base time)
# shows one "Display_Time" box; whichever answer is given the program is gone
# at once, with status 0, nothing else shown and the settings file untouched.
# The clock is faked with libfaketime, from the start and during a run.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
setup_session "${1:?usage: ending.sh QUENNIX_EXECUTABLE}"
fake_clock
write_ini 3000 1500 2400 6000 2 && cp "$INI" "$TMP_ROOT/saved.ini"

# answer KEY OTHERS: answers the one "Display_Time" box (OTHERS windows besides
# it) with KEY; the program must be gone at once, the ini as it was.
answer() {
    local box started
    box=$(wait_window '^Display_Time$')
    expect "windows besides the box" "$(windows | grep -cvx "$box" || true)" "$2"
    xdotool windowactivate --sync "$box" && started=$(date +%s%N) && xdotool key "$1"
    until_true 5 app_gone || fail "the program still runs after the answer"
    note "gone $((($(date +%s%N) - started) / 1000000)) ms after the answer"
    wait_exit
    cmp -s "$INI" "$TMP_ROOT/saved.ini" || fail "the ini was changed"
}

note "from the start: the saved base time is out of reach, then the default's count too"
set_clock "@2100-01-01 00:00:00"
start_app "${FAKE_CLOCK[@]}"
xdotool windowactivate --sync "$(wait_window '^Main$')" key Return
answer y 0

note "the clock jumps during a run; answered No"
set_clock +0
start_app "${FAKE_CLOCK[@]}"
wait_window '^Seconds to ' >/dev/null
set_clock "@2100-01-01 00:00:00"
answer n 1
note "ok"
