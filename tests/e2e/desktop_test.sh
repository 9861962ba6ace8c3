#!/bin/bash
# End-to-end test of the clock on a real desktop: the window on top, two starts at once and a
# second instance, the tray icon and its menu, the info box, the commands from outside and their
# answers, speech heard clip by clip, the window destroyed or unmapped from outside, ending in the
# middle of speech, started with its standard streams closed, and ended by another process.
# Usage: tests/e2e/desktop_test.sh BINARY ARTIFACT_DIR
set -euo pipefail

# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"
e2e_begin "$@"

FAKE='@2026-12-07 13:21:02' # no quarter hour comes near the run
SPRICH=(187 165) HIDE=(248 165) # middles of the buttons, 15 twips a pixel
INFO_TITLE="Die Lurvendel   -    Info "
# shellcheck disable=SC2317 # called through speaks
ask() { ASAN_OPTIONS=detect_leaks=0 "$BIN" "$@" || fail "lurvendel $* ended with status $?"; }

# menu_choose ITEM : opens the icon's menu and picks ITEM from the bottom with the keyboard,
# once the menu holds it (separators and hidden items are skipped).
declare -A FROM_BOTTOM=([Exit]=1 [Info]=2 ["Uhr Anzeigen"]=3)
menu_choose() {
    local keys=() i
    sleep 0.6 # two clicks on the icon within 0.5 s would make a double click
    /usr/bin/python3 "$E2E_LIB_DIR/x11.py" menu "$(icon)" 3 10 >/dev/null ||
        e2e_fatal "no menu on a right click on the icon$(ended)"
    for ((i = 0; i < FROM_BOTTOM[$1]; i++)); do keys+=(Up); done
    xdotool key "${keys[@]}" Return
}
ended() { if e2e_gone "$PID"; then echo " - the program has ended"; fi; }

start_xvfb
start_wm
start_tray
start_sound

# --- 1. two --sprich at once: one clock speaks twice, once its window is up, on top, 4480 twips
# wide; the other caller ends with status 0 ------------------------------------------------
start_recording "$E2E_ARTIFACTS/two-at-once.wav"
start_program "$BIN" "$FAKE" --sprich
first=$E2E_PROGRAM_PID
start_program "$BIN" "$FAKE" --sprich
clips wait-end "$E2E_ARTIFACTS/two-at-once.wav" 30 || fail "two at once: no end"
stop_recording
check_eq "two --sprich at once: announcements heard" \
    "$(clips times "$E2E_ARTIFACTS/two-at-once.wav" | grep -c '^13:2[12]:')" 2
if e2e_gone "$first"; then caller=$first PID=$E2E_PROGRAM_PID; else caller=$E2E_PROGRAM_PID PID=$first; fi
e2e_wait_exit "$caller" 5 || fail "two clocks run after two starts at once"
check_eq "exit status of the caller that found the clock" "${E2E_EXIT_CODE:-}" 0
WIN=$(wait_for_window "$TITLE" 20 "$PID") || e2e_fatal "no window titled '$TITLE'"
xprop -id "$WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the window is not on top"
read -r _ _ width _ < <(client_geometry "$WIN")
read -r left right _ < <(xprop -id "$WIN" _NET_FRAME_EXTENTS | sed 's/.*= *//; s/,//g')
check_range "outer width in px (4480 twips)" $((width + left + right)) 298 300

start_program "$BIN"
e2e_wait_exit "$E2E_PROGRAM_PID" 5 || fail "a second clock did not end within 5 s"
check_eq "exit status of a second clock" "${E2E_EXIT_CODE:-}" 0
check_eq "windows titled '$TITLE'" "$(xdotool search --name "^$TITLE\$" | wc -l)" 1

# --- 2. the tray: hidden, a left click and --sprich speak, --anzeigen and the menu show -----
click_client "$WIN" "${HIDE[@]}"
check_within "'Verbergen' hides the window" "$PID" 10 not_viewable "$WIN"
while_running "$PID" 10 icon_there || e2e_fatal "no icon in the tray$(ended)"
speaks "a left click on the icon" xdotool mousemove --window "$(icon)" 8 8 click 1
speaks "--sprich --anzeigen while hidden" ask --sprich --anzeigen
check_within "--anzeigen shows the window" "$PID" 10 viewable "$WIN"
check_within "--anzeigen takes the icon away" "$PID" 10 icon_gone

