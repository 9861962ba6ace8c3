#!/usr/bin/env bash
# Builds a release tree with the benchmarks, measures the tick, the display lag, idle CPU,
# memory, start time and the sound path, prints one table and writes it with the machine to
# bench/RESULTS.md.
# The figures are measurements, not checks: a missed target never fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh bench
cmake --preset bench
cmake --build --preset bench

OUT=bench/out
rm -rf "$OUT"
mkdir -p "$OUT"
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)

build/bench/tick_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_format=csv >"$OUT/tick.csv" 2>"$OUT/tick.err"
bash bench/desktop_figures.sh build/bench/lurvendel build/bench/display_lag build/bench/bare_clock \
  "$OUT/desktop"
bash bench/sound_figures.sh build/bench/lurvendel "$OUT/sound" ||
  echo "bench/sound_figures.sh ended early; see $OUT/sound for what it measured" >&2

declare -A fig
while read -r name value; do fig[$name]=$value; done <"$OUT/desktop/figures.txt"
while read -r name value; do fig[$name]=$value; done <"$OUT/sound/figures.txt"
fig[tick_ns]=$(awk -F, '$1 ~ /_median"?$/ { printf "%.0f", $4 }' "$OUT/tick.csv")
# The clock's idle cost as a multiple of a bare Qt clock's that ticks once a second.
for state in shown hidden; do
  for what in cpu_pct switches_per_s; do
    fig[idle_${state}_${what}_ratio]=$(awk -v c="${fig[idle_${state}_clock_${what}]}" \
      -v b="${fig[idle_${state}_bare1000_${what}]}" 'BEGIN { printf "%.2f", c / b }')
  done
done

# row LABEL VALUE UNIT LIMIT: one table line; a figure is within its target when VALUE <= LIMIT.
row() {
  local within=n/a
  if [[ -n $2 ]]; then
    within=$(awk -v v="$2" -v l="$4" 'BEGIN { print (v + 0 <= l + 0) ? "yes" : "no" }')
  fi
  printf '| %s | %s %s | ≤ %s %s | %s |\n' "$1" "${2:-n/a}" "$3" "$4" "$3" "$within"
}

table() {
  echo "| figure | measured | target | within |"
  echo "|---|---|---|---|"
  row "clock tick without display change" "${fig[tick_ns]}" ns 10000
  row "display lag of the seconds, median" "${fig[lag_median_ms]}" ms 5
  row "display lag of the seconds, 95th percentile" "${fig[lag_p95_ms]}" ms 15
  row "idle CPU, window shown, × a bare clock ticking each second" \
    "${fig[idle_shown_cpu_pct_ratio]}" × 1.25
  row "idle context switches, window shown, × the bare clock's" \
    "${fig[idle_shown_switches_per_s_ratio]}" × 1.25
  row "idle CPU, hidden to the tray, × a hidden bare clock ticking each second" \
    "${fig[idle_hidden_cpu_pct_ratio]}" × 1.25
  row "idle context switches, hidden, × the bare clock's" \
    "${fig[idle_hidden_switches_per_s_ratio]}" × 1.25
  row "resident memory 5 s after start" "${fig[rss_mib]}" MiB 35
  row "exec to window mapped, median of 5" "${fig[start_ms]}" ms 150
  row "resident memory 5 s after start, 42 own recordings at 48 kHz" "${fig[voice_rss_mib]}" MiB 35
  row "exec to window mapped, 42 own recordings at 48 kHz, median of 5" \
    "${fig[voice_start_ms]}" ms 150
  row "gap between words at the server, median" "${fig[gap_median_ms]:-}" ms 3
  row "gap between words at the server, maximum" "${fig[gap_max_ms]:-}" ms 10
  row "click to first sample, device closed, median" "${fig[click_idle_median_ms]:-}" ms 15
  row "click to first sample, device open, median" "${fig[click_open_median_ms]:-}" ms 15
  row "\"lurvendel --sprich\" to first sample, device idle, median" \
    "${fig[command_first_median_ms]:-}" ms 20
  row "\"lurvendel --sprich\" run time, median" "${fig[command_client_median_ms]:-}" ms 8
  row "\"lurvendel --sprich\" beyond the floor (connect, a line out, one in), median" \
    "${fig[caller_sprich_beyond_floor_ms]:-}" ms 3
  row "\"lurvendel --version\" beyond /bin/echo, median" "${fig[caller_version_beyond_echo_ms]:-}" ms 1
  row "\"lurvendel --help\" beyond /bin/echo, median" "${fig[caller_help_beyond_echo_ms]:-}" ms 1
  row "\"Sprich\" without sound device, done after" "${fig[nodev_settled_max_ms]:-}" ms 20
  row "output without sound device" "${fig[nodev_output_bytes]:-}" bytes 0
  frozen_row 1 "a word of hour or minute"
  frozen_row 2 "a word of the seconds"
  row "chime after the quarter hour, median" "${fig[onset_median_ms]:-}" ms 30
  row "chime after the quarter hour, maximum" "${fig[onset_max_ms]:-}" ms 50
}

