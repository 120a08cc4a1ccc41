#!/usr/bin/env bash
# Runs libFuzzer targets for a given time:
#   fuzz/run.sh TARGET SECONDS     TARGET: field_parsing, number_text, batch_line, http_response,
#                                  json_report, table_options, log_decode
#   fuzz/run.sh all SECONDS        every target in turn, SECONDS each
# Builds the targets into build-fuzz/ with clang (Debian's clang-14) first.
# The seeds in fuzz/corpus/TARGET are read; new inputs go to
# build-fuzz/corpus/TARGET, crashes to build-fuzz/artifacts/TARGET/.  One process
# at a time, so that the machine stays usable; the final statistics include
# the number of executions (stat::number_of_executed_units).  With "all", a
# target that fails does not stop the others; the exit status is that of the
# last failure, and the failed targets are listed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
targets=(field_parsing number_text batch_line http_response json_report table_options log_decode)
if [ $# -ne 2 ]; then
  echo "usage: fuzz/run.sh TARGET|all SECONDS" >&2
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

# Fuzzes one target, which must be built already.
fuzz_one() {
  local name=$1
  mkdir -p "$dir/corpus/$name" "$dir/artifacts/$name"
  local seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
  # Slow units are reported from 10 s on; 60 s of one input counts as a hang.
  "$dir/$name" "$dir/corpus/$name" "${seeds[@]}" \
    -max_total_time="$seconds" -timeout=60 -report_slow_units=10 \
    -print_final_stats=1 -artifact_prefix="$dir/artifacts/$name/"
}

if [ "$target" != all ]; then
  cmake --build "$dir" -j2 --target "$target"
  fuzz_one "$target"
  exit
fi

cmake --build "$dir" -j2 --target "${targets[@]}"
status=0
failed=()
for name in "${targets[@]}"; do
  echo "=== $name: $seconds s"
  fuzz_one "$name" || { status=$?; failed+=("$name"); }
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "failed: ${failed[*]}" >&2
else
  echo "all ${#targets[@]} targets ran $seconds s each without a failure"
fi
exit "$status"
