#!/bin/bash
# End-to-end test of the command interface: "lurvendel --sprich" and "--anzeigen" ask the clock
# that runs in the session; with none running, --sprich starts one that speaks; another user's
# request is refused; a burst of requests leaves the clock ticking.
# Usage: tests/e2e/command_test.sh BINARY ARTIFACT_DIR
set -euo pipefail

# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"
e2e_begin "$@"
# shellcheck source=lib/tray.sh
source "$E2E_LIB_DIR/tray.sh"
# shellcheck source=lib/timing.sh
source "$E2E_LIB_DIR/timing.sh"
# shellcheck source=lib/sound_timing.sh
source "$E2E_LIB_DIR/sound_timing.sh"

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
OTHER_UID=65534

# ask OPTION : runs "lurvendel OPTION" as a desktop shortcut would; it must return at once with
# status 0.
ask() {
    local before=$EPOCHREALTIME status=0
    ASAN_OPTIONS=detect_leaks=0 "$BIN" "$1" >>"$E2E_ARTIFACTS/client.out" 2>&1 || status=$?
    ASKED_MS=$(ms_between "$before" "$EPOCHREALTIME")
    ((status == 0)) || fail "lurvendel $1 ended with status $status"
}
# shellcheck disable=SC2317  # called through check_heard_in_full
ask_sprich() { ask --sprich; }

# heard_openings REC : how many announcements ("Es ist") a recording holds.
heard_openings() {
    /usr/bin/python3 "$CLIPS" find "$1" | awk '$1 == "clip" && $2 == 300 { n++ } END { print n + 0 }'
}

start_xvfb
start_wm
start_tray
start_sound

# --- 1. no clock runs: --sprich starts one, which speaks once its window is up ------------
fake_offset_to '2026-12-07 13:21:05' 1
start_timed_recording "$E2E_ARTIFACTS/started.wav"
start_program "$BIN" "$FAKE_CLOCK" --sprich
PID=$E2E_PROGRAM_PID
WIN=$(wait_for_window "$TITLE" 20 "$PID") || e2e_fatal "no window after 'lurvendel --sprich'"
/usr/bin/python3 "$CLIPS" wait-end "$E2E_ARTIFACTS/started.wav" 30 ||
    fail "the clock started by --sprich did not speak within 30 s"
stop_timed_recording
check_eq "announcements by the clock that --sprich started" \
    "$(heard_openings "$E2E_ARTIFACTS/started.wav")" 1
/usr/bin/python3 "$E2E_LIB_DIR/atspi.py" button "$PID" Verbergen 20 || e2e_fatal "program not ready"

# --- 2. hidden in the tray: --sprich from outside speaks, --anzeigen brings the window ------
hide_window() {
    click_client "$WIN" "$HIDE_X" "$HIDE_Y"
    while_running 10 not_viewable "$WIN" || e2e_fatal "'Verbergen' did not hide the window$(ended)"
    while_running 10 icon_there || e2e_fatal "no icon in the tray after 'Verbergen'$(ended)"
}
hide_window
check_heard_in_full ask_sprich "--sprich while hidden in the tray"
check_range "time for 'lurvendel --sprich' to return in ms" "${ASKED_MS%.*}" 0 1000
ask --anzeigen
if while_running 10 viewable "$WIN"; then pass "--anzeigen showed the window"; else
    fail "--anzeigen did not show the window within 10 s$(ended)"
fi
if while_running 10 icon_gone; then pass "--anzeigen removed the icon"; else
    fail "the icon stayed in the tray after --anzeigen$(ended)"
fi

# --- 3. another user is refused, even when the socket is within its reach -----------------
socket=$XDG_RUNTIME_DIR/lurvendel.socket
[[ -S $socket ]] || e2e_fatal "no command socket at $socket"
knock() {
    setpriv --reuid=$OTHER_UID --regid=$OTHER_UID --clear-groups /usr/bin/python3 -c '
import socket, sys
s = socket.socket(socket.AF_UNIX)
try:
    s.connect(sys.argv[1])
except OSError as e:
    sys.exit(print("refused:", e.strerror))
print("connected")
try:
    s.sendall(b"sprich\n")
except OSError:
    pass' "$socket"
}
start_timed_recording "$E2E_ARTIFACTS/other-user.wav"
check_eq "another user's connection to the clock's folder" "$(knock | cut -d: -f1)" refused
chmod 0711 "$E2E_TMP" "$XDG_RUNTIME_DIR"
chmod 0777 "$socket"
check_eq "another user's connection to an open socket" "$(knock)" connected
sleep 3
chmod 0700 "$E2E_TMP" "$XDG_RUNTIME_DIR"
stop_timed_recording
check_eq "announcements after another user's requests" \
    "$(heard_openings "$E2E_ARTIFACTS/other-user.wav")" 0

# --- 4. a burst of 50 requests: a few announcements, and the clock ticks on ---------------
start_timed_recording "$E2E_ARTIFACTS/burst.wav"
clients=()
for ((i = 0; i < 50; i++)); do
    ASAN_OPTIONS=detect_leaks=0 "$BIN" --sprich &
    clients+=($!)
done
wait_status=0
for client in "${clients[@]}"; do wait "$client" || wait_status=$?; done
check_eq "status of the 50 requests" "$wait_status" 0
/usr/bin/python3 "$CLIPS" wait-end "$E2E_ARTIFACTS/burst.wav" 60 ||
    fail "the announcements of the burst did not end within 60 s"
stop_timed_recording
check_range "announcements after a burst of 50 requests" \
    "$(heard_openings "$E2E_ARTIFACTS/burst.wav")" 1 3
read -r s1 _ < <(read_seconds "$PID") || true
sleep 1.2
read -r s2 _ < <(read_seconds "$PID") || true
if [[ -n ${s1:-} && -n ${s2:-} && $s1 != "$s2" ]]; then
    pass "the clock ticks on after the burst (seconds $s1 -> $s2)"
else
    fail "the clock stands after the burst (seconds ${s1:-unread} -> ${s2:-unread})$(ended)"
fi

close_window "$WIN"
e2e_wait_exit "$PID" 5 || fail "the clock did not end when its window was closed"
check_quiet 1
check_no_sanitizer_reports
e2e_finish
