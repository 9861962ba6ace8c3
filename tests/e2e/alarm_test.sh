#!/bin/bash
# End-to-end test of the alarm: armed through the window with the mouse and keyboard under a
# faked clock, heard on a null sink recorded sample-exactly, fired once, then back to
# announcements every 15 minutes.
# Usage: tests/e2e/alarm_test.sh BINARY ARTIFACT_DIR
set -euo pipefail

# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"
e2e_begin "$@"
# shellcheck source=lib/timing.sh
source "$E2E_LIB_DIR/timing.sh"

REC=$E2E_ARTIFACTS/alarm.wav
ANALYSIS=$E2E_ARTIFACTS/analysis.txt
# Client pixels (15 twips each) of the controls, inside their text or box.
ALARM_X=240 ALARM_Y=132     # radio button "Alarm"
ENTRY_X=357 ENTRY_Y=46      # the alarm time's entry box
ARM_X=361 ARM_Y=105         # push button "Alarm übernehmen"

# widgets FILE : the program's widgets (atspi.py list) into FILE in the artifacts.
widgets() { /usr/bin/python3 "$ATSPI" list "$E2E_PROGRAM_PID" >"$E2E_ARTIFACTS/$1"; }
# has_widget FILE ROLE NAME STATE : the widget is listed in FILE with STATE (or without it,
# when STATE starts with "!").
has_widget() {
    awk -F'\t' -v r="$2" -v n="$3" -v s="${4#!}" -v neg="${4%%[!!]*}" '
        $1 == r && $2 == n { f = 1; if ((("," $4 ",") ~ ("," s ",")) != (neg == "!")) ok = 1 }
        END { exit !(f && ok) }' "$E2E_ARTIFACTS/$1"
}
# alarm_clips EPOCH : the clips of an alarm that speaks the faked time EPOCH.
alarm_clips() {
    local h m s
    read -r h m s < <(date -d "@$1" '+%-H %-M %-S')
    echo "400 $(/usr/bin/python3 "$CLIPS" sequence "$h" "$m" "$s")"
}
# shellcheck disable=SC2317  # called through e2e_wait_until
width_changed() { (($(outer_width "$WIN") != $1)); }

start_xvfb
start_wm
start_sound
# Recording from before the start: any sound besides the alarm would show.
start_recording "$REC"

# Well away from a quarter hour, so that only the alarm speaks.
fake_offset_to '2026-12-07 07:40:10' 0
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_program "$BIN" "$FAKE_CLOCK"
WIN=$(wait_for_window "$TITLE" 20 "$E2E_PROGRAM_PID") ||
    e2e_fatal "no window titled '$TITLE' within 20 s (program pid $E2E_PROGRAM_PID)"
/usr/bin/python3 "$ATSPI" wait "$E2E_PROGRAM_PID" 20 "radio button" "15 min" ||
    e2e_fatal "widgets not readable over AT-SPI"
setxkbmap de

# --- arming: the window widens for the entry and narrows again -----------------------
narrow=$(outer_width "$WIN")
check_range "outer width in px at the start (4480 twips)" "$narrow" 298 300
click_client "$WIN" $ALARM_X $ALARM_Y
e2e_wait_until 5 width_changed "$narrow" || true
check_range "outer width in px with the alarm entry (6615 twips)" "$(outer_width "$WIN")" 440 442

click_client "$WIN" $ENTRY_X $ENTRY_Y
xdotool key Home shift+End
fake=$(fake_now)
ALARM_EPOCH=$((${fake%.*} + 8))
ALARM=$(date -d "@$ALARM_EPOCH" +%H:%M:%S)
xdotool type --delay 50 "$ALARM"
wide=$(outer_width "$WIN")
click_client "$WIN" $ARM_X $ARM_Y
e2e_wait_until 5 width_changed "$wide" || true
check_range "outer width in px once armed" "$(outer_width "$WIN")" 298 300
widgets armed.txt
if has_widget armed.txt label "Alarmausgabe um: $ALARM" showing; then
    pass "label 'Alarmausgabe um: $ALARM' shown"
else
    fail "no label 'Alarmausgabe um: $ALARM' shown (see armed.txt)"
fi
countdown=$(awk -F'\t' '$1 == "label" && $2 ~ /^Countdown: / && $4 ~ /showing/ { print $2 }' \
    "$E2E_ARTIFACTS/armed.txt")
if [[ $countdown =~ ^Countdown:\ 00:00:(0[1-9]|10)$ ]]; then
    pass "countdown shown: '$countdown'"
else
    fail "countdown is '$countdown', expected 'Countdown: 00:00:01' to '00:00:10'"
fi

# --- the alarm: heard once, then back to every 15 minutes ----------------------------
/usr/bin/python3 "$CLIPS" wait-end "$REC" 30 ||
    fail "no announcement ending in 'Sekunden' and silence within 30 s"
# Long enough for an alarm that fires again to be heard a second time.
sleep 8
stop_recording
/usr/bin/python3 "$CLIPS" find "$REC" >"$ANALYSIS" || e2e_fatal "recording not readable"
widgets after.txt
if has_widget after.txt "radio button" "15 min" checked &&
    has_widget after.txt "radio button" Alarm '!checked'; then
    pass "'15 min' selected again after the alarm"
else
    fail "'15 min' not selected after the alarm (see after.txt)"
fi
check_range "outer width in px after the alarm" "$(outer_width "$WIN")" 298 300

stray=$(awk '$1 == "sound" { printf "%s-%s ", $2, $3 }' "$ANALYSIS")
check_eq "sound that is not a clip (sample ranges)" "$stray" ""
heard=$(awk '$1 == "clip" { printf "%s%s", sep, $2; sep = " " }' "$ANALYSIS")
check_eq "alarm chimes (400) heard" "$(grep -c '^clip 400 ' "$ANALYSIS" || true)" 1
# The time spoken is that shown when "und" (99) began, ±1 s for the ticks.
if k=$(clip_start "$ANALYSIS" 99); then
    at99=$(awk -v t="$(sample_time "$ANALYSIS" "$k")" -v o="$FAKE_OFFSET" \
        'BEGIN { printf "%d", t + o }')
    expected=
    for t in $((at99 - 1)) "$at99" $((at99 + 1)); do
        [[ $heard == "$(alarm_clips "$t")" ]] && expected=$heard
    done
    check_eq "clips heard (time near $(date -d "@$at99" +%T))" "$heard" \
        "${expected:-$(alarm_clips "$at99")}"
else
    fail "no 'und' (99) heard: clips heard '$heard'"
fi

# It rings in the first tick after its second, 1 s after the time entered, and the ticks are
# laid on the clock's tenths of a second: the chime may be some ms late, not 100.
if onset=$(onset_after_boundary "$ANALYSIS" 400 $((ALARM_EPOCH - FAKE_OFFSET))); then
    echo "onset of clip 400 after $ALARM: $onset ms" | tee "$E2E_ARTIFACTS/timing.txt" >&2
    check_range "onset of the alarm after its time in ms" "$(printf '%.0f' "$onset")" 950 1100
else
    fail "no alarm chime (400) heard"
fi

check_quiet 1
check_no_sanitizer_reports
e2e_finish
