#!/bin/bash
# End-to-end test of the window as a screen reader sees it over AT-SPI: the names, roles and
# texts of its controls, "Sprich" pressed through its accessible action and heard on a
# recorded null sink, and Tab moving the focus through the push buttons.
# Usage: tests/e2e/accessibility_test.sh BINARY ARTIFACT_DIR
set -euo pipefail

# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"
e2e_begin "$@"

REC=$E2E_ARTIFACTS/speech.wav
WIDGETS=$E2E_ARTIFACTS/widgets.txt

start_xvfb
start_wm
start_sound
start_recording "$REC"

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# 13:21: no quarter-hour announcement comes near the run, and every word of the time is said.
FAKE='2026-12-07 13:21:02'
START=${EPOCHREALTIME%.*}
start_program "$BIN" "@$FAKE"
# The program's clock: the wall clock moved by this many seconds.
OFFSET=$(($(date -d "$FAKE" +%s) - START))
PID=$E2E_PROGRAM_PID
WIN=$(wait_for_window "$TITLE" 20 "$PID") || {
    program_snapshot "$PID"
    e2e_fatal "no window titled '$TITLE' within 20 s (program pid $PID)"
}
/usr/bin/python3 "$ATSPI" wait "$PID" 20 "push button" Sprich ||
    e2e_fatal "push button 'Sprich' not showing over AT-SPI within 20 s"

# widget ROLE NAME : the text and states of the widget of ROLE named NAME ("TEXT<TAB>STATES").
widget() { awk -F'\t' -v r="$1" -v n="$2" '$1 == r && $2 == n { print $3 "\t" $4; exit }' "$WIDGETS"; }

# --- names, roles, texts ----------------------------------------------------------------
BEFORE=$((${EPOCHREALTIME%.*} + OFFSET))
/usr/bin/python3 "$ATSPI" list "$PID" >"$WIDGETS" || e2e_fatal "widget tree not readable"
AFTER=$((${EPOCHREALTIME%.*} + OFFSET))
# The three displays were read one after another within BEFORE..AFTER; a tick may fall
# between them, so each is checked against any second of that span, ±1 s.
for unit in Stunden:%H Minuten:%M Sekunden:%S; do
    name=${unit%%:*} fmt=${unit#*:}
    text=$(widget label "$name" | cut -f1)
    ok=
    for ((t = BEFORE - 1; t <= AFTER + 1; t++)); do
        [[ $text == "$(date -d "@$t" "+$fmt")" ]] && ok=1
    done
    if [[ -n $ok ]]; then
        pass "label '$name' shows '$text', the time's $fmt"
    else
        fail "label '$name' shows '$text', expected $fmt of the time $(date -d "@$BEFORE" +%T)..$(date -d "@$AFTER" +%T)"
    fi
done
if [[ -n $(widget text Alarmzeit) ]]; then
    pass "entry box 'Alarmzeit' is there"
else
    fail "no entry box (role text) named 'Alarmzeit'"
fi
for option in "1 min" "5 min" "15 min" "30 min" Alarm; do
    states=$(widget "radio button" "$option" | cut -f2)
    [[ $option == "15 min" ]] && want=checked || want=unchecked
    [[ ,$states, == *,checked,* ]] && got=checked || got=unchecked
    if [[ -n $(widget "radio button" "$option") ]]; then
        check_eq "radio button '$option'" "$got" "$want"
    else
        fail "no radio button named '$option'"
    fi
done
for button in Sprich Verbergen Info; do
    if [[ -n $(widget "push button" "$button") ]]; then
        pass "push button '$button' is there"
    else
        fail "no push button named '$button'"
    fi
done

# --- "Sprich" pressed through AT-SPI -------------------------------------------------------
if /usr/bin/python3 "$ATSPI" press "$PID" "push button" Sprich; then
    if ! /usr/bin/python3 "$CLIPS" wait-end "$REC" 30; then
        fail "announcement did not end with 'Sekunden' followed by silence within 30 s"
    fi
else
    fail "action 'Press' of push button 'Sprich' did not run"
fi
stop_recording
/usr/bin/python3 "$CLIPS" find "$REC" >"$E2E_ARTIFACTS/analysis.txt" ||
    e2e_fatal "recording not readable"
first=$(awk '$1 == "clip" { print $2; exit }' "$E2E_ARTIFACTS/analysis.txt")
check_eq "first clip heard after pressing 'Sprich' over AT-SPI" "$first" 300

# --- keyboard: Tab reaches "Sprich" and "Verbergen" ----------------------------------------
# shellcheck disable=SC2317  # called through e2e_wait_until
window_focused() { (($(xdotool getwindowfocus) == WIN)); }
# focused_name : the name of the widget that has the focus over AT-SPI.
focused_name() {
    /usr/bin/python3 "$ATSPI" list "$PID" |
        awk -F'\t' '$4 ~ /(^|,)focused(,|$)/ { print $2; exit }'
}
xdotool windowactivate --sync "$WIN"
e2e_wait_until 10 window_focused || e2e_fatal "window did not get the keyboard focus within 10 s"
seen=() name=
for ((i = 0; i < 15; i++)); do
    xdotool key Tab
    # The focus moves once the program has handled the key: wait for a name to change.
    prev=$name name=
    for ((j = 0; j < 40; j++)); do
        name=$(focused_name)
        [[ -n $name && $name != "$prev" ]] && break
        sleep 0.05
    done
    seen+=("${name:-?}")
done
printf '%s\n' "${seen[@]}" >"$E2E_ARTIFACTS/tab-order.txt"
for button in Sprich Verbergen; do
    if printf '%s\n' "${seen[@]}" | grep -qx "$button"; then
        pass "Tab reaches push button '$button'"
    else
        fail "Tab never reached push button '$button' (focus went: ${seen[*]})"
    fi
done

close_window "$WIN"
e2e_wait_exit "$PID" 10 || e2e_fatal "program still running 10 s after its window was closed"
check_eq "exit code after closing the window" "$E2E_EXIT_CODE" 0
check_no_sanitizer_reports
e2e_finish
