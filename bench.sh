#!/usr/bin/env bash
# Builds the benchmarks into build-bench/ and runs them:
#   ./bench.sh            every benchmark; the summary tables end the output
#   ./bench.sh --readme   the same, then puts the tables into bench/README.md
#   ./bench.sh ARGS...    Google Benchmark options, e.g. --benchmark_filter=Report
# R's math library (Debian's r-mathlib) gives the anchor column; without it
# the tables show "-" there.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

readme=false
args=()
for arg in "$@"; do
  if [ "$arg" = "--readme" ]; then readme=true; else args+=("$arg"); fi
done

dir=build-bench
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPROBEX_BUILD_WINDOW=OFF \
  > "$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
cmake --build "$dir" -j"$(nproc)" --target probex_bench

table="$dir/bench-table.md"
"$dir/bench/probex_bench" --benchmark_min_time=0.5 --probex_table="$table" "${args[@]}"

if $readme; then
  # Replace what stands between the two markers with the new tables.
  {
    sed '/<!-- table: begin -->/q' bench/README.md
    echo "Measured $(date -u +%Y-%m-%d) on $(nproc) cores of $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')."
    echo
    cat "$table"
    sed -n '/<!-- table: end -->/,$p' bench/README.md
  } > bench/README.md.new
  mv bench/README.md.new bench/README.md
  echo "bench/README.md updated"
fi
