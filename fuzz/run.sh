#!/usr/bin/env bash
# Runs one libFuzzer target for a given time:
#   fuzz/run.sh TARGET SECONDS     TARGET: field_parsing, number_text, batch_line, http_response
# Builds the targets into build-fuzz/ with clang (Debian's clang-14) first.
# The seeds in fuzz/corpus/TARGET are read; new inputs go to
# build-fuzz/corpus/TARGET, crashes to build-fuzz/artifacts/TARGET/.  One process,
# so that the machine stays usable; the final statistics include the number
# of executions (stat::number_of_executed_units).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -ne 2 ]; then
  echo "usage: fuzz/run.sh TARGET SECONDS" >&2
  exit 64
fi
target=$1
seconds=$2
compiler=${PROBEX_FUZZ_CXX:-clang++-14}
if ! command -v "$compiler" >/dev/null; then
  # Debian's clang with its runtime libraries (libFuzzer, the sanitizers).
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends clang-14 libclang-rt-14-dev
fi
dir=build-fuzz

if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S fuzz -B "$dir" -DCMAKE_CXX_COMPILER="$compiler" > "$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log"; exit 1; }
fi
cmake --build "$dir" -j2 --target "$target"

mkdir -p "$dir/corpus/$target" "$dir/artifacts/$target"
seeds=()
[ -d "fuzz/corpus/$target" ] && seeds=("fuzz/corpus/$target")
# Slow units are reported from 10 s on; 60 s of one input counts as a hang.
exec "$dir/$target" "$dir/corpus/$target" "${seeds[@]}" \
  -max_total_time="$seconds" -timeout=60 -report_slow_units=10 \
  -print_final_stats=1 -artifact_prefix="$dir/artifacts/$target/"
