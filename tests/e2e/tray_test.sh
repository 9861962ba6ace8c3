#!/bin/bash
# End-to-end test of the notification-area icon: hiding the window, the spoken time on a
# left click, and the popup menu's "Info", "Uhr Anzeigen" and "Exit".
# Usage: tests/e2e/tray_test.sh BINARY ARTIFACT_DIR
set -euo pipefail

# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"
e2e_begin "$@"
# shellcheck source=lib/tray.sh
source "$E2E_LIB_DIR/tray.sh"

REC=$E2E_ARTIFACTS/speech.wav
ANALYSIS=$E2E_ARTIFACTS/analysis.txt
# 13:21: no quarter-hour announcement comes near the run.
FAKE_H=13 FAKE_M=21 FAKE_S=2

# click_icon BUTTON : clicks the middle of the tray icon; CLICK_TIME is the wall time just
# before. Two clicks less than 0.6 s apart would count as a double click.
click_icon() {
    local w h
    sleep 0.6
    read -r _ _ w h < <(client_geometry "$ICON")
    CLICK_TIME=$EPOCHREALTIME
    xdotool mousemove --window "$ICON" $((w / 2)) $((h / 2)) click "$1"
}

# hide_window WHAT : clicks "Verbergen"; sets ICON once the icon is in the tray.
hide_window() {
    click_client "$WIN" "$HIDE_X" "$HIDE_Y"
    if while_running 10 not_viewable "$WIN"; then
        pass "window unmapped after $1"
    else
        fail "window not unmapped within 10 s after $1$(ended)"
        if ! e2e_gone "$PID"; then screenshot "$WIN" "$E2E_ARTIFACTS/not-hidden.png" || true; fi
    fi
    while_running 10 icon_there || e2e_fatal "no icon in the tray within 10 s after $1$(ended)"
    ICON=$(icon)
    pass "icon embedded in the tray after $1 ($ICON," \
        "$(client_geometry "$ICON" | awk '{ print $3 "x" $4 }'))"
}

# menu_choose ITEM : opens the icon's popup menu and chooses ITEM with the keyboard. The menu
# opens with nothing selected and Up first selects the bottom item; separators and hidden
# items are skipped. Keys are sent only once the menu holds the keyboard.
declare -A FROM_BOTTOM=([Exit]=1 [Info]=2 ["Uhr Anzeigen"]=3)
menu_choose() {
    local menu keys=() i
    sleep 0.6 # see click_icon
    menu=$(/usr/bin/python3 "$E2E_LIB_DIR/x11.py" menu "$ICON" 3 10) ||
        e2e_fatal "right click on the icon: no menu holding the keyboard (to choose '$1')$(ended)"
    if [[ -n ${MENU_SHOT:-} ]]; then
        check_eq "WM_CLASS of the popup menu on a right click" \
            "$(xprop -id "$menu" WM_CLASS)" 'WM_CLASS(STRING) = "lurvendel", "lurvendel"'
        screenshot "$menu" "$MENU_SHOT" || fail "screenshot of the menu failed"
        MENU_SHOT=
    fi
    for ((i = 0; i < FROM_BOTTOM[$1]; i++)); do keys+=(Up); done
    xdotool key "${keys[@]}" Return
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
/usr/bin/python3 "$E2E_LIB_DIR/atspi.py" button "$PID" Verbergen 20 ||
    e2e_fatal "program not ready"

# --- 1. "Verbergen" hides the window into the tray; a left click speaks the time -----
hide_window "'Verbergen'"
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

# --- 2. the popup menu: "Info", "Uhr Anzeigen", then "Exit" -----------------------------
MENU_SHOT=$E2E_ARTIFACTS/menu.png
menu_choose Info
check_info_box "the menu's 'Info'"

menu_choose "Uhr Anzeigen"
if wait_for_window "$TITLE" 10 "$PID" >/dev/null; then
    pass "window mapped again after 'Uhr Anzeigen'"
else
    fail "window not mapped within 10 s after 'Uhr Anzeigen'$(ended)"
fi
if while_running 10 icon_gone; then
    pass "icon removed after 'Uhr Anzeigen'"
else
    fail "icon still in the tray 10 s after 'Uhr Anzeigen'$(ended)"
fi

hide_window "'Verbergen' again"
menu_choose Exit
if e2e_wait_exit "$PID" 10; then
    check_eq "exit code after the menu's 'Exit'" "$E2E_EXIT_CODE" 0
else
    fail "program still runs 10 s after the menu's 'Exit'"
fi

check_quiet 1
check_no_sanitizer_reports
e2e_finish
