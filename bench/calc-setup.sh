# Sourced by the probex-calc scripts here, from the project root: calc, the
# program in build-bench/ (./bench.sh builds it) or in the build directory
# given as the script's first argument, built if missing; input, a
# temporary file removed at exit.
dir=${1:-build-bench}
calc="$dir/cli/probex-calc"
[ -x "$calc" ] || cmake --build "$dir" --target probex-calc
input=$(mktemp)
trap 'rm -f "$input"' EXIT
