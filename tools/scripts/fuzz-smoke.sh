#!/bin/sh
# fuzz-smoke.sh BINARY SEED_DIR SECONDS: a short libFuzzer run over a scratch copy of the
# seeds, so the committed corpus never changes during tests.
set -u
bin=$1 seeds=$2 seconds=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
cp -r "$seeds"/. "$work/corpus"/
"$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/" "$work/corpus" >"$work/log" 2>&1
rc=$?
tail -n 40 "$work/log"
for crash in "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*; do
  [ -f "$crash" ] && od -A d -t x1 "$crash" | head -n 20
done
exit $rc
