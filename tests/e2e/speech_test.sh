#!/bin/bash
# End-to-end test of "Sprich": the spoken time, recorded sample-exactly from a null sink.
# Usage: tests/e2e/speech_test.sh BINARY ARTIFACT_DIR
set -euo pipefail

# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"
e2e_begin "$@"

REC=$E2E_ARTIFACTS/speech.wav
ANALYSIS=$E2E_ARTIFACTS/analysis.txt
# 13:21 with room before the next minute: start-up and speech take seconds, not a minute.
FAKE_H=13 FAKE_M=21 FAKE_S=2
SPRICH_X=187 SPRICH_Y=165 # middle of the button (twips 2460+690/2, 2340+285/2; 15 per px)

start_xvfb
start_wm
start_sound
# Recording from before the start: any sound besides the announcement would show.
start_recording "$REC"

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
START_TIME=$EPOCHREALTIME
start_program "$BIN" "$(printf '@2026-12-07 %02d:%02d:%02d' $FAKE_H $FAKE_M $FAKE_S)"
WIN=$(wait_for_window "$TITLE" 20 "$E2E_PROGRAM_PID") || {
    program_snapshot "$E2E_PROGRAM_PID"
    e2e_fatal "no window titled '$TITLE' within 20 s (program pid $E2E_PROGRAM_PID)"
}
# The displays answer over AT-SPI once the event loop runs: ready for the click.
read_seconds "$E2E_PROGRAM_PID" >/dev/null ||
    e2e_fatal "seconds display not readable over AT-SPI (see a11y-tree.txt)"
click_client "$WIN" $SPRICH_X $SPRICH_Y
if ! /usr/bin/python3 "$CLIPS" wait-end "$REC" 30; then
    fail "announcement did not end with 'Sekunden' followed by silence within 30 s"
fi
stop_recording
/usr/bin/python3 "$CLIPS" find "$REC" >"$ANALYSIS" || e2e_fatal "recording not readable"
# Wall time of sample 0: the last sample was recorded when the recording was stopped.
REC_T0=$(awk -v t="$E2E_RECORD_STOP_TIME" '$1 == "length" { printf "%.3f", t - $2 / 11025 }' \
    "$ANALYSIS")

# --- what was heard ---------------------------------------------------------------------
stray=$(awk '$1 == "sound" { printf "%s-%s ", $2, $3 }' "$ANALYSIS")
check_eq "sound that is not a clip (sample ranges)" "$stray" ""
heard=$(awk '$1 == "clip" { printf "%s%s", sep, $2; sep = " " }' "$ANALYSIS")
# The seconds spoken are those shown when "und" (99) began: time that passed since the
# start, from the wall clock at that sample of the recording (±1 s for the ticks).
at99=$(awk '$1 == "clip" && $2 == 99 { print $3; exit }' "$ANALYSIS")
if [[ -n $at99 ]]; then
    secs=$(awk -v r="$REC_T0" -v s="$START_TIME" -v k="$at99" -v f=$FAKE_S \
        'BEGIN { printf "%d", f + r + k / 11025 - s }')
    expected=
    for s in $((secs - 1)) "$secs" $((secs + 1)); do
        candidate=$(/usr/bin/python3 "$CLIPS" sequence $FAKE_H $FAKE_M "$s")
        [[ $heard == "$candidate" ]] && expected=$candidate
    done
    check_eq "clips heard (seconds near $secs)" "$heard" \
        "${expected:-$(/usr/bin/python3 "$CLIPS" sequence $FAKE_H $FAKE_M "$secs")}"
else
    fail "no 'und' (99) heard: clips heard '$heard'"
fi

# Each clip is played whole, silent edges included, without a dropout, before the next
# begins; words of one announcement follow each other without a pause.
dropouts=$(awk '$1 == "dropout" { printf "%s at %s: %s ms; ", $2, $3, $4 }' "$ANALYSIS")
check_eq "dropouts inside clips (playback starved)" "$dropouts" ""
overlaps=$(awk '$1 == "gap" && $4 < 0 { printf "%s/%s ", $2, $3 }' "$ANALYSIS")
check_eq "clips that began before the one before had ended" "$overlaps" ""
max_gap=$(awk '$1 == "gap" && $4 > hi { hi = $4 } END { printf "%d", hi + 0.999 }' "$ANALYSIS")
check_range "longest gap between clips in ms" "$max_gap" 0 500

# The announcement answers the click at once (the recording's clock is good to some ms).
first=$(awk '$1 == "clip" { print $3; exit }' "$ANALYSIS")
if [[ -n $first ]]; then
    delay=$(awk -v r="$REC_T0" -v c="$E2E_CLICK_TIME" -v k="$first" \
        'BEGIN { printf "%d", (r + k / 11025 - c) * 1000 }')
    echo "click to the first clip: $delay ms" >"$E2E_ARTIFACTS/timing.txt"
    check_range "time from the click to the first clip in ms" "$delay" -100 1000
fi

# --- closing in the middle of "Sprich" ends at once ---------------------------------------
# Alt+F4 one second into the announcement: the clip that plays stops, no other starts, and the
# process is gone within half a second.
REC2=$E2E_ARTIFACTS/closed.wav
start_recording "$REC2"
click_client "$WIN" $SPRICH_X $SPRICH_Y
sleep "$(awk -v c="$E2E_CLICK_TIME" -v n="$EPOCHREALTIME" 'BEGIN { d = c + 1 - n; printf "%.3f", (d > 0 ? d : 0) }')"
CLOSE_TIME=$EPOCHREALTIME
xdotool key alt+F4
e2e_wait_until 2 e2e_gone "$E2E_PROGRAM_PID" || true
GONE_TIME=$EPOCHREALTIME
sleep 0.5
stop_recording
/usr/bin/python3 "$CLIPS" find "$REC2" >"$E2E_ARTIFACTS/closed.txt" || e2e_fatal "recording not readable"
gone_ms=$(awk -v c="$CLOSE_TIME" -v g="$GONE_TIME" 'BEGIN { printf "%d", (g - c) * 1000 }')
check_range "time from Alt+F4 to the process's end in ms" "$gone_ms" 0 500
# The last sample of sound, on the wall clock, against the moment of the close.
sound_after_ms=$(awk -v t="$E2E_RECORD_STOP_TIME" -v c="$CLOSE_TIME" '
    $1 == "clip" && $4 > last { last = $4 } $1 == "sound" && $3 > last { last = $3 }
    $1 == "length" { n = $2 }
    END { printf "%d", (t - (n - last) / 11025 - c) * 1000 }' "$E2E_ARTIFACTS/closed.txt")
check_range "sound after Alt+F4 in ms" "$sound_after_ms" -1000 150

check_quiet 1
check_no_sanitizer_reports
e2e_finish
