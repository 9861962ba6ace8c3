#!/usr/bin/env bash
# Measures the real program on a private headless desktop (Xvfb, openbox, session bus): time
# from exec to the mapped window, resident memory (also with a full folder of own recordings), idle
# CPU, and the lag of the seconds display.
# Usage: bench/desktop_figures.sh LURVENDEL DISPLAY_LAG BARE_CLOCK ARTIFACT_DIR
# Writes one "name value" line per figure to ARTIFACT_DIR/figures.txt. BENCH_SECONDS (default
# 60) shortens the display-lag window and BENCH_IDLE_SECONDS (default 120) the idle windows for a
# quick look.
set -euo pipefail

if (($# != 4)); then
  echo "usage: $0 LURVENDEL DISPLAY_LAG BARE_CLOCK ARTIFACT_DIR" >&2
  exit 2
fi
BIN=$(realpath "$1")
LAG_BIN=$(realpath "$2")
BARE_BIN=$(realpath "$3")
HERE=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../tests/e2e/lib/desktop.sh
source "$HERE/../tests/e2e/lib/desktop.sh"
# shellcheck source=lib/figures.sh
source "$HERE/lib/figures.sh"
e2e_init "$4" "$0" "$@"

TITLE="Die Lurvendel"
MEASURE_S=${BENCH_SECONDS:-60}
IDLE_S=${BENCH_IDLE_SECONDS:-120}
SETTLE_S=5
STARTS=5
FIGURES=$E2E_ARTIFACTS/figures.txt
: >"$FIGURES"

us_now() { echo "${EPOCHREALTIME//[!0-9]/}"; }

# Floating-point arithmetic: calc DECIMALS EXPRESSION
calc() { awk "BEGIN { printf \"%.$1f\", $2 }"; }

# --- the desktop ---------------------------------------------------------------------

# openbox names its supporting window well before it manages windows, and a window mapped in
# between may stay unmapped for good; the theme property comes later in its start-up.
await_wm_managing() {
  e2e_wait_until 10 wm_theme_loaded || e2e_fatal "openbox did not finish starting"
}

wm_theme_loaded() { xprop -root _OB_THEME | grep -q ' = '; }

# --- map events ----------------------------------------------------------------------

# await_window_mapped PID: reads map events until the program's window is mapped; fails when
# the program ends first or 20 s pass.
await_window_mapped() {
  local line deadline=$((SECONDS + 20))
  while ((SECONDS < deadline)) && ! e2e_gone "$1"; do
    read -r -t 0.2 -u "$MAPS" line || continue
    echo "$line" >>"$E2E_ARTIFACTS/maps.log"
    [[ $line == *" mapped $TITLE" ]] && return 0
  done
  return 1
}

# --- the program ---------------------------------------------------------------------

# Starts the program and waits for its window; START_US is the time from just before the
# exec to the map, in microseconds.
start_and_await_window() {
  local before
  before=$(us_now)
  start_program "$BIN"
  if ! await_window_mapped "$E2E_PROGRAM_PID"; then
    e2e_wait_exit "$E2E_PROGRAM_PID" 0 || true
    e2e_fatal "no window '$TITLE' from pid $E2E_PROGRAM_PID (exit: ${E2E_EXIT_CODE:-running})"
  fi
  START_US=$(($(us_now) - before))
}

stop_program() {
  kill -TERM "$1"
  if ! e2e_wait_exit "$1" 5; then
    kill -KILL "$1"
    e2e_wait_exit "$1" 5 || e2e_fatal "program $1 does not end"
  fi
}

# Nanoseconds all live threads spent on a CPU, from the scheduler's own clock.
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ ns += $1 } END { printf "%d", ns }'; }

# Context switches of all live threads: each is a wake-up that ended in sleep or was preempted.
switches() {
  cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ { n += $2 } END { printf "%d", n }'
}

# status_mib FIELD PID: a size from /proc/PID/status in MiB.
status_mib() { awk -v f="$1:" '$1 == f { printf "%.1f", $2 / 1024 }' "/proc/$2/status"; }


# --- the figures ---------------------------------------------------------------------

measure_start_time() {
  local i times=()
  for ((i = 1; i <= STARTS; i++)); do
    start_and_await_window
    times+=("$START_US")
    e2e_log "start $i: window mapped after $((START_US / 1000)) ms"
    stop_program "$E2E_PROGRAM_PID"
  done
  figure start_ms "$(calc 1 "$(printf '%s\n' "${times[@]}" | median) / 1000")"
  figure start_ms_each "$(printf '%s\n' "${times[@]}" | awk '{ printf "%.0f ", $1 / 1000 }')"
}

# A bare Qt clock ticking every INTERVAL ms, shown or hidden; its PID in BARE_PID.
start_bare_clock() {
  QT_QPA_PLATFORM=xcb "$BARE_BIN" "$@" >/dev/null 2>&1 &
  BARE_PID=$!
}

# measure_idle_side_by_side STATE NAME=PID... : CPU time per wall second (scheduler's clock, all
# threads) and context switches per second of each process, over the same IDLE_S.
measure_idle_side_by_side() {
  local state=$1 entry us0 us ns sw
  local -A ns0 sw0
  shift
  sleep "$SETTLE_S"
  us0=$(us_now)
  for entry in "$@"; do ns0[$entry]=$(cpu_ns "${entry#*=}") sw0[$entry]=$(switches "${entry#*=}"); done
  sleep "$IDLE_S"
  us=$(($(us_now) - us0))
  for entry in "$@"; do
    ns=$(($(cpu_ns "${entry#*=}") - ns0[$entry])) sw=$(($(switches "${entry#*=}") - sw0[$entry]))
    figure "idle_${state}_${entry%%=*}_cpu_pct" "$(calc 4 "$ns / 1e3 / $us * 100")"
    figure "idle_${state}_${entry%%=*}_switches_per_s" "$(calc 2 "$sw / $us * 1e6")"
  done
}

# The clock and two bare Qt clocks (every 100 ms, every second), side by side: shown, then with
# the clock hidden to the tray and the bare clocks never shown.
measure_memory_and_idle() {
  local pid bare100 bare1000
  start_and_await_window
  pid=$E2E_PROGRAM_PID
  start_bare_clock 100
  bare100=$BARE_PID
  start_bare_clock 1000
  bare1000=$BARE_PID
  sleep "$SETTLE_S"
  figure rss_mib "$(status_mib VmRSS "$pid")"
  figure rss_anon_mib "$(status_mib RssAnon "$pid")"
  figure rss_file_mib "$(status_mib RssFile "$pid")"
  figure threads "$(awk '/^Threads:/ { print $2 }' "/proc/$pid/status")"
  measure_idle_side_by_side shown clock="$pid" bare100="$bare100" bare1000="$bare1000"
  stop_program "$bare100"
  stop_program "$bare1000"

  xdotool mousemove --window "$(wait_for_window "$TITLE" 10 "$pid")" 248 165 click 1
  e2e_wait_until 10 icon_there || e2e_fatal "the clock did not hide to the tray"
  start_bare_clock 100 hidden
  bare100=$BARE_PID
  start_bare_clock 1000 hidden
  bare1000=$BARE_PID
  measure_idle_side_by_side hidden clock="$pid" bare100="$bare100" bare1000="$bare1000"
  stop_program "$bare100"
  stop_program "$bare1000"
  stop_program "$pid"
}

# Start and memory again with a voice folder full of own recordings: all 42 clips, 16 bit, 48 kHz.
measure_with_own_voice() {
  local folder=$XDG_DATA_HOME/lurvendel/stimme clip i times=()
  mkdir -p "$folder"
  for clip in "$HERE"/../clips/*.wav; do sox "$clip" -b 16 -r 48000 "$folder/${clip##*/}"; done
  for ((i = 1; i <= STARTS; i++)); do
    start_and_await_window
    times+=("$START_US")
    ((i == STARTS)) || stop_program "$E2E_PROGRAM_PID"
  done
  sleep "$SETTLE_S"
  figure voice_rss_mib "$(status_mib VmRSS "$E2E_PROGRAM_PID")"
  stop_program "$E2E_PROGRAM_PID"
  figure voice_start_ms "$(calc 1 "$(printf '%s\n' "${times[@]}" | median) / 1000")"
  figure voice_folder_kib "$(du -sk "$folder" | cut -f1)"
  rm -rf "$folder"
}

measure_display_lag() {
  local pid out=$E2E_ARTIFACTS/display-lag.txt samples median p95 max
  QT_QPA_PLATFORM=xcb "$LAG_BIN" "$MEASURE_S" >"$out" 2>"$E2E_ARTIFACTS/display-lag.err" &
  pid=$!
  e2e_wait_exit "$pid" $((MEASURE_S + 30)) || e2e_fatal "display_lag did not end"
  ((E2E_EXIT_CODE == 0)) || e2e_fatal "display_lag failed (see $E2E_ARTIFACTS/display-lag.err)"
  read -r _ samples _ median _ p95 _ max <"$out"
  figure lag_samples "$samples"
  figure lag_median_ms "$median"
  figure lag_p95_ms "$p95"
  figure lag_max_ms "$max"
}

start_xvfb
start_wm
start_tray
await_wm_managing
start_map_watch
figure measure_s "$MEASURE_S"
figure idle_s "$IDLE_S"
measure_start_time
measure_memory_and_idle
measure_with_own_voice
measure_display_lag
