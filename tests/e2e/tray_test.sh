#!/bin/bash
# End-to-end test of the info box and the notification-area icon: hiding the window, the
# spoken time on a left click, and the popup menu's "Uhr Anzeigen", "Info" and "Exit".
# Usage: tests/e2e/tray_test.sh BINARY ARTIFACT_DIR
# shellcheck disable=SC2317  # the small helpers below are called through e2e_wait_until
set -euo pipefail

if (($# != 2)); then
    echo "usage: $0 BINARY ARTIFACT_DIR" >&2
    exit 2
fi
[[ -x $1 ]] || { echo "$0: not an executable: $1" >&2; exit 2; }
BIN=$(realpath "$1")
HERE=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib/desktop.sh
source "$HERE/lib/desktop.sh"
e2e_init "$2" "$0" "$@"

TITLE="Die Lurvendel"
INFO_TITLE="Die Lurvendel   -    Info "
INFO_FIRST="Die Sprach- und Alarmausgabe funktioniert auch bei "
TRAY=$HERE/lib/tray.py
A11Y=$HERE/lib/tray_a11y.py
CLIPS=$HERE/lib/clips.py
REC=$E2E_ARTIFACTS/speech.wav
ANALYSIS=$E2E_ARTIFACTS/analysis.txt
HIDE_X=248 HIDE_Y=165 # middle of "Verbergen" (client px 216..281, 156..175)
INFO_X=148 INFO_Y=165 # middle of "I" (client px 140..157, 156..175)
# 13:21: no quarter-hour announcement comes near the run.
FAKE_H=13 FAKE_M=21 FAKE_S=2

icon() { /usr/bin/python3 "$TRAY" icon lurvendel trayer; }
icon_there() { [[ -n $(icon) ]]; }
icon_gone() { [[ -z $(icon) ]]; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
not_viewable() { ! viewable "$1"; }
focused() { (($(xdotool getwindowfocus) == $1)); }

# click_icon BUTTON : clicks the middle of the tray icon.
click_icon() {
    local w h
    read -r _ _ w h < <(client_geometry "$ICON")
    xdotool mousemove --window "$ICON" $((w / 2)) $((h / 2)) click "$1"
}

# wait_icon WHAT : sets ICON once the icon is embedded in the tray; fatal when it never is.
wait_icon() {
    e2e_wait_until 10 icon_there || e2e_fatal "no icon in the tray within 10 s after $1"
    ICON=$(icon)
    pass "icon embedded in the tray after $1 ($ICON, $(client_geometry "$ICON" | cut -d' ' -f3,4 --output-delimiter=x))"
}

# menu_choose ITEM : opens the icon's popup menu and chooses ITEM with the keyboard. The menu
# opens with nothing selected and Up first selects the bottom item; separators are skipped.
# Keys are sent only once the menu holds the keyboard.
declare -A FROM_BOTTOM=([Exit]=1 [Info]=2 ["Uhr Anzeigen"]=3)
menu_choose() {
    local menu keys=() i
    menu=$(/usr/bin/python3 "$TRAY" menu "$ICON" 3 10) ||
        e2e_fatal "right click on the icon opened no menu (to choose '$1')"
    if [[ -n ${MENU_SHOT:-} ]]; then
        screenshot "$menu" "$MENU_SHOT" || fail "screenshot of the menu failed"
        MENU_SHOT=
    fi
    for ((i = 0; i < FROM_BOTTOM[$1]; i++)); do keys+=(Up); done
    xdotool key "${keys[@]}" Return
}

# check_info_box HOW : the info box opened by HOW: its title, its text over AT-SPI, and
# Return closes it.
check_info_box() {
    local box text
    box=$(wait_for_window "$INFO_TITLE" 10 "$PID") ||
        { fail "no info box titled '$INFO_TITLE' within 10 s after $1"; return; }
    pass "info box '$INFO_TITLE' opened by $1"
    text=$(/usr/bin/python3 "$A11Y" alert "$PID" "$INFO_TITLE" 10) || true
    printf '%s\n' "$text" >"$E2E_ARTIFACTS/info-text.txt"
    check_eq "first line of the info text ($1)" "$(head -n1 <<<"$text")" "$INFO_FIRST"
    check_eq "lines of the info text ($1)" "$(wc -l <<<"$text")" 12
    e2e_wait_until 10 focused "$box" && xdotool key Return
    if e2e_wait_until 10 not_viewable "$box"; then
        pass "Return closed the info box ($1)"
    else
        fail "info box ($1) still open 10 s after Return"
    fi
}

start_xvfb
start_wm
start_tray
start_sound
# Recording from before the start: any sound besides the left click's would show.
start_recording "$REC"

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
START_TIME=$EPOCHREALTIME
start_program "$BIN" "$(printf '@2026-12-07 %02d:%02d:%02d' $FAKE_H $FAKE_M $FAKE_S)"
PID=$E2E_PROGRAM_PID
WIN=$(wait_for_window "$TITLE" 20 "$PID") ||
    e2e_fatal "no window titled '$TITLE' within 20 s (program pid $PID)"
# The buttons answer over AT-SPI once the event loop runs: ready for clicks.
/usr/bin/python3 "$A11Y" button "$PID" Verbergen 20 || e2e_fatal "program not ready"

# --- 1. button "I" opens the info box ------------------------------------------------
click_client "$WIN" $INFO_X $INFO_Y
check_info_box 'button "I"'

# --- 2. "Verbergen" hides the window into the tray; a left click speaks the time -----
click_client "$WIN" $HIDE_X $HIDE_Y
if e2e_wait_until 10 not_viewable "$WIN"; then
    pass "window unmapped after 'Verbergen'"
else
    fail "window still mapped 10 s after 'Verbergen' (see not-hidden.png)"
    screenshot "$WIN" "$E2E_ARTIFACTS/not-hidden.png" || true
fi
wait_icon "'Verbergen'"

CLICK_TIME=$EPOCHREALTIME
click_icon 1
/usr/bin/python3 "$CLIPS" wait-end "$REC" 30 ||
    fail "no announcement ending with 'Sekunden' and silence within 30 s of the left click"
stop_recording
/usr/bin/python3 "$CLIPS" find "$REC" >"$ANALYSIS" || e2e_fatal "recording not readable"
stray=$(awk '$1 == "sound" { printf "%s-%s ", $2, $3 }' "$ANALYSIS")
check_eq "sound that is not a clip (sample ranges)" "$stray" ""
heard=$(awk '$1 == "clip" { printf "%s%s", sep, $2; sep = " " }' "$ANALYSIS")
# The faked clock's seconds at the click; speaking "Es ist 13 Uhr 21 und" takes a few more.
secs=$(awk -v c="$CLICK_TIME" -v s="$START_TIME" -v f=$FAKE_S 'BEGIN { printf "%d", f + c - s }')
expected=
for ((s = secs - 1; s <= secs + 10 && s < 60; s++)); do
    candidate=$(/usr/bin/python3 "$CLIPS" sequence $FAKE_H $FAKE_M "$s")
    [[ $heard == "$candidate" ]] && expected=$candidate
done
check_eq "clips heard after the left click (13:21:$secs..+10 s)" "$heard" \
    "${expected:-$(/usr/bin/python3 "$CLIPS" sequence $FAKE_H $FAKE_M "$secs")}"

# --- 3. the popup menu: "Uhr Anzeigen", "Info", "Exit" ---------------------------------
MENU_SHOT=$E2E_ARTIFACTS/menu.png
sleep 0.6 # or the right click counts as the second click of a double click
menu_choose "Uhr Anzeigen"
# The program shows the window as a new X window.
if WIN=$(wait_for_window "$TITLE" 10 "$PID"); then
    pass "window mapped again after 'Uhr Anzeigen'"
else
    fail "window not mapped within 10 s after 'Uhr Anzeigen'"
fi
if e2e_wait_until 10 icon_gone; then
    pass "icon removed after 'Uhr Anzeigen'"
else
    fail "icon still in the tray 10 s after 'Uhr Anzeigen'"
fi

click_client "$WIN" $HIDE_X $HIDE_Y
wait_icon "'Verbergen' again"
menu_choose Info
check_info_box "the menu's 'Info'"

sleep 0.6
menu_choose Exit
if e2e_wait_exit "$PID" 10; then
    check_eq "exit code after the menu's 'Exit'" "$E2E_EXIT_CODE" 0
else
    fail "program still runs 10 s after the menu's 'Exit'"
fi

check_quiet 1
check_no_sanitizer_reports
e2e_finish
