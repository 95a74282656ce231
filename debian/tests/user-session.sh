#!/bin/bash
# SPDX-License-Identifier: MIT
# The installed program, started twice by an ordinary user (nobody) on one
# X server of xvfb-run's, kept up between the two (-noreset): each time its
# window shows, named after the base time, and counts (two pictures of it
# 1.5 s apart differ). The first start reads the administrator's defaults,
# /etc/xdg/quennix/quennix.ini, and its close (SIGTERM, as at a logout) saves
# them as the user's own, ~/.config/quennix/; the next start reads those.
set -euo pipefail
fail() { echo "FAIL: $*" >&2 && exit 1; }
if [[ ${1:-} != --as-user ]]; then
    [[ ! -e /etc/xdg/quennix ]] || { echo "/etc/xdg/quennix is this machine's own" >&2 && exit 77; }
    home=$(mktemp -d)
    trap 'rm -rf "$home" /etc/xdg/quennix' EXIT
    mkdir /etc/xdg/quennix && cp "$0" "$home/test" && chown nobody "$home"
    printf '%s\n' Top=1440 Left=2880 Height=1440 Width=4800 FontName= FontBold=True FontItalic=False \
        "BaseTime=25/12/2030 6:30:00 PM" Mode=2 >/etc/xdg/quennix/quennix.ini
    setpriv --reuid=nobody --regid=nogroup --clear-groups -- env -i HOME="$home" PATH=/usr/bin:/bin \
        XDG_RUNTIME_DIR="$home" xvfb-run -a -s '-screen 0 1024x768x24 -noreset' "$home/test" --as-user
    exit
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
