#!/bin/bash
# End-to-end test of "Sprich" while the sound server fails: not yet started when the clock
# starts, stopped in the middle of an announcement, restarted between two announcements, frozen
# in the middle of a word. The clock runs on and stays quiet, its window closes the program even
# while the server is frozen, and "Sprich" is heard in full once the server is back.
# Usage: tests/e2e/sound_fault_test.sh BINARY ARTIFACT_DIR
set -euo pipefail

# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"
e2e_begin "$@"

SPRICH=(187 165) # middle of the button, 15 twips a pixel
# A stopped server must stay stopped: no client may spawn a new one.
export PULSE_CLIENTCONFIG=$E2E_TMP/client.conf
echo "autospawn = no" >"$PULSE_CLIENTCONFIG"
# The clock's sound library cannot load its cookie (a file where its folder belongs) and complains
# on stderr at each connection, unless kept from it.
printf 'kein Ordner' >"$E2E_TMP/pulse"

sprich() { click_client "$WIN" "${SPRICH[@]}"; }

stop_sound() {
    kill -TERM "$E2E_PULSE_PID"
    e2e_wait_until 5 e2e_gone "$E2E_PULSE_PID" || e2e_fatal "pulseaudio did not stop"
}

start_xvfb
start_wm

# --- 1. the clock starts before the server ------------------------------------------------
XDG_CONFIG_HOME=$E2E_TMP start_program "$BIN" '@2026-12-07 13:21:02'
PID=$E2E_PROGRAM_PID
WIN=$(wait_for_window "$TITLE" 20 "$PID") || e2e_fatal "no window titled '$TITLE'"
sprich
check_runs_on "no server, 'Sprich'" "$PID" "$WIN"
start_sound
speaks "server started after the clock" sprich

# --- 2. the server stops in the middle of an announcement, and comes back ----------------
sprich
sleep 1.3
stop_sound
check_runs_on "server stopped" "$PID" "$WIN"
start_sound
speaks "server back" sprich

# --- 3. the server restarts while the device stays open, within a second of a clip -------
stop_sound
start_sound
speaks "server restarted within a second of a clip" sprich

# --- 4. the server freezes in the middle of a word, and goes on later --------------------
sprich
sleep 0.25
kill -STOP "$E2E_PULSE_PID"
sleep 4
check_runs_on "server frozen" "$PID" "$WIN"
kill -CONT "$E2E_PULSE_PID"
sleep 2 # the word given up on goes on playing now, from a worker of its own; let it end
speaks "server resumed" sprich

# --- 5. the window is closed while the server is frozen ----------------------------------
sprich
sleep 0.25
kill -STOP "$E2E_PULSE_PID"
xdotool windowactivate "$WIN" key alt+F4
e2e_wait_exit "$PID" 5 || fail "the program still runs 5 s after its window was closed"
check_eq "exit status" "${E2E_EXIT_CODE:-}" 0
kill -CONT "$E2E_PULSE_PID"

check_quiet 1
check_no_sanitizer_reports
e2e_finish
