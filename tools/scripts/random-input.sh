#!/usr/bin/env bash
# random-input.sh BUILD TREE PROGRAM [SECONDS [SEED]] [OPTIONS]: the random-input run of
# TREE's (win32 or win64) player or archive in that tree's Wine prefix, inside the current
# display (./dev random provides one of its own). The log is BUILD/random-PROGRAM.log; the
# exit code is the driver's (0 passed, 1 a fault, 2 bad arguments).
set -euo pipefail
build=$(cd "$1" && pwd)
tree=$2
shift 2
root=$(cd "$(dirname "$0")/../.." && pwd)
eval "$("$root/tools/scripts/wine-env.sh" "$tree" "$build")"
cd "$build"
# Without a sound device Wine's ALSA probe complains on every start of a program.
"$WINELOADER" "$build/$tree/bin/random_input.exe" "$@" </dev/null 2> >(grep -v '^ALSA lib' >&2) && rc=0 || rc=$?
echo "random-input: log in $build/random-${1:-player}.log"
exit $rc