click_client "$WIN" "${HIDE[@]}"
while_running "$PID" 10 icon_there || e2e_fatal "no icon after hiding again$(ended)"
menu_choose Info
box=$(wait_for_window "$INFO_TITLE" 10 "$PID") || fail "the menu's 'Info' opened no box"
xdotool key Return
check_within "Return closes the info box" "$PID" 10 not_viewable "${box:-0}"
menu_choose "Uhr Anzeigen"
check_within "'Uhr Anzeigen' shows the window" "$PID" 10 viewable "$WIN"
check_within "'Uhr Anzeigen' takes the icon away" "$PID" 10 icon_gone

# --- 3. a burst leaves the clock ticking ---------------------------------------------------
# Each request taken is one whole announcement; the others are told the clock is busy. Fifty
# callers starting at once on two cores can starve the sound server for most of a second, and it
# then pads silence inside a word: a clip counts when every sample of it comes, in order.
start_recording "$E2E_ARTIFACTS/burst.wav"
: >"$E2E_ARTIFACTS/burst.err"
clients=()
for ((i = 0; i < 50; i++)); do
    ASAN_OPTIONS=detect_leaks=0 "$BIN" --sprich 2>>"$E2E_ARTIFACTS/burst.err" &
    clients+=($!)
done
taken=0
for client in "${clients[@]}"; do if wait "$client"; then taken=$((taken + 1)); fi; done
clips --padded wait-end "$E2E_ARTIFACTS/burst.wav" 60 || fail "the burst spoke no end"
stop_recording
check_range "requests of a burst of 50 taken" "$taken" 1 3
check_eq "whole announcements for a burst of 50 requests" \
    "$(clips --padded times "$E2E_ARTIFACTS/burst.wav" | grep -c '^13:2[12]:')" "$taken"
check_eq "callers of the burst told the clock is busy" "$(grep -c 'die Uhr ist beschäftigt' \
    "$E2E_ARTIFACTS/burst.err")" $((50 - taken))
check_runs_on "after a burst of 50 requests" "$PID" "$WIN"

# --- 4. the window destroyed by another program: made anew, on top, and the clock goes on; one
# unmapped by another program comes back ------------------------------------------------------
/usr/bin/python3 "$E2E_LIB_DIR/x11.py" destroy "$WIN"
e2e_wait_until 10 not_viewable "$WIN" || true
WIN=$(wait_for_window "$TITLE" 10 "$PID") || e2e_fatal "no window after it was destroyed$(ended)"
xprop -id "$WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the new window is not on top"
check_runs_on "after the window was destroyed" "$PID" "$WIN"
# Unmapped by another program, it comes back with --anzeigen.
xdotool windowunmap "$WIN"
e2e_wait_until 10 not_viewable "$WIN" ||
    fail "the window stays mapped after another program unmapped it"
ask --anzeigen
check_within "--anzeigen shows a window another program unmapped" "$PID" 10 viewable "$WIN"

# --- 5. Alt+F4 one second into "Sprich": silent within 150 ms, gone within 0.5 s ----------
check_alt_f4_in_speech "$PID" click_client "$WIN" "${SPRICH[@]}"

# --- 6. started with its standard streams closed (as some launchers start it), under debug and
# with no sound server to reach, it goes on; ended by another process as its window's close ends
# it; none started to be ended ----------------------------------------------------------------
PULSE_SERVER=/nonexistent LURVENDEL_DEBUG=1 ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb \
    "$BIN" <&- >&- 2>&- &
PID=$!
WIN=$(wait_for_window "$TITLE" 20 "$PID") || e2e_fatal "no window of the clock to end$(ended)"
ASAN_OPTIONS=detect_leaks=0 "$BIN" --sprich || fail "--sprich to it ended with status $?"
check_runs_on "started with its standard streams closed, after --sprich" "$PID" "$WIN"
ASAN_OPTIONS=detect_leaks=0 "$BIN" --beenden || fail "--beenden ended with status $?"
e2e_wait_exit "$PID" 5 || fail "--beenden left the clock running"
ASAN_OPTIONS=detect_leaks=0 "$BIN" --beenden-ohne-frage || fail "--beenden-ohne-frage without a clock ended with status $?"
if wait_for_window "$TITLE" 2 >/dev/null; then fail "--beenden-ohne-frage started a clock"; fi

check_quiet 1
check_quiet 2
check_quiet 3
check_no_sanitizer_reports
e2e_finish
