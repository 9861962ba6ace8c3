#!/bin/bash
# End-to-end test of the quarter-hour announcement: the real timer and sound path under a
# faked clock, recorded sample-exactly from a null sink, and when its chime begins.
# Usage: tests/e2e/announcement_test.sh BINARY ARTIFACT_DIR
set -euo pipefail

# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"
e2e_begin "$@"
# shellcheck source=lib/timing.sh
source "$E2E_LIB_DIR/timing.sh"

REC=$E2E_ARTIFACTS/announcement.wav
ANALYSIS=$E2E_ARTIFACTS/analysis.txt
QUARTER='2026-12-07 10:15:00'

start_xvfb
start_wm
start_sound
# Recording from before the start: any sound besides the announcement would show.
start_recording "$REC"

# The faked clock reaches the quarter hour 6-7 s from now: time enough to start.
fake_offset_to "$QUARTER" 6
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_program "$BIN" "$FAKE_CLOCK"
wait_for_window "$TITLE" 20 "$E2E_PROGRAM_PID" >/dev/null ||
    e2e_fatal "no window titled '$TITLE' within 20 s (program pid $E2E_PROGRAM_PID)"
# The widgets answer over AT-SPI once the event loop runs.
/usr/bin/python3 "$ATSPI" wait "$E2E_PROGRAM_PID" 20 "radio button" "15 min" ||
    e2e_fatal "widgets not readable over AT-SPI"
((${EPOCHREALTIME/./} < FAKE_AT * 1000000)) ||
    e2e_fatal "program was not running before $QUARTER (faked); the case tells nothing"

/usr/bin/python3 "$CLIPS" wait-end "$REC" 30 ||
    fail "no announcement ending in 'Sekunden' and silence within 30 s"
stop_recording
/usr/bin/python3 "$CLIPS" find "$REC" >"$ANALYSIS" || e2e_fatal "recording not readable"

# --- what was heard ---------------------------------------------------------------------
stray=$(awk '$1 == "sound" { printf "%s-%s ", $2, $3 }' "$ANALYSIS")
check_eq "sound that is not a clip (sample ranges)" "$stray" ""
heard=$(awk '$1 == "clip" { printf "%s%s", sep, $2; sep = " " }' "$ANALYSIS")
# The seconds spoken are those that passed until about when "und" (99) began (±1 s for
# the ticks); a few, as the words before take about 5 s.
if ms99=$(onset_after_boundary "$ANALYSIS" 99 "$FAKE_AT"); then
    secs=$(awk -v ms="$ms99" 'BEGIN { printf "%d", ms / 1000 }')
    expected=
    for s in $((secs - 1)) "$secs" $((secs + 1)); do
        ((s >= 4 && s <= 7)) || continue
        candidate=$(/usr/bin/python3 "$CLIPS" sequence 10 15 "$s")
        [[ $heard == "500 ${candidate#300 }" ]] && expected=$heard
    done
    check_eq "clips heard" "$heard" "${expected:-500 10 200 15 99 <seconds 4..7, near $secs> 600}"
else
    fail "no 'und' (99) heard: clips heard '$heard'"
fi

# --- when: the chime starts on the minute ---------------------------------------------
if onset=$(onset_after_boundary "$ANALYSIS" 500 "$FAKE_AT"); then
    echo "onset of clip 500 after $QUARTER: $onset ms" | tee "$E2E_ARTIFACTS/timing.txt" >&2
    check_range "onset of the chime after the quarter hour in ms" "$(printf '%.0f' "$onset")" -50 50
else
    fail "no chime (500) heard"
fi

check_quiet 1
check_no_sanitizer_reports
e2e_finish
