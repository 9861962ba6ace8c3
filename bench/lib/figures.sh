# shellcheck shell=bash
# What the benchmark scripts share: one line a figure in the file FIGURES names, and the median.

figure() {
  echo "$1 $2" >>"$FIGURES"
  e2e_log "$1 = $2"
}

# The median of the numbers on standard input, to one decimal; nothing for none.
median() {
  sort -g | awk '{ v[NR] = $1 }
    END { if (NR) printf "%.1f\n", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
