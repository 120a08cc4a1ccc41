#!/bin/sh
# probex-calc --table prints its rows as it computes them, and a table of
# many slow rows says how long it will take before it goes on: the first
# rows of a table of 100000 binomial rows at n = 10^9 (some 25 minutes in
# all) arrive within seconds.
#   table_stream.sh PROBEX_CALC
set -eu
calc=$1
err=$(mktemp)
trap 'rm -f "$err"' EXIT
lines=$(timeout 60 sh -c '"$1" --table binomial 0.5 1000000000 --from 500000000 --to 500099999 --step 1 2>"$2" | head -3' sh "$calc" "$err")
[ "$(printf '%s\n' "$lines" | wc -l)" -eq 3 ] || { echo "no rows within a minute: $lines" >&2; exit 1; }
grep -q "100000 rows will take about" "$err" || { echo "no estimate: $(cat "$err")" >&2; exit 1; }
echo ok
