#!/usr/bin/env bash
# probex-calc --json --batch against plain --batch over 10^5 forward reports:
# the JSON output, with every value of its details, should run at least half
# as fast.  Two mixes of the seven distributions:
#   typical  moderate parameters, x drawn within three standard deviations
#            of the mean (the values a user asks about);
#   extreme  the far tails too, where nearly every line gets notes.
# Prints the least user time of five runs of each and their ratio.  Uses
# build-bench/ (./bench.sh builds it) or the directory given.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=calc-setup.sh
source bench/calc-setup.sh

typical() {
  awk -v count="$1" 'function z() { return 6 * rand() - 3 }
    function clamp(v, lo, hi) { return v < lo ? lo : (v > hi ? hi : v) }
    BEGIN { srand(1)
    for (i = 0; i < count; i++) {
      k = i % 7
      if (k == 0) { m = int(200 * rand()) - 100; v = 1 + int(400 * rand())
        printf "normal\t%d\t%d\t%.4f\n", m, v, m + z() * sqrt(v) }
      else if (k == 1) { df = 1 + int(30 * rand())
        printf "chisquare\t%d\t%.4f\n", df, clamp(df + z() * sqrt(2 * df), 0.01, 1e9) }
      else if (k == 2) printf "t\t%d\t%.4f\n", 1 + int(30 * rand()), z()
      else if (k == 3) printf "f\t%d\t%d\t%.4f\n", 1 + int(20 * rand()), 5 + int(36 * rand()), 0.05 + 4 * rand()
      else if (k == 4) { p = 0.05 + 0.9 * rand(); n = 5 + int(196 * rand())
        printf "binomial\t%.3f\t%d\t%d\n", p, n, clamp(int(n * p + z() * sqrt(n * p * (1 - p)) + 0.5), 0, n) }
      else if (k == 5) { l = 0.5 + 50 * rand()
        printf "poisson\t%.3f\t%d\n", l, clamp(int(l + z() * sqrt(l) + 0.5), 0, 1e9) }
      else { b = 5 + int(196 * rand()); r = 5 + int(196 * rand()); n = 1 + int(rand() * (b + r < 100 ? b + r : 100))
        mean = n * b / (b + r); sd = sqrt(mean * r / (b + r) * (b + r - n) / (b + r - 1 + 1e-9))
        printf "hypergeometric\t%d\t%d\t%d\t%d\n", b, r, n, clamp(int(mean + z() * sd + 0.5), (n > r ? n - r : 0), (n < b ? n : b)) }
    } }'
}

extreme() {
  awk -v count="$1" 'BEGIN {
    for (i = 0; i < count; i++) {
      n = i % 97 + 1
      if (i % 7 == 0) printf "normal\t%d\t%d\t%d\n", i % 50, n, i % 70
      else if (i % 7 == 1) printf "chisquare\t%d\t%.3f\n", n, n * 1.1
      else if (i % 7 == 2) printf "t\t%d\t%.3f\n", n, (i % 7) - 3.5
      else if (i % 7 == 3) printf "f\t%d\t%d\t%.3f\n", n, i % 13 + 1, (i % 50) / 10.0
      else if (i % 7 == 4) printf "binomial\t%.3f\t%d\t%d\n", (i % 9 + 1) / 10.0, n * 10, n * 3
      else if (i % 7 == 5) printf "poisson\t%.2f\t%d\n", n / 3.0, i % 40
      else printf "hypergeometric\t%d\t%d\t%d\t%d\n", n * 20, 300, n * 10, n
    } }'
}

# The least user time of five runs of each, the runs of the two alternating
# so that a change in the machine's load touches both alike.
best_pair() {
  local plain= json=
  for _ in 1 2 3 4 5; do
    plain=$(least "$plain" --batch)
    json=$(least "$json" --json --batch)
  done
  echo "$plain $json"
}

least() {
  local previous=$1
  shift
  t=$( { /usr/bin/time -f %U "$calc" "$@" < "$input" > /dev/null; } 2>&1 )
  awk -v t="$t" -v b="$previous" 'BEGIN { print (b == "" || t < b) ? t : b }'
}

for mix in typical extreme; do
  "$mix" 100000 > "$input"
  read -r plain json < <(best_pair)
  awk -v m="$mix" -v p="$plain" -v j="$json" \
    'BEGIN { printf "%-8s 10^5 lines: --batch %.2f s, --json --batch %.2f s, ratio %.2f\n", m, p, j, j / p }'
done
