#!/usr/bin/env bash
# Measures the Windows clock under wine on a private desktop and sound server: the size of
# lurvendel.exe, exec to the window mapped, a click on "Sprich" to the first sample heard, and the
# run time of "lurvendel.exe --sprich" beside a program that does nothing, built the same way.
# These are wine's figures on this machine, not Windows': wine starts its own services with the
# first program of a prefix and sends sound through its PulseAudio driver.
# Usage: bench/windows_figures.sh LURVENDEL_EXE ARTIFACT_DIR
# Writes one "name value" line per figure to ARTIFACT_DIR/figures.txt.
set -euo pipefail

if (($# != 2)); then
  echo "usage: $0 LURVENDEL_EXE ARTIFACT_DIR" >&2
  exit 2
fi
EXE=$(realpath "$1")
HERE=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../tests/e2e/lib/desktop.sh
source "$HERE/../tests/e2e/lib/desktop.sh"
# shellcheck source=../tests/win32/lib/wine.sh
source "$HERE/../tests/win32/lib/wine.sh"
# shellcheck source=lib/sound_timing.sh
source "$HERE/lib/sound_timing.sh"
# shellcheck source=lib/figures.sh
source "$HERE/lib/figures.sh"
e2e_init "$2" "$0" "$@"

TITLE="Die Lurvendel"
CLIPS=$HERE/../tests/e2e/lib/clips.py
SPRICH=(187 165) # middle of the button, 15 twips a pixel
STARTS=5
FIGURES=$E2E_ARTIFACTS/figures.txt
: >"$FIGURES"

figure exe_bytes "$(stat -c %s "$EXE")"

start_xvfb
start_wm
start_sound
start_wine

# Exec to the window mapped, timed by the map event; the prefix's services already run.
start_map_watch
starts=()
for ((i = 1; i <= STARTS; i++)); do
  before=$EPOCHREALTIME
  wine "$EXE" >"$E2E_ARTIFACTS/program-$i.out" 2>&1 &
  pid=$!
  until read -r -t 20 -u "$MAPS" line && [[ $line == *" mapped $TITLE" ]]; do
    e2e_gone "$pid" && e2e_fatal "start $i: the program ended without a window"
  done
  starts+=("$(ms_between "$before" "$EPOCHREALTIME")")
  WIN=$(wait_for_window "$TITLE" 10 "$pid") || e2e_fatal "start $i: no window"
  if ((i < STARTS)); then
    xdotool windowactivate --sync "$WIN" key alt+F4
    e2e_wait_exit "$pid" 10 || e2e_fatal "start $i: the program did not end"
  fi
done
figure start_ms "$(printf '%s\n' "${starts[@]}" | median)"
figure start_ms_each "${starts[*]}"

# "Sprich" to the first sample: the first click finds the sound device closed, the others open.
clicks=()
for ((i = 1; i <= 4; i++)); do
  rec=$E2E_ARTIFACTS/sprich-$i.wav
  start_timed_recording "$rec"
  timed_click "$WIN" "${SPRICH[@]}"
  /usr/bin/python3 "$CLIPS" wait-end "$rec" 20 || e2e_log "click $i: no end heard"
  stop_timed_recording
  start=$(/usr/bin/python3 "$CLIPS" find "$rec" | awk '$1 == "clip" { print $3; exit }')
  [[ -n $start ]] && clicks+=("$(ms_between "$CLICK_TIME" "$(sample_wall_time "$rec" "$start")")")
done
figure click_first_sample_median_ms "$(printf '%s\n' "${clicks[@]}" | median)"
figure click_first_sample_each_ms "${clicks[*]}"

# "lurvendel.exe --sprich" with the clock running, beside a static mingw program that returns at
# once, in turns: what wine's own start costs, and what the command adds. Waits for each
# announcement to end, so that every request is taken.
nothing=$E2E_TMP/nothing.exe
printf 'int main(void) { return 0; }\n' >"$E2E_TMP/nothing.c"
x86_64-w64-mingw32-gcc-posix -O2 -static -s "$E2E_TMP/nothing.c" -o "$nothing"
sprich=() empty=()
for ((i = 1; i <= 5; i++)); do
  before=$EPOCHREALTIME
  wine "$nothing"
  empty+=("$(ms_between "$before" "$EPOCHREALTIME")")
  before=$EPOCHREALTIME
  wine "$EXE" --sprich
  sprich+=("$(ms_between "$before" "$EPOCHREALTIME")")
  sleep 5
done
figure command_run_median_ms "$(printf '%s\n' "${sprich[@]}" | median)"
figure command_run_each_ms "${sprich[*]}"
figure nothing_run_median_ms "$(printf '%s\n' "${empty[@]}" | median)"
figure nothing_run_each_ms "${empty[*]}"
