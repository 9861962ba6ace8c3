#!/bin/bash
# End-to-end test of "Sprich" while the sound server fails: not yet started when the clock
# starts, stopped in the middle of an announcement, restarted between two announcements, frozen
# in the middle of a word and resumed. The clock runs on and stays quiet, its window closes the
# program even while the server is frozen, and the next "Sprich" after the server is back is
# heard in full.
# Usage: tests/e2e/sound_fault_test.sh BINARY ARTIFACT_DIR
set -euo pipefail

# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"
e2e_begin "$@"
# shellcheck source=lib/timing.sh
source "$E2E_LIB_DIR/timing.sh"
# shellcheck source=lib/sound_timing.sh
source "$E2E_LIB_DIR/sound_timing.sh"

SPRICH_X=187 SPRICH_Y=165 # middle of the button (twips 2460+690/2, 2340+285/2; 15 per px)
# A word waits at most its length + 1.5 s for a frozen server; the display may also have
# shown its digits for up to a second before, and is read every 0.1 s: 1.5 s of margin.
STANDSTILL_MARGIN_MS=3500
FREEZE_S=6 # longer than any standstill allowed: a program without a deadline would show it
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# A stopped server must stay stopped: no client may spawn a new one.
export PULSE_CLIENTCONFIG=$E2E_TMP/client.conf
echo "autospawn = no" >"$PULSE_CLIENTCONFIG"

# start_clock : starts the program at 13:21:05 (faked, a fixed offset from the wall clock)
# and reads its seconds display every 0.1 s over AT-SPI into seconds-N.log.
start_clock() {
    fake_offset_to '2026-12-07 13:21:05' 1
    start_program "$BIN" "$FAKE_CLOCK"
    RUN=$E2E_PROGRAM_COUNT
    WIN=$(wait_for_window "$TITLE" 20 "$E2E_PROGRAM_PID") || {
        program_snapshot "$E2E_PROGRAM_PID"
        e2e_fatal "no window titled '$TITLE' within 20 s (program pid $E2E_PROGRAM_PID)"
    }
    SECONDS_LOG=$E2E_ARTIFACTS/seconds-$RUN.log
    start_seconds_watch "$E2E_PROGRAM_PID" "$SECONDS_LOG" 0.1
    e2e_wait_until 3 display_changed "$SECONDS_LOG" || fail "the seconds display does not run"
}

sprich() { timed_click "$WIN" $SPRICH_X $SPRICH_Y; }

# check_clock_ran WHAT FROM CLIP : the program lives, and its seconds display never stood
# still for longer than CLIP's length + the margin, among the stretches that ended between
# wall time FROM and now (one more read is awaited, so a stretch still going on ends).
check_clock_ran() {
    local what=$1 from=$2 bound still since until before after n first
    bound=$(($(clip_length_ms "$3") + STANDSTILL_MARGIN_MS))
    sleep 0.3
    if e2e_gone "$E2E_PROGRAM_PID"; then
        fail "$what: the program ended (exit status unknown until reaped)"
        return
    fi
    read -r still since until before after n first \
        < <(display_standstill "$SECONDS_LOG" "$from" "$EPOCHREALTIME")
    echo "$what: longest standstill $still s ($before -> $after, $since .. $until) of $n" \
        >>"$E2E_ARTIFACTS/standstills.txt"
    if awk -v f="$first" -v c="$from" 'BEGIN { exit !(f == 0 || f > c) }'; then
        fail "$what: no change of the seconds display seen before the click (first at $first)"
    else
        check_range "$what: longest standstill of the seconds display in ms" \
            "$(awk -v s="$still" 'BEGIN { printf "%d", s * 1000 }')" 0 "$bound"
    fi
}

# close_and_check_exit WHAT : closes the window as its title bar would; the program must end
# within 5 s with status 0.
close_and_check_exit() {
    local what=$1 before=$EPOCHREALTIME
    close_window "$WIN"
    if e2e_wait_exit "$E2E_PROGRAM_PID" 5; then
        pass "$what: program ended $(ms_between "$before" "$EPOCHREALTIME") ms after its window" \
            "was closed"
        check_eq "$what: exit status" "$E2E_EXIT_CODE" 0
    else
        program_snapshot "$E2E_PROGRAM_PID"
        fail "$what: program still runs 5 s after its window was closed (stacks in the artifacts)"
        kill -KILL "$E2E_PROGRAM_PID"
        e2e_wait_exit "$E2E_PROGRAM_PID" 5 || true
    fi
    stop_seconds_watch
}

start_xvfb
start_wm

# --- 1. the clock starts before the server ------------------------------------------------
start_clock
sprich
sleep 2
start_sound
check_heard_in_full sprich "server started after the clock"

# --- 2. the server is stopped in the middle of an announcement --------------------------
sprich
click=$CLICK_TIME
# 13:21:0x: "Es ist" (300), "dreizehn" (13), "Uhr" (200), ...; 1.3 s in is "Uhr".
sleep_until "$(wall_plus "$click" 1.3)"
kill -TERM "$E2E_PULSE_PID"
e2e_wait_until 5 e2e_gone "$E2E_PULSE_PID" || e2e_fatal "pulseaudio did not stop"
sleep 3
check_clock_ran "server stopped" "$click" 200
# With no server, words fail at once and ALSA's complaints must not reach the terminal.
sprich
click=$CLICK_TIME
sleep 2.5
check_clock_ran "no server, 'Sprich'" "$click" 300
start_sound
check_heard_in_full sprich "server restarted"

# --- 3. the server restarts while the device stays open between two announcements --------
# The device is kept open for 3 s after a clip; the restart takes under a second.
kill -TERM "$E2E_PULSE_PID"
e2e_wait_until 5 e2e_gone "$E2E_PULSE_PID" || e2e_fatal "pulseaudio did not stop"
start_sound
check_heard_in_full sprich "server restarted within a second of a clip"
close_and_check_exit "server running"
check_quiet "$RUN"

# --- 4. the server freezes in the middle of a word, and goes on later -------------------
start_clock
sprich
click=$CLICK_TIME
# "Es ist" (300) plays from about 0.02 s to 0.47 s after the click.
sleep_until "$(wall_plus "$click" 0.25)"
kill -STOP "$E2E_PULSE_PID"
sleep "$FREEZE_S"
check_clock_ran "server frozen" "$click" 300
kill -CONT "$E2E_PULSE_PID"
# The word given up on goes on playing now, from a worker of its own; let it end.
sleep 2
check_heard_in_full sprich "server resumed"

# --- 5. the window is closed while the server is frozen ----------------------------------
sprich
sleep_until "$(wall_plus "$CLICK_TIME" 0.25)"
kill -STOP "$E2E_PULSE_PID"
close_and_check_exit "server frozen"
kill -CONT "$E2E_PULSE_PID"
check_quiet "$RUN"

check_no_sanitizer_reports
e2e_finish
