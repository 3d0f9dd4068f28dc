#!/bin/bash
# fuzz-sweep.sh FUZZ_BUILD SECONDS [TARGET...]: runs every fuzz target (or the named ones,
# e.g. fuzz_strip) for SECONDS each, one after the other (FUZZ_SWEEP_JOBS=N: N at a time),
# and writes the results table of docs/fuzzing.md. Corpora are kept in
# FUZZ_BUILD/corpora/<target> and grow from run to run; each target also reads its seed folder in the repository. Every finding (crash,
# leak, timeout, out of memory) is copied into that seed folder, so that the native
# replay test fails until the fault is fixed. Exit status 1 when anything was found.
set -uo pipefail
dir=$1 seconds=$2
shift 2
root=$(cd "$(dirname "$0")/../.." && pwd)
doc="$root/docs/fuzzing.md"
mkdir -p "$dir/corpora" "$dir/crashes" "$dir/sweep-logs"
# UBSan stops at its first report (-fno-sanitize-recover), which libFuzzer records as a crash.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

wanted() { # name
  local t
  for t in "${targets[@]}"; do [ "$t" = "$1" ] && return 0; done
  return 1
}

# "corp: 78/9012b" as libFuzzer prints it, in bytes.
to_bytes() { # 9012b | 12Kb | 3Mb
  local n=${1%b}
  case "$n" in *K) echo $((${n%K} * 1024)) ;; *M) echo $((${n%M} * 1048576)) ;; *) echo "$n" ;; esac
}

# One target's run; its table row goes to $dir/sweep-logs/<target>.row, and a finding also
# leaves <target>.found, so that targets can run side by side.
sweep_one() { # binary
  local bin=$1 name seeds corpus log stamp rc runs last cov ft units size files bytes result artifacts a seed
  name=$(basename "$bin")
  seeds=$(cat "$dir/fuzz-seeds/$name" 2>/dev/null) || { echo "fuzz-sweep: no seed folder recorded for $name" >&2; return 2; }
  corpus="$dir/corpora/$name" log="$dir/sweep-logs/$name.log"
  mkdir -p "$corpus"
  stamp="$dir/sweep-logs/$name.start"
  rm -f "$dir/sweep-logs/$name.row" "$dir/sweep-logs/$name.found"
  touch "$stamp"
  echo "== $name ($seconds s)"
  "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$dir/crashes/$name-" "$corpus" "$seeds" >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -n 1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  units=$(sed -n 's/.* corp: \([0-9]*\)\/.*/\1/p' <<<"$last")
  size=$(sed -n 's/.* corp: [0-9]*\/\([0-9]*[KM]*b\).*/\1/p' <<<"$last")
  files=$(find "$corpus" "$seeds" -type f | wc -l)
  bytes=$(find "$corpus" "$seeds" -type f -printf '%s\n' | awk '{s += $1} END {print s + 0}')
  result="none"
  artifacts=$(find "$dir/crashes" -name "$name-*" -newer "$stamp" -type f)
  if [ "$rc" -ne 0 ] || [ -n "$artifacts" ]; then
    touch "$dir/sweep-logs/$name.found"
    result="exit $rc"
    for a in $artifacts; do
      seed="$seeds/$(basename "$a" | sed "s/^$name-//")"
      cp "$a" "$seed"
      result="$result; $(basename "$seed") added to the seeds"
    done
    grep -m 1 '^SUMMARY:' "$log" | sed "s/^/  $name: /"
    echo "  log: $log"
  fi
  rm -f "$stamp"
  echo "== $name done: runs ${runs:-?}, cov ${cov:-?}, ft ${ft:-?}, corpus ${units:-?} units / ${size:-?}, findings: $result"
  echo "| \`${name#fuzz_}\` | $seconds | ${runs:-?} | ${units:-?} | $(to_bytes "${size:-0b}") | $files | $bytes | ${cov:-?} | ${ft:-?} | $result |" \
    >"$dir/sweep-logs/$name.row"
}

targets=("$@")
jobs=${FUZZ_SWEEP_JOBS:-1}
names=()
for bin in "$dir"/bin/fuzz_*; do
  [ -x "$bin" ] || continue
  [ ${#targets[@]} -eq 0 ] || wanted "$(basename "$bin")" || continue
  names+=("$(basename "$bin")")
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
  sweep_one "$bin" &
done
wait
rows=() found=0
for name in "${names[@]}"; do
  [ -f "$dir/sweep-logs/$name.row" ] || { echo "fuzz-sweep: $name left no result" >&2; exit 2; }
  rows+=("$(cat "$dir/sweep-logs/$name.row")")
  [ ! -f "$dir/sweep-logs/$name.found" ] || found=1
done
[ ${#rows[@]} -gt 0 ] || { echo "fuzz-sweep: no fuzz targets in $dir/bin" >&2; exit 2; }

commit=$(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo unknown)
table=$(
  echo "Latest sweep: $(date -u '+%Y-%m-%d %H:%M') UTC, commit $commit, $seconds s per target ($jobs at a time),"
  echo "$(clang --version | head -n 1 | sed 's/ (.*//'), ASan + UBSan + libFuzzer."
  echo
  echo "| target | seconds | runs | corpus units | corpus bytes | files on disk | bytes on disk | cov | ft | findings |"
  echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---|"
  printf '%s\n' "${rows[@]}"
)
if [ ${#targets[@]} -eq 0 ] && [ -f "$doc" ] && grep -q '^<!-- sweep results -->$' "$doc"; then
  # Only a sweep over every target replaces the table.
  awk -v table="$table" '
    /^<!-- sweep results -->$/ { print; print table; skip = 1; next }
    /^<!-- end of sweep results -->$/ { skip = 0 }
    !skip' "$doc" >"$doc.tmp" && mv "$doc.tmp" "$doc"
  echo "fuzz-sweep: results written to $doc"
else
  echo "$table"
fi
exit $found
