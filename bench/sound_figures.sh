#!/usr/bin/env bash
# Measures the real program's sound path on a private headless desktop with a PulseAudio null
# sink recorded sample-exactly: gaps between words, click to first sample, "Sprich" without a
# sound device, the seconds display while the server is frozen, the scheduled chime's onset after
# the minute, and what the command costs beside the least a caller can do.
# Usage: bench/sound_figures.sh LURVENDEL ARTIFACT_DIR
# Writes one "name value" line per figure to ARTIFACT_DIR/figures.txt. Measures, never judges:
# a figure the program misses is written like any other; only a rig that fails (no display,
# no sound server, no recording) ends the script early, with the figures taken so far.
set -euo pipefail

if (($# != 2)); then
  echo "usage: $0 LURVENDEL ARTIFACT_DIR" >&2
  exit 2
fi
BIN=$(realpath "$1")
HERE=$(cd "$(dirname "$0")" && pwd)
LIB=$HERE/../tests/e2e/lib
# shellcheck source=../tests/e2e/lib/desktop.sh
source "$LIB/desktop.sh"
# shellcheck source=lib/timing.sh
source "$HERE/lib/timing.sh"
# shellcheck source=lib/sound_timing.sh
source "$HERE/lib/sound_timing.sh"
# shellcheck source=lib/figures.sh
source "$HERE/lib/figures.sh"
e2e_init "$2" "$0" "$@"

TITLE="Die Lurvendel"
CLIPS=$LIB/clips.py
SPRICH=(187 165)  # middle of the button (twips 2460+690/2, 2340+285/2; 15 per px)
INERT=(232 66)    # middle of the seconds display: a label, which ignores clicks
PAIRS=${BENCH_SOUND_PAIRS:-4}
BOUNDARIES=${BENCH_BOUNDARIES:-4}
FIGURES=$E2E_ARTIFACTS/figures.txt
: >"$FIGURES"
# A stopped server must stay stopped: no client may spawn a new one.
export PULSE_CLIENTCONFIG=$E2E_TMP/client.conf
echo "autospawn = no" >"$PULSE_CLIENTCONFIG"


maximum() { sort -g | tail -n1 | awk '{ printf "%.1f\n", $1 }'; }

open_clock() {
  start_program "$BIN" "${1:-}"
  WIN=$(wait_for_window "$TITLE" 20 "$E2E_PROGRAM_PID") || {
    program_snapshot "$E2E_PROGRAM_PID"
    e2e_fatal "no window titled '$TITLE' within 20 s (program pid $E2E_PROGRAM_PID)"
  }
}

close_clock() {
  close_window "$WIN" || true
  if ! e2e_wait_exit "$E2E_PROGRAM_PID" 10; then
    program_snapshot "$E2E_PROGRAM_PID"
    kill -KILL "$E2E_PROGRAM_PID"
    e2e_wait_exit "$E2E_PROGRAM_PID" 5 || true
  fi
}

stop_sound() {
  kill -CONT "$E2E_PULSE_PID" 2>/dev/null || true
  kill -TERM "$E2E_PULSE_PID" 2>/dev/null || true
  e2e_wait_until 10 e2e_gone "$E2E_PULSE_PID" || e2e_fatal "pulseaudio did not stop"
}

# "clip ID START END" lines of an analysis, split into announcements at each "Es ist" (300)
# or chime (500): "N ID START END" with N counting from 1.
announcements() {
  awk '$1 == "clip" { if ($2 == 300 || $2 == 500 || !n) n++; print n, $2, $3, $4 }' "$1"
}

# --- a, b: gaps between words, click to first sample ------------------------------------

# Pairs of "Sprich": the first after the device has been idle long enough to close (3 s),
# the second right after the first has ended, while it is still open.
measure_speech() {
  local pair rec analysis click_a click_b start end n first idle still _
  local gaps=$E2E_ARTIFACTS/gaps.txt idle_ms=() open_ms=() counts=()
  : >"$gaps"
  start_sound
  # 21:34:20 faked: hour and minute take two words each, and most seconds do too.
  fake_offset_to '2026-12-07 21:34:20' 1
  open_clock "$FAKE_CLOCK"
  # What the seconds display shows during normal announcements, for comparison with (d).
  start_display_watch "$WIN" "$E2E_ARTIFACTS/speech-pixels.log" 0.05
  sleep 1 # the event loop runs; the device has never been opened
  for ((pair = 1; pair <= PAIRS; pair++)); do
    rec=$E2E_ARTIFACTS/speech-$pair.wav
    idle=99999
    analysis=$E2E_ARTIFACTS/speech-$pair.txt
    start_timed_recording "$rec"
    timed_click "$WIN" "${SPRICH[@]}"
    click_a=$CLICK_TIME
    /usr/bin/python3 "$CLIPS" wait-end "$rec" 20 ||
      e2e_log "pair $pair: first announcement did not end"
    timed_click "$WIN" "${SPRICH[@]}"
    click_b=$CLICK_TIME
    sleep 7 # the second announcement: about 6 s
    stop_timed_recording
    /usr/bin/python3 "$CLIPS" find "$rec" >"$analysis"
    # Gaps inside each announcement, not from one to the next.
    awk '$1 == "gap" && $3 != 300 { print $4 }' "$analysis" >>"$gaps"
    announcements "$analysis" >"$analysis.split"
    for n in 1 2; do
      read -r start < <(awk -v n=$n '$1 == n { print $3; exit }' "$analysis.split") || start=
      [[ -n $start ]] || { e2e_log "pair $pair: announcement $n not heard"; continue; }
      counts+=("$(awk -v n=$n '$1 == n' "$analysis.split" | wc -l)")
      first=$(sample_wall_time "$rec" "$start")
      if ((n == 1)); then
        idle_ms+=("$(ms_between "$click_a" "$first")")
        end=$(awk '$1 == 1 { e = $4 } END { print e }' "$analysis.split")
        # The device closes after 3 s without sound: the second click must come well before.
        idle=$(ms_between "$(sample_wall_time "$rec" "$end")" "$click_b")
        e2e_log "pair $pair: second click ${idle} ms after the first announcement ended"
      elif awk -v i="$idle" 'BEGIN { exit !(i < 2500) }'; then
        open_ms+=("$(ms_between "$click_b" "$first")")
      fi
    done
    sleep 3 # the device closes 3 s after the last word
  done
  stop_display_watch
  read -r still _ < <(display_standstill "$E2E_ARTIFACTS/speech-pixels.log")
  figure speech_standstill_s "$still"
  close_clock
  stop_sound
  figure gap_median_ms "$(median <"$gaps")"
  figure gap_max_ms "$(maximum <"$gaps")"
  figure gap_count "$(wc -l <"$gaps")"
  figure gap_announcements "${#counts[@]}"
  figure gap_words_each "${counts[*]}"
  figure click_idle_median_ms "$(printf '%s\n' "${idle_ms[@]}" | median)"
  figure click_idle_each_ms "${idle_ms[*]}"
  figure click_open_median_ms "$(printf '%s\n' "${open_ms[@]}" | median)"
  figure click_open_each_ms "${open_ms[*]}"
}

# --- e: "lurvendel --sprich" from outside ------------------------------------------------

# The command as a desktop shortcut runs it, the clock running and its device idle: from the
# exec to the first sample heard, and the command's own run time.
measure_command() {
  local i rec analysis start before after first client_ms=() first_ms=()
  start_sound
  fake_offset_to '2026-12-07 21:34:20' 1
  open_clock "$FAKE_CLOCK"
  for ((i = 1; i <= PAIRS; i++)); do
    sleep 3.5 # the device closes 3 s after the last word
    rec=$E2E_ARTIFACTS/command-$i.wav
    analysis=$E2E_ARTIFACTS/command-$i.txt
    start_timed_recording "$rec"
    before=$EPOCHREALTIME
    "$BIN" --sprich
    after=$EPOCHREALTIME
    /usr/bin/python3 "$CLIPS" wait-end "$rec" 20 || e2e_log "command $i: no announcement heard"
    stop_timed_recording
    /usr/bin/python3 "$CLIPS" find "$rec" >"$analysis"
    client_ms+=("$(ms_between "$before" "$after")")
    read -r start < <(awk '$1 == "clip" { print $3; exit }' "$analysis") || continue
    first=$(sample_wall_time "$rec" "$start")
    first_ms+=("$(ms_between "$before" "$first")")
  done
  close_clock
  stop_sound
  figure command_first_median_ms "$(printf '%s\n' "${first_ms[@]}" | median)"
  figure command_first_each_ms "${first_ms[*]}"
  figure command_client_median_ms "$(printf '%s\n' "${client_ms[@]}" | median)"
  figure command_client_each_ms "${client_ms[*]}"
}

# --- f: what the command costs beside the least a caller can do -----------------------------

# The clock running with three announcements waiting, it answers every further request "belegt"
# at once: the command and the floor (connect, a line out, a line in) take the same way through it,
# in turns. --version and --help beside /bin/echo printing as much. Run times from the fork to the
# end, in ms.
measure_caller() {
  local i floor=() sprich=() version=() help=() echo_version=() echo_help=() usage before
  local -r floor_bin=$(dirname "$BIN")/ask_floor socket=$XDG_RUNTIME_DIR/lurvendel.socket
  usage=$("$BIN" --help)
  start_sound
  open_clock
  for i in 1 2 3; do "$BIN" --sprich; done
  run_ms() {
    before=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 || true
    ms_between "$before" "$EPOCHREALTIME"
  }
  for ((i = 0; i < 15; i++)); do
    floor+=("$(run_ms "$floor_bin" "$socket")")
    sprich+=("$(run_ms "$BIN" --sprich)")
  done
  for ((i = 0; i < 30; i++)); do
    version+=("$(run_ms "$BIN" --version)")
    echo_version+=("$(run_ms /bin/echo "lurvendel 0.1.0")")
    help+=("$(run_ms "$BIN" --help)")
    echo_help+=("$(run_ms /bin/echo "$usage")")
  done
  close_clock
  stop_sound
  local -A medians
  for kind in floor sprich version echo_version help echo_help; do
    local -n runs=$kind
    medians[$kind]=$(printf '%s\n' "${runs[@]}" | median)
    figure "caller_${kind}_median_ms" "${medians[$kind]}"
  done
  beyond() { awk -v a="${medians[$1]}" -v b="${medians[$2]}" 'BEGIN { printf "%.1f\n", a - b }'; }
  figure caller_sprich_beyond_floor_ms "$(beyond sprich floor)"
  figure caller_version_beyond_echo_ms "$(beyond version echo_version)"
  figure caller_help_beyond_echo_ms "$(beyond help echo_help)"
}

# --- c: "Sprich" without any sound device -------------------------------------------------

# How long the UI thread does not answer: back-to-back reads of the seconds display over
# AT-SPI; a click that blocks the thread holds up the read pending at the time.
measure_no_device() {
  local log=$E2E_ARTIFACTS/no-device-reads.log i kind click longest settled
  local sprich=() inert=() sprich_settled=() inert_settled=()
  local empty=$E2E_TMP/empty-run
  mkdir -m 0700 "$empty"
  # No server to reach, and none where ALSA's pulse plugin would look.
  XDG_RUNTIME_DIR=$empty PULSE_SERVER=unix:/nonexistent QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    open_clock
  NO_DEVICE_RUN=$E2E_PROGRAM_COUNT
  start_seconds_watch "$E2E_PROGRAM_PID" "$log" 0
  sleep 0.5
  for i in 1 2 3 4 5 6 7 8; do
    if ((i % 2)); then kind=sprich; timed_click "$WIN" "${SPRICH[@]}"
    else kind=inert; timed_click "$WIN" "${INERT[@]}"; fi
    echo "$kind $CLICK_TIME" >>"$E2E_ARTIFACTS/no-device-clicks.txt"
    sleep 0.7
  done
  stop_seconds_watch
  close_clock
  while read -r kind click; do
    read -r longest settled < <(ui_busy "$log" "$click")
    if [[ $kind == sprich ]]; then
      sprich+=("$longest") sprich_settled+=("$settled")
    else
      inert+=("$longest") inert_settled+=("$settled")
    fi
  done <"$E2E_ARTIFACTS/no-device-clicks.txt"
  figure nodev_first_ms "${sprich[0]:-}"
  figure nodev_longest_max_ms "$(printf '%s\n' "${sprich[@]}" | maximum)"
  figure nodev_settled_max_ms "$(printf '%s\n' "${sprich_settled[@]}" | maximum)"
  figure nodev_longest_each_ms "${sprich[*]}"
  figure nodev_settled_each_ms "${sprich_settled[*]}"
  figure nodev_inert_longest_each_ms "${inert[*]}"
  figure nodev_inert_settled_each_ms "${inert_settled[*]}"
  figure nodev_output_bytes "$(cat "$E2E_ARTIFACTS/program-$NO_DEVICE_RUN".{out,err} | wc -c)"
}

# --- d: the server frozen in the middle of an announcement -------------------------------

# Freezes the server (SIGSTOP) in the middle of a word, for longer than the program waits for
# a word, while the seconds display is watched: once among the words of hour and minute, once
# among those of the seconds (the display is held still while they are spoken).
measure_frozen() {
  local log=$E2E_ARTIFACTS/frozen-reads.log pixels=$E2E_ARTIFACTS/frozen-pixels.log
  local i at click stop cont still
  start_sound
  fake_offset_to '2026-12-07 21:34:20' 1
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 open_clock "$FAKE_CLOCK"
  start_seconds_watch "$E2E_PROGRAM_PID" "$log" 0.1
  start_display_watch "$WIN" "$pixels" 0.02
  # 21:34:2x: 300 101 20 200 104 30 99 ...; "20" plays from about 1.06 s to 1.79 s after the
  # click, "und" (99) from about 3.33 s to 3.71 s.
  i=0
  for at in 1.42 3.52; do
    i=$((i + 1))
    sleep 1
    timed_click "$WIN" "${SPRICH[@]}"
    click=$CLICK_TIME
    sleep_until "$(wall_plus "$click" "$at")"
    stop=$EPOCHREALTIME
    kill -STOP "$E2E_PULSE_PID"
    sleep 4
    cont=$EPOCHREALTIME
    kill -CONT "$E2E_PULSE_PID"
    sleep 3
    echo "$i click $click stop $stop cont $cont" >>"$E2E_ARTIFACTS/frozen-events.txt"
    read -r still _ < <(display_standstill "$pixels" "$click" "$(wall_plus "$cont" 3)")
    figure "frozen_${i}_standstill_s" "$still"
    read -r still _ < <(display_standstill "$log" "$click" "$(wall_plus "$cont" 3)")
    figure "frozen_${i}_standstill_atspi_s" "$still"
    figure "frozen_${i}_stopped_after_ms" "$(ms_between "$click" "$stop")"
    # From the freeze to the display's next change: how long the frozen word held the UI thread
    # beyond the freeze, whatever the phase of the second.
    figure "frozen_${i}_held_s" "$(awk -v f="$stop" '
      $1 > f && p != "" && $3 != p { printf "%.3f\n", $1 - f; exit } { p = $3 }' "$pixels")"
  done
  stop_seconds_watch
  stop_display_watch
  close_clock
  figure frozen_output_bytes "$(cat "$E2E_ARTIFACTS/program-$E2E_PROGRAM_COUNT".{out,err} | wc -c)"
  stop_sound
}

# --- e: the quarter-hour chime after the minute boundary ---------------------------------

measure_boundaries() {
  local i rec analysis k onsets=()
  start_sound
  for ((i = 1; i <= BOUNDARIES; i++)); do
    rec=$E2E_ARTIFACTS/quarter-$i.wav
    analysis=$E2E_ARTIFACTS/quarter-$i.txt
    start_timed_recording "$rec"
    fake_offset_to '2026-12-07 10:15:00' 2
    open_clock "$FAKE_CLOCK"
    ((${EPOCHREALTIME/./} < FAKE_AT * 1000000)) || e2e_log "boundary $i: program started too late"
    /usr/bin/python3 "$CLIPS" wait-end "$rec" 30 || e2e_log "boundary $i: announcement did not end"
    stop_timed_recording
    close_clock
    /usr/bin/python3 "$CLIPS" find "$rec" >"$analysis"
    if k=$(clip_start "$analysis" 500); then
      onsets+=("$(ms_between "$FAKE_AT" "$(sample_wall_time "$rec" "$k")")")
    else
      e2e_log "boundary $i: no chime heard"
    fi
  done
  stop_sound
  figure onset_median_ms "$(printf '%s\n' "${onsets[@]}" | median)"
  figure onset_max_ms "$(printf '%s\n' "${onsets[@]}" | maximum)"
  figure onset_each_ms "${onsets[*]}"
}

start_xvfb
start_wm
for part in ${SOUND_FIGURES:-speech command caller no_device frozen boundaries}; do
  "measure_$part"
done
