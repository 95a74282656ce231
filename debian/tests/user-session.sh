#!/bin/bash
# SPDX-License-Identifier: MIT
# The installed program, run twice on one X server of xvfb-run's (-noreset) by
# a user (the testbed's, else one it adds) and then by root: its window shows,
# named after the base time, and counts. The first start reads the defaults the
# test puts in /etc/xdg (removing what it made), the close (SIGTERM, as at a
# logout) saves them in ~/.config/quennix/, the next start reads those there.
set -euo pipefail
fail() { echo "FAIL: $*" >&2 && exit 1; }
if [[ ${1:-} != --as-user ]]; then
    [[ ! -e /etc/xdg/quennix ]] || { echo "/etc/xdg/quennix is this machine's own" >&2 && exit 77; }
    [[ -e /etc/xdg ]] && made=/etc/xdg/quennix || made=/etc/xdg
    homes=() user=${AUTOPKGTEST_NORMAL_USER:-} added=""
    [[ -n $user ]] || { user=quennix-test added=yes && useradd --no-create-home "$user"; }
    trap 'rm -rf "$made" "${homes[@]}"; [[ -z $added ]] || userdel "$user"' EXIT
    mkdir -p /etc/xdg/quennix
    printf '%s\n' Top=1440 Left=2880 Height=1440 Width=4800 FontName= FontBold=True FontItalic=False \
        "BaseTime=25/12/2030 6:30:00 PM" Mode=2 >/etc/xdg/quennix/quennix.ini
    for who in "$user" root; do
        home=$(mktemp -d) && homes+=("$home") && cp "$0" "$home/test" && chown -R "$who:" "$home"
        setpriv --reuid="$who" --regid="$(id -g "$who")" --init-groups -- env -i HOME="$home" \
            LANG=C.UTF-8 PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$home" \
            xvfb-run -a -s '-screen 0 1024x768x24 -noreset' "$home/test" --as-user
    done
    [[ $(echo /usr/bin/quennix*) == /usr/bin/quennix ]] && exit
    fail "beside the program: $(echo /usr/bin/quennix*)"
fi
title="Seconds to 25/12/2030, 06:30:00 PM" own=~/.config/quennix/quennix.ini
defaults=$(sed 's/$/\r/' /etc/xdg/quennix/quennix.ini) # as the program writes them: CR LF
run() {
    quennix &
    for _ in $(seq 300); do xwininfo -name "$title" >/dev/null 2>&1 && break || sleep 0.1; done
    sleep 1 && shot=$(xwd -name "$title" -silent | md5sum) || fail "no window named $title"
    sleep 1.5 && [[ $(xwd -name "$title" -silent | md5sum) != "$shot" ]] || fail "no count"
    kill -TERM $! && wait $! || fail "the program failed"
}
run
[[ $(cat "$own") == "$defaults" && $(stat -c %a "${own%/*}") == 700 ]] || fail "no settings of one's own"
sed -i 's/^Top=1440/Top=2880/' "$own" && run
[[ $(cat "$own") == "${defaults/Top=1440/Top=2880}" ]] || fail "the user's own settings were not read"