# frozen_row N WHAT: the seconds display's longest standstill with the server frozen during
# WHAT; the target is its longest standstill while speaking without a fault, and the second
# that a frozen word is waited for beyond its length.
frozen_row() {
  row "display standstill, server frozen in $2" "${fig[frozen_$1_standstill_s]:-}" s \
    "$(awk -v s="${fig[speech_standstill_s]:-0}" 'BEGIN { print s + 1 }')"
}

machine() {
  local model memory system
  model=$(lscpu | sed -n 's/^Model name: *//p' | head -n1)
  memory=$(awk '/^MemTotal:/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
  system=$(sed -n 's/^PRETTY_NAME="\?\([^"]*\)"\?$/\1/p' /etc/os-release)
  echo "$(nproc) × $model, $memory memory, $system, load average $LOAD_BEFORE before the run"
}

notes() {
  cat <<NOTES
How each figure is taken:

- Tick: Google Benchmark, median of 5 repetitions, on the simulated platform with the clock
  held inside one second, so that the tick changes no caption.
- Display lag: \`display_lag\` runs the real window for ${fig[measure_s]} s and takes CLOCK_REALTIME
  whenever Label6 paints a new second; ${fig[lag_samples]} changes, the latest
  ${fig[lag_max_ms]} ms after its second began.
- Idle: the release binary under Xvfb, openbox and trayer, side by side with two bare Qt 6
  clocks (\`bench/bare_clock.cpp\`: a label set by a timer every 100 ms or every second), 5 s to
  settle, then ${fig[idle_s]} s; CPU from the scheduler's run time of all threads, in % of one
  core, and context switches a second. Window shown: the clock ${fig[idle_shown_clock_cpu_pct]} %,
  ${fig[idle_shown_clock_switches_per_s]}/s; bare, 100 ms: ${fig[idle_shown_bare100_cpu_pct]} %,
  ${fig[idle_shown_bare100_switches_per_s]}/s; bare, 1 s: ${fig[idle_shown_bare1000_cpu_pct]} %,
  ${fig[idle_shown_bare1000_switches_per_s]}/s. Hidden to the tray (the bare clocks never shown):
  the clock ${fig[idle_hidden_clock_cpu_pct]} %, ${fig[idle_hidden_clock_switches_per_s]}/s;
  bare, 100 ms: ${fig[idle_hidden_bare100_cpu_pct]} %, ${fig[idle_hidden_bare100_switches_per_s]}/s;
  bare, 1 s: ${fig[idle_hidden_bare1000_cpu_pct]} %, ${fig[idle_hidden_bare1000_switches_per_s]}/s.
- Memory: ${fig[threads]} threads. Resident: ${fig[rss_anon_mib]} MiB the program's own,
  ${fig[rss_file_mib]} MiB mapped files.
- Start: wall clock from just before the exec to the MapNotify of the window titled
  "Die Lurvendel", as an X event watcher reports it; runs: ${fig[start_ms_each]} ms.
- Own voice: the same start and memory with every clip as an own recording, converted by sox to
  16 bit at 48 kHz (${fig[voice_folder_kib]} KiB in the folder), which the clock reads at start
  and plays as they are.

NOTES
}

# Notes on the sound figures; "?" where a figure could not be taken.
sound_notes() {
  local f
  for f in gap_announcements gap_words_each gap_count click_idle_each_ms click_open_each_ms \
    speech_standstill_s nodev_longest_each_ms nodev_settled_each_ms nodev_inert_longest_each_ms \
    nodev_inert_settled_each_ms frozen_1_stopped_after_ms frozen_1_held_s \
    frozen_1_standstill_atspi_s frozen_2_stopped_after_ms frozen_2_held_s \
    frozen_2_standstill_atspi_s frozen_output_bytes onset_each_ms caller_floor_median_ms \
    caller_sprich_median_ms caller_version_median_ms caller_echo_version_median_ms \
    caller_help_median_ms caller_echo_help_median_ms; do
    fig[$f]=${fig[$f]:-?}
  done
  cat <<NOTES
Sound: the release binary under Xvfb and openbox with a PulseAudio null sink at the clips'
rate (11025 Hz, no rewinds), recorded from its monitor with 5 ms latency
(\`bench/lib/timed_record.py\`); clips are found in the recording by their exact samples
(\`tests/e2e/lib/clips.py\`).

- Recording time line: the null sink wakes when a block (4.9 ms) is due, renders it and hands
  it to the recorder at once, so every read arrives a fraction of a millisecond after the sink
  played its first sample. A line through the median arrivals of each second, moved onto the
  median arrival within half a second of the sample in question, gives the wall time at which
  the sink played any sample (arrivals scatter 0.1 ms around it). The sink's pace is not
  11025 samples a second of the wall clock but about 11027 (it advances its clock by whole
  microseconds per block): counting back from the stop time would be off by ~6 ms over 30 s.
  A sample that reaches the server waits for the sink's next block (up to 4.9 ms); that wait
  is part of every figure below, as it is part of the sound.
- Clicks: XTEST press, 30 ms, release; the time is taken just before the release is sent (a
  push button acts on the release; \`xdotool click\` would add its start-up and 12 ms).
- Gaps: ${fig[gap_announcements]} announcements of "Sprich" from 21:34:20 on (faked clock),
  words each: ${fig[gap_words_each]}; ${fig[gap_count]} gaps from the last sample of one clip to
  the first of the next, the clips' silent edges counted as part of the clips. A clip starts
  with a block of the sink, so a gap is where in its block the clip before ended, plus a whole
  block (4.9 ms) for each block the next clip came too late for.
- Click to first sample: the first click of each pair comes after the device has been idle
  for more than 3 s, so the worker opens it anew (${fig[click_idle_each_ms]} ms); the second
  comes about 1.1 s after the first announcement ended, while the device is open
  (${fig[click_open_each_ms]} ms). The seconds display during these announcements stood still
  for at most ${fig[speech_standstill_s]} s (words play one after another on the UI thread, and
  the seconds stay still while they are spoken).
- The command beside the floor: the clock running with three announcements waiting, so that it
  answers every further request "belegt" at once; 15 runs each of \`bench/ask_floor.c\` (connect
  to the socket, send "sprich", read the answer line) and of \`lurvendel --sprich\`, in turns,
  from the fork to the end: medians ${fig[caller_floor_median_ms]} ms and
  ${fig[caller_sprich_median_ms]} ms. 30 runs each of \`lurvendel --version\`
  (${fig[caller_version_median_ms]} ms) and \`--help\` (${fig[caller_help_median_ms]} ms) beside
  \`/bin/echo\` printing as much (${fig[caller_echo_version_median_ms]} ms,
  ${fig[caller_echo_help_median_ms]} ms).
- Without a sound device: XDG_RUNTIME_DIR an empty directory, PULSE_SERVER=unix:/nonexistent.
  The seconds display is read over AT-SPI back to back; each read is answered by the program's
  UI thread, so a read sent while the thread is busy waits for it. After each click: the
  longest wait, and when the thread answered at once again ("done after"; reads slower than
  1 ms in a row). "Sprich": longest ${fig[nodev_longest_each_ms]} ms, done after
  ${fig[nodev_settled_each_ms]} ms (the first is the first open ever); a click on a label, for
  comparison: longest ${fig[nodev_inert_longest_each_ms]} ms, done after
  ${fig[nodev_inert_settled_each_ms]} ms.
- Frozen server: SIGSTOP to the server ${fig[frozen_1_stopped_after_ms]} ms after a click, in a
  word of the hour or minute, and ${fig[frozen_2_stopped_after_ms]} ms after another, in a word of
  the seconds; SIGCONT 4 s later. The standstill is the longest time between two changes of the
  seconds display's pixels as the X server shows them, read every 20 ms. The frozen word holds
  the UI thread for its length and a second; the words after it pass in silence at their pace
  until the server lets go, then they are heard, so the seconds stay still while those of the
  seconds pass as they do in speech without a fault. From the freeze to the display's next
  change: ${fig[frozen_1_held_s]} s and ${fig[frozen_2_held_s]} s. Read over AT-SPI every 100 ms
  instead: ${fig[frozen_1_standstill_atspi_s]} s and ${fig[frozen_2_standstill_atspi_s]} s; those
  reads are answered only between words, so they can miss or postpone a change by a word's
  length.
  Output of the program: ${fig[frozen_output_bytes]} bytes.
- Chime: the program started under libfaketime 2 s before 10:15:00 (a fixed offset, so
  faked time = wall time + offset exactly); ${fig[onset_each_ms]} ms from the quarter hour to
  the first sample of clip 500. The device had not been opened before.
NOTES
}

table
{
  echo "# Benchmark results"
  echo
  echo "Measured by \`bench/run.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC')."
  echo
  echo "Machine: $(machine)."
  echo
  table
  echo
  notes
  echo
  sound_notes
} >bench/RESULTS.md
echo "written: bench/RESULTS.md (raw output in $OUT)"
