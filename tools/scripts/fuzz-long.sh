#!/bin/sh
# fuzz-long.sh FUZZ_BUILD [TARGET] [SECONDS]: long fuzzing runs that grow the corpora kept
# under build/fuzz/corpora; new crashes land in build/fuzz/crashes.
set -eu
dir=$1 target=${2:-} seconds=${3:-60}
mkdir -p "$dir/corpora" "$dir/crashes"
for bin in "$dir"/bin/fuzz_*; do
  name=$(basename "$bin")
  [ -z "$target" ] || [ "$name" = "fuzz_$target" ] || continue
  mkdir -p "$dir/corpora/$name"
  echo "== $name ($seconds s)"
  "$bin" -max_total_time="$seconds" -artifact_prefix="$dir/crashes/$name-" "$dir/corpora/$name" || exit 1
done
