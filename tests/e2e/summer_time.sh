#!/usr/bin/env bash
# London's clocks go forward at 01:00 GMT on 28 March 2027. The real program,
# its clock at 00:59:40 that morning (libfaketime) and its base time 03:00,
# counts the real seconds left: about 3,620, falling by one each second
# through 01:00, as a screen reader hears the count (AT-SPI, on a D-Bus
# session of this test's own).
[[ -n ${QUENNIX_OWN_BUS:-} ]] || ! command -v dbus-run-session >/dev/null ||
    exec env QUENNIX_OWN_BUS=1 dbus-run-session -- bash "$0" "$@"
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
[[ -n ${QUENNIX_OWN_BUS:-} ]] || skip "dbus-run-session is missing (apt-get install dbus-daemon)"
/usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
    skip "AT-SPI is missing (apt-get install at-spi2-core python3-gi gir1.2-atspi-2.0)"
setup_session "${1:?usage: summer_time.sh QUENNIX_EXECUTABLE}"
fake_clock
set_clock "@2027-03-28 00:59:40"
write_ini 3000 1500 1500 4500 1 "DejaVu Sans" False False "28/03/2027 03:00:00 AM"
start_app TZ=Europe/London QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "${FAKE_CLOCK[@]}"
wait_window '^$' >/dev/null
mapfile -t heard < <(/usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/heard_count.py" "$APP_PID" 25)
note "heard ${#heard[@]} counts: ${heard[*]}"
((${#heard[@]} >= 20)) || fail "too few counts heard"
((${heard[0]//,/} <= 3620 && ${heard[0]//,/} >= 3610)) || fail "the first count is not about 3,620"
for ((i = 1; i < ${#heard[@]}; i++)); do
    # Each second one less; a count heard late on a busy machine may be missed.
    fall=$((${heard[i - 1]//,/} - ${heard[i]//,/}))
    ((fall >= 1 && fall <= 2)) || fail "from ${heard[i - 1]} to ${heard[i]}"
done
((${heard[-1]//,/} < 3600)) || fail "the count did not pass 01:00"
close_window "$(wait_window '^$')" && wait_exit
note "ok"
