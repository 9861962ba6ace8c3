# shellcheck shell=bash
# When did the program do it? Ties together the wall clock, the program's faked clock and
# the sample positions of a recording made with start_recording/stop_recording.
#
# - Faked clock: a fixed offset ("+N" seconds), not a start moment ("@DATE"). libfaketime
#   counts "@DATE" from the moment it is loaded into the process, which the test knows only
#   to within the program's start-up (tens of ms or more); an offset holds from the first
#   instruction on, to the microsecond. So faked time = wall time + FAKE_OFFSET, exactly.
# - Recording: its last sample is from E2E_RECORD_STOP_TIME, and the null sink plays exactly
#   11025 samples a second of the system's clock without rewinding, so sample k is from
#   STOP - (LENGTH - k) / 11025. The recorder's lag when it is stopped and the sink's
#   rendering one block (5 ms) ahead leave an error of a few ms: a sound written to the
#   server at a known moment showed up 3 ms early.
#
# Usage, after sourcing desktop.sh:
#   fake_offset_to '2026-12-07 10:15:00' 6   # FAKE_CLOCK, FAKE_OFFSET, FAKE_AT
#   start_program "$BIN" "$FAKE_CLOCK"
#   ... stop_recording; clips.py find REC >ANALYSIS
#   onset_after_boundary ANALYSIS 500 "$FAKE_AT"   # e.g. "12.3" (ms)

# fake_offset_to DATE LEAD_S : sets FAKE_CLOCK (for start_program) and FAKE_OFFSET (seconds)
# so that the faked clock shows DATE at the wall time FAKE_AT, a whole second LEAD_S to
# LEAD_S + 1 seconds from now.
# shellcheck disable=SC2034  # FAKE_CLOCK and FAKE_AT are read by the test scripts
fake_offset_to() {
    local target
    target=$(date -d "$1" +%s) || return 1
    FAKE_AT=$((${EPOCHREALTIME%.*} + 1 + $2))
    FAKE_OFFSET=$((target - FAKE_AT))
    FAKE_CLOCK=$(printf '%+d' "$FAKE_OFFSET")
}

# fake_now : the program's faked clock now, in seconds since the epoch.
fake_now() { awk -v t="$EPOCHREALTIME" -v o="$FAKE_OFFSET" 'BEGIN { printf "%.3f\n", t + o }'; }

# sample_time ANALYSIS K : wall time of sample K of the recording that ANALYSIS (the output
# of clips.py find) describes.
sample_time() {
    awk -v stop="$E2E_RECORD_STOP_TIME" -v k="$2" '$1 == "length" { n = $2 }
        END { if (n == "") exit 1; printf "%.6f\n", stop - (n - k) / 11025 }' "$1"
}

# clip_start ANALYSIS CLIP : sample position of the first sample of the first CLIP heard.
clip_start() { awk -v id="$2" '$1 == "clip" && $2 == id { print $3; f = 1; exit } END { exit !f }' "$1"; }

# onset_after_boundary ANALYSIS CLIP WALL_TIME : milliseconds from WALL_TIME (seconds since
# the epoch) to the first sample of the first CLIP in the recording; negative when before.
onset_after_boundary() {
    local k t
    k=$(clip_start "$1" "$2") || return 1
    t=$(sample_time "$1" "$k") || return 1
    awk -v t="$t" -v b="$3" 'BEGIN { printf "%.1f\n", (t - b) * 1000 }'
}
