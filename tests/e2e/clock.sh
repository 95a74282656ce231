#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real program on a clock of libfaketime's. A count that overflows (the
# clock ~68 years from the base time) shows one "Display_Time" box; whatever
# the answer, the program is gone at once, with status 0, nothing else shown
# and the settings file untouched: from the start, and after a jump. Started
# at 00:59:40 on 28 March 2027 in London, whose clocks go forward at 01:00
# GMT, with the base time 03:00, the count is the real seconds left: about
# 3,620, one less each second through 01:00, as a screen reader hears it
# (AT-SPI, on a D-Bus session of this test's own).
[[ -n ${QUENNIX_OWN_BUS:-} ]] || ! command -v dbus-run-session >/dev/null ||
    exec env QUENNIX_OWN_BUS=1 dbus-run-session -- bash "$0" "$@"
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
setup_session "${1:?usage: clock.sh QUENNIX_EXECUTABLE}"
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

note "summer time begins: the real seconds left, one less each second"
[[ -n ${QUENNIX_OWN_BUS:-} ]] && /usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' ||
    skip "AT-SPI is missing (apt-get install dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0)"
set_clock "@2027-03-28 00:59:40"
write_ini 3000 1500 1500 4500 1 "DejaVu Sans" False False "28/03/2027 03:00:00 AM"
start_app TZ=Europe/London QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "${FAKE_CLOCK[@]}"
wait_window '^$' >/dev/null
heard=$(/usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/heard_count.py" "$APP_PID" 25 | tr -d ,)
note "heard" $heard
# About 3,620, then one less each second through 01:00 (or two: heard late).
awk -v RS= '{ ok = NF >= 20 && $1 <= 3620 && $1 >= 3610 && $NF < 3600
              for (i = 2; i <= NF; i++) ok = ok && $(i - 1) - $i >= 1 && $(i - 1) - $i <= 2
              exit !ok }' <<<"$heard" || fail "not about 3,620, falling by one a second past 01:00"
close_window "$(wait_window '^$')" && wait_exit
note "ok"
