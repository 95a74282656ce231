#!/usr/bin/env bash
# A saved place and size come back exactly, in the kind of window the file
# names, and survive any number of restarts without drifting.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
setup_session "${1:?usage: restore.sh QUENNIX_EXECUTABLE}"

# check_window W MODE: the window is the kind MODE names, kept above.
check_window() {
    local w=$1 mode=$2
    has_state "$w" _NET_WM_STATE_ABOVE || fail "mode $mode window is not kept above"
    if [[ $mode == 1 ]]; then
        expect "caption of the title-less window" "$(wm_name "$w")" ""
        expect "frame of the title-less window" "$(frame_extents "$w")" "0 0 0 0"
    else
        expect "caption" "$(wm_name "$w")" "Seconds to 01/01/2000, 12:00:00 AM"
        [[ $(frame_extents "$w") != "0 0 0 0" ]] || fail "the framed window has no frame"
    fi
}

# restores MODE "TOP LEFT HEIGHT WIDTH" [FONTNAME BOLD ITALIC]: three starts
# from the same file; each puts the window at the same outer frame and, on
# closing, writes the file back byte for byte.
restores() {
    local mode=$1 top left height width want pattern run w
    read -r top left height width <<<"$2"
    write_ini "$top" "$left" "$height" "$width" "$mode" "${@:3}"
    cp "$INI" "$TMP_ROOT/saved.ini"
    want="$(twips_to_px "$left") $(twips_to_px "$top") $(twips_to_px "$width") $(twips_to_px "$height")"
    [[ $mode == 1 ]] && pattern='^$' || pattern='^Seconds to '

    for run in 1 2 3; do
        note "mode $mode, start $run: outer frame should be $want"
        start_app
        w=$(wait_window "$pattern")
        # A readable file raises no box, so the count window is the only one.
        expect "windows on screen" "$(find_windows | wc -l)" 1
        check_window "$w" "$mode"
        wait_geometry "$w" "$want"
        expect "outer frame once settled" "$(settled_geometry "$w")" "$want"
        close_window "$w"
        wait_exit
        cmp -s "$INI" "$TMP_ROOT/saved.ini" ||
            fail "start $run changed the ini (^M is CR):
$(diff <(cat -A "$TMP_ROOT/saved.ini") <(cat -A "$INI"))"
    done
}

restores 2 "3000 4500 2400 5250" "DejaVu Serif" False True
restores 1 "6000 9000 1800 4800"
note "ok"
