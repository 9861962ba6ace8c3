#!/bin/bash
# End-to-end test of the user's own voice: a recording of "Es ist" (16 bit, 44.1 kHz, stereo) in
# the voice folder is heard in place of the built-in one, mixed to mono, and the built-in words
# after it at its rate; a broken "Uhr" leaves the built-in one. --stimme says so.
# Usage: tests/e2e/own_voice_test.sh BINARY ARTIFACT_DIR
set -euo pipefail

# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"
e2e_begin "$@"

put_own_voice "$XDG_DATA_HOME/lurvendel/stimme"

status=0
said=$(ASAN_OPTIONS=detect_leaks=0 "$BIN" --stimme) || status=$?
check_eq "--stimme's status with a broken recording" "$status" 1
check_eq "--stimme on 'Es ist'" "$(grep -c '^  300.wav  Es ist  *eigene Aufnahme$' <<<"$said")" 1
check_eq "--stimme on the broken 'Uhr'" "$(grep -c '^200.wav nicht genommen: kein WAV' <<<"$said")" 1

start_xvfb
start_wm
start_sound
speaks "--sprich with an own 'Es ist'" start_program "$BIN" '@2026-12-07 13:21:02' --sprich
check_quiet 1
check_no_sanitizer_reports
e2e_finish
