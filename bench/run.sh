#!/usr/bin/env bash
# Builds a release tree with the benchmarks, measures the tick, the display lag, idle CPU,
# memory and start time, prints one table and writes it with the machine to bench/RESULTS.md.
# The figures are measurements, not checks: a missed target never fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh bench
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLURVENDEL_TESTS=ON \
  -DLURVENDEL_BENCH=ON
cmake --build build/bench --target lurvendel tick_bench display_lag

OUT=bench/out
rm -rf "$OUT"
mkdir -p "$OUT"
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)

build/bench/tick_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_format=csv >"$OUT/tick.csv" 2>"$OUT/tick.err"
bash bench/desktop_figures.sh build/bench/lurvendel build/bench/display_lag "$OUT/desktop"

declare -A fig
while read -r name value; do fig[$name]=$value; done <"$OUT/desktop/figures.txt"
fig[tick_ns]=$(awk -F, '$1 ~ /_median"?$/ { printf "%.0f", $4 }' "$OUT/tick.csv")

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
  row "idle CPU, utime+stime" "${fig[cpu_pct]}" "% of one core" 0.1
  row "idle CPU, scheduler run time" "${fig[cpu_sched_pct]}" "% of one core" 0.1
  row "resident memory 5 s after start" "${fig[rss_mib]}" MiB 35
  row "exec to window mapped, median of 5" "${fig[start_ms]}" ms 150
}

machine() {
  local model memory system
  model=$(lscpu | sed -n 's/^Model name: *//p' | head -n1)
  memory=$(awk '/^MemTotal:/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
  system=$(sed -n 's/^PRETTY_NAME="\?\([^"]*\)"\?$/\1/p' /etc/os-release)
  echo "$(nproc) × $model, $memory memory, $system, load average $LOAD_BEFORE before the run"
}

notes() {
  local tick_ms=$((1000 / $(getconf CLK_TCK)))
  cat <<NOTES
How each figure is taken:

- Tick: Google Benchmark, median of 5 repetitions, on the simulated platform with the clock
  held inside one second, so that the tick changes no caption.
- Display lag: \`display_lag\` runs the real window for ${fig[measure_s]} s and takes CLOCK_REALTIME
  whenever Label6 paints a new second; ${fig[lag_samples]} changes, the latest
  ${fig[lag_max_ms]} ms after its second began.
- Idle CPU and memory: the release binary under Xvfb and openbox, window shown, 5 s to settle,
  then ${fig[measure_s]} s. utime+stime comes in clock ticks of $tick_ms ms, the scheduler's run
  time in nanoseconds. ${fig[wakeups_per_s]} context switches per second, ${fig[threads]} threads.
  Resident: ${fig[rss_anon_mib]} MiB the program's own, ${fig[rss_file_mib]} MiB mapped files.
- Start: wall clock from just before the exec to the MapNotify of the window titled
  "Die Lurvendel", as an X event watcher reports it; runs: ${fig[start_ms_each]} ms.
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
} >bench/RESULTS.md
echo "written: bench/RESULTS.md (raw output in $OUT)"
