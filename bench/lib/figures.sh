# shellcheck shell=bash
# What the benchmark scripts share: one line a figure in the file FIGURES names, the median, and
# the window maps as they happen.

figure() {
  echo "$1 $2" >>"$FIGURES"
  e2e_log "$1 = $2"
}

# The median of the numbers on standard input, to one decimal; nothing for none.
median() {
  sort -g | awk '{ v[NR] = $1 }
    END { if (NR) printf "%.1f\n", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Every window map, as the X server reports it, arrives on fd MAPS the moment it happens; a
# start is timed by the event, not by polling.
start_map_watch() {
  local fifo=$E2E_TMP/maps line
  mkfifo "$fifo"
  /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/measure_x11.py" watch-maps >"$fifo" 2>"$E2E_ARTIFACTS/watch-maps.err" &
  exec {MAPS}<"$fifo"
  if ! read -r -t 10 -u "$MAPS" line || [[ $line != ready ]]; then
    e2e_fatal "window watcher did not start"
  fi
}
