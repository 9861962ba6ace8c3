#!/bin/bash
# End-to-end test of "Verbergen" on a desktop without a notification area (the window must
# stay reachable) and of the info box that button "I" opens.
# Usage: tests/e2e/no_tray_test.sh BINARY ARTIFACT_DIR
set -euo pipefail

# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"
e2e_begin "$@"
# shellcheck source=lib/tray.sh
source "$E2E_LIB_DIR/tray.sh"


start_xvfb
start_wm

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_program "$BIN"
PID=$E2E_PROGRAM_PID
WIN=$(wait_for_window "$TITLE" 20 "$PID") ||
    e2e_fatal "no window titled '$TITLE' within 20 s (program pid $PID)"
# The buttons answer over AT-SPI once the event loop runs: ready for clicks.
/usr/bin/python3 "$ATSPI" button "$PID" Verbergen 20 || e2e_fatal "program not ready"

# A click on "Verbergen" shows in its focus (taken on the press), or in the window going away.
# shellcheck disable=SC2317  # called through e2e_wait_until
hide_pressed() {
    not_viewable "$WIN" || /usr/bin/python3 "$ATSPI" focused "$PID" Verbergen 0 2>/dev/null
}
click_client "$WIN" "$HIDE_X" "$HIDE_Y"
while_running 10 hide_pressed ||
    e2e_fatal "the click on 'Verbergen' did not reach the button$(ended)"
# The click on "I" comes after the release on "Verbergen": once the info box is up,
# "Verbergen" has had its effect.
if viewable "$WIN"; then
    click_client "$WIN" "$INFO_X" "$INFO_Y"
    check_info_box 'button "I"'
fi
if viewable "$WIN"; then
    pass "window still mapped after 'Verbergen' without a notification area"
else
    fail "window unmapped by 'Verbergen' though no notification area can take the icon"
fi
# No icon window of its own either.
shown=$(/usr/bin/python3 "$E2E_LIB_DIR/x11.py" shown lurvendel)
check_eq "the program's mapped windows" "$shown" "$(printf '0x%x' "$WIN")"

close_window "$WIN"
if e2e_wait_exit "$PID" 10; then
    check_eq "exit code after closing the window" "$E2E_EXIT_CODE" 0
else
    fail "program still runs 10 s after its window was closed"
fi

check_quiet 1
check_no_sanitizer_reports
e2e_finish
