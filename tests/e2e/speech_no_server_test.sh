#!/bin/bash
# End-to-end test of "Sprich" without a sound server: never started, and stopped while the
# program had it open. The click completes silently and the clock goes on.
# Usage: tests/e2e/speech_no_server_test.sh BINARY ARTIFACT_DIR
set -euo pipefail

# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"
e2e_begin "$@"

SPRICH_X=187 SPRICH_Y=165 # middle of the button (twips 2460+690/2, 2340+285/2; 15 per px)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# A stopped server must stay stopped: no client may spawn a new one.
export PULSE_CLIENTCONFIG=$E2E_TMP/client.conf
echo "autospawn = no" >"$PULSE_CLIENTCONFIG"

# start_clock : starts the program; WIN is its window, once its displays answer.
start_clock() {
    start_program "$BIN"
    WIN=$(wait_for_window "$TITLE" 20 "$E2E_PROGRAM_PID") || {
        program_snapshot "$E2E_PROGRAM_PID"
        e2e_fatal "no window titled '$TITLE' within 20 s (program pid $E2E_PROGRAM_PID)"
    }
    read_seconds "$E2E_PROGRAM_PID" >/dev/null ||
        e2e_fatal "seconds display not readable over AT-SPI (see a11y-tree.txt)"
}

# check_clock_runs WHAT CMD... : reads the seconds display, runs CMD 1.1 s later and reads
# it again 1.1 s after that; the program must live and the display must have moved.
check_clock_runs() {
    local what=$1 s1 s2 _
    shift
    read -r s1 _ < <(read_seconds "$E2E_PROGRAM_PID") || true
    sleep 1.1
    "$@"
    sleep 1.1
    read -r s2 _ < <(read_seconds "$E2E_PROGRAM_PID") || true
    if ! e2e_gone "$E2E_PROGRAM_PID" && [[ -n ${s1:-} && -n ${s2:-} && $s1 != "$s2" ]]; then
        pass "$what: the clock runs on (seconds $s1 -> $s2)"
    else
        fail "$what: the clock stopped (seconds ${s1:-unread} -> ${s2:-unread}," \
            "program $(e2e_gone "$E2E_PROGRAM_PID" && echo ended || echo runs))"
    fi
}

sprich() { click_client "$WIN" $SPRICH_X $SPRICH_Y; }

stop_clock() {
    close_window "$WIN"
    e2e_wait_exit "$E2E_PROGRAM_PID" 5 || e2e_fatal "program did not end when its window closed"
    check_eq "exit code after closing the window" "$E2E_EXIT_CODE" 0
}

start_xvfb
start_wm

# --- 1. no sound server at all ------------------------------------------------------------
start_clock
sprich
check_clock_runs "no server, after 'Sprich'" sprich
stop_clock
check_quiet 1

# --- 2. the server stops after an announcement, while the device is still open ------------
start_sound
start_recording "$E2E_ARTIFACTS/before-stop.wav"
start_clock
sprich
/usr/bin/python3 "$CLIPS" wait-end "$E2E_ARTIFACTS/before-stop.wav" 30 ||
    e2e_fatal "no announcement heard while the server ran"
pass "announcement heard while the server ran"
# The program keeps its stream for a few idle seconds; it should be listed here.
pactl list short sink-inputs >"$E2E_ARTIFACTS/streams-at-stop.txt" 2>&1 || true
kill -TERM "$E2E_PULSE_PID"
e2e_wait_until 5 e2e_gone "$E2E_PULSE_PID" || e2e_fatal "pulseaudio did not stop"
# The first click meets the stream opened before; the one after opens the device anew.
sprich
check_clock_runs "server stopped, after 'Sprich'" sprich
stop_clock
check_quiet 2

check_no_sanitizer_reports
e2e_finish
