#!/usr/bin/env bash
# The resident size of probex-calc --batch over many lines: runs 10^4 and
# 10^5 commands (every function, forward and inverse, the inputs varying
# from line to line) under /usr/bin/time -v and prints the peak resident size
# of each.  A flat resident size shows as (nearly) the same peak for both.
# Uses build-bench/ (./bench.sh builds it) or the directory given.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=calc-setup.sh
source bench/calc-setup.sh

commands() {
  awk -v count="$1" 'BEGIN {
    for (i = 0; i < count; i++) {
      n = i % 97 + 1; p = 0.000001 + (i % 999) / 1000.0
      if (i % 11 == 0) printf "normal\t%d\t%d\t%d\n", i % 50, n, i % 70
      else if (i % 11 == 1) printf "--inverse\tnormal\t0\t%d\t%.6f\n", n, p
      else if (i % 11 == 2) printf "chisquare\t%d\t%.3f\n", n, n * 1.1
      else if (i % 11 == 3) printf "--inverse\tchisquare\t%d\t%.6f\n", n, p
      else if (i % 11 == 4) printf "t\t%d\t%.3f\n", n, (i % 7) - 3.5
      else if (i % 11 == 5) printf "--inverse\tf\t%d\t%d\t%.6f\n", n, i % 13 + 1, p
      else if (i % 11 == 6) printf "binomial\t%.3f\t%d\t%d\n", (i % 9 + 1) / 10.0, n * 10, n * 3
      else if (i % 11 == 7) printf "poisson\t%.2f\t%d\n", n / 3.0, i % 40
      else if (i % 11 == 8) printf "hypergeometric\t%d\t%d\t%d\t%d\n", n * 20, 300, n * 10, n
      else if (i % 11 == 9) printf "factorial\t%d\n", i % 3000
      else printf "binomialcoefficient\t%d\t%d\n", i % 5000, (i % 5000) / 7
    }
  }'
}

for count in 10000 100000; do
  commands "$count" > "$input"
  peak=$( { /usr/bin/time -v "$calc" --batch < "$input" > /dev/null; } 2>&1 \
          | awk -F': ' '/Maximum resident set size/ { print $2 }')
  echo "probex-calc --batch, $count lines: peak resident size $peak KiB"
done
