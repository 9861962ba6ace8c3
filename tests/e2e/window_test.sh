#!/bin/bash
# End-to-end test of the clock window on a private X display with openbox and a tray.
# Usage: tests/e2e/window_test.sh BINARY ARTIFACT_DIR
set -euo pipefail

# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"
e2e_begin "$@"

X11=$HERE/lib/x11.py

# --- 0. no display: one line on stderr and status 1, not an abort --------------------
for display in unset :4711; do
    status=0
    if [[ $display == unset ]]; then
        env -u DISPLAY QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0 "$BIN" \
            2>"$E2E_ARTIFACTS/no-display.err" || status=$?
    else
        DISPLAY=$display QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0 "$BIN" \
            2>"$E2E_ARTIFACTS/no-display.err" || status=$?
    fi
    check_eq "exit status with DISPLAY $display" "$status" 1
    check_eq "lines on stderr with DISPLAY $display" "$(wc -l <"$E2E_ARTIFACTS/no-display.err")" 1
    grep -q "keine Anzeige.*DISPLAY" "$E2E_ARTIFACTS/no-display.err" ||
        fail "stderr does not name the display: $(head -c 200 "$E2E_ARTIFACTS/no-display.err")"
done

start_xvfb
start_wm
start_tray

# Logs every window that gets mapped or managed, to catch a second instance that shows
# a window only for a moment.
MAPS=$E2E_ARTIFACTS/maps.log
/usr/bin/python3 "$X11" watch-maps >"$MAPS" 2>&1 &
e2e_track $!
e2e_wait_until 10 grep -qx ready "$MAPS" || e2e_fatal "window watcher did not start"

SYNCS=0
# Returns once the watcher has printed every event that happened before this call.
maps_sync() {
    SYNCS=$((SYNCS + 1))
    xprop -root -f _E2E_SYNC 32c -set _E2E_SYNC "$SYNCS"
    e2e_wait_until 10 _maps_synced || e2e_fatal "window watcher does not answer"
}
# shellcheck disable=SC2317  # called through e2e_wait_until
_maps_synced() { (($(grep -cx sync "$MAPS") >= SYNCS)); }

# --- 1. the window: title, time display, size, stacking, screenshot -------------------
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_program "$BIN"
FIRST=$E2E_PROGRAM_PID
WIN=$(wait_for_window "$TITLE" 20 "$FIRST") ||
    e2e_fatal "no window titled '$TITLE' mapped within 20 s (program pid $FIRST)"
pass "window '$TITLE' mapped ($WIN)"

if read -r s1 sys1 < <(read_seconds "$FIRST") && [[ -n ${s1:-} ]]; then
    sleep 2.2
    read -r s2 sys2 < <(read_seconds "$FIRST")
    echo "seconds display: $s1 at system :$sys1, then ${s2:-?} at system :${sys2:-?}" \
        >>"$E2E_ARTIFACTS/seconds.txt"
    if [[ -n ${s2:-} && $s1 != "$s2" ]]; then
        pass "seconds display advances ($s1 -> $s2)"
    else
        fail "seconds display did not change in 2.2 s ($s1 -> ${s2:-nothing read})"
    fi
    if seconds_close "$s1" "$sys1" && [[ -n ${s2:-} ]] && seconds_close "$s2" "$sys2"; then
        pass "seconds display follows the system clock"
    else
        fail "seconds display is off the system clock by more than 1 s" \
            "(read $s1 at :$sys1 and ${s2:-?} at :${sys2:-?})"
    fi
else
    fail "seconds display not readable over AT-SPI (see a11y-tree.txt, program-1.err)"
fi

# The size is read after the seconds check, so that start-up has long settled.
read -r _ _ cw ch < <(client_geometry "$WIN")
ow=$(outer_width "$WIN")
echo "client ${cw}x${ch}, outer width $ow, frame extents $(frame_extents "$WIN")" \
    >>"$E2E_ARTIFACTS/geometry.txt"
check_range "outer width in px (4480 twips)" "$ow" 298 300
check_range "client height in px (2655 twips)" "$ch" 176 178

if has_wm_state "$WIN" _NET_WM_STATE_ABOVE; then
    pass "window stays on top (_NET_WM_STATE_ABOVE)"
else
    fail "window lacks _NET_WM_STATE_ABOVE: $(xprop -id "$WIN" _NET_WM_STATE)"
fi

if screenshot "$WIN" "$E2E_ARTIFACTS/window.png" && [[ -s $E2E_ARTIFACTS/window.png ]]; then
    pass "screenshot saved (window.png)"
else
    fail "screenshot of the window failed"
fi

# --- 2. a second instance ends at once and shows nothing -----------------------------
maps_sync
mark=$(wc -l <"$MAPS")
start_program "$BIN"
SECOND=$E2E_PROGRAM_PID
if e2e_wait_exit "$SECOND" 5; then
    check_eq "exit code of the second instance" "$E2E_EXIT_CODE" 0
else
    fail "second instance still runs after 5 s"
    kill -KILL "$SECOND" 2>/dev/null || true
fi
maps_sync
shown=$(tail -n +"$((mark + 1))" "$MAPS" | grep -v -x sync || true)
if [[ -z $shown ]]; then
    pass "second instance mapped no window"
else
    fail "second instance mapped windows: $(tr '\n' ';' <<<"$shown")"
fi
check_eq "number of windows titled '$TITLE'" "$(count_windows "$TITLE")" 1

# --- 3. closing the window ends the program ------------------------------------------
close_window "$WIN"
if e2e_wait_exit "$FIRST" 5; then
    check_eq "exit code after closing the window" "$E2E_EXIT_CODE" 0
else
    fail "program still runs 5 s after its window was closed"
    kill -KILL "$FIRST" 2>/dev/null || true
fi

# --- 4. a killed instance does not block the next start ------------------------------
start_program "$BIN"
KILLED=$E2E_PROGRAM_PID
wait_for_window "$TITLE" 20 "$KILLED" >/dev/null ||
    e2e_fatal "third start mapped no window within 20 s (pid $KILLED)"
kill -KILL "$KILLED"
e2e_wait_exit "$KILLED" 5 || e2e_fatal "kill -9 did not end pid $KILLED"
start_program "$BIN"
AFTER=$E2E_PROGRAM_PID
if WIN=$(wait_for_window "$TITLE" 20 "$AFTER"); then
    pass "start after kill -9 maps its window"
    close_window "$WIN"
    e2e_wait_exit "$AFTER" 5 || fail "program after kill -9 did not end on close"
else
    fail "start after kill -9 mapped no window within 20 s" \
        "(pid $AFTER $(e2e_gone "$AFTER" && echo "exited" || echo "still runs"))"
fi

check_no_sanitizer_reports
e2e_finish
