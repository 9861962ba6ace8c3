#!/bin/bash
# End-to-end test of the user's own voice: a recording of "Es ist" (16 bit, 44.1 kHz, stereo) in
# the voice folder is heard in place of the built-in one, mixed to mono, and the built-in words
# after it at its rate; a broken "Uhr" leaves the built-in one. --stimme says so.
# Usage: tests/e2e/own_voice_test.sh BINARY ARTIFACT_DIR
set -euo pipefail

export E2E_RATE=44100 # the voice's rate: the sink takes the clock's samples as they are
# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"
e2e_begin "$@"

export E2E_VOICE=$XDG_DATA_HOME/lurvendel/stimme
mkdir -p "$E2E_VOICE"
# 0.3 s of two tones, a different one on each side, between silent edges.
/usr/bin/python3 - "$E2E_VOICE/300.wav" <<'PY'
import math, struct, sys, wave
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(2)
    w.setsampwidth(2)
    w.setframerate(44100)
    frames = [(0, 0)] + [(int(8000 * math.sin(i / 10)), int(3000 * math.sin(i / 7)))
                         for i in range(1, 13229)] + [(0, 0)]
    w.writeframes(b"".join(struct.pack("<hh", *f) for f in frames))
PY
printf 'kein WAV' >"$E2E_VOICE/200.wav"

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
